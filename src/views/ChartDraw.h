// The 24-hour chart as pixels: SNR cells over frequency and UTC hour, the
// band lines, best-hour frames and the MUF curve, and the texts shown for
// the point under the mouse. Used by TChartFrame and by vantor-cli.
#pragma once

#include <array>
#include <string>

#include "engine/VoaTypes.h"
#include "views/Raster.h"

namespace vx {

inline constexpr int kChartWidth = 336;  // 24 hours of 14 pixels
inline constexpr int kChartHeight = 205;
inline constexpr TRgb LowColor = Rgb(0, 128, 128);
inline constexpr TRgb PeakColor = Rgb(215, 255, 254);

// 64 colours from LowColor to PeakColor, one per dB of 0..63.
const std::array<TRgb, 64>& ColorRamp();

// The chart colours a cell above its background from about 1 dB up
// (ColorRamp's first step); the same test says when a band is open.
bool ChartShowsSignal(float snr);

// A band's best hour, as the chart marks it: the hour 0..24 with the
// largest SNR on the band's row (its frequency truncated), the earliest
// winning a tie.
int BestHour(const TPointResults& results, float band);

int CellX(double hour);
int CellY(double mhz);

struct TChartOptions {
  bool MarkBestHour = false;
  bool PlotMuf = false;
};

// Draws the whole chart (everything but the time line) into chart, which is
// sized to kChartWidth x kChartHeight first.
void PaintChart(const TPointResults& results, const TChartOptions& options, TRgbImage& chart);

// The white line of the current UTC time; dayFraction is 0..1.
void DrawTimeLine(TRgbImage& chart, double dayFraction);

// What the status bar shows for the mouse at (x, y) of the drawing surface:
// a hint for the surface and the texts of panels 1 to 5 (all empty off the
// chart).
struct TReadout {
  std::string Hint;
  std::array<std::string, 5> Panels;
};
TReadout ChartReadout(const TPointResults& results, int x, int y);

}  // namespace vx
