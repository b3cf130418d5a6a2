#include "refdata/PrefLst.h"

#include "common/FileUtil.h"
#include "common/TextUtil.h"

namespace vx {

namespace {

constexpr std::string_view kDigits = "0123456789";
constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr char kNul = '\0';

void AddAll(TCharSet& set, std::string_view chars) {
  for (char c : chars) set.Add(static_cast<unsigned char>(c));
}

// Character class text between "[" and "]": every "-" standing between two
// characters becomes the characters strictly between them, working from the
// right end so that "A-C-E" reads as A B C D E.
TCharSet ExpandClass(std::string_view list) {
  std::string s(list);
  for (size_t i = s.size() >= 3 ? s.size() - 2 : 0; i >= 1 && i + 1 < s.size(); --i) {
    if (s[i] != '-') continue;
    auto lo = static_cast<unsigned char>(s[i - 1]);
    auto hi = static_cast<unsigned char>(s[i + 1]);
    std::string between;
    for (unsigned c = lo + 1u; c < hi; ++c) between += static_cast<char>(c);
    s.replace(i, 1, between);
  }
  TCharSet set;
  for (char c : s) set.Add(static_cast<unsigned char>(c));
  return set;
}

// Two hexadecimal digits (one is accepted too); anything else reads as 0.
int Hex2(std::string_view s) {
  if (s.empty()) return 0;
  int v = 0;
  for (char c : s) {
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else
      return 0;
    v = v * 16 + d;
  }
  return v;
}

int32_t CoordField(std::string_view s) {
  auto v = ParseInt(s);
  if (!v || *v < INT32_MIN || *v > INT32_MAX) return kNoLocation32;
  return static_cast<int32_t>(*v);
}

// Fields at each "|"; a "|" closing the line adds no empty last field.
void SplitFields(std::string_view line, std::vector<std::string_view>& out) {
  out.clear();
  size_t start = 0;
  for (;;) {
    size_t bar = line.find('|', start);
    if (bar == std::string_view::npos) {
      if (start < line.size() || out.empty()) out.push_back(line.substr(start));
      return;
    }
    out.push_back(line.substr(start, bar - start));
    start = bar + 1;
  }
}

TCompiledMask::TRest RestOf(std::string_view rest) {
  if (rest.empty() || rest == ".") return TCompiledMask::mrEnd;
  if (rest.back() == '.') return TCompiledMask::mrDot;
  return TCompiledMask::mrMore;
}

bool StoredKind(int kind) { return kind == 1 || kind == 2 || kind == 3 || kind == 6 || kind == 9; }

}  // namespace

TCharSet ParseMaskPosition(std::string_view& mask) {
  TCharSet set;
  if (mask.empty()) return set;
  char c = mask[0];
  switch (c) {
    case '#': AddAll(set, kDigits); break;
    case '@': AddAll(set, kLetters); break;
    case '?':
      AddAll(set, kDigits);
      AddAll(set, kLetters);
      break;
    case '[': {
      size_t close = mask.find(']', 1);
      if (close == std::string_view::npos) break;  // empty set; go on after "["
      set = ExpandClass(mask.substr(1, close - 1));
      mask.remove_prefix(close + 1);
      return set;
    }
    default: set.Add(static_cast<unsigned char>(c));
  }
  mask.remove_prefix(1);
  return set;
}

std::vector<std::string> SplitCommaText(std::string_view text) {
  std::vector<std::string> items;
  size_t i = 0, n = text.size();
  auto blank = [&](size_t k) { return k < n && text[k] != kNul && static_cast<unsigned char>(text[k]) <= ' '; };
  while (blank(i)) ++i;
  while (i < n && text[i] != kNul) {
    std::string item;
    if (text[i] == '"') {
      item = ReadQuotedItem(text, i);
    } else {
      while (i<n&& static_cast<unsigned char>(text[i])> ' ' && text[i] != ',') item += text[i++];
    }
    items.push_back(std::move(item));
    while (blank(i)) ++i;
    if (i < n && text[i] == ',') {
      ++i;
      while (blank(i)) ++i;
    }
  }
  return items;
}

TCompiledMask CompileMask(std::string_view mask) {
  TCompiledMask m;
  size_t slash = mask.find('/');
  std::string_view part = mask.substr(0, slash);
  if (slash != std::string_view::npos) {
    m.HasSlash = true;
    m.Suffix = std::string(mask.substr(slash));
  }
  m.EmptyPart = part.empty();
  m.Rest.push_back(RestOf(part));
  while (!part.empty()) {
    m.Sets.push_back(ParseMaskPosition(part));
    m.Rest.push_back(RestOf(part));
  }
  return m;
}

void TPrefixList::Clear() {
  Entries.clear();
  Entries.shrink_to_fit();
  Count = 0;
  for (auto& c : Cells) c.clear();
}

TLoadStatus TPrefixList::LoadFromFile(const std::string& fileName) {
  // A full prefix list is well under a megabyte.
  constexpr size_t kMaxPrefixListBytes = size_t(16) << 20;
  auto text = ReadWholeFile(fileName, kMaxPrefixListBytes);
  if (!text) return TLoadStatus::lsUnreadable;
  return LoadFromText(*text);
}

TLoadStatus TPrefixList::LoadFromText(std::string_view text) {
  if (!ParseLines(text)) {
    Clear();
    return TLoadStatus::lsMalformed;
  }
  LinkParents();
  BuildIndex();
  return TLoadStatus::lsOk;
}

bool TPrefixList::ParseLines(std::string_view text) {
  Entries.clear();
  Count = 0;
  // The array grows geometrically (and is trimmed at the end): growing in
  // fixed steps copied it again and again, in time quadratic in its length.
  // Lines are walked, not collected: memory follows the entries kept, not
  // the lines read (a file of blank lines costs nothing).
  std::vector<std::string_view> f;
  size_t lineNumber = 0;
  bool malformed = false;
  ForEachLine(text, [&](std::string_view line) {
    if (malformed || lineNumber++ < 3) return;
    SplitFields(line, f);
    if (f.size() < 4) return;
    std::string_view type = f[0];
    if (!type.empty() && (type[0] == '-' || type[0] == 'L' || type[0] == 'M')) type.remove_prefix(1);
    int kind = Hex2(type.substr(0, 2));
    int level = type.size() > 2 ? Hex2(type.substr(2, 2)) : 0;
    if (!StoredKind(kind)) return;
    if (f.size() < 14) {
      malformed = true;
      return;
    }
    TPrefixEntry& e = Entries.emplace_back();
    e.Index = Count++;
    e.Kind = static_cast<uint8_t>(kind);
    e.Level = level;
    TPrefixData& d = e.Data;
    d.Lon = CoordField(f[1]);
    d.Lat = CoordField(f[2]);
    d.Name = f[3];
    d.Column4 = f[4];
    d.Column5 = f[5];
    d.Column6 = f[6];
    d.Column7 = f[7];
    d.Column8 = f[8];
    d.EntityNumber = f[9];
    d.Column10 = f[10];
    e.Masks = f[13];
    for (const std::string& m : SplitCommaText(e.Masks)) e.Compiled.push_back(CompileMask(m));
  });
  if (malformed) {
    Clear();
    return false;
  }
  Entries.shrink_to_fit();
  return true;
}

void TPrefixList::LinkParents() {
  // The nearest earlier entry with a smaller level: a stack of candidates
  // with strictly rising levels keeps this linear however the file looks.
  std::vector<int32_t> open;
  for (auto& e : Entries) {
    e.Parent = -1;
    e.Children.clear();
  }
  for (auto& e : Entries) {
    while (!open.empty() && Entries[open.back()].Level >= e.Level) open.pop_back();
    if (e.Level != 0 && !open.empty()) {
      e.Parent = open.back();
      Entries[e.Parent].Children.push_back(e.Index);
    }
    open.push_back(e.Index);
  }
}

void TPrefixList::BuildIndex() {
  for (auto& c : Cells) c.clear();
  TCharSet all;
  AddAll(all, kDigits);
  AddAll(all, kLetters);
  for (const auto& e : Entries) {
    if (e.Kind != 1 && e.Kind != 6) continue;
    for (const auto& m : e.Compiled) {
      // The mask's first two positions as written. In a mask such as "G/P"
      // the second one is the "/" itself, which no call begins with, so the
      // entry is not indexed there: other programs read the same file with
      // this rule, and such masks must stay as unreachable as they are there.
      if (m.Sets.empty()) continue;
      if (m.Sets.size() == 1 && m.HasSlash) continue;
      const TCharSet& first = m.Sets[0];
      const TCharSet& second = m.Sets.size() > 1 ? m.Sets[1] : all;
      for (int i = 0; i < kCellSide; ++i) {
        unsigned char c1 = static_cast<unsigned char>(i < 10 ? '0' + i : 'A' + i - 10);
        if (!first.Has(c1)) continue;
        for (int j = 0; j < kCellSide; ++j) {
          unsigned char c2 = static_cast<unsigned char>(j < 10 ? '0' + j : 'A' + j - 10);
          if (!second.Has(c2)) continue;
          auto& cell = Cells[i * kCellSide + j];
          if (cell.empty() || cell.back() != e.Index) cell.push_back(e.Index);
        }
      }
    }
  }
}

const std::vector<int32_t>& TPrefixList::Cell(char c1, char c2) const {
  static const std::vector<int32_t> kNone;
  int i = CharIndex36(static_cast<unsigned char>(c1));
  int j = CharIndex36(static_cast<unsigned char>(c2));
  if (i < 0 || j < 0) return kNone;
  return Cells[i * kCellSide + j];
}

}  // namespace vx
