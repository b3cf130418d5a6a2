#include "com/Sunsentry.h"

#include <cmath>

#include "common/DayCount.h"
#include "common/TextUtil.h"

namespace vx {

TSunsentryClient::TSunsentryClient(std::unique_ptr<ISunsentryLink> link) : Link_(std::move(link)) {}

TSunsentryClient::~TSunsentryClient() {
  if (Active_) Link_->Watch(nullptr);
}

void TSunsentryClient::SetActive(bool on) {
  if (on == Active_) return;
  if (on)
    Open();
  else
    Drop();
}

void TSunsentryClient::Open() {
  if (!Available_) return;
  const TReply<int32_t> version = Link_->Version();
  if (!version.Ok() || version.Value < kMinVersion) {
    Available_ = false;
    return;
  }
  Active_ = true;
  Link_->Watch(this);
}

void TSunsentryClient::Drop() {
  Active_ = false;
  Link_->Watch(nullptr);
}

bool TSunsentryClient::ReadValue(int32_t parameter, double moment, int& out) {
  const TReply<double> r = Link_->GetValue(parameter, moment);
  if (r.Unavailable()) {
    // Every further call would wait as long: let the monitor go.
    Available_ = false;
    Drop();
    if (Listener_) Listener_->SpaceWeatherMonitorLeft();
    return false;
  }
  // A refused call or a value that is no number reads as no value.
  out = r.Ok() && std::isfinite(r.Value) ? RoundToInt32(r.Value) : kNoIndexValue;
  return true;
}

TSpaceWeatherReading TSunsentryClient::ReadIndices(int year, int month, int day, int hour) {
  TSpaceWeatherReading out;
  if (!Active_) return out;
  const double t = EncodeDayCount(TCivilTime{year, month, day, hour, 0, 0});
  int v = kNoIndexValue;
  if (!ReadValue(kSsnParameter, t, v)) return {};
  out.Ssn = v;
  for (int i = 0; i < kKpHours; ++i) {
    if (!ReadValue(kKpParameter, t - i / 24.0, v)) return {};
    out.Kp = v;
    if (v != kNoIndexValue) break;
  }
  return out;
}

void TSunsentryClient::ExitRequest() {
  Drop();
  if (Listener_) Listener_->SpaceWeatherMonitorLeft();
}

void TSunsentryClient::Vanished() { ExitRequest(); }

void TSunsentryClient::DataArrived() {
  if (Listener_) Listener_->SpaceWeatherArrived();
}

}  // namespace vx
