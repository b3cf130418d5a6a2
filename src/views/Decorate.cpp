#include "views/Decorate.h"

#include <algorithm>
#include <cstring>

#include "common/TextUtil.h"
#include "engine/VoaTypes.h"
#include "views/ChartDraw.h"
#include "views/PixelFont.h"

namespace vx {

namespace {

constexpr TRgb kGround = Rgb(255, 255, 255);
constexpr TRgb kInk = Rgb(0, 0, 0);

// Sizes that grow with the scale. The text grows at half its pace: at 8x a
// 5 x 7 font four times as large is plenty beside the picture.
struct TMetrics {
  int K;  // picture scale
  int T;  // text size
  int Margin() const { return 6 * T; }
  int LineHeight() const { return (kLineAdvance + 2) * T; }
};

TMetrics MetricsOf(const TPictureDecor& decor) {
  const int k = std::clamp(decor.Scale, 1, kMaxPictureScale);
  return TMetrics{k, std::max(1, (k + 1) / 2)};
}

// The height of the title block, gap below it included.
int TitleHeight(const TMetrics& m, const TPictureDecor& decor) {
  return decor.Title.empty() ? 0 : int(decor.Title.size()) * m.LineHeight() + 2 * m.T;
}

int TitleWidth(const TMetrics& m, const TPictureDecor& decor) {
  int w = 0;
  for (const auto& line : decor.Title) w = std::max(w, TextWidth(line, m.T));
  return w;
}

void DrawTitle(TRgbImage& out, const TMetrics& m, const TPictureDecor& decor) {
  for (size_t i = 0; i < decor.Title.size(); ++i)
    DrawText(out, m.Margin(), m.Margin() + int(i) * m.LineHeight(), decor.Title[i], kInk, m.T);
}

void Place(TDecoratedPicture& d, const TRgbImage& scaled) { TRaster(d.Image).Draw(d.X, d.Y, scaled); }

// Text centred on x, top at y.
void DrawCentred(TRgbImage& out, int x, int y, const std::string& text, int size) {
  DrawText(out, x - TextWidth(text, size) / 2, y, text, kInk, size);
}

// A row of colour steps with a frame, "SNR dB" on its left and the labels
// under the steps; returns the bottom of the labels.
struct TScaleBar {
  std::vector<TRgb> Steps;
  int StepWidth = 1;
  int LabelEvery = 1;  // a label under every n-th step
  int DbPerStep = 1;
};

constexpr char kBarTitle[] = "SNR dB";

int BarWidth(const TMetrics& m, const TScaleBar& bar) {
  return TextWidth(kBarTitle, m.T) + 4 * m.T + int(bar.Steps.size()) * bar.StepWidth;
}

int DrawBar(TRgbImage& out, const TMetrics& m, const TScaleBar& bar, int x, int y) {
  const int height = 8 * m.T;
  DrawText(out, x, y + (height - TextHeight(m.T)) / 2, kBarTitle, kInk, m.T);
  const int left = x + TextWidth(kBarTitle, m.T) + 4 * m.T;
  TRaster canvas(out);
  for (size_t i = 0; i < bar.Steps.size(); ++i) {
    const int sx = left + int(i) * bar.StepWidth;
    canvas.FillRect(sx, y, sx + bar.StepWidth, y + height, bar.Steps[i]);
  }
  // Light steps must not melt into the ground.
  canvas.Pen = TPen{kInk, 1, TPenStyle::Solid};
  canvas.FrameRect(left - 1, y - 1, left + int(bar.Steps.size()) * bar.StepWidth + 1, y + height + 1);
  const int labels = y + height + 3 * m.T;
  for (size_t i = 0; i < bar.Steps.size(); i += size_t(bar.LabelEvery))
    DrawCentred(out, left + int(i) * bar.StepWidth + bar.StepWidth / 2, labels, FormatInt(int(i) * bar.DbPerStep), m.T);
  return labels + TextHeight(m.T);
}

}  // namespace

TRgbImage ScaleImage(const TRgbImage& image, int k) {
  k = std::max(k, 1);
  if (k == 1) return image;
  TRgbImage out(image.Width * k, image.Height * k);
  for (int y = 0; y < image.Height; ++y) {
    uint8_t* row = out.Row(y * k);
    const uint8_t* src = image.Row(y);
    for (int x = 0; x < image.Width; ++x)
      for (int i = 0; i < k; ++i) std::memcpy(row + (size_t(x) * k + i) * 3, src + size_t(x) * 3, 3);
    for (int i = 1; i < k; ++i) std::memcpy(out.Row(y * k + i), row, size_t(out.Width) * 3);
  }
  return out;
}

TDecoratedPicture DecorateChart(const TRgbImage& chart, const TPictureDecor& decor) {
  const TMetrics m = MetricsOf(decor);
  const int k = m.K, t = m.T;
  const TRgbImage scaled = ScaleImage(chart, k);

  TScaleBar bar;
  bar.Steps.assign(ColorRamp().begin(), ColorRamp().end());
  bar.StepWidth = 4 * k;
  bar.LabelEvery = 10;

  // Left to right: "MHz" turned up, the frequencies, the chart.
  const int mhzColumn = TextWidth("3.5", t);
  TDecoratedPicture d;
  d.X = m.Margin() + TextHeight(t) + 4 * t + mhzColumn + 3 * t;
  d.Y = m.Margin() + TitleHeight(m, decor);
  const int bottom = d.Y + scaled.Height;
  const int tick = 3 * t;
  const int hourLabels = bottom + tick + 2 * t;
  const int utcTitle = hourLabels + TextHeight(t) + 3 * t;
  const int barTop = utcTitle + TextHeight(t) + 6 * t;
  const int barBottom = barTop + 8 * t + 3 * t + TextHeight(t);
  const int width = std::max(
      {d.X + scaled.Width + m.Margin(), 2 * m.Margin() + TitleWidth(m, decor), d.X + BarWidth(m, bar) + m.Margin()});
  d.Image = TRgbImage(width, barBottom + m.Margin(), kGround);
  DrawTitle(d.Image, m, decor);
  Place(d, scaled);

  DrawTextUp(d.Image, m.Margin(), d.Y + (scaled.Height - TextWidth("MHz", t)) / 2, "MHz", kInk, t);
  for (float band : BandFrequency) {
    const std::string text = band == 3.5f ? "3.5" : FormatInt(int(band));
    const int centre = d.Y + CellY(band) * k + k / 2;
    DrawText(d.Image, d.X - 3 * t - TextWidth(text, t), centre - TextHeight(t) / 2, text, kInk, t);
  }

  TRaster canvas(d.Image);
  for (int hour = 0; hour <= 24; hour += 3) {
    // Hour 24 is the chart's right edge, one pixel past its last column.
    const int x = std::min(d.X + CellX(hour) * k, d.X + scaled.Width - 1);
    canvas.FillRect(x, bottom, x + std::max(1, k / 2), bottom + tick, kInk);
    DrawCentred(d.Image, x, hourLabels, FormatInt(hour), t);
  }
  DrawCentred(d.Image, d.X + scaled.Width / 2, utcTitle, "UTC", t);
  DrawBar(d.Image, m, bar, d.X, barTop);
  return d;
}

TDecoratedPicture DecorateMap(const TRgbImage& map, TMapStyle style, const TPictureDecor& decor) {
  const TMetrics m = MetricsOf(decor);
  const TRgbImage scaled = ScaleImage(map, m.K);

  TScaleBar bar;
  for (int level = 0; level <= kMapTopLevel; ++level)
    bar.Steps.push_back(style == msPseudo ? PseudoPalette()[size_t(level)] : ShadeColor(kGround, level));
  bar.StepWidth = 16 * m.K;
  bar.LabelEvery = 2;
  bar.DbPerStep = kMapLevelDb;

  TDecoratedPicture d;
  d.X = m.Margin();
  d.Y = m.Margin() + TitleHeight(m, decor);
  const int barTop = d.Y + scaled.Height + 6 * m.T;
  const int barBottom = barTop + 8 * m.T + 3 * m.T + TextHeight(m.T);
  const int width = std::max(
      {d.X + scaled.Width + m.Margin(), 2 * m.Margin() + TitleWidth(m, decor), d.X + BarWidth(m, bar) + m.Margin()});
  d.Image = TRgbImage(width, barBottom + m.Margin(), kGround);
  DrawTitle(d.Image, m, decor);
  Place(d, scaled);
  DrawBar(d.Image, m, bar, d.X, barTop);
  return d;
}

TDecoratedPicture TitledPicture(const TRgbImage& picture, const TPictureDecor& decor) {
  const TMetrics m = MetricsOf(decor);
  const TRgbImage scaled = ScaleImage(picture, m.K);
  TDecoratedPicture d;
  d.X = m.Margin();
  d.Y = m.Margin() + TitleHeight(m, decor);
  const int width = std::max(d.X + scaled.Width + m.Margin(), 2 * m.Margin() + TitleWidth(m, decor));
  d.Image = TRgbImage(width, d.Y + scaled.Height + m.Margin(), kGround);
  DrawTitle(d.Image, m, decor);
  Place(d, scaled);
  return d;
}

}  // namespace vx
