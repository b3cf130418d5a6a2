// vantor: the main program. One running copy per user and display; reads the
// settings file once, builds the main window and its dialogs, minimises to
// the notification area where there is one, serves automation clients on the
// session bus, and writes the settings once when the window goes.
//
//   vantor --register     installs the user's activation file and ends
//   vantor --unregister   removes it and ends
//   vantor --automation   a start by the bus: the window stays hidden
//   vantor --help, --version  print and end, before anything else
#include <QApplication>
#include <QDBusConnection>
#include <QFile>
#include <QLocale>
#include <QTimer>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "app/Version.h"
#include "com/ServiceFile.h"
#include "common/Ini.h"
#include "common/Paths.h"
#include "common/UserFile.h"
#include "desktop/SafeShDown.h"
#include "desktop/SingleInstance.h"
#include "desktop/TrayIcon.h"
#include "gui/MainForm.h"
#include "gui/Pictures.h"
#include "gui/Shell.h"
#include "gui/WindowService.h"
#include "views/AntDlg.h"

namespace {

bool HasFlag(int argc, char** argv, const char* flag) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], flag) == 0) return true;
  return false;
}

// --register and --unregister, before anything needs a display. -1: neither.
int Registration(int argc, char** argv) {
  const bool add = HasFlag(argc, argv, "--register");
  if (!add && !HasFlag(argc, argv, "--unregister")) return -1;
  std::string error;
  if (add ? vx::RegisterActivation(vx::ProgramFile(), error) : vx::UnregisterActivation(error)) return 0;
  std::cerr << "vantor: " << error << "\n";
  return 1;
}

// --help and --version answer on the terminal whether or not a copy runs
// or a display is there. -1: neither.
int Information(int argc, char** argv) {
  if (HasFlag(argc, argv, "--help") || HasFlag(argc, argv, "-h")) {
    std::cout << "Usage: vantor [--register | --unregister | --automation | --help | --version]\n"
                 "HF propagation predictions in a window. A second start shows the running window.\n"
                 "  --register     install the activation file for automation clients, and end\n"
                 "  --unregister   remove it, and end\n"
                 "  --automation   start for an automation client, the window hidden\n"
                 "Without a display, use vantor-cli (vantor-cli --help).\n";
    return 0;
  }
  if (HasFlag(argc, argv, "--version")) {
    std::cout << "vantor " << vx::kVantorVersion << "\n";
    return 0;
  }
  return -1;
}

// Qt ends the process with a long text when no platform can start; a user
// without a display is told in one line what to use instead.
bool HasDisplay() {
  for (const char* v : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(v);
    if (value && *value) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vx;
  IgnoreBrokenPipes();
  if (const int rc = Information(argc, argv); rc >= 0) return rc;
  if (const int rc = Registration(argc, argv); rc >= 0) return rc;
  if (!HasDisplay()) {
    std::cerr << "vantor: no display found (DISPLAY and WAYLAND_DISPLAY are not set); "
                 "for predictions without a window use vantor-cli\n";
    return 1;
  }
  const bool byBus = HasFlag(argc, argv, "--automation");
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

  // Every start keeps the activation file pointing at this program; a
  // folder that cannot be written leaves it as it was.
  std::string ignored;
  RegisterActivation(ProgramFile(), ignored);
  CreateProgramFolders(TProgram::pgVantor);

  TQtShell shell;
  TAutomationHost automation(QDBusConnection::sessionBus());
  TMainFormServices services;
  services.Shell = &shell;
  services.Monitor = &automation.Monitor;
  services.MapProgram = &automation.MapProgram;
  TSessionSetup setup = LoadSessionSetup();
  // A first start asks where the station is; a start by the bus has nobody to ask.
  services.AskForHome = !byBus && !HasStoredHome(TIniFile::Load(setup.SettingsFile));
  TMainForm form(std::move(setup), std::move(services));
  automation.MapProgram.SetHost(&form.Model());
  TAntennaDialog antennaDialog(&form);
  QObject::connect(&form, &TMainForm::PatternRequested, &antennaDialog, [&](const QString& file, int band) {
    antennaDialog.ShowAntenna(QFile::encodeName(file).toStdString(), band);
  });
  if (!form.FormCreate()) return 1;  // the user has been told what is missing

  // Automation clients drive the window; without a bus a user's window
  // still works, a start by the bus has nothing to do.
  QString busError;
  if (!ServeWindow(automation, form, byBus ? TStartKind::skBus : TStartKind::skUser, busError)) {
    std::cerr << "vantor: " << busError.toStdString() << "\n";
    if (byBus) return 1;
  }

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

  if (!byBus) form.show();
  const int rc = QApplication::exec();
  tray.SetActive(false);
  automation.Stop();
  form.FormDestroy();
  return rc;
}
