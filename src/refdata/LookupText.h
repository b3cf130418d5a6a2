// The text form of lookup results used by "vantor-cli lookup": one line per
// result, tab-separated (call, entity number, name, latitude, longitude,
// areas, region, sub-names), or the call and "-" when nothing was found.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "refdata/DxPlace.h"
#include "refdata/PrefLst.h"

namespace vx {

std::string FormatLookupResults(std::string_view call, const std::vector<TPrefixData>& results);

// The point the window would take for the call: the call, "DX", latitude
// and longitude with two decimals, and where the point comes from. Empty
// when there is no point.
std::string FormatDxPlace(std::string_view call, const TDxPlace& place);

}  // namespace vx
