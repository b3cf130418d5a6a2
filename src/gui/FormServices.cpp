#include "gui/FormServices.h"

#include "engine/Process.h"
#include "gui/Shell.h"

namespace vx {

IShell& ShellOf(const TMainFormServices& s) {
  static TQtShell desktop;
  return s.Shell ? *s.Shell : desktop;
}

TSessionServices TakeSessionServices(TMainFormServices& s) {
  TSessionServices services;
  services.Monitor = s.Monitor;
  services.MapProgram = s.MapProgram;
  services.Clock = s.Clock;
  services.Runner = s.Runner ? std::move(s.Runner) : std::make_unique<TProcess>();
  services.WorkerRunners = MakeProcessRunner;
  services.SiblingRunner = s.SiblingRunner ? std::move(s.SiblingRunner) : std::make_unique<TProcess>();
  return services;
}

}  // namespace vx
