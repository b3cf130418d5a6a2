// Angle helpers shared by the path geometry and the sun position: inverse
// trigonometric functions that never fail and angle normalisation.
#pragma once

namespace vx {

// Latitude and longitude in radians, north and east positive.
struct TGeoPoint {
  float Lat = 0;
  float Lon = 0;
};

inline TGeoPoint GeoPoint(float lat, float lon) { return TGeoPoint{lat, lon}; }

// The one tolerance of the geometry (about 2 seconds of arc).
inline constexpr float kGeoEpsilon = 1e-5f;

inline constexpr double kPi = 3.14159265358979323846;

double SignOf(double x);
// Arguments just outside [-1, 1] (rounding) give the end values, not NaN.
double SafeArcSin(double x);
double SafeArcCos(double x);
// Four-quadrant arctangent; with |x| below the tolerance, sign(y) * pi/2.
double SafeArcTan2(double y, double x);
// Into [0, 2 pi) and [-pi, pi), in single precision, one turn at a time.
float NormalizeAngle2Pi(float a);
float NormalizeAnglePi(float a);

}  // namespace vx
