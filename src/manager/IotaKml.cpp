#include "manager/IotaKml.h"

#include <algorithm>
#include <stdexcept>

#include "common/TextUtil.h"
#include "refdata/AlStrLst.h"
#include "refdata/PrefLst.h"  // SplitCommaText, shared with the prefix list

namespace vx {

std::string DecodeAmp(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t at = 0;
  for (;;) {
    const size_t hit = text.find("&amp;", at);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(at, hit - at));
    out += '&';
    at = hit + 5;
  }
  out.append(text.substr(at));
  return out;
}

std::vector<TIotaPlacemark> ScanIotaKml(std::string_view kml) {
  static constexpr std::string_view kPlacemark = "<Placemark>", kName = "<name>", kNameEnd = "</name>",
                                    kDescr = "<description><![CDATA[", kBr = "<br />", kPoint = "<Point>",
                                    kCoord = "<coordinates>", kCoordEnd = "</coordinates>";
  constexpr size_t npos = std::string_view::npos;
  std::vector<TIotaPlacemark> out;
  size_t cur = 0;
  for (;;) {
    const size_t pm = kml.find(kPlacemark, cur);
    if (pm == npos) break;
    const size_t nm = kml.find(kName, pm);
    if (nm == npos) break;
    const size_t nmEnd = kml.find(kNameEnd, nm + kName.size());
    if (nmEnd == npos) break;
    const size_t ds = kml.find(kDescr, nmEnd);
    if (ds == npos) break;
    const size_t br = kml.find(kBr, ds + kDescr.size());
    if (br == npos) break;
    const size_t pt = kml.find(kPoint, br);
    if (pt == npos) break;
    const size_t co = kml.find(kCoord, pt);
    if (co == npos) break;
    const size_t coEnd = kml.find(kCoordEnd, co + kCoord.size());
    if (coEnd == npos) break;
    cur = co + kCoord.size();
    TIotaPlacemark p;
    p.Coords = SplitCommaText(kml.substr(cur, coEnd - cur));
    if (p.Coords.size() != 3) break;
    p.Ref = Trim(kml.substr(nm + kName.size(), nmEnd - nm - kName.size()));
    p.Group = Trim(kml.substr(ds + kDescr.size(), br - ds - kDescr.size()));
    out.push_back(std::move(p));
  }
  return out;
}

std::string EntityPrefixes(std::string_view ref, TAlStringList& iotaDxcc, const TAlStringList& entities) {
  const std::string line = iotaDxcc.FindLineSingleProbe(ref);
  if (line.empty()) return {};
  const std::string value(Trim(std::string_view(line).substr(ref.size() + 1)));
  std::string result;
  for (const std::string& code : SplitCommaText(value)) {
    const std::string key = code + "=";
    size_t i = 0;
    entities.Find(key, i);
    if (i >= entities.Count() || entities[i].compare(0, key.size(), key) != 0) continue;
    const std::string& e = entities[i];
    const size_t a = e.find('|');
    if (a == std::string::npos) continue;
    const size_t b = e.find('|', a + 1);
    if (!result.empty()) result += ", ";
    result += e.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
  }
  return result;
}

TIotaLists BuildIotaLists(std::string_view kmlText, TAlStringList& iotaDxcc, const TAlStringList& entities) {
  const std::string kml = DecodeAmp(kmlText);
  TIotaLists r;
  for (const TIotaPlacemark& p : ScanIotaKml(kml)) {
    const auto lon = ParseDouble(p.Coords[0]), lat = ParseDouble(p.Coords[1]);
    if (!lon || !lat)
      throw std::runtime_error("IOTA " + p.Ref + ": '" + (lon ? p.Coords[1] : p.Coords[0]) +
                               "' is not a valid floating point value");
    const std::string e = EntityPrefixes(p.Ref, iotaDxcc, entities);
    r.RefLines.push_back(p.Ref + "  (" + e + ") " + p.Group);
    r.IslandLines.push_back("00|" + FormatInt(RoundToInt32(*lon * 180.0)) + "|" +
                            FormatInt(RoundToInt32(*lat * 180.0)) + "|" + p.Group + "|" + e + "|" + p.Ref + "||");
  }
  r.Islands = r.RefLines.size();
  for (size_t at = kml.find("<Placemark>"); at != std::string::npos; at = kml.find("<Placemark>", at + 1))
    ++r.Placemarks;
  std::sort(r.RefLines.begin(), r.RefLines.end());
  r.RefLines.insert(r.RefLines.begin(), "------  <none>");
  std::sort(r.IslandLines.begin(), r.IslandLines.end());
  const std::string rule = "#" + std::string(61, '-');
  r.IslandLines.insert(r.IslandLines.begin(),
                       {rule, "#InternalUse|Longitude|Latitude|IOTA Group|-Prefix|+Ref #|-TZ|", rule});
  return r;
}

}  // namespace vx
