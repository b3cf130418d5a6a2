#include "geo/PathFactsText.h"

#include <cmath>

#include "common/DayCount.h"
#include "common/TextUtil.h"

namespace vx {

namespace {

std::string Km(double km) { return FormatInt(RoundToInt32(km)) + " km"; }
std::string Mi(double mi) { return FormatInt(RoundToInt32(mi)) + " mi"; }
std::string Degrees(double b) { return FormatInt(RoundToInt32(b) % 360) + "\xB0"; }

std::string SunText(const TSunTimes& s) {
  switch (s.Kind) {
    case TSunDay::sdPolarDay: return "sun up all day";
    case TSunDay::sdPolarNight: return "sun down all day";
    case TSunDay::sdRiseAndSet: break;
  }
  const std::string rise = s.Rise ? "sunrise " + ClockText(*s.Rise) : "no sunrise";
  const std::string set = s.Set ? "sunset " + ClockText(*s.Set) : "no sunset";
  return rise + ", " + set + " UTC";
}

std::string EndText(const char* name, const TEndFacts& e) {
  return std::string(name) + " " + LocalTimeText(e) + " local (" + UtcOffsetText(e.Clock.UtcOffsetHours) + ", " +
         (e.Clock.FromPrefixList ? "prefix list" : "mean solar time") + "), " + SunText(e.Sun) + "\n";
}

}  // namespace

std::string ClockText(double hours) {
  const int minutes = ((RoundToInt32(hours * 60.0) % 1440) + 1440) % 1440;
  return FormatInt(minutes / 60, 2, true) + ":" + FormatInt(minutes % 60, 2, true);
}

std::string LocalTimeText(const TEndFacts& e) {
  const int minute = static_cast<int>(std::floor(DayFraction(e.LocalTime) * 1440.0 + 1e-6)) % 1440;
  return FormatInt(minute / 60, 2, true) + ":" + FormatInt(minute % 60, 2, true);
}

std::string UtcOffsetText(double hours) {
  const int minutes = RoundToInt32(hours * 60.0);
  if (minutes == 0) return "UTC";
  const int a = std::abs(minutes);
  std::string s = std::string("UTC") + (minutes < 0 ? "-" : "+") + FormatInt(a / 60);
  if (a % 60) s += ":" + FormatInt(a % 60, 2, true);
  return s;
}

std::string PathFactsText(const TPathFacts& f) {
  std::string s = "Short path " + Km(f.ShortKm) + " (" + Mi(f.ShortMi) + "), bearing " + Degrees(f.BearingShort) +
                  "\n" + "Long path " + Km(f.LongKm) + " (" + Mi(f.LongMi) + "), bearing " + Degrees(f.BearingLong) +
                  "\n";
  if (!f.DxCountry.empty()) s += "DX country " + f.DxCountry + "\n";
  return s + EndText("Home", f.Home) + EndText("DX", f.Dx);
}

std::string PathFactsBrief(const TPathFacts& f) { return Km(f.ShortKm) + ", " + Degrees(f.BearingShort); }

}  // namespace vx
