// Antenna model files in the propagation program's table layouts: type 14
// (gain in dBi per elevation 0..90 for each whole MHz 1..30) and type 13
// (gain in dBi per azimuth 0..359 from the main beam and elevation 0..90).
// Lines end in CR LF; gains are 7-character fields with three decimals.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vx::antgen {

// Gains in dBi at elevations 0..90 degrees.
using TElevationRow = std::array<double, 91>;

// The lowest gain written: the propagation program's own antenna models stop
// there too, and a ground-level null would otherwise be minus infinity.
inline constexpr double kGainFloor = -30;

// rows[0] is 1 MHz ... rows[29] is 30 MHz. The description is line 1, the
// antenna's display name.
std::string FormatType14(std::string_view description, const std::vector<TElevationRow>& rows);

// rows[a] is azimuth a degrees from the main beam (360 rows); mhz is the
// frequency the pattern was computed for.
std::string FormatType13(std::string_view description, double mhz, const std::vector<TElevationRow>& rows);

}  // namespace vx::antgen
