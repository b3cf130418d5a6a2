// Pictures a person can read without the window around them: the chart or
// the map enlarged by a whole factor, with its scales and legend drawn
// beside it in the built-in font and an optional block of title lines on
// top. The picture itself is copied unchanged (only enlarged), so the
// decorated picture always holds the plain one.
#pragma once

#include <string>
#include <vector>

#include "views/MapDraw.h"
#include "views/Raster.h"

namespace vx {

inline constexpr int kMaxPictureScale = 8;

struct TPictureDecor {
  int Scale = 1;                   // 1..kMaxPictureScale; each pixel a Scale x Scale block
  std::vector<std::string> Title;  // lines on top, Windows-1252; none: no title block
};

// The decorated picture and where the enlarged plain picture sits in it.
struct TDecoratedPicture {
  TRgbImage Image;
  int X = 0, Y = 0;
};

// Each pixel as a k x k block (k below 1 counts as 1).
TRgbImage ScaleImage(const TRgbImage& image, int k);

// The chart with the MHz scale and its title on the left, the UTC hours
// 0 to 24 below and the SNR colour scale (0 to 63 dB) under them.
TDecoratedPicture DecorateChart(const TRgbImage& chart, const TPictureDecor& decor);
// The map with the dB legend of its style below it.
TDecoratedPicture DecorateMap(const TRgbImage& map, TMapStyle style, const TPictureDecor& decor);
// Only the title block above the picture.
TDecoratedPicture TitledPicture(const TRgbImage& picture, const TPictureDecor& decor);

}  // namespace vx
