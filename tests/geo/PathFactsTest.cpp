#include <gtest/gtest.h>

#include <cmath>

#include "common/DayCount.h"
#include "geo/PathFacts.h"
#include "geo/PathFactsText.h"

using namespace vx;

namespace {

// Decimal degrees to the 1/180-degree unit, as a frame would hold them.
TLocation At(double lat, double lon) {
  return TLocation{static_cast<int32_t>(std::lround(lon * 180)), static_cast<int32_t>(std::lround(lat * 180))};
}

const TLocation London = At(51.5074, -0.1278);
const TLocation NewYork = At(40.7128, -74.0060);
const TLocation Sydney = At(-33.8688, 151.2093);
const TLocation Tokyo = At(35.6762, 139.6503);
const TLocation Anchorage = At(61.2181, -149.9003);
const TLocation Petropavlovsk = At(53.0452, 158.6483);
const TLocation Tromso = At(69.6492, 18.9553);
const TLocation McMurdo = At(-77.85, 166.67);

double Day(int y, int m, int d, int hour = 0, int minute = 0) { return EncodeDayCount({y, m, d, hour, minute, 0}); }

TPathFacts Facts(TLocation home, TLocation dx) {
  return ComputePathFacts(TPathEnds{home, dx, {}, {}}, Day(2024, 6, 21));
}

void ExpectMinutes(std::optional<double> hours, int hh, int mm, const char* what) {
  ASSERT_TRUE(hours.has_value()) << what;
  EXPECT_NEAR(*hours * 60.0, hh * 60 + mm, 2.0) << what;
}

}  // namespace

// Reference distances and bearings of published city pairs, to 0.1 %.
TEST(PathFacts, DistancesAndBearingsOfKnownPaths) {
  struct TCase {
    const char* Name;
    TLocation Home, Dx;
    double Km, Bearing;
  } cases[] = {
      {"London-New York", London, NewYork, 5570.2, 288.33},
      {"Sydney-Tokyo", Sydney, Tokyo, 7825.8, 350.05},
      {"Anchorage-Petropavlovsk across 180", Anchorage, Petropavlovsk, 3142.9, 276.84},
      {"New York-London", NewYork, London, 5570.2, 51.21},
  };
  for (const TCase& c : cases) {
    const TPathFacts f = Facts(c.Home, c.Dx);
    EXPECT_NEAR(f.ShortKm, c.Km, c.Km * 1e-3) << c.Name;
    EXPECT_NEAR(f.ShortMi, c.Km / 1.609344, c.Km / 1.609344 * 1e-3) << c.Name;
    EXPECT_NEAR(f.LongKm, 40030.2 - c.Km, 40030.2 * 1e-3) << c.Name;
    EXPECT_NEAR(f.BearingShort, c.Bearing, 0.36) << c.Name;
    EXPECT_NEAR(f.BearingLong, std::fmod(c.Bearing + 180, 360), 0.36) << c.Name;
    EXPECT_GE(f.BearingShort, 0) << c.Name;
    EXPECT_LT(f.BearingShort, 360) << c.Name;
  }
}

TEST(PathFacts, DegenerateAndWrappingPaths) {
  // Antipodes: both ways are half the earth round.
  TPathFacts f = Facts(At(40, -75), At(-40, 105));
  EXPECT_NEAR(f.ShortKm, 20015.1, 20.0);
  EXPECT_NEAR(f.LongKm, 20015.1, 20.0);
  EXPECT_GE(f.BearingShort, 0);
  EXPECT_LT(f.BearingLong, 360);
  // The same place: no distance, the long path is the whole circle.
  f = Facts(London, London);
  EXPECT_NEAR(f.ShortKm, 0, 1.0);
  EXPECT_NEAR(f.LongKm, 40030.2, 40.0);
  // Due west just north of the equator: the long path points due east, not 450.
  f = Facts(At(0, 10), At(0, -10));
  EXPECT_NEAR(f.BearingShort, 270, 0.1);
  EXPECT_NEAR(f.BearingLong, 90, 0.1);
  // Due north: the long path points south.
  f = Facts(At(10, 20), At(30, 20));
  EXPECT_NEAR(f.BearingShort, 0, 0.1);
  EXPECT_NEAR(f.BearingLong, 180, 0.1);
}

// Almanac times, to two minutes.
TEST(PathFacts, SunriseAndSunsetOfKnownPlaces) {
  TSunTimes s = SunTimes(London, Day(2024, 6, 21, 15, 0));
  EXPECT_EQ(s.Kind, TSunDay::sdRiseAndSet);
  ExpectMinutes(s.Rise, 3, 43, "London rise");
  ExpectMinutes(s.Set, 20, 21, "London set");
  // In Sydney's summer the UTC day holds the evening's set before the next
  // morning's rise.
  s = SunTimes(Sydney, Day(2024, 12, 21));
  ExpectMinutes(s.Set, 9, 5, "Sydney set");
  ExpectMinutes(s.Rise, 18, 41, "Sydney rise");
  // New York's set falls just after 0 h UTC.
  s = SunTimes(NewYork, Day(2024, 6, 21));
  ExpectMinutes(s.Set, 0, 31, "New York set");
  ExpectMinutes(s.Rise, 9, 25, "New York rise");
}

TEST(PathFacts, PolarDaysAndNights) {
  EXPECT_EQ(SunTimes(Tromso, Day(2024, 6, 21)).Kind, TSunDay::sdPolarDay);
  EXPECT_EQ(SunTimes(Tromso, Day(2024, 12, 21)).Kind, TSunDay::sdPolarNight);
  EXPECT_EQ(SunTimes(McMurdo, Day(2024, 6, 21)).Kind, TSunDay::sdPolarNight);
  EXPECT_EQ(SunTimes(McMurdo, Day(2024, 12, 21)).Kind, TSunDay::sdPolarDay);
  EXPECT_EQ(SunTimes(At(90, 0), Day(2024, 3, 1)).Kind, TSunDay::sdPolarNight);
  const TSunTimes polar = SunTimes(Tromso, Day(2024, 6, 21));
  EXPECT_FALSE(polar.Rise || polar.Set);
  const std::string text = PathFactsText(ComputePathFacts({London, Tromso, {}, {}}, Day(2024, 6, 21)));
  EXPECT_NE(text.find("DX 01:00 local (UTC+1, mean solar time), sun up all day"), std::string::npos) << text;
}

TEST(PathFacts, LocalClocks) {
  // Mean solar time, rounded to the hour; the prefix list's offset wins.
  const double moment = Day(2024, 6, 21, 12, 30);
  TPathFacts f = ComputePathFacts({London, NewYork, {}, {}}, moment);
  EXPECT_FALSE(f.Dx.Clock.FromPrefixList);
  EXPECT_EQ(f.Dx.Clock.UtcOffsetHours, -5);
  EXPECT_EQ(f.Home.Clock.UtcOffsetHours, 0);
  EXPECT_EQ(MeanSolarClock(At(0, 172.6)).UtcOffsetHours, 12);
  EXPECT_EQ(MeanSolarClock(At(0, -172.6)).UtcOffsetHours, -12);
  EXPECT_EQ(MeanSolarClock(At(0, 7.4)).UtcOffsetHours, 0);
  EXPECT_EQ(MeanSolarClock(At(0, 7.6)).UtcOffsetHours, 1);
  f = ComputePathFacts({London, At(28.6, 77.2), "India", 5.5}, moment);
  EXPECT_TRUE(f.Dx.Clock.FromPrefixList);
  EXPECT_NEAR(DayFraction(f.Dx.LocalTime) * 24, 18.0, 1e-6);
  EXPECT_EQ(f.DxCountry, "India");
}

TEST(PathFactsText, Block) {
  const double moment = Day(2024, 6, 21, 12, 30);
  const TPathFacts f = ComputePathFacts({London, NewYork, "United States", -4.0}, moment);
  const std::string t = PathFactsText(f);
  EXPECT_EQ(t.substr(0, t.find("Home")),
            "Short path 5570 km (3461 mi), bearing 288\xB0\n"
            "Long path 34460 km (21412 mi), bearing 108\xB0\n"
            "DX country United States\n");
  EXPECT_NE(t.find("Home 12:30 local (UTC, mean solar time), sunrise 03:4"), std::string::npos) << t;
  EXPECT_NE(t.find("DX 08:30 local (UTC-4, prefix list), sunrise 09:2"), std::string::npos) << t;
  // No country without a call; the brief form for the status bar.
  EXPECT_EQ(PathFactsText(Facts(London, NewYork)).find("country"), std::string::npos);
  EXPECT_EQ(PathFactsBrief(f), "5570 km, 288\xB0");
}

TEST(PathFactsText, ClocksAndOffsets) {
  EXPECT_EQ(ClockText(0), "00:00");
  EXPECT_EQ(ClockText(23.999), "00:00");
  EXPECT_EQ(ClockText(9.5), "09:30");
  EXPECT_EQ(UtcOffsetText(0), "UTC");
  EXPECT_EQ(UtcOffsetText(1), "UTC+1");
  EXPECT_EQ(UtcOffsetText(-3.5), "UTC-3:30");
  EXPECT_EQ(UtcOffsetText(5.75), "UTC+5:45");
}
