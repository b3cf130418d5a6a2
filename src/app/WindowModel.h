// TWindowModel: the main window's state and logic without a window. It owns
// the prediction controller and holds what the controls would hold: the
// inputs, the month, SSN and Kp (TSolarIndices), the map (TMapModel) and the
// chart bitmaps, the options and the readouts. It answers the controller as
// its view, automation clients as their window, the map program as its host
// and the space-weather monitor as its listener, once for every front end:
// vantor-cli serve and the command line's jobs run on it as it is.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/AutomationView.h"
#include "app/MapProgram.h"
#include "app/PredCtl.h"
#include "app/Session.h"
#include "app/SolarIndices.h"
#include "app/WindowFace.h"
#include "common/Clock.h"
#include "geo/CoordFrm.h"
#include "refdata/CallParser.h"
#include "views/ChartDraw.h"
#include "views/MapDraw.h"

namespace vx {

class TWindowModel final : public IPredictionView,
                           public IAutomationView,
                           public IGeomiraHost,
                           public ISpaceWeatherListener {
 public:
  // Runs work after the current handler has returned (a Qt front end posts
  // it to its event loop); by default it runs at once.
  using TPost = std::function<void(std::function<void()>)>;

  // The engine is the controller's. See MakeSession for the usual way in.
  TWindowModel(TSessionSetup setup, TSessionServices services, std::unique_ptr<TVoaEngine> engine);
  ~TWindowModel() override;
  TWindowModel(const TWindowModel&) = delete;
  TWindowModel& operator=(const TWindowModel&) = delete;

  TPredictionController& Controller() { return *Ctl_; }
  const TPredictionController& Controller() const { return *Ctl_; }
  TVoaEngine& Engine() { return Ctl_->Engine(); }
  const TSessionSetup& Setup() const { return Setup_; }
  TCallParser& Parser() { return Parser_; }
  IMapProgram& MapProgram() { return *MapProgram_; }
  ISpaceWeatherMonitor& Monitor() { return *Monitor_; }
  const IClock& Clock() const { return *Clock_; }

  void SetPost(TPost post) { Post_ = std::move(post); }
  // The front end that shows the model; null: nobody (THiddenFace).
  void SetFace(IWindowFace* face) { Face_ = face ? face : &Hidden_; }
  IWindowFace& Face() { return *Face_; }

  // What the user does, as the window's controls report it. ask: offer the
  // download page when a sibling program cannot be reached (never on
  // behalf of an automation client).
  void StepMonth(TStepDirection dir);
  void EditSsn(int ssn);
  void EditKp(int kp);
  void ToggleMonitor(bool down, bool ask);
  void ToggleMapProgram(bool down, bool ask);
  // Where the controller's automation events go, posted after the handler
  // that raised them (with a post function set; without one the caller
  // drains them itself).
  std::function<void(TClientEvent)> OnClientEvent;
  // For a caller that waits for a job (the status indicator changed).
  std::function<void()> OnStatusChanged;

  // What the controls hold. Once Solar shows a month, the month, SSN and Kp
  // of Inputs are read from it; an empty Dx text is an emptied DX frame.
  TPredictionInputs Inputs;
  std::string Call;
  std::string Dx;
  std::string Title;
  bool CallRed = false;
  bool PlotMufOn = false, MarkBestHourOn = false, ShowSunOn = false, PlotPathOn = false;
  bool RealTimeOn = false;
  TPage Page = pgParams;
  std::array<std::string, 5> StatusPanels;  // the readouts of panels 1..5
  std::string LastMapProgramError;
  TSolarIndices Solar;
  TMapModel Map;
  TRgbImage Chart;

  // Every band's transmitting and receiving antenna: the one in this file,
  // or the first of the list when the engine has no such file.
  void SelectAntennaEverywhere(const std::string& fileName);

  // IPredictionView
  TPredictionInputs ReadInputs() const override;
  std::string CallText() const override { return Call; }
  std::string DxText() const override { return Dx; }
  void SetDxPoint(TLocation point) override;
  void ClearCallText() override { Call.clear(); }
  void SetCallUnknown(bool red) override { CallRed = red; }
  void SetTitle(const std::string& caption) override { Title = caption; }
  void StatusChanged() override;
  void RepaintChart() override;
  void ShowMap(const TVoaGrid& grid) override;
  void FollowClock() override {}
  void FocusCallEdit() override {}
  void ClientEventsQueued() override;

  // IAutomationView
  bool WindowVisible() const override { return Face_->FrameVisible(); }
  void SetWindowVisible(bool on) override { Face_->SetFrameVisible(on); }
  int WindowLeft() const override { return Face_->FrameLeft(); }
  int WindowTop() const override { return Face_->FrameTop(); }
  void MoveWindow(int left, int top) override { Face_->MoveFrame(left, top); }
  void BringToFront() override { Face_->RaiseFrame(); }
  void ShowPage(TPage page) override { Page = page; }
  void SetHomePoint(TLocation p) override;
  void SetCallText(const std::string& text) override { Call = text; }
  void SetLongPath(bool on) override { Inputs.LongPath = on; }
  void SetSsn(int ssn) override { EditSsn(ssn); }
  void SetKp(int kp) override { EditKp(kp); }
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
  bool MapProgramOn() const override { return MapProgram_->Active(); }
  void SetMapProgramOn(bool down) override { ToggleMapProgram(down, false); }
  bool MonitorOn() const override { return Monitor_->Active(); }
  void SetMonitorOn(bool down) override { ToggleMonitor(down, false); }
  const TRgbImage& ChartBitmap() override { return Chart; }
  const TRgbImage& MapBitmap() override { return Map.MapBitmap; }

  // IGeomiraHost
  const TNormGrid& MapField() const override { return Map.NormGrid; }
  std::string MapMouseMove(int x, int y) override;
  void MapProgramLeft() override {}
  void MapProgramError(const std::string& text) override { LastMapProgramError = text; }

  // ISpaceWeatherListener
  void SpaceWeatherArrived() override;
  void SpaceWeatherMonitorLeft() override;

 private:
  void Later(std::function<void()> work) { Post_ ? Post_(std::move(work)) : work(); }

  TSessionSetup Setup_;
  TSessionServices Services_;
  ISpaceWeatherMonitor* Monitor_;
  IMapProgram* MapProgram_;
  const IClock* Clock_;
  TCallParser Parser_{TCallParserVariant::pvMain};
  std::unique_ptr<TPredictionController> Ctl_;
  TPost Post_;
  THiddenFace Hidden_;
  IWindowFace* Face_ = &Hidden_;
  TCoordFields HomeFields_, DxFields_;
  bool EventsPosted_ = false;
};

}  // namespace vx
