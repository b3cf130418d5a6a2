// Auto-repeat timing of the month buttons on a clock the test moves.
#include <gtest/gtest.h>

#include "app/AutoRepeat.h"
#include "support/TestClock.h"

using namespace vx;
using vxtest::TTestClock;

TEST(AutoRepeat, FirstRepeatAfterOneSecondThenFiveASecond) {
  TTestClock clock;
  clock.Ms = 50000;
  TAutoRepeat r(clock);
  EXPECT_FALSE(r.MsUntilDue().has_value());
  EXPECT_FALSE(r.Poll().has_value());

  r.Press(TStepDirection::sdForward);
  EXPECT_EQ(r.MsUntilDue(), 1000);
  clock.Ms += 999;
  EXPECT_FALSE(r.Poll().has_value());
  EXPECT_EQ(r.MsUntilDue(), 1);
  clock.Ms += 1;
  EXPECT_EQ(r.Poll(), TStepDirection::sdForward);
  EXPECT_FALSE(r.Poll().has_value());  // one step per due time
  EXPECT_EQ(r.MsUntilDue(), 200);

  // Held for three seconds in all: repeats at 1.0, 1.2, ... 3.0 s.
  int steps = 1;
  for (int t = 1001; t <= 3000; ++t) {
    clock.Ms = 50000 + t;
    if (r.Poll()) ++steps;
  }
  EXPECT_EQ(steps, 11);

  r.Release();
  EXPECT_FALSE(r.Held().has_value());
  clock.Ms += 1000;
  EXPECT_FALSE(r.Poll().has_value());
  EXPECT_FALSE(r.MsUntilDue().has_value());
}

TEST(AutoRepeat, PressingAgainWaitsAnewInTheNewDirection) {
  TTestClock clock;
  TAutoRepeat r(clock);
  r.Press(TStepDirection::sdForward);
  clock.Ms = 1000;
  EXPECT_EQ(r.Poll(), TStepDirection::sdForward);
  r.Press(TStepDirection::sdBack);
  EXPECT_EQ(r.Held(), TStepDirection::sdBack);
  clock.Ms = 1200;
  EXPECT_FALSE(r.Poll().has_value());
  clock.Ms = 2000;
  EXPECT_EQ(r.Poll(), TStepDirection::sdBack);
}

TEST(AutoRepeat, StepsMissedWhileBusyAreNotMadeUp) {
  TTestClock clock;
  TAutoRepeat r(clock);
  r.Press(TStepDirection::sdBack);
  clock.Ms = 1050;  // a late timer keeps the rhythm
  EXPECT_TRUE(r.Poll().has_value());
  EXPECT_EQ(r.MsUntilDue(), 150);
  clock.Ms = 5000;  // busy for seconds: one step, not twenty
  EXPECT_TRUE(r.Poll().has_value());
  EXPECT_FALSE(r.Poll().has_value());
  EXPECT_EQ(r.MsUntilDue(), 200);
}

TEST(AutoRepeat, HeldButtonStopsOnTheLastLine) {
  TTestClock clock;
  TAutoRepeat r(clock);
  TMonthSelector s;
  s.SetSsnList("Oct 2030=20\nNov 2030=19\nDec 2030=18\n");
  s.StepMonth(TStepDirection::sdCurrent, TCivilTime{2030, 10, 1});
  s.StepMonth(TStepDirection::sdForward, {});
  r.Press(TStepDirection::sdForward);
  for (clock.Ms = 0; clock.Ms <= 5000; clock.Ms += 10) {
    if (auto d = r.Poll()) s.StepMonth(*d, {});
  }
  EXPECT_EQ(s.MonthText(), "Dec 2030");
}
