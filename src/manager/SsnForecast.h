// The predicted monthly sunspot numbers as the NOAA Space Weather Prediction
// Center publishes them: a JSON array of objects, one a month, each with
// "time-tag" ("2026-12") and "predicted_ssn" (93.4); the other members
// ("high_ssn", "predicted_f10.7", ...) are read over and not used.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace vx {

struct TSsnMonth {
  int Year = 0, Month = 0;  // 1..12
  double Ssn = 0;           // the predicted smoothed sunspot number

  // Months counted from year 0, so that neighbours differ by one.
  int Key() const { return Year * 12 + Month - 1; }
};

// The published list is tens of kilobytes; one far larger is refused.
constexpr size_t kMaxSsnForecastBytes = size_t(4) << 20;
// The most Vantor's table takes (a figure above it would be written and then
// refused); no smoothed sunspot number ever came near it.
constexpr double kMaxForecastSsn = 400;

// The months of the list, in order. Anything else (not a JSON array, an
// object without a month or a number, a month out of order or repeated, a
// number outside 0..kMaxForecastSsn, an empty list, an HTML page) is refused
// with ESourceFormat, whose text says what was wrong and where.
std::vector<TSsnMonth> ParseSsnForecast(std::string_view body);

}  // namespace vx
