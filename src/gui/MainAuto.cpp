// The window's side of automation and of the map program: the controls that
// clients read and set (IAutomationView) and the map view the map program
// reads (IGeomiraHost). A setter puts its value into the control with the
// control's signals blocked: the handling that belongs to the change runs
// once, from TVantorApp, and nothing starts a prediction.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <iostream>

#include "app/MapResolution.h"
#include "common/QtText.h"
#include "gui/MainForm.h"
#include "gui/Shell.h"
#include "views/ChartFrm.h"
#include "views/CoordFrame.h"
#include "views/MapFrm.h"

namespace vx {

namespace {

void Check(QAbstractButton* button, bool on) {
  const QSignalBlocker quiet(button);
  button->setChecked(on);
}

}  // namespace

void TMainForm::BringToFront() {
  // A hidden window stays hidden: a client shows it through Visible.
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  raise();
  activateWindow();
}

void TMainForm::ShowPage(TPage page) {
  const QSignalBlocker quiet(Pages);
  Pages->setCurrentIndex(page);
}

void TMainForm::SetHomePoint(TLocation p) {
  const QSignalBlocker quiet(HomeCoordFrame);
  HomeCoordFrame->SetPoint(p);
}

void TMainForm::SetCallText(const std::string& text) {
  const QSignalBlocker quiet(CallEdit);
  CallEdit->setText(FromCp1252(text));
}

void TMainForm::SetLongPath(bool on) {
  const QSignalBlocker a(ShortPathRadio), b(LongPathRadio);
  (on ? LongPathRadio : ShortPathRadio)->setChecked(true);
}

void TMainForm::SetSsn(int ssn) {
  Solar_.EditSsn(ssn);
  ShowSolarIndices();
}

void TMainForm::SetKp(int kp) {
  Solar_.EditKp(kp);
  ShowSolarIndices();
}

void TMainForm::SetTxPower(int watts) {
  const QSignalBlocker quiet(PowerSpin);
  PowerSpin->setValue(watts);
}

void TMainForm::SetUseKp(bool on) { Check(UseKpBox, on); }

bool TMainForm::SelectMonth(int year, int month) {
  if (!Solar_.SelectMonth(year, month, MapHour())) return false;
  ShowSolarIndices();
  return true;
}

int TMainForm::MapStyle() const { return MapStyleGroup->checkedId(); }

void TMainForm::SetMapStyle(int style) {
  Check(MapStyleGroup->button(style), true);
  MapFrame->SetStyle(TMapStyle(style));
}

void TMainForm::SetGridSize(int gridSize) { Check(ResolutionGroup->button(ResolutionOfGridSize(gridSize)), true); }
bool TMainForm::PlotMuf() const { return PlotMufBox->isChecked(); }
bool TMainForm::ShowSun() const { return ShowSunBox->isChecked(); }
bool TMainForm::PlotPath() const { return PlotPathBox->isChecked(); }
void TMainForm::SetMapHour(int hour) { MapFrame->ShowHour(hour); }
void TMainForm::SetMapBand(int band) { MapFrame->ShowBand(band); }
bool TMainForm::RealTime() const { return MapFrame->RealTime(); }
void TMainForm::RepaintMap() { MapFrame->Box()->update(); }

bool TMainForm::MapProgramOn() const { return MapProgramButton->isChecked(); }

void TMainForm::SetMapProgramOn(bool down) {
  Check(MapProgramButton, down);
  MapProgramToggled(false);
}

bool TMainForm::MonitorOn() const { return MonitorButton->isChecked(); }

void TMainForm::SetMonitorOn(bool down) {
  Check(MonitorButton, down);
  MonitorToggled(false);
}

// Drawn when the results change (RepaintChart), so also while hidden.
const TRgbImage& TMainForm::ChartBitmap() { return ChartFrame->ChartBitmap; }

// ---- the map program ----

const TNormGrid& TMainForm::MapField() const { return MapFrame->Model.NormGrid; }

std::string TMainForm::MapMouseMove(int x, int y) {
  // As a mouse over the map: the readout goes onto the status bar.
  return MapFrame->BoxMouseMove(x, y).Panels[1];
}

void TMainForm::MapProgramLeft() { Check(MapProgramButton, false); }

void TMainForm::MapProgramError(const std::string& text) {
  // No message box for a window nobody sees (a program the bus started).
  if (isVisible())
    Shell_.ShowError(this, FromCp1252(text));
  else
    std::cerr << "vantor: " << text << "\n";
}

}  // namespace vx
