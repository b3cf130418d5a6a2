// The batch on a pool of workers: its wall time against the ideal, the sum
// of the same jobs run one at a time divided by the number of workers
// (measured in the same run). The stand-in program with a fixed delay runs
// the jobs; VX_REAL_VOACAPL (and VX_REAL_ITSHFBC, default ~/itshfbc) name a
// real program and its data folder to measure that instead.
//
// Counters: ratio (wall / ideal, 1.0 is perfect), ideal_s, peak_kb (this
// process) and child_peak_kb (the largest child).
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <thread>

#include "common/FileUtil.h"
#include "engine/AreaBatch.h"
#include "engine/WorkerPool.h"

using namespace vx;
namespace fs = std::filesystem;

namespace {

// A process runner without an event loop: children are started with
// fork/exec and their ends collected by Poll(), on the benchmark's thread.
class TPollRunner : public IProcessRunner {
 public:
  static std::vector<TPollRunner*>& All() {
    static std::vector<TPollRunner*> all;
    return all;
  }
  TPollRunner() { All().push_back(this); }
  ~TPollRunner() override {
    Terminate();
    std::erase(All(), this);
  }
  void Run(const TProcessCommand& c) override {
    Terminate();
    Pid_ = fork();
    if (Pid_ == 0) {
      if (chdir(c.Directory.c_str()) != 0) _exit(127);
      std::vector<char*> argv{const_cast<char*>(c.Program.c_str())};
      for (const auto& a : c.Arguments) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      freopen("/dev/null", "r", stdin);
      freopen("/dev/null", "w", stdout);
      execv(c.Program.c_str(), argv.data());
      _exit(127);
    }
  }
  void Terminate() override {
    if (Pid_ <= 0) return;
    kill(Pid_, SIGKILL);
    waitpid(Pid_, nullptr, 0);
    Pid_ = -1;
  }
  bool Running() const override { return Pid_ > 0; }
  void Defer(int ms, std::function<void()> fn) override {
    DeferredAt_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    Deferred_ = std::move(fn);
  }
  // Reports a finished child or makes a due deferred call.
  void Poll() {
    if (Pid_ > 0) {
      int status = 0;
      if (waitpid(Pid_, &status, WNOHANG) == Pid_) {
        Pid_ = -1;
        if (OnFinished) OnFinished(WIFEXITED(status) ? uint32_t(WEXITSTATUS(status)) : kExitCodeCrashed);
      }
    }
    if (Deferred_ && std::chrono::steady_clock::now() >= DeferredAt_) std::exchange(Deferred_, nullptr)();
  }

 private:
  pid_t Pid_ = -1;
  std::function<void()> Deferred_;
  std::chrono::steady_clock::time_point DeferredAt_;
};

struct TSetup {
  std::string Program, UserFolder, Root, Cache;
  bool Real = false;
};

const TSetup& Setup() {
  static const TSetup setup = [] {
    TSetup s;
    char name[] = "/tmp/vxb-XXXXXX";
    const std::string root = std::string(mkdtemp(name)) + "/";
    s.Root = root + "w/";
    s.Cache = root + "cache/";
    if (const char* real = std::getenv("VX_REAL_VOACAPL"); real && real[0]) {
      s.Real = true;
      s.Program = real;
      const char* data = std::getenv("VX_REAL_ITSHFBC");
      s.UserFolder = data && data[0] ? data : std::string(std::getenv("HOME")) + "/itshfbc/";
    } else {
      s.Program = VX_FAKE_VOACAP;
      s.UserFolder = root + "itshfbc/";
      MakeDirectories(s.UserFolder + "run");
      MakeDirectories(s.UserFolder + "database");
      WriteWholeFile(s.UserFolder + "database/version.w32", "Version 16.1207W\n");
      setenv("VOACAP_FAKE_DELAY_MS", "200", 1);  // about a grid-61 run of the real program
    }
    if (s.UserFolder.back() != '/') s.UserFolder += '/';
    return s;
  }();
  return setup;
}

TVoaEngine& User() {
  static TVoaEngine user(nullptr, TVoacapSetup{Setup().Program, Setup().UserFolder});
  if (user.Status() == vsNotFound) user.CheckInstallation();
  return user;
}

// A prepared pool per worker count, made outside the timed part.
TVoaWorkerPool& Pool(int workers) {
  static std::map<int, std::unique_ptr<TVoaWorkerPool>> pools;
  auto& pool = pools[workers];
  if (!pool) {
    pool = std::make_unique<TVoaWorkerPool>([] { return std::make_unique<TPollRunner>(); },
                                            TWorkerPoolSetup{workers, {Setup().Root}});
    std::string error;
    if (!pool->Prepare(User(), error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      std::exit(1);
    }
  }
  return *pool;
}

// Runs jobs first..first+count-1 to their end (nothing cached) and returns
// the wall time in seconds.
double RunBatch(int workers, int grid, int first, int jobCount) {
  const TSetup& s = Setup();
  fs::remove_all(s.Cache);
  MakeDirectories(s.Cache);
  TVoaWorkerPool& pool = Pool(workers);
  TVoaInputs base = User().Inputs();
  base.TxLat = 44 * 180, base.TxLon = -79 * 180, base.Year = 2024, base.Month = 3, base.Ssn = 100;
  base.GridSize = grid;
  std::vector<TAreaJob> jobs;
  for (int k = first; k < first + jobCount; ++k) jobs.push_back({k / kBandCount, k % kBandCount, false});
  TAreaBatch batch(pool, s.Cache);
  const auto start = std::chrono::steady_clock::now();
  if (batch.Start(base, jobs, TAreaBatch::fpStop))
    while (batch.Running()) {
      for (auto* r : std::vector<TPollRunner*>(TPollRunner::All())) r->Poll();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (batch.Computed() != jobCount) {
    std::fprintf(stderr, "batch: %d of %d computed (%s)\n", batch.Computed(), jobCount, batch.FailureDetail().c_str());
    std::exit(1);
  }
  return seconds;
}

int JobCount() { return 4 * CoreCount(); }

// Figures on a shared machine: the best of a few passes.
constexpr int kPasses = 3;

// The sum of the single runs: every job alone, one after the other,
// measured once per grid.
double SumOfSingleRuns(int grid) {
  static std::map<int, double> sums;
  if (!sums.count(grid)) {
    double best = 1e30;
    for (int pass = 0; pass < kPasses; ++pass) {
      double sum = 0;
      for (int k = 0; k < JobCount(); ++k) sum += RunBatch(1, grid, k, 1);
      best = std::min(best, sum);
    }
    sums[grid] = best;
  }
  return sums[grid];
}

long PeakKb(int who) {
  rusage u{};
  getrusage(who, &u);
  return u.ru_maxrss;
}

void BM_Batch(benchmark::State& state) {
  const int grid = int(state.range(0));
  const int workers = state.range(1) > 0 ? int(state.range(1)) : CoreCount();
  const double ideal = SumOfSingleRuns(grid) / workers;
  double wall = 0;
  for (auto _ : state) {
    wall = 1e30;
    for (int pass = 0; pass < kPasses; ++pass) wall = std::min(wall, RunBatch(workers, grid, 0, JobCount()));
    state.SetIterationTime(wall);
  }
  state.counters["workers"] = workers;
  state.counters["jobs"] = JobCount();
  state.counters["ideal_s"] = ideal;
  state.counters["ratio"] = wall / ideal;
  state.counters["peak_kb"] = double(PeakKb(RUSAGE_SELF));
  state.counters["child_peak_kb"] = double(PeakKb(RUSAGE_CHILDREN));
  state.SetLabel(Setup().Real ? "real program" : "stand-in, 200 ms a run");
}

}  // namespace

// Workers 0 = every core.
BENCHMARK(BM_Batch)
    ->ArgNames({"grid", "workers"})
    ->ArgsProduct({{16, 61}, {1, 2, 0}})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
