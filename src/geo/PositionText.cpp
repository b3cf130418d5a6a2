#include "geo/PositionText.h"

#include <cctype>
#include <optional>
#include <utility>

#include "common/TextUtil.h"
#include "geo/Maidenhead.h"

namespace vx {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Letters and digits in the pattern of a locator of 4, 6 or 8 characters,
// whatever their range.
bool LocatorShaped(std::string_view t) {
  if (t.size() != 4 && t.size() != 6 && t.size() != 8) return false;
  for (size_t i = 0; i < t.size(); ++i)
    if ((i / 2) % 2 == 0 ? !IsLetter(t[i]) : !IsDigit(t[i])) return false;
  return true;
}

// One number of a pair, with the hemisphere letter after it (0 when none).
struct TCoordinate {
  std::string Text;
  double Value = 0;
  char Hemisphere = 0;
};

// Reads "[sign]digits[.digits][blanks][°][blanks][NSEW]" at text[i].
std::optional<TCoordinate> ReadCoordinate(std::string_view text, size_t& i) {
  const size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  while (i < text.size() && (IsDigit(text[i]) || text[i] == '.')) ++i;
  TCoordinate c;
  c.Text = std::string(text.substr(start, i - start));
  auto value = ParseDouble(c.Text);
  if (!value) return std::nullopt;
  c.Value = *value;
  size_t j = i;
  while (j < text.size() && IsBlank(text[j])) ++j;
  // The degree sign, in Windows-1252 or in UTF-8.
  if (j < text.size() && text[j] == '\xB0')
    ++j;
  else if (text.substr(j, 2) == "\xC2\xB0")
    j += 2;
  while (j < text.size() && IsBlank(text[j])) ++j;
  if (j < text.size()) {
    const char h = char(std::toupper(static_cast<unsigned char>(text[j])));
    const bool alone = j + 1 == text.size() || IsBlank(text[j + 1]) || text[j + 1] == ',';
    if ((h == 'N' || h == 'S' || h == 'E' || h == 'W') && alone) {
      c.Hemisphere = h;
      i = j + 1;
    }
  }
  return c;
}

bool IsLatitudeLetter(char h) { return h == 'N' || h == 'S'; }
bool IsLongitudeLetter(char h) { return h == 'E' || h == 'W'; }

TPositionText DegreesError(std::string error) {
  return TPositionText{TPositionForm::pfDegrees, kNoLocationPoint, std::move(error)};
}

TPositionText ParseDegrees(std::string_view text) {
  const std::string notTwo = "'" + std::string(text) + "' is not two decimal numbers (LAT,LON)";
  size_t i = 0;
  auto first = ReadCoordinate(text, i);
  size_t gap = i;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i < text.size() && text[i] == ',') ++i;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (!first || i == gap) return DegreesError(notTwo);
  auto second = ReadCoordinate(text, i);
  if (!second || i != text.size()) return DegreesError(notTwo);
  TCoordinate lat = *first, lon = *second;
  // "72.71 W, 41.73 N": the letters say which is which.
  if (IsLongitudeLetter(lat.Hemisphere) && (IsLatitudeLetter(lon.Hemisphere) || !lon.Hemisphere)) std::swap(lat, lon);
  if (IsLongitudeLetter(lat.Hemisphere) || IsLatitudeLetter(lon.Hemisphere))
    return DegreesError("'" + std::string(text) + "' names one hemisphere twice");
  for (TCoordinate* c : {&lat, &lon})
    if (c->Hemisphere) {
      if (c->Value < 0) return DegreesError("'" + c->Text + c->Hemisphere + "': a negative number with a hemisphere");
      if (c->Hemisphere == 'S' || c->Hemisphere == 'W') c->Value = -c->Value;
    }
  if (!(lat.Value >= -90 && lat.Value <= 90))
    return DegreesError("latitude " + lat.Text + " is out of range (-90 to 90, north positive)");
  if (!(lon.Value >= -180 && lon.Value <= 180))
    return DegreesError("longitude " + lon.Text + " is out of range (-180 to 180, east positive)");
  return TPositionText{TPositionForm::pfDegrees,
                       TLocation{RoundToInt32(lon.Value * 180), RoundToInt32(lat.Value * 180)}, std::string()};
}

}  // namespace

TPositionText ParsePositionText(std::string_view text) {
  text = Trim(text);
  if (LocatorShaped(text)) {
    if (auto p = LocatorLocation(text)) return TPositionText{TPositionForm::pfLocator, *p, std::string()};
    return TPositionText{TPositionForm::pfLocator, kNoLocationPoint,
                         "'" + std::string(text) + "' is no locator (AA00aa00 to RR99xx99)"};
  }
  // Two numbers need a separator; a call sign has none.
  const bool numeric = !text.empty() && (IsDigit(text[0]) || text[0] == '-' || text[0] == '+' || text[0] == '.');
  if (numeric && text.find_first_of(", \t") != std::string_view::npos) return ParseDegrees(text);
  return TPositionText{TPositionForm::pfNone, kNoLocationPoint,
                       "'" + std::string(text) + "' is not a locator (FN31pr) or LAT,LON"};
}

}  // namespace vx
