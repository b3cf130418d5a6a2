// Chart and map drawing and GIF encoding against the baseline of one copy
// of the map's 360 x 180 x 3 bytes, measured in the same run.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "common/DayCount.h"
#include "views/ChartDraw.h"
#include "views/GifWriter.h"
#include "views/MapDraw.h"
#include "views/Pictures.h"

using namespace vx;

namespace {

// A grid with smooth hills and holes, like a real SNR field.
TVoaGrid Field(int n, int seed = 0) {
  TVoaGrid g = MakeGrid(n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      g[size_t(i)][size_t(j)].Snr = float(30 + 35 * std::sin(0.3 * i + 0.1 * seed) * std::cos(0.25 * j - 0.05 * seed));
  return g;
}

TPointResults Prediction() {
  TPointResults r;
  for (int f = 2; f <= 30; ++f)
    for (int h = 0; h < 25; ++h) r.Snr[f][h] = float((f * 7 + h * 3) % 70 - 5);
  for (int h = 0; h < 25; ++h) r.Muf[h] = float(12 + 8 * std::sin(h / 4.0));
  return r;
}

void BM_CopyMapBytes(benchmark::State& state) {
  const std::vector<uint8_t> src(360 * 180 * 3, 7);
  std::vector<uint8_t> dst(src.size());
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), src.size());
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(src.size()));
}
BENCHMARK(BM_CopyMapBytes);

void BM_RenderMap(benchmark::State& state) {
  const TNormGrid norm = BuildNormGrid(Field(int(state.range(0))));
  const TMapStyle style = TMapStyle(state.range(1));
  ColorImage(), MonoImage();  // decoded once, outside the loop
  TRgbImage out;
  for (auto _ : state) {
    RenderMap(norm, style, ColorImage(), MonoImage(), out);
    benchmark::DoNotOptimize(out.Bytes.data());
  }
}
BENCHMARK(BM_RenderMap)->ArgsProduct({{16, 31, 61}, {msColor, msPseudo}})->ArgNames({"grid", "style"});

void BM_PaintChart(benchmark::State& state) {
  const TPointResults r = Prediction();
  TRgbImage chart;
  for (auto _ : state) {
    PaintChart(r, TChartOptions{true, true}, chart);
    benchmark::DoNotOptimize(chart.Bytes.data());
  }
}
BENCHMARK(BM_PaintChart);

void BM_MapOverlays(benchmark::State& state) {
  TMapModel map;
  map.SetData(Field(31));
  TMapOverlays o;
  o.Sun = o.Path = true;
  o.SunTime = EncodeDayCount({2008, 6, 15, 12, 30, 0});
  o.Home = TLocation{-79 * 180, 44 * 180};
  o.Dx = TLocation{139 * 180, 35 * 180};
  for (auto _ : state) benchmark::DoNotOptimize(map.Compose(o).Bytes.data());
}
BENCHMARK(BM_MapOverlays);

void BM_GifOneMap(benchmark::State& state) {
  TMapModel map;
  map.MapStyle = TMapStyle(state.range(0));
  map.SetData(Field(31));
  size_t size = 0;
  for (auto _ : state) {
    auto gif = EncodeGif(map.MapBitmap);
    size = gif ? gif->size() : 0;
    benchmark::DoNotOptimize(size);
  }
  state.counters["bytes"] = double(size);
}
BENCHMARK(BM_GifOneMap)->Arg(msColor)->Arg(msGray)->Arg(msPseudo)->ArgName("style")->Unit(benchmark::kMillisecond);

// "Generate GIF's": render and encode 192 different maps (files not written).
void BM_Gif192Maps(benchmark::State& state) {
  std::vector<TVoaGrid> grids;
  for (int k = 0; k < 192; ++k) grids.push_back(Field(31, k));
  TMapModel map;
  map.MapStyle = TMapStyle(state.range(0));
  size_t total = 0;
  for (auto _ : state) {
    total = 0;
    for (const auto& g : grids) {
      map.SetData(g);
      auto gif = EncodeGif(map.MapBitmap);
      total += gif ? gif->size() : 0;
    }
    benchmark::DoNotOptimize(total);
  }
  state.counters["bytes"] = double(total);
}
BENCHMARK(BM_Gif192Maps)->Arg(msColor)->Arg(msPseudo)->ArgName("style")->Unit(benchmark::kMillisecond);

}  // namespace
