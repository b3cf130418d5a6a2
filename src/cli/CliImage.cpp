#include "cli/CliImage.h"

#include "common/TextUtil.h"
#include "common/UserFile.h"
#include "views/BmpFile.h"
#include "views/Decorate.h"
#include "views/QtImage.h"

namespace vx::cli {

bool WantsImage(const TArgs& args) { return args.Value("png") || args.Value("bmp"); }

const std::vector<std::string>& PictureOptionNames() {
  static const std::vector<std::string> names = {"png", "bmp", kDecorateFlag, "scale"};
  return names;
}

bool ParsePictureScale(const TArgs& args, int& scale, std::string& error) {
  scale = 1;
  if (!WantsImage(args) && (args.Flag(kDecorateFlag) || args.Value("scale"))) {
    error = "--decorate and --scale have no effect without --png FILE or --bmp FILE";
    return false;
  }
  if (auto text = args.Value("scale")) {
    auto k = ParseInt(Trim(*text));
    if (!k || *k < 1 || *k > kMaxPictureScale) {
      error = "--scale must be a whole number from 1 to " + std::to_string(kMaxPictureScale);
      return false;
    }
    scale = int(*k);
  }
  return true;
}

TRgbImage ChartPicture(const TArgs& args, int scale, const TRgbImage& chart, const std::vector<std::string>& title) {
  if (!args.Flag(kDecorateFlag)) return ScaleImage(chart, scale);
  return DecorateChart(chart, TPictureDecor{scale, title}).Image;
}

TRgbImage MapPicture(const TArgs& args, int scale, const TRgbImage& map, TMapStyle style,
                     const std::vector<std::string>& title) {
  if (!args.Flag(kDecorateFlag)) return ScaleImage(map, scale);
  return DecorateMap(map, style, TPictureDecor{scale, title}).Image;
}

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
