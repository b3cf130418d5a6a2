#include "common/Clock.h"

#include <chrono>

#include "common/DayCount.h"

namespace vx {

double TSystemClock::UtcNow() const { return vx::UtcNow(); }

int64_t TSystemClock::SteadyMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

const IClock& SystemClock() {
  static const TSystemClock clock;
  return clock;
}

}  // namespace vx
