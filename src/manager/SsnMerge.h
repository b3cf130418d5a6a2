// Brings a downloaded sunspot forecast into the sunspot table "SSN.dat"
// (one "Jan 2008=5.6" line a month) without losing what the table knows
// better: the months the forecast does not cover stay as they are, and so
// do the table's months before the current one (observed figures, which no
// forecast improves on). The other months take the forecast's figures.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "manager/SsnForecast.h"

namespace vx {

struct TSsnMerge {
  std::string Table;  // the new table, in month order, CR LF line ends
  int Replaced = 0;   // months of the table that took the forecast's figure
  int Added = 0;      // months the table did not have
  int Kept = 0;       // forecast months before currentKey the table already had
};

// existing: the table's text as it is now ("" when there is none). Its lines
// that are not a month with a sunspot number are left out. currentKey: the
// current month as TSsnMonth::Key(). New figures are written with one
// decimal and "."; the table's own lines are kept as they were written.
TSsnMerge MergeSsnForecast(std::string_view existing, const std::vector<TSsnMonth>& forecast, int currentKey);

}  // namespace vx
