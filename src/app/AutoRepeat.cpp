#include "app/AutoRepeat.h"

#include <algorithm>

namespace vx {

void TAutoRepeat::Press(TStepDirection dir) {
  Held_ = dir;
  DueMs_ = Clock_.SteadyMs() + kFirstDelayMs;
}

std::optional<int64_t> TAutoRepeat::MsUntilDue() const {
  if (!Held_) return std::nullopt;
  return std::max<int64_t>(0, DueMs_ - Clock_.SteadyMs());
}

std::optional<TStepDirection> TAutoRepeat::Poll() {
  if (!Held_) return std::nullopt;
  const int64_t now = Clock_.SteadyMs();
  if (now < DueMs_) return std::nullopt;
  DueMs_ += kRepeatMs;
  if (DueMs_ <= now) DueMs_ = now + kRepeatMs;
  return Held_;
}

}  // namespace vx
