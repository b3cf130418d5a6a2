#include "com/HeadlessWindow.h"

#include "common/DayCount.h"

namespace vx {

namespace {

std::string MonthNameOf(int year, int month) {
  static const char kMonths[] = "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec ";
  return std::string(kMonths + (month - 1) * 4, 4) + std::to_string(year);
}

}  // namespace

THeadlessWindow::THeadlessWindow() {
  ShowCoordFields(HomeFields_, Inputs.Home);
  Inputs.Home = ReadCoordFields(HomeFields_);
  SetDxPoint(Inputs.Dx);
  PaintChart(TPointResults(), TChartOptions{}, Chart);
  UtcClock = [] { return UtcNow(); };
}

void THeadlessWindow::SetController(TPredictionController* controller) {
  Ctl_ = controller;
  RepaintChart();
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
  if (Geomira_)
    Post_ ? Post_([this] { Geomira_->SendField(); }) : Geomira_->SendField();
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

// ---- month and indices ----

void THeadlessWindow::SelectMonth(int year, int month) { Inputs.MonthText = MonthNameOf(year, month); }

void THeadlessWindow::SetSsn(int ssn) {
  Inputs.Ssn = ssn;
  SsnLime = MonitorOn() && ssn == LastReading_.Ssn;
}

void THeadlessWindow::SetKp(int kp) {
  Inputs.Kp = kp;
  KpLime = MonitorOn() && kp == LastReading_.Kp;
}

bool THeadlessWindow::RefreshSpaceWeather() {
  if (!MonitorOn()) {
    SsnLime = KpLime = false;
    return false;
  }
  const int year = TPredictionController::YearOfText(Inputs.MonthText);
  const int month = TPredictionController::MonthOfText(Inputs.MonthText);
  const TCivilTime now = DecodeDayCount(UtcClock());
  const int day = now.Year == year && now.Month == month ? now.Day : 15;
  const TMonitorReading r = Monitor_->ReadIndices(year, month, day, Inputs.MapHour);
  LastReading_ = r;
  bool changed = false;
  SsnLime = r.Ssn != kNoMonitorValue;
  if (SsnLime) {
    changed = Inputs.Ssn != r.Ssn;
    Inputs.Ssn = r.Ssn;
  }
  KpLime = r.Kp != kNoMonitorValue;
  if (KpLime) {
    changed = changed || Inputs.Kp != r.Kp;
    Inputs.Kp = r.Kp;
  }
  return changed;
}

// ---- the sibling programs ----

void THeadlessWindow::SetMapProgramOn(bool down) {
  if (!Geomira_) return;
  Geomira_->SetActive(down);
  // Connected without a map to show: compute one; it is sent when shown.
  if (Geomira_->Active() && Map.NormGrid.Empty() && Ctl_) Ctl_->ComputeMap();
}

void THeadlessWindow::SetMonitorOn(bool down) {
  if (!Monitor_) return;
  Monitor_->SetActive(down);
  RefreshSpaceWeather();
}

void THeadlessWindow::MonitorDataArrived() {
  auto refresh = [this] {
    if (RefreshSpaceWeather() && Ctl_) Ctl_->SpaceWeatherChanged();
  };
  Post_ ? Post_(refresh) : refresh();
}

void THeadlessWindow::MonitorLeft() { SsnLime = KpLime = false; }

}  // namespace vx
