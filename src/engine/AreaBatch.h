// A list of area jobs run on a pool of workers into the area cache. Jobs
// start in the order of the list, each on the first free worker; a map the
// cache already holds is skipped when its turn comes. Every finished job is
// counted, whichever worker ran it; the file a job leaves in the cache is
// the one a single engine would have written (its inputs, its grid), and it
// is written whole or not at all.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/VoaTypes.h"
#include "engine/WorkerPool.h"

namespace vx {

struct TAreaJob {
  int32_t Hour = 0;
  int32_t Band = 0;
  bool LongPath = false;
  bool operator==(const TAreaJob&) const = default;
};

enum class TJobOutcome { Computed, Cached, Failed };

class TAreaBatch {
 public:
  enum TFailurePolicy {
    fpStop,     // the first failure ends the batch: running jobs are dropped
    fpContinue  // failed jobs are counted, the others go on
  };

  TAreaBatch(TVoaWorkerPool& pool, std::string cacheFolder);
  ~TAreaBatch();
  TAreaBatch(const TAreaBatch&) = delete;
  TAreaBatch& operator=(const TAreaBatch&) = delete;

  // Raised on the owner's thread as jobs start and end.
  std::function<void(int index)> OnJobStarted;
  std::function<void(int index, TJobOutcome outcome)> OnJobDone;
  // The batch is over: every job done, or stopped by a failure. Never after
  // Cancel, and never from inside Start.
  std::function<void()> OnFinished;

  // Every job gets base's inputs with its own hour, band and path. False
  // when no job had to run (all cached, or none): the batch is over then.
  // The pool must have been prepared.
  bool Start(const TVoaInputs& base, std::vector<TAreaJob> jobs, TFailurePolicy policy);
  // Ends every running job at once; no event follows.
  void Cancel();

  bool Running() const { return Running_; }
  int JobCount() const { return int(Jobs_.size()); }
  int Computed() const { return Computed_; }
  int Cached() const { return Cached_; }
  int Failed() const { return Failed_; }
  int Finished() const { return Computed_ + Cached_ + Failed_; }
  // The first failure: the status of the engine that failed (vsReady when
  // the map was computed but could not be stored) and what it could not do.
  TVoaStatus FailureStatus() const { return FailureStatus_; }
  const std::string& FailureDetail() const { return FailureDetail_; }

 private:
  void Dispatch();  // gives every free worker the next uncached job
  void WorkerDone(int worker, bool success);
  void Fail(TVoaStatus status, const std::string& detail);
  void Done(int index, TJobOutcome outcome);
  void Finish();

  TVoaWorkerPool& Pool_;
  std::string CacheFolder_;
  TVoaInputs Base_;
  std::vector<TAreaJob> Jobs_;
  std::vector<int> JobOf_;  // per worker: the job it runs, -1 when free
  TFailurePolicy Policy_ = fpStop;
  int Next_ = 0;
  int Computed_ = 0, Cached_ = 0, Failed_ = 0;
  bool Running_ = false;
  bool Dispatching_ = false;
  bool Starting_ = false;
  TVoaStatus FailureStatus_ = vsReady;
  std::string FailureDetail_;
};

}  // namespace vx
