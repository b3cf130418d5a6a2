#include "geo/Schlyter.h"

#include <cmath>

namespace vx {

void TSchlyterSun::Compute(TGeoPoint observer, double time) {
  Observer = observer;
  Time = time;
  // Functions are evaluated in double and their results stored as floats.
  auto sin = [](double x) { return std::sin(x); };
  auto cos = [](double x) { return std::cos(x); };
  // Every quantity is kept as a float, as the method's precision allows.
  const float d = static_cast<float>(time - 36525.0);  // day 0 = 31 Dec 1999, 0 h UTC
  const float M = static_cast<float>(6.214191 + 0.01720197 * d);
  const float e = static_cast<float>(0.016709 - 1.151e-9 * d);
  const float obl = static_cast<float>(0.4090929 - 6.218606e-9 * d);
  const float w = static_cast<float>(4.93824 + 8.219364e-7 * d);
  const float E = static_cast<float>(M + e * sin(M) * (1.0 + e * cos(M)));
  const float v = static_cast<float>(SafeArcTan2(std::sqrt(1.0 - double(e) * e) * sin(E), cos(E) - e));
  const float lambda = static_cast<float>(double(v) + w);
  const float x = static_cast<float>(cos(lambda));
  const float y = static_cast<float>(sin(lambda));
  const float y1 = static_cast<float>(y * cos(obl));
  const float z1 = static_cast<float>(y * sin(obl));
  const float ra = static_cast<float>(SafeArcTan2(y1, x));
  const float decl = static_cast<float>(SafeArcTan2(z1, std::sqrt(double(x) * x + double(y1) * y1)));
  const float gmst0 = static_cast<float>(double(M) + w + kPi);
  const double dayFraction = time - std::trunc(time);
  SubSolar.Lat = decl;
  SubSolar.Lon = NormalizeAnglePi(static_cast<float>(double(ra) - gmst0 - 2 * kPi * dayFraction));
  Zenith = static_cast<float>(SafeArcCos(sin(observer.Lat) * sin(decl) +
                                         cos(observer.Lat) * cos(decl) * cos(double(observer.Lon) - SubSolar.Lon)));
}

}  // namespace vx
