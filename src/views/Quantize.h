// Palette images: a 24-bit picture reduced to at most 256 colours. Pictures
// that already have so few colours (the gray and pseudo-colour maps) keep
// them exactly; others go through giflib's median-cut quantizer.
#pragma once

#include <cstdint>
#include <vector>

#include "views/Raster.h"

namespace vx {

struct TIndexedImage {
  int Width = 0;
  int Height = 0;
  std::vector<TRgb> Palette;     // 1..256 colours
  std::vector<uint8_t> Indices;  // Width x Height, rows top to bottom
};

// The exact palette when the picture has at most 256 colours, in order of
// first appearance; otherwise false.
bool ExactPalette(const TRgbImage& image, TIndexedImage& out);
// Never fails for a non-empty picture; false only when it is empty or the
// quantizer reports an error.
bool QuantizeImage(const TRgbImage& image, TIndexedImage& out);

}  // namespace vx
