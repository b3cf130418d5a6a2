#include "manager/SsnMerge.h"

#include <map>
#include <optional>

#include "common/DayCount.h"
#include "common/TextUtil.h"

namespace vx {

namespace {

// The month of a table line "Jan 2008=5.6" as a key; none for a line whose
// name is not such a month or whose value is not a number the program takes.
std::optional<int> TableLineKey(std::string_view line) {
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  const std::string_view name = Trim(line.substr(0, eq));
  const auto value = ParseDouble(Trim(line.substr(eq + 1)));
  // The range the program's month selector accepts.
  if (!value || *value < -50 || *value > 400) return std::nullopt;
  if (name.size() != 8 || name[3] != ' ') return std::nullopt;
  const auto year = ParseInt(name.substr(4));
  if (!year || *year < 1000 || *year > 9999) return std::nullopt;
  const std::string month = UpperAscii(name.substr(0, 3));
  for (int m = 1; m <= 12; ++m)
    if (month == UpperAscii(MonthAbbreviation(m))) return static_cast<int>(*year) * 12 + m - 1;
  return std::nullopt;
}

std::string ForecastLine(const TSsnMonth& m) {
  return std::string(MonthAbbreviation(m.Month)) + " " + FormatInt(m.Year, 4, true) + "=" +
         FormatFixed(RoundHalfEven(m.Ssn * 10) / 10, 0, 1);
}

}  // namespace

TSsnMerge MergeSsnForecast(std::string_view existing, const std::vector<TSsnMonth>& forecast, int currentKey) {
  std::map<int, std::string> lines;
  // The program reads a month's first line; a later one of the same month is
  // dropped rather than moved in front of it.
  for (std::string_view line : SplitLines(existing))
    if (const auto key = TableLineKey(line)) lines.emplace(*key, std::string(line));
  TSsnMerge r;
  for (const TSsnMonth& m : forecast) {
    auto it = lines.find(m.Key());
    if (it == lines.end()) {
      lines.emplace(m.Key(), ForecastLine(m));
      ++r.Added;
    } else if (m.Key() < currentKey) {
      ++r.Kept;
    } else {
      it->second = ForecastLine(m);
      ++r.Replaced;
    }
  }
  for (const auto& [key, line] : lines) r.Table += line + "\r\n";
  return r;
}

}  // namespace vx
