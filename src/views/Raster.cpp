#include "views/Raster.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vx {

void TRgbImage::Resize(int w, int h, TRgb fill) {
  Width = std::max(w, 0);
  Height = std::max(h, 0);
  Bytes.assign(size_t(Width) * Height * 3, 0);
  Fill(fill);
}

void TRgbImage::Fill(TRgb c) {
  if (Empty()) return;
  // One row by hand, the others copied: byte stores through the vector
  // would be reloaded on every pixel.
  uint8_t* first = Bytes.data();
  for (int x = 0; x < Width; ++x) first[3 * x] = c.R, first[3 * x + 1] = c.G, first[3 * x + 2] = c.B;
  const size_t stride = size_t(Width) * 3;
  for (int y = 1; y < Height; ++y) std::memcpy(first + y * stride, first, stride);
}

// step counts the pixels along the line: the dotted pen lights three, skips three.
void TRaster::Plot(int x, int y, int step) {
  if (Pen.Style == TPenStyle::Dot && (step / 3) % 2 != 0) return;
  if (Pen.Width >= 2) {
    // Even widths sit symmetrically on the mathematical point: one pixel
    // each side of the grid line through (x, y).
    for (int dy = -1; dy <= 0; ++dy)
      for (int dx = -1; dx <= 0; ++dx) Image_.SetPixel(x + dx, y + dy, Pen.Color);
  } else {
    Image_.SetPixel(x, y, Pen.Color);
  }
}

void TRaster::LineTo(int x1, int y1) {
  // Bresenham; lines are short (at most a few hundred pixels), so points
  // off the picture are simply walked and clipped in Plot.
  int x = PenX, y = PenY;
  const int dx = std::abs(x1 - x), sx = x < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y), sy = y < y1 ? 1 : -1;
  int err = dx + dy, step = 0;
  while (x != x1 || y != y1) {
    Plot(x, y, step++);
    const int e2 = 2 * err;
    if (e2 >= dy) err += dy, x += sx;
    if (e2 <= dx) err += dx, y += sy;
  }
  PenX = x1, PenY = y1;
}

void TRaster::FrameRect(int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return;
  for (int x = left; x < right; ++x) Image_.SetPixel(x, top, Pen.Color), Image_.SetPixel(x, bottom - 1, Pen.Color);
  for (int y = top; y < bottom; ++y) Image_.SetPixel(left, y, Pen.Color), Image_.SetPixel(right - 1, y, Pen.Color);
}

void TRaster::FillRect(int left, int top, int right, int bottom, TRgb c) {
  left = std::max(left, 0), top = std::max(top, 0);
  right = std::min(right, Image_.Width), bottom = std::min(bottom, Image_.Height);
  if (left >= right || top >= bottom) return;
  uint8_t* first = Image_.Row(top) + left * 3;
  for (int x = left; x < right; ++x, first += 3) first[0] = c.R, first[1] = c.G, first[2] = c.B;
  const size_t bytes = size_t(right - left) * 3;
  for (int y = top + 1; y < bottom; ++y) std::memcpy(Image_.Row(y) + left * 3, Image_.Row(top) + left * 3, bytes);
}

void TRaster::Ellipse(int left, int top, int right, int bottom, TRgb fill) {
  // Pixel centres measured against the box's ellipse, in doubled units so
  // that everything stays whole.
  const int w = right - left, h = bottom - top;
  if (w <= 0 || h <= 0) return;
  auto inside = [&](int px, int py, int shrink) {
    const long long a = w - 2 * shrink, b = h - 2 * shrink;
    if (a <= 0 || b <= 0) return false;
    const long long ex = 2 * (px - left) + 1 - w, ey = 2 * (py - top) + 1 - h;
    return ex * ex * b * b + ey * ey * a * a <= a * a * b * b;
  };
  for (int py = top; py < bottom; ++py)
    for (int px = left; px < right; ++px) {
      if (!inside(px, py, 0)) continue;
      Image_.SetPixel(px, py, inside(px, py, 1) ? fill : Pen.Color);
    }
}

void TRaster::Draw(int x, int y, const TRgbImage& src, bool hasTransparent, TRgb transparent) {
  // Clipped to the picture first, then whole rows of direct access.
  const int x0 = std::max(0, -x), x1 = std::min(src.Width, Image_.Width - x);
  const int y0 = std::max(0, -y), y1 = std::min(src.Height, Image_.Height - y);
  for (int sy = y0; sy < y1; ++sy) {
    const uint8_t* s = src.Row(sy) + x0 * 3;
    uint8_t* d = Image_.Row(y + sy) + (x + x0) * 3;
    for (int sx = x0; sx < x1; ++sx, s += 3, d += 3) {
      if (hasTransparent && s[0] == transparent.R && s[1] == transparent.G && s[2] == transparent.B) continue;
      d[0] = s[0], d[1] = s[1], d[2] = s[2];
    }
  }
}

}  // namespace vx
