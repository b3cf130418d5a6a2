#include "views/GifWriter.h"

#include <gif_lib.h>

#include <algorithm>

#include "common/FileUtil.h"

namespace vx {

namespace {

int AppendToString(GifFileType* gif, const GifByteType* data, int length) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), size_t(length));
  return length;
}

}  // namespace

std::optional<std::string> EncodeGif(const TIndexedImage& image) {
  if (image.Width <= 0 || image.Height <= 0 || image.Palette.empty() || image.Palette.size() > 256 ||
      image.Indices.size() != size_t(image.Width) * image.Height)
    return std::nullopt;
  // The colour table's size is a power of two, at least 2.
  const int bits = std::max(1, GifBitSize(int(image.Palette.size())));
  GifColorType colours[256] = {};
  for (size_t i = 0; i < image.Palette.size(); ++i)
    colours[i] = GifColorType{image.Palette[i].R, image.Palette[i].G, image.Palette[i].B};
  ColorMapObject* map = GifMakeMapObject(1 << bits, colours);
  if (!map) return std::nullopt;

  std::string out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, AppendToString, &error);
  bool ok = gif && EGifPutScreenDesc(gif, image.Width, image.Height, bits, 0, map) == GIF_OK &&
            EGifPutImageDesc(gif, 0, 0, image.Width, image.Height, false, nullptr) == GIF_OK;
  for (int y = 0; ok && y < image.Height; ++y)
    ok = EGifPutLine(gif, const_cast<GifPixelType*>(image.Indices.data() + size_t(y) * image.Width), image.Width) ==
         GIF_OK;
  if (gif && EGifCloseFile(gif, &error) != GIF_OK) ok = false;
  GifFreeMapObject(map);
  if (!ok) return std::nullopt;
  return out;
}

std::optional<std::string> EncodeGif(const TRgbImage& image) {
  TIndexedImage indexed;
  if (!QuantizeImage(image, indexed)) return std::nullopt;
  return EncodeGif(indexed);
}

bool SaveGifFile(const std::string& path, const TRgbImage& image) {
  auto bytes = EncodeGif(image);
  return bytes && WriteFileAtomic(path, *bytes);
}

}  // namespace vx
