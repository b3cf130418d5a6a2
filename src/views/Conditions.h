// The chart in words, band by band: the SNR of each UTC hour, the best hour
// and the hours a band opens and closes. A band is open in an hour when the
// chart colours its cell (ChartShowsSignal). For vantor-cli's table and CSV.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/VoaTypes.h"

namespace vx {

// One stretch of open hours: from Opens up to (not including) Closes, UTC;
// Closes < Opens runs across 0 h.
struct TBandWindow {
  int Opens = 0;
  int Closes = 0;
};

struct TBandConditions {
  float Band = 0;  // MHz, as BandFrequency
  std::array<float, 24> Snr{};
  bool AllDay = false;               // open every hour
  std::vector<TBandWindow> Windows;  // from 0 h on; empty and not AllDay: closed all day
  int BestHour = -1;                 // the chart's best hour, 0..23; -1 when the band never opens
};

std::vector<TBandConditions> BandConditions(const TPointResults& results);

// A fixed-width table, one line per band, ending with "\n". colour: ANSI
// escapes give open cells the chart's colour for their SNR.
std::string ConditionsTable(const TPointResults& results, bool colour);

// One line for the hour given (0..23): the bands open then with their SNR,
// strongest first, e.g. "14 UTC: 14 MHz 23 dB, 10 MHz 12 dB"; "14 UTC: no
// band open" when none is; empty when nothing was computed for the hour.
std::string ConditionsAt(const TPointResults& results, int hour);

// Comma-separated, with a header row and "." decimals; an hour without a
// value is an empty field.
std::string ConditionsCsv(const TPointResults& results);

}  // namespace vx
