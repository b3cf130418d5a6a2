// The month selector over the shipped table and over broken ones.
#include <gtest/gtest.h>

#include "app/MonthSelector.h"
#include "common/FileUtil.h"

using namespace vx;

namespace {

const std::string kShippedTable = std::string(VX_SOURCE_DIR) + "/data/SSN.dat";

TCivilTime Date(int year, int month, int day = 7) { return TCivilTime{year, month, day, 12, 0, 0}; }

void Step(TMonthSelector& s, TStepDirection dir, int times = 1) {
  for (int i = 0; i < times; ++i) s.StepMonth(dir, Date(2026, 12));
}

}  // namespace

TEST(MonthSelector, StepsThroughTheShippedTable) {
  TMonthSelector s;
  ASSERT_TRUE(s.LoadSsnList(kShippedTable));
  ASSERT_EQ(s.SsnList().size(), 492u);
  EXPECT_EQ(s.MonthIndex(), -1);
  EXPECT_EQ(s.MonthText(), "");

  s.StepMonth(TStepDirection::sdCurrent, Date(2008, 1));
  EXPECT_EQ(s.MonthText(), "Jan 2008");
  EXPECT_EQ(s.MonthSsn(), 7);  // 6.6
  Step(s, TStepDirection::sdBack);
  EXPECT_EQ(s.MonthText(), "Dec 2007");
  Step(s, TStepDirection::sdForward, 2);
  EXPECT_EQ(s.MonthText(), "Feb 2008");
}

TEST(MonthSelector, StopsAtBothEndsOfTheTable) {
  TMonthSelector s;
  ASSERT_TRUE(s.LoadSsnList(kShippedTable));
  s.StepMonth(TStepDirection::sdCurrent, Date(2030, 11));
  Step(s, TStepDirection::sdForward);
  EXPECT_EQ(s.MonthText(), "Dec 2030");
  Step(s, TStepDirection::sdForward, 5);  // a held button keeps showing the last line
  EXPECT_EQ(s.MonthText(), "Dec 2030");
  EXPECT_EQ(s.MonthIndex(), 491);
  Step(s, TStepDirection::sdBack);
  EXPECT_EQ(s.MonthText(), "Nov 2030");

  s.StepMonth(TStepDirection::sdCurrent, Date(1990, 1));
  EXPECT_EQ(s.MonthIndex(), 0);
  Step(s, TStepDirection::sdBack, 3);
  EXPECT_EQ(s.MonthIndex(), 0);
  EXPECT_EQ(s.MonthText(), "Jan 1990");
  EXPECT_EQ(s.MonthSsn(), 201);

  // A current month the table lacks, after or before it, starts on the first line.
  s.StepMonth(TStepDirection::sdCurrent, Date(2035, 6));
  EXPECT_EQ(s.MonthText(), "Jan 1990");
  s.StepMonth(TStepDirection::sdCurrent, Date(1989, 12));
  EXPECT_EQ(s.MonthIndex(), 0);
}

TEST(MonthSelector, SsnRoundsHalvesToEven) {
  TMonthSelector s;
  s.SetSsnList(
      "Mar 2009=12.5\r\nApr 2009=13.5\r\nMay 2009= 7.6 \r\nJun 2009=abc\r\nJul 2009=\r\n"
      "Aug 2009=-0.4\r\nSep 2009=1e3\r\nOct 2009=4=5\r\n");
  // Values that are no sunspot number (text, nothing, out of range, a second
  // "=") are refused as lines; the others round halves to even.
  ASSERT_EQ(s.SsnList().size(), 4u);
  EXPECT_EQ(s.RefusedLines().size(), 4u);
  const int expected[] = {12, 14, 8, 0};
  s.StepMonth(TStepDirection::sdCurrent, Date(2009, 3));
  for (int want : expected) {
    EXPECT_EQ(s.MonthSsn(), want) << s.SsnList()[s.MonthIndex()];
    Step(s, TStepDirection::sdForward);
  }
}

TEST(MonthSelector, CurrentMonthIgnoresLetterCaseAndTakesTheFirstOfEqualNames) {
  TMonthSelector s;
  s.SetSsnList("Dec 2026=1\nDEC 2027=2\njan 2027=3\nJan 2027=4\n");
  s.StepMonth(TStepDirection::sdCurrent, Date(2027, 1));
  EXPECT_EQ(s.MonthIndex(), 2);
  EXPECT_EQ(s.MonthText(), "jan 2027");  // shown as the file has it
  EXPECT_EQ(s.MonthSsn(), 3);
  EXPECT_EQ(s.Month(), 1);  // and computed as the month it was matched as
  EXPECT_EQ(s.Year(), 2027);
  EXPECT_TRUE(s.SelectMonth(2027, 12));
  EXPECT_EQ(s.MonthIndex(), 1);
}

TEST(MonthSelector, MissingOrBrokenTableGivesTheCurrentMonthWithSsnZero) {
  const std::string dir = testing::TempDir() + "month-selector/";
  ASSERT_TRUE(MakeDirectories(dir));
  TMonthSelector s;
  s.SetSsnList("Jan 2000=5\n");
  EXPECT_FALSE(s.LoadSsnList(dir + "no-such-file.dat"));
  EXPECT_TRUE(s.SsnList().empty());  // the old table is gone too
  EXPECT_FALSE(s.LoadSsnList(dir));  // a folder is no file
  EXPECT_TRUE(s.SsnList().empty());
  s.StepMonth(TStepDirection::sdCurrent, Date(2026, 12));
  EXPECT_EQ(s.SsnList(), (std::vector<std::string>{"Dec 2026=0"}));
  EXPECT_EQ(s.MonthText(), "Dec 2026");
  EXPECT_EQ(s.MonthSsn(), 0);

  // Bytes that are no table: nothing in it is a month line.
  ASSERT_TRUE(WriteWholeFile(dir + "SSN.dat", std::string("\x00\x01\xff\r\n\r\n; comment\n\x80", 15)));
  EXPECT_TRUE(s.LoadSsnList(dir + "SSN.dat"));
  EXPECT_TRUE(s.SsnList().empty());
  // Stepping back or forward in an empty table behaves like stepping to now.
  s.StepMonth(TStepDirection::sdBack, Date(2026, 5));
  EXPECT_EQ(s.MonthText(), "May 2026");

  // Blank and stray lines between months are skipped, the months kept.
  ASSERT_TRUE(WriteWholeFile(dir + "SSN.dat", "Jan 2000=5\r\n\r\nnot a month\r\nFeb 2000=6"));
  EXPECT_TRUE(s.LoadSsnList(dir + "SSN.dat"));
  EXPECT_EQ(s.SsnList(), (std::vector<std::string>{"Jan 2000=5", "Feb 2000=6"}));
  EXPECT_EQ(s.MonthIndex(), -1);
}

TEST(MonthSelector, SelectMonth) {
  TMonthSelector s;
  EXPECT_TRUE(s.SelectMonth(2027, 2));
  EXPECT_EQ(s.SsnList(), (std::vector<std::string>{"Feb 2027=0"}));
  ASSERT_TRUE(s.LoadSsnList(kShippedTable));
  EXPECT_TRUE(s.SelectMonth(2009, 3));
  EXPECT_EQ(s.MonthText(), "Mar 2009");
  const int march2009 = s.MonthIndex();
  // A month the table lacks is refused and nothing moves: computing it with
  // another month's sunspot number would be a wrong answer given as right.
  EXPECT_FALSE(s.SelectMonth(1850, 3));
  EXPECT_FALSE(s.SelectMonth(2100, 6));
  EXPECT_EQ(s.MonthIndex(), march2009);
  EXPECT_TRUE(s.SelectMonth(2009, 3));
  EXPECT_FALSE(s.SelectMonth(2009, 13));
  EXPECT_FALSE(s.SelectMonth(2009, 0));
  EXPECT_EQ(s.MonthText(), "Mar 2009");
  EXPECT_EQ(s.SsnList().size(), 492u);
}

TEST(MonthSelector, TheMonthShownReadsBackAsNumbers) {
  TMonthSelector s;
  EXPECT_EQ(s.Year(), 0);  // nothing shown yet
  EXPECT_EQ(s.Month(), 0);
  for (int m = 1; m <= 12; ++m) {
    ASSERT_TRUE(s.SelectMonth(2026, m));
    EXPECT_EQ(s.Month(), m) << s.MonthText();
    EXPECT_EQ(s.Year(), 2026) << s.MonthText();
  }
  ASSERT_TRUE(s.SelectMonth(987, 5));
  EXPECT_EQ(s.Year(), 987);
  // A line whose name is not a month gives no month to compute.
  s.SetSsnList("Foo 2026=3\nJanuary=4\n");
  s.StepMonth(TStepDirection::sdForward, Date(2026, 1));
  EXPECT_EQ(s.MonthText(), "Foo 2026");
  EXPECT_EQ(s.Month(), 0);
  s.StepMonth(TStepDirection::sdForward, Date(2026, 1));
  EXPECT_EQ(s.MonthText(), "January");
  EXPECT_EQ(s.Month(), 0);
  EXPECT_EQ(s.Year(), 0);
  EXPECT_EQ(MonthName(987, 5), "May 0987");
  EXPECT_EQ(MonthName(2026, 0), "");
  EXPECT_EQ(MonthName(2026, 13), "");
}

TEST(MonthSelector, LinesWhoseValueIsNoSunspotNumberAreRefusedByLine) {
  TMonthSelector s;
  s.SetSsnList(
      "Jan 2008=nan\r\nFeb 2008=1e999\r\n\r\nMar 2008=abc\r\nApr 2008=5.6\r\nMay 2008=-inf\r\nJun 2008=401\r\n"
      "Jul 2008=-50\r\n");
  EXPECT_EQ(s.SsnList(), (std::vector<std::string>{"Apr 2008=5.6", "Jul 2008=-50"}));
  EXPECT_EQ(s.RefusedLines(),
            (std::vector<std::string>{"line 1: Jan 2008=nan", "line 2: Feb 2008=1e999", "line 4: Mar 2008=abc",
                                      "line 6: May 2008=-inf", "line 7: Jun 2008=401"}));
  // A refused month is not in the table, so it cannot be chosen with SSN 0.
  EXPECT_FALSE(s.SelectMonth(2008, 1));
  EXPECT_TRUE(s.SelectMonth(2008, 4));
  EXPECT_EQ(s.MonthSsn(), 6);

  const std::string message = RefusedLinesMessage("SSN.dat", s);
  EXPECT_NE(message.find("SSN.dat: left out 5 lines"), std::string::npos) << message;
  EXPECT_NE(message.find("line 2: Feb 2008=1e999"), std::string::npos) << message;
  s.SetSsnList("Jan 2008=5\n");
  EXPECT_TRUE(s.RefusedLines().empty());
  EXPECT_EQ(RefusedLinesMessage("SSN.dat", s), "");
}
