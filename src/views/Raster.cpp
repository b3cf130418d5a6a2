#include "views/Raster.h"

#include <algorithm>
#include <cstdlib>

namespace vx {

void TRgbImage::Resize(int w, int h, TRgb fill) {
  Width = std::max(w, 0);
  Height = std::max(h, 0);
  Bytes.assign(size_t(Width) * Height * 3, 0);
  Fill(fill);
}

void TRgbImage::Fill(TRgb c) {
  for (size_t i = 0; i + 2 < Bytes.size(); i += 3) Bytes[i] = c.R, Bytes[i + 1] = c.G, Bytes[i + 2] = c.B;
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
  for (int y = top; y < bottom; ++y) {
    uint8_t* p = Image_.Row(y) + left * 3;
    for (int x = left; x < right; ++x, p += 3) p[0] = c.R, p[1] = c.G, p[2] = c.B;
  }
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
  for (int sy = 0; sy < src.Height; ++sy)
    for (int sx = 0; sx < src.Width; ++sx) {
      const TRgb c = src.Pixel(sx, sy);
      if (hasTransparent && c == transparent) continue;
      Image_.SetPixel(x + sx, y + sy, c);
    }
}

}  // namespace vx
