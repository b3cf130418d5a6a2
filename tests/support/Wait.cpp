#include "support/Wait.h"

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace vxtest {

testing::AssertionResult WaitFor(const std::function<bool()>& done, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline)
      return testing::AssertionFailure() << "the condition did not hold within " << timeoutMs << " ms";
    std::this_thread::sleep_for(std::chrono::milliseconds(5));  // the poll's interval only
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult WaitForFile(const std::string& path, int timeoutMs) {
  if (WaitFor([&] { return std::filesystem::exists(path); }, timeoutMs)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << path << " did not appear within " << timeoutMs << " ms";
}

testing::AssertionResult WaitForProcessGone(pid_t pid, int timeoutMs) {
  if (WaitFor([&] { return ::kill(pid, 0) != 0; }, timeoutMs)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "process " << pid << " still runs after " << timeoutMs << " ms";
}

}  // namespace vxtest
