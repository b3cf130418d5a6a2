// The space-weather monitor as Vantor sees it: a sibling program that reports
// the sunspot number and Kp for a date and hour. The client behind this
// interface (D-Bus) comes later; until then TUnavailableMonitor stands in and
// the window reports the monitor as unavailable.
#pragma once

#include <string>

namespace vx {

// An index the monitor has no value for.
inline constexpr int kNoIndexValue = -999;

struct TSpaceWeatherReading {
  int Ssn = kNoIndexValue;
  int Kp = kNoIndexValue;  // the latest hourly value of the 24 hours before the moment
};

// What the monitor tells on its own. Called on the GUI thread.
class ISpaceWeatherListener {
 public:
  virtual ~ISpaceWeatherListener() = default;
  // New values: read them again later, never inside this call.
  virtual void SpaceWeatherArrived() = 0;
  // The monitor asked to be let go and is no longer connected: give the
  // boxes their ordinary colour and release the monitor button.
  virtual void SpaceWeatherMonitorLeft() = 0;
};

class ISpaceWeatherMonitor {
 public:
  virtual ~ISpaceWeatherMonitor() = default;
  // False for good once a connection has failed (no monitor, or one too old).
  virtual bool Available() const = 0;
  // Connected.
  virtual bool Active() const = 0;
  // Connects (on) or disconnects (off); nothing when already so. A failed
  // connection makes Available false and is not retried.
  virtual void SetActive(bool on) = 0;
  // SSN and Kp at Year-Month-Day Hour:00 UTC, each rounded (halves to even),
  // kNoIndexValue where the monitor has none. Both unknown when not connected.
  virtual TSpaceWeatherReading ReadIndices(int year, int month, int day, int hour) = 0;
  // Where to report (nullptr: nowhere). The listener must outlive the monitor
  // or be removed first.
  virtual void SetListener(ISpaceWeatherListener* listener) = 0;
};

// No monitor on this system: never available, never connected.
class TUnavailableMonitor final : public ISpaceWeatherMonitor {
 public:
  bool Available() const override { return false; }
  bool Active() const override { return false; }
  void SetActive(bool) override {}
  TSpaceWeatherReading ReadIndices(int, int, int, int) override { return {}; }
  void SetListener(ISpaceWeatherListener*) override {}
};

// The question when the monitor cannot be reached (Yes opens the download page).
inline constexpr char kMonitorMissingQuestion[] =
    "This function requires Sunsentry 1.11 or higher.\nOpen the Sunsentry download page?";
// The monitor's download page, with the asking program's title as the query.
std::string MonitorDownloadPage(const std::string& appTitle);

// Public sources of the values, opened in the user's browser by the
// "Download SSN" and "Download Kp" buttons.
// The predicted monthly sunspot numbers of the Space Weather Prediction Center.
inline constexpr char kSsnSourceUrl[] = "https://services.swpc.noaa.gov/json/solar-cycle/predicted-solar-cycle.json";
inline constexpr char kKpSourceUrl[] = "https://services.swpc.noaa.gov/ftpdir/latest/DGD.txt";

}  // namespace vx
