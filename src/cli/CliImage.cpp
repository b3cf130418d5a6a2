#include "cli/CliImage.h"

#include "common/UserFile.h"
#include "views/BmpFile.h"
#include "views/QtImage.h"

namespace vx::cli {

bool WantsImage(const TArgs& args) { return args.Value("png") || args.Value("bmp"); }

bool WriteImages(const TArgs& args, const TRgbImage& image, std::string& error) {
  if (auto png = args.Value("png")) {
    const std::string bytes = EncodePng(image);
    if (bytes.empty()) {
      error = "Cannot write " + *png + ": the image could not be encoded";
      return false;
    }
    if (!WriteUserFile(*png, bytes, error)) return false;
  }
  if (auto bmp = args.Value("bmp")) {
    if (!WriteUserFile(*bmp, EncodeBmp24(image), error)) return false;
  }
  return true;
}

}  // namespace vx::cli
