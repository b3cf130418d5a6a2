#include "com/HeadlessWindow.h"

namespace vx {

THeadlessWindow::THeadlessWindow(ISpaceWeatherMonitor& monitor, const IClock& clock)
    : Solar(monitor, clock), Monitor_(monitor) {
  ShowCoordFields(HomeFields_, Inputs.Home);
  Inputs.Home = ReadCoordFields(HomeFields_);
  SetDxPoint(Inputs.Dx);
  PaintChart(TPointResults(), TChartOptions{}, Chart);
  Monitor_.SetListener(this);
}

THeadlessWindow::~THeadlessWindow() { Monitor_.SetListener(nullptr); }

void THeadlessWindow::SetController(TPredictionController* controller) {
  Ctl_ = controller;
  RepaintChart();
}

TPredictionInputs THeadlessWindow::ReadInputs() const {
  TPredictionInputs in = Inputs;
  // An emptied DX frame (an unknown call) reads 0 to clients, but is no
  // position to compute a chart for.
  if (Dx.empty()) in.Dx = kNoLocationPoint;
  in.Year = Solar.Year();
  in.Month = Solar.Month();
  in.Ssn = Solar.Ssn();
  in.Kp = Solar.Kp();
  return in;
}

// ---- the views ----

void THeadlessWindow::RepaintChart() {
  THeadlessView::RepaintChart();
  TChartOptions options;
  options.PlotMuf = PlotMufOn;
  PaintChart(Ctl_ ? Ctl_->Engine().PointResults() : TPointResults(), options, Chart);
}

void THeadlessWindow::SetPlotMuf(bool on) {
  PlotMufOn = on;
  RepaintChart();
}

void THeadlessWindow::ShowMap(const TVoaGrid& grid) {
  THeadlessView::ShowMap(grid);
  Map.SetData(grid);
  // The map program gets the new map once this handler has returned.
  if (Geomira_) Later([this] { Geomira_->SendField(); });
}

void THeadlessWindow::ClientEventsQueued() {
  THeadlessView::ClientEventsQueued();
  if (!Post_ || !Ctl_ || EventsPosted_) return;
  EventsPosted_ = true;
  Post_([this] {
    EventsPosted_ = false;
    for (TClientEvent code : Ctl_->TakeClientEvents())
      if (OnClientEvent) OnClientEvent(code);
  });
}

void THeadlessWindow::SetMapHour(int hour) {
  Inputs.MapHour = hour;
  Map.MapHour = hour;
}

void THeadlessWindow::SetMapBand(int band) {
  Inputs.MapBand = band;
  Map.MapBand = band;
}

std::string THeadlessWindow::MapMouseMove(int x, int y) {
  StatusPanels = Map.Readout(x, y).Panels;
  return StatusPanels[1];
}

// ---- the coordinate frames ----

void THeadlessWindow::SetDxPoint(TLocation point) {
  ShowCoordFields(DxFields_, point);
  Inputs.Dx = ReadCoordFields(DxFields_);
  Dx = HasLocation(point) ? FormatCoordinates(Inputs.Dx) : std::string();
}

void THeadlessWindow::SetHomePoint(TLocation p) {
  ShowCoordFields(HomeFields_, p);
  Inputs.Home = ReadCoordFields(HomeFields_);
}

// ---- the sibling programs ----

void THeadlessWindow::SetMapProgramOn(bool down) {
  if (!Geomira_) return;
  Geomira_->SetActive(down);
  // Connected without a map to show: compute one; it is sent when shown.
  if (Geomira_->Active() && Map.NormGrid.Empty() && Ctl_) Ctl_->ComputeMap();
}

void THeadlessWindow::SpaceWeatherArrived() {
  // Read again once the monitor's notice has been handled.
  Later([this] {
    if (Monitor_.Active() && Solar.RefreshSpaceWeather(Inputs.MapHour) && Ctl_) Ctl_->SpaceWeatherChanged();
  });
}

}  // namespace vx
