#include "app/SolarIndices.h"

#include <algorithm>

#include "common/DayCount.h"

namespace vx {

void TSolarIndices::ShowMonthSsn(int mapHour) {
  Ssn_ = std::clamp(Months_.MonthSsn(), kSsnMin, kSsnMax);
  SsnLime_ = Monitor_.Active() && Ssn_ == LastSsn_;
  if (Monitor_.Active()) RefreshSpaceWeather(mapHour);
}

void TSolarIndices::StepMonth(TStepDirection dir, int mapHour) {
  Months_.StepMonth(dir, DecodeDayCount(Clock_.UtcNow()));
  ShowMonthSsn(mapHour);
}

bool TSolarIndices::SelectMonth(int year, int month, int mapHour) {
  if (!Months_.SelectMonth(year, month)) return false;
  ShowMonthSsn(mapHour);
  return true;
}

void TSolarIndices::EditSsn(int value) {
  Ssn_ = std::clamp(value, kSsnMin, kSsnMax);
  SsnLime_ = Monitor_.Active() && Ssn_ == LastSsn_;
}

void TSolarIndices::EditKp(int value) {
  Kp_ = std::clamp(value, kKpMin, kKpMax);
  KpLime_ = Monitor_.Active() && Kp_ == LastKp_;
}

bool TSolarIndices::RefreshSpaceWeather(int mapHour) {
  // The month shown, as a prediction reads it.
  const int year = Months_.Year();
  const int month = Months_.Month();
  if (!Monitor_.Active() || month == 0) {
    // Nothing to ask (or no month to ask for): the boxes are the user's.
    SsnLime_ = KpLime_ = false;
    return false;
  }
  const TCivilTime now = DecodeDayCount(Clock_.UtcNow());
  const int day = (year == now.Year && month == now.Month) ? now.Day : 15;
  const TSpaceWeatherReading r = Monitor_.ReadIndices(year, month, day, mapHour);

  bool changed = false;
  LastSsn_ = r.Ssn == kNoIndexValue ? kNoIndexValue : std::clamp(r.Ssn, kSsnMin, kSsnMax);
  SsnLime_ = LastSsn_ != kNoIndexValue;
  if (SsnLime_) {
    changed = Ssn_ != LastSsn_;
    Ssn_ = LastSsn_;
  }
  LastKp_ = r.Kp == kNoIndexValue ? kNoIndexValue : std::clamp(r.Kp, kKpMin, kKpMax);
  KpLime_ = LastKp_ != kNoIndexValue;
  if (KpLime_) {
    changed = changed || Kp_ != LastKp_;
    Kp_ = LastKp_;
  }
  return changed;
}

TMonitorToggle TSolarIndices::ToggleMonitor(bool down, int mapHour) {
  Monitor_.SetActive(down);
  if (!Monitor_.Available()) return TMonitorToggle::mtUnavailable;
  if (!Monitor_.Active()) {
    // Released: the boxes no longer follow a monitor.
    ClearSpaceWeatherDisplay();
    return TMonitorToggle::mtDisconnected;
  }
  RefreshSpaceWeather(mapHour);
  return TMonitorToggle::mtConnected;
}

void TSolarIndices::ClearSpaceWeatherDisplay() { SsnLime_ = KpLime_ = false; }

}  // namespace vx
