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

#include "app/Session.h"
#include "app/Settings.h"
#include "app/WindowModel.h"
#include "cli/Cli.h"
#include "cli/CliEngine.h"
#include "com/AutoHost.h"
#include "common/Ini.h"
#include "common/Paths.h"
#include "common/TextUtil.h"
#include "engine/Process.h"

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
  auto unknown =
      args.Unknown({"automation", "no-cache", "idle-exit", "sibling-timeout", "voacap", "itshfbc", "engine"});
  if (!unknown.empty() || !args.Positional().empty())
    return Usage("unknown argument " + (unknown.empty() ? args.Positional()[0] : unknown[0]));
  const auto idleSeconds = Number(args, "idle-exit", 0, 86400, TAutomationClients::kBusIdleMs / 1000);
  const auto siblingMs = Number(args, "sibling-timeout", 1, 600000, TAutomationHost::kSiblingTimeoutMs);
  if (!idleSeconds) return Usage("--idle-exit takes whole seconds (0..86400)");
  if (!siblingMs) return Usage("--sibling-timeout takes milliseconds (1..600000)");
  const bool byBus = args.Flag("automation");

  TSessionSetup setup = LoadSessionSetup();
  if (args.Flag("no-cache")) setup.CacheFolder.clear();
  std::string error;
  if (!ApplyEngineOptions(args, setup.Voacap, error)) return Usage(error);

  // The window as it opens: the current month of the sunspot table, the
  // isotropic antenna on every band.
  TAutomationHost host(QDBusConnection::sessionBus(), int(*siblingMs));
  TSessionServices services;
  services.Monitor = &host.Monitor;
  services.MapProgram = &host.MapProgram;
  services.Runner = std::make_unique<TProcess>();
  std::unique_ptr<TWindowModel> model = MakeSession(std::move(setup), std::move(services));
  const TSessionStart start = OpenSession(*model);
  for (const std::string& warning : start.Warnings) std::cerr << "vantor-cli serve: " << warning << "\n";
  if (!start.Ready) {
    std::cerr << "vantor-cli serve: " << model->Engine().StatusText() << "\n";
    return 1;
  }
  TWindowModel& window = *model;
  window.SetWindowVisible(!byBus);
  window.SetPost(
      [](std::function<void()> work) { QTimer::singleShot(0, QCoreApplication::instance(), std::move(work)); });
  host.MapProgram.SetHost(&window);

  QString refused;
  if (!host.Serve(window, byBus ? TStartKind::skBus : TStartKind::skUser, *idleSeconds * 1000, refused)) {
    std::cerr << "vantor-cli serve: " << refused.toStdString() << "\n";
    return 1;
  }
  window.OnClientEvent = [&host](TClientEvent code) { host.Service()->FireClientEvent(code); };
  const int rc = QCoreApplication::exec();
  host.Stop();
  return rc;
}

}  // namespace vx::cli
