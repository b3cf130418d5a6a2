// The Canadian special call signs: a ";"-separated table turned into
// "CanSpec.lst", one line per call with all of its descriptions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx {

// The lines of "CanSpec.lst" from the extracted table text (first line is
// the column header): "CALL  YEAR (DATES):  TEXT", sorted ignoring case,
// several lines of one call merged with "|".
std::vector<std::string> BuildSpecialCallLines(std::string_view text);

}  // namespace vx
