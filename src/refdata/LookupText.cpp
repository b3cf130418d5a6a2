#include "refdata/LookupText.h"

#include "common/TextUtil.h"

namespace vx {

std::string FormatLookupResults(std::string_view call, const std::vector<TPrefixData>& results) {
  std::string out;
  if (results.empty()) {
    out.append(call).append("\t-\n");
    return out;
  }
  for (const TPrefixData& r : results) {
    out.append(call).append("\t").append(r.EntityNumber).append("\t").append(r.Name).append("\t");
    if (r.HasCoords() && r.Lat != kNoLocation32)
      out.append(FormatFixed(r.Lat / 180.0, 0, 2)).append("\t").append(FormatFixed(r.Lon / 180.0, 0, 2));
    else
      out.append("-\t-");
    out.append("\t").append(r.AreaNames).append("\t").append(r.RegionName).append("\t");
    for (size_t i = 0; i < r.SubNames.size(); ++i) out.append(i ? ", " : "").append(r.SubNames[i]);
    out.append("\n");
  }
  return out;
}

std::string FormatDxPlace(std::string_view call, const TDxPlace& place) {
  if (!HasLocation(place.Point)) return {};
  std::string out(call);
  out.append("\tDX\t").append(FormatFixed(place.Point.Y / 180.0, 0, 2));
  out.append("\t").append(FormatFixed(place.Point.X / 180.0, 0, 2));
  return out.append("\t").append(place.Source).append("\n");
}

}  // namespace vx
