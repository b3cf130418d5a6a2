// The contract between the engine and whatever runs its child process: one
// child at a time, its end reported once through OnFinished on the thread
// that owns the runner (the GUI thread), never after Terminate. The runner
// also lends the engine its clock, to try again later without blocking.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vx {

struct TProcessCommand {
  std::string Program;                 // path of the executable
  std::vector<std::string> Arguments;  // passed as they are, no shell
  std::string Directory;               // working folder; blank = inherit
};

// Exit code reported when the child could not be started at all, or died
// from a signal: nonzero, so the engine reports a failed run instead of
// waiting for an event that would never come.
inline constexpr uint32_t kExitCodeNotStarted = 0xFFFFFFFFu;
inline constexpr uint32_t kExitCodeCrashed = 0xFFFFFFFEu;
// Reported for a run refused because an earlier child was killed but could
// not be reaped.
inline constexpr uint32_t kExitCodeNotReaped = 0xFFFFFFFDu;

class IProcessRunner {
 public:
  virtual ~IProcessRunner() = default;
  // Starts the command and returns at once. Standard input is the null device.
  virtual void Run(const TProcessCommand& command) = 0;
  // Kills a running child, waits (for a bounded time) until it is gone, and
  // suppresses its event. Does nothing else when no child runs.
  virtual void Terminate() = 0;
  virtual bool Running() const = 0;
  // Calls fn once, after about ms milliseconds, on the owner's thread;
  // Terminate (or a new Run) drops it. One deferred call at a time.
  virtual void Defer(int ms, std::function<void()> fn) = 0;

  std::function<void(uint32_t exitCode)> OnFinished;
};

}  // namespace vx
