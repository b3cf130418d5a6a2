#include "com/GeomiraBus.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QXmlStreamReader>

#include "com/BusCall.h"
#include "com/BusNames.h"
#include "com/BusText.h"

namespace vx {

namespace {

constexpr char kProperties[] = "org.freedesktop.DBus.Properties";

}  // namespace

bool IntrospectionHasMethod(const QString& xml, const QString& interfaceName, const QString& method,
                            const QString& inSignature) {
  QXmlStreamReader r(xml);
  // Only the object's own interfaces count, not those of its children.
  int depth = 0;
  bool inInterface = false, inMethod = false, found = false;
  QString signature;
  while (!r.atEnd()) {
    switch (r.readNext()) {
      case QXmlStreamReader::StartElement: {
        ++depth;
        const auto name = r.name();
        const auto attrs = r.attributes();
        if (depth == 2 && name == QLatin1String("interface"))
          inInterface = attrs.value("name") == interfaceName;
        else if (inInterface && depth == 3 && name == QLatin1String("method") && attrs.value("name") == method)
          inMethod = true, signature.clear();
        else if (inMethod && depth == 4 && name == QLatin1String("arg") &&
                 (attrs.value("direction").isEmpty() || attrs.value("direction") == QLatin1String("in")))
          signature += attrs.value("type").toString();
        break;
      }
      case QXmlStreamReader::EndElement:
        if (inMethod && depth == 3) {
          found = found || signature == inSignature;
          inMethod = false;
        }
        if (depth == 2) inInterface = false;
        --depth;
        break;
      default: break;
    }
  }
  return !r.hasError() && found;
}

TGeomiraBusLink::TGeomiraBusLink(QDBusConnection bus, int startTimeoutMs, int callTimeoutMs)
    : Bus_(std::move(bus)),
      StartTimeoutMs_(startTimeoutMs),
      CallTimeoutMs_(callTimeoutMs),
      Watcher_(new QDBusServiceWatcher(kGeomiraBusName, Bus_, QDBusServiceWatcher::WatchForUnregistration, this)) {
  qDBusRegisterMetaType<QList<QList<double>>>();
  connect(Watcher_, &QDBusServiceWatcher::serviceUnregistered, this, &TGeomiraBusLink::OnOwnerGone);
}

TGeomiraBusLink::~TGeomiraBusLink() { Watch(nullptr); }

QDBusMessage TGeomiraBusLink::Call(const char* path, const char* iface, const char* member, const QVariantList& args) {
  QDBusMessage call = QDBusMessage::createMethodCall(kGeomiraBusName, path, iface, member);
  call.setArguments(args);
  // Only the version test may start the program.
  call.setAutoStartService(false);
  return CallWithin(Bus_, call, CallTimeoutMs_);
}

TCallResult TGeomiraBusLink::SetProperty(const char* path, const char* iface, const char* name, const QVariant& value) {
  return ResultOf(
      Call(path, kProperties, "Set", {QString(iface), QString(name), QVariant::fromValue(QDBusVariant(value))}));
}

TReply<bool> TGeomiraBusLink::HasPlotField() {
  QDBusMessage call = QDBusMessage::createMethodCall(kGeomiraBusName, kGeomiraMapPath,
                                                     "org.freedesktop.DBus.Introspectable", "Introspect");
  call.setAutoStartService(true);
  const QDBusMessage reply = CallWithin(Bus_, call, StartTimeoutMs_);
  const TCallResult r = ResultOf(reply);
  if (!r.Ok()) return TReply<bool>::From(r);
  if (reply.arguments().isEmpty() || reply.arguments().first().metaType().id() != QMetaType::QString)
    return TReply<bool>::Of(false);
  return TReply<bool>::Of(
      IntrospectionHasMethod(reply.arguments().first().toString(), kGeomiraMapInterface, "PlotField", "aad"));
}

TReply<bool> TGeomiraBusLink::Visible() {
  const QDBusMessage reply =
      Call(kGeomiraObjectPath, kProperties, "Get", {QString(kGeomiraInterface), QString("Visible")});
  const TCallResult r = ResultOf(reply);
  if (!r.Ok()) return TReply<bool>::From(r);
  const auto v = PropertyValueOf(reply);
  if (!v || v->metaType().id() != QMetaType::Bool)
    return TReply<bool>::From(TCallResult{TCallOutcome::coFailed, "Visible is not a boolean"});
  return TReply<bool>::Of(v->toBool());
}

TCallResult TGeomiraBusLink::SetVisible(bool on) {
  return SetProperty(kGeomiraObjectPath, kGeomiraInterface, "Visible", QVariant(on));
}

TCallResult TGeomiraBusLink::SetWindowState(int32_t state) {
  return SetProperty(kGeomiraObjectPath, kGeomiraInterface, "WindowState", QVariant(state));
}

TCallResult TGeomiraBusLink::SetExternalControl(int32_t value) {
  return SetProperty(kGeomiraObjectPath, kGeomiraInterface, "ExternalControl", QVariant(value));
}

TCallResult TGeomiraBusLink::BeginUpdate() {
  return ResultOf(Call(kGeomiraMapPath, kGeomiraMapInterface, "BeginUpdate", {}));
}

TCallResult TGeomiraBusLink::EndUpdate() {
  return ResultOf(Call(kGeomiraMapPath, kGeomiraMapInterface, "EndUpdate", {}));
}

TCallResult TGeomiraBusLink::PlotField(const TFieldColumns& field) {
  QList<QList<double>> columns;
  columns.reserve(qsizetype(field.size()));
  for (const auto& c : field) columns.append(QList<double>(c.begin(), c.end()));
  return ResultOf(Call(kGeomiraMapPath, kGeomiraMapInterface, "PlotField", {QVariant::fromValue(columns)}));
}

TCallResult TGeomiraBusLink::SetFieldOpacity(int32_t percent) {
  return SetProperty(kGeomiraMapPath, kGeomiraMapInterface, "FieldOpacity", QVariant(percent));
}

TCallResult TGeomiraBusLink::SetHintText(const std::string& text) {
  return ResultOf(Call(kGeomiraMapPath, kGeomiraMapInterface, "SetHintText", {BusString(text)}));
}

void TGeomiraBusLink::Watch(IGeomiraEvents* events) {
  if (events == Events_) return;
  const QString name = kGeomiraBusName, path = kGeomiraObjectPath, iface = kGeomiraInterface;
  if (Events_) {
    Bus_.disconnect(name, path, iface, "ExitRequest", this, SLOT(OnExitRequest()));
    Bus_.disconnect(name, path, iface, "MouseMoved", this, SLOT(OnMouseMoved(double, double)));
  }
  Events_ = events;
  if (Events_) {
    Bus_.connect(name, path, iface, "ExitRequest", this, SLOT(OnExitRequest()));
    Bus_.connect(name, path, iface, "MouseMoved", this, SLOT(OnMouseMoved(double, double)));
  }
}

void TGeomiraBusLink::OnExitRequest() {
  if (Events_) Events_->ExitRequest();
}

void TGeomiraBusLink::OnMouseMoved(double latitude, double longitude) {
  if (Events_) Events_->MouseMoved(latitude, longitude);
}

void TGeomiraBusLink::OnOwnerGone() {
  if (Events_) Events_->Vanished();
}

}  // namespace vx
