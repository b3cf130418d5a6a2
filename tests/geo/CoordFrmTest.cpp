#include <gtest/gtest.h>

#include "geo/CoordFrm.h"

using namespace vx;

static TLocation Read(const char* lat, char ns, const char* lon, char ew) {
  return ReadCoordFields(TCoordFields{lat, lon, ns, ew});
}

TEST(CoordEntry, Reading) {
  TCoordFields fresh;
  TLocation p = ReadCoordFields(fresh);  // shows "W" but reads as 0
  EXPECT_EQ(p.X, 0);
  EXPECT_EQ(p.Y, 0);
  p = Read("95", 'N', "999", 'E');
  EXPECT_EQ(p.Y, 90 * 180);
  EXPECT_EQ(p.X, 180 * 180);
  p = Read("", 'S', "abc", 'W');
  EXPECT_EQ(p.Y, 0);
  EXPECT_EQ(p.X, 0);
  p = Read("45", 'S', "73", 'W');
  EXPECT_EQ(p.Y, -45 * 180);
  EXPECT_EQ(p.X, -73 * 180);
  p = Read("99999999999999999999", 'N', "-5", 'E');
  EXPECT_EQ(p.Y, 0);
  EXPECT_EQ(p.X, 0);
}

TEST(CoordEntry, Showing) {
  TCoordFields f;
  ShowCoordFields(f, TLocation{450, -8154});
  EXPECT_EQ(f.LatText, "45");
  EXPECT_EQ(f.LatHemisphere, 'S');
  EXPECT_EQ(f.LonText, "2");  // 2.5 degrees: half to even
  EXPECT_EQ(f.LonHemisphere, 'E');
  ShowCoordFields(f, TLocation{-180 * 200, 180 * 100});
  EXPECT_EQ(f.LatText, "90");
  EXPECT_EQ(f.LonText, "180");
  EXPECT_EQ(f.LonHemisphere, 'W');
  ShowCoordFields(f, TLocation{kNoLocation32, 5});
  EXPECT_EQ(f.LatText, "");
  EXPECT_EQ(f.LonText, "");
  EXPECT_EQ(f.LonHemisphere, 'W');  // toggles stay
  TLocation p = ReadCoordFields(f);
  EXPECT_EQ(p.X, 0);
  EXPECT_EQ(p.Y, 0);
  ShowCoordFields(f, TLocation{INT32_MIN, INT32_MIN});
  EXPECT_EQ(f.LatText, "90");
  EXPECT_EQ(ToggleHemisphere('N'), 'S');
  EXPECT_EQ(ToggleHemisphere('W'), 'E');
}

TEST(CoordEntry, TextForm) {
  EXPECT_EQ(FormatCoordinates(TLocation{-13248, 7182}), "40\xB0 N   74\xB0 W");
  EXPECT_EQ(FormatCoordinates(TLocation{0, 0}), "0\xB0 N   0\xB0 E");
  EXPECT_EQ(FormatCoordinates(TLocation{-450, -450}), "2\xB0 S   2\xB0 W");
  EXPECT_EQ(SignOfInt(-3), -1);
  EXPECT_EQ(SignOfInt(0), 0);
}
