#include <QCoreApplication>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/CliEngine.h"
#include "common/Paths.h"
#include "common/UserFile.h"

static const char* kUsage =
    "usage: vantor-cli COMMAND [options]\n"
    "commands:\n"
    "  predict   point-to-point prediction (24 hours, 2..30 MHz) as JSON\n"
    "  area      area prediction for one band and hour as JSON\n"
    "  precompute  fill the map cache for many hours and bands, on every core\n"
    "  chart     point-to-point prediction drawn as a chart image\n"
    "  lookup    resolve call signs through the prefix list\n"
    "  serve     offer the automation interface on the session bus, without a window\n"
    "  --version [--engine auto|builtin|voacapl]  the version and the engine that answers\n"
    "See the manual page vantor-cli(1) for the options of each command.\n";

int main(int argc, char** argv) {
  vx::IgnoreBrokenPipes();
  QCoreApplication app(argc, argv);
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::cout << kUsage;
    return args.empty() ? 2 : 0;
  }
  std::string cmd = args[0];
  args.erase(args.begin());
  if (cmd == "--version") return vx::cli::PrintVersion(args);
  int (*command)(const std::vector<std::string>&) = cmd == "predict"      ? vx::cli::CliPredict
                                                    : cmd == "area"       ? vx::cli::CliArea
                                                    : cmd == "chart"      ? vx::cli::CliChart
                                                    : cmd == "lookup"     ? vx::cli::CliLookup
                                                    : cmd == "serve"      ? vx::cli::CliServe
                                                    : cmd == "precompute" ? vx::cli::CliPrecompute
                                                                          : nullptr;
  if (command) {
    vx::CreateProgramFolders(vx::TProgram::pgVantor);
    return command(args);
  }
  std::cerr << "vantor-cli: unknown command '" << cmd << "'\n" << kUsage;
  return 2;
}
