#include "app/PathEnds.h"

#include "common/TextUtil.h"
#include "refdata/EntityClock.h"

namespace vx {

TPathEnds PathEndsOf(const TPredictionInputs& inputs, const std::string& call, const TCallParser& parser) {
  TPathEnds ends{inputs.Home, inputs.Dx, {}, {}};
  // Moving the DX point empties the call box, so a call that is still
  // there is the one the point came from.
  if (Trim(call).empty()) return ends;
  for (const TPrefixData& r : parser.Results)
    if (r.HasCoords() && r.Lat != kNoLocation32) {  // the result the DX frame took
      ends.DxCountry = r.Name;
      ends.DxUtcOffset = ListedUtcOffset(r);
      break;
    }
  return ends;
}

}  // namespace vx
