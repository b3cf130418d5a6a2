// The antenna models shipped with the programs, computed from Physics.h.
#pragma once

#include <string>
#include <vector>

#include "AntFile.h"
#include "Physics.h"

namespace vx::antgen {

struct TModelFile {
  std::string Name;  // file name; at most 14 characters so that "Vantor/" + name fits a deck's antenna field
  std::string Text;
};

// Gains in dBi (floored at kGainFloor) of a horizontal half-wave dipole cut
// for each whole MHz 1..30, broadside, elevations 0..90.
std::vector<TElevationRow> DipoleRows(double heightMetres, const TGround& ground);
// The same for a quarter-wave vertical over radials.
std::vector<TElevationRow> VerticalRows(const TGround& ground);
// A horizontal half-wave dipole cut for mhz: 360 azimuths from broadside.
std::vector<TElevationRow> DipoleAzimuthRows(double heightMetres, double mhz, const TGround& ground);

// Every shipped file, in a fixed order.
std::vector<TModelFile> ShippedModels();

}  // namespace vx::antgen
