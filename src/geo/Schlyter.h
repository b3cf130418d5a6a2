// TSchlyterSun: the subsolar point for a moment, by Schlyter's low-precision
// method for the sun (mean elements of epoch 2000, one Kepler step), and the
// sun's angle from an observer's zenith. Single precision throughout, which
// is ample for drawing the day/night boundary.
#pragma once

#include "geo/MyMath.h"

namespace vx {

class TSchlyterSun {
 public:
  double Time = 0;     // days since 30 December 1899, UTC, with the time of day
  TGeoPoint Observer;  // radians
  TGeoPoint SubSolar;  // Lat = declination; Lon in [-pi, pi), east positive
  float Zenith = 0;    // radians; above pi/2 the sun is below the horizon

  void Compute(TGeoPoint observer, double time);
};

}  // namespace vx
