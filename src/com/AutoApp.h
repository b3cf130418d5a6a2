// TVantorApp: the automation members acting on the one main window. A
// property reads or sets the control a user would use; a prediction method
// runs the controller operation the user interface runs. The clamps and the
// effects of every member live here, so the window, the headless stand-in
// and the D-Bus service share them.
#pragma once

#include "app/PredCtl.h"
#include "com/AutoTarget.h"
#include "app/AutomationView.h"

namespace vx {

// The Version property: major * 65536 + minor of this build.
inline constexpr int32_t kVantorVersionNumber = VANTOR_VERSION_MAJOR * 65536 + VANTOR_VERSION_MINOR;

class TVantorApp final : public IAutomationTarget {
 public:
  // inputs and window are normally the same object (the window, or
  // the window model); version is major * 65536 + minor.
  TVantorApp(TPredictionController& controller, IPredictionView& inputs, IAutomationView& window, int32_t version);

  // The SNR rows ChartData reads, in band order: the whole megahertz of each
  // band (25 for 24.9 MHz).
  static constexpr int kChartDataRows[8] = {3, 7, 10, 14, 18, 21, 25, 28};
  // Eight lines, one per band, each ended by a lone CR: 24 integers for UTC
  // hours 0..23, comma-separated, rounded halves to even. A value never
  // computed reads 0.
  static std::string ChartDataText(const TPointResults& results);
  // A point as a coordinate frame holds it: whole degrees (halves to even),
  // latitude within 0..90 and longitude within 0..180 of either sign.
  static TLocation FramePoint(double lat, double lon);

  int32_t Version() const override { return Version_; }
  bool Visible() const override;
  void SetVisible(bool on) override;
  int32_t Left() const override;
  void SetLeft(int32_t left) override;
  int32_t Top() const override;
  void SetTop(int32_t top) override;
  int32_t Page() const override;
  void SetPage(int32_t page) override;
  double HomeLat() const override;
  void SetHomeLat(double lat) override;
  double HomeLon() const override;
  void SetHomeLon(double lon) override;
  double DxLat() const override;
  void SetDxLat(double lat) override;
  double DxLon() const override;
  void SetDxLon(double lon) override;
  int32_t MapStyle() const override;
  void SetMapStyle(int32_t style) override;
  int32_t MapResolution() const override;
  void SetMapResolution(int32_t resolution) override;
  bool ShowMuf() const override;
  void SetShowMuf(bool on) override;
  bool ShowSun() const override;
  void SetShowSun(bool on) override;
  bool ShowPath() const override;
  void SetShowPath(bool on) override;
  std::string DxCall() const override;
  void SetDxCall(const std::string& call) override;
  bool LongPath() const override;
  void SetLongPath(bool on) override;
  int32_t Ssn() const override;
  void SetSsn(int32_t ssn) override;
  int32_t Kp() const override;
  void SetKp(int32_t kp) override;
  int32_t TxPower() const override;
  void SetTxPower(int32_t watts) override;
  bool UseKp() const override;
  void SetUseKp(bool on) override;
  std::string YearMonth() const override;
  void SetYearMonth(int32_t year, int32_t month) override;
  int32_t Hour() const override;
  void SetHour(int32_t hour) override;
  int32_t Band() const override;
  void SetBand(int32_t band) override;
  void PredictPoint() override;
  void PredictArea() override;
  bool GeomiraOn() const override;
  void SetGeomiraOn(bool on) override;
  bool SunsentryOn() const override;
  void SetSunsentryOn(bool on) override;
  bool RealtimeClock() const override;
  void SetRealtimeClock(bool on) override;
  void SaveChartImage(const std::string& fileName) override;
  void SaveMapImage(const std::string& fileName) override;
  void BringToFront() override;
  std::string ChartData() const override;
  bool JobRunning() const override;

 private:
  TPredictionInputs Inputs() const { return Inputs_.ReadInputs(); }
  void SetHome(TLocation p);
  void SetDx(TLocation p);

  TPredictionController& Ctl_;
  IPredictionView& Inputs_;
  IAutomationView& Window_;
  int32_t Version_;
};

}  // namespace vx
