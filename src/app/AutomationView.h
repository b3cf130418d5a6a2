// IAutomationView: the controls of the main window that automation reads
// and sets beyond the prediction inputs (which it reads through
// IPredictionView::ReadInputs). The window implements it; TWindowModel
// stands in without one.
//
// Setters receive values already clamped into range and put them into a
// control as a user's change would (recolouring, repainting, the month's
// SSN), but never start a prediction. The handling that belongs to the
// prediction controller (the tab change, the call-sign box, the DX frame's
// change callback) is not theirs: TVantorApp runs it, in one place, so the
// window must not run it again from its own change signals.
#pragma once

#include <string>

#include "app/PredCtl.h"
#include "common/Location.h"
#include "views/Raster.h"

namespace vx {

class IAutomationView {
 public:
  virtual ~IAutomationView() = default;

  virtual bool WindowVisible() const = 0;
  virtual void SetWindowVisible(bool on) = 0;
  virtual int WindowLeft() const = 0;
  virtual int WindowTop() const = 0;
  virtual void MoveWindow(int left, int top) = 0;
  // Restore if minimised, raise and activate.
  virtual void BringToFront() = 0;

  // Shows a tab without running its change handling.
  virtual void ShowPage(TPage page) = 0;

  // Whole degrees x 180, as the coordinate frames hold them.
  virtual void SetHomePoint(TLocation p) = 0;
  virtual void SetCallText(const std::string& text) = 0;
  virtual void SetLongPath(bool on) = 0;
  virtual void SetSsn(int ssn) = 0;
  virtual void SetKp(int kp) = 0;
  virtual void SetTxPower(int watts) = 0;
  virtual void SetUseKp(bool on) = 0;
  // The month selector's SelectMonth: the panel and the SSN box follow.
  // False, nothing changed, for a month the selector refuses.
  virtual bool SelectMonth(int year, int month) = 0;
  // The month panel's text ("Dec 2026"; "" while it shows none).
  virtual std::string MonthText() const = 0;

  virtual int MapStyle() const = 0;
  virtual void SetMapStyle(int style) = 0;  // the radio group and the map view
  // The map resolution's radio group (16, 31 or 61 points per side).
  virtual void SetGridSize(int gridSize) = 0;
  virtual bool PlotMuf() const = 0;
  virtual void SetPlotMuf(bool on) = 0;
  virtual bool ShowSun() const = 0;
  virtual void SetShowSun(bool on) = 0;
  virtual bool PlotPath() const = 0;
  virtual void SetPlotPath(bool on) = 0;
  // The map's hour (and its caption) and band (and its button).
  virtual void SetMapHour(int hour) = 0;
  virtual void SetMapBand(int band) = 0;
  virtual bool RealTime() const = 0;
  virtual void SetRealTime(bool down) = 0;
  // The map is drawn again (home, DX or path changed).
  virtual void RepaintMap() = 0;

  // The integration toggles. Setting one runs its click handling (connect or
  // disconnect); a program that cannot be reached leaves it up. No question
  // is asked of the user on behalf of a client.
  virtual bool MapProgramOn() const = 0;
  virtual void SetMapProgramOn(bool down) = 0;
  virtual bool MonitorOn() const = 0;
  virtual void SetMonitorOn(bool down) = 0;

  // What the chart and the map views hold, drawn when their data changed
  // (also while the window is hidden).
  virtual const TRgbImage& ChartBitmap() = 0;
  virtual const TRgbImage& MapBitmap() = 0;
};

}  // namespace vx
