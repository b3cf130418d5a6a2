// Maidenhead grid locators ("FN31", "FN31pr", "FN31pr45"): a field of 20 by
// 10 degrees (A..R), a square of 2 by 1 degrees (0..9), a subsquare of 5 by
// 2.5 minutes (a..x) and an extended square of 30 by 15 seconds (0..9),
// longitude first in each pair, counted from 180 W and 90 S.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/Location.h"

namespace vx {

struct TDegrees {
  double Lat = 0;  // north positive
  double Lon = 0;  // east positive
};

// The centre of the square a locator of 4, 6 or 8 characters names (letters
// in either case, nothing around them); nothing for any other text.
std::optional<TDegrees> LocatorCentre(std::string_view locator);
// The same centre in 1/180 degree. A square of 8 characters is smaller than
// that unit, so its centre is only the nearest point of the unit grid.
std::optional<TLocation> LocatorLocation(std::string_view locator);

// The canonical locator of 4, 6 or 8 characters ("FN31pr45") of the square
// holding a point; the edges 180 E and 90 N belong to the last square. ""
// for a length other than 4, 6 or 8, for a point outside -90..90 and
// -180..180, for NaN and for the no-location point.
std::string FormatLocator(TDegrees point, int length = 6);
std::string FormatLocator(TLocation point, int length = 6);

}  // namespace vx
