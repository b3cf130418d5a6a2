// What the main window talks to besides its own controls; tests bring
// stand-ins. Null members get the desktop's own.
#pragma once

#include <memory>

#include "app/Session.h"

namespace vx {

class IShell;

struct TMainFormServices {
  IShell* Shell = nullptr;
  ISpaceWeatherMonitor* Monitor = nullptr;
  IMapProgram* MapProgram = nullptr;
  const IClock* Clock = nullptr;
  std::unique_ptr<IProcessRunner> Runner;         // the engine's; null: the Qt runner
  std::unique_ptr<IProcessRunner> SiblingRunner;  // runs Kestrix; null: the Qt runner
  bool AskForHome = false;                        // no settings name home: ask where the station is on opening
};

// The shell given, or the desktop's.
IShell& ShellOf(const TMainFormServices& s);
// The session's services, the runners taken from s (the Qt runner where
// s has none) and the batch's workers run by the Qt runner.
TSessionServices TakeSessionServices(TMainFormServices& s);

}  // namespace vx
