#include "com/AutoMembers.h"

namespace vx {

// AutomationProperties() and AutomationMethods() are generated from the
// interface's XML (GenerateAutoMembers.cmake).

const TAutoProperty* FindAutoProperty(std::string_view name) {
  for (const TAutoProperty& p : AutomationProperties())
    if (name == p.Name) return &p;
  return nullptr;
}

const TAutoMethod* FindAutoMethod(std::string_view name) {
  for (const TAutoMethod& m : AutomationMethods())
    if (name == m.Name) return &m;
  return nullptr;
}

}  // namespace vx
