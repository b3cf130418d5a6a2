// Converts the country file cty.csv (one line per entity: primary prefix,
// name, entity number, continent, CQ zone, ITU zone, latitude, longitude with
// west positive, UTC offset, then the prefixes and "=" exact calls) into the
// shipped Prefix.lst and Call.lst. Also carries the country file's own rule
// (exact call first, else the longest prefix) so that tests can check the
// generated lists against it.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vx::prefixgen {

struct TCtyEntity {
  std::string Primary;  // "*" in front: counts only for some contests
  std::string Name;
  std::string Number;
  std::string Continent, CqZone, ItuZone, UtcOffset;
  double Lat = 0;      // degrees, north positive
  double LonWest = 0;  // degrees, west positive
  std::vector<std::string> Prefixes;
  std::vector<std::string> Calls;  // exact calls, without the "="
  bool ContestOnly() const { return !Primary.empty() && Primary[0] == '*'; }
};

// Lines that do not have the ten fields are skipped.
std::vector<TCtyEntity> ParseCountryFile(std::string_view csv);

struct TGeneratedLists {
  std::string PrefixLst;
  std::string CallLst;
  int CountryEntries = 0;  // kind 1
  int PrefixEntries = 0;   // kind 6
  int Masks = 0;
  int ExactCalls = 0;
};

// Prefix.lst holds one country entry per entity plus further entries for its
// longer prefixes. A lookup's first result comes from the matching entry
// found last, so entries are ordered by prefix length: the longest matching
// prefix wins, as in the country file. A prefix whose nearest shorter prefix
// already names the same entity is left out; it would change no answer.
TGeneratedLists GenerateLists(const std::vector<TCtyEntity>& entities);

// The country file's rule for a call without "/".
class TCountryRule {
 public:
  explicit TCountryRule(const std::vector<TCtyEntity>& entities);
  // Index into entities, or -1.
  int Resolve(std::string_view call) const;
  // The entity a prefix belongs to (first listed wins), or -1.
  int OwnerOfPrefix(std::string_view prefix) const;

 private:
  std::unordered_map<std::string, int> Exact_;
  std::unordered_map<std::string, int> Prefix_;
  size_t MaxPrefix_ = 0;
};

}  // namespace vx::prefixgen
