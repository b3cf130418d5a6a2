// Calls to a sibling program that never wait longer than a timeout, and
// what their replies mean.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariant>
#include <optional>

#include "com/SiblingLink.h"

namespace vx {

// Blocks (without running the event loop) until the reply or the timeout.
QDBusMessage CallWithin(const QDBusConnection& bus, const QDBusMessage& call, int timeoutMs);

// An error reply that means the program is not there or does not answer
// (no reply in time, no owner and no activation file, a failed start, a lost
// connection) is coUnavailable; any other error is coFailed.
TCallResult ResultOf(const QDBusMessage& reply);

// The first argument of a Properties.Get reply.
std::optional<QVariant> PropertyValueOf(const QDBusMessage& reply);

// A bus number of any integer type, or (double only) a double.
std::optional<qint64> BusInteger(const QVariant& v);
std::optional<double> BusDouble(const QVariant& v);

}  // namespace vx
