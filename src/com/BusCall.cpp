#include "com/BusCall.h"

#include <QDBusError>
#include <QDBusVariant>

namespace vx {

QDBusMessage CallWithin(const QDBusConnection& bus, const QDBusMessage& call, int timeoutMs) {
  return bus.call(call, QDBus::Block, timeoutMs);
}

TCallResult ResultOf(const QDBusMessage& reply) {
  if (reply.type() == QDBusMessage::ReplyMessage) return TCallResult::Success();
  if (reply.type() != QDBusMessage::ErrorMessage) return TCallResult{TCallOutcome::coUnavailable, "no reply"};
  const QString name = reply.errorName();
  static const char* const kGone[] = {
      "org.freedesktop.DBus.Error.NoReply",        "org.freedesktop.DBus.Error.Timeout",
      "org.freedesktop.DBus.Error.TimedOut",       "org.freedesktop.DBus.Error.ServiceUnknown",
      "org.freedesktop.DBus.Error.NameHasNoOwner", "org.freedesktop.DBus.Error.Disconnected",
      "org.freedesktop.DBus.Error.NoServer",       "org.freedesktop.DBus.Error.NoNetwork",
  };
  bool gone = name.startsWith("org.freedesktop.DBus.Error.Spawn.");
  for (const char* g : kGone) gone = gone || name == QLatin1String(g);
  const std::string text = (reply.errorMessage().isEmpty() ? name : reply.errorMessage()).toStdString();
  return TCallResult{gone ? TCallOutcome::coUnavailable : TCallOutcome::coFailed, text};
}

std::optional<QVariant> PropertyValueOf(const QDBusMessage& reply) {
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return std::nullopt;
  const QVariant v = reply.arguments().first();
  if (v.canConvert<QDBusVariant>() && v.metaType() == QMetaType::fromType<QDBusVariant>())
    return v.value<QDBusVariant>().variant();
  return v;
}

std::optional<qint64> BusInteger(const QVariant& v) {
  switch (v.metaType().id()) {
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong: return v.toLongLong();
    case QMetaType::ULongLong: {
      const qulonglong u = v.toULongLong();
      return u > qulonglong(INT64_MAX) ? INT64_MAX : qint64(u);
    }
    default: return std::nullopt;
  }
}

std::optional<double> BusDouble(const QVariant& v) {
  if (v.metaType().id() == QMetaType::Double) return v.toDouble();
  if (auto i = BusInteger(v)) return double(*i);
  return std::nullopt;
}

}  // namespace vx
