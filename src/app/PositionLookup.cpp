#include "app/PositionLookup.h"

#include "common/TextUtil.h"
#include "refdata/CallParser.h"

namespace vx {

std::optional<TLocation> FirstLocation(const std::vector<TPrefixData>& results) {
  for (const TPrefixData& r : results)
    if (r.HasCoords() && r.Lat != kNoLocation32) return TLocation{r.Lon, r.Lat};
  return std::nullopt;
}

TPositionText LookUpPosition(std::string_view text, TCallParser& parser) {
  TPositionText read = ParsePositionText(text);
  if (read.Ok() || read.Form == TPositionForm::pfDegrees) return read;
  // A text shaped like a locator but outside its letters may still be a call.
  const std::string_view call = Trim(text);
  if (!call.empty()) {
    parser.Parse(call);
    if (auto p = FirstLocation(parser.Results)) return TPositionText{TPositionForm::pfCall, *p, std::string()};
  }
  if (read.Form == TPositionForm::pfNone)
    read.Error = "'" + std::string(call) + "' is not a locator (FN31pr), a known call sign or LAT,LON";
  return read;
}

}  // namespace vx
