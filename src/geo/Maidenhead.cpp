#include "geo/Maidenhead.h"

#include <cmath>
#include <cstdint>

#include "common/TextUtil.h"

namespace vx {

namespace {

// A point as the indices of its extended square, counted from 180 W and
// 90 S: 1/120 degree of longitude and 1/240 degree of latitude, 43200 of
// each around the globe.
constexpr int64_t kCells = 43200;
constexpr int64_t kLonCellsPerDegree = 120;
constexpr int64_t kLatCellsPerDegree = 240;

struct TCell {
  int64_t X = 0;
  int64_t Y = 0;
};

// The characters of a locator pair by pair (longitude, then latitude):
// how many cells one step of it covers, how many symbols it has and its
// first symbol. The cells make both halves of a pair count alike.
struct TDigit {
  int64_t Span;
  int Count;
  char First;
};
constexpr TDigit kDigits[] = {{2400, 18, 'A'}, {240, 10, '0'}, {10, 24, 'a'}, {1, 10, '0'}};

int64_t ClampCell(int64_t v) { return v < 0 ? 0 : (v >= kCells ? kCells - 1 : v); }

std::string FormatCell(TCell c, int length) {
  std::string out;
  for (int pair = 0; pair < length / 2; ++pair) {
    out += char(kDigits[pair].First + (c.X / kDigits[pair].Span) % kDigits[pair].Count);
    out += char(kDigits[pair].First + (c.Y / kDigits[pair].Span) % kDigits[pair].Count);
  }
  return out;
}

bool IsLocatorLength(size_t length) { return length == 4 || length == 6 || length == 8; }

// The value of one locator character, -1 when it is outside its range.
int DigitValue(char c, const TDigit& d) {
  const char lower = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
  const char first = d.First >= 'A' && d.First <= 'Z' ? char(d.First - 'A' + 'a') : d.First;
  const int v = lower - first;
  return v >= 0 && v < d.Count ? v : -1;
}

}  // namespace

std::optional<TDegrees> LocatorCentre(std::string_view text) {
  if (!IsLocatorLength(text.size())) return std::nullopt;
  int64_t x = 0, y = 0, span = 0;
  for (size_t pair = 0; pair < text.size() / 2; ++pair) {
    const int dx = DigitValue(text[2 * pair], kDigits[pair]);
    const int dy = DigitValue(text[2 * pair + 1], kDigits[pair]);
    if (dx < 0 || dy < 0) return std::nullopt;
    x += dx * kDigits[pair].Span;
    y += dy * kDigits[pair].Span;
    span = kDigits[pair].Span;
  }
  // The centre of the last square named: half its span further on.
  return TDegrees{(double(y) + span / 2.0) / kLatCellsPerDegree - 90.0,
                  (double(x) + span / 2.0) / kLonCellsPerDegree - 180.0};
}

std::optional<TLocation> LocatorLocation(std::string_view locator) {
  auto c = LocatorCentre(locator);
  if (!c) return std::nullopt;
  return TLocation{RoundToInt32(c->Lon * 180.0), RoundToInt32(c->Lat * 180.0)};
}

std::string FormatLocator(TDegrees p, int length) {
  if (!IsLocatorLength(size_t(length)) || !(p.Lat >= -90 && p.Lat <= 90) || !(p.Lon >= -180 && p.Lon <= 180))
    return std::string();
  return FormatCell({ClampCell(int64_t(std::floor((p.Lon + 180.0) * kLonCellsPerDegree))),
                     ClampCell(int64_t(std::floor((p.Lat + 90.0) * kLatCellsPerDegree)))},
                    length);
}

std::string FormatLocator(TLocation p, int length) {
  // In whole units of 1/180 degree, so that a point on a square's edge is
  // never moved across it by a rounding error.
  const int64_t x = int64_t(p.X) + 180 * 180, y = int64_t(p.Y) + 90 * 180;
  if (!IsLocatorLength(size_t(length)) || !HasLocation(p) || x < 0 || x > 360 * 180 || y < 0 || y > 180 * 180)
    return std::string();
  // 1/180 degree is 2/3 of a longitude cell and 4/3 of a latitude cell.
  return FormatCell({ClampCell(x * 2 / 3), ClampCell(y * 4 / 3)}, length);
}

}  // namespace vx
