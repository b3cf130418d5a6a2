#include "geo/PathFacts.h"

#include <cmath>

#include "geo/PathGeom.h"
#include "geo/Schlyter.h"

namespace vx {

namespace {

constexpr double kUnitsPerDegree = 180.0;  // TLocation's unit
constexpr double kDegree = kPi / 180.0;

TGeoPoint ToGeo(TLocation p) {
  return GeoPoint(static_cast<float>(p.Y / kUnitsPerDegree * kDegree),
                  static_cast<float>(p.X / kUnitsPerDegree * kDegree));
}

// The sun's centre 50 minutes of arc below the horizon: 16' of semidiameter
// plus 34' of refraction, the almanacs' convention for rise and set.
constexpr double kRiseZenith = (90.0 + 50.0 / 60.0) * kDegree;

// Positive while the sun is up.
double SunHeight(TGeoPoint place, double moment) {
  TSchlyterSun sun;
  sun.Compute(place, moment);
  return kRiseZenith - sun.Zenith;
}

// The sun changes sides of the horizon between a and b: the moment it does.
double Crossing(TGeoPoint place, double a, double b) {
  const bool upAtA = SunHeight(place, a) > 0;
  for (int i = 0; i < 24; ++i) {  // ten minutes / 2^24: well below a second
    const double m = (a + b) / 2;
    ((SunHeight(place, m) > 0) == upAtA ? a : b) = m;
  }
  return (a + b) / 2;
}

TEndFacts EndFacts(TLocation point, TPlaceClock clock, double moment) {
  TEndFacts e;
  e.Point = point;
  e.Clock = clock;
  e.LocalTime = moment + clock.UtcOffsetHours / 24.0;
  e.Sun = SunTimes(point, moment);
  return e;
}

}  // namespace

TSunTimes SunTimes(TLocation place, double moment) {
  // Ten-minute steps: a rise and a set are hours apart wherever the sun
  // rises and sets at all, so no pair slips between two steps unseen.
  constexpr int kSteps = 144;
  const TGeoPoint p = ToGeo(place);
  const double day = std::floor(moment);
  TSunTimes out;
  bool everUp = false, everDown = false;
  double prevTime = day;
  bool prevUp = SunHeight(p, day) > 0;
  (prevUp ? everUp : everDown) = true;
  for (int k = 1; k <= kSteps; ++k) {
    const double t = day + double(k) / kSteps;
    const bool up = SunHeight(p, t) > 0;
    (up ? everUp : everDown) = true;
    if (up != prevUp) {
      const double hours = (Crossing(p, prevTime, t) - day) * 24.0;
      if (hours < 24.0) {
        auto& slot = up ? out.Rise : out.Set;
        if (!slot) slot = hours;
      }
    }
    prevTime = t;
    prevUp = up;
  }
  if (!everDown)
    out.Kind = TSunDay::sdPolarDay;
  else if (!everUp)
    out.Kind = TSunDay::sdPolarNight;
  return out;
}

TPlaceClock MeanSolarClock(TLocation place) { return TPlaceClock{std::round(place.X / kUnitsPerDegree / 15.0), false}; }

TPathFacts ComputePathFacts(const TPathEnds& ends, double moment) {
  TPathFacts f;
  TPathGeometry g;
  g.SetPath(ToGeo(ends.Home), ToGeo(ends.Dx), false);
  f.ShortKm = g.Distance * kEarthRadiusKm;
  f.LongKm = 2 * kPi * kEarthRadiusKm - f.ShortKm;
  f.ShortMi = f.ShortKm / kKmPerMile;
  f.LongMi = f.LongKm / kKmPerMile;
  f.BearingShort = g.Azimuth / kDegree;
  f.BearingLong = std::fmod(f.BearingShort + 180.0, 360.0);
  // The float azimuth just under a full turn can print as 360.
  if (f.BearingShort >= 360.0) f.BearingShort = 0;
  f.DxCountry = ends.DxCountry;
  const TPlaceClock dxClock = ends.DxUtcOffset ? TPlaceClock{*ends.DxUtcOffset, true} : MeanSolarClock(ends.Dx);
  f.Home = EndFacts(ends.Home, MeanSolarClock(ends.Home), moment);
  f.Dx = EndFacts(ends.Dx, dxClock, moment);
  return f;
}

}  // namespace vx
