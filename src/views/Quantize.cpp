#include "views/Quantize.h"

#include <gif_lib.h>

#include <unordered_map>

namespace vx {

bool ExactPalette(const TRgbImage& image, TIndexedImage& out) {
  out.Width = image.Width;
  out.Height = image.Height;
  out.Palette.clear();
  out.Indices.resize(size_t(image.Width) * image.Height);
  std::unordered_map<uint32_t, uint8_t> index;
  index.reserve(512);
  // Neighbouring pixels mostly repeat; remembering the last colour saves
  // most of the hash look-ups.
  uint32_t last = 0xFFFFFFFFu;
  uint8_t lastIndex = 0;
  const uint8_t* p = image.Bytes.data();
  for (size_t i = 0; i < out.Indices.size(); ++i, p += 3) {
    const uint32_t key = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    if (key != last) {
      auto it = index.find(key);
      if (it == index.end()) {
        if (out.Palette.size() == 256) return false;
        it = index.emplace(key, uint8_t(out.Palette.size())).first;
        out.Palette.push_back(Rgb(p[0], p[1], p[2]));
      }
      last = key;
      lastIndex = it->second;
    }
    out.Indices[i] = lastIndex;
  }
  return true;
}

bool QuantizeImage(const TRgbImage& image, TIndexedImage& out) {
  if (image.Empty()) return false;
  if (ExactPalette(image, out)) return true;
  const size_t n = size_t(image.Width) * image.Height;
  std::vector<GifByteType> r(n), g(n), b(n);
  for (size_t i = 0; i < n; ++i)
    r[i] = image.Bytes[3 * i], g[i] = image.Bytes[3 * i + 1], b[i] = image.Bytes[3 * i + 2];
  GifColorType map[256];
  int size = 256;
  out.Indices.assign(n, 0);
  if (GifQuantizeBuffer(unsigned(image.Width), unsigned(image.Height), &size, r.data(), g.data(), b.data(),
                        out.Indices.data(), map) != GIF_OK)
    return false;
  out.Palette.clear();
  for (int i = 0; i < size; ++i) out.Palette.push_back(Rgb(map[i].Red, map[i].Green, map[i].Blue));
  return true;
}

}  // namespace vx
