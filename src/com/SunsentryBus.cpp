#include "com/SunsentryBus.h"

#include <QDBusServiceWatcher>

#include "com/BusCall.h"
#include "com/BusNames.h"

namespace vx {

TSunsentryBusLink::TSunsentryBusLink(QDBusConnection bus, int startTimeoutMs, int callTimeoutMs)
    : Bus_(std::move(bus)),
      StartTimeoutMs_(startTimeoutMs),
      CallTimeoutMs_(callTimeoutMs),
      Watcher_(new QDBusServiceWatcher(kSunsentryBusName, Bus_, QDBusServiceWatcher::WatchForUnregistration, this)) {
  connect(Watcher_, &QDBusServiceWatcher::serviceUnregistered, this, &TSunsentryBusLink::OnOwnerGone);
}

TSunsentryBusLink::~TSunsentryBusLink() { Watch(nullptr); }

TReply<int32_t> TSunsentryBusLink::Version() {
  QDBusMessage call =
      QDBusMessage::createMethodCall(kSunsentryBusName, kSunsentryObjectPath, "org.freedesktop.DBus.Properties", "Get");
  call << QString(kSunsentryInterface) << QString("Version");
  call.setAutoStartService(true);
  const QDBusMessage reply = CallWithin(Bus_, call, StartTimeoutMs_);
  const TCallResult r = ResultOf(reply);
  if (!r.Ok()) return TReply<int32_t>::From(r);
  const auto value = PropertyValueOf(reply);
  const auto n = value ? BusInteger(*value) : std::nullopt;
  if (!n) return TReply<int32_t>::From(TCallResult{TCallOutcome::coFailed, "Version is not a number"});
  return TReply<int32_t>::Of(int32_t(std::clamp<qint64>(*n, INT32_MIN, INT32_MAX)));
}

TReply<double> TSunsentryBusLink::GetValue(int32_t parameter, double moment) {
  QDBusMessage call =
      QDBusMessage::createMethodCall(kSunsentryBusName, kSunsentryObjectPath, kSunsentryInterface, "GetValue");
  call << parameter << moment;
  // A monitor that went away is not started again behind the user's back.
  call.setAutoStartService(false);
  const QDBusMessage reply = CallWithin(Bus_, call, CallTimeoutMs_);
  const TCallResult r = ResultOf(reply);
  if (!r.Ok()) return TReply<double>::From(r);
  const auto value = reply.arguments().isEmpty() ? std::nullopt : BusDouble(reply.arguments().first());
  if (!value) return TReply<double>::From(TCallResult{TCallOutcome::coFailed, "GetValue gave no number"});
  return TReply<double>::Of(*value);
}

void TSunsentryBusLink::Watch(ISunsentryEvents* events) {
  if (events == Events_) return;
  const QString name = kSunsentryBusName, path = kSunsentryObjectPath, iface = kSunsentryInterface;
  if (Events_) {
    Bus_.disconnect(name, path, iface, "ExitRequest", this, SLOT(OnExitRequest()));
    Bus_.disconnect(name, path, iface, "DataArrived", this, SLOT(OnDataArrived()));
  }
  Events_ = events;
  if (Events_) {
    Bus_.connect(name, path, iface, "ExitRequest", this, SLOT(OnExitRequest()));
    Bus_.connect(name, path, iface, "DataArrived", this, SLOT(OnDataArrived()));
  }
}

void TSunsentryBusLink::OnExitRequest() {
  if (Events_) Events_->ExitRequest();
}

void TSunsentryBusLink::OnDataArrived() {
  if (Events_) Events_->DataArrived();
}

void TSunsentryBusLink::OnOwnerGone() {
  if (Events_) Events_->Vanished();
}

}  // namespace vx
