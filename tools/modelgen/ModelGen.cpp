#include "ModelGen.h"

#include <bit>
#include <charconv>
#include <cstring>
#include <vector>

#include "common/FileUtil.h"
#include "common/LittleEndian.h"
#include "common/TextUtil.h"

namespace vx::modelgen {

using model::kMonthCount;
using model::TFoF2Map;
using model::TMonthCoefficients;

namespace {

constexpr size_t kRealWidth = 15;  // E15.8
constexpr size_t kRealsPerLine = 6;
constexpr size_t kIntWidth = 5;  // I5
constexpr size_t kIntsPerLine = 10;

std::string TwoDigits(int n) { return FormatInt(n, 2, true); }

// Lines of a text with a cursor; errors name the line (1-based).
class TLines {
 public:
  explicit TLines(std::string_view text) : Lines(SplitLines(text)) {}
  bool AtEnd() const { return Next >= Lines.size(); }
  std::string_view Take() { return Lines[Next++]; }
  std::string Where() const { return "line " + std::to_string(Next); }

 private:
  std::vector<std::string_view> Lines;
  size_t Next = 0;
};

// The field without its blanks: Fortran input ignores blanks inside a
// numeric field.
std::string Squeezed(std::string_view field) {
  std::string s;
  for (char c : field) {
    if (c != ' ') s += c;
  }
  return s;
}

// An E15.8 field. The published tables always write the decimal point and
// the exponent; anything else is refused rather than read with Fortran's
// implied decimals.
bool ParseReal(std::string_view field, float& out) {
  std::string s = Squeezed(field);
  if (!s.empty() && s[0] == '+') s.erase(0, 1);
  for (char& c : s) {
    if (c == 'd' || c == 'D' || c == 'e') c = 'E';
  }
  if (s.find('.') == std::string::npos || s.find('E') == std::string::npos) return false;
  const char* end = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(s.data(), end, out, std::chars_format::scientific);
  return ec == std::errc() && ptr == end;
}

bool ParseInteger(std::string_view field, int32_t& out) {
  std::string s = Squeezed(field);
  if (!s.empty() && s[0] == '+') s.erase(0, 1);
  if (s.empty()) return false;
  const char* end = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(s.data(), end, out);
  return ec == std::errc() && ptr == end;
}

// Reads count values of fixed width, perLine a line, starting on the next
// line, into out (first index fastest, as Fortran reads an array).
template <typename T, typename Parse>
std::string ReadFields(TLines& lines, T* out, size_t count, size_t width, size_t perLine, Parse parse) {
  for (size_t k = 0; k < count;) {
    if (lines.AtEnd()) return "the file ends inside a table";
    std::string_view line = lines.Take();
    const size_t onLine = std::min(perLine, count - k);
    for (size_t f = 0; f < onLine; ++f, ++k) {
      if (line.size() < (f + 1) * width) return lines.Where() + ": the line is too short";
      if (!parse(line.substr(f * width, width), out[k])) {
        return lines.Where() + ": field " + std::to_string(f + 1) + " is not a number";
      }
    }
  }
  return {};
}

std::string ReadReals(TLines& lines, float* out, size_t count) {
  return ReadFields(lines, out, count, kRealWidth, kRealsPerLine, ParseReal);
}

// The "month= N" line: the month in columns 7 and 8 (format 6X,I2).
std::string ReadMonthLine(TLines& lines, int month) {
  if (lines.AtEnd()) return "the file ends before month " + std::to_string(month);
  std::string_view line = lines.Take();
  int32_t found = 0;
  if (line.size() < 8 || !ParseInteger(line.substr(6, 2), found) || found != month) {
    return lines.Where() + ": expected the line of month " + std::to_string(month);
  }
  return {};
}

std::string ReadName(TLines& lines, std::string_view name) {
  if (lines.AtEnd()) return "the file ends before " + std::string(name);
  if (!lines.Take().starts_with(name)) return lines.Where() + ": expected the name " + std::string(name);
  return {};
}

// A table name of the coefficient file and the tables its values fill, one
// after the other (one Fortran READ).
struct TSection {
  const char* Name;
  std::vector<std::pair<float*, size_t>> Tables;
};

template <typename Table>
std::pair<float*, size_t> Part(Table& t) {
  return {t.data(), t.size()};
}

// The order of the ASCII coefficient file.
std::vector<TSection> MonthSections(TMonthCoefficients& m) {
  return {
      {"DUD", {Part(m.dud)}},
      {"FAM", {Part(m.fam)}},
      {"SYS", {Part(m.sys)}},
      {"FAKP", {Part(m.fakp)}},
      {"FAKABP", {Part(m.fakabp)}},
      {"XFM3CF", {Part(m.xfm3cf)}},
      {"ANEW(3),BNEW(3),ACHI(2),BCHI(2)", {Part(m.anew), Part(m.bnew), Part(m.achi), Part(m.bchi)}},
      {"FAKMAP", {Part(m.fakmap)}},
      {"ABMAP", {Part(m.abmap)}},
      {"F2D", {Part(m.f2d)}},
      {"PERR", {Part(m.perr)}},
      {"XESMCF", {Part(m.xesmcf)}},
      {"XPMAP", {Part(m.xpmap)}},
      {"XESLCF", {Part(m.xeslcf)}},
      {"XESUCF", {Part(m.xesucf)}},
      {"XERCOF", {Part(m.xercof)}},
  };
}

// The records of coeffNNw.bin: ikim, then these groups of float tables.
std::vector<std::vector<std::pair<float*, size_t>>> MonthRecords(TMonthCoefficients& m) {
  return {
      {Part(m.fakp), Part(m.fakabp)},
      {Part(m.dud), Part(m.fam), Part(m.sys)},
      {Part(m.xfm3cf)},
      {Part(m.f2d), Part(m.perr)},
      {Part(m.anew), Part(m.bnew), Part(m.achi), Part(m.bchi), Part(m.fakmap), Part(m.abmap)},
      {Part(m.xesmcf), Part(m.xpmap)},
      {Part(m.xeslcf), Part(m.xesucf)},
      {Part(m.xercof)},
  };
}

// Gathers one Fortran READ's values and spreads them over its tables.
std::string ReadSection(TLines& lines, const TSection& section) {
  size_t total = 0;
  for (const auto& part : section.Tables) total += part.second;
  std::vector<float> values(total);
  std::string error = ReadReals(lines, values.data(), total);
  if (!error.empty()) return std::string(section.Name) + ", " + error;
  const float* from = values.data();
  for (const auto& [to, n] : section.Tables) {
    std::copy(from, from + n, to);
    from += n;
  }
  return {};
}

// One unformatted sequential record: its length before and after.
std::string TakeRecord(std::string_view& bytes, size_t expected, std::string_view& payload) {
  if (bytes.size() < 8) return "the file ends before a record";
  const uint32_t length = GetLE32(bytes.data());
  if (length != expected) {
    return "a record of " + std::to_string(length) + " bytes, expected " + std::to_string(expected);
  }
  if (bytes.size() < 8 + size_t(length) || GetLE32(bytes.data() + 4 + length) != length) {
    return "a record is cut or badly framed";
  }
  payload = bytes.substr(4, length);
  bytes.remove_prefix(8 + size_t(length));
  return {};
}

void CopyFloats(std::string_view bytes, float* out, size_t count) {
  for (size_t k = 0; k < count; ++k) out[k] = std::bit_cast<float>(GetLE32(bytes.data() + 4 * k));
}

// Values of two tables whose bits differ.
template <typename T>
size_t CountDifferent(const T* a, const T* b, size_t n) {
  size_t different = 0;
  for (size_t k = 0; k < n; ++k) {
    if (std::memcmp(&a[k], &b[k], sizeof(T)) != 0) ++different;
  }
  return different;
}

// Values of a month whose bits differ (ikim and every float table).
size_t CountDifferent(const TMonthCoefficients& a, const TMonthCoefficients& b, size_t& values) {
  size_t different = CountDifferent(a.ikim.data(), b.ikim.data(), a.ikim.size());
  values += a.ikim.size();
  std::vector<std::pair<const float*, size_t>> tablesA;
  a.ForEachFloatTable([&](const char*, const auto& t) { tablesA.emplace_back(t.data(), t.size()); });
  size_t k = 0;
  b.ForEachFloatTable([&](const char*, const auto& t) {
    different += CountDifferent(tablesA[k++].first, t.data(), t.size());
    values += t.size();
  });
  return different;
}

std::string MonthFileName(int month, std::string_view suffix) {
  return "coeff" + TwoDigits(month) + std::string(suffix);
}

}  // namespace

std::string ParseMonthText(std::string_view text, int month, TMonthCoefficients& out) {
  TLines lines(text);
  std::string error = ReadMonthLine(lines, month);
  if (error.empty()) error = ReadName(lines, "IKIM");
  if (error.empty()) {
    error = ReadFields(lines, out.ikim.data(), out.ikim.size(), kIntWidth, kIntsPerLine, ParseInteger);
  }
  for (const TSection& section : MonthSections(out)) {
    if (error.empty()) error = ReadName(lines, section.Name);
    if (error.empty()) error = ReadSection(lines, section);
  }
  return error;
}

std::string ParseFoF2Text(std::string_view text, std::array<TFoF2Map, kMonthCount>& out) {
  TLines lines(text);
  if (lines.AtEnd()) return "the file is empty";
  lines.Take();  // title
  for (int month = 1; month <= kMonthCount; ++month) {
    std::string error = ReadMonthLine(lines, month);
    TFoF2Map& map = out[size_t(month - 1)];
    if (error.empty()) error = ReadReals(lines, map.data(), map.size());
    if (!error.empty()) return "month " + std::to_string(month) + ", " + error;
  }
  return {};
}

TBuildResult BuildFromFolder(const std::string& folder) {
  TBuildResult r;
  r.Data = std::make_unique<model::TModelData>();
  auto read = [&](const std::string& name, auto parse) {
    if (!r.Error.empty()) return;
    const std::string path = folder + "/" + name;
    auto text = ReadWholeFile(path, size_t(1) << 24);
    std::string error = text ? parse(*text) : "cannot read the file";
    if (!error.empty()) r.Error = path + ": " + error;
  };
  for (int month = 1; month <= kMonthCount; ++month) {
    read(MonthFileName(month, ".asc"),
         [&](std::string_view t) { return ParseMonthText(t, month, r.Data->months[size_t(month - 1)]); });
  }
  read("fof2CCIR.asc", [&](std::string_view t) { return ParseFoF2Text(t, r.Data->fof2[0]); });
  read("fof2URSI.asc", [&](std::string_view t) { return ParseFoF2Text(t, r.Data->fof2[1]); });
  if (!r.Error.empty()) r.Data.reset();
  return r;
}

std::string ParseMonthBinary(std::string_view bytes, TMonthCoefficients& out) {
  std::string_view payload;
  std::string error = TakeRecord(bytes, 4 * out.ikim.size(), payload);
  if (!error.empty()) return error;
  for (size_t k = 0; k < out.ikim.size(); ++k) out.ikim.Data[k] = static_cast<int32_t>(GetLE32(payload.data() + 4 * k));
  for (const auto& record : MonthRecords(out)) {
    size_t length = 0;
    for (const auto& part : record) length += 4 * part.second;
    error = TakeRecord(bytes, length, payload);
    if (!error.empty()) return error;
    for (const auto& [to, n] : record) {
      CopyFloats(payload, to, n);
      payload.remove_prefix(4 * n);
    }
  }
  if (!bytes.empty()) return "bytes after the last record";
  return {};
}

std::string ParseFoF2Binary(std::string_view bytes, std::array<TFoF2Map, kMonthCount>& out) {
  constexpr size_t kRecord = 4 * TFoF2Map::kSize;  // 7,904 bytes
  if (bytes.size() != kRecord * kMonthCount) {
    return "the file is " + std::to_string(bytes.size()) + " bytes, expected " + std::to_string(kRecord * kMonthCount);
  }
  for (size_t m = 0; m < kMonthCount; ++m) CopyFloats(bytes.substr(m * kRecord, kRecord), out[m].data(), out[m].size());
  return {};
}

TComparison CompareWithBinaries(const model::TModelData& data, const std::string& folder) {
  TComparison c;
  bool readAll = true;
  auto line = [&](const std::string& name, size_t values, size_t different) {
    c.Report += name + ": " + std::to_string(values) + " values, " + std::to_string(different) + " different\n";
    c.Values += values;
    c.Different += different;
  };
  auto load = [&](const std::string& name, auto parse) {
    auto bytes = ReadWholeFile(folder + "/" + name, size_t(1) << 24);
    std::string error = bytes ? parse(*bytes) : "cannot read the file";
    if (!error.empty()) {
      c.Report += name + ": " + error + "\n";
      readAll = false;
    }
    return error.empty();
  };
  for (int month = 1; month <= kMonthCount; ++month) {
    TMonthCoefficients binary;
    const std::string name = MonthFileName(month, "w.bin");
    if (!load(name, [&](std::string_view b) { return ParseMonthBinary(b, binary); })) continue;
    size_t values = 0;
    size_t different = CountDifferent(data.months[size_t(month - 1)], binary, values);
    line(name, values, different);
  }
  for (size_t set = 0; set < 2; ++set) {
    std::array<TFoF2Map, kMonthCount> binary;
    const std::string name = set == 0 ? "fof2CCIR.daw" : "fof2URSI.daw";
    if (!load(name, [&](std::string_view b) { return ParseFoF2Binary(b, binary); })) continue;
    size_t values = 0;
    size_t different = 0;
    for (size_t m = 0; m < kMonthCount; ++m) {
      different += CountDifferent(data.fof2[set][m].data(), binary[m].data(), TFoF2Map::kSize);
      values += TFoF2Map::kSize;
    }
    line(name, values, different);
  }
  c.Report += "total: " + std::to_string(c.Values) + " values, " + std::to_string(c.Different) + " different\n";
  c.Ok = readAll && c.Different == 0;
  return c;
}

}  // namespace vx::modelgen
