// Process runners for the engine and the worker pool without Qt: children
// run only when the test says so, and their ends arrive one at a time, as
// from an event loop.
#pragma once

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/FileUtil.h"
#include "engine/ProcessRunner.h"

namespace vxtest {

// Runs each child only when the test says so, then reports its end: the
// engine's events arrive one at a time, as from an event loop, without Qt.
class TQueuedRunner : public vx::IProcessRunner {
 public:
  void Run(const vx::TProcessCommand& command) override {
    Pending.push_back(command);
    ++Started;
  }
  void Terminate() override {
    Pending.clear();
    Deferred = nullptr;
  }
  bool Running() const override { return !Pending.empty(); }
  void Defer(int, std::function<void()> fn) override { Deferred = std::move(fn); }
  // Makes the deferred call now; false when none waits.
  bool RunDeferred() {
    if (!Deferred) return false;
    auto fn = std::exchange(Deferred, nullptr);
    fn();
    return true;
  }
  std::function<void()> Deferred;

  // Runs the oldest child to its end and reports it; false when none waits.
  bool Complete() {
    if (Pending.empty()) return false;
    vx::TProcessCommand c = Pending.front();
    Pending.pop_front();
    std::string cmd = "cd '" + c.Directory + "' && " + Env + " '" + c.Program + "'";
    for (const auto& a : c.Arguments) cmd += " '" + a + "'";
    cmd += " >/dev/null 2>&1 </dev/null";
    const int status = std::system(cmd.c_str());
    if (OnFinished) OnFinished(status == 0 ? 0u : 1u);
    return true;
  }
  std::deque<vx::TProcessCommand> Pending;
  int Started = 0;
  std::string Env = "true &&";  // extra shell words before the program
};

// Children of several runners (the workers of a pool) in one queue, run
// only when the test says so: the events of all workers arrive one at a
// time, as from one event loop, in an order the test chooses.
class TRunnerHub {
 public:
  class TRunner : public vx::IProcessRunner {
   public:
    TRunner(TRunnerHub& hub, int id) : Hub_(hub), Id(id) {}
    // A pool made again drops its runners: the hub forgets them.
    ~TRunner() override {
      Terminate();
      std::erase(Hub_.Runners, this);
    }
    void Run(const vx::TProcessCommand& command) override {
      Terminate();
      Hub_.Pending.push_back({this, command});
      ++Hub_.Started;
    }
    void Terminate() override {
      std::erase_if(Hub_.Pending, [this](const auto& p) { return p.first == this; });
      Deferred = nullptr;
    }
    bool Running() const override {
      for (const auto& p : Hub_.Pending)
        if (p.first == this) return true;
      return false;
    }
    void Defer(int, std::function<void()> fn) override { Deferred = std::move(fn); }
    std::function<void()> Deferred;
    std::string Env;  // extra environment for this runner's children only

   private:
    TRunnerHub& Hub_;

   public:
    const int Id;
  };

  // A factory for a pool; runner k is Runners[k].
  std::function<std::unique_ptr<vx::IProcessRunner>()> Factory() {
    return [this] {
      auto r = std::make_unique<TRunner>(*this, int(Runners.size()));
      Runners.push_back(r.get());
      return r;
    };
  }

  // Runs the child at position (from the oldest) to its end and reports it;
  // false when none waits.
  bool Complete(size_t position = 0) {
    if (position >= Pending.size()) return false;
    auto [runner, c] = Pending[position];
    Pending.erase(Pending.begin() + long(position));
    std::string cmd = "cd '" + c.Directory + "' && " + Env + " " + runner->Env + " '" + c.Program + "'";
    for (const auto& a : c.Arguments) cmd += " '" + a + "'";
    cmd += " >/dev/null 2>&1 </dev/null";
    const int status = std::system(cmd.c_str());
    if (runner->OnFinished) runner->OnFinished(status == 0 ? 0u : 1u);
    return true;
  }
  // Calls every deferred call waiting now (the built-in engines look for
  // their finished jobs this way); false when none waited.
  bool RunDeferred() {
    bool any = false;
    for (TRunner* r : Runners)
      if (auto fn = std::exchange(r->Deferred, nullptr)) {
        fn();
        any = true;
      }
    return any;
  }
  // Runs every child, newest first, until none is left.
  void DrainNewestFirst() {
    while (!Pending.empty()) Complete(Pending.size() - 1);
  }
  void Drain() {
    while (Complete()) {
    }
  }

  std::deque<std::pair<TRunner*, vx::TProcessCommand>> Pending;
  std::vector<TRunner*> Runners;
  int Started = 0;
  std::string Env = "true &&";
};

// A folder with a short path (the outside program limits the length of its
// data folder's path), removed by the destructor. Links inside are removed,
// never followed.
struct TShortFolder {
  std::string Path;
  TShortFolder() {
    char name[] = "/tmp/vxw-XXXXXX";
    Path = std::string(mkdtemp(name)) + "/";
  }
  ~TShortFolder() { std::filesystem::remove_all(Path); }
};

}  // namespace vxtest
