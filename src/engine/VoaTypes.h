// Inputs, results and status codes of the propagation engine.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vx {

enum TVoaStatus : uint8_t {
  vsReady = 0,
  vsNotFound = 1,
  vsTooOld = 2,
  vsAntennaError = 3,
  vsExecError = 4,
  vsDeckError = 5,
  vsOutputError = 6,
  vsCancelled = 7,
};

// The fixed message of each status code.
const char* StatusMessage(TVoaStatus status);

inline constexpr int kBandCount = 8;
// Centre frequencies of the amateur bands, index 0..7 (MHz).
inline constexpr std::array<float, kBandCount> BandFrequency = {3.5f, 7.0f, 10.0f, 14.0f, 18.0f, 21.0f, 24.0f, 28.0f};

// The engine's inputs.
struct TVoaInputs {
  int32_t TxLon = 0;  // 1/180 degree, east positive
  int32_t TxLat = 0;  // 1/180 degree, north positive
  int32_t Ssn = 0;
  int32_t Year = 0;
  int32_t Month = 1;
  int32_t TxAntenna[kBandCount] = {};  // index into the antenna list, per band
  int32_t RxAntenna[kBandCount] = {};
  int32_t TxPower = 100;  // watts
  int32_t GridSize = 16;  // 16, 31 or 61 points per side

  bool LongPath = false;
  int32_t RxLon = 0;
  int32_t RxLat = 0;
  int32_t Band = 0;  // 0..7, area jobs
  int32_t Hour = 0;  // UTC 0..23, area jobs
};

// Point-to-point results: rows are whole MHz 2..30, columns UTC hours 0..24
// (hour 0 repeats hour 24 so a chart runs without a gap).
struct TPointResults {
  static constexpr int kMinMHz = 2;
  static constexpr int kMaxMHz = 30;
  static constexpr int kRows = kMaxMHz + 1;  // rows 0 and 1 exist but stay unused
  static constexpr int kHours = 25;

  float Snr[kRows][kHours];
  float Elevation[kRows][kHours];
  std::string Mode[kRows][kHours];
  float Muf[kHours];

  TPointResults() { ClearResults(); }
  void ClearResults();
};

// The value every float result holds after a reset: four bytes of 0x9C, a
// tiny negative number (about -1.036e-21) that reads as "no value".
float ResetValue();
bool IsResetValue(float v);

struct TVoaGridCell {
  float Snr = 0;
  float Elevation = 0;
  float Muf = 0;
  std::string Mode;  // at most 4 characters
};

// AreaGrid[i][j]: i runs west to east, j south to north. Empty = no map.
using TVoaGrid = std::vector<std::vector<TVoaGridCell>>;

TVoaGrid MakeGrid(int n);

}  // namespace vx
