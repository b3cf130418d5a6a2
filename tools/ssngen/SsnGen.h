// Builds the shipped sunspot table SSN.dat from the compiled monthly figures
// (data/ssn-figures.txt): one "YYYY-MM value source" line per month, where
// source S is an observed smoothed value and any other letter a forecast.
// Forecasts were made before the latest observations, so each forecast
// segment is scaled to continue from the month before it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx::ssngen {

struct TMonthFigure {
  int Year = 0;
  int Month = 0;  // 1..12
  double Value = 0;
  char Source = 'S';  // 'S' observed; any other capital letter: a forecast
};

struct TParseResult {
  std::vector<TMonthFigure> Months;
  std::string Error;  // empty when the whole file was read
};

// Lines starting with "#" and blank lines are skipped. Every other line must
// be a month with a value and a source letter, and the months must follow
// one another without gap or repeat; the first bad line is reported.
TParseResult ParseFigures(std::string_view text);

// A run of consecutive months from the same forecast source.
struct TSegment {
  size_t First = 0;  // index of its first month
  size_t Count = 0;
};
std::vector<TSegment> ForecastSegments(const std::vector<TMonthFigure>& months);

// Values to one decimal (halves to even). Observed months keep theirs. Each
// forecast segment after an earlier month is multiplied by one factor, chosen
// so that its first month follows the month before it (as written) by the
// segment's own change from its first to its second month, taken as a ratio.
// The join then steps like the forecast itself steps, with no jump; the
// segment keeps its shape. A segment at the very start stays as it is.
std::vector<double> JoinedValues(const std::vector<TMonthFigure>& months);

// "Jan 2008=5.6" lines with CR LF ends, in month order.
std::string FormatSsnTable(const std::vector<TMonthFigure>& months, const std::vector<double>& values);

}  // namespace vx::ssngen
