// TVantorApp: the automation members acting on the one main window. A
// property reads or sets the control a user would use; a prediction method
// runs the controller operation the user interface runs. The clamps and the
// effects of every member live here, so the window, the headless stand-in
// and the D-Bus service share them.
#pragma once

#include "app/PredCtl.h"
#include "app/WindowModel.h"
#include "com/AutoTarget.h"

namespace vx {

// The Version property: major * 65536 + minor of this build.
inline constexpr int32_t kVantorVersionNumber = VANTOR_VERSION_MAJOR * 65536 + VANTOR_VERSION_MINOR;

class TVantorApp final : public IAutomationTarget {
 public:
  // The window model and its controller; version is major * 65536 + minor.
  TVantorApp(TWindowModel& window, int32_t version);

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
  // The frame point of a locator's centre; TAutomationError for any other text.
  static TLocation LocatorPoint(const std::string& locator);

  // Every member of the bus interface (AutoTargetMembers.h, from the XML).
  VX_AUTOMATION_TARGET_OVERRIDES
  bool JobRunning() const override;

 private:
  TPredictionInputs Inputs() const { return Inputs_.ReadInputs(); }
  void SetHome(TLocation p);
  void SetDx(TLocation p);

  TPredictionController& Ctl_;
  IPredictionView& Inputs_;
  TWindowModel& Window_;
  int32_t Version_;
};

}  // namespace vx
