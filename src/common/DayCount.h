// Moments as day counts: days since 30 December 1899 (day 0), the fraction
// being the time of day. UTC wherever astronomy or map hours are concerned.
#pragma once

namespace vx {

struct TCivilTime {
  int Year = 1899, Month = 12, Day = 30;
  int Hour = 0, Minute = 0;
  double Second = 0;
};

double EncodeDayCount(const TCivilTime& t);
TCivilTime DecodeDayCount(double days);

// The current moment from the system's UTC clock; the one clock of the
// system.
double UtcNow();

// "Jan" .. "Dec" for months 1..12 (English, whatever the locale); "" otherwise.
const char* MonthAbbreviation(int month);

// The time of day of a moment, as a fraction of the day (0 <= f < 1).
double DayFraction(double days);

}  // namespace vx
