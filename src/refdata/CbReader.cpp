#include "refdata/CbReader.h"

#include <fstream>

#include "common/TextUtil.h"

namespace vx {

namespace {

constexpr size_t kRecord = sizeof(TCallbookEntry);
// Records of one call looked at for one with a location: more duplicates
// than this are not a callbook's.
constexpr int kMaxDuplicates = 16;

// A length byte within its field and zeros after the text, as every writer
// of the format leaves them.
bool ShortStringSound(const unsigned char* f, size_t cap) {
  if (f[0] >= cap) return false;
  for (size_t i = 1u + f[0]; i < cap; ++i)
    if (f[i]) return false;
  return true;
}

bool RecordSound(const TCallbookEntry& e) {
  return ShortStringSound(e.Call, sizeof e.Call) && ShortStringSound(e.Region, sizeof e.Region) && e.DatOffset >= 0;
}

TCallbookLookup Refused(std::string_view name, std::string_view why) {
  TCallbookLookup r;
  r.Status = TCallbookStatus::cbRefused;
  r.Note = std::string(name) + ": " + std::string(why) + "; callbook not used";
  return r;
}

// Reads and checks records; remembers the first failure.
class TIndexProbe {
 public:
  TIndexProbe(const TReadAt& readAt, std::string_view name) : ReadAt_(readAt), Name_(name) {}

  std::optional<TCallbookEntry> At(uint64_t index) {
    char bytes[kRecord];
    if (ReadAt_(index * kRecord, bytes, kRecord) != kRecord) {
      Fail("cannot be read");
      return std::nullopt;
    }
    TCallbookEntry e = DecodeCallbookIndex(std::string_view(bytes, kRecord)).front();
    if (!RecordSound(e)) {
      Fail("record " + std::to_string(index + 1) + " is damaged");
      return std::nullopt;
    }
    return e;
  }
  void Fail(const std::string& why) {
    if (Why_.empty()) Why_ = why;
  }
  bool Failed() const { return !Why_.empty(); }
  TCallbookLookup Refusal() const { return Refused(Name_, Why_); }

 private:
  const TReadAt& ReadAt_;
  std::string_view Name_;
  std::string Why_;
};

}  // namespace

std::optional<TLocation> CallbookLocation(const TCallbookEntry& e) {
  if (e.Lat == kNoLocation16 || e.Lon == kNoLocation16) return std::nullopt;
  if (e.Lat < -90 * 180 || e.Lat > 90 * 180 || e.Lon < -180 * 180 || e.Lon > 180 * 180) return std::nullopt;
  return TLocation{e.Lon, e.Lat};
}

TCallbookLookup FindInIndex(uint64_t size, const TReadAt& readAt, std::string_view call, std::string_view name) {
  if (size % kRecord) return Refused(name, std::to_string(size) + " bytes are not whole 32-byte records");
  TIndexProbe probe(readAt, name);
  const uint64_t count = size / kRecord;
  // The calls at the bounds of the search so far: every record the search
  // visits must lie between them, or the file is not sorted.
  std::string below, above;
  bool haveBelow = false, haveAbove = false;
  uint64_t lo = 0, hi = count;
  while (lo < hi) {
    const uint64_t mid = lo + (hi - lo) / 2;
    const std::optional<TCallbookEntry> e = probe.At(mid);
    if (!e) return probe.Refusal();
    const std::string_view c = e->CallText();
    if ((haveBelow && c < below) || (haveAbove && c > above)) return Refused(name, "records out of order");
    if (c < call) {
      below = c;
      haveBelow = true;
      lo = mid + 1;
    } else {
      above = c;
      haveAbove = true;
      hi = mid;
    }
  }
  TCallbookLookup r;
  r.Status = TCallbookStatus::cbNotListed;
  for (uint64_t i = lo; i < count && i < lo + kMaxDuplicates; ++i) {
    const std::optional<TCallbookEntry> e = probe.At(i);
    if (!e) return probe.Refusal();
    if (e->CallText() != call) {
      if (e->CallText() < call) return Refused(name, "records out of order");
      break;
    }
    if (!r.Entry || (!CallbookLocation(*r.Entry) && CallbookLocation(*e))) r.Entry = e;
    if (CallbookLocation(*r.Entry)) break;
  }
  if (r.Entry) r.Status = TCallbookStatus::cbFound;
  return r;
}

TCallbookLookup FindInCallbook(const std::string& indexFile, std::string_view call) {
  const std::string name = indexFile.substr(indexFile.find_last_of("/\\") + 1);
  std::ifstream in(indexFile, std::ios::binary);
  if (!in) return {};
  in.seekg(0, std::ios::end);
  const std::streamoff end = in.tellg();
  if (end < 0) return Refused(name, "cannot be read");
  const TReadAt readAt = [&in](uint64_t offset, char* out, size_t n) -> size_t {
    in.clear();
    if (!in.seekg(static_cast<std::streamoff>(offset))) return 0;
    in.read(out, static_cast<std::streamsize>(n));
    return static_cast<size_t>(in.gcount());
  };
  return FindInIndex(static_cast<uint64_t>(end), readAt, call, name);
}

std::string ReadDetailBytes(const std::string& detailFile, int64_t offset, size_t maxBytes) {
  if (offset < 0) return {};
  std::ifstream in(detailFile, std::ios::binary);
  if (!in || !in.seekg(offset)) return {};
  std::string out(maxBytes, '\0');
  in.read(out.data(), static_cast<std::streamsize>(maxBytes));
  out.resize(static_cast<size_t>(in.gcount()));
  return out;
}

}  // namespace vx
