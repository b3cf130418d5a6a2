// A 24-bit picture in plain memory and the few drawing operations the chart
// and the map need (lines with the pens they use, rectangles, discs). Pixels
// outside the picture are clipped, so callers may draw past the edges.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vx {

struct TRgb {
  uint8_t R = 0, G = 0, B = 0;
  friend bool operator==(TRgb a, TRgb b) { return a.R == b.R && a.G == b.G && a.B == b.B; }
};

inline constexpr TRgb Rgb(uint8_t r, uint8_t g, uint8_t b) { return TRgb{r, g, b}; }

// Rows top to bottom, 3 bytes per pixel in the order R, G, B, no padding.
struct TRgbImage {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Bytes;

  TRgbImage() = default;
  TRgbImage(int w, int h, TRgb fill = {}) { Resize(w, h, fill); }
  void Resize(int w, int h, TRgb fill = {});
  void Fill(TRgb c);
  bool Empty() const { return Width <= 0 || Height <= 0; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
  uint8_t* Row(int y) { return Bytes.data() + size_t(y) * Width * 3; }
  const uint8_t* Row(int y) const { return Bytes.data() + size_t(y) * Width * 3; }
  TRgb Pixel(int x, int y) const {
    const uint8_t* p = Row(y) + x * 3;
    return TRgb{p[0], p[1], p[2]};
  }
  void SetPixel(int x, int y, TRgb c) {
    if (!Inside(x, y)) return;
    uint8_t* p = Row(y) + x * 3;
    p[0] = c.R, p[1] = c.G, p[2] = c.B;
  }
  friend bool operator==(const TRgbImage&, const TRgbImage&) = default;
};

enum class TPenStyle { Solid, Dot };

struct TPen {
  TRgb Color;
  int Width = 1;  // 1 or 2
  TPenStyle Style = TPenStyle::Solid;
};

// Pen position and drawing in the manner of a window canvas: a line runs
// from the pen position to the end point, the end pixel itself excluded, so
// that a polyline sets every pixel once.
class TRaster {
 public:
  explicit TRaster(TRgbImage& image) : Image_(image) {}
  TPen Pen;
  int PenX = 0, PenY = 0;

  void MoveTo(int x, int y) { PenX = x, PenY = y; }
  void LineTo(int x, int y);
  // Rectangle outline in the pen's colour, right and bottom exclusive.
  void FrameRect(int left, int top, int right, int bottom);
  void FillRect(int left, int top, int right, int bottom, TRgb c);
  // A disc in the box (right and bottom exclusive): fill inside, a one-pixel
  // rim in the pen's colour.
  void Ellipse(int left, int top, int right, int bottom, TRgb fill);
  // Copies src with its top-left corner at (x, y); pixels of the colour
  // `transparent` are skipped when hasTransparent.
  void Draw(int x, int y, const TRgbImage& src, bool hasTransparent = false, TRgb transparent = {});

 private:
  void Plot(int x, int y, int step);
  TRgbImage& Image_;
};

}  // namespace vx
