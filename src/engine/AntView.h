// The antenna pattern viewer without its widgets: what the dialog shows for
// a loaded pattern (spin box, readouts, the cut's curve, the mouse readout).
// Angles in texts carry the degree sign, Windows-1252 character 176.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/AntPattern.h"

namespace vx {

// The row of a type-14 table shown for each band index 0..7.
inline constexpr int32_t kAntennaBandMHz[8] = {4, 7, 10, 14, 18, 21, 24, 28};

enum class TPatternCut { pcVertical, pcHorizontal };  // elevation cut, azimuth cut

struct TSpinSetup {
  std::string Heading;  // " Frequency", " Azimuth" or " Elevation"
  int32_t Min = 0, Max = 0, Value = 0;
  bool HorizontalEnabled = true;
};

struct TPatternReadouts {
  std::string Azimuth, Elevation, Gain;  // "%d°", "%d°", "%.1f"
  int32_t BarWidth = 2;                  // pixels
  bool BarPositive = true;               // aqua when the gain is >= 0, else red
};

// A rectangle with exclusive right and bottom edges, as the paint box gives.
struct TPlotRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  int32_t Width() const { return Right - Left; }
  bool Contains(int32_t x, int32_t y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
};

struct TPlotPoint {
  int32_t X = 0, Y = 0;
  bool operator==(const TPlotPoint&) const = default;
};

// A label of the plot's grid: Text starts at (X, Y), its baseline, or ends
// there when AlignRight.
struct TPlotLabel {
  int32_t X = 0, Y = 0;
  std::string Text;
  bool AlignRight = false;
};

class TAntennaView {
 public:
  std::string Description;  // line 1 of the file
  int32_t AntennaType = 0;
  TGainTable Pattern;
  float MaxGain = 0;
  int32_t CutAzimuth = 0;
  int32_t CutElevation = 10;
  int32_t CutFrequency = 14;
  TPatternCut Cut = TPatternCut::pcVertical;

  // A freshly read pattern: cuts at azimuth 0 and elevation 10, the vertical
  // cut, MaxGain of the table. CutFrequency stays.
  void Load(TAntennaPattern pattern);
  // "<line 1>    [type <n>]".
  std::string Caption() const;

  TSpinSetup SpinSetup() const;
  // The spin box's value goes to the cut it controls.
  void SpinChanged(int32_t value);
  TPatternReadouts Readouts() const;

  // The plot rectangle and the centre for a paint box of this size.
  static TPlotRect PlotRect(int32_t width, int32_t height);
  // The curve of the current cut in paint-box pixels: 91 points for the
  // vertical cut (a quarter circle of radius W for type 0), 361 for the
  // horizontal cut of type 13 or type 0, none for type 14 there.
  std::vector<TPlotPoint> Curve(int32_t width, int32_t height) const;
  // The grid's labels: the gain of each ring (dBi, from MaxGain at the
  // outer ring down in 5 dB steps for the vertical cut, 10 dB for the
  // horizontal) and the angles of the spokes (elevation, or azimuth from
  // the main beam).
  std::vector<TPlotLabel> GridLabels(int32_t width, int32_t height) const;
  // The readout under the mouse, "%d°   %.1f dBi", or nothing (outside the
  // plot, no table, or no cell there).
  std::optional<std::string> MouseReadout(int32_t width, int32_t height, int32_t x, int32_t y) const;

 private:
  int32_t SpinValue() const;
};

}  // namespace vx
