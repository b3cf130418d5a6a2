// The values the stand-in propagation program prints, shared with the tests
// that check what the engine read back.
#pragma once

#include <cstdio>
#include <string>

namespace fake {

inline double Muf(int hour, int ssn) { return 5.0 + 0.1 * ssn + 0.5 * hour; }

// Whole dB; on the long model the low bands sink below -999 so that
// neighbouring five-character fields touch ("-1076-1113").
inline int Snr(int mhz, int hour, bool longModel) {
  if (longModel && mhz <= 4) return -1000 - 37 * mhz - hour;
  return (mhz * 7 + hour * 3) % 60 - 20;
}

inline double Angle(int mhz, int hour) { return 3.0 + ((mhz + hour) % 20) * 0.5; }

// Five characters as printed in a slot.
inline std::string Mode(int mhz, int hour, bool longModel) {
  int k = (mhz + hour) % 3;
  if (longModel) return k == 0 ? " F2F2" : k == 1 ? "  E E" : " F2 E";
  return k == 0 ? "  4 E" : "  2F2";
}

// Area grid values for 1-based grid indexes.
inline double AreaSnr(int i, int j, int hour) { return ((i * 7 + j * 13 + hour) % 70) - 25 + 0.1 * (i % 10); }
inline double AreaMuf(int i, int j) { return 5.0 + ((i + j) % 25); }
inline double AreaAngle(int i, int j) { return 1.0 + ((i * j) % 30); }
inline const char* AreaMode(int i, int j) { return (i + j) % 2 ? "F2F2" : "2F2"; }

}  // namespace fake
