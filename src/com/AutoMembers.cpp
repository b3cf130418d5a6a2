#include "com/AutoMembers.h"

namespace vx {

namespace {

#define VX_GET(NAME) [](const IAutomationTarget& t) -> TBusValue { return t.NAME(); }
#define VX_SET(NAME, CTYPE) [](IAutomationTarget& t, const TBusValue& v) { t.Set##NAME(std::get<CTYPE>(v)); }
#define VX_RW(NAME, TYPE, CTYPE) {#NAME, TBusType::TYPE, VX_GET(NAME), VX_SET(NAME, CTYPE)}
#define VX_RO(NAME, TYPE) {#NAME, TBusType::TYPE, VX_GET(NAME), nullptr}

}  // namespace

const std::vector<TAutoProperty>& AutomationProperties() {
  static const std::vector<TAutoProperty> kProperties = {
      VX_RO(Version, btInt),
      VX_RW(Visible, btBool, bool),
      VX_RW(Left, btInt, int32_t),
      VX_RW(Top, btInt, int32_t),
      VX_RW(Page, btInt, int32_t),
      VX_RW(HomeLat, btDouble, double),
      VX_RW(HomeLon, btDouble, double),
      VX_RW(DxLat, btDouble, double),
      VX_RW(DxLon, btDouble, double),
      VX_RW(MapStyle, btInt, int32_t),
      VX_RW(MapResolution, btInt, int32_t),
      VX_RW(ShowMuf, btBool, bool),
      VX_RW(ShowSun, btBool, bool),
      VX_RW(ShowPath, btBool, bool),
      VX_RW(DxCall, btString, std::string),
      VX_RW(LongPath, btBool, bool),
      VX_RW(Ssn, btInt, int32_t),
      VX_RW(Kp, btInt, int32_t),
      VX_RW(TxPower, btInt, int32_t),
      VX_RW(UseKp, btBool, bool),
      VX_RO(YearMonth, btString),
      VX_RW(Hour, btInt, int32_t),
      VX_RW(Band, btInt, int32_t),
      VX_RW(GeomiraOn, btBool, bool),
      VX_RW(SunsentryOn, btBool, bool),
      VX_RW(RealtimeClock, btBool, bool),
      VX_RO(ChartData, btString),
  };
  return kProperties;
}

#undef VX_GET
#undef VX_SET
#undef VX_RW
#undef VX_RO

const std::vector<TAutoMethod>& AutomationMethods() {
  using TArgs = std::vector<TBusValue>;
  static const std::vector<TAutoMethod> kMethods = {
      {"SetYearMonth", "ii",
       [](IAutomationTarget& t, const TArgs& a) { t.SetYearMonth(std::get<int32_t>(a[0]), std::get<int32_t>(a[1])); }},
      {"PredictPoint", "", [](IAutomationTarget& t, const TArgs&) { t.PredictPoint(); }},
      {"PredictArea", "", [](IAutomationTarget& t, const TArgs&) { t.PredictArea(); }},
      {"SaveChartImage", "s", [](IAutomationTarget& t, const TArgs& a) { t.SaveChartImage(std::get<std::string>(a[0])); },
       true},
      {"SaveMapImage", "s", [](IAutomationTarget& t, const TArgs& a) { t.SaveMapImage(std::get<std::string>(a[0])); },
       true},
      {"BringToFront", "", [](IAutomationTarget& t, const TArgs&) { t.BringToFront(); }},
      {"Release", "", nullptr},
  };
  return kMethods;
}

const TAutoProperty* FindAutoProperty(std::string_view name) {
  for (const TAutoProperty& p : AutomationProperties())
    if (name == p.Name) return &p;
  return nullptr;
}

const TAutoMethod* FindAutoMethod(std::string_view name) {
  for (const TAutoMethod& m : AutomationMethods())
    if (name == m.Name) return &m;
  return nullptr;
}

}  // namespace vx
