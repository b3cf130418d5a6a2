// A maximum map in the map frame: it says what it is, shows no hour, band or
// sun it does not stand for, and reads only the SNR it has.
#include <gtest/gtest.h>

#include <QAbstractButton>

#include "views/MapFrm.h"

using namespace vx;

namespace {

TVoaGrid SnrOnly(int n) {
  TVoaGrid g = MakeGrid(n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) g[size_t(i)][size_t(j)].Snr = float(10 + (i + j) % 30);
  return g;
}

int BandsDown(const TMapFrame& f) {
  int down = 0;
  for (int b = 0; b < kBandCount; ++b) down += f.BandButton(b)->isChecked();
  return down;
}

}  // namespace

TEST(MapMaximum, SaysWhatItIsAndLeavesOutWhatItLacks) {
  TMapFrame frame;
  frame.ShowSun = true;
  frame.EngineYear = [] { return 2026; };
  frame.EngineMonth = [] { return 6; };
  frame.ShowHour(19);
  frame.SetData(SnrOnly(16));
  EXPECT_EQ(frame.HourCaption(), "19:00 UTC");
  const TRgbImage withSun = frame.Surface();
  EXPECT_FALSE(withSun.Bytes == frame.Model.MapBitmap.Bytes);
  TReadout one = frame.Model.Readout(180, 90);
  EXPECT_EQ(one.Panels[2].substr(0, 6), " Elev.");

  // Over the hours: no hour, no sun, no elevation, mode or MUF.
  frame.SetData(SnrOnly(16));
  frame.ShowMaximum(mmHours);
  EXPECT_EQ(frame.HourCaption(), "Max. all hours");
  EXPECT_TRUE(frame.Surface().Bytes == frame.Model.MapBitmap.Bytes);
  EXPECT_EQ(BandsDown(frame), 1);
  TReadout max = frame.Model.Readout(180, 90);
  EXPECT_EQ(max.Panels[0], one.Panels[0]);
  EXPECT_EQ(max.Panels[1].substr(0, 10), " Max. SNR ");
  for (int p = 2; p < 5; ++p) EXPECT_EQ(max.Panels[size_t(p)], "") << p;
  EXPECT_FALSE(frame.Box()->toolTip().isEmpty());

  // Over the bands: the hour stands, no band button is down.
  frame.SetData(SnrOnly(16));
  frame.ShowMaximum(mmBands);
  EXPECT_EQ(frame.HourCaption(), "19:00 UTC");
  EXPECT_EQ(BandsDown(frame), 0);
  EXPECT_FALSE(frame.Surface().Bytes == frame.Model.MapBitmap.Bytes);  // the hour's sun

  // The next map of one band and hour is an ordinary map again.
  frame.SetData(SnrOnly(16));
  EXPECT_EQ(frame.Model.Maximum, mmNone);
  EXPECT_EQ(BandsDown(frame), 1);
  EXPECT_TRUE(frame.BandButton(frame.Model.MapBand)->isChecked());
  EXPECT_EQ(frame.Model.Readout(180, 90).Panels[2], one.Panels[2]);
  EXPECT_TRUE(frame.Box()->toolTip().isEmpty());
}
