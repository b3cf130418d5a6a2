// The map's background pictures, made from public-domain data: the colour
// world map reduced from a large equirectangular picture, the outline map
// drawn from Micro World Data Bank II line files, and the sun marker.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "views/Quantize.h"
#include "views/Raster.h"

namespace vx::worldpics {

// Each output pixel is the average of the source area it covers, partly
// covered source pixels weighted by the part covered.
TRgbImage AreaAverage(const TRgbImage& src, int width, int height);

struct TLatLon {
  double Lat = 0, Lon = 0;  // degrees, north and east positive
};
using TLineString = std::vector<TLatLon>;

// Records of three little-endian 16-bit values: a code, latitude and
// longitude in arc-minutes. A code of 1000 or more starts a new line string.
std::vector<TLineString> ParsePnt(std::string_view bytes);

// Draws the line strings into a picture of one pixel per degree (-180° at
// the left, 90° N at the top); a step across the 180° meridian leaves one
// edge and enters the other.
void DrawOutlines(TRgbImage& image, const std::vector<TLineString>& lines, TRgb ink);

// An uncompressed palette bitmap: 1 bit per pixel for two colours, else 8.
std::string EncodeIndexedBmp(const TIndexedImage& image);

// 9 x 9: a yellow disc with an orange rim on a magenta ground, which the
// map treats as transparent (the colour of the bottom-left pixel).
TRgbImage MakeSunImage();

}  // namespace vx::worldpics
