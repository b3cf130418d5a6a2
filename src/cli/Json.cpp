#include "cli/Json.h"

#include <charconv>
#include <cmath>

#include "common/Cp1252.h"
#include "common/DayCount.h"
#include "common/TextUtil.h"
#include "geo/Maidenhead.h"
#include "geo/PathFactsText.h"

namespace vx::cli {

std::string JsonNumber(float v) {
  if (IsResetValue(v) || !std::isfinite(v)) return "null";
  char buf[32];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
  return ec == std::errc() ? std::string(buf, p) : "null";
}

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      out += "\\u00" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15];
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      AppendUtf8(out, Cp1252ToCodePoint(c));
    }
  }
  return out + "\"";
}

// The inputs close the object, after the figures.
static std::string Tail(const TJsonHead& head) {
  return head.Inputs.empty() ? "}" : ", \"inputs\": " + head.Inputs + "}";
}

static std::string PositionJson(TLocation p, const std::string& typed) {
  std::string o = "{\"lat\": " + FormatFixed(p.Y / 180.0, 0, 4) + ", \"lon\": " + FormatFixed(p.X / 180.0, 0, 4) +
                  ", \"locator\": " + JsonString(FormatLocator(p));
  if (!typed.empty()) o += ", \"text\": " + JsonString(typed);
  return o + "}";
}

static std::string NamesJson(const std::array<std::string, kBandCount>& names) {
  std::string o = "[";
  for (size_t b = 0; b < names.size(); ++b) o += (b ? ", " : "") + JsonString(names[b]);
  return o + "]";
}

std::string InputsJson(const TPredictionInputs& in, const TInputSources& from, bool withDx) {
  std::string o = "{\"home\": " + PositionJson(in.Home, from.HomeText);
  if (withDx) o += ", \"dx\": " + PositionJson(in.Dx, from.DxText);
  o += ", \"year\": " + std::to_string(in.Year) + ", \"month\": " + std::to_string(in.Month) +
       ", \"ssn\": " + std::to_string(in.Ssn) + ", \"power\": " + std::to_string(in.TxPower) +
       ", \"txAntennas\": " + NamesJson(in.TxAntenna) + ", \"rxAntennas\": " + NamesJson(in.RxAntenna);
  o += ", \"from\": {\"home\": " + JsonString(from.Home);
  if (withDx) o += ", \"dx\": " + JsonString(from.Dx);
  return o + ", \"year\": " + JsonString(from.Year) + ", \"month\": " + JsonString(from.Month) +
         ", \"ssn\": " + JsonString(from.Ssn) + ", \"power\": " + JsonString(from.Power) +
         ", \"txAntennas\": " + JsonString(from.TxAntennas) + ", \"rxAntennas\": " + JsonString(from.RxAntennas) + "}}";
}

static std::string Head(const TJsonHead& head) {
  return "{\"status\": " + std::to_string(int(head.Status)) + ", \"statusText\": " + JsonString(head.StatusText) +
         ", \"engine\": " + JsonString(head.Engine);
}

std::string PointJson(const TJsonHead& head, const TPointResults& r, const TPathFacts* path) {
  std::string o = Head(head) + ", \"muf\": [";
  for (int h = 0; h < TPointResults::kHours; ++h) o += (h ? ", " : "") + JsonNumber(r.Muf[h]);
  o += "], \"rows\": [";
  for (int f = TPointResults::kMinMHz; f <= TPointResults::kMaxMHz; ++f) {
    o += f > TPointResults::kMinMHz ? ",\n  " : "\n  ";
    o += "{\"mhz\": " + std::to_string(f) + ", \"snr\": [";
    for (int h = 0; h < TPointResults::kHours; ++h) o += (h ? ", " : "") + JsonNumber(r.Snr[f][h]);
    o += "], \"elevation\": [";
    for (int h = 0; h < TPointResults::kHours; ++h) o += (h ? ", " : "") + JsonNumber(r.Elevation[f][h]);
    o += "], \"mode\": [";
    for (int h = 0; h < TPointResults::kHours; ++h) o += (h ? ", " : "") + JsonString(r.Mode[f][h]);
    o += "]}";
  }
  o += "]";
  if (path) o += ",\n \"path\": " + PathJson(*path);
  return o + Tail(head);
}

namespace {

std::string Fixed1(double v) { return FormatFixed(v, 0, 1); }
std::string OptionalClock(const std::optional<double>& hours) { return hours ? JsonString(ClockText(*hours)) : "null"; }

std::string EndJson(const TEndFacts& e) {
  const char* sun = e.Sun.Kind == TSunDay::sdPolarDay     ? "polar day"
                    : e.Sun.Kind == TSunDay::sdPolarNight ? "polar night"
                                                          : "rises and sets";
  return "{\"lat\": " + Fixed1(e.Point.Y / 180.0) + ", \"lon\": " + Fixed1(e.Point.X / 180.0) +
         ", \"utcOffset\": " + FormatFixed(e.Clock.UtcOffsetHours, 0, 2) +
         ", \"clock\": " + JsonString(e.Clock.FromPrefixList ? "prefix list" : "mean solar time") +
         ", \"localTime\": " + JsonString(LocalTimeText(e)) + ", \"sun\": " + JsonString(sun) +
         ", \"sunriseUtc\": " + OptionalClock(e.Sun.Rise) + ", \"sunsetUtc\": " + OptionalClock(e.Sun.Set) + "}";
}

}  // namespace

std::string PathJson(const TPathFacts& f) {
  const TCivilTime day = DecodeDayCount(f.Home.LocalTime - f.Home.Clock.UtcOffsetHours / 24.0);
  return "{\"shortKm\": " + Fixed1(f.ShortKm) + ", \"longKm\": " + Fixed1(f.LongKm) +
         ", \"shortMi\": " + Fixed1(f.ShortMi) + ", \"longMi\": " + Fixed1(f.LongMi) +
         ", \"bearingShort\": " + Fixed1(f.BearingShort) + ", \"bearingLong\": " + Fixed1(f.BearingLong) +
         ", \"dxCountry\": " + (f.DxCountry.empty() ? std::string("null") : JsonString(f.DxCountry)) +
         ", \"utcDate\": " +
         JsonString(FormatInt(day.Year, 4, true) + "-" + FormatInt(day.Month, 2, true) + "-" +
                    FormatInt(day.Day, 2, true)) +
         ",\n  \"home\": " + EndJson(f.Home) + ",\n  \"dx\": " + EndJson(f.Dx) + "}";
}

std::string AreaJson(const TJsonHead& head, const TVoaGrid& grid) {
  std::string o = Head(head) + ", \"n\": " + std::to_string(grid.size()) + ", \"cells\": [";
  for (size_t i = 0; i < grid.size(); ++i) {
    o += i ? ",\n  [" : "\n  [";
    for (size_t j = 0; j < grid[i].size(); ++j) {
      const TVoaGridCell& c = grid[i][j];
      o += (j ? ", " : "") + std::string("{\"snr\": ") + JsonNumber(c.Snr) +
           ", \"elevation\": " + JsonNumber(c.Elevation) + ", \"muf\": " + JsonNumber(c.Muf) +
           ", \"mode\": " + JsonString(c.Mode) + "}";
    }
    o += "]";
  }
  return o + "]" + Tail(head);
}

}  // namespace vx::cli
