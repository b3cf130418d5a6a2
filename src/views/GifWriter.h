// GIF files of 24-bit pictures (the maps of "Generate GIF's"): colours are
// reduced to a palette of at most 256 (see Quantize.h), giflib writes the
// file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "views/Quantize.h"
#include "views/Raster.h"

namespace vx {

std::optional<std::string> EncodeGif(const TIndexedImage& image);
std::optional<std::string> EncodeGif(const TRgbImage& image);
// Replaces any file of that name; false when it cannot be encoded or written.
bool SaveGifFile(const std::string& path, const TRgbImage& image);

// An animation that repeats for ever: every frame the same size, each with
// its own palette, shown for delay hundredths of a second.
std::optional<std::string> EncodeAnimatedGif(const std::vector<TRgbImage>& frames, int delay);
bool SaveAnimatedGifFile(const std::string& path, const std::vector<TRgbImage>& frames, int delay);

}  // namespace vx
