// A clock the test sets: the logic's UTC time and its steady milliseconds
// are whatever the test says, and move only when the test moves them.
#pragma once

#include <cstdint>

#include "common/Clock.h"
#include "common/DayCount.h"

namespace vxtest {

class TTestClock final : public vx::IClock {
 public:
  TTestClock() = default;
  TTestClock(const vx::TCivilTime& utc, int64_t steadyMs) : Utc(vx::EncodeDayCount(utc)), Ms(steadyMs) {}
  double Utc = vx::EncodeDayCount({2026, 12, 7, 10, 30, 0});
  int64_t Ms = 0;
  double UtcNow() const override { return Utc; }
  int64_t SteadyMs() const override { return Ms; }
};

}  // namespace vxtest
