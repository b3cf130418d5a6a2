#include "views/BmpFile.h"

#include <cstdint>
#include <cstdlib>

#include "common/FileUtil.h"
#include "common/LittleEndian.h"

namespace vx {

std::string EncodeBmp24(const TRgbImage& image) {
  const uint32_t stride = (uint32_t(image.Width) * 3 + 3) & ~3u;
  const uint32_t dataSize = stride * uint32_t(image.Height);
  std::string s;
  s.reserve(54 + dataSize);
  s += "BM";
  AppendLE32(s, 54 + dataSize);
  AppendLE32(s, 0);
  AppendLE32(s, 54);
  AppendLE32(s, 40);  // BITMAPINFOHEADER
  AppendLE32(s, uint32_t(image.Width));
  AppendLE32(s, uint32_t(image.Height));  // positive: bottom-up rows
  AppendLE16(s, 1);
  AppendLE16(s, 24);
  AppendLE32(s, 0);  // BI_RGB
  AppendLE32(s, dataSize);
  AppendLE32(s, 2835);  // 72 dpi
  AppendLE32(s, 2835);
  AppendLE32(s, 0);
  AppendLE32(s, 0);
  for (int y = image.Height - 1; y >= 0; --y) {
    const uint8_t* p = image.Row(y);
    for (int x = 0; x < image.Width; ++x, p += 3) {
      s += char(p[2]);
      s += char(p[1]);
      s += char(p[0]);
    }
    s.append(stride - uint32_t(image.Width) * 3, '\0');
  }
  return s;
}

std::optional<TRgbImage> DecodeBmp(std::string_view b) {
  if (b.size() < 54 || b.substr(0, 2) != "BM") return std::nullopt;
  const uint32_t offset = GetLE32(b.data() + 10), headerSize = GetLE32(b.data() + 14);
  const int32_t width = int32_t(GetLE32(b.data() + 18)), rawHeight = int32_t(GetLE32(b.data() + 22));
  const uint32_t planes = GetLE16(b.data() + 26), bits = GetLE16(b.data() + 28), compression = GetLE32(b.data() + 30);
  uint32_t colours = GetLE32(b.data() + 46);
  if (headerSize < 40 || planes != 1 || compression != 0) return std::nullopt;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return std::nullopt;
  if (width <= 0 || width > 32768 || rawHeight == 0 || std::abs(int64_t(rawHeight)) > 32768) return std::nullopt;
  const bool bottomUp = rawHeight > 0;
  const int height = bottomUp ? rawHeight : -rawHeight;
  if (bits <= 8 && colours == 0) colours = 1u << bits;
  if (bits <= 8 && colours > (1u << bits)) return std::nullopt;
  const size_t paletteAt = 14 + size_t(headerSize);
  if (bits <= 8 && paletteAt + 4 * size_t(colours) > b.size()) return std::nullopt;
  const size_t stride = ((size_t(width) * bits + 31) / 32) * 4;
  if (offset > b.size() || stride * height > b.size() - offset) return std::nullopt;

  TRgbImage img(width, height);
  for (int row = 0; row < height; ++row) {
    const size_t at = offset + size_t(bottomUp ? height - 1 - row : row) * stride;
    for (int x = 0; x < width; ++x) {
      TRgb c;
      if (bits == 24) {
        const size_t p = at + size_t(x) * 3;
        c = Rgb(uint8_t(b[p + 2]), uint8_t(b[p + 1]), uint8_t(b[p]));
      } else {
        const size_t bit = size_t(x) * bits;
        const uint8_t byte = uint8_t(b[at + bit / 8]);
        const uint32_t index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        if (index >= colours) return std::nullopt;
        const size_t p = paletteAt + 4 * size_t(index);
        c = Rgb(uint8_t(b[p + 2]), uint8_t(b[p + 1]), uint8_t(b[p]));
      }
      img.SetPixel(x, row, c);
    }
  }
  return img;
}

bool SaveBmpFile(const std::string& path, const TRgbImage& image) { return WriteFileAtomic(path, EncodeBmp24(image)); }

}  // namespace vx
