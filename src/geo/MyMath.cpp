#include "geo/MyMath.h"

#include <cmath>

namespace vx {

double SignOf(double x) { return x < 0 ? -1.0 : (x > 0 ? 1.0 : 0.0); }

double SafeArcSin(double x) {
  if (x > 1) return kPi / 2;
  if (x < -1) return -kPi / 2;
  return std::asin(x);
}

double SafeArcCos(double x) {
  if (x > 1) return 0;
  if (x < -1) return kPi;
  return std::acos(x);
}

double SafeArcTan2(double y, double x) {
  if (std::fabs(x) >= kGeoEpsilon) return std::atan2(y, x);
  return SignOf(y) * kPi / 2;
}

// Stepping one turn at a time keeps the single-precision rounding of each
// step; far-out values (where a step would no longer change a float, so the
// loop would never end) and non-finite ones are reduced in one go first.
static float Reduce(float a, double low) {
  if (!std::isfinite(a)) return std::nanf("");
  if (std::fabs(a) > 1e5f) a = static_cast<float>(std::fmod(static_cast<double>(a) - low, 2 * kPi) + low);
  while (a < low) a = static_cast<float>(a + 2 * kPi);
  while (a >= low + 2 * kPi) a = static_cast<float>(a - 2 * kPi);
  return a;
}

float NormalizeAngle2Pi(float a) { return Reduce(a, 0.0); }
float NormalizeAnglePi(float a) { return Reduce(a, -kPi); }

}  // namespace vx
