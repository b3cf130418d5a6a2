// The map's pictures, built into the program from data/pictures/ (made by
// tools/worldpics): a colour world map and a two-colour outline map, both
// 360 x 180 with -180° at the left edge, and the 9 x 9 sun marker.
#pragma once

#include "views/Raster.h"

namespace vx {

const TRgbImage& ColorImage();
const TRgbImage& MonoImage();
const TRgbImage& SunImage();

}  // namespace vx
