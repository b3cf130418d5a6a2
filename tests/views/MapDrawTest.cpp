#include <gtest/gtest.h>

#include <cmath>

#include "ViewsTestUtil.h"
#include "common/DayCount.h"
#include "geo/Schlyter.h"
#include "views/MapDraw.h"
#include "views/Pictures.h"

using namespace vx;
using vxtest::GridOf;

namespace {

const TRgb kYellow = Rgb(255, 255, 0), kRed = Rgb(255, 0, 0), kBlack = Rgb(0, 0, 0);

TRgbImage Render(const TVoaGrid& g, TMapStyle style) {
  TRgbImage out;
  RenderMap(BuildNormGrid(g), style, ColorImage(), MonoImage(), out);
  return out;
}

// The outline map's ground, which pseudo colours show through.
bool Ground(int x, int y) { return MonoImage().Pixel(x, y) == MonoImage().Pixel(0, 179); }

}  // namespace

TEST(Pictures, AreWorldMapsOfTheRightSize) {
  EXPECT_EQ(ColorImage().Width, 360);
  EXPECT_EQ(ColorImage().Height, 180);
  EXPECT_EQ(MonoImage().Width, 360);
  EXPECT_EQ(SunImage().Width, 9);
  // Two colours in the outline map; the colour map is not a flat fill.
  int ink = 0;
  for (int y = 0; y < 180; ++y)
    for (int x = 0; x < 360; ++x) {
      ink += !Ground(x, y);
      ASSERT_TRUE(Ground(x, y) || MonoImage().Pixel(x, y) == kBlack);
    }
  EXPECT_GT(ink, 2000);
  EXPECT_NE(ColorImage().Pixel(0, 0), ColorImage().Pixel(180, 90));
}

TEST(MapDraw, WithoutAGridTheBackgroundOfTheStyleShows) {
  TMapModel map;
  EXPECT_EQ(map.MapBitmap, ColorImage());
  map.SetStyle(msGray);
  EXPECT_EQ(map.MapBitmap, MonoImage());
  map.SetStyle(msPseudo);
  EXPECT_EQ(map.MapBitmap, MonoImage());
  // An empty or malformed grid clears back to the background.
  map.SetData(GridOf(16, [](int, int) { return 30; }));
  EXPECT_NE(map.MapBitmap, MonoImage());
  map.SetData({});
  EXPECT_EQ(map.MapBitmap, MonoImage());
  EXPECT_TRUE(map.GridCopy.empty());
  map.SetData(MakeGrid(17));
  EXPECT_TRUE(map.NormGrid.Empty());
}

TEST(MapDraw, ColourAndGrayScaleTheBackgroundFromHalfToFull) {
  // 50 dB and more keeps the picture, nothing halves it (halves to even).
  EXPECT_EQ(Render(GridOf(16, [](int, int) { return 60; }), msColor), ColorImage());
  const TRgbImage none = Render(GridOf(16, [](int, int) { return -10; }), msColor);
  for (int y = 0; y < 180; y += 7)
    for (int x = 0; x < 360; x += 11) {
      const TRgb bg = ColorImage().Pixel(x, y), c = none.Pixel(x, y);
      auto half = [](int b) { return b / 2 + ((b % 2) && ((b / 2) % 2) ? 1 : 0); };
      ASSERT_EQ(c, Rgb(half(bg.R), half(bg.G), half(bg.B))) << x << "," << y;
    }
  // 25 dB: level 5, factor 0.75; the white ground of the outline map gives 191.25 -> 191.
  ASSERT_TRUE(Ground(100, 175));
  const TRgbImage gray = Render(GridOf(31, [](int, int) { return 25; }), msGray);
  EXPECT_EQ(gray.Pixel(100, 175), Rgb(191, 191, 191));
  // 255 * 0.5 = 127.5 goes to 128.
  EXPECT_EQ(Render(GridOf(31, [](int, int) { return 0; }), msGray).Pixel(100, 175), Rgb(128, 128, 128));
}

TEST(MapDraw, SmoothingStepsAcrossEachCellInFiveDecibelLevels) {
  // 16 points: cells of 24 x 12 pixels. Column 1 at 50 dB, all else 0: the
  // first cell rises from level 0 to 10, the second falls back.
  const TRgbImage img = Render(GridOf(16, [](int i, int) { return i == 1 ? 50 : 0; }), msPseudo);
  const auto& pal = PseudoPalette();
  const int y = 95;
  struct {
    int x, level;
  } expect[] = {{0, 0}, {1, 0}, {2, 1}, {5, 2}, {12, 5}, {23, 10}, {24, 10}, {36, 5}, {47, 0}, {48, 0}, {200, 0}};
  for (auto e : expect)
    if (Ground(e.x, y)) {
      EXPECT_EQ(img.Pixel(e.x, y), pal[size_t(e.level)]) << e.x;
    }
  // Down the rows: row 15 (north) at 50 dB.
  const TRgbImage rows = Render(GridOf(16, [](int, int j) { return j == 15 ? 50 : 0; }), msPseudo);
  for (auto [yy, level] : {std::pair{0, 10}, {6, 5}, {11, 1}, {12, 0}})
    if (Ground(100, yy)) {
      EXPECT_EQ(rows.Pixel(100, yy), pal[size_t(level)]) << yy;
    }
  // 48 dB is level 10 (9.6), 47 dB level 9 (9.4).
  EXPECT_EQ(Render(GridOf(31, [](int, int) { return 48; }), msPseudo).Pixel(100, 175), pal[10]);
  EXPECT_EQ(Render(GridOf(31, [](int, int) { return 47; }), msPseudo).Pixel(100, 175), pal[9]);
  // The outlines stay on top of the colour field.
  int outline = 0;
  for (int x = 0; x < 360; ++x)
    if (!Ground(x, 40)) {
      EXPECT_EQ(img.Pixel(x, 40), kBlack);
      ++outline;
    }
  EXPECT_GT(outline, 0);
}

TEST(MapDraw, CornerPixelsUseTheLastColumnAndTheNorthRow) {
  for (int n : {16, 31, 61}) {
    TVoaGrid g = GridOf(n, [n](int i, int j) { return i == n - 1 && j == n - 1 ? 50 : 0; });
    g[size_t(n - 1)][size_t(n - 1)].Mode = "NE";
    g[0][0].Mode = "SW";
    const int cw = 360 / (n - 1), ch = 180 / (n - 1);
    const TRgbImage img = Render(g, msPseudo);
    // (359, 0): the north row, (cw - 1) / cw of the way to the last column.
    const int level = int(std::lrint(10.0 * (cw - 1) / cw));
    if (Ground(359, 0)) {
      EXPECT_EQ(img.Pixel(359, 0), PseudoPalette()[size_t(level)]) << n;
    }
    if (Ground(0, 179)) {
      EXPECT_EQ(img.Pixel(0, 179), PseudoPalette()[0]) << n;
    }

    TReadout r = MapReadout(g, 359, 0);
    const double snr = 50.0 * (cw - 1) / cw * (ch - 1) / ch;
    EXPECT_EQ(r.Panels[1], " SNR " + std::to_string(int(std::lrint(snr))) + " dB") << n;
    EXPECT_EQ(r.Panels[3], " NE") << n;
    EXPECT_EQ(MapReadout(g, 0, 179).Panels[3], " SW") << n;
    EXPECT_EQ(MapReadout(g, 0, 179).Panels[1], " SNR < 0 dB") << n;
  }
}

TEST(MapReadout, TextsOfThePointUnderTheMouse) {
  TVoaGrid g = GridOf(31, [](int, int) { return -3; });
  for (auto& col : g)
    for (auto& c : col) c.Elevation = 12.5f, c.Muf = 17.25f, c.Mode = "2F2";
  TReadout r = MapReadout(g, 180, 89);
  EXPECT_EQ(r.Panels[0], " 0\xB0 N   0\xB0 E");
  EXPECT_EQ(r.Panels[1], " SNR < 0 dB");  // negative corners count as 0
  EXPECT_EQ(r.Panels[2], " Elev. 12\xB0");
  EXPECT_EQ(r.Panels[3], " 2F2");
  EXPECT_EQ(r.Panels[4], " MUF 17.2 MHz");
  EXPECT_EQ(MapReadout(g, 0, 0).Panels[0], " 89\xB0 N   180\xB0 W");
  EXPECT_EQ(MapReadout(g, 359, 179).Panels[0], " 90\xB0 S   179\xB0 E");
  // Off the map or without a grid: nothing.
  for (const auto& p : MapReadout(g, 360, 0).Panels) EXPECT_EQ(p, "");
  for (const auto& p : MapReadout({}, 10, 10).Panels) EXPECT_EQ(p, "");
  // A map of SNR alone (the maximum maps).
  TReadout m = MapReadout(GridOf(16, [](int, int) { return 20; }), 50, 50);
  EXPECT_EQ(m.Panels[1], " SNR 20 dB");
  EXPECT_EQ(m.Panels[2], " Elev. 0\xB0");
  EXPECT_EQ(m.Panels[3], " ");
  EXPECT_EQ(m.Panels[4], " MUF 0.0 MHz");
}

TEST(MapOverlay, LinesAcrossTheDateLineLeaveOneEdgeAndEnterTheOther) {
  TRgbImage img(360, 180);
  TRaster canvas(img);
  canvas.Pen = TPen{kRed, 1, TPenStyle::Solid};
  canvas.MoveTo(355, 50);
  LineWrap(canvas, 4, 52);
  auto redIn = [&](int x) {
    for (int y = 49; y <= 53; ++y)
      if (img.Pixel(x, y) == kRed) return true;
    return false;
  };
  EXPECT_TRUE(redIn(355));
  EXPECT_TRUE(redIn(359));
  EXPECT_TRUE(redIn(0));
  EXPECT_TRUE(redIn(3));
  EXPECT_FALSE(redIn(4));                        // the end pixel itself is not drawn
  EXPECT_EQ(vxtest::CountColour(img, kRed), 9);  // nothing across the map
}

TEST(MapOverlay, PathAcrossThePacificIsDrawnInTwoPieces) {
  TRgbImage img(360, 180);
  // 40° N 170° E to 40° N 170° W, short path; the frames hold 1/180 degrees.
  const TLocation home{170 * 180, 40 * 180}, dx{-170 * 180, 40 * 180};
  DrawPathOverlay(img, home, dx, false);
  int left = 0, right = 0, middle = 0;
  for (int y = 0; y < 180; ++y)
    for (int x = 0; x < 360; ++x) {
      if (img.Pixel(x, y) != kRed) continue;
      (x < 20 ? left : x > 339 ? right : middle)++;
    }
  EXPECT_GT(left, 5);
  EXPECT_GT(right, 5);
  EXPECT_EQ(middle, 0);
  // Markers: home red with a black rim, DX aqua.
  EXPECT_EQ(img.Pixel(349, 49), kRed);
  EXPECT_EQ(img.Pixel(347, 49), kBlack);
  EXPECT_EQ(img.Pixel(9, 49), Rgb(0, 255, 255));
  EXPECT_EQ(img.Pixel(10, 50), Rgb(0, 255, 255));
}

TEST(MapOverlay, TerminatorIsAClosedRingWithTheSunInside) {
  // Mid-March 2008 at 12:30 UTC: the sun near 2° S over the prime meridian.
  const double t = SunTime(2008, 3, 12, 0);
  EXPECT_DOUBLE_EQ(t, EncodeDayCount({2008, 3, 15, 12, 30, 0}));
  EXPECT_DOUBLE_EQ(EncodeDayCount({2008, 3, 15}), 39522.0);
  EXPECT_DOUBLE_EQ(SunTime(0, 3, 12, 1234.5), 1234.5);  // no prediction yet: now
  TRgbImage img(360, 180);
  DrawSunOverlay(img, t);
  TSchlyterSun sun;
  sun.Compute(TGeoPoint{}, t);
  const int cx = MapPixelX(sun.SubSolar.Lon), cy = MapPixelY(sun.SubSolar.Lat);
  EXPECT_NEAR(cx, 175, 5);
  EXPECT_NEAR(cy, 92, 2);
  EXPECT_EQ(img.Pixel(cx, cy), kYellow);  // the marker
  // The ring, 96° from the sun, crosses the sun's row 96 pixels either side.
  auto yellowNear = [&](int x) {
    for (int d = -3; d <= 3; ++d)
      if (img.Pixel((x + d + 360) % 360, cy) == kYellow) return true;
    return false;
  };
  EXPECT_TRUE(yellowNear(cx - 96));
  EXPECT_TRUE(yellowNear(cx + 96));
  EXPECT_FALSE(yellowNear(cx - 50));
  // It crosses the date line near the north pole in two pieces: pixels at
  // both edges and no line drawn across the whole map.
  bool atLeft = false, atRight = false;
  for (int y = 0; y < 20; ++y) atLeft |= img.Pixel(0, y) == kYellow, atRight |= img.Pixel(359, y) == kYellow;
  EXPECT_TRUE(atLeft);
  EXPECT_TRUE(atRight);
  EXPECT_LT(vxtest::CountColour(img, kYellow), 900);
  for (int y = 20; y < 160; ++y) {
    int run = 0, longest = 0;
    for (int x = 0; x < 360; ++x) run = img.Pixel(x, y) == kYellow ? run + 1 : 0, longest = std::max(longest, run);
    EXPECT_LT(longest, 40) << y;
  }
}

TEST(MapOverlay, OverlaysStayOutOfTheMapBitmap) {
  TMapModel map;
  map.SetData(GridOf(16, [](int i, int) { return i * 3; }));
  const TRgbImage before = map.MapBitmap;
  TMapOverlays o;
  o.Sun = o.Path = true;
  o.SunTime = EncodeDayCount({2008, 6, 15, 0, 30, 0});
  o.Home = TLocation{-79 * 180, 44 * 180};
  o.Dx = TLocation{139 * 180, 35 * 180};
  const TRgbImage screen = map.Compose(o);
  EXPECT_EQ(map.MapBitmap, before);
  EXPECT_NE(screen, before);
  EXPECT_EQ(map.Compose(TMapOverlays{}), before);
}
