// What a ham reads off a path before looking at the chart: the distance and
// bearing both ways round, the DX country, the local time at both ends and
// the sun's rise and set there. Spherical earth, as the path drawing.
#pragma once

#include <optional>
#include <string>

#include "common/Location.h"

namespace vx {

inline constexpr double kEarthRadiusKm = 6371.0;  // mean radius
inline constexpr double kKmPerMile = 1.609344;

// How the sun behaves at a place during one UTC day.
enum class TSunDay { sdRiseAndSet, sdPolarDay, sdPolarNight };

struct TSunTimes {
  TSunDay Kind = TSunDay::sdRiseAndSet;
  // Hours after 0 h UTC (0 <= h < 24); absent when the sun does not rise
  // (or set) during that UTC day.
  std::optional<double> Rise, Set;
};

// Sunrise and sunset at a place on the UTC day that holds moment (a day
// count): the sun's upper limb on the horizon, refraction included.
TSunTimes SunTimes(TLocation place, double moment);

// A place's clock: its offset from UTC, east positive, and where it came from.
struct TPlaceClock {
  double UtcOffsetHours = 0;
  bool FromPrefixList = false;  // else mean solar time, rounded to the hour
};

// Mean solar time rounded to the whole hour: one hour per 15 degrees east.
TPlaceClock MeanSolarClock(TLocation place);

struct TEndFacts {
  TLocation Point;
  TPlaceClock Clock;
  double LocalTime = 0;  // the moment on the place's clock, as a day count
  TSunTimes Sun;
};

struct TPathFacts {
  double ShortKm = 0, LongKm = 0;
  double ShortMi = 0, LongMi = 0;
  double BearingShort = 0, BearingLong = 0;  // degrees from north, clockwise; 0 <= b < 360
  std::string DxCountry;                     // empty unless the DX position came from a call
  TEndFacts Home, Dx;
};

// What the facts are made from: the two positions and, when the DX position
// was looked up from a call, its country and the clock the prefix list gives
// it (east positive).
struct TPathEnds {
  TLocation Home;
  TLocation Dx;
  std::string DxCountry;
  std::optional<double> DxUtcOffset;
};

// moment: a UTC day count; the local times are those of the moment, the sun
// times those of its UTC day.
TPathFacts ComputePathFacts(const TPathEnds& ends, double moment);

}  // namespace vx
