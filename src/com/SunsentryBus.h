// The space-weather monitor over the session bus (net.vexmoor.Sunsentry).
// Every call waits at most its timeout; the first one may start the monitor
// through the bus and gets the longer start timeout.
#pragma once

#include <QDBusConnection>
#include <QObject>

#include "com/Sunsentry.h"

class QDBusServiceWatcher;

namespace vx {

class TSunsentryBusLink final : public QObject, public ISunsentryLink {
  Q_OBJECT
 public:
  static constexpr int kStartTimeoutMs = 5000;
  static constexpr int kCallTimeoutMs = 3000;

  explicit TSunsentryBusLink(QDBusConnection bus, int startTimeoutMs = kStartTimeoutMs,
                             int callTimeoutMs = kCallTimeoutMs);
  ~TSunsentryBusLink() override;

  TReply<int32_t> Version() override;
  TReply<double> GetValue(int32_t parameter, double moment) override;
  void Watch(ISunsentryEvents* events) override;

 private slots:
  void OnExitRequest();
  void OnDataArrived();
  void OnOwnerGone();

 private:
  QDBusConnection Bus_;
  int StartTimeoutMs_;
  int CallTimeoutMs_;
  ISunsentryEvents* Events_ = nullptr;
  QDBusServiceWatcher* Watcher_;
};

}  // namespace vx
