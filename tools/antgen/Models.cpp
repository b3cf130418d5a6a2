#include "Models.h"

#include <algorithm>
#include <cmath>

#include "common/TextUtil.h"

namespace vx::antgen {

namespace {

constexpr double kDegree = kPi / 180;

double Dbi(double gain) { return std::max(10 * std::log10(gain), kGainFloor); }

template <class F>
TElevationRow Row(F gainAt) {
  TElevationRow row{};
  for (int e = 0; e <= 90; ++e) row[size_t(e)] = Dbi(gainAt(e * kDegree));
  return row;
}

// "Dipole 55 ft (16.8 m), ...": the height in feet as named, and in metres.
std::string Height(int feet) {
  return std::to_string(feet) + " ft (" + FormatFixed(feet * kFeetToMetres, 0, 1) + " m)";
}

}  // namespace

std::vector<TElevationRow> DipoleRows(double heightMetres, const TGround& ground) {
  std::vector<TElevationRow> rows;
  for (int mhz = 1; mhz <= 30; ++mhz) {
    const THorizontalDipole dipole(heightMetres, mhz, ground);
    rows.push_back(Row([&](double e) { return dipole.Gain(e, 0); }));
  }
  return rows;
}

std::vector<TElevationRow> VerticalRows(const TGround& ground) {
  std::vector<TElevationRow> rows;
  for (int mhz = 1; mhz <= 30; ++mhz)
    rows.push_back(Row([&](double e) { return QuarterWaveVerticalGain(mhz, ground, e); }));
  return rows;
}

std::vector<TElevationRow> DipoleAzimuthRows(double heightMetres, double mhz, const TGround& ground) {
  const THorizontalDipole dipole(heightMetres, mhz, ground);
  std::vector<TElevationRow> rows;
  for (int az = 0; az < 360; ++az) rows.push_back(Row([&](double e) { return dipole.Gain(e, az * kDegree); }));
  return rows;
}

std::vector<TModelFile> ShippedModels() {
  const TGround ground = TGround::Average();
  std::vector<TModelFile> files;
  for (int feet : {33, 55, 100}) {
    const std::string description = "Dipole " + Height(feet) + ", half-wave resonant at each frequency, average ground";
    files.push_back({"Dipole" + std::to_string(feet) + ".N14",
                     FormatType14(description, DipoleRows(feet * kFeetToMetres, ground))});
  }
  files.push_back({"Vertical.N14", FormatType14("Quarter-wave vertical, radials, resonant at each frequency, "
                                                "average ground",
                                                VerticalRows(ground))});
  const double mhz = 14.175;
  files.push_back(
      {"Dipole20m.N13", FormatType13("Dipole " + Height(55) + " for 14.175 MHz, average ground, azimuth from broadside",
                                     mhz, DipoleAzimuthRows(55 * kFeetToMetres, mhz, ground))});
  return files;
}

}  // namespace vx::antgen
