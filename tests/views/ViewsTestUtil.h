// Helpers of the drawing tests: grids made from a formula, colours counted.
#pragma once

#include "engine/VoaTypes.h"
#include "support/QueuedRunners.h"
#include "support/VoacapFolder.h"
#include "views/Raster.h"

namespace vxtest {

// A grid whose SNR at [i][j] is f(i, j).
template <class F>
vx::TVoaGrid GridOf(int n, F f) {
  vx::TVoaGrid g = vx::MakeGrid(n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) g[size_t(i)][size_t(j)].Snr = float(f(i, j));
  return g;
}

inline int CountColour(const vx::TRgbImage& img, vx::TRgb c) {
  int n = 0;
  for (int y = 0; y < img.Height; ++y)
    for (int x = 0; x < img.Width; ++x) n += img.Pixel(x, y) == c;
  return n;
}

}  // namespace vxtest
