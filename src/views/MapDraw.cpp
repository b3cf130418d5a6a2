#include "views/MapDraw.h"

#include <algorithm>
#include <cmath>

#include "common/DayCount.h"
#include "common/TextUtil.h"
#include "geo/PathGeom.h"
#include "geo/Schlyter.h"
#include "views/Pictures.h"

namespace vx {

namespace {

constexpr float kTerminatorDistance = 1.6755161f;  // 96°: the sun 6° below the horizon

double Degrees(float radians) { return double(radians) * 180.0 / kPi; }

std::string Fixed1(double v) {
  std::string s = FormatFixed(v, 0, 1);
  return s == "-0.0" ? "0.0" : s;
}

// Level 0..11 times 256 bytes: b x (0.5 + 0.05 x level), exact halves to even.
const std::array<std::array<uint8_t, 256>, 12>& ShadeTable() {
  static const auto table = [] {
    std::array<std::array<uint8_t, 256>, 12> t{};
    for (int level = 0; level < 12; ++level)
      for (int b = 0; b < 256; ++b) {
        const int q = b * (10 + level);  // b x (10 + level) / 20, in whole numbers
        int r = q / 20;
        const int rem = q % 20;
        if (rem > 10 || (rem == 10 && r % 2 != 0)) ++r;
        t[size_t(level)][size_t(b)] = uint8_t(std::min(r, 255));
      }
    return t;
  }();
  return table;
}

// Halves to even for |x| below 2^22: adding 1.5 x 2^23 leaves no fraction
// bits, so the float addition itself rounds (to nearest, ties to even).
// Much cheaper than lrint, which is a library call.
inline int RoundFloatHalfEven(float x) {
  constexpr float kShift = 12582912.0f;
  return int((x + kShift) - kShift);
}

}  // namespace

const std::array<TRgb, 12>& PseudoPalette() {
  static const std::array<TRgb, 12> p = {Rgb(153, 153, 153), Rgb(88, 88, 255), Rgb(88, 204, 255),  Rgb(88, 255, 255),
                                         Rgb(88, 255, 204),  Rgb(88, 255, 88), Rgb(204, 255, 88),  Rgb(255, 255, 88),
                                         Rgb(255, 204, 88),  Rgb(255, 88, 88), Rgb(255, 204, 204), Rgb(255, 255, 255)};
  return p;
}

TRgb ShadeColor(TRgb background, int level) {
  const auto& shade = ShadeTable()[size_t(std::clamp(level, 0, 11))];
  return Rgb(shade[background.R], shade[background.G], shade[background.B]);
}

TNormGrid BuildNormGrid(const TVoaGrid& grid) {
  TNormGrid norm;
  const int n = int(grid.size());
  // Only the sizes the engine makes divide the map into whole cells.
  if (n != 16 && n != 31 && n != 61) return norm;
  for (const auto& column : grid)
    if (int(column.size()) != n) return norm;
  norm.N = n;
  norm.Values.resize(size_t(n) * n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const float v = grid[size_t(i)][size_t(j)].Snr / 50.0f;
      norm.Values[size_t(i) * n + (n - 1 - j)] = std::isnan(v) ? 0.0f : std::min(std::max(v, 0.0f), 1.0f);
    }
  return norm;
}

void RenderMap(const TNormGrid& norm, TMapStyle style, const TRgbImage& colorImage, const TRgbImage& monoImage,
               TRgbImage& out) {
  const TRgbImage& background = style == msColor ? colorImage : monoImage;
  out = background;
  if (out.Width != kMapWidth || out.Height != kMapHeight) out.Resize(kMapWidth, kMapHeight, Rgb(0, 0, 0));
  if (norm.Empty()) return;

  const int m = norm.N - 1, cw = kMapWidth / m, ch = kMapHeight / m;
  // The style is fixed for the whole picture: one loop per kind of pixel.
  auto walk = [&](auto&& setPixel) {
    for (int y = 0; y < kMapHeight; ++y) {
      const int r = y / ch;
      const float t = float(y % ch) / float(ch);
      uint8_t* p = out.Row(y);
      for (int k = 0; k < m; ++k) {
        // Interpolated down the cell's edges, then stepped across the cell.
        const float left = (1 - t) * norm.At(k, r) + t * norm.At(k, r + 1);
        const float right = (1 - t) * norm.At(k + 1, r) + t * norm.At(k + 1, r + 1);
        const float step = (right - left) / float(cw);
        float v = left;
        for (int i = 0; i < cw; ++i, p += 3, v += step)
          setPixel(p, std::min(std::max(RoundFloatHalfEven(10.0f * v), 0), 11));
      }
    }
  };
  if (style == msPseudo) {
    const auto& pseudo = PseudoPalette();
    walk([&](uint8_t* p, int level) {
      const TRgb c = pseudo[size_t(level)];
      p[0] = c.R, p[1] = c.G, p[2] = c.B;
    });
  } else {
    const auto& shade = ShadeTable();
    walk([&](uint8_t* p, int level) {
      const uint8_t* s = shade[size_t(level)].data();
      p[0] = s[p[0]], p[1] = s[p[1]], p[2] = s[p[2]];
    });
  }
  if (style == msPseudo && !monoImage.Empty()) {
    // Only the outlines: the outline map's ground (its bottom-left colour) is see-through.
    TRaster(out).Draw(0, 0, monoImage, true, monoImage.Pixel(0, monoImage.Height - 1));
  }
}

int MapPixelX(float lon) { return RoundToInt32(Degrees(lon)) + 180; }
int MapPixelY(float lat) { return 90 - RoundToInt32(Degrees(lat)); }

TLocation PixelToLocation(int x, int y) { return TLocation{(x - 180) * 180, (kMapHeight - y - 1 - 90) * 180}; }

TGeoPoint LocationToGeo(TLocation p) {
  return GeoPoint(float(p.Y / 180.0 * kPi / 180.0), float(p.X / 180.0 * kPi / 180.0));
}

void LineWrap(TRaster& canvas, int x, int y) {
  const int px = canvas.PenX, py = canvas.PenY;
  if (px < 90 && x > 270) {
    canvas.LineTo(x - 360, y);
    canvas.MoveTo(px + 360, py);
  } else if (px > 270 && x < 90) {
    canvas.LineTo(x + 360, y);
    canvas.MoveTo(px - 360, py);
  }
  canvas.LineTo(x, y);
}

double SunTime(int year, int month, int mapHour, double nowDays) {
  if (year == 0) return nowDays;
  return EncodeDayCount({year, std::clamp(month, 1, 12), 15, mapHour, 30, 0});
}

void DrawSunOverlay(TRgbImage& screen, double time) {
  TSchlyterSun sun;
  sun.Compute(TGeoPoint{}, time);
  TRaster canvas(screen);
  canvas.Pen = TPen{Rgb(255, 255, 0), 1, TPenStyle::Solid};
  TPathGeometry ring;
  ring.SetPoint1(sun.SubSolar);
  ring.SetDistanceAzimuth(kTerminatorDistance, 0);
  canvas.MoveTo(MapPixelX(ring.Point2.Lon), MapPixelY(ring.Point2.Lat));
  for (int k = 0; k <= 62; ++k) {
    ring.SetAzimuth(0.1f * float(k));
    LineWrap(canvas, MapPixelX(ring.Point2.Lon), MapPixelY(ring.Point2.Lat));
  }
  ring.SetAzimuth(0);
  LineWrap(canvas, MapPixelX(ring.Point2.Lon), MapPixelY(ring.Point2.Lat));

  const TRgbImage& marker = SunImage();
  if (!marker.Empty())
    canvas.Draw(MapPixelX(sun.SubSolar.Lon) - 4, MapPixelY(sun.SubSolar.Lat) - 4, marker, true,
                marker.Pixel(0, marker.Height - 1));
}

void DrawPathOverlay(TRgbImage& screen, TLocation home, TLocation dx, bool longPath) {
  const TGeoPoint h = LocationToGeo(home), d = LocationToGeo(dx);
  const int hx = MapPixelX(h.Lon), hy = MapPixelY(h.Lat), dxX = MapPixelX(d.Lon), dxY = MapPixelY(d.Lat);
  TRaster canvas(screen);
  canvas.Pen = TPen{Rgb(255, 0, 0), 1, TPenStyle::Solid};
  canvas.MoveTo(hx, hy);
  TPathGeometry path;
  path.SetPath(h, d, longPath);
  const int steps = int(std::trunc(path.Distance / 0.1));
  for (int i = 1; i <= steps; ++i) {
    path.SetDistance(0.1f * float(i));
    LineWrap(canvas, MapPixelX(path.Point2.Lon), MapPixelY(path.Point2.Lat));
  }
  LineWrap(canvas, dxX, dxY);

  canvas.Pen = TPen{Rgb(0, 0, 0), 1, TPenStyle::Solid};
  canvas.Ellipse(hx - 3, hy - 3, hx + 3, hy + 3, Rgb(255, 0, 0));
  canvas.Ellipse(dxX - 3, dxY - 3, dxX + 3, dxY + 3, Rgb(0, 255, 255));
}

TReadout MapReadout(const TVoaGrid& grid, int x, int y, TMapMaximum maximum) {
  TReadout out;
  const int n = int(grid.size());
  if (BuildNormGrid(grid).Empty() || x < 0 || y < 0 || x >= kMapWidth || y >= kMapHeight) return out;
  const int m = n - 1, cw = kMapWidth / m, ch = kMapHeight / m, c = kMapHeight - 1 - y;
  const int col = x / cw, row = c / ch;
  const double fx = double(x % cw) / cw, fy = double(c % ch) / ch;
  auto mix = [&](auto value) {
    return (1 - fx) * (1 - fy) * value(grid[col][row]) + fx * (1 - fy) * value(grid[col + 1][row]) +
           (1 - fx) * fy * value(grid[col][row + 1]) + fx * fy * value(grid[col + 1][row + 1]);
  };
  auto finite = [](float v) { return std::isfinite(v) && !IsResetValue(v) ? double(v) : 0.0; };
  const double snr = mix([&](const TVoaGridCell& g) { return std::max(finite(g.Snr), 0.0); });
  const double elevation = mix([&](const TVoaGridCell& g) { return finite(g.Elevation); });
  const double muf = mix([&](const TVoaGridCell& g) { return finite(g.Muf); });
  const auto& nearest = grid[size_t(RoundToInt32(double(x) / cw))][size_t(RoundToInt32(double(c) / ch))];

  out.Panels[0] = " " + FormatCoordinates(PixelToLocation(x, y));
  if (maximum != mmNone) {
    out.Panels[1] = snr != 0 ? " Max. SNR " + FormatInt(RoundToInt32(snr)) + " dB" : " Max. SNR < 0 dB";
    return out;
  }
  out.Panels[1] = snr != 0 ? " SNR " + FormatInt(RoundToInt32(snr)) + " dB" : " SNR < 0 dB";
  out.Panels[2] = " Elev. " + FormatInt(RoundToInt32(elevation)) + "\xB0";
  out.Panels[3] = " " + nearest.Mode;
  out.Panels[4] = " MUF " + Fixed1(muf) + " MHz";
  return out;
}

TMapModel::TMapModel() { RenderMap(); }

void TMapModel::SetData(const TVoaGrid& grid) {
  Maximum = mmNone;
  GridCopy = grid;
  NormGrid = BuildNormGrid(grid);
  if (NormGrid.Empty()) GridCopy.clear();
  RenderMap();
}

void TMapModel::SetStyle(TMapStyle style) {
  MapStyle = style;
  RenderMap();
}

void TMapModel::RenderMap() { vx::RenderMap(NormGrid, MapStyle, ColorImage(), MonoImage(), MapBitmap); }

TRgbImage TMapModel::Compose(const TMapOverlays& overlays) const {
  TRgbImage screen = MapBitmap;
  if (overlays.Sun) DrawSunOverlay(screen, overlays.SunTime);
  if (overlays.Path) DrawPathOverlay(screen, overlays.Home, overlays.Dx, overlays.LongPath);
  return screen;
}

}  // namespace vx
