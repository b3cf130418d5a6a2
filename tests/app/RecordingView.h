// A stand-in front end for the controller's tests: the inputs are plain
// values set by the test, and what the controller shows is recorded.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/PredCtl.h"

namespace vx {

class TRecordingView : public IPredictionView {
 public:
  TPredictionInputs Inputs;
  std::string Call;
  std::string Dx;
  std::string Title;
  bool CallRed = false;
  int ChartRepaints = 0;
  int MapsShown = 0;
  int ClockFollows = 0;
  int EventDrains = 0;
  TVoaGrid LastMap;

  TPredictionInputs ReadInputs() const override { return Inputs; }
  std::string CallText() const override { return Call; }
  std::string DxText() const override { return Dx; }
  void SetDxPoint(TLocation point) override { Inputs.Dx = point; }
  void ClearCallText() override { Call.clear(); }
  void SetCallUnknown(bool red) override { CallRed = red; }
  void SetTitle(const std::string& caption) override { Title = caption; }
  std::function<void()> OnStatusChanged;  // for a caller that waits
  void StatusChanged() override {
    if (OnStatusChanged) OnStatusChanged();
  }
  void RepaintChart() override { ++ChartRepaints; }
  void ShowMap(const TVoaGrid& grid) override {
    ++MapsShown;
    LastMap = grid;
  }
  void FollowClock() override { ++ClockFollows; }
  void FocusCallEdit() override {}
  void ClientEventsQueued() override { ++EventDrains; }
};

}  // namespace vx
