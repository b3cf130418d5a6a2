// A session: what every Vantor front end (the window, vantor-cli serve, the
// command line's jobs) opens before it predicts anything. OpenSession makes
// the engine over the located installation, the call parser over the
// shipped lists, the sunspot table, the antennas and the cache folder in one
// place, so the front ends cannot drift apart.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/MapProgram.h"
#include "app/Settings.h"
#include "app/SpaceWeather.h"
#include "common/Clock.h"
#include "engine/Locator.h"
#include "engine/ProcessRunner.h"
#include "engine/WorkerPool.h"

namespace vx {

class TCallParser;
class TSolarIndices;
class TVoaEngine;
class TWindowModel;

// Where a session finds its files, and the settings it starts with.
struct TSessionSetup {
  std::string DataFolder;  // shipped data: Prefix.lst, Call.lst, SSN.dat, AntBkup/
  // The shared reference folder; its "SSN.dat", which Kestrix keeps up to
  // date with the sunspot forecast, is read in place of the shipped one
  // when it holds a table. Empty: only the shipped table.
  std::string ReferenceFolder;
  // Kestrix, which "Download SSN" runs to bring that table up to date.
  // Empty: the button opens the forecast's page instead.
  std::string KestrixProgram;
  std::string CacheFolder;   // the area cache with its trailing separator; empty: no cache
  std::string SettingsFile;  // where the window writes its settings
  TVoacapSetup Voacap;       // the [VOACAP] places and the engine choice
  TVantorSettings Settings;  // the inputs a window opens with
};

// The usual places: the shipped data, the cache and the settings file;
// reads the settings file.
TSessionSetup LoadSessionSetup();

// What a session talks to besides its files. Null members get stand-ins:
// no monitor, no map program, the system clock; a null runner runs the
// built-in engine on the caller's thread; without worker runners there is
// no pre-computation.
struct TSessionServices {
  ISpaceWeatherMonitor* Monitor = nullptr;
  IMapProgram* MapProgram = nullptr;
  const IClock* Clock = nullptr;
  std::unique_ptr<IProcessRunner> Runner;
  TRunnerFactory WorkerRunners;
  // Runs Kestrix for "Download SSN"; null: the button opens the page.
  std::unique_ptr<IProcessRunner> SiblingRunner;
};

// How opening went.
struct TSessionStart {
  bool Ready = false;                 // the engine answers and the antennas are in
  std::vector<std::string> Warnings;  // said once (refused lines of the sunspot table)
};

// Makes the model with its engine and controller; nothing is read yet.
std::unique_ptr<TWindowModel> MakeSession(TSessionSetup setup, TSessionServices services);

// What opening a session fills in.
struct TSessionParts {
  TVoaEngine& Engine;
  TCallParser& Parser;
  TSolarIndices& Solar;
  int MapHour = 0;  // the hour the monitor is asked about for the month shown
};

// The call lists every front end looks calls up in: the reference folder's,
// replaced by those shipped in dataFolder when they load.
void LoadCallLists(TCallParser& parser, const std::string& dataFolder);
// Reads the sunspot table into solar: the reference folder's "SSN.dat" when
// it holds a month, else the shipped one. Returns what to tell the user
// about lines of it that were left out. No month is shown afterwards.
std::vector<std::string> LoadSunspotTable(const TSessionSetup& setup, TSolarIndices& solar);

// Checks the engine, makes the cache folder, loads the call lists and the
// sunspot table (the reference folder's, else the shipped one), shows the current month and brings in the shipped
// antennas. Ready is false when the engine cannot answer.
TSessionStart OpenSession(const TSessionSetup& setup, TSessionParts parts);

// Opens the model's session: checks the engine, makes the cache folder, loads the call lists
// and the sunspot table, shows the current month and brings in the shipped
// antennas; every input then holds its opening value (the isotropic antenna
// on every band). Ready is false when the engine cannot answer.
TSessionStart OpenSession(TWindowModel& model);

}  // namespace vx
