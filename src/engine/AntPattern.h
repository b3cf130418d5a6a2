// Reading an antenna model file's gain table for the pattern viewer.
//
// Layout: line 1 the description; line 2 starts (columns 1-2) with the
// number P of parameter lines; line 4 has the antenna type in columns 3-4
// and "[ 2]" starting in column 9; the table starts at line P + 3. A table
// row is 10 lines: columns 1-9 are skipped, then 7-character fields of gains
// in dBi, 10 on lines 1-9 and the elevation-90 value first on line 10.
// Type 0 (isotropic) has no table; type 13 has 360 rows (azimuth 0..359) and
// type 14 rows 1..30 (MHz; row 0 is kept, all zero).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// Larger files are refused without reading them.
inline constexpr size_t kAntennaFileMaxBytes = 400000;
inline constexpr int kPatternElevations = 91;

// Rows of 91 gains in dBi (elevation 0..90): 360 for type 13, 31 for type
// 14, none for type 0.
using TGainTable = std::vector<std::vector<float>>;

struct TAntennaPattern {
  std::string Description;  // line 1
  int32_t AntennaType = 0;  // 0, 13 or 14
  TGainTable Pattern;
};

enum class TAntennaReadError { reCannotOpen, reUnknownFormat };

struct TAntennaReadResult {
  std::optional<TAntennaPattern> Pattern;
  TAntennaReadError Error = TAntennaReadError::reUnknownFormat;  // when Pattern is empty
};

// The table of the file's bytes, or nothing when they are not an antenna
// file of a type the viewer knows. A field without a decimal point has three
// implied decimals, as the propagation program reads it ("  1500" is 1.5).
std::optional<TAntennaPattern> ParseAntennaPattern(std::string_view bytes);

// Reads and parses the file: reCannotOpen when it is missing or unreadable,
// reUnknownFormat when it is larger than kAntennaFileMaxBytes or not valid.
TAntennaReadResult ReadAntennaPattern(const std::string& path);

// The viewer's error texts: "Cannot open \"<path>" (no closing quote) and
// "Unknown file format".
std::string AntennaReadMessage(TAntennaReadError error, const std::string& path);

// The gain at a row and elevation, or nothing outside the table.
std::optional<float> PatternGain(const TGainTable& pattern, int row, int elevation);

// The largest gain of the table (type 13: every cell; type 14: rows 1..30),
// starting from -99; 0 for type 0.
float PatternMaxGain(int32_t antennaType, const TGainTable& pattern);

// Where the pattern is strongest: the first cell, azimuth by azimuth and each
// from elevation 0 up, that beats the running maximum (which starts at -99).
// Type 14 looks only at the row `mhz`, elevations 2..90, azimuth 0. Type 0
// and a table without a gain above -99 give azimuth 0, elevation 0, -99
// (type 0: gain 0).
struct TPatternPeak {
  int32_t Azimuth = 0;
  int32_t Elevation = 0;
  float Gain = 0;
};
TPatternPeak PatternPeak(int32_t antennaType, const TGainTable& pattern, int32_t mhz);

}  // namespace vx
