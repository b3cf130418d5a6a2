#include "app/WindowModel.h"

#include "app/Version.h"

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
      Clock_(&ClockOr(Services_.Clock)) {
  ShowCoordFields(HomeFields_, Inputs.Home);
  Inputs.Home = ReadCoordFields(HomeFields_);
  SetDxPoint(Inputs.Dx);
  Ctl_ = std::make_unique<TPredictionController>(std::move(engine), Setup_.CacheFolder, *this);
  Ctl_->SetCallParser(&Parser_);
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
  if (OnStatusChanged) OnStatusChanged();
}

// ---- the views ----

void TWindowModel::RepaintChart() {
  TChartOptions options;
  options.PlotMuf = PlotMufOn;
  options.MarkBestHour = MarkBestHourOn;
  PaintChart(Ctl_ ? Ctl_->Engine().PointResults() : TPointResults(), options, Chart);
}

void TWindowModel::SetPlotMuf(bool on) {
  PlotMufOn = on;
  RepaintChart();
}

void TWindowModel::ShowMap(const TVoaGrid& grid) {
  Map.SetData(grid);
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
  Inputs.MapHour = hour;
  Map.MapHour = hour;
}

void TWindowModel::SetMapBand(int band) {
  Inputs.MapBand = band;
  Map.MapBand = band;
}

std::string TWindowModel::MapMouseMove(int x, int y) {
  StatusPanels = Map.Readout(x, y).Panels;
  return StatusPanels[1];
}

// ---- the coordinate frames ----

void TWindowModel::SetDxPoint(TLocation point) {
  ShowCoordFields(DxFields_, point);
  Inputs.Dx = ReadCoordFields(DxFields_);
  Dx = HasLocation(point) ? FormatCoordinates(Inputs.Dx) : std::string();
}

void TWindowModel::SetHomePoint(TLocation p) {
  ShowCoordFields(HomeFields_, p);
  Inputs.Home = ReadCoordFields(HomeFields_);
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
  const TMonitorToggle result = Solar.ToggleMonitor(down, Inputs.MapHour);
  Face_->Show(wpSolar | wpToggles);
  if (result == TMonitorToggle::mtUnavailable && ask && Face_->AskYesNo(kVantorName, kMonitorMissingQuestion))
    Face_->OpenUrl(MonitorDownloadPage(kVantorName));
}

void TWindowModel::SpaceWeatherArrived() {
  // Read again once the monitor's notice has been handled.
  Later([this] {
    const bool changed = Monitor_->Active() && Solar.RefreshSpaceWeather(Inputs.MapHour);
    Face_->Show(wpSolar);
    if (changed) Ctl_->SpaceWeatherChanged();
  });
}

void TWindowModel::SpaceWeatherMonitorLeft() {
  Solar.ClearSpaceWeatherDisplay();
  Face_->Show(wpSolar | wpToggles);
}

// ---- the month and the indices ----

void TWindowModel::StepMonth(TStepDirection dir) {
  Solar.StepMonth(dir, Inputs.MapHour);
  Face_->Show(wpSolar);
}

void TWindowModel::EditSsn(int ssn) {
  Solar.EditSsn(ssn);
  Face_->Show(wpSolar);
}

void TWindowModel::EditKp(int kp) {
  Solar.EditKp(kp);
  Face_->Show(wpSolar);
}

}  // namespace vx
