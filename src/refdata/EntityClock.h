// The clock a prefix list gives an entity. The shipped list carries the
// country file's time offset in its eighth column, counted west positive
// (the hours to add to local time for UTC); a list without it leaves the
// column empty or holds other text there.
#pragma once

#include <optional>

#include "refdata/PrefLst.h"

namespace vx {

// Hours from UTC, east positive; none when the column holds no plausible
// offset (a number of quarter hours within 14 hours).
std::optional<double> ListedUtcOffset(const TPrefixData& entry);

}  // namespace vx
