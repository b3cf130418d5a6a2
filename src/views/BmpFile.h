// Windows bitmap files: 24-bit writing (what "Save Image..." produces) and
// reading of the uncompressed 1-, 8- and 24-bit forms the shipped pictures
// use.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "views/Raster.h"

namespace vx {

std::string EncodeBmp24(const TRgbImage& image);
// Null for anything that is not an uncompressed 1-, 4-, 8- or 24-bit bitmap
// whose pixel data lies wholly inside the bytes.
std::optional<TRgbImage> DecodeBmp(std::string_view bytes);

bool SaveBmpFile(const std::string& path, const TRgbImage& image);

}  // namespace vx
