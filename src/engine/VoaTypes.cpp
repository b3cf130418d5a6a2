#include "engine/VoaTypes.h"

#include <cstring>

namespace vx {

const char* StatusMessage(TVoaStatus status) {
  static const char* const kMessages[] = {
      "VOACAP is ready",
      "VOACAP not found",
      "VOACAP version too old",
      "Error in antenna model files",
#ifdef _WIN32
      "Error executing VOACAPW.exe",
#else
      "Error executing voacapl",
#endif
      "Unable to create parameter file",
      "Error in VOACAP output",
      "Computations cancelled",
  };
  return status <= vsCancelled ? kMessages[status] : "";
}

float ResetValue() {
  const uint32_t bits = 0x9C9C9C9Cu;
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

bool IsResetValue(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return bits == 0x9C9C9C9Cu;
}

void TPointResults::ClearResults() {
  const float r = ResetValue();
  for (int f = 0; f < kRows; ++f)
    for (int h = 0; h < kHours; ++h) {
      Snr[f][h] = r;
      Elevation[f][h] = r;
      Mode[f][h].clear();
    }
  for (int h = 0; h < kHours; ++h) Muf[h] = r;
}

TVoaGrid MakeGrid(int n) {
  if (n <= 0) return {};
  return TVoaGrid(static_cast<size_t>(n), std::vector<TVoaGridCell>(static_cast<size_t>(n)));
}

}  // namespace vx
