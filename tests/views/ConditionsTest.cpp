#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "views/ChartDraw.h"
#include "views/Conditions.h"

using namespace vx;

namespace {

// Every row a band reads, with shapes that catch the edges: a window across
// 0 h, a band open all day, one never open, two windows with a tied best
// hour, values the engine never wrote, the border of "open", a value too
// wide for the table.
TPointResults Sample() {
  TPointResults r;
  for (int h = 0; h < TPointResults::kHours; ++h) {
    const int hour = h % 24;
    r.Snr[3][h] = hour >= 20 || hour < 6 ? 5.0f + hour % 10 : -3.0f;
    r.Snr[7][h] = 10.0f;
    r.Snr[10][h] = -5.0f;
    r.Snr[14][h] = (hour >= 6 && hour < 9) || (hour >= 12 && hour < 16) ? 20.0f + (hour == 7 || hour == 13) : 0.0f;
    r.Snr[21][h] = hour < 12 ? 0.4f : 0.6f;
    r.Snr[24][h] = hour == 12 ? 100.0f : 30.25f;
  }
  // Rows 18 and 28 keep the engine's reset values.
  return r;
}

}  // namespace

TEST(Conditions, OpenHoursFollowTheChartsColours) {
  EXPECT_FALSE(ChartShowsSignal(ResetValue()));
  EXPECT_FALSE(ChartShowsSignal(0.4f));
  EXPECT_TRUE(ChartShowsSignal(0.6f));
  EXPECT_TRUE(ChartShowsSignal(200.0f));
  EXPECT_FALSE(ChartShowsSignal(std::nanf("")));

  const auto bands = BandConditions(Sample());
  ASSERT_EQ(bands.size(), size_t(kBandCount));
  ASSERT_EQ(bands[0].Windows.size(), 1u);  // 20 h to 6 h is one stretch, not two
  EXPECT_EQ(bands[0].Windows[0].Opens, 20);
  EXPECT_EQ(bands[0].Windows[0].Closes, 6);
  EXPECT_EQ(bands[0].BestHour, 5);  // 10 dB at 5 h beats 23 h's 8 dB
  EXPECT_TRUE(bands[1].AllDay);
  EXPECT_EQ(bands[1].BestHour, 0);  // a tie goes to the earliest hour
  EXPECT_TRUE(bands[2].Windows.empty());
  EXPECT_EQ(bands[2].BestHour, -1);
  EXPECT_EQ(bands[3].Windows.size(), 2u);
  EXPECT_EQ(bands[3].BestHour, 7);  // 7 h and 13 h tie: the chart marks the first
  EXPECT_EQ(bands[5].Windows[0].Opens, 12);
  EXPECT_EQ(bands[5].Windows[0].Closes, 0);
}

TEST(Conditions, PlainTable) {
  EXPECT_EQ(ConditionsTable(Sample(), false),
            "MHz  00 01 02 03 04 05 06 07 08 09 10 11 12 13 14 15 16 17 18 19 20 21 22 23  best  open UTC\n"
            "3.5   5  6  7  8  9 10  -  -  -  -  -  -  -  -  -  -  -  -  -  -  5  6  7  8    05  20-06\n"
            "7    10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10    00  all day\n"
            "10    -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -     -  closed\n"
            "14    0  0  0  0  0  0 20 21 20  0  0  0 20 21 20 20  0  0  0  0  0  0  0  0    07  06-09 12-16\n"
            "18    -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -     -  closed\n"
            "21    0  0  0  0  0  0  0  0  0  0  0  0  1  1  1  1  1  1  1  1  1  1  1  1    12  12-00\n"
            "24   30 30 30 30 30 30 30 30 30 30 30 30 99 30 30 30 30 30 30 30 30 30 30 30    12  all day\n"
            "28    -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -  -     -  closed\n");
}

TEST(Conditions, ColouredTableDiffersOnlyByEscapes) {
  const std::string coloured = ConditionsTable(Sample(), true);
  // The 7 MHz cells: 10 dB in the chart's colour for 10 dB.
  const TRgb c = ColorRamp()[10];
  const std::string cell =
      "\x1b[30;48;2;" + std::to_string(c.R) + ";" + std::to_string(c.G) + ";" + std::to_string(c.B) + "m 10\x1b[0m";
  EXPECT_NE(coloured.find("7   " + cell + cell), std::string::npos);
  // Closed cells stay plain.
  EXPECT_NE(coloured.find("10    -  -"), std::string::npos);
  std::string stripped;
  for (size_t i = 0; i < coloured.size(); ++i) {
    if (coloured[i] == '\x1b') {
      i = coloured.find('m', i);
      continue;
    }
    stripped += coloured[i];
  }
  EXPECT_EQ(stripped, ConditionsTable(Sample(), false));
}

TEST(Conditions, Csv) {
  const std::string csv = ConditionsCsv(Sample());
  std::string header = "band_mhz";
  for (int h = 0; h < 24; ++h) header += ",snr_" + std::string(h < 10 ? "0" : "") + std::to_string(h) + "utc";
  header += ",best_utc,opens_utc,closes_utc\n";
  ASSERT_EQ(csv.substr(0, header.size()), header);
  EXPECT_NE(csv.find("\n3.5,5.0,6.0,7.0,8.0,9.0,10.0,-3.0,"), std::string::npos) << csv;
  EXPECT_NE(csv.find(",5.0,6.0,7.0,8.0,5,20,6\n"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\n7,10.0,"), std::string::npos);
  EXPECT_NE(csv.find(",10.0,0,0,24\n"), std::string::npos);  // all day
  EXPECT_NE(csv.find(",20.0,21.0,20.0,20.0,0.0,0.0,0.0,0.0,0.0,0.0,0.0,0.0,7,6 12,9 16\n"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\n18,,,,,,,,,,,,,,,,,,,,,,,,,,,\n"), std::string::npos) << csv;  // no values: empty fields
  EXPECT_NE(csv.find("\n24,30.2,"), std::string::npos) << csv;                         // one decimal, halves to even
  EXPECT_NE(csv.find(",100.0,"), std::string::npos);  // the CSV keeps what the table caps
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + kBandCount);
}

TEST(Conditions, TheHourNowNamesTheOpenBandsStrongestFirst) {
  EXPECT_EQ(ConditionsAt(Sample(), 12), "12 UTC: 24 MHz 100 dB, 14 MHz 20 dB, 7 MHz 10 dB, 21 MHz 1 dB");
  EXPECT_EQ(ConditionsAt(Sample(), 10), "10 UTC: 24 MHz 30 dB, 7 MHz 10 dB");
  EXPECT_EQ(ConditionsAt(TPointResults(), 5), "");  // nothing computed yet
  TPointResults closed;
  closed.Snr[14][5] = -10.0f;
  EXPECT_EQ(ConditionsAt(closed, 5), "05 UTC: no band open");
  EXPECT_EQ(ConditionsAt(Sample(), 30), ConditionsAt(Sample(), 23));
}
