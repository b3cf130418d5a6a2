// Output readers and the area cache against the cost of one pass over the
// same bytes in memory (the baseline every figure is compared with).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <numeric>

#include "common/FileUtil.h"
#include "common/TextUtil.h"
#include "engine/Cache.h"
#include "engine/VoaParse.h"

using namespace vx;

namespace {

std::string Fixture(const char* rel) { return ReadWholeFile(std::string(VX_FIXTURES) + "/voacap/" + rel).value_or(""); }

// A 61 x 61 grid file in the real layout, built from a real 16 x 16 file's
// lines with their indexes rewritten.
const std::string& Area61() {
  static const std::string text = [] {
    std::string x16 = Fixture("area/x16.vg1");
    auto lines = SplitLines(x16);
    std::string out =
        std::string(lines[0]) + "\n" + std::string(lines[1]) + "\n" + " 61 61" + std::string(lines[2].substr(6)) + "\n";
    size_t k = 3;
    for (int j = 1; j <= 61; ++j)
      for (int i = 1; i <= 61; ++i) {
        std::string l(lines[3 + (k++ % 256)]);
        l.replace(0, 6, FormatInt(i, 3) + FormatInt(j, 3));
        out += l + "\n";
      }
    return out;
  }();
  return text;
}

// One pass over the bytes: the floor any reader has to pay.
void OnePass(benchmark::State& state, const std::string& bytes) {
  for (auto _ : state) {
    size_t lines = 0;
    for (const char* p = bytes.data();
         (p = static_cast<const char*>(std::memchr(p, '\n', bytes.data() + bytes.size() - p))); ++p)
      ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void BM_PointOutput_OnePass(benchmark::State& s) { OnePass(s, Fixture("p2p/p2p02.out")); }
void BM_PointOutput_Parse(benchmark::State& state) {
  const std::string text = Fixture("p2p/p2p02.out");
  TPointResults r;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ParsePointText(text, r));
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void BM_Area61_OnePass(benchmark::State& s) { OnePass(s, Area61()); }
void BM_Area61_Parse(benchmark::State& state) {
  TVoaGrid g;
  for (auto _ : state) benchmark::DoNotOptimize(ParseAreaText(Area61(), g));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Area61().size()));
}

TVoaInputs Inputs61() {
  TVoaInputs in;
  in.GridSize = 61;
  return in;
}

TVoaGrid Grid61() {
  TVoaGrid g;
  ParseAreaText(Area61(), g);
  return g;
}

void BM_Cache61_OnePass(benchmark::State& s) { OnePass(s, EncodeCache(Inputs61(), Grid61())); }
void BM_Cache61_Encode(benchmark::State& state) {
  TVoaInputs in = Inputs61();
  TVoaGrid g = Grid61();
  for (auto _ : state) benchmark::DoNotOptimize(EncodeCache(in, g));
}
void BM_Cache61_Decode(benchmark::State& state) {
  TVoaInputs in = Inputs61();
  std::string bytes = EncodeCache(in, Grid61());
  TEngineKey key = EngineKey(in);
  TVoaGrid g;
  for (auto _ : state) benchmark::DoNotOptimize(DecodeCache(bytes, key, g));
}

std::string BenchFolder() {
  std::string f = std::filesystem::temp_directory_path().string() + "/vantor-bench-cache/";
  MakeDirectories(f);
  return f;
}

// Through the file system: the save writes a temporary file, syncs it and
// renames it over the old one.
void BM_Cache61_SaveFile(benchmark::State& state) {
  TVoaInputs in = Inputs61();
  TVoaGrid g = Grid61();
  std::string folder = BenchFolder();
  for (auto _ : state) benchmark::DoNotOptimize(SaveAreaCache(folder, in, g));
}
void BM_Cache61_LoadFile(benchmark::State& state) {
  TVoaInputs in = Inputs61();
  std::string folder = BenchFolder();
  SaveAreaCache(folder, in, Grid61());
  TVoaGrid g;
  for (auto _ : state) benchmark::DoNotOptimize(LoadAreaCache(folder, in, g));
}

}  // namespace

BENCHMARK(BM_PointOutput_OnePass);
BENCHMARK(BM_PointOutput_Parse);
BENCHMARK(BM_Area61_OnePass);
BENCHMARK(BM_Area61_Parse);
BENCHMARK(BM_Cache61_OnePass);
BENCHMARK(BM_Cache61_Encode);
BENCHMARK(BM_Cache61_Decode);
BENCHMARK(BM_Cache61_SaveFile);
BENCHMARK(BM_Cache61_LoadFile);
