#include "refdata/CallParser.h"

#include "common/FileUtil.h"
#include "common/Paths.h"
#include "common/TextUtil.h"

namespace vx {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool In(char c, std::string_view set) { return set.find(c) != std::string_view::npos; }
bool EndsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}
bool StartsWith(std::string_view s, std::string_view head) {
  return s.size() >= head.size() && s.substr(0, head.size()) == head;
}

// Suffixes that say how a station operates, not where it is.
bool IsDroppedSuffix(std::string_view p) {
  return p == "AM" || p == "MM" || p == "QRP" || p == "A" || p == "B" || p == "BCN" || p == "LH";
}

constexpr std::string_view kZeroSetA = "BFGIKMNRUW";  // single-letter prefixes
constexpr std::string_view kZeroSetB = "FGIKNUW";

// An exceptions value of digits only names an entity by number.
std::string AsLookup(const std::string& value) {
  for (char c : value)
    if (!IsDigit(c)) return value;
  return "ADIF" + value;
}

}  // namespace

TCallParser::TCallParser(TCallParserVariant variant) : Variant_(variant) {}

std::string TCallParser::ResolvePath(const std::string& name) {
  std::string p = name;
  if (p.empty() || p[0] != '/') p = ShippedDataFolder() + p;
  std::string out;
  out.reserve(p.size());
  for (size_t i = 0; i < p.size(); ++i) {
    out += p[i];
    if (p[i] == '/' && i + 1 < p.size() && p[i + 1] == '/') ++i;
  }
  return out;
}

TLoadStatus TCallParser::SetPrefixFile(const std::string& name) {
  PrefixFile_ = name;
  return PrefixList.LoadFromFile(ResolvePath(name));
}

bool TCallParser::SetCallFile(const std::string& name) {
  if (Variant_ == TCallParserVariant::pvMain) CallList.Clear();
  CallFile_ = name;
  bool ok = CallList.LoadFromFile(ResolvePath(name));
  if (Variant_ == TCallParserVariant::pvMain) CallList.SetSorted(true);
  return ok;
}

void TCallParser::LoadDefaultFiles() {
  std::string folder = ReferenceFolder();
  SetPrefixFile(folder + "Prefix.lst");
  if (FileExists(folder + "CallDxcc.lst")) SetCallFile(folder + "CallDxcc.lst");
}

std::string TCallParser::ExceptionValue(const std::string& key) {
  if (key.empty()) return {};
  if (Variant_ == TCallParserVariant::pvMain) return CallList.ValueOf(key);
  std::string line = CallList.FindLineSingleProbe(key);
  if (line.empty()) return {};
  return std::string(Trim(std::string_view(line).substr(key.size() + 1)));
}

void TCallParser::Parse(std::string_view text) {
  Call = std::string(text);
  Results.clear();
  Hits.clear();
  if (!NormalizeCall()) return;
  LookupPrefix();
  if (!AltCall.empty()) {
    Call = AltCall;
    LookupPrefix();
  }
  MergeHits();
}

bool TCallParser::NormalizeCall() {
  const std::string raw = Call;
  if (raw == "L/P" && OnBeep) OnBeep();
  AltCall.clear();
  std::string clean;
  for (char c : UpperAscii(Trim(raw)))
    if (c != ' ') clean += c;

  const std::string firstKey = clean;
  if (std::string v = ExceptionValue(clean); !v.empty()) {
    Call = AsLookup(v);
    return true;
  }
  if (EndsWith(raw, "/MM")) return false;  // maritime mobile: no location
  if (EndsWith(raw, "/ANT")) {
    Call = "ADIF013";
    return true;
  }
  if (clean.size() < 2 || clean[0] == '/' || clean.find("//") != std::string::npos) return false;
  if (clean.back() == '/') clean.pop_back();
  for (char c : clean)
    if (!IsDigit(c) && !IsUpper(c) && c != '/') return false;

  if (clean.find('/') == std::string::npos && clean.size() > 1) {
    // A plain call is its own lookup string; the exceptions were searched for
    // it above unless a trailing "/" was cut. A single letter left by that
    // cut ("K/") takes the long way, where it gets its zero.
    Call = std::move(clean);
    if (Call != firstKey)
      if (std::string v = ExceptionValue(Call); !v.empty()) Call = AsLookup(v);
    return true;
  }

  std::vector<std::string> parts;
  for (size_t start = 0;;) {
    size_t slash = clean.find('/', start);
    std::string part = clean.substr(start, slash - start);
    if (parts.empty() || !IsDroppedSuffix(part)) parts.push_back(std::move(part));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  if (parts.size() > 3) return false;
  parts.resize(3);
  std::string& p0 = parts[0];
  std::string& p1 = parts[1];
  std::string& p2 = parts[2];
  if (p2.size() > 1) return false;

  if ((StartsWith(p0, "HK") && p1 == "0M") || (StartsWith(p0, "FR") && p1 == "G")) {
    Call = p0 + "/" + p1;
    return true;
  }

  // A new area digit: cut the home call back to its prefix and append it.
  if (p1.size() == 1 && IsDigit(p1[0])) {
    if (!p2.empty() && IsDigit(p2[0])) return false;
    size_t keep;
    if (p0.size() > 1 && IsDigit(p0[1]) && In(p0[0], "IKNRW"))
      keep = 1;
    else if (p0.size() > 2 && IsDigit(p0[2]))
      keep = 2;
    else if (p0.size() > 3 && IsDigit(p0[3]))
      keep = 3;
    else
      return false;
    p0 = p0.substr(0, keep) + p1;
    p1.clear();
  }

  // Single-letter prefixes stand for the letter with a zero.
  if (p0.size() == 1 && In(p0[0], kZeroSetA))
    p0 += '0';
  else if (p1.size() == 1 && p2.size() == 1 && In(p1[0], kZeroSetA))
    p1 += '0';
  else if (p1.size() == 1 && In(p1[0], kZeroSetB))
    p1 += '0';

  std::string base;
  if (p1.size() > 1 && p1.size() < p0.size()) {
    base = p1;  // the shorter part is the location prefix
  } else if (p1.size() == p0.size()) {
    base = p0;
    AltCall = p1;
  } else {
    base = p0;
  }
  if (base.size() < 2) return false;
  std::string modifier;
  if (p1.size() == 1) {
    if (!p2.empty()) return false;
    modifier = p1;
  } else {
    modifier = p2;
  }
  Call = base;
  if (!modifier.empty()) {
    Call += "/" + modifier;
    if (!AltCall.empty()) AltCall += "/" + modifier;
  }

  // The first look already answered for the same key (a plain call).
  if (Call != firstKey)
    if (std::string v = ExceptionValue(Call); !v.empty()) Call = AsLookup(v);
  if (!AltCall.empty())
    if (std::string v = ExceptionValue(AltCall); !v.empty()) AltCall = AsLookup(v);
  return true;
}

void TCallParser::LookupPrefix() {
  if (StartsWith(Call, "ADIF")) {
    auto n = ParseInt(std::string_view(Call).substr(4));
    if (n && *n != 0) {
      Results.clear();
      TPrefixData d;
      if (FindByEntityNumber(*n, d)) Results.push_back(std::move(d));
      return;
    }
  }
  if (Call.size() < 2) return;
  size_t slash = Call.find('/');
  CallPart_ = std::string_view(Call).substr(0, slash);
  CallTail_ = slash == std::string::npos ? std::string_view() : std::string_view(Call).substr(slash);
  for (int32_t i : PrefixList.Cell(Call[0], Call[1])) {
    const TPrefixEntry& e = PrefixList.Entries[i];
    if (MatchEntry(e, true)) {
      AddHit(e, -1);
      ExpandChildren(e, static_cast<int32_t>(Hits.size()) - 1);
    }
  }
}

void TCallParser::ExpandChildren(const TPrefixEntry& e, int32_t row) {
  for (int32_t c : e.Children) {
    const TPrefixEntry& child = PrefixList.Entries[c];
    if (MatchEntry(child, false)) {
      AddHit(child, row);
      ExpandChildren(child, static_cast<int32_t>(Hits.size()) - 1);
    }
  }
}

void TCallParser::AddHit(const TPrefixEntry& e, int32_t row) {
  THit& h = Hits.emplace_back();
  h.Entry = &e;
  h.Kind = e.Kind;
  h.Index = static_cast<int32_t>(Hits.size()) - 1;
  h.Parent = row;
}

bool TCallParser::MatchEntry(const TPrefixEntry& e, bool topLevel) const {
  switch (e.Kind) {
    case 2:
    case 3:
    case 9: break;
    case 1:
    case 6:
      if (topLevel) break;
      return false;
    default: return false;
  }
  for (const TCompiledMask& m : e.Compiled) {
    int mm = MatchMaskPart(CallPart_, m);
    if (mm == 0) continue;
    int s = SuffixClassOfTail(CallTail_, m);
    if (topLevel ? (mm == 1 || s == 3) : (mm == 1 && s == 3)) return true;
  }
  return false;
}

int TCallParser::MatchMask(std::string_view call, const TCompiledMask& mask) {
  return MatchMaskPart(call.substr(0, call.find('/')), mask);
}

int TCallParser::MatchMaskPart(std::string_view call, const TCompiledMask& mask) {
  if (call.empty() || mask.EmptyPart) return 0;
  size_t k = 0;
  for (char c : call) {
    if (k == mask.Sets.size()) return 2;  // the call is longer than the mask
    if (!mask.Sets[k++].Has(static_cast<unsigned char>(c))) return 0;
  }
  switch (mask.Rest[k]) {
    case TCompiledMask::mrEnd: return 2;
    case TCompiledMask::mrDot: return IsDigit(call.back()) ? 1 : 0;
    default: return 1;  // the call stops inside the mask
  }
}

int TCallParser::SuffixClass(std::string_view call, const TCompiledMask& mask) {
  size_t slash = call.find('/');
  return SuffixClassOfTail(slash == std::string_view::npos ? std::string_view() : call.substr(slash), mask);
}

int TCallParser::SuffixClassOfTail(std::string_view tail, const TCompiledMask& mask) {
  if (tail.empty()) return mask.HasSlash ? 2 : 3;
  if (!mask.HasSlash) return tail == "/M" || tail == "/P" ? 3 : 1;
  return tail == mask.Suffix ? 3 : 0;
}

void TCallParser::MergeHits() {
  for (size_t i = Hits.size(); i-- > 0;) {
    THit& h = Hits[i];
    if (h.Entry->Data.HasCoords()) continue;
    h.Index = -1;
    if (h.Parent >= 0) Hits[h.Parent].SubNames.push_back(h.Entry->Data.Name);
  }
  for (size_t i = Hits.size(); i-- > 0;) {
    if (Hits[i].Index == -1) continue;
    FillResult(Results.emplace_back(), static_cast<int32_t>(i));
  }
  Hits.clear();
}

void TCallParser::FillResult(TPrefixData& r, int32_t hit) {
  while (hit >= 0) {
    THit& h = Hits[hit];
    const TPrefixData& d = h.Entry->Data;
    h.Index = -1;  // an ancestor reached here yields no result of its own
    switch (h.Kind) {
      case 1:
      case 6: r.Name = d.Name; break;
      case 2: r.AreaNames = r.AreaNames.empty() ? d.Name : d.Name + ", " + r.AreaNames; break;
      case 3:
        if (d.HasCoords()) r.RegionName = d.Name;
        break;
      case 9: r.RegionName = d.Name; break;
      default: break;
    }
    if (!r.HasCoords()) {
      r.Lon = d.Lon;
      r.Lat = d.Lat;
    }
    if (d.HasCoords()) {
      auto take = [](std::string& to, const std::string& from) {
        if (to.empty()) to = from;
      };
      take(r.Column4, d.Column4);
      take(r.Column5, d.Column5);
      take(r.Column6, d.Column6);
      take(r.Column7, d.Column7);
      take(r.Column8, d.Column8);
      take(r.EntityNumber, d.EntityNumber);
      take(r.Column10, d.Column10);
    }
    r.SubNames.insert(r.SubNames.end(), h.SubNames.begin(), h.SubNames.end());
    hit = h.Parent;
  }
}

bool TCallParser::FindByEntityNumber(int64_t n, TPrefixData& out) const {
  for (const TPrefixEntry& e : PrefixList.Entries) {
    if (e.Kind != 1) continue;
    // A country whose number is not a number cannot be the one asked for;
    // skipping it keeps one bad line from failing every lookup behind it.
    auto v = ParseInt(e.Data.EntityNumber);
    if (v && *v == n) {
      out = e.Data;
      return true;
    }
  }
  return false;
}

void TCallParser::ListEntities(TAlStringList& list) const {
  list.Clear();
  for (const TPrefixEntry& e : PrefixList.Entries)
    if (e.Kind == 1) list.Add(e.Data.EntityNumber + "=-|" + e.Data.Column4 + "|" + e.Data.Name);
}

}  // namespace vx
