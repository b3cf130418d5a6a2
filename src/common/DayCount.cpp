#include "common/DayCount.h"

#include <chrono>
#include <cmath>

namespace vx {

namespace {

// Days from 1970-01-01 to a proleptic Gregorian date (H. Hinnant's method).
long DaysFromCivil(long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

void CivilFromDays(long z, int& y, int& m, int& d) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

constexpr long kUnixEpochDay = 25569;  // 1970-01-01 as a day count

}  // namespace

double EncodeDayCount(const TCivilTime& t) {
  const long days = DaysFromCivil(t.Year, static_cast<unsigned>(t.Month), static_cast<unsigned>(t.Day)) + kUnixEpochDay;
  return static_cast<double>(days) + (t.Hour * 3600.0 + t.Minute * 60.0 + t.Second) / 86400.0;
}

TCivilTime DecodeDayCount(double days) {
  TCivilTime t;
  // To the nearest millisecond first: 09:05:00 must not come out as 09:04:59.999.
  const double ms = std::round(days * 86400000.0);
  const double whole = std::floor(ms / 86400000.0);
  CivilFromDays(static_cast<long>(whole) - kUnixEpochDay, t.Year, t.Month, t.Day);
  double secs = (ms - whole * 86400000.0) / 1000.0;
  t.Hour = static_cast<int>(secs / 3600);
  secs -= t.Hour * 3600.0;
  t.Minute = static_cast<int>(secs / 60);
  t.Second = secs - t.Minute * 60.0;
  return t;
}

double DayFraction(double days) { return days - std::floor(days); }

double UtcNow() {
  using namespace std::chrono;
  const double secs = duration<double>(system_clock::now().time_since_epoch()).count();
  return kUnixEpochDay + secs / 86400.0;
}

const char* MonthAbbreviation(int month) {
  static const char* const kNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  return month >= 1 && month <= 12 ? kNames[month - 1] : "";
}

}  // namespace vx
