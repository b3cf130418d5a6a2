#include "com/AutoApp.h"

#include <algorithm>
#include <cmath>

#include "app/MapResolution.h"
#include "app/MonthSelector.h"
#include "common/TextUtil.h"
#include "geo/CoordFrm.h"
#include "geo/Maidenhead.h"
#include "views/BmpFile.h"

namespace vx {

namespace {

// NaN reads as 0; infinities clamp like any other number.
double ClampDegrees(double v, double limit) { return std::isnan(v) ? 0.0 : std::clamp(v, -limit, limit); }

double Degrees(int32_t v) { return v == kNoLocation32 ? 0.0 : v / 180.0; }

// An emptied frame reads as 0, as the frame itself reads its empty boxes.
TLocation Shown(TLocation p) { return HasLocation(p) ? p : TLocation{0, 0}; }

void SaveImage(const std::string& fileName, const TRgbImage& image) {
  if (fileName.empty() || !SaveBmpFile(fileName, image)) throw TAutomationError("Cannot write ", fileName);
}

}  // namespace

TVantorApp::TVantorApp(TWindowModel& window, int32_t version)
    : Ctl_(window.Controller()), Inputs_(window), Window_(window), Version_(version) {}

std::string TVantorApp::ChartDataText(const TPointResults& results) {
  std::string out;
  for (int row : kChartDataRows) {
    for (int h = 0; h < 24; ++h) {
      if (h) out += ',';
      out += FormatInt(RoundToInt32(results.Snr[row][h]));
    }
    out += '\r';
  }
  return out;
}

TLocation TVantorApp::FramePoint(double lat, double lon) {
  const TLocation exact{RoundToInt32(ClampDegrees(lon, 180) * 180), RoundToInt32(ClampDegrees(lat, 90) * 180)};
  TCoordFields fields;
  ShowCoordFields(fields, exact);
  return ReadCoordFields(fields);
}

// ---- the window ----

int32_t TVantorApp::Version() const { return Version_; }

bool TVantorApp::Visible() const { return Window_.WindowVisible(); }
void TVantorApp::SetVisible(bool on) { Window_.SetWindowVisible(on); }
int32_t TVantorApp::Left() const { return Window_.WindowLeft(); }
void TVantorApp::SetLeft(int32_t left) { Window_.MoveWindow(left, Window_.WindowTop()); }
int32_t TVantorApp::Top() const { return Window_.WindowTop(); }
void TVantorApp::SetTop(int32_t top) { Window_.MoveWindow(Window_.WindowLeft(), top); }
void TVantorApp::BringToFront() { Window_.BringToFront(); }

int32_t TVantorApp::Page() const { return Ctl_.ActivePage(); }

void TVantorApp::SetPage(int32_t page) {
  // The tab only: its change handling would start a prediction.
  const TPage p = TPage(std::clamp(page, int32_t(pgParams), int32_t(pgAnt)));
  Window_.ShowPage(p);
  Ctl_.SelectPage(p);
}

// ---- locations ----

double TVantorApp::HomeLat() const { return Degrees(Shown(Inputs().Home).Y); }
double TVantorApp::HomeLon() const { return Degrees(Shown(Inputs().Home).X); }
double TVantorApp::DxLat() const { return Degrees(Shown(Inputs().Dx).Y); }
double TVantorApp::DxLon() const { return Degrees(Shown(Inputs().Dx).X); }

void TVantorApp::SetHomeLat(double lat) { SetHome(FramePoint(lat, HomeLon())); }
void TVantorApp::SetHomeLon(double lon) { SetHome(FramePoint(HomeLat(), lon)); }
void TVantorApp::SetDxLat(double lat) { SetDx(FramePoint(lat, DxLon())); }
void TVantorApp::SetDxLon(double lon) { SetDx(FramePoint(DxLat(), lon)); }

std::string TVantorApp::HomeLocator() const { return FormatLocator(Shown(Inputs().Home)); }
std::string TVantorApp::DxLocator() const { return FormatLocator(Inputs().Dx); }

void TVantorApp::SetHomeLocator(const std::string& locator) { SetHome(LocatorPoint(locator)); }
void TVantorApp::SetDxLocator(const std::string& locator) { SetDx(LocatorPoint(locator)); }

TLocation TVantorApp::LocatorPoint(const std::string& locator) {
  auto centre = LocatorCentre(Trim(locator));
  if (!centre) throw TAutomationError("Not a grid locator (such as FN31pr): " + locator);
  return FramePoint(centre->Lat, centre->Lon);
}

void TVantorApp::SetHome(TLocation p) {
  Window_.SetHomePoint(p);
  Window_.RepaintMap();
}

void TVantorApp::SetDx(TLocation p) {
  Inputs_.SetDxPoint(p);
  // The frame's change callback: the call sign no longer names this point.
  Ctl_.CoordinatesChanged(true);
  Window_.RepaintMap();
}

std::string TVantorApp::DxCall() const { return Inputs_.CallText(); }

void TVantorApp::SetDxCall(const std::string& call) {
  const std::string text = UpperAscii(call);  // the box takes capitals only
  Window_.SetCallText(text);
  // What the box took (it may hold fewer characters than were sent).
  Ctl_.CallEditChange(Inputs_.CallText());
  Window_.RepaintMap();
}

bool TVantorApp::LongPath() const { return Inputs().LongPath; }
void TVantorApp::SetLongPath(bool on) { Window_.SetLongPath(on); }

// ---- the map ----

int32_t TVantorApp::MapStyle() const { return Window_.MapStyle(); }
void TVantorApp::SetMapStyle(int32_t style) { Window_.SetMapStyle(std::clamp(style, 0, 2)); }
int32_t TVantorApp::MapResolution() const { return ResolutionOfGridSize(Inputs().GridSize); }
void TVantorApp::SetMapResolution(int32_t resolution) {
  Window_.SetGridSize(GridSizeOfResolution(std::clamp(resolution, 0, 2)));
}
bool TVantorApp::ShowMuf() const { return Window_.PlotMuf(); }
void TVantorApp::SetShowMuf(bool on) { Window_.SetPlotMuf(on); }
bool TVantorApp::MarkBestHour() const { return Window_.MarkBestHourOn; }
void TVantorApp::SetMarkBestHour(bool on) { Window_.SetMarkBestHour(on); }
bool TVantorApp::ShowSun() const { return Window_.ShowSun(); }
void TVantorApp::SetShowSun(bool on) { Window_.SetShowSun(on); }
bool TVantorApp::ShowPath() const { return Window_.PlotPath(); }
void TVantorApp::SetShowPath(bool on) { Window_.SetPlotPath(on); }

int32_t TVantorApp::Hour() const { return Inputs().MapHour; }

void TVantorApp::SetHour(int32_t hour) {
  Window_.SetRealTime(false);  // the hour was chosen: the map stops following the clock
  Window_.SetMapHour(std::clamp(hour, 0, 23));
}

int32_t TVantorApp::Band() const { return Inputs().MapBand; }

void TVantorApp::SetBand(int32_t band) {
  if (band >= 0 && band < kBandCount) Window_.SetMapBand(band);
}

bool TVantorApp::RealtimeClock() const { return Window_.RealTime(); }
void TVantorApp::SetRealtimeClock(bool on) { Window_.SetRealTime(on); }

// ---- month and indices ----

int32_t TVantorApp::Ssn() const { return Inputs().Ssn; }
void TVantorApp::SetSsn(int32_t ssn) { Window_.SetSsn(std::clamp(ssn, -50, 400)); }
int32_t TVantorApp::Kp() const { return Inputs().Kp; }
void TVantorApp::SetKp(int32_t kp) { Window_.SetKp(std::clamp(kp, 1, 9)); }
int32_t TVantorApp::TxPower() const { return Inputs().TxPower; }
void TVantorApp::SetTxPower(int32_t watts) { Window_.SetTxPower(std::clamp(watts, 1, 9999)); }
bool TVantorApp::UseKp() const { return Inputs().UseKp; }
void TVantorApp::SetUseKp(bool on) { Window_.SetUseKp(on); }
std::string TVantorApp::YearMonth() const { return Window_.MonthText(); }

void TVantorApp::SetYearMonth(int32_t year, int32_t month) {
  // A month that does not exist would name no line of the table (and add a
  // nameless one to an empty table): refuse it rather than pick a month.
  if (month < 1 || month > 12) throw TAutomationError("Month " + FormatInt(month) + " is not 1..12");
  if (year < 0 || year > 9999) throw TAutomationError("Year " + FormatInt(year) + " is not 0..9999");
  if (!Window_.SelectMonth(year, month))
    throw TAutomationError(MonthName(year, month) + " is not in the sunspot table");
}

// ---- predictions ----

void TVantorApp::PredictPoint() {
  // The tab first, so that the caption the chart sets names the chart.
  Window_.ShowPage(pgChart);
  Ctl_.SelectPage(pgChart);
  Ctl_.ComputeChart();
}

void TVantorApp::PredictArea() {
  Window_.ShowPage(pgMap);
  Ctl_.SelectPage(pgMap);
  Ctl_.ComputeMap();
}

std::string TVantorApp::ChartData() const { return ChartDataText(Ctl_.Engine().PointResults()); }
bool TVantorApp::JobRunning() const { return Ctl_.Engine().Running(); }

// ---- path facts ----

double TVantorApp::DistanceKm() const {
  const auto f = Window_.PathFacts();
  return f ? f->ShortKm : -1.0;
}

double TVantorApp::BearingShort() const {
  const auto f = Window_.PathFacts();
  return f ? f->BearingShort : -1.0;
}

double TVantorApp::BearingLong() const {
  const auto f = Window_.PathFacts();
  return f ? f->BearingLong : -1.0;
}

std::string TVantorApp::DxCountry() const {
  const auto f = Window_.PathFacts();
  return f ? f->DxCountry : std::string();
}

// ---- sibling programs ----

bool TVantorApp::GeomiraOn() const { return Window_.MapProgramOn(); }

void TVantorApp::SetGeomiraOn(bool on) {
  if (on != Window_.MapProgramOn()) Window_.SetMapProgramOn(on);
}

bool TVantorApp::SunsentryOn() const { return Window_.MonitorOn(); }

void TVantorApp::SetSunsentryOn(bool on) {
  if (on != Window_.MonitorOn()) Window_.SetMonitorOn(on);
}

// ---- pictures ----

void TVantorApp::SaveChartImage(const std::string& fileName) { SaveImage(fileName, Window_.ChartBitmap()); }
void TVantorApp::SaveMapImage(const std::string& fileName) { SaveImage(fileName, Window_.MapBitmap()); }

}  // namespace vx
