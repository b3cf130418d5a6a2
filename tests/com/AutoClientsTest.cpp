// Which clients count as connected, and when the program may end.
#include <gtest/gtest.h>

#include "com/AutoClients.h"

using namespace vx;

TEST(AutomationClients, ConnectedFromTheFirstCallUntilReleaseOrLeaving) {
  TAutomationClients c(TStartKind::skUser, 0);
  EXPECT_FALSE(c.AnyConnected());
  EXPECT_TRUE(c.Touch(":1.5"));
  EXPECT_FALSE(c.Touch(":1.5"));  // later calls change nothing
  EXPECT_TRUE(c.Touch(":1.7"));
  EXPECT_EQ(c.Count(), 2u);
  EXPECT_FALSE(c.Release(":1.5", 100));
  EXPECT_FALSE(c.Release(":1.5", 100));  // released twice: once counts
  EXPECT_FALSE(c.Release(":1.9", 100));  // never connected
  EXPECT_TRUE(c.Connected(":1.7"));
  EXPECT_TRUE(c.Release(":1.7", 200));  // the last one
  EXPECT_FALSE(c.AnyConnected());
}

TEST(AutomationClients, AUserStartEndsAtTheLastReleaseOnlyWithTheWindowHidden) {
  TAutomationClients c(TStartKind::skUser, 0);
  c.Touch("a");
  ASSERT_TRUE(c.Release("a", 10));
  EXPECT_FALSE(c.EndAfterLastRelease(true));
  EXPECT_TRUE(c.EndAfterLastRelease(false));
  // The idle rule is the bus start's alone.
  EXPECT_FALSE(c.IdleExpired(1000000, false, false));
  EXPECT_EQ(c.IdleDeadline(), -1);
}

TEST(AutomationClients, ABusStartEndsAfterTenIdleSecondsWithoutAJob) {
  TAutomationClients c(TStartKind::skBus, 1000);
  EXPECT_FALSE(c.EndAfterLastRelease(false));
  // Started and never called: ten seconds from the start.
  EXPECT_EQ(c.IdleDeadline(), 11000);
  EXPECT_FALSE(c.IdleExpired(10999, false, false));
  // A script's calls, each a short connection, keep it alive.
  c.Touch(":1.1");
  EXPECT_FALSE(c.IdleExpired(50000, false, false));
  EXPECT_EQ(c.IdleDeadline(), -1);
  ASSERT_TRUE(c.Release(":1.1", 50000));
  EXPECT_FALSE(c.IdleExpired(59999, false, false));
  c.Touch(":1.2");
  ASSERT_TRUE(c.Release(":1.2", 55000));
  EXPECT_FALSE(c.IdleExpired(64999, false, false));
  EXPECT_TRUE(c.IdleExpired(65000, false, false));
  // A job still running keeps it, however long nobody called.
  EXPECT_FALSE(c.IdleExpired(900000, true, false));
  EXPECT_TRUE(c.IdleExpired(900001, false, false));
  // So does a window the user has been shown (by a client, or by starting
  // Vantor again): it ends when the user closes it.
  EXPECT_FALSE(c.IdleExpired(900001, false, true));
}

TEST(AutomationClients, IdlePeriodCanBeChosen) {
  TAutomationClients c(TStartKind::skBus, 0, 500);
  EXPECT_FALSE(c.IdleExpired(499, false, false));
  EXPECT_TRUE(c.IdleExpired(500, false, false));
}
