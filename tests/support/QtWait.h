// Waiting with the Qt event loop running: for a condition, or for every
// event posted so far to be delivered.
#pragma once

#include <gtest/gtest.h>

#include <functional>

namespace vxtest {

// Runs the event loop until done() holds. The timeout is a safety net for a
// test that would otherwise hang, never a measurement: a failure says the
// condition never came.
testing::AssertionResult WaitUntil(const std::function<bool()>& done, int timeoutMs = 30000);

// Returns once an event posted now has been delivered: everything posted
// before it (queued signals, zero timers) has been handled too. A test that
// asserts "nothing happened" asserts it after this, not after a pause.
testing::AssertionResult DeliverPosted();

}  // namespace vxtest
