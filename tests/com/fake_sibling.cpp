// Stand-ins for the sibling programs, run as programs of their own on a
// test's private bus: "fake-sibling geomira" is the world-map program and
// "fake-sibling sunsentry" the space-weather monitor. Each serves the
// committed description of its interfaces and records what it is asked;
// tests read the record and make it send its signals through the extra
// interface net.vexmoor.Test on the application object.
//
// Options: geomira [--no-plotfield] [--plotfield-signature SIG] [--visible]
//          sunsentry [--version N] [--ssn X] [--kp X] [--hang-values]
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

constexpr char kTest[] = "net.vexmoor.Test";
constexpr char kProps[] = "org.freedesktop.DBus.Properties";

QString ReadXml(const char* name) {
  QFile f(QString(VX_SOURCE_DIR "/data/dbus/") + name);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QString xml = QString::fromUtf8(f.readAll());
  const qsizetype from = xml.indexOf("<interface "), to = xml.lastIndexOf("</interface>");
  return from < 0 || to < 0 ? QString() : xml.mid(from, to - from + 12) + "\n";
}

QVariant Unwrap(QVariant v) {
  while (v.metaType() == QMetaType::fromType<QDBusVariant>()) v = v.value<QDBusVariant>().variant();
  return v;
}

// One object: its description, its properties and a handler for the rest.
class TObject : public QDBusVirtualObject {
 public:
  QString Xml;
  QString Interface;
  QVariantMap Props;
  QStringList* Log = nullptr;
  // Methods of Interface and of net.vexmoor.Test; true when handled (a
  // reply has been sent or is deliberately withheld).
  std::function<bool(const QDBusMessage&)> Methods;

  QString introspect(const QString&) const override { return Xml; }
  bool handleMessage(const QDBusMessage& m, const QDBusConnection& bus) override {
    if (m.interface() == kProps) {
      const QVariantList a = m.arguments();
      const QString name = a.size() > 1 ? a[1].toString() : QString();
      if (m.member() == "Get" && Props.contains(name)) {
        bus.send(m.createReply(QVariant::fromValue(QDBusVariant(Props[name]))));
      } else if (m.member() == "Set" && a.size() == 3 && Props.contains(name)) {
        const QVariant v = Unwrap(a[2]);
        Props[name] = v;
        if (Log) *Log << "Set " + name + " " + v.toString();
        bus.send(m.createReply());
      } else if (m.member() == "GetAll") {
        bus.send(m.createReply(QVariant::fromValue(Props)));
      } else {
        bus.send(m.createErrorReply("org.freedesktop.DBus.Error.UnknownProperty", name));
      }
      return true;
    }
    if ((m.interface() == Interface || m.interface() == kTest) && Methods && Methods(m)) return true;
    if (m.interface() == Interface || m.interface() == kTest) {
      bus.send(m.createErrorReply("org.freedesktop.DBus.Error.UnknownMethod", m.member()));
      return true;
    }
    return false;
  }
};

QString Option(const QStringList& args, const QString& name, const QString& fallback) {
  const qsizetype i = args.indexOf(name);
  return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
}

void Emit(const QDBusConnection& bus, const char* path, const char* iface, const char* name,
          const QVariantList& args = {}) {
  QDBusMessage s = QDBusMessage::createSignal(path, iface, name);
  s.setArguments(args);
  bus.send(s);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  qDBusRegisterMetaType<QList<QList<double>>>();
  const QStringList args = app.arguments().mid(1);
  const QString mode = args.value(0);
  QDBusConnection bus = QDBusConnection::sessionBus();
  QStringList log;
  TObject appObject, mapObject;
  appObject.Log = mapObject.Log = &log;
  QList<QList<double>> lastField;
  QString lastHint;
  QString busName;
  double ssn = Option(args, "--ssn", "80").toDouble();
  double kp = Option(args, "--kp", "4").toDouble();
  double kpUntil = 1e9;  // Kp known for moments up to this day count
  const bool hang = args.contains("--hang-values");

  if (mode == "geomira") {
    busName = "net.vexmoor.Geomira";
    appObject.Interface = "net.vexmoor.Geomira.App";
    appObject.Xml = ReadXml("net.vexmoor.Geomira.App.xml");
    appObject.Props = {{"Visible", args.contains("--visible")}, {"WindowState", 1}, {"ExternalControl", 1}};
    mapObject.Interface = "net.vexmoor.Geomira.DxMap";
    mapObject.Xml = ReadXml("net.vexmoor.Geomira.DxMap.xml");
    if (args.contains("--no-plotfield"))
      mapObject.Xml.remove(QRegularExpression("<method name=\"PlotField\">.*?</method>",
                                              QRegularExpression::DotMatchesEverythingOption));
    mapObject.Xml.replace("type=\"aad\"", "type=\"" + Option(args, "--plotfield-signature", "aad") + "\"");
    mapObject.Props = {{"FieldOpacity", 100}};
    mapObject.Methods = [&](const QDBusMessage& m) {
      const QString name = m.member();
      if (name == "PlotField" && m.arguments().size() == 1) {
        const QDBusArgument a = m.arguments()[0].value<QDBusArgument>();
        lastField.clear();
        a >> lastField;
      } else if (name == "SetHintText" && m.arguments().size() == 1) {
        lastHint = m.arguments()[0].toString();
      } else if (name != "BeginUpdate" && name != "EndUpdate") {
        return false;
      }
      log << name;
      bus.send(m.createReply());
      return true;
    };
    appObject.Methods = [&](const QDBusMessage& m) {
      const QString name = m.member();
      const QVariantList a = m.arguments();
      if (name == "Log") {
        bus.send(m.createReply(log));
      } else if (name == "LastField") {
        bus.send(m.createReply(QVariant::fromValue(lastField)));
      } else if (name == "LastHint") {
        bus.send(m.createReply(lastHint));
      } else if (name == "EmitMouseMoved" && a.size() == 2) {
        bus.send(m.createReply());
        Emit(bus, "/net/vexmoor/Geomira", "net.vexmoor.Geomira.App", "MouseMoved", {a[0], a[1]});
      } else if (name == "EmitExitRequest") {
        bus.send(m.createReply());
        Emit(bus, "/net/vexmoor/Geomira", "net.vexmoor.Geomira.App", "ExitRequest");
      } else {
        return false;
      }
      return true;
    };
    bus.registerVirtualObject("/net/vexmoor/Geomira", &appObject, QDBusConnection::SingleNode);
    bus.registerVirtualObject("/net/vexmoor/Geomira/Map", &mapObject, QDBusConnection::SingleNode);
  } else if (mode == "sunsentry") {
    busName = "net.vexmoor.Sunsentry";
    appObject.Interface = "net.vexmoor.Sunsentry.App";
    appObject.Xml = ReadXml("net.vexmoor.Sunsentry.App.xml");
    appObject.Props = {{"Version", Option(args, "--version", "65537").toInt()}};
    appObject.Methods = [&](const QDBusMessage& m) {
      const QString name = m.member();
      const QVariantList a = m.arguments();
      if (name == "GetValue" && a.size() == 2) {
        const int parameter = a[0].toInt();
        const double moment = a[1].toDouble();
        log << QString("GetValue %1 %2").arg(parameter).arg(moment, 0, 'f', 6);
        if (hang) return true;  // never answers
        double v = -999;
        if (parameter == 200) v = ssn;
        if (parameter == 5 && moment <= kpUntil + 1e-9) v = kp;
        bus.send(m.createReply(v));
      } else if (name == "SetValues" && a.size() == 3) {
        ssn = a[0].toDouble(), kp = a[1].toDouble(), kpUntil = a[2].toDouble();
        bus.send(m.createReply());
      } else if (name == "Log") {
        bus.send(m.createReply(log));
      } else if (name == "EmitDataArrived") {
        bus.send(m.createReply());
        Emit(bus, "/net/vexmoor/Sunsentry", "net.vexmoor.Sunsentry.App", "DataArrived");
      } else if (name == "EmitExitRequest") {
        bus.send(m.createReply());
        Emit(bus, "/net/vexmoor/Sunsentry", "net.vexmoor.Sunsentry.App", "ExitRequest");
      } else {
        return false;
      }
      return true;
    };
    bus.registerVirtualObject("/net/vexmoor/Sunsentry", &appObject, QDBusConnection::SingleNode);
  } else {
    std::fprintf(stderr, "usage: fake-sibling geomira|sunsentry [options]\n");
    return 2;
  }
  if (!bus.registerService(busName)) {
    std::fprintf(stderr, "fake-sibling: cannot own %s\n", qPrintable(busName));
    return 1;
  }
  // A stand-in never outlives its bus (nor a test that forgot it).
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (!bus.isConnected()) app.quit();
  });
  watch.start(500);
  QTimer::singleShot(300000, &app, &QCoreApplication::quit);
  return app.exec();
}
