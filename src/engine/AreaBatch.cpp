#include "engine/AreaBatch.h"

#include <algorithm>
#include <utility>

#include "engine/Cache.h"

namespace vx {

TAreaBatch::TAreaBatch(TVoaWorkerPool& pool, std::string cacheFolder)
    : Pool_(pool), CacheFolder_(std::move(cacheFolder)) {}

TAreaBatch::~TAreaBatch() {
  Cancel();
  for (int k = 0; k < Pool_.Size(); ++k) Pool_.Worker(k).OnPredict = Pool_.Worker(k).OnError = nullptr;
}

bool TAreaBatch::Start(const TVoaInputs& base, std::vector<TAreaJob> jobs, TFailurePolicy policy) {
  Cancel();
  Base_ = base;
  Jobs_ = std::move(jobs);
  Policy_ = policy;
  Next_ = Computed_ = Cached_ = Failed_ = 0;
  FailureStatus_ = vsReady;
  FailureDetail_.clear();
  JobOf_.assign(size_t(Pool_.Size()), -1);
  for (int k = 0; k < Pool_.Size(); ++k) {
    TVoaEngine& w = Pool_.Worker(k);
    w.OnPredict = [this, k](TVoaEngine&) { WorkerDone(k, true); };
    w.OnError = [this, k](TVoaEngine&) { WorkerDone(k, false); };
  }
  Running_ = Pool_.Size() > 0;
  Starting_ = true;
  Dispatch();
  Starting_ = false;
  if (Running_ && std::all_of(JobOf_.begin(), JobOf_.end(), [](int j) { return j < 0; })) Running_ = false;
  return Running_;
}

void TAreaBatch::Cancel() {
  if (!Running_) return;
  Running_ = false;
  Pool_.CancelAll();
  std::fill(JobOf_.begin(), JobOf_.end(), -1);
}

void TAreaBatch::Dispatch() {
  if (Dispatching_) return;  // a job that failed at once, inside the loop below
  Dispatching_ = true;
  while (Running_ && Next_ < JobCount()) {
    auto free = std::find(JobOf_.begin(), JobOf_.end(), -1);
    if (free == JobOf_.end()) break;
    const int index = Next_++;
    const TAreaJob& job = Jobs_[size_t(index)];
    TVoaInputs in = Base_;
    in.Hour = job.Hour;
    in.Band = job.Band;
    in.LongPath = job.LongPath;
    if (AreaCacheValid(CacheFolder_, Pool_.Worker(0).ReadAreaCacheKey(in))) {
      Done(index, TJobOutcome::Cached);
      continue;
    }
    const int k = int(free - JobOf_.begin());
    *free = index;
    TVoaEngine& w = Pool_.Worker(k);
    w.SetInputs(in);
    if (OnJobStarted) OnJobStarted(index);
    if (Running_) w.RunAreaPrediction();
  }
  Dispatching_ = false;
}

void TAreaBatch::WorkerDone(int worker, bool success) {
  if (!Running_ || JobOf_[size_t(worker)] < 0) return;
  const int index = std::exchange(JobOf_[size_t(worker)], -1);
  TVoaEngine& w = Pool_.Worker(worker);
  if (success) {
    if (w.SaveAreaCache(CacheFolder_)) {
      Done(index, TJobOutcome::Computed);
    } else {
      // The batch exists to fill the cache: a map it cannot store is a
      // failed job, not a computed one.
      Fail(vsReady, "Cannot write " + CacheFileName(CacheFolder_, w.JobInputs()) + ".");
      Done(index, TJobOutcome::Failed);
    }
  } else {
    Fail(w.Status(), w.FailureDetail());
    Done(index, TJobOutcome::Failed);
  }
  if (!Running_) return;
  if (Failed_ > 0 && Policy_ == fpStop) {
    Cancel();
    if (!Starting_ && OnFinished) OnFinished();
    return;
  }
  Dispatch();
  if (!Dispatching_ && Running_ && Next_ >= JobCount() &&
      std::all_of(JobOf_.begin(), JobOf_.end(), [](int j) { return j < 0; }))
    Finish();
}

void TAreaBatch::Fail(TVoaStatus status, const std::string& detail) {
  if (Failed_ > 0) return;  // the first failure is the one reported
  FailureStatus_ = status;
  FailureDetail_ = detail;
}

void TAreaBatch::Done(int index, TJobOutcome outcome) {
  switch (outcome) {
    case TJobOutcome::Computed: ++Computed_; break;
    case TJobOutcome::Cached: ++Cached_; break;
    case TJobOutcome::Failed: ++Failed_; break;
  }
  if (OnJobDone) OnJobDone(index, outcome);
}

void TAreaBatch::Finish() {
  Running_ = false;
  if (OnFinished) OnFinished();
}

}  // namespace vx
