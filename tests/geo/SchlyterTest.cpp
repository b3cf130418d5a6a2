#include <gtest/gtest.h>

#include <cmath>

#include "geo/Schlyter.h"

using namespace vx;

TEST(SchlyterSun, SubsolarPointAtKnownMoments) {
  TSchlyterSun s;
  s.Compute(GeoPoint(0, 0), 36525.0);  // 31 December 1999, 0 h UTC
  EXPECT_NEAR(s.SubSolar.Lat, -0.4039, 5e-4);
  EXPECT_NEAR(s.SubSolar.Lon, -3.130, 2e-3);
  s.Compute(GeoPoint(0, 0), 36604.5);
  EXPECT_NEAR(s.SubSolar.Lat, -0.0055, 5e-4);
  s.Compute(GeoPoint(0, 0), 36605.5);
  EXPECT_NEAR(s.SubSolar.Lat, 0.0013, 5e-4);
  s.Compute(GeoPoint(0, 0), 36697.5);
  EXPECT_NEAR(s.SubSolar.Lat, 0.4091, 5e-4);
}

TEST(SchlyterSun, LongitudeFollowsTheClock) {
  TSchlyterSun s;
  s.Compute(GeoPoint(0, 0), 36525.0);
  const float lon0 = s.SubSolar.Lon;
  s.Compute(GeoPoint(0, 0), 36526.0);
  EXPECT_NEAR(s.SubSolar.Lon, lon0, 0.004);  // only the equation of time drifts
  s.Compute(GeoPoint(0, 0), 36525.25);       // six hours later: a quarter turn west, wrapped
  EXPECT_NEAR(s.SubSolar.Lon, 1.583, 3e-3);
  for (double t = 36525; t < 36527; t += 0.01) {
    s.Compute(GeoPoint(0, 0), t);
    EXPECT_GE(s.SubSolar.Lon, -kPi - 1e-6);
    EXPECT_LT(s.SubSolar.Lon, kPi);
  }
}

TEST(SchlyterSun, ZenithAngle) {
  TSchlyterSun s;
  s.Compute(GeoPoint(0, 0), 40000.3);
  const TGeoPoint sub = s.SubSolar;
  s.Compute(sub, 40000.3);
  EXPECT_NEAR(s.Zenith, 0, 1e-3);
  s.Compute(GeoPoint(-sub.Lat, static_cast<float>(sub.Lon + kPi)), 40000.3);
  EXPECT_NEAR(s.Zenith, kPi, 1e-3);
  EXPECT_EQ(s.Observer.Lat, -sub.Lat);
  EXPECT_EQ(s.Time, 40000.3);
}
