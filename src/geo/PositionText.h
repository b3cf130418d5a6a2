// A position as a user types it: a grid locator ("FN31pr") or latitude and
// longitude in decimal degrees ("41.73,-72.71", "41.73 -72.71",
// "41.73N 72.71W", "72.71 W, 41.73 N"). A call sign is neither: the caller
// looks it up (see app/PositionLookup.h).
#pragma once

#include <string>
#include <string_view>

#include "common/Location.h"

namespace vx {

enum class TPositionForm {
  pfNone,     // neither a locator nor degrees: maybe a call sign
  pfLocator,  // shaped like a locator (letters, digits, letters...)
  pfDegrees,  // two numbers
  pfCall,     // a call sign the caller looked up
};

struct TPositionText {
  TPositionForm Form = TPositionForm::pfNone;
  TLocation Point = kNoLocationPoint;  // 1/180 degree; the centre of a locator's square
  std::string Error;                   // why the text is no position; empty when Point holds one
  bool Ok() const { return Error.empty(); }
};

// Reads the text (blanks around it ignored). Degrees are rounded to
// 1/180 degree; latitude runs -90..90 and longitude -180..180, north and
// east positive unless a hemisphere letter follows the number.
TPositionText ParsePositionText(std::string_view text);

}  // namespace vx
