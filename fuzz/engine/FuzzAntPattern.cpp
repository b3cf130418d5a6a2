// Any bytes as an antenna model file, then everything the viewer computes
// from an accepted pattern.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/AntPattern.h"
#include "engine/AntView.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto pattern = vx::ParseAntennaPattern(bytes);
  if (!pattern) return 0;
  const size_t rows = pattern->AntennaType == 13 ? 360 : pattern->AntennaType == 14 ? 31 : 0;
  if (pattern->Pattern.size() != rows) std::abort();
  for (const auto& row : pattern->Pattern) {
    if (row.size() != 91) std::abort();
    for (float g : row)
      if (!std::isfinite(g)) std::abort();
  }
  vx::TAntennaView view;
  view.CutFrequency = size % 40;  // also rows the table lacks
  view.Load(*pattern);
  view.Readouts();
  view.SpinSetup();
  for (auto cut : {vx::TPatternCut::pcVertical, vx::TPatternCut::pcHorizontal}) {
    view.Cut = cut;
    view.SpinChanged(int32_t(size % 400) - 20);
    for (const auto& p : view.Curve(150, 150))
      if (p.X < 0 || p.Y < 0 || p.X > 150 || p.Y > 150) std::abort();
    for (int32_t x = -5; x < 160; x += 11)
      for (int32_t y = -5; y < 160; y += 13) view.MouseReadout(150, 150, x, y);
  }
  return 0;
}
