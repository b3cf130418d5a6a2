// THeadlessWindow: the main window's state without a window, for the
// automation service run without one (vantor-cli serve) and for tests. It
// keeps what the controls would hold, draws the chart and the map bitmaps
// when their data change, and wires the month, the indices and the sibling
// programs as the window does.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "app/HeadlessView.h"
#include "app/SolarIndices.h"
#include "com/AutoView.h"
#include "com/Geomira.h"
#include "common/Clock.h"
#include "geo/CoordFrm.h"
#include "views/ChartDraw.h"
#include "views/MapDraw.h"

namespace vx {

class THeadlessWindow final : public THeadlessView,
                              public IAutomationView,
                              public IGeomiraHost,
                              public ISpaceWeatherListener {
 public:
  // Runs work after the current handler has returned (the Qt host posts it
  // to its event loop); by default it runs at once.
  using TPost = std::function<void(std::function<void()>)>;

  // The monitor serves the SSN and Kp boxes (TUnavailableMonitor when there
  // is none); it must outlive the window.
  explicit THeadlessWindow(ISpaceWeatherMonitor& monitor, const IClock& clock = SystemClock());
  ~THeadlessWindow() override;
  // Collaborators, set once after construction (the controller needs the
  // view first). Each may stay null.
  void SetController(TPredictionController* controller);
  void SetMapProgram(TGeomiraControl* geomira) { Geomira_ = geomira; }
  void SetPost(TPost post) { Post_ = std::move(post); }
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

  // The month panel, the SSN and Kp boxes and their colours.
  TSolarIndices Solar;
  TMapModel Map;
  TRgbImage Chart;

  // IPredictionView (beyond THeadlessView): the month, SSN and Kp come from
  // Solar, the coordinate frames hold whole degrees.
  TPredictionInputs ReadInputs() const override;
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
  void SetSsn(int ssn) override { Solar.EditSsn(ssn); }
  void SetKp(int kp) override { Solar.EditKp(kp); }
  void SetTxPower(int watts) override { Inputs.TxPower = watts; }
  void SetUseKp(bool on) override { Inputs.UseKp = on; }
  bool SelectMonth(int year, int month) override { return Solar.SelectMonth(year, month, Inputs.MapHour); }
  std::string MonthText() const override { return Solar.MonthText(); }
  int MapStyle() const override { return Map.MapStyle; }
  void SetMapStyle(int style) override { Map.SetStyle(TMapStyle(style)); }
  void SetGridSize(int gridSize) override { Inputs.GridSize = gridSize; }
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
  bool MonitorOn() const override { return Monitor_.Active(); }
  void SetMonitorOn(bool down) override { Solar.ToggleMonitor(down, Inputs.MapHour); }
  const TRgbImage& ChartBitmap() override { return Chart; }
  const TRgbImage& MapBitmap() override { return Map.MapBitmap; }

  // IGeomiraHost
  const TNormGrid& MapField() const override { return Map.NormGrid; }
  std::string MapMouseMove(int x, int y) override;
  void MapProgramLeft() override {}
  void MapProgramError(const std::string& text) override { LastMapProgramError = text; }

  // ISpaceWeatherListener
  void SpaceWeatherArrived() override;
  void SpaceWeatherMonitorLeft() override { Solar.ClearSpaceWeatherDisplay(); }

 private:
  void Later(std::function<void()> work) { Post_ ? Post_(std::move(work)) : work(); }

  ISpaceWeatherMonitor& Monitor_;
  TPredictionController* Ctl_ = nullptr;
  TGeomiraControl* Geomira_ = nullptr;
  TPost Post_;
  TCoordFields HomeFields_, DxFields_;
  bool EventsPosted_ = false;
};

}  // namespace vx
