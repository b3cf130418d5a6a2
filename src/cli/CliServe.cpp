// vantor-cli serve: the automation service without the window, over a
// headless window and the prediction controller. A program started by the
// bus (--automation, as its activation file says) ends once no client has
// been connected for the idle period and no job runs; otherwise it runs until
// it is stopped, or until its last client leaves after one hid the "window"
// (Visible := false).
#include <QCoreApplication>
#include <QDBusConnection>
#include <QTimer>
#include <iostream>

#include "app/Settings.h"
#include "cli/Cli.h"
#include "cli/CliEngine.h"
#include "com/AutoHost.h"
#include "com/HeadlessWindow.h"
#include "common/Ini.h"
#include "common/Paths.h"
#include "common/TextUtil.h"
#include "engine/Antennas.h"
#include "engine/Process.h"
#include "refdata/CallParser.h"

namespace vx::cli {

namespace {

int Usage(const std::string& error) {
  std::cerr << "vantor-cli serve: " << error << "\n"
            << "usage: vantor-cli serve [--automation] [--idle-exit SECONDS] [--sibling-timeout MS]\n"
               "       [--engine auto|builtin|voacapl] [--voacap PROGRAM] [--itshfbc DIR] [--no-cache]\n";
  return 2;
}

std::optional<int64_t> Number(const TArgs& args, const char* name, int64_t lo, int64_t hi, int64_t fallback) {
  auto v = args.Value(name);
  if (!v) return fallback;
  auto n = ParseInt(Trim(*v));
  if (!n || *n < lo || *n > hi) return std::nullopt;
  return *n;
}

}  // namespace

int CliServe(const std::vector<std::string>& argv) {
  TArgs args(argv, {"automation", "no-cache"});
  if (!args.Error().empty()) return Usage(args.Error());
  auto unknown = args.Unknown({"automation", "no-cache", "idle-exit", "sibling-timeout", "voacap", "itshfbc", "engine"});
  if (!unknown.empty() || !args.Positional().empty())
    return Usage("unknown argument " + (unknown.empty() ? args.Positional()[0] : unknown[0]));
  const auto idleSeconds = Number(args, "idle-exit", 0, 86400, TAutomationClients::kBusIdleMs / 1000);
  const auto siblingMs = Number(args, "sibling-timeout", 1, 600000, TAutomationHost::kSiblingTimeoutMs);
  if (!idleSeconds) return Usage("--idle-exit takes whole seconds (0..86400)");
  if (!siblingMs) return Usage("--sibling-timeout takes milliseconds (1..600000)");
  const bool byBus = args.Flag("automation");

  TIniFile settings = TIniFile::Load(SettingsFile("Vantor"));
  TVoacapSetup setup = ReadVoacapSetup(settings);
  std::string error;
  if (!ApplyEngineOptions(args, setup, error)) return Usage(error);
  auto engine = std::make_unique<TVoaEngine>(std::make_unique<TProcess>(), setup);
  engine->CheckInstallation();
  if (engine->Status() != vsReady) {
    std::cerr << "vantor-cli serve: " << engine->StatusText() << "\n";
    return 1;
  }

  // The window as it opens: the current month of the sunspot table, the
  // first antenna of each list (the isotropic one when the list has it).
  TAutomationHost host(QDBusConnection::sessionBus(), int(*siblingMs));
  THeadlessWindow window(host.Monitor);
  window.Visible = !byBus;
  window.Solar.LoadSsnTable(ShippedDataFolder() + "SSN.dat");
  if (auto refused = RefusedLinesMessage(ShippedDataFolder() + "SSN.dat", window.Solar.Months()); !refused.empty())
    std::cerr << "vantor-cli serve: " << refused << "\n";
  window.Solar.StepMonth(TStepDirection::sdCurrent, window.Inputs.MapHour);
  const std::string iso =
      AntennaFileAt(engine->AntennaFiles(), std::max(0, engine->AntennaFiles().IndexOf(kIsotropeFile)));
  window.Inputs.TxAntenna.fill(iso);
  window.Inputs.RxAntenna.fill(iso);
  TCallParser parser(TCallParserVariant::pvMain);
  parser.SetPrefixFile(ShippedDataFolder() + "Prefix.lst");
  parser.SetCallFile(ShippedDataFolder() + "Call.lst");

  TPredictionController controller(std::move(engine), args.Flag("no-cache") ? std::string() : AreaCacheFolder(),
                                   window);
  controller.SetCallParser(&parser);
  window.SetController(&controller);
  window.SetPost([](std::function<void()> work) {
    QTimer::singleShot(0, QCoreApplication::instance(), std::move(work));
  });
  host.MapProgram.SetHost(&window);
  window.SetMapProgram(&host.MapProgram);

  QString refused;
  if (!host.Serve(controller, window, window, byBus ? TStartKind::skBus : TStartKind::skUser, *idleSeconds * 1000,
                  refused)) {
    std::cerr << "vantor-cli serve: " << refused.toStdString() << "\n";
    return 1;
  }
  window.OnClientEvent = [&host](TClientEvent code) { host.Service()->FireClientEvent(code); };
  const int rc = QCoreApplication::exec();
  host.Stop();
  return rc;
}

}  // namespace vx::cli
