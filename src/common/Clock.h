// The clocks the logic reads, behind one interface so that tests can set the
// time: the UTC calendar clock and a steady clock for intervals.
#pragma once

#include <cstdint>

namespace vx {

class IClock {
 public:
  virtual ~IClock() = default;
  // Now as a UTC day count (see DayCount.h).
  virtual double UtcNow() const = 0;
  // Milliseconds from an arbitrary start; never goes back. For intervals only.
  virtual int64_t SteadyMs() const = 0;
};

// The system's clocks.
class TSystemClock final : public IClock {
 public:
  double UtcNow() const override;
  int64_t SteadyMs() const override;
};

// The one system clock the programs share.
const IClock& SystemClock();

}  // namespace vx
