#include "views/BatchProgress.h"

#include <algorithm>

#include "common/TextUtil.h"

namespace vx {

void TBatchProgress::Start(int total, int64_t nowMs) {
  Total_ = std::max(0, total);
  Finished_ = BaseFinished_ = 0;
  StartMs_ = NowMs_ = BaseMs_ = nowMs;
}

void TBatchProgress::Update(int finished, int64_t nowMs) {
  Finished_ = std::clamp(finished, 0, Total_);
  NowMs_ = std::max(nowMs, StartMs_);
  if (NowMs_ - StartMs_ <= kSettleMs) {
    BaseFinished_ = Finished_;
    BaseMs_ = NowMs_;
  }
}

std::optional<int64_t> TBatchProgress::MsLeft() const {
  const int paced = Finished_ - BaseFinished_;
  const int64_t spent = NowMs_ - BaseMs_;
  if (paced <= 0 || spent < kMinPaceMs || Finished_ >= Total_) return std::nullopt;
  return spent * (Total_ - Finished_) / paced;
}

std::string TBatchProgress::Text() const {
  std::string text = FormatInt(Finished_) + " of " + FormatInt(Total_) + " maps";
  if (auto left = MsLeft()) text += ", " + TimeLeftText(*left) + " left";
  return text;
}

std::string TimeLeftText(int64_t ms) {
  const int64_t minutes = (ms + 59999) / 60000;  // rounded up: better early than late
  if (ms < 60000) return "less than a minute";
  if (minutes < 60) return "about " + FormatInt(minutes) + " min";
  return "about " + FormatInt(minutes / 60) + " h" + (minutes % 60 ? " " + FormatInt(minutes % 60) + " min" : "");
}

}  // namespace vx
