// The Qt process runner, counting the children it starts: a window test
// tells a prediction that ran from one that did not.
#pragma once

#include "engine/Process.h"

namespace vx {

class TCountingRunner : public IProcessRunner {
 public:
  explicit TCountingRunner(int& runs) : Runs_(runs) {
    Inner_.OnFinished = [this](uint32_t code) {
      if (OnFinished) OnFinished(code);
    };
  }
  void Run(const TProcessCommand& c) override {
    ++Runs_;
    Inner_.Run(c);
  }
  void Terminate() override { Inner_.Terminate(); }
  bool Running() const override { return Inner_.Running(); }
  void Defer(int ms, std::function<void()> fn) override { Inner_.Defer(ms, std::move(fn)); }

 private:
  int& Runs_;
  TProcess Inner_;
};

}  // namespace vx
