// The built-in program against the reference program, as whole processes on
// the same decks, run in turn so that both see the same machine: a point deck
// of 24 hours and a grid-61 area map. VX_REAL_VOACAPL names the reference
// program (VX_REAL_ITSHFBC its data folder, default ~/itshfbc); without it
// only vantor-voacap is timed. Counters: median_ms of each program and, with
// the reference, ratio = ours / reference (the target is 0.5 or less).
#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/FileUtil.h"

namespace fs = std::filesystem;

namespace {

std::string Env(const char* name, const std::string& fallback = {}) {
  const char* v = std::getenv(name);
  return v && *v ? v : fallback;
}

// A data folder for one program: the reference's is a copy of the user's
// (it needs its coefficients); ours needs only antennas and the run folders.
std::string Folder(const std::string& name, const std::string& copyOf) {
  const std::string f = (fs::temp_directory_path() / ("vx-bench-" + name)).string();
  fs::remove_all(f);
  if (!copyOf.empty()) {
    fs::copy(copyOf, f, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  } else {
    fs::create_directories(f + "/run");
    fs::create_directories(f + "/antennas/default");
  }
  fs::create_directories(f + "/areadata/bench");
  fs::create_directories(f + "/antennas/default");
  vx::WriteWholeFile(f + "/antennas/default/isotrope",
                     "ISOTROPE\n 2     2 parameters\n  0.00  [ 1] Max Gain dBi..:\n   0    [ 2] Antenna Type..:\n");
  fs::copy_file(VX_FIXTURES "/voacap/p2p/p2p01.dat", f + "/run/bench.dat", fs::copy_options::overwrite_existing);
  std::string area = *vx::ReadWholeFile(VX_FIXTURES "/voacap/area/x16.voa");
  area.replace(area.find("Gridsize :   16"), 15, "Gridsize :   61");
  vx::WriteWholeFile(f + "/areadata/bench/grid61.voa", area);
  return f;
}

double RunMs(const std::vector<std::string>& args) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    freopen("/dev/null", "r", stdin);
    freopen("/dev/null", "w", stdout);
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

void Compare(benchmark::State& state, bool area) {
  const std::string ours = VX_BIN_DIR "/vantor-voacap";
  const std::string real = Env("VX_REAL_VOACAPL");
  const std::string oursFolder = Folder("ours", "");
  const std::string realFolder = real.empty() ? "" : Folder("real", Env("VX_REAL_ITSHFBC", Env("HOME") + "/itshfbc"));
  const auto command = [&](const std::string& program, const std::string& folder) {
    return area ? std::vector<std::string>{program, "-s", folder, "area", "calc", "bench/grid61.voa"}
                : std::vector<std::string>{program, "-s", folder, "bench.dat", "bench.out"};
  };
  std::vector<double> oursMs, realMs;
  for (auto _ : state) {
    oursMs.push_back(RunMs(command(ours, oursFolder)));
    if (!real.empty()) realMs.push_back(RunMs(command(real, realFolder)));
  }
  state.counters["ours_median_ms"] = Median(oursMs);
  if (!real.empty()) {
    state.counters["reference_median_ms"] = Median(realMs);
    state.counters["ratio"] = Median(oursMs) / Median(realMs);
  }
}

void BM_PointDeck(benchmark::State& state) { Compare(state, false); }
void BM_AreaGrid61(benchmark::State& state) { Compare(state, true); }

}  // namespace

BENCHMARK(BM_PointDeck)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AreaGrid61)->Iterations(6)->Unit(benchmark::kMillisecond);
