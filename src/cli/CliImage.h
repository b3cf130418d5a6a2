// Writing the chart and map pictures of vantor-cli: --png FILE and
// --bmp FILE (the Windows bitmap "Save Image..." writes), plain or, with
// --decorate, with scales, legend and title lines, enlarged by --scale K.
#pragma once

#include <string>
#include <vector>

#include "cli/Cli.h"
#include "views/MapDraw.h"
#include "views/Raster.h"

namespace vx::cli {

bool WantsImage(const TArgs& args);

// The options every picture takes, and the flags among them.
const std::vector<std::string>& PictureOptionNames();
inline constexpr const char* kDecorateFlag = "decorate";
// --scale K (1 to 8, 1 when not given); false with a message on a bad value
// or when no picture is written.
bool ParsePictureScale(const TArgs& args, int& scale, std::string& error);
// What the options ask for: the picture itself, enlarged, or decorated
// with the title lines.
TRgbImage ChartPicture(const TArgs& args, int scale, const TRgbImage& chart, const std::vector<std::string>& title);
TRgbImage MapPicture(const TArgs& args, int scale, const TRgbImage& map, TMapStyle style,
                     const std::vector<std::string>& title);

// Writes every file asked for; false with a message when one fails.
bool WriteImages(const TArgs& args, const TRgbImage& image, std::string& error);

}  // namespace vx::cli
