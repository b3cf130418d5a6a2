#include <gtest/gtest.h>

#include "ViewsTestUtil.h"
#include "views/ChartDraw.h"

using namespace vx;

namespace {

const TRgb kGreen = Rgb(0, 255, 0), kYellow = Rgb(255, 255, 0), kRed = Rgb(255, 0, 0);

// A prediction with SNR 20 everywhere, MUF 15, and the given tweaks.
TPointResults Flat() {
  TPointResults r;
  for (int f = 2; f <= 30; ++f)
    for (int h = 0; h < 25; ++h) {
      r.Snr[f][h] = 20;
      r.Elevation[f][h] = 10;
      r.Mode[f][h] = "2F2";
    }
  for (int h = 0; h < 25; ++h) r.Muf[h] = 15;
  return r;
}

TRgbImage Paint(const TPointResults& r, bool best = false, bool muf = false) {
  TRgbImage img;
  PaintChart(r, TChartOptions{best, muf}, img);
  return img;
}

}  // namespace

TEST(ChartDraw, RampRunsFromLowToPeakRoundingHalvesToEven) {
  const auto& ramp = ColorRamp();
  EXPECT_EQ(ramp[0], LowColor);
  EXPECT_EQ(ramp[63], PeakColor);
  // 215 / 63 = 3.41, 128 + 127 / 63 = 130.02, 128 + 126 / 63 = 130
  EXPECT_EQ(ramp[1], Rgb(3, 130, 130));
  // 215 * 21 / 63 = 71.67; 127 * 21 / 63 = 42.33; 126 * 21 / 63 = 42 exactly
  EXPECT_EQ(ramp[21], Rgb(72, 170, 170));
  // 128 + 127 * 27 / 63 = 182.43
  EXPECT_EQ(ramp[27].G, 182);
}

TEST(ChartDraw, CellsCoverFourteenBySevenPixelsAroundTheGridPoint) {
  TPointResults r = Flat();
  r.Snr[10][5] = 40;    // cell x 63..76, y 137..143
  r.Snr[10][0] = -5;    // below 0 dB: LowColor
  r.Snr[10][24] = 80;   // 63 dB and more: PeakColor
  r.Snr[12][3] = 2.5f;  // rounds to 2
  r.Snr[12][4] = 3.5f;  // rounds to 4
  const TRgbImage img = Paint(r);
  ASSERT_EQ(img.Width, 336);
  ASSERT_EQ(img.Height, 205);
  const auto& ramp = ColorRamp();
  EXPECT_EQ(CellX(5), 70);
  EXPECT_EQ(CellY(10), 140);
  // y = 140 is the 10 MHz band line; the cell's other rows show its colour.
  EXPECT_EQ(img.Pixel(63, 137), ramp[40]);
  EXPECT_EQ(img.Pixel(76, 143), ramp[40]);
  EXPECT_EQ(img.Pixel(62, 141), ramp[20]);
  EXPECT_EQ(img.Pixel(77, 141), ramp[20]);
  EXPECT_EQ(img.Pixel(70, 136), ramp[20]);
  EXPECT_EQ(img.Pixel(70, 144), ramp[20]);
  // Hours 0 and 24 show half a cell at the edges.
  EXPECT_EQ(img.Pixel(0, 141), LowColor);
  EXPECT_EQ(img.Pixel(6, 141), LowColor);
  EXPECT_EQ(img.Pixel(7, 141), ramp[20]);
  EXPECT_EQ(img.Pixel(329, 141), PeakColor);
  EXPECT_EQ(img.Pixel(335, 141), PeakColor);
  EXPECT_EQ(img.Pixel(42, CellY(12)), ramp[2]);
  EXPECT_EQ(img.Pixel(56, CellY(12)), ramp[4]);
  // Rows above 30 MHz and below 2 MHz keep the background: 2 MHz ends at y = 199.
  EXPECT_EQ(img.Pixel(100, 199), ramp[20]);
  EXPECT_EQ(img.Pixel(100, 200), LowColor);
}

TEST(ChartDraw, BandLinesAreDottedAcrossTheWholeWidth) {
  const TRgbImage img = Paint(Flat());
  const auto& ramp = ColorRamp();
  EXPECT_EQ(CellY(3.5), 186);  // 185.5 to even: between the 3 and 4 MHz rows
  for (float band : BandFrequency) {
    const int y = CellY(band);
    EXPECT_EQ(img.Pixel(0, y), kGreen) << band;
    EXPECT_EQ(img.Pixel(2, y), kGreen) << band;
    EXPECT_EQ(img.Pixel(3, y), ramp[20]) << band;
    EXPECT_EQ(img.Pixel(6, y), kGreen) << band;
    EXPECT_EQ(img.Pixel(332, y), kGreen) << band;  // 332 = 6 * 55 + 2
    EXPECT_EQ(img.Pixel(100, y - 1), ramp[20]) << band;
  }
}

TEST(ChartDraw, EmptyChartHasNoFramesOrCurveEvenWhenAskedFor) {
  TPointResults cleared;  // the engine's reset values
  const TRgbImage img = Paint(cleared, true, true);
  EXPECT_EQ(vxtest::CountColour(img, kYellow), 0);
  EXPECT_EQ(vxtest::CountColour(img, kRed), 0);
  EXPECT_EQ(vxtest::CountColour(img, LowColor) + vxtest::CountColour(img, kGreen), 336 * 205);
}

TEST(ChartDraw, BestHourFramesSitOnTheBandLine) {
  TPointResults r = Flat();
  r.Snr[14][7] = 30;                    // 14 MHz: best at 7
  r.Snr[3][9] = 25, r.Snr[3][11] = 25;  // 3.5 MHz reads row 3: tie, earlier wins
  const TRgbImage img = Paint(r, true, false);
  // 14 MHz: hour 7, x 91..104, y 109..115
  EXPECT_EQ(img.Pixel(91, 109), kYellow);
  EXPECT_EQ(img.Pixel(104, 115), kYellow);
  EXPECT_EQ(img.Pixel(91, 115), kYellow);
  EXPECT_NE(img.Pixel(105, 109), kYellow);
  EXPECT_NE(img.Pixel(97, 111), kYellow);  // outline only
  // 3.5 MHz: hour 9, centred on y = 186, not on the 3 MHz row (189)
  EXPECT_EQ(img.Pixel(CellX(9) - 7, 183), kYellow);
  EXPECT_EQ(img.Pixel(CellX(9) + 6, 189), kYellow);
  EXPECT_NE(img.Pixel(CellX(11) - 7, 183), kYellow);
  // Flat bands get their frame at hour 0: only its right half shows.
  EXPECT_EQ(img.Pixel(6, CellY(28) - 3), kYellow);
  EXPECT_EQ(img.Pixel(0, CellY(28) - 3), kYellow);
  EXPECT_EQ(img.Pixel(0, CellY(28)), kGreen);  // the left side is off the chart
}

TEST(ChartDraw, MufCurveRunsFromTheLeftEdgeToHour24) {
  TPointResults r = Flat();
  for (int h = 0; h < 25; ++h) r.Muf[h] = 10;
  TRgbImage img = Paint(r, false, true);
  // Two pixels thick on the line y = 140.
  for (int x : {0, 1, 168, 335}) {
    EXPECT_EQ(img.Pixel(x, 139), kRed) << x;
    EXPECT_EQ(img.Pixel(x, 140), kRed) << x;
    EXPECT_NE(img.Pixel(x, 141), kRed) << x;
    EXPECT_NE(img.Pixel(x, 138), kRed) << x;
  }
  // Rising to 20 MHz at hour 24: the right end is near y = 70.
  r.Muf[24] = 20;
  img = Paint(r, false, true);
  EXPECT_EQ(img.Pixel(335, 73), kRed);
  EXPECT_NE(img.Pixel(335, 140), kRed);
  // Above 30 MHz the curve runs off the top; a broken value draws nothing wild.
  for (int h = 0; h < 25; ++h) r.Muf[h] = 40;
  EXPECT_EQ(vxtest::CountColour(Paint(r, false, true), kRed), 0);
  r.Muf[5] = 1e30f;
  EXPECT_EQ(vxtest::CountColour(Paint(r, false, true), kRed), 0);
}

TEST(ChartDraw, TimeLineIsOneWhiteColumn) {
  TRgbImage img = Paint(Flat());
  DrawTimeLine(img, 0.5);
  for (int y = 0; y < 205; ++y) ASSERT_EQ(img.Pixel(168, y), Rgb(255, 255, 255)) << y;
  EXPECT_EQ(vxtest::CountColour(img, Rgb(255, 255, 255)), 205);
}

TEST(ChartReadout, HalfHoursAreCutWhileValuesComeFromTheNearestHour) {
  TPointResults r = Flat();
  r.Snr[10][0] = 12.5f, r.Elevation[10][0] = 3.5f, r.Mode[10][0] = "1F2", r.Muf[0] = 12.34f;
  r.Snr[10][2] = 7.6f, r.Elevation[10][2] = 4.5f, r.Mode[10][2] = "1E", r.Muf[2] = 9.96f;
  TReadout a = ChartReadout(r, 7, 140);
  EXPECT_EQ(a.Panels[0], " 00:30 UT  10 MHz");
  EXPECT_EQ(a.Panels[1], " SNR 12 dB");
  EXPECT_EQ(a.Panels[2], " Elev. 4\xB0");
  EXPECT_EQ(a.Panels[3], " 1F2");
  EXPECT_EQ(a.Panels[4], " MUF 12.3 MHz");
  EXPECT_EQ(a.Hint, "");
  TReadout b = ChartReadout(r, 21, 140);
  EXPECT_EQ(b.Panels[0], " 01:30 UT  10 MHz");
  EXPECT_EQ(b.Panels[1], " SNR 8 dB");
  EXPECT_EQ(b.Panels[2], " Elev. 4\xB0");
  EXPECT_EQ(b.Panels[3], " 1E");
  EXPECT_EQ(b.Panels[4], " MUF 10.0 MHz");
  // The last column and the frequency clamps.
  EXPECT_EQ(ChartReadout(r, 335, 0).Panels[0], " 23:30 UT  30 MHz");
  EXPECT_EQ(ChartReadout(r, 0, 204).Panels[0], " 00:00 UT  2 MHz");
}

TEST(ChartReadout, OffTheChartClearsThePanelsAndHintsTheAxes) {
  const TPointResults r = Flat();
  for (auto [x, y] : {std::pair{-1, -1}, {-5, 100}, {336, 10}, {10, 205}}) {
    TReadout o = ChartReadout(r, x, y);
    for (const auto& p : o.Panels) EXPECT_EQ(p, "");
  }
  EXPECT_EQ(ChartReadout(r, -3, 100).Hint, "MHz");
  EXPECT_EQ(ChartReadout(r, 100, 210).Hint, "UTC");
  EXPECT_EQ(ChartReadout(r, 100, 100).Hint, "");
}

TEST(ChartReadout, ClearedEngineReadsZerosAndNoMode) {
  TPointResults cleared;
  TReadout o = ChartReadout(cleared, 100, 100);
  EXPECT_EQ(o.Panels[1], " SNR 0 dB");
  EXPECT_EQ(o.Panels[2], " Elev. 0\xB0");
  EXPECT_EQ(o.Panels[3], " ");
  EXPECT_EQ(o.Panels[4], " MUF 0.0 MHz");
}
