// TAutomationService: Vantor's automation interface on the session bus
// (net.vexmoor.Vantor, object /net/vexmoor/Vantor, interface
// net.vexmoor.Vantor.App). It translates calls and property access into
// IAutomationTarget members, keeps the client bookkeeping, sends the
// automation events and PropertiesChanged to the whole bus, and says when
// the program should end because of its clients. The interface it exposes is
// the description committed in data/dbus, built into the program.
#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QString>
#include <functional>
#include <vector>

#include "com/AutoClients.h"
#include "com/AutoMembers.h"

class QDBusServiceWatcher;
class QTimer;

namespace vx {

class TAutomationService : public QDBusVirtualObject {
  Q_OBJECT
 public:
  // idleMs: how long a program the bus started waits without clients.
  TAutomationService(IAutomationTarget& target, TStartKind kind, QDBusConnection bus,
                     int64_t idleMs = TAutomationClients::kBusIdleMs, QObject* parent = nullptr);
  ~TAutomationService() override;

  // Registers the object, then asks for the bus name. False (with the
  // reason) when there is no bus or another program holds the name.
  bool Start(QString& error);
  void Stop();

  const TAutomationClients& Clients() const { return Clients_; }
  // The committed interface description, whole.
  static QString InterfaceXml();

 public slots:
  // An automation event by its code (ExitRequest, Error, MapChange,
  // ChartChange); other codes do nothing. Call it once the handler that
  // raised the event has returned.
  void FireClientEvent(int code);
  // Sends PropertiesChanged for the properties whose values differ from
  // those last seen. Runs after every call, before every event and once a
  // second, so that changes made in the window reach the bus too.
  void CheckProperties();

 signals:
  void ClientsChanged(int count);
  // The program should end: the last client of a user's start went while
  // the window was hidden, or a bus start stayed idle.
  void EndRequested();

 public:
  QString introspect(const QString& path) const override;
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

 private:
  void HandleMethod(const QDBusMessage& message);
  void HandleProperties(const QDBusMessage& message);
  void Reply(const QDBusMessage& message, const QVariantList& arguments = {});
  void ReplyError(const QDBusMessage& message, const QString& name, const QString& text);
  void Touch(const QString& client);
  void ClientGone(const QString& client);
  void CheckIdle();
  QVariant ToBus(const TBusValue& v) const;

  IAutomationTarget& Target_;
  QDBusConnection Bus_;
  TAutomationClients Clients_;
  QDBusServiceWatcher* Watcher_;
  QTimer* Poll_;
  QTimer* Idle_;
  std::vector<TBusValue> Seen_;
  bool Registered_ = false;
};

}  // namespace vx
