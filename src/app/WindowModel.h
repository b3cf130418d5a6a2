// TWindowModel: the main window's state and logic without a window. It owns
// the prediction controller and holds what the controls hold: the inputs,
// the month, SSN and Kp (TSolarIndices), the map (TMapModel) and the chart
// bitmap, the options and the readouts. It answers the controller as its
// view, automation clients as their window, the map program as its host,
// the space-weather monitor as its listener and the batch as its host, once
// for every front end. The window binds its controls to it and shows what
// it is told to (IWindowFace); vantor-cli serve and the command line's jobs
// run on it as it is.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/AutoRepeat.h"
#include "app/MapProgram.h"
#include "app/PredCtl.h"
#include "app/Session.h"
#include "app/Settings.h"
#include "app/SolarIndices.h"
#include "app/WindowFace.h"
#include "common/Clock.h"
#include "geo/CoordFrm.h"
#include "geo/PathFacts.h"
#include "refdata/CallParser.h"
#include "views/ChartDraw.h"
#include "views/MapDraw.h"
#include "views/PreComp.h"

namespace vx {

class TWindowModel final : public IPredictionView,
                           public IGeomiraHost,
                           public ISpaceWeatherListener,
                           public IPreComputeHost {
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
  const TVoaEngine& Engine() const { return Ctl_->Engine(); }
  const TSessionSetup& Setup() const { return Setup_; }
  TCallParser& Parser() { return Parser_; }
  IMapProgram& MapProgram() { return *MapProgram_; }
  ISpaceWeatherMonitor& Monitor() { return *Monitor_; }
  const IClock& Clock() const { return *Clock_; }
  // Pre-computation, when the services brought worker runners; else null.
  TPreCompute* Batch() { return Batch_.get(); }

  void SetPost(TPost post) { Post_ = std::move(post); }
  // The front end that shows the model; null: nobody (THiddenFace).
  void SetFace(IWindowFace* face) { Face_ = face ? face : &Hidden_; }
  IWindowFace& Face() { return *Face_; }

  // The window opens: the session (OpenSession), then the settings. False
  // when the engine is not ready; the user has been told what is missing
  // and nothing should be saved.
  bool Open();
  // The window goes: the settings are written if the engine's last status
  // is vsReady, or if the user chose to keep them. False only when writing
  // them failed (the user is told).
  bool Close();
  // Closing after a failed or cancelled run: names the changes that would
  // not be kept and asks whether to keep them. False: do not close.
  bool AskToKeepSettings();
  // The settings as the model holds them; the window's position is the face's.
  TVantorSettings CurrentSettings() const;
  void ApplySettings(const TVantorSettings& s);

  // The engine box: the engine is checked again; the antennas stay by file name.
  void ChooseEngine(TEngineChoice choice);
  TEngineChoice EngineChoice() const { return Setup_.Voacap.Engine; }
  // Which engine answers, in words.
  std::string EngineText() const;

  // What the user does, as the window's controls report it. ask: offer the
  // download page when a sibling program cannot be reached (never on
  // behalf of an automation client).
  void EditCall(const std::string& text);
  void EnterCall();  // Enter in the call box: the chart
  void ChangePage(TPage page);
  // A coordinate frame's boxes; moved: the user moved the point (the
  // latitude or a toggle), which lets go of a looked-up call.
  void EditCoordinates(bool home, const TCoordFields& fields, bool moved);
  const TCoordFields& HomeFields() const { return HomeFields_; }
  const TCoordFields& DxFields() const { return DxFields_; }
  void ClickLocation(TLocation point, bool home);  // a click on the map
  // Home typed as a locator, a call sign or LAT,LON (the QTH box): moves the
  // home frame as a click would; else the reason, and nothing moves.
  std::string EnterHome(const std::string& text);
  void StepMonth(TStepDirection dir);
  // The month buttons held down: one step at once, then auto-repeat. The
  // answer is when to call RepeatMonth next, if at all.
  std::optional<int64_t> PressMonth(TStepDirection dir);
  std::optional<int64_t> RepeatMonth();
  void ReleaseMonth() { MonthRepeat_.Release(); }
  void EditSsn(int ssn);
  void EditKp(int kp);
  // "Download SSN": Kestrix's sunspot forecast job, in its own window; once
  // that job is done the table is read again and the month shown stays.
  // Without Kestrix the forecast's page opens in the browser instead. While
  // Kestrix runs another click does nothing.
  void DownloadSsnTable();
  void SetMarkBestHour(bool on);
  // An antenna list: index into the engine's antenna files.
  void SetAntenna(bool tx, int band, int index);
  int AntennaIndex(bool tx, int band) const;
  // The antenna model file a list shows, with its folder; empty: none.
  std::string AntennaPath(bool tx, int band) const;
  void ToggleMonitor(bool down, bool ask);
  void ToggleMapProgram(bool down, bool ask);
  void RefreshSpaceWeather();  // the map's hour changed
  void ClockTick();            // every second
  void AnimateStatus();        // every 150 ms
  void ClickStatus();          // a click on the indicator
  void ShowReadouts(const std::array<std::string, 5>& panels);
  // The map menu's maxima over the cached maps.
  void ShowMaximum(TMapMaximum kind);
  // Where the controller's automation events go, posted after the handler
  // that raised them (with a post function set; without one the caller
  // drains them itself).
  std::function<void(TClientEvent)> OnClientEvent;
  // For a caller that waits for a job (the status indicator changed).
  std::function<void()> OnStatusChanged;

  // What the controls hold. Once Solar shows a month, the month, SSN and Kp
  // of Inputs are read from it; an empty Dx text is an emptied DX frame.
  // The map's band and hour are Map's.
  TPredictionInputs Inputs;
  std::string Call;
  std::string Dx;
  // Where the DX point comes from, for a line beside the DX frame
  // ("FCC licence, ZIP 94043", "country centre"; empty: typed or clicked),
  // and why a callbook was passed over.
  std::string DxSource;
  std::string DxNotes;
  std::string Title;
  bool CallRed = false;
  bool PlotMufOn = false, MarkBestHourOn = false, ShowSunOn = false, PlotPathOn = false;
  TPage Page = pgParams;
  std::array<std::string, 5> StatusPanels;  // the readouts of panels 1..5
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
  void SetDxSource(const std::string& source, const std::string& notes) override;
  void ClearCallText() override;
  void SetCallUnknown(bool red) override;
  void SetTitle(const std::string& caption) override;
  void StatusChanged() override;
  void RepaintChart() override;
  void ShowMap(const TVoaGrid& grid) override;
  void FollowClock() override;
  void FocusCallEdit() override { Face_->FocusCall(); }
  void ClientEventsQueued() override;

  // What automation clients read and set (TVantorApp), beyond the inputs.
  // Values arrive clamped; a setter shows its value as a user's change
  // would, but never runs the controller's handling of that change (the tab,
  // the call box, the DX frame): TVantorApp runs it, once.
  bool WindowVisible() const { return Face_->FrameVisible(); }
  void SetWindowVisible(bool on) { Face_->SetFrameVisible(on); }
  int WindowLeft() const { return Face_->FrameLeft(); }
  int WindowTop() const { return Face_->FrameTop(); }
  void MoveWindow(int left, int top) { Face_->MoveFrame(left, top); }
  void BringToFront() { Face_->RaiseFrame(); }
  void ShowPage(TPage page);
  void SetHomePoint(TLocation p);
  void SetCallText(const std::string& text);
  void SetLongPath(bool on);
  void SetSsn(int ssn) { EditSsn(ssn); }
  void SetKp(int kp) { EditKp(kp); }
  void SetTxPower(int watts);
  void SetUseKp(bool on);
  bool SelectMonth(int year, int month);
  std::string MonthText() const { return Solar.MonthText(); }
  int MapStyle() const { return Map.MapStyle; }
  void SetMapStyle(int style);
  void SetGridSize(int gridSize);
  bool PlotMuf() const { return PlotMufOn; }
  void SetPlotMuf(bool on);
  bool ShowSun() const { return ShowSunOn; }
  void SetShowSun(bool on);
  bool PlotPath() const { return PlotPathOn; }
  void SetPlotPath(bool on);
  void SetMapHour(int hour);
  void SetMapBand(int band);
  bool RealTime() const { return Map.RealTime; }
  void SetRealTime(bool down) override;
  void RepaintMap() { Face_->Show(wpMap); }
  bool MapProgramOn() const { return MapProgram_->Active(); }
  void SetMapProgramOn(bool down) { ToggleMapProgram(down, false); }
  bool MonitorOn() const { return Monitor_->Active(); }
  void SetMonitorOn(bool down) { ToggleMonitor(down, false); }
  const TRgbImage& ChartBitmap() { return Chart; }
  // Distances, bearings, clocks and sun times of the path the frames hold,
  // at the clock's moment; none without a DX position.
  std::optional<TPathFacts> PathFacts() const;
  const TRgbImage& MapBitmap() override { return Map.MapBitmap; }

  // IGeomiraHost
  const TNormGrid& MapField() const override { return Map.NormGrid; }
  std::string MapMouseMove(int x, int y) override;
  void MapProgramLeft() override { Face_->Show(wpToggles); }
  // No message box for a window nobody sees (a program the bus started).
  void MapProgramError(const std::string& text) override {
    Face_->FrameVisible() ? Face_->ShowError(text) : Face_->Log(text);
  }

  // ISpaceWeatherListener
  void SpaceWeatherArrived() override;
  void SpaceWeatherMonitorLeft() override;

  // IPreComputeHost
  void SyncEngineInputs() override { Ctl_->SyncEngineInputs(); }
  void SetBatchState(TBatchState state) override;
  // The engine's message for its status; a warning offers the download page.
  void ShowStatusMessage() override;
  void ShowError(const std::string& text) override { Face_->ShowError(text); }
  void ShowInfo(const std::string& text) override { Ctl_->SetMessage(text); }
  int MapBand() override { return Map.MapBand; }
  int MapHour() override { return Map.MapHour; }
  bool RealTime() override { return Map.RealTime; }
  void SetProgressMax(int max) override { Face_->StartProgress(max); }
  void SetProgressPosition(int position) override { Face_->MoveProgress(position); }
  void ShowProgress() override { Face_->OpenProgress(); }
  void CloseProgress() override { Face_->CloseProgress(); }

 private:
  void Later(std::function<void()> work) { Post_ ? Post_(std::move(work)) : work(); }
  void Show(uint32_t parts) { Face_->Show(parts); }
  // The engine is ready: the antenna lists, the status; false: the user has
  // been told why not.
  bool EngineAnswers();

  void ReloadSunspotTable();
  TSessionSetup Setup_;
  TSessionServices Services_;
  ISpaceWeatherMonitor* Monitor_;
  IMapProgram* MapProgram_;
  const IClock* Clock_;
  TCallParser Parser_{TCallParserVariant::pvMain};
  std::unique_ptr<TPredictionController> Ctl_;
  std::unique_ptr<TPreCompute> Batch_;
  TPost Post_;
  THiddenFace Hidden_;
  IWindowFace* Face_ = &Hidden_;
  TCoordFields HomeFields_, DxFields_;
  TAutoRepeat MonthRepeat_;
  bool EventsPosted_ = false;
  bool EngineChosen_ = false;  // the engine box was used: [VOACAP] Engine is written
  TVantorSettings Opened_;     // as the window opened: what a failed run would lose
  bool SettingsOpened_ = false;
  bool KeepSettings_ = false;
};

}  // namespace vx
