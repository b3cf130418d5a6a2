// vantor-shots OUT_DIR: builds the main window as the program does, types a
// call, lets the chart and a map be computed, and saves one PNG per tab
// ("vantor-params.png" ...) as the display shows it, then the pattern viewer
// on two of the shipped antennas ("vantor-pattern-vert.png", "-hor.png"). The settings, the cache
// and the propagation program are taken as the program would take them, so
// the caller points HOME (and the [VOACAP] settings) where it wants.
#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QThread>
#include <QWindow>
#include <clocale>
#include <iostream>

#include "app/Version.h"
#include "gui/MainForm.h"
#include "gui/Shell.h"
#include "views/AntDlg.h"

namespace {

using namespace vx;

// No message box may wait for a click here.
struct TQuietShell : IShell {
  bool AskYesNo(QWidget*, const QString& title, const QString& text) override {
    std::cerr << title.toStdString() << ": " << text.toStdString() << "\n";
    return false;
  }
  void ShowError(QWidget*, const QString& text) override { std::cerr << text.toStdString() << "\n"; }
  bool RunModal(QDialog&) override { return false; }
  bool SaveImage(QWidget*, const TRgbImage&) override { return false; }
  void OpenUrl(const QString&) override {}
};

void Settle(int ms) {
  QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
}

bool WaitIdle(TMainForm& form) {
  QDeadlineTimer deadline(120000);
  while (form.Controller().Status().State == stComputing) {
    if (deadline.hasExpired()) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return true;
}

bool Shoot(TMainForm& form, int page, const QString& file) {
  form.findChild<QTabWidget*>("Pages")->setCurrentIndex(page);
  if (!WaitIdle(form)) return false;
  Settle(400);
  QPixmap shot;
  if (QScreen* screen = form.windowHandle() ? form.windowHandle()->screen() : nullptr)
    shot = screen->grabWindow(form.winId());
  if (shot.isNull()) shot = form.grab();
  const bool ok = shot.save(file, "PNG");
  std::cout << (ok ? "wrote " : "could not write ") << file.toStdString() << "\n";
  return ok;
}

// The viewer as "View pattern" opens it, without waiting for a click.
bool ShootPattern(TMainForm& form, const std::string& file, int mhz, bool horizontal, const QString& out) {
  TAntennaDialog dialog(&form);
  if (dialog.LoadAntenna(form.Controller().Engine().AntennaFolder() + file)) {
    std::cout << "could not load " << file << "\n";
    return false;
  }
  if (horizontal) dialog.RadioButton1->click();
  dialog.SpinEdit1->setValue(horizontal ? 15 : mhz);  // the elevation of the cut, or the frequency
  dialog.show();
  Settle(400);
  const bool ok = dialog.grab().save(out, "PNG");
  std::cout << (ok ? "wrote " : "could not write ") << out.toStdString() << "\n";
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(kVantorName);
  std::setlocale(LC_NUMERIC, "C");
  QLocale::setDefault(QLocale::c());
  if (argc != 2) {
    std::cerr << "usage: vantor-shots OUT_DIR\n";
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]) + "/";

  TQuietShell shell;
  TMainFormServices services;
  services.Shell = &shell;
  TMainForm form(LoadSessionSetup(), std::move(services));
  if (!form.FormCreate()) return 1;
  form.Model().SetShowSun(true);
  form.Model().SetPlotPath(true);
  form.show();
  Settle(500);

  form.findChild<QLineEdit*>("CallEdit")->setText("JA1XYZ");
  bool ok = Shoot(form, pgParams, out + "vantor-params.png");
  form.Model().EnterCall();  // Enter: the chart, as a user gets it
  ok = Shoot(form, pgChart, out + "vantor-chart.png") && ok;
  ok = Shoot(form, pgMap, out + "vantor-map.png") && ok;
  ok = Shoot(form, pgSettings, out + "vantor-settings.png") && ok;
  ok = Shoot(form, pgAnt, out + "vantor-ant.png") && ok;
  ok = ShootPattern(form, "Dipole55.N14", 14, false, out + "vantor-pattern-vert.png") && ok;
  ok = ShootPattern(form, "Dipole20m.N13", 0, true, out + "vantor-pattern-hor.png") && ok;
  form.close();
  return ok ? 0 : 1;
}
