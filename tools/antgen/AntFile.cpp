#include "AntFile.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "common/TextUtil.h"

namespace vx::antgen {

namespace {

constexpr char kEol[] = "\r\n";

// One f7.3 field; always with its decimal point (a field without one would
// be read with three implied decimals).
std::string Field(double dbi) {
  double v = std::max(dbi, kGainFloor);
  if (!std::isfinite(v) || v >= 1000) throw std::invalid_argument("gain out of the field's range");
  if (std::fabs(v) < 0.0005) v = 0;  // no "-0.000"
  return FormatFixed(v, 7, 3);
}

// One record: 10 lines, columns 1-9 hold lead (on line 1) or blanks, then 10
// fields on lines 1-9 and the elevation-90 field on line 10.
void AppendRecord(std::string& out, const std::string& lead, const TElevationRow& row) {
  for (int line = 0; line < 10; ++line) {
    out += line == 0 ? lead : std::string(9, ' ');
    for (int e = line * 10; e < std::min(line * 10 + 10, 91); ++e) out += Field(row[e]);
    out += kEol;
  }
}

std::string Header(std::string_view description, int parameters) {
  std::string out(description);
  out += kEol;
  out += FormatInt(parameters, 2) + "     " + FormatInt(parameters) + " parameters" + kEol;
  out += "  0.00  [ 1] Max Gain dBi..: 0, the table holds absolute gains" + std::string(kEol);
  return out;
}

}  // namespace

std::string FormatType14(std::string_view description, const std::vector<TElevationRow>& rows) {
  if (rows.size() != 30) throw std::invalid_argument("a type-14 table has 30 rows");
  std::string out = Header(description, 3);
  out += "  14    [ 2] Antenna Type..: 30 x (efficiency + 91 gains) for 1..30 MHz" + std::string(kEol);
  out += "  0.00  [ 3] Frequency.....: none, each row holds its own antenna" + std::string(kEol);
  for (int mhz = 1; mhz <= 30; ++mhz)
    AppendRecord(out, FormatInt(mhz, 2) + FormatFixed(0, 6, 2) + " ", rows[size_t(mhz - 1)]);
  return out;
}

std::string FormatType13(std::string_view description, double mhz, const std::vector<TElevationRow>& rows) {
  if (rows.size() != 360) throw std::invalid_argument("a type-13 table has 360 rows");
  std::string out = Header(description, 4);
  out += "  13    [ 2] Antenna Type..: 360 x 91 gains, azimuth from the main beam" + std::string(kEol);
  out += "  0.0   [ 3] Efficiency....: dB, losses are in the gains" + std::string(kEol);
  out += FormatFixed(mhz, 6, 3) + "  [ 4] Frequency.....: MHz" + kEol;
  for (int az = 0; az < 360; ++az) AppendRecord(out, FormatInt(az, 5) + "    ", rows[size_t(az)]);
  return out;
}

}  // namespace vx::antgen
