#include "com/AutoService.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QTimer>

#include "com/BusCall.h"
#include "com/BusNames.h"
#include "com/BusText.h"
#include "common/Clock.h"

namespace vx {

// The committed interface description, built in (see CMakeLists.txt).
extern const unsigned char kVantorAppXml[];
extern const size_t kVantorAppXmlSize;

namespace {

constexpr char kPropertiesInterface[] = "org.freedesktop.DBus.Properties";
constexpr char kUnknownMethod[] = "org.freedesktop.DBus.Error.UnknownMethod";
constexpr char kUnknownInterface[] = "org.freedesktop.DBus.Error.UnknownInterface";
constexpr char kUnknownProperty[] = "org.freedesktop.DBus.Error.UnknownProperty";
constexpr char kReadOnly[] = "org.freedesktop.DBus.Error.PropertyReadOnly";
constexpr char kInvalidArgs[] = "org.freedesktop.DBus.Error.InvalidArgs";

// A value from the bus in the type a member takes; numbers of any integer
// type are accepted (a shell's "7" may arrive as any of them) and clamped
// into 32 bits, the member then clamps into its own range.
std::optional<TBusValue> FromBus(const QVariant& raw, char type, bool fileName) {
  QVariant v = raw;
  if (v.metaType() == QMetaType::fromType<QDBusVariant>()) v = v.value<QDBusVariant>().variant();
  switch (type) {
    case 'i':
      if (auto n = BusInteger(v)) return TBusValue(int32_t(std::clamp<qint64>(*n, INT32_MIN, INT32_MAX)));
      return std::nullopt;
    case 'd':
      if (auto d = BusDouble(v)) return TBusValue(*d);
      return std::nullopt;
    case 'b':
      if (v.metaType().id() == QMetaType::Bool) return TBusValue(v.toBool());
      return std::nullopt;
    case 's':
      if (v.metaType().id() == QMetaType::QString)
        return TBusValue(fileName ? CoreFileName(v.toString()) : CoreString(v.toString()));
      return std::nullopt;
    default: return std::nullopt;
  }
}

QString ErrorText(const TAutomationError& e) { return BusString(e.Text()) + BusFileName(e.FileName()); }

}  // namespace

TAutomationService::TAutomationService(IAutomationTarget& target, TStartKind kind, QDBusConnection bus, int64_t idleMs,
                                       QObject* parent)
    : Target_(target),
      Bus_(std::move(bus)),
      Clients_(kind, SystemClock().SteadyMs(), idleMs),
      Watcher_(new QDBusServiceWatcher(this)),
      Poll_(new QTimer(this)),
      Idle_(new QTimer(this)) {
  setParent(parent);
  Watcher_->setConnection(Bus_);
  Watcher_->setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
  connect(Watcher_, &QDBusServiceWatcher::serviceUnregistered, this, &TAutomationService::ClientGone);
  Poll_->setInterval(1000);
  connect(Poll_, &QTimer::timeout, this, &TAutomationService::CheckProperties);
  // Checked often enough to end soon after the idle period, however short.
  Idle_->setInterval(int(std::clamp<int64_t>(idleMs / 4, 50, 1000)));
  connect(Idle_, &QTimer::timeout, this, &TAutomationService::CheckIdle);
}

TAutomationService::~TAutomationService() { Stop(); }

QString TAutomationService::InterfaceXml() {
  return QString::fromUtf8(reinterpret_cast<const char*>(kVantorAppXml), qsizetype(kVantorAppXmlSize));
}

bool TAutomationService::Start(QString& error) {
  if (!Bus_.isConnected()) {
    error = "No session bus: " + Bus_.lastError().message();
    return false;
  }
  if (!Bus_.registerVirtualObject(kVantorObjectPath, this, QDBusConnection::SingleNode)) {
    error = QString("The object %1 is taken").arg(kVantorObjectPath);
    return false;
  }
  Registered_ = true;
  for (const TAutoProperty& p : AutomationProperties()) Seen_.push_back(p.Get(Target_));
  if (!Bus_.registerService(kVantorBusName)) {
    error = QString("The name %1 is taken by another program").arg(kVantorBusName);
    Stop();
    return false;
  }
  Poll_->start();
  if (Clients_.StartKind() == TStartKind::skBus) Idle_->start();
  return true;
}

void TAutomationService::Stop() {
  Poll_->stop();
  Idle_->stop();
  if (!Registered_) return;
  Registered_ = false;
  Bus_.unregisterService(kVantorBusName);
  Bus_.unregisterObject(kVantorObjectPath);
}

QString TAutomationService::introspect(const QString&) const {
  // The interface element of the committed description; the bus library
  // adds the standard interfaces around it.
  const QString xml = InterfaceXml();
  const qsizetype from = xml.indexOf("<interface ");
  const qsizetype to = xml.lastIndexOf("</interface>");
  if (from < 0 || to < 0) return {};
  return xml.mid(from, to - from + qsizetype(sizeof("</interface>") - 1)) + "\n";
}

bool TAutomationService::handleMessage(const QDBusMessage& message, const QDBusConnection&) {
  if (message.type() != QDBusMessage::MethodCallMessage) return false;
  const QString iface = message.interface();
  if (iface == kVantorInterface || (iface.isEmpty() && FindAutoMethod(message.member().toStdString()))) {
    HandleMethod(message);
    return true;
  }
  if (iface == kPropertiesInterface) {
    HandleProperties(message);
    return true;
  }
  return false;  // introspection: the library's own handling
}

void TAutomationService::Reply(const QDBusMessage& message, const QVariantList& arguments) {
  if (message.isReplyRequired()) Bus_.send(message.createReply(arguments));
}

void TAutomationService::ReplyError(const QDBusMessage& message, const QString& name, const QString& text) {
  if (message.isReplyRequired()) Bus_.send(message.createErrorReply(name, text));
}

void TAutomationService::HandleMethod(const QDBusMessage& message) {
  const QString client = message.service();
  Touch(client);
  const TAutoMethod* m = FindAutoMethod(message.member().toStdString());
  if (!m) {
    ReplyError(message, kUnknownMethod, "No method " + message.member() + " in " + kVantorInterface);
    return;
  }
  std::vector<TBusValue> args;
  const QVariantList raw = message.arguments();
  bool fits = raw.size() == qsizetype(m->Arguments.size());
  for (qsizetype i = 0; fits && i < raw.size(); ++i) {
    auto v = FromBus(raw[i], m->Arguments[size_t(i)], m->TakesFileName);
    fits = v.has_value();
    if (fits) args.push_back(*v);
  }
  if (!fits) {
    ReplyError(message, kInvalidArgs,
               QString("%1 takes \"%2\"").arg(m->Name, QString::fromLatin1(m->Arguments.data(), m->Arguments.size())));
    return;
  }
  if (!m->Call) {  // Release
    Reply(message);
    ClientGone(client);
    return;
  }
  try {
    m->Call(Target_, args);
    Reply(message);
  } catch (const TAutomationError& e) {
    ReplyError(message, kVantorErrorName, ErrorText(e));
  } catch (const std::exception& e) {
    ReplyError(message, kVantorErrorName, BusString(e.what()));
  }
  CheckProperties();
}

void TAutomationService::HandleProperties(const QDBusMessage& message) {
  const QString member = message.member();
  const QVariantList raw = message.arguments();
  if (raw.isEmpty() || raw[0].metaType().id() != QMetaType::QString) {
    ReplyError(message, kInvalidArgs, "The first argument names the interface");
    return;
  }
  if (raw[0].toString() != kVantorInterface) {
    ReplyError(message, kUnknownInterface, "No interface " + raw[0].toString() + " here");
    return;
  }
  Touch(message.service());
  if (member == "GetAll" && raw.size() == 1) {
    QVariantMap all;
    for (const TAutoProperty& p : AutomationProperties()) all.insert(p.Name, ToBus(p.Get(Target_)));
    Reply(message, {QVariant::fromValue(all)});
    return;
  }
  const bool get = member == "Get" && raw.size() == 2;
  const bool set = member == "Set" && raw.size() == 3;
  if ((!get && !set) || raw[1].metaType().id() != QMetaType::QString) {
    ReplyError(message, get || set ? kInvalidArgs : kUnknownMethod, "No such call: " + member);
    return;
  }
  const TAutoProperty* p = FindAutoProperty(raw[1].toString().toStdString());
  if (!p) {
    ReplyError(message, kUnknownProperty, "No property " + raw[1].toString() + " in " + kVantorInterface);
    return;
  }
  try {
    if (get) {
      Reply(message, {QVariant::fromValue(QDBusVariant(ToBus(p->Get(Target_))))});
      return;
    }
    if (!p->Set) {
      ReplyError(message, kReadOnly, QString("%1 cannot be written").arg(p->Name));
      return;
    }
    auto v = FromBus(raw[2], char(p->Type), false);
    if (!v) {
      ReplyError(message, kInvalidArgs, QString("%1 takes \"%2\"").arg(p->Name).arg(QChar(char(p->Type))));
      return;
    }
    p->Set(Target_, *v);
    Reply(message);
  } catch (const TAutomationError& e) {
    ReplyError(message, kVantorErrorName, ErrorText(e));
  } catch (const std::exception& e) {
    ReplyError(message, kVantorErrorName, BusString(e.what()));
  }
  CheckProperties();
}

QVariant TAutomationService::ToBus(const TBusValue& v) const {
  switch (v.index()) {
    case 0: return QVariant(std::get<int32_t>(v));
    case 1: return QVariant(std::get<double>(v));
    case 2: return QVariant(std::get<bool>(v));
    default: return QVariant(BusString(std::get<std::string>(v)));
  }
}

// ---- clients ----

void TAutomationService::Touch(const QString& client) {
  if (client.isEmpty() || !Clients_.Touch(client.toStdString())) return;
  // Watch first, then ask whether it is still there: a script's call may end
  // its connection before the watch is in place.
  Watcher_->addWatchedService(client);
  QDBusConnectionInterface* bus = Bus_.interface();
  if (bus) {
    auto* pending = new QDBusPendingCallWatcher(bus->asyncCall("NameHasOwner", client), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this, client](QDBusPendingCallWatcher* w) {
      QDBusPendingReply<bool> r = *w;
      if (r.isValid() && !r.value()) ClientGone(client);
      w->deleteLater();
    });
  }
  emit ClientsChanged(int(Clients_.Count()));
}

void TAutomationService::ClientGone(const QString& client) {
  Watcher_->removeWatchedService(client);
  const bool wasConnected = Clients_.Connected(client.toStdString());
  const bool last = Clients_.Release(client.toStdString(), SystemClock().SteadyMs());
  if (!wasConnected) return;
  emit ClientsChanged(int(Clients_.Count()));
  if (last && Clients_.EndAfterLastRelease(Target_.Visible()))
    QTimer::singleShot(0, this, &TAutomationService::EndRequested);
}

void TAutomationService::CheckIdle() {
  // Started for the bus's clients: without the bus there is nothing to do.
  if (Clients_.IdleExpired(SystemClock().SteadyMs(), Target_.JobRunning(), Target_.Visible()) || !Bus_.isConnected()) {
    Idle_->stop();
    emit EndRequested();
  }
}

// ---- events ----

void TAutomationService::CheckProperties() {
  if (!Registered_) return;
  const auto& props = AutomationProperties();
  QVariantMap changed;
  for (size_t i = 0; i < props.size() && i < Seen_.size(); ++i) {
    TBusValue now = props[i].Get(Target_);
    if (now == Seen_[i]) continue;
    changed.insert(props[i].Name, ToBus(now));
    Seen_[i] = std::move(now);
  }
  if (changed.isEmpty()) return;
  QDBusMessage signal = QDBusMessage::createSignal(kVantorObjectPath, kPropertiesInterface, "PropertiesChanged");
  signal << QString(kVantorInterface) << changed << QStringList();
  Bus_.send(signal);
}

void TAutomationService::FireClientEvent(int code) {
  if (code < 0 || code > 3 || !Registered_) return;
  CheckProperties();  // ChartData and the rest first, then the news
  Bus_.send(QDBusMessage::createSignal(kVantorObjectPath, kVantorInterface, kAutomationSignals[code]));
}

}  // namespace vx
