// The rules of the coordinate entry (whole degrees, a latitude box with an
// N/S toggle and a longitude box with an E/W toggle) and the one-line text
// form of a location. The Qt frame holds a TCoordFields and calls these.
#pragma once

#include <cstdint>
#include <string>

#include "common/Location.h"

namespace vx {

// What the frame shows: the two box texts and the two toggle captions.
struct TCoordFields {
  std::string LatText = "0";
  std::string LonText = "0";
  char LatHemisphere = 'N';  // 'N' or 'S'
  char LonHemisphere = 'W';  // 'E' or 'W'
};

int SignOfInt(int64_t v);

// The location shown, in whole degrees clamped to 0..90 and 0..180; text
// that is not a number reads as 0.
TLocation ReadCoordFields(const TCoordFields& f);
// Shows p, rounded to whole degrees (halves to even); the no-location point
// empties both boxes and leaves the toggles as they are.
void ShowCoordFields(TCoordFields& f, TLocation p);
// N <-> S, E <-> W.
char ToggleHemisphere(char caption);

// "40° N   74° W" (degree sign 176, Windows-1252; three blanks between).
std::string FormatCoordinates(TLocation p);

}  // namespace vx
