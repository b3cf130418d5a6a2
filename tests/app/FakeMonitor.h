// A stand-in for the space weather monitor of the app logic tests: it
// answers what the test tells it to.
#pragma once

#include <vector>

#include "app/SpaceWeather.h"

namespace vx::test {

struct TIndexQuery {
  int Year, Month, Day, Hour;
};

class TFakeMonitor final : public ISpaceWeatherMonitor {
 public:
  bool Connects = true;  // false: the connection fails, as with no monitor installed
  TSpaceWeatherReading Answer{120, 4};
  std::vector<TIndexQuery> Queries;
  int ConnectAttempts = 0;

  bool Available() const override { return Available_; }
  bool Active() const override { return Active_; }
  void SetActive(bool on) override {
    if (on == Active_) return;
    if (!on) {
      Active_ = false;
      return;
    }
    if (!Available_) return;
    ++ConnectAttempts;
    Active_ = Connects;
    Available_ = Connects;
  }
  TSpaceWeatherReading ReadIndices(int year, int month, int day, int hour) override {
    if (!Active_) return {};
    Queries.push_back({year, month, day, hour});
    return Answer;
  }
  void SetListener(ISpaceWeatherListener*) override {}

 private:
  bool Available_ = true;
  bool Active_ = false;
};

}  // namespace vx::test
