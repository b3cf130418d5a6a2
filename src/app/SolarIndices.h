// The month, SSN and Kp inputs of a prediction: the month selector over the
// sunspot table, the SSN and Kp boxes, and the space-weather monitor that may
// fill both boxes. A box is "lime" while it holds the value the connected
// monitor last reported, and has the ordinary window colour otherwise.
//
// The window shows MonthText(), Ssn(), Kp() and the two lime flags after
// every call here, and passes its SSN and Kp boxes' edits to EditSsn/EditKp.
#pragma once

#include <string>

#include "app/MonthSelector.h"
#include "app/SpaceWeather.h"
#include "common/Clock.h"

namespace vx {

enum class TMonitorToggle {
  mtConnected,     // the boxes now hold the monitor's values where it has them
  mtDisconnected,  // the button is up
  mtUnavailable,   // ask kMonitorMissingQuestion, then release the button
};

class TSolarIndices {
 public:
  static constexpr int kSsnMin = -50, kSsnMax = 400;
  static constexpr int kKpMin = 1, kKpMax = 9, kKpDefault = 3;

  TSolarIndices(ISpaceWeatherMonitor& monitor, const IClock& clock) : Monitor_(monitor), Clock_(clock) {}

  // The sunspot table (a failure leaves it empty). No month is shown until
  // the first StepMonth, normally to the current month.
  bool LoadSsnTable(const std::string& fileName) { return Months_.LoadSsnList(fileName); }
  const TMonthSelector& Months() const { return Months_; }
  TMonthSelector& Months() { return Months_; }

  // Shows another month and its SSN from the table; with the monitor
  // connected, its values for that month replace them. mapHour is the map's
  // UTC hour, the hour asked of the monitor. Nothing is recomputed here.
  void StepMonth(TStepDirection dir, int mapHour);
  // The same for a given month (false, nothing changed, for a month outside
  // 1..12 or outside the sunspot table).
  bool SelectMonth(int year, int month, int mapHour);
  std::string MonthText() const { return Months_.MonthText(); }
  // The month shown as numbers (0 and 0 when none is).
  int Year() const { return Months_.Year(); }
  int Month() const { return Months_.Month(); }

  int Ssn() const { return Ssn_; }
  int Kp() const { return Kp_; }
  bool SsnLime() const { return SsnLime_; }
  bool KpLime() const { return KpLime_; }

  // The user changed a box (clamped into its range): it is lime again only if
  // it holds the connected monitor's last value.
  void EditSsn(int value);
  void EditKp(int value);

  // Asks the connected monitor for the month shown (today in the current UTC
  // month, else the 15th) at mapHour. True when the SSN or Kp box changed.
  bool RefreshSpaceWeather(int mapHour);
  // The monitor button went down or up.
  TMonitorToggle ToggleMonitor(bool down, int mapHour);
  // The monitor went away: both boxes get the window colour.
  void ClearSpaceWeatherDisplay();

 private:
  void ShowMonthSsn(int mapHour);

  ISpaceWeatherMonitor& Monitor_;
  const IClock& Clock_;
  TMonthSelector Months_;
  int Ssn_ = 0;
  int Kp_ = kKpDefault;
  bool SsnLime_ = false;
  bool KpLime_ = false;
  int LastSsn_ = kNoIndexValue;  // the monitor's last values, as the boxes took them
  int LastKp_ = kNoIndexValue;
};

}  // namespace vx
