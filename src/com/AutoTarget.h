// IAutomationTarget: what automation clients can read, set and run in
// Vantor, one member per property or method of the bus interface
// net.vexmoor.Vantor.App. TVantorApp implements it over the prediction
// controller and the window's controls; the D-Bus service only translates.
//
// Setters clamp out-of-range numbers and never fail for range. A member that
// fails (a file that cannot be written, a month that does not exist) throws
// TAutomationError with the text the client gets.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vx {

class TAutomationError : public std::runtime_error {
 public:
  // text is Windows-1252; a file name the text ends with is kept apart in
  // the file system's own bytes, so that the edge can show it as it is.
  explicit TAutomationError(const std::string& text, std::string fileName = {})
      : std::runtime_error(text + fileName), Text_(text), FileName_(std::move(fileName)) {}
  const std::string& Text() const { return Text_; }
  const std::string& FileName() const { return FileName_; }

 private:
  std::string Text_;
  std::string FileName_;
};

class IAutomationTarget {
 public:
  virtual ~IAutomationTarget() = default;

  // major * 65536 + minor of the program's version.
  virtual int32_t Version() const = 0;

  virtual bool Visible() const = 0;
  virtual void SetVisible(bool on) = 0;
  virtual int32_t Left() const = 0;
  virtual void SetLeft(int32_t left) = 0;
  virtual int32_t Top() const = 0;
  virtual void SetTop(int32_t top) = 0;
  // 0 Params, 1 Chart, 2 Map, 3 Settings, 4 Ant.
  virtual int32_t Page() const = 0;
  virtual void SetPage(int32_t page) = 0;

  // Degrees, north and east positive.
  virtual double HomeLat() const = 0;
  virtual void SetHomeLat(double lat) = 0;
  virtual double HomeLon() const = 0;
  virtual void SetHomeLon(double lon) = 0;
  virtual double DxLat() const = 0;
  virtual void SetDxLat(double lat) = 0;
  virtual double DxLon() const = 0;
  virtual void SetDxLon(double lon) = 0;

  // 0 Color, 1 Gray, 2 Pseudo.
  virtual int32_t MapStyle() const = 0;
  virtual void SetMapStyle(int32_t style) = 0;
  // 0 High, 1 Medium, 2 Low.
  virtual int32_t MapResolution() const = 0;
  virtual void SetMapResolution(int32_t resolution) = 0;
  virtual bool ShowMuf() const = 0;
  virtual void SetShowMuf(bool on) = 0;
  virtual bool ShowSun() const = 0;
  virtual void SetShowSun(bool on) = 0;
  virtual bool ShowPath() const = 0;
  virtual void SetShowPath(bool on) = 0;

  // Windows-1252 text.
  virtual std::string DxCall() const = 0;
  virtual void SetDxCall(const std::string& call) = 0;
  virtual bool LongPath() const = 0;
  virtual void SetLongPath(bool on) = 0;
  virtual int32_t Ssn() const = 0;
  virtual void SetSsn(int32_t ssn) = 0;
  virtual int32_t Kp() const = 0;
  virtual void SetKp(int32_t kp) = 0;
  virtual int32_t TxPower() const = 0;
  virtual void SetTxPower(int32_t watts) = 0;
  virtual bool UseKp() const = 0;
  virtual void SetUseKp(bool on) = 0;
  // "Mar 2008".
  virtual std::string YearMonth() const = 0;
  virtual void SetYearMonth(int32_t year, int32_t month) = 0;
  // The map's UTC hour 0..23 and band 0..7.
  virtual int32_t Hour() const = 0;
  virtual void SetHour(int32_t hour) = 0;
  virtual int32_t Band() const = 0;
  virtual void SetBand(int32_t band) = 0;

  // Start a prediction and return at once; the outcome arrives as an event.
  virtual void PredictPoint() = 0;
  virtual void PredictArea() = 0;

  virtual bool GeomiraOn() const = 0;
  virtual void SetGeomiraOn(bool on) = 0;
  virtual bool SunsentryOn() const = 0;
  virtual void SetSunsentryOn(bool on) = 0;
  virtual bool RealtimeClock() const = 0;
  virtual void SetRealtimeClock(bool on) = 0;

  // Windows bitmaps of what the chart and the map hold; the name is in the
  // file system's bytes.
  virtual void SaveChartImage(const std::string& fileName) = 0;
  virtual void SaveMapImage(const std::string& fileName) = 0;
  virtual void BringToFront() = 0;
  // Eight CR-ended lines of 24 comma-separated SNR values (see AutoApp.h).
  virtual std::string ChartData() const = 0;

  // Not on the bus: whether a prediction job runs (a program started by the
  // bus stays while one does).
  virtual bool JobRunning() const = 0;
};

}  // namespace vx
