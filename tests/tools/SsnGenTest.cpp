// The sunspot-table generator, on the committed figures and on small cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "SsnGen.h"
#include "common/FileUtil.h"
#include "common/TextUtil.h"

using namespace vx;
using namespace vx::ssngen;

namespace {

std::vector<TMonthFigure> Committed() {
  auto text = ReadWholeFile(std::string(VX_SOURCE_DIR) + "/data/ssn-figures.txt");
  EXPECT_TRUE(text.has_value());
  auto parsed = ParseFigures(text.value_or(""));
  EXPECT_EQ(parsed.Error, "");
  return parsed.Months;
}

}  // namespace

TEST(SsnGen, CommittedTableIsWhatTheFiguresGive) {
  auto months = Committed();
  auto table = ReadWholeFile(std::string(VX_SOURCE_DIR) + "/data/SSN.dat");
  ASSERT_TRUE(table.has_value());
  EXPECT_TRUE(FormatSsnTable(months, JoinedValues(months)) == *table)
      << "data/SSN.dat is out of date: run ssngen data/ssn-figures.txt data/SSN.dat";
}

TEST(SsnGen, CommittedTableCoversEveryMonthOnce) {
  auto months = Committed();
  ASSERT_EQ(months.size(), 492u);  // 1990-01 .. 2030-12
  auto text = ReadWholeFile(std::string(VX_SOURCE_DIR) + "/data/SSN.dat").value_or("");
  auto lines = SplitLines(text);
  ASSERT_EQ(lines.size(), 492u);
  EXPECT_EQ(lines.front(), "Jan 1990=201.2");
  EXPECT_EQ(lines.back().substr(0, 9), "Dec 2030=");
  for (auto line : lines) {
    size_t eq = line.find('=');
    ASSERT_EQ(eq, 8u) << line;
    auto v = ParseDouble(line.substr(eq + 1));
    ASSERT_TRUE(v.has_value()) << line;
    EXPECT_GE(*v, 0) << line;
  }
}

// At every change of source, the step into the new segment is no larger than
// the steps around it: the 3 months before and the 3 after.
TEST(SsnGen, ForecastsJoinWithoutJump) {
  auto months = Committed();
  auto values = JoinedValues(months);
  auto segments = ForecastSegments(months);
  ASSERT_EQ(segments.size(), 2u);  // SILSO forecast, then the NOAA curve
  for (const TSegment& seg : segments) {
    const size_t i = seg.First;
    ASSERT_GE(i, 4u);
    ASSERT_LT(i + 3, values.size());
    const double join = std::abs(values[i] - values[i - 1]);
    double around = 0;
    for (size_t k = i - 3; k <= i + 3; ++k)
      if (k != i) around = std::max(around, std::abs(values[k] - values[k - 1]));
    EXPECT_LE(join, around + 0.1) << "join at month " << i;
    // The decline goes on through the join.
    EXPECT_LT(values[i], values[i - 1]);
    EXPECT_LT(values[i + 1], values[i]);
  }
  // Without the join the published figures jump up by about 10 at both.
  EXPECT_GT(months[segments[0].First].Value - months[segments[0].First - 1].Value, 10);
  EXPECT_GT(months[segments[1].First].Value - months[segments[1].First - 1].Value, 10);
}

TEST(SsnGen, ObservedMonthsKeepTheirValues) {
  auto months = Committed();
  auto values = JoinedValues(months);
  for (size_t i = 0; i < months.size(); ++i) {
    if (months[i].Source != 'S') continue;
    EXPECT_DOUBLE_EQ(values[i], months[i].Value) << i;
  }
}

TEST(SsnGen, SegmentIsScaledByOneFactorFromTheMonthBefore) {
  auto parsed = ParseFigures(
      "# comment\n"
      "2020-11 50.0 S\n"
      "2020-12 40.0 S\n"
      "2021-01 100 F\n"
      "2021-02 90 F\n"
      "2021-03 80 F\n"
      "2021-04 60 N\n");
  ASSERT_EQ(parsed.Error, "");
  auto v = JoinedValues(parsed.Months);
  ASSERT_EQ(v.size(), 6u);
  // 40 * 0.9 = 36 starts the segment; the factor 0.36 scales the rest.
  EXPECT_DOUBLE_EQ(v[2], 36.0);
  EXPECT_DOUBLE_EQ(v[3], 32.4);
  EXPECT_DOUBLE_EQ(v[4], 28.8);
  EXPECT_DOUBLE_EQ(v[5], 28.8);  // one month alone carries the last value on
  EXPECT_EQ(FormatSsnTable(parsed.Months, v).substr(0, 30), "Nov 2020=50.0\r\nDec 2020=40.0\r\n");
}

TEST(SsnGen, ForecastAtTheStartStaysAsPublished) {
  auto parsed = ParseFigures("2020-01 100 F\n2020-02 90 F\n2020-03 10 S\n");
  ASSERT_EQ(parsed.Error, "");
  auto v = JoinedValues(parsed.Months);
  EXPECT_EQ(v, (std::vector<double>{100, 90, 10}));
}

TEST(SsnGen, RefusesBrokenFigures) {
  EXPECT_NE(ParseFigures("").Error, "");
  EXPECT_NE(ParseFigures("# only a comment\n").Error, "");
  EXPECT_EQ(ParseFigures("2020-01 1 S\n2020-03 1 S\n").Error, "line 2: month does not follow the one before");
  EXPECT_NE(ParseFigures("2020-12 1 S\n2020-12 1 S\n").Error, "");
  EXPECT_NE(ParseFigures("2020-13 1 S\n").Error, "");
  EXPECT_NE(ParseFigures("2020-1 1 S\n").Error, "");
  EXPECT_NE(ParseFigures("2020-01 x S\n").Error, "");
  EXPECT_NE(ParseFigures("2020-01 -1 S\n").Error, "");
  EXPECT_NE(ParseFigures("2020-01 1 s\n").Error, "");
  EXPECT_NE(ParseFigures("2020-01 1\n").Error, "");
  EXPECT_NE(ParseFigures("2020-01 1 S extra\n").Error, "");
  auto ok = ParseFigures("2020-12 1 S\r\n\r\n2021-01 2.5 S\r\n");
  EXPECT_EQ(ok.Error, "");
  ASSERT_EQ(ok.Months.size(), 2u);
  EXPECT_EQ(ok.Months[1].Year, 2021);
  EXPECT_EQ(ok.Months[1].Month, 1);
  EXPECT_EQ(ok.Months[1].Value, 2.5);
}
