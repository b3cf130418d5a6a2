// The options shared by the prediction commands of vantor-cli and the glue
// that runs one engine job to its end.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QObject>

#include "app/PredCtl.h"
#include "app/WindowModel.h"
#include "cli/Cli.h"
#include "cli/Json.h"
#include "engine/VoaEng.h"

namespace vx::cli {

// What a job computes with. An input the command line leaves out is taken
// as the window takes it: home, power and antennas from the settings file
// (the isotropic antenna and 100 W when it has none), the month from the
// UTC clock and its SSN from the shipped table.
struct TJobOptions {
  TVoaInputs Inputs;
  std::array<std::string, kBandCount> TxAntennas = TPredictionInputs::AllBands("ISOTROPE.ant");
  std::array<std::string, kBandCount> RxAntennas = TPredictionInputs::AllBands("ISOTROPE.ant");
  TInputSources From;
  TVoacapSetup Setup;
  bool DeckOnly = false;
  bool NoCache = false;
};

// A position as a locator ("FN31pr"), a call sign (placed by the shipped
// call lists as the window places it) or "LAT,LON" in decimal degrees (north
// and east positive), to 1/180 degree; false with a message naming the
// option, the value and the reason.
bool ParsePoint(const std::string& option, const std::string& text, int32_t& lat, int32_t& lon, std::string& error);

// True when the arguments ask for the command's usage.
bool HelpRequested(const std::vector<std::string>& args);

// Names of the options every prediction command takes.
const std::vector<std::string>& CommonOptionNames();

// What a command computes: one chart, one map, or a batch of maps (whose
// hours and bands the command reads itself; the grid is 16 unless given).
enum class TJobKind { Point, Area, Batch };

// Reads the common options (and, for area jobs, band, hour and grid).
// Returns false with a message for the user on a missing or bad option;
// extraNames are further options the command itself reads.
// --voacap, --itshfbc and --engine over the settings file's choice.
bool ApplyEngineOptions(const TArgs& args, TVoacapSetup& setup, std::string& error);

// --version [--engine ...]: the version and the engine that would answer.
int PrintVersion(const std::vector<std::string>& args);

bool ParseJobOptions(const TArgs& args, TJobKind kind, TJobOptions& out, std::string& error,
                     const std::vector<std::string>& extraNames = {});
inline bool ParseJobOptions(const TArgs& args, bool area, TJobOptions& out, std::string& error,
                            const std::vector<std::string>& extraNames = {}) {
  return ParseJobOptions(args, area ? TJobKind::Area : TJobKind::Point, out, error, extraNames);
}

// The command line's front end: its inputs, and the controller over an
// engine on the located installation.
// The model holds the job's inputs itself: no month is shown, so they are
// read as set.
struct TCliSession {
  std::unique_ptr<TWindowModel> Model;
  TPredictionController& Controller() { return Model->Controller(); }
  const TVoaEngine& Engine() const { return Model->Controller().Engine(); }
};

// A session with the antennas chosen by name; null (and a message) when the
// installation is not usable. An empty cacheFolder turns the cache off.
std::unique_ptr<TCliSession> OpenJobSession(const TJobOptions& options, const std::string& cacheFolder,
                                            std::string& error);

// Runs fn when SIGINT or SIGTERM arrives (from the event loop, never from
// the signal handler), then ends the program with 128 + the signal's number.
void OnStopSignal(QObject& context, std::function<void()> fn);

// Computes the chart or the map (the map from the cache when it holds it)
// and runs the event loop until the controller is done.
void RunToEnd(TCliSession& session, bool area);

// The engine's antenna list as a deck would name it when only file names
// are known (decks written without an installation).
TAlStringList AntennaListOf(const TJobOptions& options, TVoaInputs& inputs);

}  // namespace vx::cli
