#include "engine/AntPattern.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "common/FileUtil.h"
#include "common/TextUtil.h"

namespace vx {

namespace {

constexpr size_t kRowLines = 10;
constexpr size_t kFieldsStart = 10;  // column of the first field
constexpr size_t kFieldWidth = 7;

// One gain field, read as the propagation program reads an f7.3 field: with
// a decimal point as written, without one as thousandths.
std::optional<float> ParseGainField(std::string_view field) {
  field = Trim(field);
  if (field.empty()) return std::nullopt;
  std::optional<double> value;
  if (field.find('.') != std::string_view::npos) {
    value = ParseDouble(field);
  } else {
    std::string_view digits = field;
    if (digits[0] == '-' || digits[0] == '+') digits.remove_prefix(1);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    if (auto whole = ParseInt(field)) value = double(*whole) / 1000;
  }
  if (!value) return std::nullopt;
  const float gain = float(*value);
  if (!std::isfinite(gain)) return std::nullopt;
  return gain;
}

// Reads one table row starting at lines[first].
bool ParseRow(const std::vector<std::string_view>& lines, size_t first, std::vector<float>& row) {
  row.clear();
  row.reserve(kPatternElevations);
  for (size_t line = 0; line < kRowLines; ++line) {
    const std::string_view text = lines[first + line];
    const size_t fields = line + 1 < kRowLines ? 10 : 1;
    for (size_t k = 0; k < fields; ++k) {
      const size_t column = kFieldsStart + k * kFieldWidth;
      auto gain = ParseGainField(Columns(text, column, column + kFieldWidth - 1));
      if (!gain) return false;
      row.push_back(*gain);
    }
  }
  return true;
}

}  // namespace

std::optional<TAntennaPattern> ParseAntennaPattern(std::string_view bytes) {
  if (bytes.size() > kAntennaFileMaxBytes) return std::nullopt;
  const std::vector<std::string_view> lines = SplitLines(bytes);
  if (lines.size() < 4 || lines[3].find("[ 2]") != 8) return std::nullopt;
  auto type = ParseInt(Trim(Columns(lines[3], 3, 4)));
  if (!type) return std::nullopt;

  TAntennaPattern out;
  out.Description = std::string(lines[0]);
  out.AntennaType = int32_t(*type);
  size_t firstRow = 0, rows = 0;  // rows read from the file, stored from firstRow on
  switch (out.AntennaType) {
    case 0: return out;
    case 13: firstRow = 0, rows = 360; break;
    case 14: firstRow = 1, rows = 30; break;
    default: return std::nullopt;
  }
  // Line 4 is a parameter line, so there are at least two of them.
  auto parameters = ParseInt(Trim(Columns(lines[1], 1, 2)));
  if (!parameters || *parameters < 2) return std::nullopt;
  const size_t start = size_t(*parameters) + 2;  // 0-based index of line P + 3
  if (lines.size() < start + rows * kRowLines) return std::nullopt;

  out.Pattern.assign(firstRow, std::vector<float>(kPatternElevations, 0.0f));
  std::vector<float> row;
  for (size_t r = 0; r < rows; ++r) {
    if (!ParseRow(lines, start + r * kRowLines, row)) return std::nullopt;
    out.Pattern.push_back(row);
  }
  return out;
}

TAntennaReadResult ReadAntennaPattern(const std::string& path) {
  TAntennaReadResult result;
  result.Error = TAntennaReadError::reCannotOpen;
  if (!FileExists(path)) return result;
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error) return result;
  result.Error = TAntennaReadError::reUnknownFormat;
  if (size > kAntennaFileMaxBytes) return result;
  auto bytes = ReadWholeFile(path, kAntennaFileMaxBytes);
  if (!bytes) {
    result.Error = TAntennaReadError::reCannotOpen;
    return result;
  }
  result.Pattern = ParseAntennaPattern(*bytes);
  return result;
}

std::string AntennaReadMessage(TAntennaReadError error, const std::string& path) {
  if (error == TAntennaReadError::reCannotOpen) return "Cannot open \"" + path;
  return "Unknown file format";
}

std::optional<float> PatternGain(const TGainTable& pattern, int row, int elevation) {
  if (row < 0 || size_t(row) >= pattern.size()) return std::nullopt;
  const auto& cells = pattern[size_t(row)];
  if (elevation < 0 || size_t(elevation) >= cells.size()) return std::nullopt;
  return cells[size_t(elevation)];
}

float PatternMaxGain(int32_t antennaType, const TGainTable& pattern) {
  if (antennaType == 0) return 0;
  float best = -99;
  const size_t first = antennaType == 14 ? 1 : 0;
  for (size_t r = first; r < pattern.size(); ++r)
    for (float g : pattern[r]) best = std::max(best, g);
  return best;
}

TPatternPeak PatternPeak(int32_t antennaType, const TGainTable& pattern, int32_t mhz) {
  TPatternPeak peak;
  if (antennaType == 0) return peak;
  peak.Gain = -99;
  if (antennaType == 14) {
    if (mhz < 0 || size_t(mhz) >= pattern.size()) return peak;
    const auto& row = pattern[size_t(mhz)];
    for (size_t e = 2; e < row.size(); ++e)
      if (row[e] > peak.Gain) peak.Elevation = int32_t(e), peak.Gain = row[e];
    return peak;
  }
  for (size_t a = 0; a < pattern.size(); ++a)
    for (size_t e = 0; e < pattern[a].size(); ++e)
      if (pattern[a][e] > peak.Gain) peak.Azimuth = int32_t(a), peak.Elevation = int32_t(e), peak.Gain = pattern[a][e];
  return peak;
}

}  // namespace vx
