#include "app/cli/CliImage.h"

#include <QImage>

#include "views/BmpFile.h"
#include "views/QtImage.h"

namespace vx::cli {

bool WantsImage(const TArgs& args) { return args.Value("png") || args.Value("bmp"); }

bool WriteImages(const TArgs& args, const TRgbImage& image, std::string& error) {
  if (auto png = args.Value("png")) {
    if (!ToQImage(image).save(QString::fromStdString(*png), "PNG")) {
      error = "cannot write " + *png;
      return false;
    }
  }
  if (auto bmp = args.Value("bmp")) {
    if (!SaveBmpFile(*bmp, image)) {
      error = "cannot write " + *bmp;
      return false;
    }
  }
  return true;
}

}  // namespace vx::cli
