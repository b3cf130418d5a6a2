// Writing the chart and map pictures of vantor-cli: --png FILE and
// --bmp FILE (the Windows bitmap "Save Image..." writes).
#pragma once

#include <string>

#include "cli/Cli.h"
#include "views/Raster.h"

namespace vx::cli {

bool WantsImage(const TArgs& args);
// Writes every file asked for; false with a message when one fails.
bool WriteImages(const TArgs& args, const TRgbImage& image, std::string& error);

}  // namespace vx::cli
