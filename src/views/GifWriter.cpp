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

// The colour table's size is a power of two, at least 2.
int PaletteBits(const TIndexedImage& image) { return std::max(1, GifBitSize(int(image.Palette.size()))); }

ColorMapObject* MakeColourMap(const TIndexedImage& image) {
  GifColorType colours[256] = {};
  for (size_t i = 0; i < image.Palette.size(); ++i)
    colours[i] = GifColorType{image.Palette[i].R, image.Palette[i].G, image.Palette[i].B};
  return GifMakeMapObject(1 << PaletteBits(image), colours);
}

bool Valid(const TIndexedImage& image) {
  return image.Width > 0 && image.Height > 0 && !image.Palette.empty() && image.Palette.size() <= 256 &&
         image.Indices.size() == size_t(image.Width) * image.Height;
}

bool PutPixels(GifFileType* gif, const TIndexedImage& image) {
  for (int y = 0; y < image.Height; ++y)
    if (EGifPutLine(gif, const_cast<GifPixelType*>(image.Indices.data() + size_t(y) * image.Width), image.Width) !=
        GIF_OK)
      return false;
  return true;
}

// The application extension that makes viewers repeat the animation
// (a count of 0: for ever).
bool PutLoopForever(GifFileType* gif) {
  const GifByteType count[3] = {1, 0, 0};
  return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK && EGifPutExtensionBlock(gif, 3, count) == GIF_OK &&
         EGifPutExtensionTrailer(gif) == GIF_OK;
}

bool PutDelay(GifFileType* gif, int delay) {
  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSE_DO_NOT;
  control.DelayTime = delay;
  control.TransparentColor = NO_TRANSPARENT_COLOR;
  GifByteType bytes[4];
  const size_t n = EGifGCBToExtension(&control, bytes);
  return EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(n), bytes) == GIF_OK;
}

}  // namespace

std::optional<std::string> EncodeAnimatedGif(const std::vector<TRgbImage>& frames, int delay) {
  if (frames.empty() || delay < 0 || delay > 65535) return std::nullopt;
  std::vector<TIndexedImage> indexed(frames.size());
  for (size_t i = 0; i < frames.size(); ++i)
    if (frames[i].Width != frames[0].Width || frames[i].Height != frames[0].Height ||
        !QuantizeImage(frames[i], indexed[i]) || !Valid(indexed[i]))
      return std::nullopt;

  std::string out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, AppendToString, &error);
  if (!gif) return std::nullopt;
  EGifSetGifVersion(gif, true);  // extensions need GIF89a
  // No global colour table: each frame brings its own.
  bool ok = EGifPutScreenDesc(gif, frames[0].Width, frames[0].Height, 8, 0, nullptr) == GIF_OK && PutLoopForever(gif);
  for (const TIndexedImage& frame : indexed) {
    ColorMapObject* map = ok ? MakeColourMap(frame) : nullptr;
    ok = map && PutDelay(gif, delay) && EGifPutImageDesc(gif, 0, 0, frame.Width, frame.Height, false, map) == GIF_OK &&
         PutPixels(gif, frame);
    GifFreeMapObject(map);
    if (!ok) break;
  }
  if (EGifCloseFile(gif, &error) != GIF_OK) ok = false;
  if (!ok) return std::nullopt;
  return out;
}

bool SaveAnimatedGifFile(const std::string& path, const std::vector<TRgbImage>& frames, int delay) {
  auto bytes = EncodeAnimatedGif(frames, delay);
  return bytes && WriteFileAtomic(path, *bytes);
}

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
