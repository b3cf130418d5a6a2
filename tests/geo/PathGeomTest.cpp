#include <gtest/gtest.h>

#include <cmath>

#include "geo/PathGeom.h"

using namespace vx;

constexpr float kTol = 2e-6f;

TEST(MyMath, SafeFunctionsAndNormalisation) {
  EXPECT_EQ(SafeArcCos(1.0000001), 0);
  EXPECT_DOUBLE_EQ(SafeArcCos(-1.0000001), kPi);
  EXPECT_DOUBLE_EQ(SafeArcSin(2), kPi / 2);
  EXPECT_DOUBLE_EQ(SafeArcSin(-2), -kPi / 2);
  EXPECT_DOUBLE_EQ(SafeArcTan2(1, 1e-6), kPi / 2);
  EXPECT_DOUBLE_EQ(SafeArcTan2(-1, -1e-6), -kPi / 2);
  EXPECT_EQ(SafeArcTan2(0, 0), 0);
  EXPECT_DOUBLE_EQ(SafeArcTan2(1, -1), 3 * kPi / 4);
  EXPECT_NEAR(NormalizeAngle2Pi(-0.5f), 2 * kPi - 0.5, kTol);
  EXPECT_NEAR(NormalizeAngle2Pi(13.0f), 13.0 - 4 * kPi, kTol);
  EXPECT_NEAR(NormalizeAnglePi(static_cast<float>(kPi)), -kPi, kTol);  // pi wraps to -pi
  EXPECT_NEAR(NormalizeAnglePi(-4.0f), 2 * kPi - 4.0, kTol);
  // Values so large that a float does not change by one turn must not hang.
  float big = NormalizeAngle2Pi(1e30f);
  EXPECT_TRUE(big >= 0 && big < 2 * kPi);
  EXPECT_TRUE(std::isnan(NormalizeAnglePi(INFINITY)));
}

TEST(PathGeometry, DistanceAndAzimuth) {
  TPathGeometry g;
  g.SetPath(GeoPoint(0, 0), GeoPoint(0, kPi / 2), false);
  EXPECT_NEAR(g.Distance, kPi / 2, kTol);
  EXPECT_NEAR(g.Azimuth, kPi / 2, kTol);
  g.SetPath(GeoPoint(0, 0), GeoPoint(0, kPi / 2), true);
  EXPECT_NEAR(g.Distance, 3 * kPi / 2, kTol);
  EXPECT_NEAR(g.Azimuth, 3 * kPi / 2, kTol);

  g.SetPath(GeoPoint(0.5f, 1), GeoPoint(0.5f, 1), false);
  EXPECT_EQ(g.Distance, 0);
  EXPECT_EQ(g.Azimuth, 0);
  g.SetPath(GeoPoint(0.5f, 1), GeoPoint(0.5f, 1), true);
  EXPECT_NEAR(g.Distance, 2 * kPi, kTol);
  EXPECT_NEAR(g.Azimuth, kPi, kTol);

  // From (near) a pole the bearing follows from the longitudes alone.
  g.SetPath(GeoPoint(static_cast<float>(kPi / 2), 0.2f), GeoPoint(0, 1.0f), false);
  EXPECT_NEAR(g.Azimuth, kPi + 0.2 - 1.0, kTol);
  g.SetPath(GeoPoint(static_cast<float>(-kPi / 2), 1.0f), GeoPoint(0, 0.2f), false);
  EXPECT_NEAR(g.Azimuth, 2 * kPi - 0.8, kTol);

  // Antipodes: the arctangent's second argument vanishes.
  g.SetPath(GeoPoint(0, 0), GeoPoint(0, static_cast<float>(kPi)), false);
  EXPECT_NEAR(g.Distance, kPi, 1e-3);
  EXPECT_TRUE(std::fabs(g.Azimuth - kPi / 2) < 1e-3 || std::fabs(g.Azimuth - 3 * kPi / 2) < 1e-3);

  // SetPoint1 keeps Point2 and recomputes towards it.
  g.SetPath(GeoPoint(0, 0), GeoPoint(0, 1), false);
  g.SetPoint1(GeoPoint(0, 0.5f));
  EXPECT_NEAR(g.Distance, 0.5, kTol);
  EXPECT_NEAR(g.CosDLon, std::cos(0.5), 1e-7);
}

TEST(PathGeometry, WalkingAPathComesBackToItsEnd) {
  TPathGeometry g;
  const TGeoPoint home = GeoPoint(0.7f, -1.3f), dx = GeoPoint(-0.6f, 2.4f);
  g.SetPath(home, dx, false);
  g.SetDistance(g.Distance);
  EXPECT_NEAR(g.Point2.Lat, dx.Lat, 1e-5);
  EXPECT_NEAR(g.Point2.Lon, dx.Lon, 1e-5);
  EXPECT_NEAR(g.SinLat2, std::sin(g.Point2.Lat), 1e-7);  // the cache follows Point2

  g.SetPath(home, dx, true);
  g.SetDistance(g.Distance);  // the long way round ends at the same place
  EXPECT_NEAR(g.Point2.Lat, dx.Lat, 1e-4);
  EXPECT_NEAR(g.Point2.Lon, dx.Lon, 1e-4);
  EXPECT_TRUE(g.LongPath);
}

TEST(PathGeometry, ForwardFromPolesAndDateLine) {
  TPathGeometry g;
  g.SetPath(GeoPoint(static_cast<float>(kPi / 2), 0.3f), GeoPoint(0, 0), false);
  g.SetDistanceAzimuth(1.0f, 0.5f);
  EXPECT_NEAR(g.Point2.Lat, kPi / 2 - 1.0, 1e-5);
  EXPECT_NEAR(g.Point2.Lon, 0.3 + kPi - 0.5, 1e-5);
  g.SetPath(GeoPoint(static_cast<float>(-kPi / 2), 0.3f), GeoPoint(0, 0), false);
  g.SetDistanceAzimuth(1.0f, 0.5f);
  EXPECT_NEAR(g.Point2.Lon, 0.8, 1e-5);

  // Due east along the equator by pi: the longitude lands on the date line,
  // which is given as -pi.
  g.SetPath(GeoPoint(0, 0), GeoPoint(0, 1), false);
  g.SetDistanceAzimuth(static_cast<float>(kPi / 2), static_cast<float>(kPi / 2));
  EXPECT_NEAR(g.Point2.Lon, kPi / 2, 1e-5);
  g.SetDistance(static_cast<float>(kPi / 2 + 1.0));
  EXPECT_NEAR(g.Point2.Lon, kPi / 2 + 1.0, 1e-5);
  g.SetAzimuth(static_cast<float>(3 * kPi / 2));
  EXPECT_NEAR(g.Point2.Lon, -(kPi / 2 + 1.0), 1e-5);
  EXPECT_EQ(g.Azimuth, static_cast<float>(3 * kPi / 2));  // set values are kept
}
