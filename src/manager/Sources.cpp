#include "manager/Sources.h"

#include <algorithm>

#include "common/TextUtil.h"

namespace vx {

namespace {
const TSourceInfo kSources[kSourceCount] = {
    {"IOTA_reference", "/xml/iota.kmz"},
    {"LoTW_user_list", "/lotw/lotw1.txt"},
    {"FCC_callsign_database", "/uls/data/complete/l_amat.zip"},
    {"RAC_callsign_database", "/download/amateur.zip"},
    {"Canadian_special_callsigns", "/download/ind_speciaux.zip"},
    {"RDA_Districts_database", "/rda.rar"},
    {"Predicted_sunspot_numbers", "/json/solar-cycle/predicted-solar-cycle.json"},
};
}  // namespace

const TSourceInfo& SourceInfo(int index) { return kSources[static_cast<size_t>(index)]; }

std::string SourceCaption(int index) {
  std::string name = SourceInfo(index).Name;
  std::replace(name.begin(), name.end(), '_', ' ');
  return "Download " + name;
}

std::optional<int> ParseSourceIndex(std::string_view arg) {
  const auto v = ParseInt(Trim(arg));
  if (!v || *v < 0 || *v >= kSourceCount) return std::nullopt;
  return static_cast<int>(*v);
}

}  // namespace vx
