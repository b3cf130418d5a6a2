// Auto-repeat of the month buttons: a held button steps once at once, again
// after one second, then five times a second until it is let go.
//
// Wiring with a single-shot timer:
//   pressed:  selector step in dir; repeat.Press(dir); timer.start(*repeat.MsUntilDue());
//   timeout:  if (auto d = repeat.Poll()) step in *d;
//             if (auto ms = repeat.MsUntilDue()) timer.start(*ms);
//   released: repeat.Release(); timer.stop();
#pragma once

#include <cstdint>
#include <optional>

#include "app/MonthSelector.h"
#include "common/Clock.h"

namespace vx {

class TAutoRepeat {
 public:
  static constexpr int64_t kFirstDelayMs = 1000;
  static constexpr int64_t kRepeatMs = 200;

  explicit TAutoRepeat(const IClock& clock) : Clock_(clock) {}

  // A button goes down (the caller makes the first step itself). Pressing
  // again, with either button, starts the wait for the first repeat anew.
  void Press(TStepDirection dir);
  // Either button goes up.
  void Release() { Held_.reset(); }
  std::optional<TStepDirection> Held() const { return Held_; }

  // Milliseconds until the next step is due (0: due now); nothing while no
  // button is held.
  std::optional<int64_t> MsUntilDue() const;
  // The step to make now, if one is due. Steps missed while the program was
  // busy are not made up: the next one follows one repeat interval later.
  std::optional<TStepDirection> Poll();

 private:
  const IClock& Clock_;
  std::optional<TStepDirection> Held_;
  int64_t DueMs_ = 0;
};

}  // namespace vx
