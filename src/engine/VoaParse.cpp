#include "engine/VoaParse.h"

#include <cstring>
#include <vector>

#include "common/TextUtil.h"

namespace vx {

namespace {

// Number in 1-based columns first..last, blanks around it allowed.
bool NumberAt(std::string_view line, size_t first, size_t last, double& v) {
  auto d = ParseDouble(Trim(Columns(line, first, last)));
  if (!d) return false;
  v = *d;
  return true;
}

// Next line of text starting at pos (CR LF, LF or lone CR end a line).
// Returns false at the end of the text.
bool NextLine(std::string_view text, size_t& pos, std::string_view& line) {
  if (pos >= text.size()) return false;
  const char* base = text.data();
  const size_t n = text.size();
  // memchr is much faster than a byte loop; a lone CR is looked for only
  // within the line that LF ends.
  const void* lf = std::memchr(base + pos, '\n', n - pos);
  size_t i = lf ? static_cast<size_t>(static_cast<const char*>(lf) - base) : n;
  if (const void* cr = std::memchr(base + pos, '\r', i - pos))
    i = static_cast<size_t>(static_cast<const char*>(cr) - base);
  line = text.substr(pos, i - pos);
  if (i < n && base[i] == '\r' && i + 1 < n && base[i + 1] == '\n') ++i;
  pos = i + 1;
  return true;
}

constexpr std::string_view kEndOfRun = "*****END OF RUN*****";

bool IsFreqLine(std::string_view line) { return line.size() >= 71 && line.compare(67, 4, "FREQ") == 0; }

}  // namespace

TVoaStatus ParsePointText(std::string_view text, TPointResults& out) {
  size_t pos = 0;
  std::string_view line;
  bool ended = false;
  while (NextLine(text, pos, line)) {
    if (line.find(kEndOfRun) != std::string_view::npos) ended = true;
    if (!IsFreqLine(line)) continue;

    double hourValue, mufValue;
    if (!NumberAt(line, 2, 6, hourValue) || !NumberAt(line, 7, 11, mufValue)) return vsOutputError;
    const double hr = RoundHalfEven(hourValue);
    const bool hourInRange = hr >= 0 && hr < TPointResults::kHours;
    const int h = hourInRange ? static_cast<int>(hr) : 0;
    if (hourInRange) out.Muf[h] = static_cast<float>(mufValue);

    // The four tag lines that follow, read once per FREQ line.
    enum TagKind { kOther, kMode, kAngle, kSnr };
    std::string_view tags[4];
    TagKind kinds[4] = {kOther, kOther, kOther, kOther};
    size_t tagCount = 0;
    for (size_t p = pos; tagCount < 4 && NextLine(text, p, tags[tagCount]); ++tagCount) {
      std::string_view tag = Trim(Columns(tags[tagCount], 68, 73));
      kinds[tagCount] = tag == "MODE" ? kMode : tag == "TANGLE" ? kAngle : tag == "SNR" ? kSnr : kOther;
    }

    for (size_t k = 0; k <= 10; ++k) {
      const size_t first = 12 + 5 * k, last = 16 + 5 * k;
      double fv;
      if (!NumberAt(line, first, last, fv)) return vsOutputError;
      const double fr = RoundHalfEven(fv);
      if (fr == 0) continue;
      if (tagCount < 4) return vsOutputError;
      const bool cellExists = hourInRange && fr >= TPointResults::kMinMHz && fr <= TPointResults::kMaxMHz;
      const int f = cellExists ? static_cast<int>(fr) : 0;
      for (size_t t = 0; t < 4; ++t) {
        if (kinds[t] == kOther) continue;
        std::string_view value = Trim(Columns(tags[t], first, last));
        if (kinds[t] == kMode) {
          if (cellExists) out.Mode[f][h].assign(value.substr(0, 4));
          continue;
        }
        auto v = ParseDouble(value);
        if (!v) return vsOutputError;
        if (cellExists) (kinds[t] == kSnr ? out.Snr : out.Elevation)[f][h] = static_cast<float>(*v);
      }
      if (cellExists && h == 24) {
        out.Snr[f][0] = out.Snr[f][24];
        out.Mode[f][0] = out.Mode[f][24];
        out.Elevation[f][0] = out.Elevation[f][24];
      }
    }
  }
  out.Muf[0] = out.Muf[24];
  // The program writes its end line last: without it the run was cut short.
  return ended ? vsReady : vsOutputError;
}

TVoaStatus ParseAreaText(std::string_view text, TVoaGrid& grid) {
  size_t pos = 0;
  std::string_view line;
  for (int i = 0; i < 3; ++i)
    if (!NextLine(text, pos, line)) return vsOutputError;
  auto size = ParseInt(Columns(line, 1, 3));
  if (!size || (*size != 16 && *size != 31 && *size != 61)) return vsOutputError;
  const int n = static_cast<int>(*size);
  grid = MakeGrid(n);
  // Every point occurs once; a file with fewer lines was cut short.
  std::vector<bool> seen(size_t(n) * size_t(n), false);
  size_t cells = 0;
  while (NextLine(text, pos, line)) {
    if (line.empty() && pos >= text.size()) break;  // a final line end
    auto i = ParseInt(Columns(line, 1, 3));
    auto j = ParseInt(Columns(line, 4, 6));
    if (!i || !j) return vsOutputError;
    if (*i < 1 || *i > n || *j < 1 || *j > n) return vsOutputError;
    const size_t at = size_t(*i - 1) * size_t(n) + size_t(*j - 1);
    if (seen[at]) return vsOutputError;
    seen[at] = true;
    ++cells;
    double snr, elevation, muf;
    if (!NumberAt(line, 87, 92, snr) || !NumberAt(line, 39, 44, elevation) || !NumberAt(line, 27, 32, muf))
      return vsOutputError;
    TVoaGridCell& c = grid[static_cast<size_t>(*i - 1)][static_cast<size_t>(*j - 1)];
    c.Snr = static_cast<float>(snr);
    c.Elevation = static_cast<float>(elevation);
    c.Muf = static_cast<float>(muf);
    c.Mode.assign(Trim(Columns(line, 33, 38)).substr(0, 4));
  }
  return cells == seen.size() ? vsReady : vsOutputError;
}

}  // namespace vx
