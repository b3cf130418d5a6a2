#include "manager/CbIndex.h"

#include <algorithm>
#include <array>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <bit>
#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "common/FileUtil.h"
#include "common/TextUtil.h"
#include "manager/SourceFormat.h"
#include "manager/Staging.h"
#include "manager/TxtFStrm.h"
#include "refdata/AlStrLst.h"

namespace vx {

namespace {

// Bytes 1..8 of the call field as a big-endian number. The field is zero
// padded, so comparing these keys agrees with comparing the calls unless
// the keys are equal; only then do the remaining bytes decide.
uint64_t Key8(const TCallbookEntry& e) {
  uint64_t k;
  std::memcpy(&k, e.Call + 1, 8);
  if constexpr (std::endian::native == std::endian::little) k = __builtin_bswap64(k);
  return k;
}

int CompareCall(const TCallbookEntry& a, const TCallbookEntry& b) {
  const uint64_t ka = Key8(a), kb = Key8(b);
  if (ka != kb) return ka < kb ? -1 : 1;
  const size_t la = a.Call[0], lb = b.Call[0];
  if (la > 8 && lb > 8) {
    const int c = std::memcmp(a.Call + 9, b.Call + 9, std::min(la, lb) - 8);
    if (c != 0) return c;
  }
  return la < lb ? -1 : (la > lb ? 1 : 0);
}

// Hoare quicksort on the middle element. It recurses into the smaller part
// and loops on the larger, so the stack stays shallow, and hands a range to
// std::sort once it has split too unevenly too often: a registry crafted
// against the middle pivot costs neither the stack nor quadratic time.
void SortRange(TCallbookEntry* e, ptrdiff_t first, ptrdiff_t last, int depth) {
  while (first < last) {
    if (depth-- <= 0) {
      std::sort(e + first, e + last + 1, CallLess);
      return;
    }
    const TCallbookEntry pivot = e[first + (last - first) / 2];
    ptrdiff_t i = first, j = last;
    do {
      while (CompareCall(e[i], pivot) < 0) ++i;
      while (CompareCall(e[j], pivot) > 0) --j;
      if (i <= j) {
        std::swap(e[i], e[j]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - first < last - i) {
      SortRange(e, first, j, depth);
      first = i;
    } else {
      SortRange(e, i, last, depth);
      last = j;
    }
  }
}

int16_t Units16(double degrees) {
  const double r = RoundHalfEven(degrees * 180.0);
  // Outside the 16-bit field the value cannot be a place on earth.
  if (!(r >= -32768.0 && r <= 32767.0)) return kNoLocation16;
  return static_cast<int16_t>(r);
}

// ASCII case-insensitive three-way comparison of whole texts.
int CompareText(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// The "|" fields of one licence record, with the list's delimiter rules.
// Records without quotes or control characters (nearly all) are cut in
// place; the rest go through the string list so both agree to the byte.
class TFieldSplitter {
 public:
  // Only fields 0..18 and whether there are more than 17 are wanted: the
  // scan stops after field 18, since nothing later can change them.
  const std::vector<std::string_view>& Split(std::string_view rec) {
    Fields_.clear();
    if (rec.empty()) return Fields_;
    size_t start = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(rec.data());
    const size_t n = rec.size();
    for (size_t base = 0; base < n; base += 16) {
      for (unsigned mask = SpecialMask(p, base, n); mask != 0; mask &= mask - 1) {
        const size_t i = base + static_cast<size_t>(__builtin_ctz(mask));
        if (p[i] != '|') return Slow(rec);
        Fields_.push_back(rec.substr(start, i - start));
        start = i + 1;
        if (Fields_.size() == kWanted) {
          Fields_.push_back({});  // stands for the rest: the count is all that matters
          return Fields_;
        }
      }
    }
    if (start < rec.size()) Fields_.push_back(rec.substr(start));  // no trailing empty field
    return Fields_;
  }
  static constexpr size_t kWanted = 19;

  // One bit per byte of p[base .. base+16) that is a delimiter, a quote or a
  // control character. SSE2 where it is there: this scan is most of the
  // time the FCC index takes.
  static unsigned SpecialMask(const unsigned char* p, size_t base, size_t n) {
#if defined(__SSE2__)
    if (base + 16 <= n) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + base));
      const __m128i hit =
          _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('|')), _mm_cmpeq_epi8(v, _mm_set1_epi8('"'))),
                       _mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(31)), v));  // v <= 31
      return static_cast<unsigned>(_mm_movemask_epi8(hit));
    }
#endif
    unsigned mask = 0;
    for (size_t k = 0; k < 16 && base + k < n; ++k)
      if (kClass[p[base + k]] != 0) mask |= 1u << k;
    return mask;
  }
  // 1 for the delimiter, 2 for what needs the list's full rules.
  static constexpr auto kClass = [] {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 32; ++c) t[static_cast<size_t>(c)] = 2;
    t['"'] = 2;
    t['|'] = 1;
    return t;
  }();

 private:
  const std::vector<std::string_view>& Slow(std::string_view rec) {
    Fields_.clear();
    List_.SetDelimitedItems(rec);
    for (const std::string& s : List_.Lines()) Fields_.push_back(s);
    return Fields_;
  }
  std::vector<std::string_view> Fields_;
  TAlStringList List_;
};

constexpr size_t kMaxRecord = 64 * 1024;

// Grows by half whenever the array is full, as the scan builders do.
void MakeRoom(TCallbookEntries& e) {
  if (e.size() == e.capacity()) e.reserve(static_cast<size_t>(RoundHalfEven(static_cast<double>(e.size()) * 1.5)) + 1);
}

void CheckOffsets(const TTextFileStream& f, const std::string& name) {
  // Offsets are stored in 32 bits.
  if (f.Size() > INT32_MAX)
    throw std::runtime_error("File \"" + name + "\" is too large for a callbook (2 GB at most)");
}

std::string FormatCount(const char* what, size_t n) {
  return std::string(what) + " database imported: " + FormatInt(static_cast<int64_t>(n)) + " calls";
}

// An index without records would replace a good callbook with nothing.
void RefuseEmpty(const TCallbookEntries& e, const std::string& what) {
  if (e.empty()) throw ESourceFormat("Not " + what + ": it holds no record");
}

}  // namespace

bool CallLess(const TCallbookEntry& a, const TCallbookEntry& b) { return CompareCall(a, b) < 0; }

void SortCallbookEntries(TCallbookEntries& entries, ptrdiff_t first, ptrdiff_t last) {
  if (entries.empty() || first < 0 || last >= static_cast<ptrdiff_t>(entries.size()) || first >= last) return;
  const int depth = 2 * (std::bit_width(static_cast<size_t>(last - first + 1)) + 1);
  SortRange(entries.data(), first, last, depth);
}

void TZipList::LoadFromFile(const std::string& fileName) {
  constexpr size_t kMaxZipListBytes = size_t(16) << 20;  // the shipped list: 1.2 MB
  auto text = ReadWholeFile(fileName, kMaxZipListBytes);
  if (!text) throw std::runtime_error("Cannot open file \"" + fileName + "\"");
  SetText(*text);
}

void TZipList::SetText(std::string_view text) {
  Lines_.clear();
  Memo_.clear();
  for (std::string_view l : SplitLines(text)) {
    const std::string_view lat = Trim(Columns(l, 14, 23)), lon = Trim(Columns(l, 25, 35));
    const auto la = ParseDouble(lat), lo = ParseDouble(lon);
    if (!la || !lo) {
      throw std::runtime_error("ZipLst.lst, line " + std::to_string(Lines_.size() + 1) + ": '" +
                               std::string(la ? lon : lat) + "' is not a valid floating point value");
    }
    Item it{std::string(l), Units16(*la), Units16(*lo), {}, 0};
    const std::string_view region = Columns(l, 7, 12);
    if (!region.empty()) std::memcpy(it.Region, region.data(), region.size());
    it.RegionLen = static_cast<uint8_t>(region.size());
    Lines_.push_back(std::move(it));
  }
}

int TZipList::Find(std::string_view zip) const {
  auto it = std::lower_bound(Lines_.begin(), Lines_.end(), zip,
                             [](const Item& a, std::string_view z) { return CompareText(a.Line, z) < 0; });
  if (it != Lines_.end() && std::string_view(it->Line).substr(0, 5) == zip)
    return static_cast<int>(it - Lines_.begin());
  return -1;
}

void TZipList::Locate(std::string_view zip, std::string_view state, TCallbookEntry& e) const {
  // The answer depends on the code alone; five-digit codes (nearly all) are
  // remembered, which spares a million binary searches over the same codes.
  int found;
  if (zip.size() == 5 && std::all_of(zip.begin(), zip.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    if (Memo_.empty()) Memo_.assign(100000, -2);
    size_t code = 0;
    for (char c : zip) code = code * 10 + static_cast<size_t>(c - '0');
    int& m = Memo_[code];
    if (m == -2) m = Find(zip);
    found = m;
  } else {
    found = Find(zip);
  }
  if (found >= 0) {
    const Item& it = Lines_[static_cast<size_t>(found)];
    const std::string_view region = it.RegionText();
    e.SetRegion(region.substr(0, 2) != state ? state : region);
    e.Lat = it.Lat;
    e.Lon = it.Lon;
  } else {
    e.SetRegion(state);
    e.Lat = e.Lon = kNoLocation16;
  }
}

TCallbookEntries BuildFccIndex(const std::string& detailFile, const TZipList& zips, size_t expectedLines) {
  TTextFileStream f(detailFile);
  CheckOffsets(f, detailFile);
  TCallbookEntries e;
  e.reserve(expectedLines ? expectedLines + 1 : 1500000);
  TFieldSplitter splitter;
  std::string pending;  // a record that continues on the next line
  int64_t start = 0;
  while (f.Position() < f.Size()) {
    MakeRoom(e);
    const std::string_view line = Trim(f.ReadLnView());
    std::string_view rec = line;
    if (!pending.empty()) {
      pending += line;
      rec = pending;
    }
    const auto& fields = splitter.Split(rec);
    if (fields.size() <= 17) {
      if (pending.empty()) pending.assign(line);
      pending += ' ';
      // Real records span a line or two. Text that never completes one is not
      // a licence file, and joining all of it would take quadratic time.
      if (pending.size() > kMaxRecord)
        throw std::runtime_error("File \"" + detailFile + "\" is not an FCC licence file (a record at offset " +
                                 std::to_string(start) + " never ends)");
      continue;
    }
    TCallbookEntry& r = e.emplace_back();
    r.SetCall(fields[4]);
    for (size_t k = 1; k <= r.Call[0]; ++k)
      if (r.Call[k] >= 'a' && r.Call[k] <= 'z') r.Call[k] -= 32;
    r.DatOffset = static_cast<int32_t>(start);
    if (fields.size() > 18) {
      zips.Locate(fields[18].substr(0, 5), fields[17], r);
    } else {
      r.SetRegion(fields[17]);
    }
    start = f.Position();
    pending.clear();
  }
  return e;
}

TCallbookEntries BuildRacIndex(const std::string& detailFile, size_t expectedLines) {
  TTextFileStream f(detailFile);
  CheckOffsets(f, detailFile);
  TCallbookEntries e;
  e.reserve(expectedLines ? expectedLines + 1 : 40000);
  while (f.Position() < f.Size()) {
    MakeRoom(e);
    const int64_t start = f.Position();
    const std::string_view line = f.ReadLnView();
    if (line.empty() || line[0] != 'V') continue;
    TCallbookEntry& r = e.emplace_back();
    r.SetCall(Trim(UpperAscii(Columns(line, 1, 6))));
    r.DatOffset = static_cast<int32_t>(start);
    const bool late = line.size() > 458 && line[457] != ' ';
    r.SetRegion(Trim(UpperAscii(late ? Columns(line, 458, 459) : Columns(line, 187, 188))));
  }
  return e;
}

void TRdaIndexBuilder::AddLine(std::string_view l) {
  TCallbookEntry& r = Entries_.emplace_back();
  const size_t blank = l.find(' ');
  r.SetCall(blank == std::string_view::npos ? std::string_view{} : l.substr(0, blank));
  r.SetRegion(Columns(l, 71, 75));
}

TCallbookEntries BuildRdaIndex(std::string_view text) {
  TRdaIndexBuilder b;
  for (std::string_view l : SplitLines(text)) b.AddLine(l);
  return std::move(b.Entries());
}

void StageCallbookIndex(TFileStager& stager, const std::string& indexFile, TCallbookEntries& entries) {
  SortCallbookEntries(entries, 0, static_cast<ptrdiff_t>(entries.size()) - 1);
  if constexpr (std::endian::native == std::endian::little) {
    stager.Stage(indexFile, std::string_view(reinterpret_cast<const char*>(entries.data()),
                                             entries.size() * sizeof(TCallbookEntry)));
  } else {
    stager.Stage(indexFile, EncodeCallbookIndex(entries));
  }
}

int ImportFccDatabase(const std::string& folder, TJobUi& ui, TFileStager& stager, const std::string& detailFile,
                      const TZipList* zips, size_t expectedLines) {
  TZipList own;
  if (!zips) {
    own.LoadFromFile(JoinPath(folder, "ZipLst.lst"));
    zips = &own;
  }
  const std::string file = detailFile.empty() ? JoinPath(folder, "FccCB.dat") : detailFile;
  TCallbookEntries e = BuildFccIndex(file, *zips, expectedLines);
  RefuseEmpty(e, "an FCC licence file");
  StageCallbookIndex(stager, JoinPath(folder, "FccCB.idx"), e);
  stager.Commit();
  ui.Information(FormatCount("FCC", e.size()));
  return static_cast<int>(e.size());
}

int ImportRacDatabase(const std::string& folder, TJobUi& ui, TFileStager& stager, const std::string& detailFile,
                      size_t expectedLines) {
  TCallbookEntries e = BuildRacIndex(detailFile.empty() ? JoinPath(folder, "RacCB.dat") : detailFile, expectedLines);
  RefuseEmpty(e, "a RAC callsign file");
  StageCallbookIndex(stager, JoinPath(folder, "RacCB.idx"), e);
  stager.Commit();
  ui.Information(FormatCount("RAC", e.size()));
  return static_cast<int>(e.size());
}

int ImportRdaDatabase(const std::string& folder, std::string_view text, TJobUi& ui, TFileStager& stager) {
  TCallbookEntries e = BuildRdaIndex(text);
  return WriteRdaDatabase(folder, e, ui, stager);
}

int WriteRdaDatabase(const std::string& folder, TCallbookEntries& e, TJobUi& ui, TFileStager& stager) {
  RefuseEmpty(e, "an RDA list");
  StageCallbookIndex(stager, JoinPath(folder, "RdaCB.idx"), e);
  stager.Commit();
  ui.Information(FormatCount("RDA", e.size()));
  return static_cast<int>(e.size());
}

}  // namespace vx
