// The built-in engine in memory against the programs it replaces, measured
// in the same run on the same machine:
//   Soak      many charts in one process: peak memory after the first 100
//             and after all (VX_SOAK_COUNT, default 10000);
//   Point     one chart (24 hours) by RunModelPoint, against vantor-voacap
//             and the reference program as processes on the same deck;
//   Area61    one grid-61 map by RunModelArea on every core, against the
//             same area deck run by the processes;
//   Day       a day of grid-61 maps (8 bands x 24 hours, VX_BENCH_MAPS
//             takes the first few) through the batch on a pool of built-in
//             workers, against the batch on a pool of reference programs.
// VX_REAL_VOACAPL names the reference program and VX_REAL_ITSHFBC its data
// folder (default ~/itshfbc); without them the reference halves are left
// out. Every program runs on one copy of that data folder with the same
// antennas. Ratios are ours / theirs for times and ours / theirs for
// throughput (maps_per_s). Soak runs first: its peak is the process's.
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

double MedianProcessMs(const std::string& program, bool area, int runs) {
  std::vector<double> ms;
  for (int k = 0; k < runs; ++k) ms.push_back(ProcessMs(program, area));
  return Median(ms);
}

const std::string& OursProgram() {
  static const std::string program = VX_BIN_DIR "/vantor-voacap";
  return program;
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
  const TModelJob job = Job(1);
  TPointResults out;
  std::string detail;
  std::vector<double> ms;
  for (auto _ : state) {
    const auto start = TClock::now();
    if (RunModelPoint(job, nullptr, out, detail) != vsReady) Fail("chart: " + detail);
    ms.push_back(Ms(start));
  }
  const double ours = Median(ms);
  const double process = MedianProcessMs(OursProgram(), false, 15);
  state.counters["ours_ms"] = ours;
  state.counters["vantor_voacap_ms"] = process;
  state.counters["ratio_to_vantor_voacap"] = ours / process;
  if (!Setup().Reference.empty()) {
    const double reference = MedianProcessMs(Setup().Reference, false, 15);
    state.counters["reference_ms"] = reference;
    state.counters["ratio_to_reference"] = ours / reference;
  }
}

void BM_Area61(benchmark::State& state) {
  const TModelJob job = Job(CoreCount());
  TVoaGrid out;
  std::string detail;
  std::vector<double> ms;
  for (auto _ : state) {
    const auto start = TClock::now();
    if (RunModelArea(job, nullptr, out, detail) != vsReady) Fail("map: " + detail);
    ms.push_back(Ms(start));
  }
  const double ours = Median(ms);
  const double process = MedianProcessMs(OursProgram(), true, 3);
  state.counters["threads"] = job.Threads;
  state.counters["ours_ms"] = ours;
  state.counters["vantor_voacap_ms"] = process;
  state.counters["ratio_to_vantor_voacap"] = ours / process;
  if (!Setup().Reference.empty()) {
    const double reference = MedianProcessMs(Setup().Reference, true, 3);
    state.counters["reference_ms"] = reference;
    state.counters["ratio_to_reference"] = ours / reference;
  }
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
  for (auto _ : state) {
    TVoaEngine user(std::make_unique<TProcess>(), {"", s.DataFolder, 0, TEngineChoice::Builtin});
    ours = RunDay(user, s.Root + "cache-ours/", jobs, workers);
    state.SetIterationTime(ours);
  }
  const double n = double(jobs.size());
  state.counters["maps"] = n;
  state.counters["workers"] = workers;
  state.counters["ours_maps_per_s"] = n / ours;
  if (!s.Reference.empty()) {
    TVoaEngine user(std::make_unique<TProcess>(), {s.Reference, s.DataFolder, 0, TEngineChoice::Voacapl});
    int referenceWorkers = 0;
    const double reference = RunDay(user, s.Root + "cache-reference/", jobs, referenceWorkers);
    state.counters["reference_workers"] = referenceWorkers;
    state.counters["reference_maps_per_s"] = n / reference;
    state.counters["speedup"] = reference / ours;
  }
}

}  // namespace

BENCHMARK(BM_Soak)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Point)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Area61)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Day)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
