// The text form of lookup results used by "vantor-cli lookup": one line per
// result, tab-separated (call, entity number, name, latitude, longitude,
// areas, region, sub-names), or the call and "-" when nothing was found.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "refdata/PrefLst.h"

namespace vx {

std::string FormatLookupResults(std::string_view call, const std::vector<TPrefixData>& results);

}  // namespace vx
