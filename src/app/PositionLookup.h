// A position the user typed anywhere one is asked for: a locator, LAT,LON
// in degrees, or a call sign placed as the call box places it (the first
// place of the lookup that has a location).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geo/PositionText.h"
#include "refdata/PrefLst.h"

namespace vx {

class TCallParser;

// The first result with a location, as the call box moves the DX frame.
std::optional<TLocation> FirstLocation(const std::vector<TPrefixData>& results);

// A locator or degrees as they are; any other text is looked up in parser
// (which holds the loaded lists), and only when that fails too is the text's
// own error reported. Degrees with a mistake are never taken for a call.
TPositionText LookUpPosition(std::string_view text, TCallParser& parser);

}  // namespace vx
