#include "ZipLstGen.h"

#include <map>
#include <stdexcept>
#include <vector>

#include "common/TextUtil.h"

namespace vx::ziplstgen {

namespace {

struct TInputLines {
  const char* Name;
  std::vector<std::string_view> Lines;  // without the header
};

TInputLines Body(const char* name, std::string_view text, std::string_view header) {
  TInputLines in{name, SplitLines(text)};
  if (in.Lines.empty() || in.Lines.front() != header)
    throw std::runtime_error(std::string(name) + ": the first line is not \"" + std::string(header) + "\"");
  in.Lines.erase(in.Lines.begin());
  return in;
}

[[noreturn]] void Fail(const TInputLines& in, size_t i, const std::string& what) {
  throw std::runtime_error(std::string(in.Name) + ", line " + std::to_string(i + 2) + ": " + what);
}

std::vector<std::string_view> Split(std::string_view line, char sep) {
  std::vector<std::string_view> out;
  size_t start = 0;
  for (;;) {
    const size_t p = line.find(sep, start);
    out.push_back(line.substr(start, p == std::string_view::npos ? std::string_view::npos : p - start));
    if (p == std::string_view::npos) return out;
    start = p + 1;
  }
}

bool AllDigits(std::string_view s, size_t n) {
  if (s.size() != n) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

bool IsStateCode(std::string_view s) {
  return s.size() == 2 && s[0] >= 'A' && s[0] <= 'Z' && s[1] >= 'A' && s[1] <= 'Z';
}

// ZIP ranges the Postal Service gives the territories that the relationship
// file leaves out; their first three digits are shared with other places.
struct TTerritoryRange {
  const char* First;
  const char* Last;
  const char* State;
};
constexpr TTerritoryRange kTerritories[] = {
    {"00801", "00851", "VI"},  // U.S. Virgin Islands
    {"96799", "96799", "AS"},  // American Samoa (the prefix is Hawaii's)
    {"96910", "96932", "GU"},  // Guam
    {"96950", "96952", "MP"},  // Northern Mariana Islands
};

const char* TerritoryOf(std::string_view zip) {
  for (const auto& t : kTerritories)
    if (zip >= t.First && zip <= t.Last) return t.State;
  return nullptr;
}

struct TLocation {
  double Lat, Lon;
};

struct TCounty {
  std::string State;
  std::string Code;  // three digits, or empty
};

}  // namespace

std::string FoldAccents(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == 0xC3 && i + 1 < s.size()) {
      // U+00C0..U+00FF: two bytes, C3 then 80..BF.
      const unsigned char d = static_cast<unsigned char>(s[i + 1]);
      static constexpr char kBase[] = "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYPsaaaaaaaceeeeiiiidnooooo/ouuuuypy";
      if (d >= 0x80 && d <= 0xBF) {
        out += kBase[d - 0x80];
        ++i;
        continue;
      }
    }
    out += static_cast<char>(c);
  }
  return out;
}

TGeneratedZipList GenerateZipList(const TZipInputs& in) {
  // County codes by state and county name.
  std::map<std::pair<std::string, std::string>, std::string> countyCodes;
  const TInputLines codes = Body("county codes", in.CountyCodes, "state,statefp,countyfp,countyname,classfp");
  for (size_t i = 0; i < codes.Lines.size(); ++i) {
    const auto f = Split(codes.Lines[i], ',');
    if (f.size() != 5 || !IsStateCode(f[0]) || !AllDigits(f[2], 3) || f[3].empty())
      Fail(codes, i, "not \"state,statefp,countyfp,countyname,classfp\"");
    countyCodes[{std::string(f[0]), FoldAccents(f[3])}] = std::string(f[2]);
  }

  // State and county of each ZIP code the relationship file lists.
  std::map<std::string, TCounty, std::less<>> counties;
  const TInputLines rel = Body("counties", in.Counties, "zcta\tstate\tcounty");
  for (size_t i = 0; i < rel.Lines.size(); ++i) {
    const auto f = Split(rel.Lines[i], '\t');
    if (f.size() != 3 || !AllDigits(f[0], 5) || !IsStateCode(f[1])) Fail(rel, i, "not \"zcta<TAB>state<TAB>county\"");
    TCounty c{std::string(f[1]), {}};
    const auto code = countyCodes.find({c.State, FoldAccents(f[2])});
    if (code != countyCodes.end()) c.Code = code->second;
    if (!counties.emplace(std::string(f[0]), std::move(c)).second) Fail(rel, i, "ZIP code listed twice");
  }

  // The state most codes with the same first three digits belong to: ZIP
  // prefixes are handed out by state, so this fills codes the relationship
  // file predates.
  std::map<std::string, std::map<std::string, size_t>, std::less<>> statesByPrefix;
  for (const auto& [zip, c] : counties) ++statesByPrefix[zip.substr(0, 3)][c.State];
  auto prefixState = [&](std::string_view zip) -> std::string {
    const auto p = statesByPrefix.find(zip.substr(0, 3));
    if (p == statesByPrefix.end()) return {};
    std::string best;
    size_t most = 0;
    for (const auto& [state, n] : p->second)
      if (n > most) most = n, best = state;  // ties go to the first in order: repeatable
    return best;
  };

  std::map<std::string, TLocation, std::less<>> locations;
  const TInputLines loc = Body("locations", in.Locations, "zcta\tlatitude\tlongitude");
  for (size_t i = 0; i < loc.Lines.size(); ++i) {
    const auto f = Split(loc.Lines[i], '\t');
    if (f.size() != 3 || !AllDigits(f[0], 5)) Fail(loc, i, "not \"zcta<TAB>latitude<TAB>longitude\"");
    const auto lat = ParseDouble(f[1]), lon = ParseDouble(f[2]);
    if (!lat || !lon || *lat < -90 || *lat > 90 || *lon < -180 || *lon > 180)
      Fail(loc, i, "latitude or longitude is not a number in range");
    if (!locations.emplace(std::string(f[0]), TLocation{*lat, *lon}).second) Fail(loc, i, "ZIP code listed twice");
  }

  TGeneratedZipList out;
  out.Text.reserve(locations.size() * 37);
  for (const auto& [zip, at] : locations) {
    std::string state, county;
    if (const auto c = counties.find(zip); c != counties.end()) {
      state = c->second.State;
      county = c->second.Code;
    } else if (const char* t = TerritoryOf(zip)) {
      state = t;
      ++out.StateByTerritory;
    } else {
      state = prefixState(zip);
      if (state.empty()) throw std::runtime_error("locations: no state known for ZIP code " + zip);
      ++out.StateByPrefix;
    }
    if (!county.empty()) ++out.WithCounty;
    out.Text += zip + ' ' + state + (county.empty() ? "0000" : '0' + county) + ' ' + FormatFixed(at.Lat, 10, 6) + ' ' +
                FormatFixed(at.Lon, 11, 6) + "\r\n";
    ++out.Codes;
  }
  return out;
}

}  // namespace vx::ziplstgen
