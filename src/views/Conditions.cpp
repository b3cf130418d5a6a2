#include "views/Conditions.h"

#include <algorithm>
#include <cmath>

#include "common/TextUtil.h"
#include "views/ChartDraw.h"

namespace vx {

namespace {

std::string BandText(float band) { return FormatFixed(band, 0, std::floor(band) == band ? 0 : 1); }
std::string Hour2(int h) { return FormatInt(h, 2, true); }

bool HasValue(float snr) { return std::isfinite(snr) && !IsResetValue(snr); }

std::string WindowsText(const TBandConditions& b) {
  if (b.AllDay) return "all day";
  if (b.Windows.empty()) return "closed";
  std::string s;
  for (const TBandWindow& w : b.Windows) s += (s.empty() ? "" : " ") + Hour2(w.Opens) + "-" + Hour2(w.Closes);
  return s;
}

// Three characters: the SNR in whole dB, "-" below 0 dB or without a value.
std::string Cell(float snr) {
  if (!HasValue(snr) || snr < 0) return "  -";
  return FormatInt(std::min(99, RoundToInt32(snr)), 3);
}

std::string Coloured(const std::string& text, float snr) {
  const TRgb c = ColorRamp()[RoundToInt32(std::clamp(double(snr), 0.0, 63.0))];
  return "\x1b[30;48;2;" + FormatInt(c.R) + ";" + FormatInt(c.G) + ";" + FormatInt(c.B) + "m" + text + "\x1b[0m";
}

}  // namespace

std::vector<TBandConditions> BandConditions(const TPointResults& results) {
  std::vector<TBandConditions> out;
  for (float band : BandFrequency) {
    TBandConditions b;
    b.Band = band;
    const int row = static_cast<int>(band);
    std::array<bool, 24> open{};
    for (int h = 0; h < 24; ++h) {
      b.Snr[h] = results.Snr[row][h];
      open[h] = ChartShowsSignal(b.Snr[h]);
    }
    const int openHours = static_cast<int>(std::count(open.begin(), open.end(), true));
    b.AllDay = openHours == 24;
    if (openHours > 0) b.BestHour = BestHour(results, band) % 24;  // hour 24 repeats hour 0
    if (openHours > 0 && !b.AllDay)
      for (int h = 0; h < 24; ++h)
        if (open[h] && !open[(h + 23) % 24]) {
          int end = (h + 1) % 24;
          while (open[end]) end = (end + 1) % 24;
          b.Windows.push_back(TBandWindow{h, end});
        }
    out.push_back(std::move(b));
  }
  return out;
}

std::string ConditionsAt(const TPointResults& results, int hour) {
  hour = std::clamp(hour, 0, 23);
  std::vector<std::pair<float, float>> open;  // SNR, band
  bool computed = false;
  for (float band : BandFrequency) {
    const float snr = results.Snr[static_cast<int>(band)][hour];
    computed = computed || (!IsResetValue(snr) && !std::isnan(snr));
    if (ChartShowsSignal(snr)) open.emplace_back(snr, band);
  }
  if (!computed) return {};
  std::stable_sort(open.begin(), open.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  std::string s = Hour2(hour) + " UTC:";
  if (open.empty()) return s + " no band open";
  for (size_t i = 0; i < open.size(); ++i)
    s += (i ? ", " : " ") + BandText(open[i].second) + " MHz " + FormatInt(RoundToInt32(open[i].first)) + " dB";
  return s;
}

std::string ConditionsTable(const TPointResults& results, bool colour) {
  std::string s = "MHz ";
  for (int h = 0; h < 24; ++h) s += " " + Hour2(h);
  s += "  best  open UTC\n";
  for (const TBandConditions& b : BandConditions(results)) {
    s += PadRight(BandText(b.Band), 4);
    for (int h = 0; h < 24; ++h) {
      const std::string cell = Cell(b.Snr[h]);
      s += colour && ChartShowsSignal(b.Snr[h]) ? Coloured(cell, b.Snr[h]) : cell;
    }
    s += b.BestHour < 0 ? "     -" : "    " + Hour2(b.BestHour);
    s += "  " + WindowsText(b) + "\n";
  }
  return s;
}

std::string ConditionsCsv(const TPointResults& results) {
  std::string s = "band_mhz";
  for (int h = 0; h < 24; ++h) s += ",snr_" + Hour2(h) + "utc";
  s += ",best_utc,opens_utc,closes_utc\n";
  for (const TBandConditions& b : BandConditions(results)) {
    s += BandText(b.Band);
    for (float v : b.Snr) s += "," + (HasValue(v) ? FormatFixed(v, 0, 1) : std::string());
    s += "," + (b.BestHour < 0 ? std::string() : FormatInt(b.BestHour));
    std::string opens, closes;
    if (b.AllDay) opens = "0", closes = "24";
    for (const TBandWindow& w : b.Windows) {
      opens += (opens.empty() ? "" : " ") + FormatInt(w.Opens);
      closes += (closes.empty() ? "" : " ") + FormatInt(w.Closes);
    }
    s += "," + opens + "," + closes + "\n";
  }
  return s;
}

}  // namespace vx
