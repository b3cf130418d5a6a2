#include "views/ChartDraw.h"

#include <algorithm>
#include <cmath>

#include "common/TextUtil.h"

namespace vx {

namespace {

// A value the engine never wrote reads as 0 rather than as "-0".
double Value(float v) { return IsResetValue(v) ? 0.0 : double(v); }

std::string IntText(double v) { return FormatInt(RoundToInt32(v)); }

// A MUF far off the chart still draws as a line running off the top; the
// clamp keeps a broken value from walking billions of pixels.
int MufY(float muf) { return std::clamp(CellY(std::isnan(muf) ? 0.0f : muf), -10000, 10000); }

}  // namespace

const std::array<TRgb, 64>& ColorRamp() {
  static const std::array<TRgb, 64> ramp = [] {
    std::array<TRgb, 64> r{};
    auto step = [](uint8_t lo, uint8_t hi, int i) {
      return static_cast<uint8_t>(RoundHalfEven(lo + i * (double(hi) - lo) / 63.0));
    };
    r[0] = LowColor;
    for (int i = 1; i < 64; ++i)
      r[i] = Rgb(step(LowColor.R, PeakColor.R, i), step(LowColor.G, PeakColor.G, i), step(LowColor.B, PeakColor.B, i));
    return r;
  }();
  return ramp;
}

bool ChartShowsSignal(float snr) { return RoundToInt32(std::clamp(double(snr), 0.0, 63.0)) >= 1; }

int BestHour(const TPointResults& res, float band) {
  const int f = static_cast<int>(band);
  int best = 0;
  for (int h = 1; h < TPointResults::kHours; ++h)
    if (res.Snr[f][h] > res.Snr[f][best]) best = h;
  return best;
}

int CellX(double hour) { return RoundToInt32(14.0 * hour); }
int CellY(double mhz) { return RoundToInt32(7.0 * (30.0 - mhz)); }

void PaintChart(const TPointResults& res, const TChartOptions& options, TRgbImage& chart) {
  if (chart.Width != kChartWidth || chart.Height != kChartHeight) chart.Resize(kChartWidth, kChartHeight);
  TRaster canvas(chart);
  chart.Fill(LowColor);

  const auto& ramp = ColorRamp();
  for (int f = TPointResults::kMinMHz; f <= TPointResults::kMaxMHz; ++f)
    for (int h = 0; h < TPointResults::kHours; ++h) {
      const double snr = std::clamp(double(res.Snr[f][h]), 0.0, 63.0);
      const int x = CellX(h), y = CellY(f);
      canvas.FillRect(x - 7, y - 3, x + 7, y + 4, ramp[RoundToInt32(snr)]);
    }

  canvas.Pen = TPen{Rgb(0, 255, 0), 1, TPenStyle::Dot};
  for (float band : BandFrequency) {
    canvas.MoveTo(0, CellY(band));
    canvas.LineTo(kChartWidth, CellY(band));
  }

  // A cleared engine holds tiny negative values: no prediction to mark.
  if (!(res.Muf[0] >= 1.0f)) return;

  if (options.MarkBestHour) {
    canvas.Pen = TPen{Rgb(255, 255, 0), 1, TPenStyle::Solid};
    for (float band : BandFrequency) {
      const int best = BestHour(res, band);
      // Centred on the band line, not on the row f.
      canvas.FrameRect(CellX(best) - 7, CellY(band) - 3, CellX(best) + 7, CellY(band) + 4);
    }
  }

  if (options.PlotMuf) {
    canvas.Pen = TPen{Rgb(255, 0, 0), 2, TPenStyle::Solid};
    canvas.MoveTo(0, MufY(res.Muf[0]));
    for (int h = 0; h < TPointResults::kHours; ++h) canvas.LineTo(CellX(h), MufY(res.Muf[h]));
  }
}

void DrawTimeLine(TRgbImage& chart, double dayFraction) {
  TRaster canvas(chart);
  canvas.Pen = TPen{Rgb(255, 255, 255), 1, TPenStyle::Solid};
  const int x = CellX(24.0 * dayFraction);
  canvas.MoveTo(x, 0);
  canvas.LineTo(x, chart.Height);
}

TReadout ChartReadout(const TPointResults& res, int x, int y) {
  TReadout out;
  if (x < 0)
    out.Hint = "MHz";
  else if (y >= kChartHeight)
    out.Hint = "UTC";
  if (x < 0 || y < 0 || x >= kChartWidth || y >= kChartHeight) return out;

  const float hours = static_cast<float>(x) / 14.0f;
  const int halfHours = static_cast<int>(2.0f * hours);
  const int f = std::min(30, std::max(2, 30 - RoundToInt32(y / 7.0)));
  const int h = std::min(24, std::max(0, RoundToInt32(hours)));

  // The time is cut to the half hour; the values come from the nearest hour.
  out.Panels[0] = " " + FormatInt(halfHours / 2, 2, true) + ":" + (halfHours % 2 ? "30" : "00") + " UT " + " " +
                  FormatInt(f) + " MHz";
  out.Panels[1] = " SNR " + IntText(Value(res.Snr[f][h])) + " dB";
  out.Panels[2] = " Elev. " + IntText(Value(res.Elevation[f][h])) + "\xB0";
  out.Panels[3] = " " + res.Mode[f][h];
  out.Panels[4] = " MUF " + FormatFixed(Value(res.Muf[h]), 0, 1) + " MHz";
  return out;
}

}  // namespace vx
