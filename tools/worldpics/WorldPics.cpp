#include "WorldPics.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "common/LittleEndian.h"
#include "common/TextUtil.h"

namespace vx::worldpics {

namespace {

struct TTap {
  int Index;
  double Weight;
};

// For each of n output cells, the source cells of [i * s, (i + 1) * s) and
// the share of each, s = srcSize / n.
std::vector<std::vector<TTap>> Taps(int srcSize, int n) {
  std::vector<std::vector<TTap>> taps(size_t(std::max(n, 0)));
  const double s = double(srcSize) / n;
  for (int i = 0; i < n; ++i) {
    const double a = i * s, b = (i + 1) * s;
    for (int k = int(std::floor(a)); k < int(std::ceil(b)) && k < srcSize; ++k) {
      const double w = std::min<double>(b, k + 1) - std::max<double>(a, k);
      if (w > 0) taps[size_t(i)].push_back({k, w / s});
    }
  }
  return taps;
}

}  // namespace

TRgbImage AreaAverage(const TRgbImage& src, int width, int height) {
  TRgbImage out(width, height);
  if (src.Empty() || out.Empty()) return out;
  const auto tx = Taps(src.Width, width), ty = Taps(src.Height, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      double sum[3] = {0, 0, 0};
      for (const TTap& v : ty[size_t(y)])
        for (const TTap& h : tx[size_t(x)]) {
          const uint8_t* p = src.Row(v.Index) + h.Index * 3;
          for (int c = 0; c < 3; ++c) sum[c] += p[c] * v.Weight * h.Weight;
        }
      auto byte = [](double v) { return uint8_t(std::clamp(RoundHalfEven(v), 0.0, 255.0)); };
      out.SetPixel(x, y, Rgb(byte(sum[0]), byte(sum[1]), byte(sum[2])));
    }
  return out;
}

std::vector<TLineString> ParsePnt(std::string_view b) {
  std::vector<TLineString> lines;
  auto get = [&](size_t at) { return static_cast<int16_t>(GetLE16(b.data() + at)); };
  for (size_t at = 0; at + 6 <= b.size(); at += 6) {
    const int code = get(at);
    if (code >= 1000 || lines.empty()) lines.emplace_back();
    lines.back().push_back(TLatLon{get(at + 2) / 60.0, get(at + 4) / 60.0});
  }
  return lines;
}

void DrawOutlines(TRgbImage& image, const std::vector<TLineString>& lines, TRgb ink) {
  TRaster canvas(image);
  canvas.Pen = TPen{ink, 1, TPenStyle::Solid};
  auto px = [](double lon) { return int(std::floor(lon + 180.0)); };
  auto py = [](double lat) { return std::min(179, int(std::floor(90.0 - lat))); };
  auto segment = [&](double lat0, double lon0, double lat1, double lon1) {
    canvas.MoveTo(px(lon0), py(lat0));
    canvas.LineTo(px(lon1), py(lat1));
    image.SetPixel(px(lon1), py(lat1), ink);
  };
  for (const TLineString& line : lines) {
    if (line.size() == 1) image.SetPixel(px(line[0].Lon) % 360, py(line[0].Lat), ink);
    for (size_t i = 1; i < line.size(); ++i) {
      const TLatLon a = line[i - 1], b = line[i];
      const double d = b.Lon - a.Lon;
      if (d > 180) {  // westwards across the meridian
        segment(a.Lat, a.Lon, b.Lat, b.Lon - 360);
        segment(a.Lat, a.Lon + 360, b.Lat, b.Lon);
      } else if (d < -180) {  // eastwards across it
        segment(a.Lat, a.Lon, b.Lat, b.Lon + 360);
        segment(a.Lat, a.Lon - 360, b.Lat, b.Lon);
      } else {
        segment(a.Lat, a.Lon, b.Lat, b.Lon);
      }
    }
  }
}

std::string EncodeIndexedBmp(const TIndexedImage& img) {
  const uint32_t bits = img.Palette.size() <= 2 ? 1 : 8;
  const uint32_t colours = bits == 1 ? 2 : 256;
  const uint32_t stride = ((uint32_t(img.Width) * bits + 31) / 32) * 4;
  const uint32_t offset = 54 + 4 * colours, dataSize = stride * uint32_t(img.Height);
  std::string s = "BM";
  AppendLE32(s, offset + dataSize);
  AppendLE32(s, 0);
  AppendLE32(s, offset);
  AppendLE32(s, 40);
  AppendLE32(s, uint32_t(img.Width));
  AppendLE32(s, uint32_t(img.Height));
  AppendLE16(s, 1);
  AppendLE16(s, bits);
  AppendLE32(s, 0);
  AppendLE32(s, dataSize);
  AppendLE32(s, 2835);
  AppendLE32(s, 2835);
  AppendLE32(s, colours);
  AppendLE32(s, 0);
  for (uint32_t i = 0; i < colours; ++i) {
    const TRgb c = i < img.Palette.size() ? img.Palette[i] : TRgb{};
    s += char(c.B);
    s += char(c.G);
    s += char(c.R);
    s += '\0';
  }
  for (int y = img.Height - 1; y >= 0; --y) {
    std::string row(stride, '\0');
    for (int x = 0; x < img.Width; ++x) {
      const uint8_t index = img.Indices[size_t(y) * img.Width + x];
      if (bits == 8)
        row[size_t(x)] = char(index);
      else if (index)
        row[size_t(x) / 8] = char(uint8_t(row[size_t(x) / 8]) | (0x80 >> (x % 8)));
    }
    s += row;
  }
  return s;
}

TRgbImage MakeSunImage() {
  TRgbImage sun(9, 9, Rgb(255, 0, 255));
  TRaster canvas(sun);
  canvas.Pen = TPen{Rgb(255, 140, 0), 1, TPenStyle::Solid};
  canvas.Ellipse(0, 0, 9, 9, Rgb(255, 255, 0));
  return sun;
}

}  // namespace vx::worldpics
