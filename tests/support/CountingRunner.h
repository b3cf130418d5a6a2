// A process runner that counts what goes through it, around the runner that
// does the work: a test tells a prediction that ran from one that did not,
// and sees the engine's deferred calls (its retries) come and go.
#pragma once

#include <memory>
#include <utility>

#include "engine/ProcessRunner.h"

namespace vxtest {

struct TRunnerCounts {
  int Runs = 0;                // children started
  int DeferredCalls = 0;       // deferred calls made
  bool DeferredWaits = false;  // a deferred call is due; Terminate or Run drops it
};

class TCountingRunner : public vx::IProcessRunner {
 public:
  TCountingRunner(TRunnerCounts& counts, std::unique_ptr<vx::IProcessRunner> inner)
      : Counts_(counts), Inner_(std::move(inner)) {
    Inner_->OnFinished = [this](uint32_t code) {
      if (OnFinished) OnFinished(code);
    };
  }
  void Run(const vx::TProcessCommand& c) override {
    ++Counts_.Runs;
    Counts_.DeferredWaits = false;
    Inner_->Run(c);
  }
  void Terminate() override {
    Counts_.DeferredWaits = false;
    Inner_->Terminate();
  }
  bool Running() const override { return Inner_->Running(); }
  void Defer(int ms, std::function<void()> fn) override {
    Counts_.DeferredWaits = true;
    Inner_->Defer(ms, [this, fn = std::move(fn)] {
      Counts_.DeferredWaits = false;
      ++Counts_.DeferredCalls;
      fn();
    });
  }

 private:
  TRunnerCounts& Counts_;
  std::unique_ptr<vx::IProcessRunner> Inner_;
};

}  // namespace vxtest
