#include "SsnGen.h"

#include <cmath>

#include "common/DayCount.h"
#include "common/TextUtil.h"

namespace vx::ssngen {

namespace {

double RoundTenths(double v) { return RoundHalfEven(v * 10.0) / 10.0; }

// "YYYY-MM" into year and month.
bool ParseYearMonth(std::string_view s, int& year, int& month) {
  if (s.size() != 7 || s[4] != '-') return false;
  auto y = ParseInt(s.substr(0, 4));
  auto m = ParseInt(s.substr(5, 2));
  if (!y || !m || s[0] < '0' || s[5] < '0' || *m < 1 || *m > 12) return false;
  year = static_cast<int>(*y);
  month = static_cast<int>(*m);
  return true;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) out.push_back(line.substr(start, i - start));
  }
  return out;
}

}  // namespace

TParseResult ParseFigures(std::string_view text) {
  TParseResult r;
  size_t lineNo = 0;
  for (std::string_view raw : SplitLines(text)) {
    ++lineNo;
    std::string_view line = Trim(raw);
    if (line.empty() || line[0] == '#') continue;
    auto fail = [&](const std::string& why) {
      r.Months.clear();
      r.Error = "line " + std::to_string(lineNo) + ": " + why;
      return r;
    };
    auto f = Fields(line);
    if (f.size() != 3) return fail("expected \"YYYY-MM value source\"");
    TMonthFigure m;
    if (!ParseYearMonth(f[0], m.Year, m.Month)) return fail("bad month \"" + std::string(f[0]) + "\"");
    auto v = ParseDouble(f[1]);
    if (!v || *v < 0 || *v > 1000) return fail("bad value \"" + std::string(f[1]) + "\"");
    m.Value = *v;
    if (f[2].size() != 1 || f[2][0] < 'A' || f[2][0] > 'Z') return fail("bad source \"" + std::string(f[2]) + "\"");
    m.Source = f[2][0];
    if (!r.Months.empty()) {
      const TMonthFigure& prev = r.Months.back();
      const int expected = prev.Year * 12 + prev.Month;  // months since year 0, plus one
      if (m.Year * 12 + m.Month - 1 != expected) return fail("month does not follow the one before");
    }
    r.Months.push_back(m);
  }
  if (r.Months.empty()) r.Error = "no months";
  return r;
}

std::vector<TSegment> ForecastSegments(const std::vector<TMonthFigure>& months) {
  std::vector<TSegment> out;
  for (size_t i = 0; i < months.size(); ++i) {
    if (months[i].Source == 'S') continue;
    if (i > 0 && months[i - 1].Source == months[i].Source && !out.empty() && out.back().First + out.back().Count == i) {
      ++out.back().Count;
    } else {
      out.push_back(TSegment{i, 1});
    }
  }
  return out;
}

std::vector<double> JoinedValues(const std::vector<TMonthFigure>& months) {
  std::vector<double> values;
  values.reserve(months.size());
  for (const auto& m : months) values.push_back(RoundTenths(m.Value));
  // Segments in month order, so that each one starts from the month before
  // it as already written (an earlier segment may have been scaled).
  for (const TSegment& seg : ForecastSegments(months)) {
    if (seg.First == 0) continue;
    const double first = months[seg.First].Value;
    if (first <= 0) continue;  // nothing to scale by; leave it as published
    const double ratio = seg.Count > 1 ? months[seg.First + 1].Value / first : 1.0;
    const double factor = values[seg.First - 1] * ratio / first;
    for (size_t i = seg.First; i < seg.First + seg.Count; ++i) values[i] = RoundTenths(months[i].Value * factor);
  }
  return values;
}

std::string FormatSsnTable(const std::vector<TMonthFigure>& months, const std::vector<double>& values) {
  std::string out;
  for (size_t i = 0; i < months.size() && i < values.size(); ++i) {
    out += MonthAbbreviation(months[i].Month);
    out += ' ';
    out += FormatInt(months[i].Year, 4, true);
    out += '=';
    out += FormatFixed(values[i], 0, 1);
    out += "\r\n";
  }
  return out;
}

}  // namespace vx::ssngen
