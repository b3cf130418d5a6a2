#include "app/WindowModel.h"

#include <algorithm>
#include <cmath>

#include "app/EngineHelp.h"
#include "app/MapResolution.h"
#include "app/PathEnds.h"
#include "app/PositionLookup.h"
#include "app/Version.h"
#include "common/Cp1252.h"
#include "common/FileUtil.h"
#include "common/Ini.h"
#include "common/Paths.h"

namespace vx {

namespace {

ISpaceWeatherMonitor& MonitorOr(ISpaceWeatherMonitor* monitor) {
  static TUnavailableMonitor none;
  return monitor ? *monitor : none;
}

IMapProgram& MapProgramOr(IMapProgram* program) {
  static TNoMapProgram none;
  return program ? *program : none;
}

const IClock& ClockOr(const IClock* clock) { return clock ? *clock : SystemClock(); }

}  // namespace

TWindowModel::TWindowModel(TSessionSetup setup, TSessionServices services, std::unique_ptr<TVoaEngine> engine)
    : Solar(MonitorOr(services.Monitor), ClockOr(services.Clock)),
      Setup_(std::move(setup)),
      Services_(std::move(services)),
      Monitor_(&MonitorOr(Services_.Monitor)),
      MapProgram_(&MapProgramOr(Services_.MapProgram)),
      Clock_(&ClockOr(Services_.Clock)),
      MonthRepeat_(*Clock_) {
  ShowCoordFields(HomeFields_, Inputs.Home);
  Inputs.Home = ReadCoordFields(HomeFields_);
  SetDxPoint(Inputs.Dx);
  Ctl_ = std::make_unique<TPredictionController>(std::move(engine), Setup_.CacheFolder, *this);
  Ctl_->SetCallParser(&Parser_);
  Ctl_->SetCallbookFolder(ReferenceFolder());
  if (Services_.WorkerRunners)
    Batch_ = std::make_unique<TPreCompute>(Engine(), Setup_.CacheFolder, *this,
                                           std::make_unique<TVoaWorkerPool>(Services_.WorkerRunners));
  RepaintChart();
  Monitor_->SetListener(this);
}

TWindowModel::~TWindowModel() { Monitor_->SetListener(nullptr); }

void TWindowModel::SelectAntennaEverywhere(const std::string& fileName) {
  const TAlStringList& files = Engine().AntennaFiles();
  const std::string chosen = AntennaFileAt(files, std::max(0, files.IndexOf(fileName)));
  Inputs.TxAntenna.fill(chosen);
  Inputs.RxAntenna.fill(chosen);
}

TPredictionInputs TWindowModel::ReadInputs() const {
  TPredictionInputs in = Inputs;
  in.MapBand = Map.MapBand;
  in.MapHour = Map.MapHour;
  // An emptied DX frame (an unknown call) reads 0 to clients, but is no
  // position to compute a chart for.
  if (Dx.empty()) in.Dx = kNoLocationPoint;
  // Until a month is shown (a job of the command line), the inputs hold
  // the month and the indices themselves.
  if (!Solar.MonthText().empty()) {
    in.Year = Solar.Year();
    in.Month = Solar.Month();
    in.Ssn = Solar.Ssn();
    in.Kp = Solar.Kp();
  }
  return in;
}

void TWindowModel::StatusChanged() {
  Show(wpStatus);
  if (OnStatusChanged) OnStatusChanged();
}

void TWindowModel::SetTitle(const std::string& caption) {
  Title = caption;
  Show(wpTitle);
}

// ---- the views ----

std::optional<TPathFacts> TWindowModel::PathFacts() const {
  if (!HasLocation(Inputs.Dx) || Dx.empty()) return std::nullopt;
  return ComputePathFacts(PathEndsOf(Inputs, Call, Parser_), Clock_->UtcNow());
}

void TWindowModel::RepaintChart() {
  TChartOptions options;
  options.PlotMuf = PlotMufOn;
  options.MarkBestHour = MarkBestHourOn;
  PaintChart(Ctl_ ? Ctl_->Engine().PointResults() : TPointResults(), options, Chart);
  Show(wpChart);
}

void TWindowModel::SetPlotMuf(bool on) {
  PlotMufOn = on;
  Show(wpOptions);
  RepaintChart();
}

void TWindowModel::SetMarkBestHour(bool on) {
  MarkBestHourOn = on;
  Show(wpOptions);
  RepaintChart();
}

void TWindowModel::SetShowSun(bool on) {
  ShowSunOn = on;
  Show(wpOptions | wpMap);
}

void TWindowModel::SetPlotPath(bool on) {
  PlotPathOn = on;
  Show(wpOptions | wpMap);
}

void TWindowModel::ShowMap(const TVoaGrid& grid) {
  Map.SetData(grid);
  Show(wpMap);
  // The map program gets the new map once this handler has returned.
  Later([this] {
    if (MapProgram_->Active()) MapProgram_->SendMap(Map.GridCopy);
  });
}

void TWindowModel::ClientEventsQueued() {
  if (!Post_ || EventsPosted_) return;
  EventsPosted_ = true;
  Post_([this] {
    EventsPosted_ = false;
    for (TClientEvent code : Ctl_->TakeClientEvents())
      if (OnClientEvent) OnClientEvent(code);
  });
}

void TWindowModel::SetMapHour(int hour) {
  Map.MapHour = std::clamp(hour, 0, 23);
  Show(wpMap);
}

void TWindowModel::SetMapBand(int band) {
  if (band < 0 || band >= kBandCount) return;
  Map.MapBand = band;
  Show(wpMap);
}

void TWindowModel::SetRealTime(bool down) {
  Map.RealTime = down;
  Show(wpMap);
}

void TWindowModel::FollowClock() {
  if (!Map.RealTime) return;
  const double now = Clock_->UtcNow();
  const int hour = int((now - std::floor(now)) * 24.0) % 24;
  if (hour == Map.MapHour) return;
  Map.MapHour = hour;
  Show(wpMap);
  if (Monitor_->Active()) RefreshSpaceWeather();
  Ctl_->ComputeMap();
}

void TWindowModel::ShowMaximum(TMapMaximum kind) {
  if (!Batch_ || !Batch_->MaxOverMaps(kind)) return;
  Map.Maximum = kind;
  Show(wpMap);
}

void TWindowModel::SetMapStyle(int style) {
  Map.SetStyle(TMapStyle(std::clamp(style, 0, 2)));
  Show(wpInputs | wpMap);
}

std::string TWindowModel::MapMouseMove(int x, int y) {
  ShowReadouts(Map.Readout(x, y).Panels);
  return StatusPanels[1];
}

void TWindowModel::ShowReadouts(const std::array<std::string, 5>& panels) {
  StatusPanels = panels;
  Show(wpReadouts);
}

// ---- the coordinate frames ----

void TWindowModel::SetDxPoint(TLocation point) {
  ShowCoordFields(DxFields_, point);
  Inputs.Dx = ReadCoordFields(DxFields_);
  Dx = HasLocation(point) ? FormatCoordinates(Inputs.Dx) : std::string();
  // A point from anywhere but a call has no source to name.
  DxSource.clear();
  DxNotes.clear();
  Show(wpDx);
}

void TWindowModel::SetDxSource(const std::string& source, const std::string& notes) {
  DxSource = source;
  DxNotes = notes;
  Show(wpDx);
}

void TWindowModel::SetHomePoint(TLocation p) {
  ShowCoordFields(HomeFields_, p);
  Inputs.Home = ReadCoordFields(HomeFields_);
  Show(wpHome);
}

void TWindowModel::EditCoordinates(bool home, const TCoordFields& fields, bool moved) {
  (home ? HomeFields_ : DxFields_) = fields;
  (home ? Inputs.Home : Inputs.Dx) = ReadCoordFields(fields);
  // An emptied box is no position (it would read as 0 degrees).
  auto blank = [](const std::string& t) { return t.find_first_not_of(" \t") == std::string::npos; };
  if (!home) Dx = blank(fields.LatText) || blank(fields.LonText) ? std::string() : FormatCoordinates(Inputs.Dx);
  if (!home) {
    DxSource.clear();  // a point typed by hand
    DxNotes.clear();
  }
  // The boxes show what they hold already; the locator and facts follow.
  Show(home ? wpHome : wpDx);
  if (moved) Ctl_->CoordinatesChanged(!home);
}

void TWindowModel::ClickLocation(TLocation point, bool home) {
  home ? SetHomePoint(point) : SetDxPoint(point);
  Ctl_->CoordinatesChanged(!home);
}

std::string TWindowModel::EnterHome(const std::string& text) {
  const TPositionText read = LookUpPosition(text, Parser_, ReferenceFolder());
  if (!read.Ok()) return read.Error;
  ClickLocation(read.Point, true);
  return std::string();
}

// ---- the call, the page and the inputs ----

void TWindowModel::EditCall(const std::string& text) {
  Call = text;
  Ctl_->CallEditChange(text);
}

void TWindowModel::EnterCall() {
  Page = pgChart;
  Show(wpPage);
  Ctl_->PageChanged(Page);
}

void TWindowModel::ChangePage(TPage page) {
  Page = page;
  Ctl_->PageChanged(page);
}

void TWindowModel::ShowPage(TPage page) {
  Page = page;
  Show(wpPage);
}

void TWindowModel::SetCallText(const std::string& text) {
  Call = text;
  Show(wpCall);
}

void TWindowModel::ClearCallText() {
  Call.clear();
  Show(wpCall);
}

void TWindowModel::SetCallUnknown(bool red) {
  CallRed = red;
  Show(wpCall);
}

void TWindowModel::SetLongPath(bool on) {
  Inputs.LongPath = on;
  Show(wpInputs);
}

void TWindowModel::SetTxPower(int watts) {
  Inputs.TxPower = watts;
  Show(wpInputs);
}

void TWindowModel::SetUseKp(bool on) {
  Inputs.UseKp = on;
  Show(wpInputs);
}

void TWindowModel::SetGridSize(int gridSize) {
  Inputs.GridSize = gridSize;
  Show(wpInputs);
}

void TWindowModel::SetAntenna(bool tx, int band, int index) {
  if (band < 0 || band >= kBandCount) return;
  (tx ? Inputs.TxAntenna : Inputs.RxAntenna)[size_t(band)] = AntennaFileAt(Engine().AntennaFiles(), index);
}

int TWindowModel::AntennaIndex(bool tx, int band) const {
  if (band < 0 || band >= kBandCount) return -1;
  return Engine().AntennaFiles().IndexOf((tx ? Inputs.TxAntenna : Inputs.RxAntenna)[size_t(band)]);
}

std::string TWindowModel::AntennaPath(bool tx, int band) const {
  const int index = AntennaIndex(tx, band);
  return index < 0 ? std::string() : Engine().AntennaFolder() + AntennaFileAt(Engine().AntennaFiles(), index);
}

// ---- the status ----

void TWindowModel::ClockTick() { Ctl_->ClockTick(Clock_->UtcNow()); }

void TWindowModel::AnimateStatus() {
  Ctl_->AnimateStatus();
  Show(wpStatus);
}

void TWindowModel::ClickStatus() {
  Ctl_->StatusImageClick();
  Show(wpStatus);
}

void TWindowModel::SetBatchState(TBatchState state) { Ctl_->SetStatus(StatusOfBatch(state)); }

void TWindowModel::ShowStatusMessage() {
  const TVoaEngine::TStatusMessage box = Engine().StatusMessageBox();
  std::string text = box.Text;
  std::replace(text.begin(), text.end(), '\r', '\n');
  if (!box.Detail.empty()) text += "\n\n" + box.Detail;
  if (!box.Warning)
    Face_->ShowError(text);
  else if (Face_->AskYesNo(kVantorName, text))
    Face_->OpenUrl(Engine().DownloadPage());
}

// ---- the sibling programs ----

void TWindowModel::ToggleMapProgram(bool down, bool ask) {
  if (!MapProgram_->SetActive(down) && ask && Face_->AskYesNo(kVantorName, kMapProgramMissingQuestion))
    Face_->OpenUrl(MapProgramDownloadPage(kVantorName));
  Face_->Show(wpToggles);
  // Connected without a map to show: compute one; it is sent when shown.
  if (MapProgram_->Active() && Map.NormGrid.Empty()) Ctl_->ComputeMap();
}

void TWindowModel::ToggleMonitor(bool down, bool ask) {
  const TMonitorToggle result = Solar.ToggleMonitor(down, Map.MapHour);
  Face_->Show(wpSolar | wpToggles);
  if (result == TMonitorToggle::mtUnavailable && ask && Face_->AskYesNo(kVantorName, kMonitorMissingQuestion))
    Face_->OpenUrl(MonitorDownloadPage(kVantorName));
}

void TWindowModel::SpaceWeatherArrived() {
  // Read again once the monitor's notice has been handled.
  Later([this] {
    const bool changed = Monitor_->Active() && Solar.RefreshSpaceWeather(Map.MapHour);
    Face_->Show(wpSolar);
    if (changed) Ctl_->SpaceWeatherChanged();
  });
}

void TWindowModel::RefreshSpaceWeather() {
  Solar.RefreshSpaceWeather(Map.MapHour);
  Show(wpSolar);
}

void TWindowModel::SpaceWeatherMonitorLeft() {
  Solar.ClearSpaceWeatherDisplay();
  Face_->Show(wpSolar | wpToggles);
}

// ---- the month and the indices ----

void TWindowModel::StepMonth(TStepDirection dir) {
  Solar.StepMonth(dir, Map.MapHour);
  Face_->Show(wpSolar);
}

std::optional<int64_t> TWindowModel::PressMonth(TStepDirection dir) {
  StepMonth(dir);
  MonthRepeat_.Press(dir);
  return MonthRepeat_.MsUntilDue();
}

std::optional<int64_t> TWindowModel::RepeatMonth() {
  if (auto dir = MonthRepeat_.Poll()) StepMonth(*dir);
  return MonthRepeat_.MsUntilDue();
}

bool TWindowModel::SelectMonth(int year, int month) {
  if (!Solar.SelectMonth(year, month, Map.MapHour)) return false;
  Show(wpSolar);
  return true;
}

void TWindowModel::EditSsn(int ssn) {
  Solar.EditSsn(ssn);
  Face_->Show(wpSolar);
}

void TWindowModel::DownloadSsnTable() {
  IProcessRunner* runner = Services_.SiblingRunner.get();
  if (!runner || Setup_.KestrixProgram.empty() || !FileExists(Setup_.KestrixProgram)) {
    Face_->OpenUrl(kSsnSourceUrl);
    return;
  }
  if (runner->Running()) return;
  runner->OnFinished = [this](uint32_t exitCode) {
    // Any other end (the window closed before the job was done, a failed
    // download) left the table as it was.
    if (exitCode == 0) ReloadSunspotTable();
  };
  // 6: Kestrix's source index of the sunspot forecast.
  const std::string& program = Setup_.KestrixProgram;
  runner->Run({program, {"6"}, program.substr(0, program.find_last_of('/') + 1)});
}

void TWindowModel::ReloadSunspotTable() {
  const int year = Solar.Year(), month = Solar.Month();
  for (const std::string& warning : LoadSunspotTable(Setup_, Solar)) Face_->ShowError(warning);
  if (month == 0 || !Solar.SelectMonth(year, month, Map.MapHour))
    Solar.StepMonth(TStepDirection::sdCurrent, Map.MapHour);
  Face_->Show(wpSolar);
}

void TWindowModel::EditKp(int kp) {
  Solar.EditKp(kp);
  Face_->Show(wpSolar);
}

// ---- opening and closing ----

bool TWindowModel::Open() {
  const TSessionStart start = OpenSession(*this);
  for (const std::string& warning : start.Warnings) Face_->ShowError(warning);
  Show(wpSolar | wpEngine);
  Ctl_->UpdateTitle();
  if (Engine().Status() != vsReady && !Engine().Builtin()) {
    Ctl_->SetStatus(stFailed);
    const TVoaEngine& e = Engine();
    const TEngineFacts facts{e.Status(),        e.VoacapProgram(),   Setup_.Voacap.Program, e.VoacapFolder(),
                             e.AntennaFolder(), Setup_.SettingsFile, e.DownloadPage()};
    const TEngineHelp help = DescribeEngineProblem(facts);
    // The help names files, whose names are UTF-8.
    if (Face_->AskYesNo(Utf8ToCp1252(help.Title), Utf8ToCp1252(help.Text + "\n\n" + help.Question)))
      Face_->OpenUrl(help.DownloadPage);
    return false;
  }
  if (!EngineAnswers()) return false;
  ApplySettings(Setup_.Settings);
  // What the user changes from here on is what a failed run would lose.
  Opened_ = CurrentSettings();
  SettingsOpened_ = true;
  Face_->FocusCall();
  return true;
}

bool TWindowModel::EngineAnswers() {
  Show(wpEngine);
  Ctl_->UpdateTitle();
  if (Engine().Status() != vsReady) {
    Ctl_->SetStatus(stFailed);
    ShowStatusMessage();
    return false;
  }
  Ctl_->SetStatus(stReady);
  return true;
}

void TWindowModel::ChooseEngine(TEngineChoice choice) {
  if (choice == Setup_.Voacap.Engine) return;
  const TVantorSettings before = CurrentSettings();
  Ctl_->CancelPrediction();
  Setup_.Voacap.Engine = choice;
  EngineChosen_ = true;
  Engine().ChooseEngine(choice);
  if (!EngineAnswers()) return;
  const TAlStringList& files = Engine().AntennaFiles();
  for (size_t b = 0; b < kBandCount; ++b) {
    Inputs.RxAntenna[b] = AntennaFileAt(files, SelectAntenna(files, before.RxAntenna[b]));
    Inputs.TxAntenna[b] = AntennaFileAt(files, SelectAntenna(files, before.TxAntenna[b]));
  }
  Show(wpEngine);
}

std::string TWindowModel::EngineText() const {
  const TVoaEngine& e = Engine();
  if (e.Status() == vsNotFound || e.Status() == vsTooOld) return std::string("None usable: ") + e.StatusText();
  if (e.Builtin()) return "The built-in engine answers.";
  return "voacapl answers (" + Utf8ToCp1252(e.VoacapProgram()) + ").";
}

TVantorSettings TWindowModel::CurrentSettings() const {
  TVantorSettings s;
  s.Left = Face_->FrameLeft();
  s.Top = Face_->FrameTop();
  s.MapStyle = Map.MapStyle;
  s.GridSize = std::max(0, ResolutionOfGridSize(Inputs.GridSize));
  s.ShowMuf = PlotMufOn;
  s.ShowBestHour = MarkBestHourOn;
  s.ShowSun = ShowSunOn;
  s.ShowPath = PlotPathOn;
  s.UseKp = Inputs.UseKp;
  s.Home = Inputs.Home;
  s.TxPower = Inputs.TxPower;
  s.RxAntenna = Inputs.RxAntenna;
  s.TxAntenna = Inputs.TxAntenna;
  return s;
}

void TWindowModel::ApplySettings(const TVantorSettings& s) {
  Map.SetStyle(TMapStyle(s.MapStyle));
  Inputs.GridSize = GridSizeOfResolution(s.GridSize);
  PlotMufOn = s.ShowMuf;
  MarkBestHourOn = s.ShowBestHour;
  ShowSunOn = s.ShowSun;
  PlotPathOn = s.ShowPath;
  Inputs.UseKp = s.UseKp;
  ShowCoordFields(HomeFields_, s.Home);
  Inputs.Home = ReadCoordFields(HomeFields_);
  Inputs.TxPower = s.TxPower;
  const TAlStringList& files = Engine().AntennaFiles();
  for (size_t b = 0; b < kBandCount; ++b) {
    Inputs.RxAntenna[b] = AntennaFileAt(files, SelectAntenna(files, s.RxAntenna[b]));
    Inputs.TxAntenna[b] = AntennaFileAt(files, SelectAntenna(files, s.TxAntenna[b]));
  }
  Show(wpInputs | wpHome | wpOptions | wpMap | wpEngine);
  RepaintChart();
}

bool TWindowModel::AskToKeepSettings() {
  if (!SettingsOpened_ || ShouldSaveSettings(Engine().Status())) return true;
  const std::vector<std::string> changed = ChangedSettings(Opened_, CurrentSettings());
  if (changed.empty()) return true;
  std::string names;
  for (const std::string& n : changed) names += (names.empty() ? "" : ", ") + n;
  const std::string why = Engine().Status() == vsCancelled
                              ? "The last prediction was cancelled"
                              : std::string("The last prediction failed (") + Engine().StatusText() + ")";
  switch (Face_->AskYesNoCancel(kVantorName, why +
                                                 ", so the settings are not saved by default. These changes "
                                                 "would be lost: " +
                                                 names + ".\n\nKeep them?")) {
    case TAnswerKind::akYes: KeepSettings_ = true; return true;
    case TAnswerKind::akNo: KeepSettings_ = false; return true;
    default: return false;
  }
}

bool TWindowModel::Close() {
  if (!ShouldSaveSettings(Engine().Status()) && !KeepSettings_) return true;
  TIniFile ini = TIniFile::Load(Setup_.SettingsFile);
  WriteSettings(CurrentSettings(), ini);
  if (EngineChosen_) ini.WriteString("VOACAP", "Engine", EngineChoiceName(Setup_.Voacap.Engine));
  MakeDirectories(FolderOf(Setup_.SettingsFile));
  if (ini.UpdateFile()) return true;
  Face_->ShowError("The settings could not be written to " + Utf8ToCp1252(Setup_.SettingsFile));
  return false;
}

}  // namespace vx
