// vantor: the main program. One running copy per user and display; reads the
// settings file once, builds the main window and its dialogs, minimises to
// the notification area where there is one, and writes the settings once
// when the window goes.
#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QTimer>
#include <clocale>

#include "app/Settings.h"
#include "app/Version.h"
#include "app/gui/MainForm.h"
#include "app/gui/Pictures.h"
#include "app/gui/Shell.h"
#include "app/shell/SafeShDown.h"
#include "app/shell/SingleInstance.h"
#include "app/shell/TrayIcon.h"
#include "common/Ini.h"
#include "common/Paths.h"
#include "engine/AntDlg.h"

int main(int argc, char** argv) {
  using namespace vx;
  QApplication app(argc, argv);
  QApplication::setApplicationName(kVantorName);
  QApplication::setApplicationVersion(kVantorVersion);
  // Wayland desktops match the window to its menu entry and icon by this name.
  QGuiApplication::setDesktopFileName("net.vexmoor.Vantor");
  QApplication::setWindowIcon(TabIcon(pgMap));
  // Numbers use "." whatever the desktop's language (Qt set the C library's
  // locale from the environment).
  std::setlocale(LC_NUMERIC, "C");
  QLocale::setDefault(QLocale::c());

  // A second start shows the first copy's window and ends.
  TSingleInstance instance(CurrentInstanceKey(kVantorName));
  if (!instance.Claim()) return 0;

  CreateProgramFolders(TProgram::pgVantor);
  TMainFormSetup setup;
  setup.DataFolder = ShippedDataFolder();
  setup.CacheFolder = AreaCacheFolder();
  setup.SettingsFile = SettingsFile(kVantorName);
  const TIniFile ini = TIniFile::Load(setup.SettingsFile);
  setup.Voacap = ReadVoacapSetup(ini);
  setup.Settings = ReadSettings(ini);

  TQtShell shell;
  TMainFormServices services;
  services.Shell = &shell;
  TMainForm form(std::move(setup), std::move(services));
  TAntennaDialog antennaDialog(&form);
  QObject::connect(&form, &TMainForm::PatternRequested, &antennaDialog,
                   [&](const QString& file, int band) { antennaDialog.ShowAntenna(QFile::encodeName(file).toStdString(), band); });
  if (!form.FormCreate()) return 1;  // the user has been told what is missing

  // Minimised, the window waits in the notification area (where there is one).
  TTrayIcon tray(QApplication::windowIcon(), kVantorName);
  auto restore = [&] {
    form.showNormal();
    form.raise();
    form.activateWindow();
    tray.SetActive(false);
  };
  QObject::connect(&form, &TMainForm::Minimised, &tray, [&] {
    if (!TTrayIcon::Available()) return;
    tray.SetActive(true);
    QTimer::singleShot(0, &form, [&] { form.hide(); });
  });
  QObject::connect(&tray, &TTrayIcon::RestoreRequested, &form, restore);
  QObject::connect(&instance, &TSingleInstance::ActivateRequested, &form, restore);
  QObject::connect(&tray, &TTrayIcon::ExitRequested, &form, [&] {
    if (form.close()) QApplication::quit();
  });
  // The session ends: close whatever automation clients say.
  TSafeShutdown shutdown;
  QObject::connect(&shutdown, &TSafeShutdown::SessionEnding, &form, [&] {
    form.ShuttingDown = true;
    form.close();
    QApplication::quit();
  });

  form.show();
  const int rc = QApplication::exec();
  tray.SetActive(false);
  form.FormDestroy();
  return rc;
}
