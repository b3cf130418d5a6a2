#include "app/PositionLookup.h"

#include "common/TextUtil.h"
#include "refdata/CallParser.h"
#include "refdata/DxPlace.h"

namespace vx {

TPositionText LookUpPosition(std::string_view text, TCallParser& parser, const std::string& callbookFolder) {
  TPositionText read = ParsePositionText(text);
  if (read.Ok() || read.Form == TPositionForm::pfDegrees) return read;
  // A text shaped like a locator but outside its letters may still be a call.
  const std::string_view call = Trim(text);
  if (!call.empty()) {
    parser.Parse(call);
    const TDxPlace place = ResolveDxPlace(call, parser.Results, callbookFolder);
    if (HasLocation(place.Point)) return TPositionText{TPositionForm::pfCall, place.Point, std::string()};
  }
  if (read.Form == TPositionForm::pfNone)
    read.Error = "'" + std::string(call) + "' is not a locator (FN31pr), a known call sign or LAT,LON";
  return read;
}

}  // namespace vx
