// The location point every layer exchanges: longitude (X) and latitude (Y)
// in 1/180 degree, east and north positive. A point whose members hold the
// largest value of their width has no location; the callbook files store the
// same unit in 16 bits, so each width has its own marker.
#pragma once

#include <cstdint>

namespace vx {

struct TLocation {
  int32_t X = 0;
  int32_t Y = 0;
};

inline constexpr int32_t kNoLocation32 = 2147483647;
inline constexpr int16_t kNoLocation16 = 32767;

inline constexpr TLocation kNoLocationPoint{kNoLocation32, kNoLocation32};

inline bool HasLocation(const TLocation& p) { return p.X != kNoLocation32 || p.Y != kNoLocation32; }

}  // namespace vx
