#include "com/AutoHost.h"

#include <QCoreApplication>
#include <algorithm>

#include "com/GeomiraBus.h"
#include "com/SunsentryBus.h"

namespace vx {

namespace {

int StartTimeout(int callTimeoutMs) { return std::max(callTimeoutMs, TSunsentryBusLink::kStartTimeoutMs); }

}  // namespace

TAutomationHost::TAutomationHost(QDBusConnection bus, int siblingTimeoutMs)
    : Monitor(std::make_unique<TSunsentryBusLink>(bus, StartTimeout(siblingTimeoutMs), siblingTimeoutMs)),
      MapProgram(std::make_unique<TGeomiraBusLink>(bus, StartTimeout(siblingTimeoutMs), siblingTimeoutMs)),
      Bus_(std::move(bus)) {}

TAutomationHost::~TAutomationHost() { Stop(); }

bool TAutomationHost::Serve(TWindowModel& window, TStartKind kind, int64_t idleMs, QString& error) {
  App_ = std::make_unique<TVantorApp>(window, kVantorVersionNumber);
  Service_ = std::make_unique<TAutomationService>(*App_, kind, Bus_, idleMs);
  QObject::connect(Service_.get(), &TAutomationService::EndRequested, QCoreApplication::instance(),
                   &QCoreApplication::quit);
  if (Service_->Start(error)) return true;
  Service_.reset();
  App_.reset();
  return false;
}

void TAutomationHost::Stop() {
  MapProgram.SetActive(false);
  Monitor.SetActive(false);
  if (Service_) Service_->Stop();
}

}  // namespace vx
