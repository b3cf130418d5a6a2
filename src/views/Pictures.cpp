#include "views/Pictures.h"

#include <cstddef>
#include <string_view>

#include "views/BmpFile.h"

namespace vx {

// Generated from data/pictures/*.bmp at build time (Embed.cmake).
extern const unsigned char kColorImageBmp[];
extern const size_t kColorImageBmpSize;
extern const unsigned char kMonoImageBmp[];
extern const size_t kMonoImageBmpSize;
extern const unsigned char kSunImageBmp[];
extern const size_t kSunImageBmpSize;

namespace {

TRgbImage Decode(const unsigned char* bytes, size_t size, int width, int height) {
  auto image = DecodeBmp(std::string_view(reinterpret_cast<const char*>(bytes), size));
  // A broken build input shows as a plain grey picture rather than failing.
  if (!image || image->Width != width || image->Height != height) return TRgbImage(width, height, Rgb(128, 128, 128));
  return *image;
}

}  // namespace

const TRgbImage& ColorImage() {
  static const TRgbImage image = Decode(kColorImageBmp, kColorImageBmpSize, 360, 180);
  return image;
}

const TRgbImage& MonoImage() {
  static const TRgbImage image = Decode(kMonoImageBmp, kMonoImageBmpSize, 360, 180);
  return image;
}

const TRgbImage& SunImage() {
  static const TRgbImage image = Decode(kSunImageBmp, kSunImageBmpSize, 9, 9);
  return image;
}

}  // namespace vx
