#include <gtest/gtest.h>

#include "EngineTestUtil.h"
#include "engine/VoaParse.h"

using namespace vx;
using vxtest::Fixture;

TEST(PointParse, ReadsRealShortPathOutput) {
  TPointResults r;
  ASSERT_EQ(ParsePointText(Fixture("p2p/p2p01.out"), r), vsReady);
  // Hour 1, first sweep: MUF 10.6; 2 MHz: 2F2, 7.8 degrees, -7 dB.
  EXPECT_FLOAT_EQ(r.Muf[1], 10.6f);
  EXPECT_EQ(r.Mode[2][1], "2F2");
  EXPECT_FLOAT_EQ(r.Elevation[2][1], 7.8f);
  EXPECT_FLOAT_EQ(r.Snr[2][1], -7);
  EXPECT_FLOAT_EQ(r.Snr[4][1], 14);
  // Hour 6, 2 MHz: "4 E", 3 MHz: "3F2".
  EXPECT_EQ(r.Mode[2][6], "4 E");
  EXPECT_FLOAT_EQ(r.Elevation[2][6], 4.2f);
  EXPECT_EQ(r.Mode[3][6], "3F2");
  // Every row 2..30 and hour 0..24 is filled; hour 0 repeats hour 24.
  for (int f = 2; f <= 30; ++f) {
    for (int h = 0; h <= 24; ++h) EXPECT_FALSE(IsResetValue(r.Snr[f][h])) << f << " " << h;
    EXPECT_EQ(r.Snr[f][0], r.Snr[f][24]);
    EXPECT_EQ(r.Mode[f][0], r.Mode[f][24]);
  }
  EXPECT_EQ(r.Muf[0], r.Muf[24]);
  EXPECT_TRUE(IsResetValue(r.Snr[1][5]));  // rows below 2 MHz are never filled
}

TEST(PointParse, ReadsTouchingValuesOfTheLongModel) {
  TPointResults r;
  ASSERT_EQ(ParsePointText(Fixture("p2p/p2p02.out"), r), vsReady);
  // "   -5-2189-1571-1076 -566": the MUF column, then 2..5 MHz.
  EXPECT_FLOAT_EQ(r.Snr[2][1], -2189);
  EXPECT_FLOAT_EQ(r.Snr[3][1], -1571);
  EXPECT_FLOAT_EQ(r.Snr[4][1], -1076);
  EXPECT_FLOAT_EQ(r.Snr[5][1], -566);
  EXPECT_EQ(r.Mode[2][1], "E E");
  EXPECT_EQ(r.Mode[6][1], "F2 E");
  EXPECT_FLOAT_EQ(r.Elevation[6][1], 12.0f);  // TANGLE, not the RANGLE line
  // Hour 24, third sweep: 26 MHz (slot 6) -2 dB, MUF 26.0 also in hour 0.
  EXPECT_FLOAT_EQ(r.Snr[26][24], -2);
  EXPECT_FLOAT_EQ(r.Snr[26][0], -2);
  EXPECT_FLOAT_EQ(r.Muf[24], 26.0f);
  EXPECT_FLOAT_EQ(r.Muf[0], 26.0f);
}

TEST(PointParse, ReadsEveryRealOutput) {
  for (auto f : {"p2p/p2p01.out", "p2p/p2p02.out", "p2p/p2p03.out", "p2p/p2p07.out"}) {
    TPointResults r;
    EXPECT_EQ(ParsePointText(Fixture(f), r), vsReady) << f;
    for (int mhz = 2; mhz <= 30; ++mhz) EXPECT_FALSE(r.Mode[mhz][12].empty()) << f << " " << mhz;
  }
}

namespace {

// One FREQ block in the real column layout: the FREQ line, its three tag
// lines (same value in every slot) and the blank line that ends a block.
std::string Block(const char* hour, const char* freqs, const char* snr = "   10") {
  std::string f = std::string(hour) + " 10.0" + freqs;
  while (f.size() < 66) f += "  0.0";
  auto tag = [](const char* v, const char* t) {
    std::string l = "      ";
    for (int k = 0; k < 12; ++k) l += v;
    return l + " " + t + "\n";
  };
  return f + " FREQ\n" + tag("  2F2", "MODE  ") + tag("  5.5", "TANGLE") + tag(snr, "SNR   ") + "\n";
}

const std::string kEnd = " *****END OF RUN*****     VOACAP 16.1207W\n";

}  // namespace

TEST(PointParse, RoundsFrequenciesAndHoursHalfToEven) {
  TPointResults r;
  ASSERT_EQ(ParsePointText(Block("   3.5", "  3.5") + kEnd, r), vsReady);
  EXPECT_EQ(r.Mode[4][4], "2F2");  // hour 3.5 -> 4, 3.5 MHz -> row 4
  ASSERT_EQ(ParsePointText(Block("   2.5", " 24.5") + kEnd, r), vsReady);
  EXPECT_FLOAT_EQ(r.Elevation[24][2], 5.5f);
}

TEST(PointParse, SuccessWithoutFreqLinesKeepsResetValues) {
  TPointResults r;
  EXPECT_EQ(ParsePointText("header only\n *****END OF RUN*****\n", r), vsReady);
  EXPECT_TRUE(IsResetValue(r.Snr[14][12]));
  EXPECT_TRUE(IsResetValue(r.Muf[0]));
}

TEST(PointParse, BadBlocksAreOutputErrors) {
  TPointResults r;
  std::string b = Block("   1.0", "  7.0");
  // A FREQ line with fewer than four lines after it.
  EXPECT_EQ(ParsePointText(b.substr(0, b.find("SNR")), r), vsOutputError);
  // A dash where a number belongs (the slot names a frequency).
  EXPECT_EQ(ParsePointText(Block("   1.0", "  7.0", "   - "), r), vsOutputError);
  // A line too short for the MUF field.
  std::string shortMuf = "   1.0";
  shortMuf.resize(66, ' ');
  EXPECT_EQ(ParsePointText(shortMuf + " FREQ\n", r), vsOutputError);
  // Values stored before the failure stay.
  TPointResults r2;
  EXPECT_EQ(ParsePointText(Block("   1.0", "  7.0") + Block("   2.0", "  7.0", "  ab "), r2), vsOutputError);
  EXPECT_FLOAT_EQ(r2.Snr[7][1], 10);
}

TEST(PointParse, CellsOutsideTheArraysAreSkipped) {
  TPointResults r;
  EXPECT_EQ(ParsePointText(
                Block("  99.0", " 31.0  1.0") + Block("  -3.0", "  7.0") + Block("   5.0", "999.0  7.0") + kEnd, r),
            vsReady);
  EXPECT_FLOAT_EQ(r.Snr[7][5], 10);
}

TEST(AreaParse, ReadsRealGrids) {
  TVoaGrid g;
  ASSERT_EQ(ParseAreaText(Fixture("area/x16.vg1"), g), vsReady);
  ASSERT_EQ(g.size(), 16u);
  // "  1  1  -90.0000    0.0000 14.24  F2F2 10.00 ... -163.2   8.6"
  EXPECT_FLOAT_EQ(g[0][0].Snr, 8.6f);
  EXPECT_FLOAT_EQ(g[0][0].Muf, 14.24f);
  EXPECT_FLOAT_EQ(g[0][0].Elevation, 10.0f);
  EXPECT_EQ(g[0][0].Mode, "F2F2");
  // " 16 16   90.0000    0.0000 11.67   2F2 11.33 ... -26.0"
  EXPECT_FLOAT_EQ(g[15][15].Snr, -26.0f);
  EXPECT_FLOAT_EQ(g[15][15].Muf, 11.67f);
  EXPECT_EQ(g[15][15].Mode, "2F2");

  ASSERT_EQ(ParseAreaText(Fixture("area/x31.vg1"), g), vsReady);
  EXPECT_EQ(g.size(), 31u);
  ASSERT_EQ(ParseAreaText(Fixture("area/d16.vg1"), g), vsReady);
  EXPECT_EQ(g[15].size(), 16u);
}

TEST(AreaParse, SizeAndIndexChecks) {
  std::string head = "VOACAPL Version 16.1207W\nlabel\n 16 16  Latitude\n";
  TVoaGrid g;

  std::string bad = head;
  bad.replace(bad.find(" 16 16"), 3, " 20");
  g.clear();
  EXPECT_EQ(ParseAreaText(bad, g), vsOutputError);
  EXPECT_TRUE(g.empty());

  std::string x16 = Fixture("area/x16.vg1");
  std::string line = x16.substr(x16.find("\n  1  1") + 1, 171);
  for (const char* idx : {"  0  1", " 17  1", "  1 17"}) {
    std::string l = line;
    l.replace(0, 6, idx);
    EXPECT_EQ(ParseAreaText(head + l, g), vsOutputError) << idx;
  }
  EXPECT_EQ(ParseAreaText(head + line.substr(0, 80) + "\n", g), vsOutputError);
  EXPECT_EQ(ParseAreaText("two\nlines\n", g), vsOutputError);
}

TEST(OutputCompleteness, ARunCutShortIsAnOutputError) {
  TPointResults r;
  const std::string p2p = Fixture("p2p/p2p01.out");
  const std::string cut = p2p.substr(0, p2p.find("END OF RUN") - 10);
  EXPECT_EQ(ParsePointText(cut, r), vsOutputError);
  EXPECT_EQ(ParsePointText(p2p.substr(0, p2p.size() / 2), r), vsOutputError);
  EXPECT_EQ(ParsePointText("", r), vsOutputError);
  // The end line without a final line end is still the end.
  EXPECT_EQ(ParsePointText(p2p.substr(0, p2p.size() - 1), r), vsReady);

  TVoaGrid g;
  const std::string x16 = Fixture("area/x16.vg1");
  EXPECT_EQ(ParseAreaText(x16.substr(0, x16.size() / 2), g), vsOutputError);
  EXPECT_EQ(ParseAreaText(x16.substr(0, x16.rfind('\n', x16.size() - 2) + 1), g), vsOutputError);  // last cell gone
  EXPECT_EQ(ParseAreaText(x16.substr(0, x16.size() - 1), g), vsReady);                             // no final line end
  EXPECT_EQ(ParseAreaText("VOACAPL Version 16.1207W\nlabel\n 16 16  Latitude\n", g), vsOutputError);
  // A point twice, in place of another, is not a complete grid either.
  std::string twice = x16;
  const size_t a = twice.find("\n  1  1") + 1, b = twice.find("\n  2  1") + 1;
  twice.replace(b, 6, twice.substr(a, 6));
  EXPECT_EQ(ParseAreaText(twice, g), vsOutputError);
}
