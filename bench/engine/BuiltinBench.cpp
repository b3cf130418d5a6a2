// The built-in engine in memory against the programs it replaces, measured
// in the same run on the same machine:
//   Soak      many charts in one process: peak memory after the first 100
//             and after all (VX_SOAK_COUNT, default 10000);
//   Point     one chart (24 hours) by RunModelPoint, against vantor-voacap
//             and the reference program as processes on the same deck;
//   Area61    one grid-61 map by RunModelArea on one thread and on every
//             core, against the same area deck run by the processes;
//   Day       a day of grid-61 maps (8 bands x 24 hours, VX_BENCH_MAPS
//             takes the first few) through the batch on a pool of built-in
//             workers, against the batch on a pool of reference programs.
// VX_REAL_VOACAPL names the reference program and VX_REAL_ITSHFBC its data
// folder (default ~/itshfbc); without them the reference halves are left
// out. Every program runs on one copy of that data folder with the same
// antennas. Ratios are ours / theirs of wall times (medians); *_cpu_ms are
// CPU times (this process, or the ended children for the programs), which
// a busy machine disturbs less. Day reports maps_per_s of each pool and
// speedup = ours / theirs. Soak runs first: its peak is the process's.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/FileUtil.h"
#include "engine/Antennas.h"
#include "engine/AreaBatch.h"
#include "engine/Decks.h"
#include "engine/Locator.h"
#include "engine/ModelFiles.h"
#include "engine/ModelRun.h"
#include "engine/Process.h"
#include "engine/VoaEng.h"
#include "engine/WorkerPool.h"

using namespace vx;
namespace fs = std::filesystem;

namespace {

using TClock = std::chrono::steady_clock;

std::string Env(const char* name, const std::string& fallback = {}) {
  const char* v = std::getenv(name);
  return v && *v ? v : fallback;
}

int EnvCount(const char* name, int fallback) {
  const std::string v = Env(name);
  const int n = v.empty() ? fallback : std::atoi(v.c_str());
  return n > 0 ? n : fallback;
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "builtin_bench: %s\n", what.c_str());
  std::exit(1);
}

double Ms(TClock::time_point since) { return std::chrono::duration<double, std::milli>(TClock::now() - since).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// CPU time (user and system) of this process or of its ended children, in
// milliseconds: a figure the other work on a shared machine disturbs less
// than wall time.
double CpuMs(int who) {
  rusage u{};
  getrusage(who, &u);
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

long PeakKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

struct TRemovedAtExit {
  std::string Folder;
  ~TRemovedAtExit() {
    std::error_code ec;
    fs::remove_all(Folder, ec);
  }
};

struct TSetup {
  std::string Root;        // with its trailing separator
  std::string DataFolder;  // every program's data folder, with its trailing separator
  std::string Reference;   // the reference program, or ""
  TAlStringList AntennaFiles;
  std::shared_ptr<const model::TModelData> Data;
  TVoaInputs Inputs;
};

// The data folder: a copy of the reference's (it needs its coefficients),
// else the folders vantor-voacap writes into; the isotrope and two shipped
// dipoles in the engine's antenna folder.
const TSetup& Setup() {
  static const TSetup setup = [] {
    TSetup s;
    char name[] = "/tmp/vxbb-XXXXXX";
    if (!mkdtemp(name)) Fail("cannot make a temporary folder");
    s.Root = std::string(name) + "/";
    static const TRemovedAtExit removed{s.Root};
    s.DataFolder = s.Root + "itshfbc/";
    s.Reference = Env("VX_REAL_VOACAPL");
    if (!s.Reference.empty()) {
      std::string from = Env("VX_REAL_ITSHFBC", Env("HOME") + "/itshfbc");
      fs::copy(from, s.DataFolder, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    }
    MakeDirectories(s.DataFolder + "run");
    MakeDirectories(s.DataFolder + "database");
    MakeDirectories(s.DataFolder + TVoacapFiles::AreaFolder);
    const std::string antennas = s.DataFolder + TVoacapFiles::AntennaFolder;
    MakeDirectories(antennas);
    for (const char* file : {"Dipole20m.N13", "Dipole55.N14"}) {
      auto bytes = ReadWholeFile(std::string(VX_SOURCE_DIR) + "/data/antennas/" + file);
      if (!bytes || !WriteWholeFile(antennas + file, *bytes)) Fail(std::string("cannot copy ") + file);
    }
    std::vector<std::string> names;
    if (!LoadAntennaList(antennas, s.AntennaFiles, names)) Fail("cannot read the antennas");
    if (!FileExists(s.DataFolder + TVoacapFiles::VersionFile))
      WriteWholeFile(s.DataFolder + TVoacapFiles::VersionFile, "Version 16.1207W\n");

    std::string error;
    s.Data = SharedModelData(FindModelData(), error);
    if (!s.Data) Fail("model data: " + error);

    // Toronto to London in a March of 100 sunspots, a dipole at each end.
    TVoaInputs& in = s.Inputs;
    in.TxLat = 44 * 180, in.TxLon = -79 * 180;
    in.RxLat = 51 * 180 + 90, in.RxLon = 0;
    in.Year = 2026, in.Month = 3, in.Ssn = 100, in.TxPower = 400;
    for (int b = 0; b < kBandCount; ++b) {
      in.TxAntenna[b] = s.AntennaFiles.IndexOf("Dipole20m.N13");
      in.RxAntenna[b] = s.AntennaFiles.IndexOf("Dipole55.N14");
    }
    in.GridSize = 61;
    in.Band = 4;  // 14 MHz
    in.Hour = 18;
    return s;
  }();
  return setup;
}

TModelJob Job(int threads) {
  const TSetup& s = Setup();
  return TModelJob{s.Inputs, s.AntennaFiles, s.DataFolder, s.Data, threads};
}

// One run of a program on the deck of the inputs, as the engine runs it;
// its time in milliseconds. The output must be there afterwards.
double ProcessMs(const std::string& program, bool area) {
  const TSetup& s = Setup();
  const auto deck = area ? BuildAreaDeck(s.Inputs, s.AntennaFiles) : BuildPointDeck(s.Inputs, s.AntennaFiles);
  const std::string deckFile = s.DataFolder + (area ? TVoacapFiles::AreaDeck : TVoacapFiles::PointDeck);
  const std::string output = s.DataFolder + (area ? TVoacapFiles::AreaOutput : TVoacapFiles::PointOutput);
  if (!deck || !WriteWholeFile(deckFile, *deck)) Fail("cannot write " + deckFile);
  RemoveFile(output);
  const TProcessCommand c = VoacapCommand({program, s.DataFolder}, area);
  const auto start = TClock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(c.Directory.c_str()) != 0) _exit(127);
    std::vector<char*> argv{const_cast<char*>(c.Program.c_str())};
    for (const auto& a : c.Arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    freopen("/dev/null", "r", stdin);
    freopen("/dev/null", "w", stdout);
    execv(c.Program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  const double ms = Ms(start);
  const auto written = ReadWholeFile(output);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !written || written->empty())
    Fail(program + " did not run the " + (area ? "area" : "point") + " deck");
  return ms;
}

const std::string& OursProgram() {
  static const std::string program = VX_BIN_DIR "/vantor-voacap";
  return program;
}

struct TProcessFigures {
  double MedianMs = 0, CpuMs = 0;  // CPU: the mean of the runs
};

TProcessFigures ProcessFigures(const std::string& program, bool area, int runs) {
  std::vector<double> ms;
  const double cpu = CpuMs(RUSAGE_CHILDREN);
  for (int k = 0; k < runs; ++k) ms.push_back(ProcessMs(program, area));
  return {Median(ms), (CpuMs(RUSAGE_CHILDREN) - cpu) / runs};
}

// Our figures beside those of vantor-voacap and the reference program on
// the same deck.
void CompareWithProcesses(benchmark::State& state, double oursMs, double oursCpuMs, bool area, int runs) {
  state.counters["ours_ms"] = oursMs;
  state.counters["ours_cpu_ms"] = oursCpuMs;
  const TProcessFigures process = ProcessFigures(OursProgram(), area, runs);
  state.counters["vantor_voacap_ms"] = process.MedianMs;
  state.counters["vantor_voacap_cpu_ms"] = process.CpuMs;
  state.counters["ratio_to_vantor_voacap"] = oursMs / process.MedianMs;
  if (Setup().Reference.empty()) return;
  const TProcessFigures reference = ProcessFigures(Setup().Reference, area, runs);
  state.counters["reference_ms"] = reference.MedianMs;
  state.counters["reference_cpu_ms"] = reference.CpuMs;
  state.counters["ratio_to_reference"] = oursMs / reference.MedianMs;
  state.counters["cpu_ratio_to_reference"] = oursCpuMs / reference.CpuMs;
}

// Many charts in one process; the inputs go round 50 paths so that the
// first 100 have seen every one.
void BM_Soak(benchmark::State& state) {
  const int count = EnvCount("VX_SOAK_COUNT", 10000);
  TModelJob job = Job(1);
  TPointResults out;
  std::string detail;
  long after100 = 0;
  const auto start = TClock::now();
  for (auto _ : state) {
    for (int k = 0; k < count; ++k) {
      job.Inputs.RxLat = ((k % 50) * 7 - 170) * 180 / 2;  // -85 .. +86 degrees
      job.Inputs.RxLon = ((k % 50) * 71 % 360 - 180) * 180;
      job.Inputs.Month = 1 + k % 12;
      job.Inputs.LongPath = (k % 5) == 4;
      if (RunModelPoint(job, nullptr, out, detail) != vsReady) Fail("chart: " + detail);
      if (k + 1 == 100) after100 = PeakKb();
    }
  }
  const long after = PeakKb();
  state.counters["charts"] = count;
  state.counters["ms_per_chart"] = Ms(start) / count;
  state.counters["peak_kb_after_100"] = double(after100);
  state.counters["peak_kb_after_all"] = double(after);
  state.counters["growth_kb"] = double(after - after100);
}

void BM_Point(benchmark::State& state) {
  // The hours shared among the cores, as the engine runs a chart.
  const TModelJob job = Job(CoreCount());
  TPointResults out;
  std::string detail;
  std::vector<double> ms;
  const double cpu = CpuMs(RUSAGE_SELF);
  for (auto _ : state) {
    const auto start = TClock::now();
    if (RunModelPoint(job, nullptr, out, detail) != vsReady) Fail("chart: " + detail);
    ms.push_back(Ms(start));
  }
  const double oursCpu = (CpuMs(RUSAGE_SELF) - cpu) / double(state.iterations());
  CompareWithProcesses(state, Median(ms), oursCpu, false, 15);
}

// Threads 0: one per core.
void BM_Area61(benchmark::State& state) {
  const TModelJob job = Job(state.range(0) > 0 ? int(state.range(0)) : CoreCount());
  TVoaGrid out;
  std::string detail;
  std::vector<double> ms;
  const double cpu = CpuMs(RUSAGE_SELF);
  for (auto _ : state) {
    const auto start = TClock::now();
    if (RunModelArea(job, nullptr, out, detail) != vsReady) Fail("map: " + detail);
    ms.push_back(Ms(start));
  }
  const double oursCpu = (CpuMs(RUSAGE_SELF) - cpu) / double(state.iterations());
  state.counters["threads"] = job.Threads;
  CompareWithProcesses(state, Median(ms), oursCpu, true, 3);
}

// The engines hand their results over on the Qt runner's thread: the batch
// needs an event loop.
QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "builtin_bench";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

// The maps of the day, hour by hour, every band in each hour.
std::vector<TAreaJob> DayJobs() {
  std::vector<TAreaJob> jobs;
  for (int h = 0; h < 24; ++h)
    for (int b = 0; b < kBandCount; ++b) jobs.push_back({h, b, false});
  jobs.resize(size_t(std::min(EnvCount("VX_BENCH_MAPS", int(jobs.size())), int(jobs.size()))));
  return jobs;
}

// Runs the jobs on a pool of the user's engine into an empty cache; the
// wall time in seconds, without making the pool.
double RunDay(TVoaEngine& user, const std::string& cache, const std::vector<TAreaJob>& jobs, int& workers) {
  App();
  if (user.Status() == vsNotFound) user.CheckInstallation();
  if (user.Status() != vsReady) Fail(std::string("engine: ") + user.StatusText());
  user.SetInputs(Setup().Inputs);
  TVoaWorkerPool pool(MakeProcessRunner, TWorkerPoolSetup{CoreCount(), {Setup().Root + "w/"}});
  std::string error;
  if (!pool.Prepare(user, error)) Fail("pool: " + error);
  workers = pool.Size();
  fs::remove_all(cache);
  MakeDirectories(cache);
  TAreaBatch batch(pool, cache);
  QEventLoop loop;
  batch.OnFinished = [&] { loop.quit(); };
  const auto start = TClock::now();
  if (batch.Start(Setup().Inputs, jobs, TAreaBatch::fpStop)) loop.exec();
  const double seconds = Ms(start) / 1000;
  if (batch.Computed() != int(jobs.size()))
    Fail("batch: " + std::to_string(batch.Computed()) + " of " + std::to_string(jobs.size()) + " computed (" +
         batch.FailureDetail() + ")");
  return seconds;
}

void BM_Day(benchmark::State& state) {
  const std::vector<TAreaJob> jobs = DayJobs();
  const TSetup& s = Setup();
  App();
  double ours = 0;
  int workers = 0;
  const double cpu = CpuMs(RUSAGE_SELF);
  for (auto _ : state) {
    TVoaEngine user(std::make_unique<TProcess>(), {"", s.DataFolder, 0, TEngineChoice::Builtin});
    ours = RunDay(user, s.Root + "cache-ours/", jobs, workers);
    state.SetIterationTime(ours);
  }
  const double n = double(jobs.size());
  state.counters["maps"] = n;
  state.counters["workers"] = workers;
  state.counters["ours_maps_per_s"] = n / ours;
  state.counters["ours_cpu_ms_per_map"] = (CpuMs(RUSAGE_SELF) - cpu) / n;
  if (!s.Reference.empty()) {
    TVoaEngine user(std::make_unique<TProcess>(), {s.Reference, s.DataFolder, 0, TEngineChoice::Voacapl});
    int referenceWorkers = 0;
    const double childCpu = CpuMs(RUSAGE_CHILDREN);
    const double reference = RunDay(user, s.Root + "cache-reference/", jobs, referenceWorkers);
    state.counters["reference_workers"] = referenceWorkers;
    state.counters["reference_maps_per_s"] = n / reference;
    state.counters["reference_cpu_ms_per_map"] = (CpuMs(RUSAGE_CHILDREN) - childCpu) / n;
    state.counters["speedup"] = reference / ours;
  }
}

}  // namespace

BENCHMARK(BM_Soak)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Point)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Area61)->ArgName("threads")->Arg(1)->Arg(0)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Day)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
