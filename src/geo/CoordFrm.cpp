#include "geo/CoordFrm.h"

#include <algorithm>
#include <cstdlib>

#include "common/TextUtil.h"

namespace vx {

int SignOfInt(int64_t v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

static int64_t DegreesOf(const std::string& text, int64_t max) {
  auto v = ParseInt(Trim(text));
  return std::clamp<int64_t>(v ? *v : 0, 0, max);
}

// Whole degrees of a value in 1/180 degree; 64-bit so that no value overflows.
static int64_t RoundDegrees(int32_t v) {
  return static_cast<int64_t>(RoundHalfEven(std::abs(static_cast<double>(v)) / 180.0));
}

TLocation ReadCoordFields(const TCoordFields& f) {
  int64_t lat = DegreesOf(f.LatText, 90) * 180;
  int64_t lon = DegreesOf(f.LonText, 180) * 180;
  return TLocation{static_cast<int32_t>(f.LonHemisphere == 'W' ? -lon : lon),
                   static_cast<int32_t>(f.LatHemisphere == 'S' ? -lat : lat)};
}

void ShowCoordFields(TCoordFields& f, TLocation p) {
  if (p.X == kNoLocation32) {
    f.LatText.clear();
    f.LonText.clear();
    return;
  }
  f.LatText = FormatInt(std::min<int64_t>(RoundDegrees(p.Y), 90));
  f.LatHemisphere = p.Y < 0 ? 'S' : 'N';
  f.LonText = FormatInt(std::min<int64_t>(RoundDegrees(p.X), 180));
  f.LonHemisphere = p.X < 0 ? 'W' : 'E';
}

char ToggleHemisphere(char caption) {
  switch (caption) {
    case 'N': return 'S';
    case 'S': return 'N';
    case 'E': return 'W';
    case 'W': return 'E';
    default: return caption;
  }
}

std::string FormatCoordinates(TLocation p) {
  return FormatInt(RoundDegrees(p.Y)) + "\xB0 " + (SignOfInt(p.Y) < 0 ? "S" : "N") + "   " +
         FormatInt(RoundDegrees(p.X)) + "\xB0 " + (SignOfInt(p.X) < 0 ? "W" : "E");
}

}  // namespace vx
