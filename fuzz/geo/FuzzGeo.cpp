// Arbitrary floats (NaN, infinities, huge values) through the path geometry,
// the sun position and the coordinate text: nothing may hang or misbehave.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "geo/CoordFrm.h"
#include "geo/PathGeom.h"
#include "geo/Schlyter.h"

using namespace vx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  float f[6] = {};
  double t = 0;
  int32_t xy[2] = {};
  if (size < sizeof f + sizeof t + sizeof xy) return 0;
  std::memcpy(f, data, sizeof f);
  std::memcpy(&t, data + sizeof f, sizeof t);
  std::memcpy(xy, data + sizeof f + sizeof t, sizeof xy);

  TPathGeometry g;
  g.SetPath(GeoPoint(f[0], f[1]), GeoPoint(f[2], f[3]), (xy[0] & 1) != 0);
  if (std::isfinite(g.Azimuth) && (g.Azimuth < 0 || g.Azimuth >= 6.2831854f)) __builtin_trap();
  g.SetDistanceAzimuth(f[4], f[5]);
  if (std::isfinite(g.Point2.Lon) && (g.Point2.Lon < -3.1415928f || g.Point2.Lon >= 3.1415927f)) __builtin_trap();
  g.SetPoint1(GeoPoint(f[5], f[4]));

  TSchlyterSun sun;
  sun.Compute(GeoPoint(f[0], f[1]), t);

  TCoordFields fields;
  ShowCoordFields(fields, TLocation{xy[0], xy[1]});
  ReadCoordFields(fields);
  FormatCoordinates(TLocation{xy[0], xy[1]});
  return 0;
}
