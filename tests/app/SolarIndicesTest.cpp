// SSN and Kp boxes with the month selector and a stand-in monitor.
#include <gtest/gtest.h>

#include "FakeMonitor.h"
#include "app/SolarIndices.h"
#include "support/TestClock.h"

using namespace vx;
using vx::test::TFakeMonitor;
using vxtest::TTestClock;

namespace {

const char* kTable = "Nov 2026=81.5\nDec 2026=77.0\nJan 2027=74.5\n";

}  // namespace

TEST(SolarIndices, WithoutMonitorTheTableFillsTheSsnBox) {
  TUnavailableMonitor monitor;
  TTestClock clock;  // 7 Dec 2026
  TSolarIndices s(monitor, clock);
  s.Months().SetSsnList(kTable);
  s.StepMonth(TStepDirection::sdCurrent, 10);
  EXPECT_EQ(s.MonthText(), "Dec 2026");
  EXPECT_EQ(s.Ssn(), 77);
  EXPECT_EQ(s.Kp(), TSolarIndices::kKpDefault);
  s.StepMonth(TStepDirection::sdForward, 10);
  EXPECT_EQ(s.Ssn(), 74);  // 74.5: half to even
  EXPECT_FALSE(s.SsnLime());
  EXPECT_FALSE(s.RefreshSpaceWeather(10));

  EXPECT_EQ(s.ToggleMonitor(true, 10), TMonitorToggle::mtUnavailable);
  EXPECT_FALSE(s.SsnLime());
  EXPECT_EQ(s.Ssn(), 74);

  s.EditSsn(999);  // the boxes' ranges
  EXPECT_EQ(s.Ssn(), TSolarIndices::kSsnMax);
  s.EditKp(0);
  EXPECT_EQ(s.Kp(), TSolarIndices::kKpMin);
  EXPECT_TRUE(s.SelectMonth(2026, 11, 0));
  EXPECT_EQ(s.Ssn(), 82);  // 81.5
  EXPECT_FALSE(s.SelectMonth(2026, 13, 0));
}

TEST(SolarIndices, MissingTableStartsOnTheCurrentMonthWithSsnZero) {
  TUnavailableMonitor monitor;
  TTestClock clock;
  TSolarIndices s(monitor, clock);
  EXPECT_FALSE(s.LoadSsnTable(testing::TempDir() + "no-such-SSN.dat"));
  s.EditSsn(50);
  s.StepMonth(TStepDirection::sdCurrent, 0);
  EXPECT_EQ(s.MonthText(), "Dec 2026");
  EXPECT_EQ(s.Ssn(), 0);
}

TEST(SolarIndices, ConnectedMonitorReplacesTheTableAndTurnsTheBoxesLime) {
  TFakeMonitor monitor;
  TTestClock clock;  // 7 Dec 2026
  TSolarIndices s(monitor, clock);
  s.Months().SetSsnList(kTable);
  s.StepMonth(TStepDirection::sdCurrent, 13);
  EXPECT_TRUE(monitor.Queries.empty());  // not connected: not asked

  EXPECT_EQ(s.ToggleMonitor(true, 13), TMonitorToggle::mtConnected);
  ASSERT_EQ(monitor.Queries.size(), 1u);
  EXPECT_EQ(monitor.Queries[0].Year, 2026);
  EXPECT_EQ(monitor.Queries[0].Month, 12);
  EXPECT_EQ(monitor.Queries[0].Day, 7);  // today in the current month
  EXPECT_EQ(monitor.Queries[0].Hour, 13);
  EXPECT_EQ(s.Ssn(), 120);
  EXPECT_EQ(s.Kp(), 4);
  EXPECT_TRUE(s.SsnLime());
  EXPECT_TRUE(s.KpLime());

  // Another month: the 15th, and the monitor's SSN instead of the table's.
  monitor.Answer = {90, 4};
  s.StepMonth(TStepDirection::sdForward, 5);
  ASSERT_EQ(monitor.Queries.size(), 2u);
  EXPECT_EQ(monitor.Queries[1].Year, 2027);
  EXPECT_EQ(monitor.Queries[1].Month, 1);
  EXPECT_EQ(monitor.Queries[1].Day, 15);
  EXPECT_EQ(monitor.Queries[1].Hour, 5);
  EXPECT_EQ(s.Ssn(), 90);
  EXPECT_TRUE(s.SsnLime());

  // Typing away from the monitor's value and back.
  s.EditSsn(91);
  EXPECT_FALSE(s.SsnLime());
  s.EditSsn(90);
  EXPECT_TRUE(s.SsnLime());
  s.EditKp(5);
  EXPECT_FALSE(s.KpLime());
  EXPECT_TRUE(s.SsnLime());
}

TEST(SolarIndices, RefreshTellsWhetherABoxChanged) {
  TFakeMonitor monitor;
  TTestClock clock;
  TSolarIndices s(monitor, clock);
  s.Months().SetSsnList(kTable);
  s.StepMonth(TStepDirection::sdCurrent, 0);
  ASSERT_EQ(s.ToggleMonitor(true, 0), TMonitorToggle::mtConnected);
  EXPECT_FALSE(s.RefreshSpaceWeather(0));  // same answer again
  monitor.Answer.Kp = 6;
  EXPECT_TRUE(s.RefreshSpaceWeather(0));
  monitor.Answer.Ssn = 121;
  EXPECT_TRUE(s.RefreshSpaceWeather(0));

  // Unknown values leave the boxes as they are, in the window colour.
  s.EditSsn(33);
  monitor.Answer = {kNoIndexValue, kNoIndexValue};
  EXPECT_FALSE(s.RefreshSpaceWeather(0));
  EXPECT_EQ(s.Ssn(), 33);
  EXPECT_EQ(s.Kp(), 6);
  EXPECT_FALSE(s.SsnLime());
  EXPECT_FALSE(s.KpLime());

  // An answer outside a box's range is taken as the box holds it, so the
  // same answer again is no change.
  monitor.Answer = {600, 0};
  EXPECT_TRUE(s.RefreshSpaceWeather(0));
  EXPECT_EQ(s.Ssn(), 400);
  EXPECT_EQ(s.Kp(), 1);
  EXPECT_TRUE(s.SsnLime());
  EXPECT_FALSE(s.RefreshSpaceWeather(0));
}

TEST(SolarIndices, MonitorLeavingOrReleasedGivesTheWindowColour) {
  TFakeMonitor monitor;
  TTestClock clock;
  TSolarIndices s(monitor, clock);
  s.Months().SetSsnList(kTable);
  s.StepMonth(TStepDirection::sdCurrent, 0);
  ASSERT_EQ(s.ToggleMonitor(true, 0), TMonitorToggle::mtConnected);
  s.ClearSpaceWeatherDisplay();
  EXPECT_FALSE(s.SsnLime());
  EXPECT_FALSE(s.KpLime());

  ASSERT_EQ(s.ToggleMonitor(true, 0), TMonitorToggle::mtConnected);
  EXPECT_TRUE(s.SsnLime());
  EXPECT_EQ(s.ToggleMonitor(false, 0), TMonitorToggle::mtDisconnected);
  EXPECT_FALSE(s.SsnLime());
  s.EditSsn(120);  // the last value, but no monitor any more
  EXPECT_FALSE(s.SsnLime());
  s.StepMonth(TStepDirection::sdBack, 0);
  EXPECT_EQ(s.Ssn(), 82);
  EXPECT_EQ(monitor.Queries.size(), 2u);
}

TEST(SolarIndices, FailedConnectionIsReportedAndNotRetried) {
  TFakeMonitor monitor;
  monitor.Connects = false;
  TTestClock clock;
  TSolarIndices s(monitor, clock);
  s.Months().SetSsnList(kTable);
  s.StepMonth(TStepDirection::sdCurrent, 0);
  EXPECT_EQ(s.ToggleMonitor(true, 0), TMonitorToggle::mtUnavailable);
  monitor.Connects = true;
  EXPECT_EQ(s.ToggleMonitor(true, 0), TMonitorToggle::mtUnavailable);
  EXPECT_EQ(monitor.ConnectAttempts, 1);
  EXPECT_EQ(s.Ssn(), 77);
}

TEST(SolarIndices, LineThatIsNoMonthIsNotAskedOfTheMonitor) {
  TFakeMonitor monitor;
  TTestClock clock;
  TSolarIndices s(monitor, clock);
  s.Months().SetSsnList("Someday=55\n");
  s.StepMonth(TStepDirection::sdCurrent, 0);
  EXPECT_EQ(s.ToggleMonitor(true, 0), TMonitorToggle::mtConnected);
  EXPECT_TRUE(monitor.Queries.empty());
  EXPECT_EQ(s.Ssn(), 55);
  EXPECT_FALSE(s.SsnLime());
}
