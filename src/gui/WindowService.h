// The main window as the front end of the automation service: clients act
// on its controls and its controller, its events reach them, and its close
// rule follows how many are connected.
#pragma once

#include <QString>

#include "com/AutoHost.h"

namespace vx {

class TMainForm;

// False, with the reason, when the bus refuses the service.
bool ServeWindow(TAutomationHost& host, TMainForm& form, TStartKind kind, QString& error);

}  // namespace vx
