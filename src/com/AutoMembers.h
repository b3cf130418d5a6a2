// The members of the bus interface net.vexmoor.Vantor.App as data: every
// property with its D-Bus type and access, every method with its argument
// signature. The build writes the tables from the interface's XML
// (GenerateAutoMembers.cmake); the service dispatches through them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "com/AutoTarget.h"

namespace vx {

// A value on the bus: "i", "d", "b" or "s" (text in Windows-1252 here).
using TBusValue = std::variant<int32_t, double, bool, std::string>;

enum class TBusType : char { btInt = 'i', btDouble = 'd', btBool = 'b', btString = 's' };

struct TAutoProperty {
  const char* Name;
  TBusType Type;
  TBusValue (*Get)(const IAutomationTarget&);
  // Null for a read-only property. The value has the property's type.
  void (*Set)(IAutomationTarget&, const TBusValue&);
};

struct TAutoMethod {
  const char* Name;
  std::string_view Arguments;  // the argument signature, "" for none
  // The arguments match Arguments. Null for Release, which is the
  // service's own (it ends a client's connection).
  void (*Call)(IAutomationTarget&, const std::vector<TBusValue>&);
  bool TakesFileName = false;  // its "s" is a file name, not Windows-1252 text
};

// In the interface's order.
const std::vector<TAutoProperty>& AutomationProperties();
const std::vector<TAutoMethod>& AutomationMethods();
const TAutoProperty* FindAutoProperty(std::string_view name);
const TAutoMethod* FindAutoMethod(std::string_view name);

// The signals, indexed by the controller's event code (TClientEvent).
inline constexpr const char* kAutomationSignals[4] = {"ExitRequest", "Error", "MapChange", "ChartChange"};

}  // namespace vx
