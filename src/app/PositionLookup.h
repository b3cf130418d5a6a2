// A position the user typed anywhere one is asked for: a locator, LAT,LON
// in degrees, or a call sign placed as the call box places it (a licensee's
// place from the callbooks, else the first place of the lookup that has one).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geo/PositionText.h"
#include "refdata/PrefLst.h"

namespace vx {

class TCallParser;

// A locator or degrees as they are; any other text is looked up in parser
// (which holds the loaded lists), and only when that fails too is the text's
// own error reported. Degrees with a mistake are never taken for a call.
// callbookFolder: where the callbooks are; empty: none is read.
TPositionText LookUpPosition(std::string_view text, TCallParser& parser, const std::string& callbookFolder = {});

}  // namespace vx
