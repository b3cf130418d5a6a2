#include <gtest/gtest.h>

#include <functional>

#include "common/FileUtil.h"
#include "common/TextUtil.h"
#include "engine/AntPattern.h"
#include "engine/AntView.h"
#include "engine/Antennas.h"

using namespace vx;

namespace {

// A table file: parameters lines of parameters ("[ 2]" line with the type in
// columns 3-4), then rows made of gain(row, elevation) in f7.3 fields.
std::string TableFile(int type, int rows, const std::function<double(int, int)>& gain, int parameters = 3,
                      const char* eol = "\r\n") {
  std::string t = "Test antenna" + std::string(eol);
  t += FormatInt(parameters, 2) + "     " + FormatInt(parameters) + " parameters" + eol;
  t += "  0.00  [ 1] Max Gain dBi..:" + std::string(eol);
  t += FormatInt(type, 4) + "    [ 2] Antenna Type..:" + eol;
  for (int p = 3; p <= parameters; ++p) t += "  1.00  [" + FormatInt(p, 2) + "] Something" + eol;
  for (int r = 0; r < rows; ++r)
    for (int line = 0; line < 10; ++line) {
      t += line == 0 ? FormatInt(r, 5) + "    " : std::string(9, ' ');
      for (int e = line * 10; e < std::min(line * 10 + 10, 91); ++e) t += FormatFixed(gain(r, e), 7, 3);
      t += eol;
    }
  return t;
}

std::string TempFile(const std::string& name, const std::string& bytes) {
  const std::string folder = testing::TempDir() + "antpattern/";
  MakeDirectories(folder);
  const std::string path = folder + name;
  EXPECT_TRUE(WriteWholeFile(path, bytes));
  return path;
}

TAntennaView ViewOf(const std::string& bytes, int32_t mhz = 14) {
  auto pattern = ParseAntennaPattern(bytes);
  EXPECT_TRUE(pattern);
  TAntennaView view;
  view.CutFrequency = mhz;
  if (pattern) view.Load(*pattern);
  return view;
}

}  // namespace

TEST(AntPattern, ReadsTheFilesThePropagationProgramAccepted) {
  auto t13 = ReadWholeFile(VX_FIXTURES "/voacap/antennas/dipole10m.t13");
  auto t14 = ReadWholeFile(VX_FIXTURES "/voacap/antennas/dipole10m.t14");
  ASSERT_TRUE(t13 && t14);
  auto p13 = ParseAntennaPattern(*t13);
  ASSERT_TRUE(p13);
  EXPECT_EQ(p13->AntennaType, 13);
  ASSERT_EQ(p13->Pattern.size(), 360u);
  EXPECT_FLOAT_EQ(p13->Pattern[0][0], -30.0f);
  EXPECT_FLOAT_EQ(p13->Pattern[0][9], 1.157f);
  EXPECT_FLOAT_EQ(p13->Pattern[0][10], 1.991f);
  EXPECT_FLOAT_EQ(p13->Pattern[0][90], -6.468f);
  TAntennaView view;
  view.Load(*p13);
  EXPECT_FLOAT_EQ(view.MaxGain, 8.170f);
  const TPatternReadouts r = view.Readouts();
  EXPECT_EQ(r.Azimuth, "0\xB0");
  EXPECT_EQ(r.Elevation, "32\xB0");
  EXPECT_EQ(r.Gain, "8.2");
  EXPECT_EQ(r.BarWidth, 10);
  EXPECT_EQ(view.Caption(), "Half-wave dipole 10m 14.1MHz 3-D table :type 13 test file    [type 13]");

  auto p14 = ParseAntennaPattern(*t14);
  ASSERT_TRUE(p14);
  EXPECT_EQ(p14->AntennaType, 14);
  ASSERT_EQ(p14->Pattern.size(), 31u);
  EXPECT_EQ(p14->Pattern[0], std::vector<float>(91, 0.0f));  // row 0 is not in the file
  EXPECT_FLOAT_EQ(p14->Pattern[1][4], -28.531f);
  EXPECT_FLOAT_EQ(p14->Pattern[1][90], -5.466f);
  EXPECT_FLOAT_EQ(p14->Pattern[2][2], -28.526f);
}

TEST(AntPattern, TypeLineAndParameterCount) {
  EXPECT_EQ(ParseAntennaPattern(IsotropeText())->AntennaType, 0);
  EXPECT_TRUE(ParseAntennaPattern(IsotropeText())->Pattern.empty());

  const std::string good = TableFile(
      13, 360, [](int, int) { return 1.0; }, 4);
  ASSERT_TRUE(ParseAntennaPattern(good));
  // "[ 2]" must start in column 9 of line 4.
  std::string shifted = good;
  shifted.replace(shifted.find("  13    [ 2]"), 12, "  13   [ 2] ");
  EXPECT_FALSE(ParseAntennaPattern(shifted));
  EXPECT_FALSE(ParseAntennaPattern("only\r\nthree\r\nlines\r\n"));
  // Types other than 0, 13 and 14, and a type that is not a number.
  for (const char* type : {"  11", "  15", "  -1", "  x "}) {
    std::string t = good;
    t.replace(t.find("  13    [ 2]"), 4, type);
    EXPECT_FALSE(ParseAntennaPattern(t)) << type;
  }
  // The parameter count places the table: one line more shifts it.
  std::string moreParameters = good;
  moreParameters.replace(moreParameters.find(" 4     4"), 2, " 5");
  EXPECT_FALSE(ParseAntennaPattern(moreParameters));  // the last row is one line short
  std::string noCount = good;
  noCount.replace(noCount.find(" 4     4"), 2, " ?");
  EXPECT_FALSE(ParseAntennaPattern(noCount));
  std::string oneParameter = good;
  oneParameter.replace(oneParameter.find(" 4     4"), 2, " 1");
  EXPECT_FALSE(ParseAntennaPattern(oneParameter));
}

TEST(AntPattern, FieldsAreReadAsThePropagationProgramReadsThem) {
  auto file = TableFile(14, 30, [](int r, int e) { return r + e / 100.0; });
  auto p = ParseAntennaPattern(file);
  ASSERT_TRUE(p);
  EXPECT_FLOAT_EQ(p->Pattern[30][90], 29.9f);
  // Line ends: LF alone and CR alone end lines too.
  EXPECT_TRUE(ParseAntennaPattern(TableFile(
      14, 30, [](int, int) { return 0.5; }, 3, "\n")));
  EXPECT_TRUE(ParseAntennaPattern(TableFile(
      14, 30, [](int, int) { return 0.5; }, 3, "\r")));

  const size_t first = file.find("\r\n    0    ") + 11;  // row 1's first field, elevation 0
  auto withField = [&](const char* field) {
    std::string t = file;
    t.replace(first, 7, field);
    return ParseAntennaPattern(t);
  };
  EXPECT_FLOAT_EQ(withField("  -1.25")->Pattern[1][0], -1.25f);
  EXPECT_FLOAT_EQ(withField("  -1250")->Pattern[1][0], -1.25f);  // f7.3: three implied decimals
  EXPECT_FLOAT_EQ(withField(" 1.5e-1")->Pattern[1][0], 0.15f);
  for (const char* bad : {"       ", "  1,250", "   abc ", "  1.2.3", "    inf", "    nan", "  - 1.0", "1e99999"})
    EXPECT_FALSE(withField(bad)) << bad;
  // A row cut short is refused, not padded.
  std::string shortLine = file;
  const size_t lineEnd = shortLine.find("\r\n", first);
  shortLine.erase(lineEnd - 7, 7);
  EXPECT_FALSE(ParseAntennaPattern(shortLine));
  // Line 10 of a row: only its first field counts.
  std::string tail = file;
  tail.insert(tail.find("\r\n", first + 9 * 81 - 20), " garbage");
  EXPECT_TRUE(ParseAntennaPattern(tail));
  // A missing row.
  EXPECT_FALSE(ParseAntennaPattern(TableFile(14, 29, [](int, int) { return 0.5; })));
}

TEST(AntPattern, FileErrors) {
  const std::string missing = testing::TempDir() + "antpattern/none.ant";
  auto r = ReadAntennaPattern(missing);
  EXPECT_FALSE(r.Pattern);
  EXPECT_EQ(AntennaReadMessage(r.Error, missing), "Cannot open \"" + missing);
  EXPECT_EQ(ReadAntennaPattern(testing::TempDir()).Error, TAntennaReadError::reCannotOpen);  // a folder

  const std::string big = TempFile("big.ant", IsotropeText() + std::string(kAntennaFileMaxBytes, ' '));
  r = ReadAntennaPattern(big);
  EXPECT_FALSE(r.Pattern);
  EXPECT_EQ(AntennaReadMessage(r.Error, big), "Unknown file format");
  // At the limit it is still read.
  const std::string limit =
      TempFile("limit.ant", IsotropeText() + std::string(kAntennaFileMaxBytes - IsotropeText().size(), ' '));
  EXPECT_TRUE(ReadAntennaPattern(limit).Pattern);
  r = ReadAntennaPattern(TempFile("bad.ant", "a\r\nb\r\nc\r\nd\r\n"));
  EXPECT_FALSE(r.Pattern);
  EXPECT_EQ(r.Error, TAntennaReadError::reUnknownFormat);
}

TEST(AntView, MaximumAndReadouts) {
  // The peak occurs twice: azimuth 10 and 200 at elevation 20; the first wins.
  auto view = ViewOf(TableFile(
      13, 360, [](int a, int e) { return (a == 10 || a == 200) && e == 20 ? 12.25 : -3.0; }, 4));
  EXPECT_FLOAT_EQ(view.MaxGain, 12.25f);
  auto r = view.Readouts();
  EXPECT_EQ(r.Azimuth, "10\xB0");
  EXPECT_EQ(r.Elevation, "20\xB0");
  EXPECT_EQ(r.Gain, "12.2");  // 12.25 to one decimal: halves to even
  EXPECT_EQ(r.BarWidth, 14);
  EXPECT_TRUE(r.BarPositive);

  // Type 14: the row of the band, elevations 0 and 1 not considered; the
  // maximum over all rows 1..30 sets the scale.
  auto file14 = TableFile(14, 30, [](int row, int e) {
    return e < 2 ? 5.0 : row == 3 ? -2.5 - (e - 2) / 100.0 : -40.0 + row;
  });
  view = ViewOf(file14, 4);  // 3.5 MHz band: row 4 (file row index 3)
  EXPECT_FLOAT_EQ(view.MaxGain, 5.0f);
  r = view.Readouts();
  EXPECT_EQ(r.Azimuth, "0\xB0");
  EXPECT_EQ(r.Elevation, "2\xB0");
  EXPECT_EQ(r.Gain, "-2.5");
  EXPECT_EQ(r.BarWidth, 4);  // round(2.5) + 2, halves to even
  EXPECT_FALSE(r.BarPositive);
  view.CutFrequency = 30;
  r = view.Readouts();
  EXPECT_EQ(r.Gain, "-11.0");
  EXPECT_EQ(r.BarWidth, 13);
  // A gain beyond 20 dB keeps the bar at 22 pixels.
  view = ViewOf(TableFile(
      13, 360, [](int, int) { return -35.0; }, 4));
  EXPECT_EQ(view.Readouts().BarWidth, 22);
  // Nothing above -99: the starting values stay.
  view = ViewOf(TableFile(
      13, 360, [](int, int) { return -99.5; }, 4));
  EXPECT_EQ(view.Readouts().Gain, "-99.0");

  view = ViewOf(IsotropeText());
  r = view.Readouts();
  EXPECT_EQ(r.Azimuth, "0\xB0");
  EXPECT_EQ(r.Elevation, "0\xB0");
  EXPECT_EQ(r.Gain, "0.0");
  EXPECT_EQ(r.BarWidth, 2);
  EXPECT_EQ(view.MaxGain, 0);
}

TEST(AntView, SpinBoxFollowsTypeAndCut) {
  auto view = ViewOf(TableFile(14, 30, [](int, int) { return 1.0; }), 4);
  auto s = view.SpinSetup();
  EXPECT_EQ(s.Heading, " Frequency");
  EXPECT_EQ(s.Min, 2);
  EXPECT_EQ(s.Max, 30);
  EXPECT_EQ(s.Value, 4);
  EXPECT_FALSE(s.HorizontalEnabled);
  view.SpinChanged(21);
  EXPECT_EQ(view.CutFrequency, 21);

  view.CutAzimuth = 77, view.CutElevation = 33, view.Cut = TPatternCut::pcHorizontal;
  view.Load(*ParseAntennaPattern(TableFile(
      13, 360, [](int, int) { return 1.0; }, 4)));
  EXPECT_EQ(view.CutAzimuth, 0);
  EXPECT_EQ(view.CutElevation, 10);
  EXPECT_EQ(view.CutFrequency, 21);  // the band stays
  EXPECT_EQ(view.Cut, TPatternCut::pcVertical);
  s = view.SpinSetup();
  EXPECT_EQ(s.Heading, " Azimuth");
  EXPECT_EQ(s.Min, 0);
  EXPECT_EQ(s.Max, 359);
  EXPECT_TRUE(s.HorizontalEnabled);
  view.SpinChanged(90);
  view.Cut = TPatternCut::pcHorizontal;
  s = view.SpinSetup();
  EXPECT_EQ(s.Heading, " Elevation");
  EXPECT_EQ(s.Min, 1);
  EXPECT_EQ(s.Max, 90);
  EXPECT_EQ(s.Value, 10);
  view.SpinChanged(45);
  EXPECT_EQ(view.CutElevation, 45);
  EXPECT_EQ(view.CutAzimuth, 90);
}

TEST(AntView, CurvesSpanThirtyDecibels) {
  // Paint box 210 x 210: plot 5..205, W = 200, corner (5, 205), centre (105, 105).
  auto view = ViewOf(TableFile(
      13, 360, [](int a, int e) { return a == 90  ? -40.0
                                         : a == 0 ? 6.0 - e / 3.0
                                                  : 6.0; }, 4));
  auto curve = view.Curve(210, 210);
  ASSERT_EQ(curve.size(), 91u);
  EXPECT_EQ(curve[0], (TPlotPoint{205, 205}));           // MaxGain on the outer ring
  EXPECT_EQ(curve[45], (TPlotPoint{5 + 71, 205 - 71}));  // 15 dB down: radius 100 at 45 degrees
  EXPECT_EQ(curve[90], (TPlotPoint{5, 205}));            // 30 dB down: the corner
  view.Cut = TPatternCut::pcHorizontal;
  view.CutElevation = 30;
  curve = view.Curve(210, 210);
  ASSERT_EQ(curve.size(), 361u);
  EXPECT_EQ(curve[0], curve[360]);
  EXPECT_EQ(curve[0], (TPlotPoint{105, 105 - 67}));  // 10 dB down: two thirds of R = 100, north up
  EXPECT_EQ(curve[90], (TPlotPoint{105, 105}));      // far below: the centre
  EXPECT_EQ(curve[270], (TPlotPoint{5, 105}));       // west, on the ring

  view = ViewOf(IsotropeText());
  curve = view.Curve(210, 210);
  ASSERT_EQ(curve.size(), 91u);
  EXPECT_EQ(curve[0], (TPlotPoint{205, 205}));
  EXPECT_EQ(curve[90], (TPlotPoint{5, 5}));
  view.Cut = TPatternCut::pcHorizontal;
  EXPECT_EQ(view.Curve(210, 210).size(), 361u);
  // Type 14 has no azimuth cut.
  view = ViewOf(TableFile(14, 30, [](int, int) { return 1.0; }));
  view.Cut = TPatternCut::pcHorizontal;
  EXPECT_TRUE(view.Curve(210, 210).empty());
}

TEST(AntView, RingsAndSpokesAreLabelled) {
  auto view = ViewOf(TableFile(
      13, 360, [](int, int e) { return 6.0 - e / 10.0; }, 4));
  auto texts = [&] {
    std::vector<std::string> t;
    for (const TPlotLabel& l : view.GridLabels(210, 210)) t.push_back(l.Text);
    return t;
  };
  // The outer ring is the largest gain; the rings step down 5 dB.
  EXPECT_EQ(texts(), (std::vector<std::string>{"6.0 dBi", "1.0", "-4.0", "-9.0", "-14.0", "-19.0", "30\xB0", "60\xB0",
                                               "90\xB0"}));
  const auto labels = view.GridLabels(210, 210);
  EXPECT_EQ(labels[0].X, 203);  // ends at the outer ring
  EXPECT_TRUE(labels[0].AlignRight);
  view.Cut = TPatternCut::pcHorizontal;
  EXPECT_EQ(texts(), (std::vector<std::string>{"6.0 dBi", "-4.0", "-14.0", "90\xB0", "180\xB0", "270\xB0"}));
  EXPECT_TRUE(view.GridLabels(8, 8).empty());  // no room for a plot
}

TEST(AntView, MouseReadout) {
  auto view = ViewOf(TableFile(
      13, 360, [](int a, int e) { return a + e / 100.0 + 0.003; }, 4));
  view.CutAzimuth = 7;
  EXPECT_FALSE(view.MouseReadout(210, 210, 4, 100));                                  // in the margin
  EXPECT_FALSE(view.MouseReadout(210, 210, 100, 205));                                // the bottom edge is outside
  EXPECT_EQ(view.MouseReadout(210, 210, 105, 105).value_or(""), "45\xB0   7.5 dBi");  // row 7, elevation 45
  EXPECT_EQ(view.MouseReadout(210, 210, 200, 204).value_or(""), "0\xB0   7.0 dBi");
  EXPECT_EQ(view.MouseReadout(210, 210, 5, 6).value_or(""), "90\xB0   7.9 dBi");
  view.Cut = TPatternCut::pcHorizontal;
  view.CutElevation = 50;
  EXPECT_EQ(view.MouseReadout(210, 210, 105, 20).value_or(""), "0\xB0   0.5 dBi");      // up: azimuth 0
  EXPECT_EQ(view.MouseReadout(210, 210, 190, 105).value_or(""), "90\xB0   90.5 dBi");   // right: 90
  EXPECT_EQ(view.MouseReadout(210, 210, 20, 105).value_or(""), "270\xB0   270.5 dBi");  // left: 270, not -90
  EXPECT_EQ(view.MouseReadout(210, 210, 105, 105).value_or(""), "0\xB0   0.5 dBi");     // the centre: no angle, 0
  // Type 14: the row is the spin box's frequency.
  view = ViewOf(TableFile(14, 30, [](int r, int e) { return r + e / 100.0 + 0.003; }), 10);
  EXPECT_EQ(view.MouseReadout(210, 210, 105, 105).value_or(""), "45\xB0   9.5 dBi");  // file row 9 is 10 MHz
  EXPECT_FALSE(ViewOf(IsotropeText()).MouseReadout(210, 210, 105, 105));
}
