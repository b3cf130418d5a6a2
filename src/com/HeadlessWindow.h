// THeadlessWindow: the main window's state without a window, for the
// automation service run without one (vantor-cli serve) and for tests. It
// keeps what the controls would hold, draws the chart and the map bitmaps
// when their data change, and wires the sibling-program clients as the
// window does.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "app/HeadlessView.h"
#include "com/AutoView.h"
#include "com/Geomira.h"
#include "com/Sunsentry.h"
#include "geo/CoordFrm.h"
#include "views/ChartDraw.h"
#include "views/MapDraw.h"

namespace vx {

class THeadlessWindow final : public THeadlessView,
                              public IAutomationView,
                              public IGeomiraHost,
                              public IMonitorListener {
 public:
  // Runs work after the current handler has returned (the Qt host posts it
  // to its event loop); by default it runs at once.
  using TPost = std::function<void(std::function<void()>)>;

  THeadlessWindow();
  // Collaborators, set once after construction (the controller needs the
  // view first). Each may stay null.
  void SetController(TPredictionController* controller);
  void SetMapProgram(TGeomiraControl* geomira) { Geomira_ = geomira; }
  void SetMonitor(TSunsentryClient* monitor) { Monitor_ = monitor; }
  void SetPost(TPost post) { Post_ = std::move(post); }
  // The UTC clock the monitor's day is taken from (a day count).
  std::function<double()> UtcClock;
  // Where the controller's automation events go, posted after the handler
  // that raised them (with a post function set; without one the caller
  // drains them itself).
  std::function<void(TClientEvent)> OnClientEvent;

  bool Visible = false;
  int Left = 0, Top = 0;
  bool PlotMufOn = false, ShowSunOn = false, PlotPathOn = false;
  bool RealTimeOn = false;
  TPage Page = pgParams;
  std::array<std::string, 5> StatusPanels;  // the readouts of panels 1..5
  std::string LastMapProgramError;
  int BroughtToFront = 0;
  bool SsnLime = false, KpLime = false;

  TMapModel Map;
  TRgbImage Chart;

  // The monitor's values for the month shown, at the map's hour; true when
  // the SSN or the Kp changed.
  bool RefreshSpaceWeather();

  // IPredictionView (beyond THeadlessView)
  void SetDxPoint(TLocation point) override;
  void RepaintChart() override;
  void ShowMap(const TVoaGrid& grid) override;
  void ClientEventsQueued() override;

  // IAutomationView
  bool WindowVisible() const override { return Visible; }
  void SetWindowVisible(bool on) override { Visible = on; }
  int WindowLeft() const override { return Left; }
  int WindowTop() const override { return Top; }
  void MoveWindow(int left, int top) override { Left = left, Top = top; }
  void BringToFront() override { ++BroughtToFront; }
  void ShowPage(TPage page) override { Page = page; }
  void SetHomePoint(TLocation p) override;
  void SetCallText(const std::string& text) override { Call = text; }
  void SetLongPath(bool on) override { Inputs.LongPath = on; }
  void SetSsn(int ssn) override;
  void SetKp(int kp) override;
  void SetTxPower(int watts) override { Inputs.TxPower = watts; }
  void SetUseKp(bool on) override { Inputs.UseKp = on; }
  void SelectMonth(int year, int month) override;
  int MapStyle() const override { return Map.MapStyle; }
  void SetMapStyle(int style) override { Map.SetStyle(TMapStyle(style)); }
  void SetMapResolution(int resolution) override { Inputs.MapResolution = resolution; }
  bool PlotMuf() const override { return PlotMufOn; }
  void SetPlotMuf(bool on) override;
  bool ShowSun() const override { return ShowSunOn; }
  void SetShowSun(bool on) override { ShowSunOn = on; }
  bool PlotPath() const override { return PlotPathOn; }
  void SetPlotPath(bool on) override { PlotPathOn = on; }
  void SetMapHour(int hour) override;
  void SetMapBand(int band) override;
  bool RealTime() const override { return RealTimeOn; }
  void SetRealTime(bool down) override { RealTimeOn = down; }
  void RepaintMap() override {}
  bool MapProgramOn() const override { return Geomira_ && Geomira_->Active(); }
  void SetMapProgramOn(bool down) override;
  bool MonitorOn() const override { return Monitor_ && Monitor_->Active(); }
  void SetMonitorOn(bool down) override;
  const TRgbImage& ChartBitmap() override { return Chart; }
  const TRgbImage& MapBitmap() override { return Map.MapBitmap; }

  // IGeomiraHost
  const TNormGrid& MapField() const override { return Map.NormGrid; }
  std::string MapMouseMove(int x, int y) override;
  void MapProgramLeft() override {}
  void MapProgramError(const std::string& text) override { LastMapProgramError = text; }

  // IMonitorListener
  void MonitorDataArrived() override;
  void MonitorLeft() override;

 private:
  TPredictionController* Ctl_ = nullptr;
  TGeomiraControl* Geomira_ = nullptr;
  TSunsentryClient* Monitor_ = nullptr;
  TPost Post_;
  TCoordFields HomeFields_, DxFields_;
  TMonitorReading LastReading_;
  bool EventsPosted_ = false;
};

}  // namespace vx
