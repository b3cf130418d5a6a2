// What the pre-computation's progress dialog says beside its bar: how many
// maps of how many are done and, once the batch has shown its pace, about
// how long the rest will take. Times are the caller's steady milliseconds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vx {

class TBatchProgress {
 public:
  void Start(int total, int64_t nowMs);
  void Update(int finished, int64_t nowMs);
  // Nothing until a map has been computed since the start and some time
  // has passed: maps found in the cache finish at once and tell no pace.
  std::optional<int64_t> MsLeft() const;
  // "12 of 192 maps", then ", about 4 min left" once there is an estimate.
  std::string Text() const;

  // Updates this soon after the start come from maps that were cached.
  static constexpr int64_t kSettleMs = 250;
  // The shortest stretch of work an estimate is taken from.
  static constexpr int64_t kMinPaceMs = 1000;

 private:
  int Total_ = 0;
  int Finished_ = 0;
  int64_t StartMs_ = 0;
  int64_t NowMs_ = 0;
  int BaseFinished_ = 0;  // done before the pace is measured
  int64_t BaseMs_ = 0;
};

// "less than a minute", "about 4 min", "about 1 h 5 min".
std::string TimeLeftText(int64_t ms);

}  // namespace vx
