// Waiting without an event loop, for what another process does: a marker
// file it writes, its end.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <functional>
#include <string>

namespace vxtest {

// Polls done() until it holds. The timeout is a safety net for a test that
// would otherwise hang, never a measurement.
testing::AssertionResult WaitFor(const std::function<bool()>& done, int timeoutMs = 30000);

// Waits until the file exists (a marker another process writes).
testing::AssertionResult WaitForFile(const std::string& path, int timeoutMs = 30000);

// Waits until no process has the id (the process ended and was reaped).
testing::AssertionResult WaitForProcessGone(pid_t pid, int timeoutMs = 30000);

}  // namespace vxtest
