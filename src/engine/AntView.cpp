#include "engine/AntView.h"

#include <algorithm>
#include <cmath>

#include "common/TextUtil.h"

namespace vx {

namespace {

constexpr char kDegree[] = "\xB0";  // Windows-1252
constexpr double kRadian = 3.14159265358979323846 / 180;
constexpr int32_t kPlotMargin = 5;
constexpr double kPlotRangeDb = 30;  // from MaxGain at the outer ring to the centre

// Radius for a gain: the outer ring for MaxGain, the centre 30 dB below.
double Radius(double outer, float gain, float maxGain) {
  return std::clamp(outer * (1 + (double(gain) - maxGain) / kPlotRangeDb), 0.0, outer);
}

}  // namespace

void TAntennaView::Load(TAntennaPattern pattern) {
  Description = std::move(pattern.Description);
  AntennaType = pattern.AntennaType;
  Pattern = std::move(pattern.Pattern);
  MaxGain = PatternMaxGain(AntennaType, Pattern);
  CutAzimuth = 0;
  CutElevation = 10;
  Cut = TPatternCut::pcVertical;
}

std::string TAntennaView::Caption() const { return Description + "    [type " + FormatInt(AntennaType) + "]"; }

TSpinSetup TAntennaView::SpinSetup() const {
  TSpinSetup s;
  s.HorizontalEnabled = AntennaType != 14;
  if (AntennaType == 14)
    s.Heading = " Frequency", s.Min = 2, s.Max = 30, s.Value = CutFrequency;
  else if (Cut == TPatternCut::pcVertical)
    s.Heading = " Azimuth", s.Min = 0, s.Max = 359, s.Value = CutAzimuth;
  else
    s.Heading = " Elevation", s.Min = 1, s.Max = 90, s.Value = CutElevation;
  return s;
}

int32_t TAntennaView::SpinValue() const { return SpinSetup().Value; }

void TAntennaView::SpinChanged(int32_t value) {
  if (AntennaType == 14)
    CutFrequency = value;
  else if (Cut == TPatternCut::pcVertical)
    CutAzimuth = value;
  else
    CutElevation = value;
}

TPatternReadouts TAntennaView::Readouts() const {
  TPatternReadouts r;
  if (AntennaType != 13 && AntennaType != 14) {
    r.Azimuth = r.Elevation = std::string("0") + kDegree;
    r.Gain = "0.0";
    return r;
  }
  const TPatternPeak peak = PatternPeak(AntennaType, Pattern, CutFrequency);
  r.Azimuth = FormatInt(peak.Azimuth) + kDegree;
  r.Elevation = FormatInt(peak.Elevation) + kDegree;
  r.Gain = FormatFixed(peak.Gain, 0, 1);
  r.BarWidth = std::min(RoundToInt32(std::fabs(double(peak.Gain))), 20) + 2;
  r.BarPositive = peak.Gain >= 0;
  return r;
}

TPlotRect TAntennaView::PlotRect(int32_t width, int32_t height) {
  return {kPlotMargin, kPlotMargin, width - kPlotMargin, height - kPlotMargin};
}

std::vector<TPlotPoint> TAntennaView::Curve(int32_t width, int32_t height) const {
  const TPlotRect plot = PlotRect(width, height);
  const int32_t w = plot.Width();
  std::vector<TPlotPoint> points;
  if (w <= 0) return points;
  if (Cut == TPatternCut::pcVertical) {
    const int32_t row = AntennaType == 14 ? CutFrequency : CutAzimuth;
    if (AntennaType != 0 && (row < 0 || size_t(row) >= Pattern.size())) return points;
    for (int e = 0; e <= 90; ++e) {
      double r = w;
      if (AntennaType != 0) r = Radius(w, PatternGain(Pattern, row, e).value_or(-1e9f), MaxGain);
      points.push_back(
          {plot.Left + RoundToInt32(std::cos(e * kRadian) * r), plot.Bottom - RoundToInt32(std::sin(e * kRadian) * r)});
    }
    return points;
  }
  if (AntennaType == 14) return points;
  const int32_t outer = w / 2, cx = width / 2, cy = height / 2;
  for (int a = 0; a <= 360; ++a) {
    double r = outer;
    if (AntennaType != 0) {
      auto gain = PatternGain(Pattern, a % 360, CutElevation);
      if (!gain) return {};
      r = Radius(outer, *gain, MaxGain);
    }
    points.push_back({cx + RoundToInt32(std::sin(a * kRadian) * r), cy - RoundToInt32(std::cos(a * kRadian) * r)});
  }
  return points;
}

std::vector<TPlotLabel> TAntennaView::GridLabels(int32_t width, int32_t height) const {
  const TPlotRect plot = PlotRect(width, height);
  const int32_t w = plot.Width();
  std::vector<TPlotLabel> labels;
  if (w <= 0) return labels;
  const auto gain = [&](int ring, int stepDb) {
    return FormatFixed(double(MaxGain) - ring * stepDb, 0, 1) + (ring == 0 ? " dBi" : "");
  };
  if (Cut == TPatternCut::pcVertical) {
    // Along the horizon, each ring's value ending at the ring.
    for (int k = 0; k < 6; ++k) labels.push_back({plot.Left + w - k * (w / 6) - 2, plot.Bottom - 3, gain(k, 5), true});
    for (int a = 30; a <= 90; a += 30) {
      const double r = w - 4;
      labels.push_back({plot.Left + RoundToInt32(std::cos(a * kRadian) * r) + 2,
                        plot.Bottom - RoundToInt32(std::sin(a * kRadian) * r) + 10, FormatInt(a) + kDegree, a < 90});
    }
    return labels;
  }
  const int32_t outer = w / 2, cx = width / 2, cy = height / 2;
  // Up the main beam, each ring's value beside it.
  for (int k = 0; k < 3; ++k) labels.push_back({cx + 3, cy - (outer - k * (w / 6)) + 11, gain(k, 10), false});
  labels.push_back({cx + outer - 3, cy - 3, FormatInt(90) + kDegree, true});
  labels.push_back({cx + 3, cy + outer - 3, FormatInt(180) + kDegree, false});
  labels.push_back({cx - outer + 3, cy - 3, FormatInt(270) + kDegree, false});
  return labels;
}

std::optional<std::string> TAntennaView::MouseReadout(int32_t width, int32_t height, int32_t x, int32_t y) const {
  const TPlotRect plot = PlotRect(width, height);
  if (!plot.Contains(x, y) || (AntennaType != 13 && AntennaType != 14)) return std::nullopt;
  const bool vertical = Cut == TPatternCut::pcVertical;
  const double radians = vertical ? std::atan2(double(plot.Bottom - y), double(x - plot.Left))
                                  : std::atan2(double(x - width / 2), double(height / 2 - y));
  int32_t angle = std::isfinite(radians) ? RoundToInt32(radians / kRadian) : 0;
  angle = ((angle % 360) + 360) % 360;
  const auto gain = vertical ? PatternGain(Pattern, SpinValue(), angle) : PatternGain(Pattern, angle, SpinValue());
  if (!gain) return std::nullopt;
  return FormatInt(angle) + kDegree + "   " + FormatFixed(*gain, 0, 1) + " dBi";
}

}  // namespace vx
