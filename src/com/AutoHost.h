// TAutomationHost: what a Vantor front end (the window, vantor-cli serve)
// needs to be driven over the session bus and to reach its sibling
// programs. The clients of the monitor and the map program come first,
// because the front end's controls are built over them; the automation
// service follows once the front end and its controller exist.
#pragma once

#include <QDBusConnection>
#include <QString>
#include <memory>

#include "com/AutoApp.h"
#include "com/AutoService.h"
#include "com/Geomira.h"
#include "com/Sunsentry.h"

namespace vx {

class TAutomationHost {
 public:
  // siblingTimeoutMs bounds every call to a sibling program; a call that may
  // start one through the bus waits at least the usual start time.
  explicit TAutomationHost(QDBusConnection bus, int siblingTimeoutMs = kSiblingTimeoutMs);
  ~TAutomationHost();

  static constexpr int kSiblingTimeoutMs = 3000;

  TSunsentryClient Monitor;
  TGeomiraControl MapProgram;  // its host (the map view) is given later

  // Offers the automation interface over the window model. The program quits when the service asks
  // it to end. False, with the reason, when the bus refuses.
  bool Serve(TWindowModel& window, TStartKind kind, int64_t idleMs, QString& error);
  // Null until Serve succeeded.
  TAutomationService* Service() { return Service_.get(); }
  // Lets the sibling programs go and leaves the bus; call it before the
  // front end goes.
  void Stop();

 private:
  QDBusConnection Bus_;
  std::unique_ptr<TVantorApp> App_;
  std::unique_ptr<TAutomationService> Service_;
};

}  // namespace vx
