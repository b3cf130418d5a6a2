// A pool of engines that run area jobs side by side: for voacapl each in a
// private data folder made from the user's (engine/WorkerFolder.h); for the
// built-in engine in memory, one map per worker thread. The pool knows no
// process: the front end hands it a factory of process runners, so the
// window and vantor-cli use the Qt runner and tests a stand-in.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/ProcessRunner.h"
#include "engine/VoaEng.h"

namespace vx {

using TRunnerFactory = std::function<std::unique_ptr<IProcessRunner>()>;

// The most workers a pool makes, whatever is asked.
inline constexpr int kMaxWorkers = 64;

// The number of cores, at least 1.
int CoreCount();

struct TWorkerPoolSetup {
  int Workers = 0;                 // 0: the user's setting, else the number of cores
  std::vector<std::string> Bases;  // where worker folders may go; empty: the default places
};

class TVoaWorkerPool {
 public:
  explicit TVoaWorkerPool(TRunnerFactory makeRunner, TWorkerPoolSetup setup = {});
  ~TVoaWorkerPool();
  TVoaWorkerPool(const TVoaWorkerPool&) = delete;
  TVoaWorkerPool& operator=(const TVoaWorkerPool&) = delete;

  // Makes (or repairs) the worker folders for the user's engine, which must
  // have found a usable installation, and an engine checked in each. The engines are kept while the
  // installation and the antenna list stay the same. When no short enough
  // place exists for private folders, one worker runs in the user's own
  // folder (taking turns with the user's engine through the folder's lock).
  // Not while a job runs. False with a message for the user.
  bool Prepare(const TVoaEngine& user, std::string& error);

  int Size() const { return int(Workers_.size()); }
  // The number of workers the last Prepare was asked for; Size() is smaller
  // when no place for private folders was found.
  int Wanted() const { return Wanted_; }
  TVoaEngine& Worker(int k) { return *Workers_[size_t(k)]; }
  // The folder set the workers use; "" when the one worker runs in the
  // user's folder.
  const std::string& FolderSet() const { return FolderSet_; }
  // Kills every child at once; no engine raises an event for it.
  void CancelAll();
  bool Running() const;

 private:
  int WantedCount(const TVoaEngine& user) const;
  bool PrepareBuiltin(const TVoaEngine& user, int count, std::string& error);

  TRunnerFactory MakeRunner_;
  TWorkerPoolSetup Setup_;
  std::vector<std::unique_ptr<TVoaEngine>> Workers_;
  std::string Program_, UserFolder_, FolderSet_;
  int Wanted_ = 0;
  // A folder set in the temporary folder is removed with the pool.
  bool TempSet_ = false;
  bool Builtin_ = false;
};

}  // namespace vx
