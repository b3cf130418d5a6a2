// Vantor's automation service and its clients of the sibling programs, each
// in a program of its own on a private session bus: vantor-cli serve over
// the stand-in propagation program, fake-sibling for the map program and
// the monitor, this test as the automation client.
#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QFile>
#include <QProcess>
#include <cmath>
#include <filesystem>

#include "BusTestUtil.h"
#include "com/AutoApp.h"
#include "com/AutoMembers.h"
#include "com/BusNames.h"
#include "com/Geomira.h"
#include "com/GeomiraBus.h"
#include "com/ServiceFile.h"
#include "com/Sunsentry.h"
#include "com/SunsentryBus.h"
#include "common/DayCount.h"
#include "common/FileUtil.h"
#include "common/TextUtil.h"
#include "support/VoacapFolder.h"
#include "views/MapDraw.h"

using namespace vx;
using vxtest::ExpectedChartData;
using vxtest::TSignalCounter;
using vxtest::WaitUntil;

namespace {

using vxtest::Home;
using vxtest::kIface;
using vxtest::kPath;
using vxtest::kProps;
using vxtest::WriteActivation;

struct BusFixture : testing::Test {
  QDBusConnection bus = QDBusConnection::sessionBus();
  std::string data, runLog;
  QProcess serve;

  void SetUp() override {
    qDBusRegisterMetaType<QList<QList<double>>>();  // the map program's field
    ASSERT_TRUE(bus.isConnected()) << "run under private_bus.sh";
    ASSERT_NE(Home().find("vx-bus."), std::string::npos) << "the test needs a home of its own";
    data = vxtest::MakeVoacapFolder(Home() + "/itshfbc/");
    runLog = Home() + "/runs.log";
  }
  void TearDown() override {
    for (const char* name : {kVantorBusName, kGeomiraBusName, kSunsentryBusName}) vxtest::EndOwnerOf(bus, name);
    if (serve.state() != QProcess::NotRunning) {
      serve.terminate();
      serve.waitForFinished(5000);
    }
  }

  std::vector<std::string> ServeCommand(const std::vector<std::string>& extra) const {
    std::vector<std::string> c = {
        "/usr/bin/env", "VOACAP_FAKE_LOG=" + runLog, VX_CLI, "serve", "--voacap", VX_FAKE_VOACAP, "--itshfbc", data};
    c.insert(c.end(), extra.begin(), extra.end());
    return c;
  }
  // Vantor as a user starts it, without a window.
  void StartServe(const std::vector<std::string>& extra = {}) {
    const auto c = ServeCommand(extra);
    QStringList args;
    for (size_t i = 1; i < c.size(); ++i) args << QString::fromStdString(c[i]);
    serve.setProcessChannelMode(QProcess::ForwardedChannels);
    serve.start(QString::fromStdString(c[0]), args);
    ASSERT_TRUE(serve.waitForStarted());
    ASSERT_TRUE(WaitUntil([&] { return vxtest::NameOwned(bus, kVantorBusName); })) << "the service never came";
  }
  // Waits out the service's own idle timer (--idle-exit 1): what is asserted
  // is that the service is still there after it, so time has to pass.
  static void OutlastIdlePeriod() {
    vxtest::WaitUntil([] { return false; }, 2000);
  }
  int Runs() const {
    auto text = ReadWholeFile(runLog);
    return text ? int(std::count(text->begin(), text->end(), '\n')) : 0;
  }

  QDBusMessage Call(const QString& member, const QVariantList& args = {}, QDBusConnection* on = nullptr) {
    QDBusMessage m = QDBusMessage::createMethodCall(kVantorBusName, kPath, kIface, member);
    m.setArguments(args);
    return (on ? *on : bus).call(m, QDBus::Block, 20000);
  }
  QDBusMessage Set(const QString& name, const QVariant& v, QDBusConnection* on = nullptr) {
    QDBusMessage m = QDBusMessage::createMethodCall(kVantorBusName, kPath, kProps, "Set");
    m << kIface << name << QVariant::fromValue(QDBusVariant(v));
    return (on ? *on : bus).call(m, QDBus::Block, 20000);
  }
  QVariant Get(const QString& name, QDBusConnection* on = nullptr) {
    QDBusMessage m = QDBusMessage::createMethodCall(kVantorBusName, kPath, kProps, "Get");
    m << kIface << name;
    const QDBusMessage r = (on ? *on : bus).call(m, QDBus::Block, 20000);
    EXPECT_EQ(r.type(), QDBusMessage::ReplyMessage) << name.toStdString() << " " << r.errorMessage().toStdString();
    return r.arguments().isEmpty() ? QVariant() : r.arguments()[0].value<QDBusVariant>().variant();
  }
};

bool IsReply(const QDBusMessage& m) { return m.type() == QDBusMessage::ReplyMessage; }

}  // namespace

TEST_F(BusFixture, ClientSetsTheCallPredictsAndReadsTheChart) {
  StartServe();
  TSignalCounter chart(bus, kPath, kIface, "ChartChange");
  ASSERT_TRUE(IsReply(Set("DxCall", QString("g3abc"))));
  EXPECT_EQ(Get("DxCall").toString(), "G3ABC");
  EXPECT_GT(Get("DxLat").toDouble(), 49.0);  // the call put England into the DX frame
  ASSERT_TRUE(IsReply(Call("PredictPoint")));
  ASSERT_TRUE(WaitUntil([&] { return chart.Count == 1; }));
  EXPECT_EQ(Get("Page").toInt(), 1);
  EXPECT_EQ(Get("ChartData").toString().toStdString(), ExpectedChartData());
  EXPECT_EQ(Runs(), 1);
}

TEST_F(BusFixture, LocatorsTravelAsTextAndJunkIsAnError) {
  StartServe();
  ASSERT_TRUE(IsReply(Set("HomeLocator", QString("fn31pr"))));
  EXPECT_EQ(Get("HomeLocator").toString(), "FN32ma");  // 42 N 73 W, the frame's whole degrees
  EXPECT_EQ(Get("HomeLat").toDouble(), 42.0);
  const QDBusMessage junk = Set("DxLocator", QString("44,-79"));
  EXPECT_EQ(junk.type(), QDBusMessage::ErrorMessage);
  EXPECT_EQ(junk.errorName(), "net.vexmoor.Vantor.Error");
  EXPECT_TRUE(junk.errorMessage().contains("44,-79")) << junk.errorMessage().toStdString();
}

TEST_F(BusFixture, EverySignalReachesEveryClientAndAnyListener) {
  StartServe();
  QDBusConnection a = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "client-a");
  QDBusConnection b = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "client-b");
  TSignalCounter onA(a, kPath, kIface, "ChartChange"), onB(b, kPath, kIface, "ChartChange");
  TSignalCounter listener(bus, kPath, kIface, "ChartChange");  // never called Vantor
  EXPECT_EQ(Get("Version", &a).toInt(), kVantorVersionNumber);
  EXPECT_EQ(Get("Version", &b).toInt(), kVantorVersionNumber);
  ASSERT_TRUE(IsReply(Call("PredictPoint", {}, &a)));
  ASSERT_TRUE(WaitUntil([&] { return onA.Count && onB.Count && listener.Count; }));
  ASSERT_TRUE(IsReply(Call("PredictPoint", {}, &b)));
  ASSERT_TRUE(WaitUntil([&] { return onA.Count == 2 && onB.Count == 2 && listener.Count == 2; }));
  QDBusConnection::disconnectFromBus("client-a");
  QDBusConnection::disconnectFromBus("client-b");
}

TEST_F(BusFixture, SettersClampAndNeverFailForRange) {
  StartServe();
  std::string zeros;
  for (int band = 0; band < 8; ++band) zeros += "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r";
  EXPECT_EQ(Get("ChartData").toString().toStdString(), zeros);  // before any prediction
  ASSERT_TRUE(IsReply(Set("Page", 7)));
  EXPECT_EQ(Get("Page").toInt(), 4);
  ASSERT_TRUE(IsReply(Set("RealtimeClock", true)));
  ASSERT_TRUE(IsReply(Set("Hour", 30)));
  EXPECT_EQ(Get("Hour").toInt(), 23);
  EXPECT_FALSE(Get("RealtimeClock").toBool());
  const int band = Get("Band").toInt();
  ASSERT_TRUE(IsReply(Set("Band", 9)));
  EXPECT_EQ(Get("Band").toInt(), band);
  ASSERT_TRUE(IsReply(Set("DxLat", 45.6)));
  EXPECT_EQ(Get("DxLat").toDouble(), 46.0);
  ASSERT_TRUE(IsReply(Set("HomeLon", -200.0)));
  EXPECT_EQ(Get("HomeLon").toDouble(), -180.0);
  ASSERT_TRUE(IsReply(Set("Kp", 0)));
  EXPECT_EQ(Get("Kp").toInt(), 1);
  // A shell may send any integer type, and whole numbers for degrees.
  ASSERT_TRUE(IsReply(Set("Ssn", QVariant::fromValue(uint(4000000000u)))));
  EXPECT_EQ(Get("Ssn").toInt(), 400);
  ASSERT_TRUE(IsReply(Set("DxLon", QVariant::fromValue(qint64(-74)))));
  EXPECT_EQ(Get("DxLon").toDouble(), -74.0);
  EXPECT_EQ(Runs(), 0);  // nothing of this computes
}

TEST_F(BusFixture, FailuresAreErrorRepliesWithTheirReason) {
  StartServe();
  QDBusMessage r = Call("SaveChartImage", {QString::fromStdString(Home() + "/no/such/folder/chart.bmp")});
  EXPECT_EQ(r.errorName(), "net.vexmoor.Vantor.Error");
  EXPECT_EQ(r.errorMessage().toStdString(), "Cannot write " + Home() + "/no/such/folder/chart.bmp");
  r = Call("SetYearMonth", {2026, 13});
  EXPECT_EQ(r.errorName(), "net.vexmoor.Vantor.Error");
  ASSERT_TRUE(IsReply(Call("SetYearMonth", {2009, 3})));
  EXPECT_EQ(Get("YearMonth").toString(), "Mar 2009");
  EXPECT_EQ(Set("ChartData", QString("x")).errorName(), "org.freedesktop.DBus.Error.PropertyReadOnly");
  EXPECT_EQ(Set("Page", QString("7")).errorName(), "org.freedesktop.DBus.Error.InvalidArgs");
  EXPECT_EQ(Set("NoSuch", 1).errorName(), "org.freedesktop.DBus.Error.UnknownProperty");
  EXPECT_EQ(Call("SetYearMonth", {2009}).errorName(), "org.freedesktop.DBus.Error.InvalidArgs");
  EXPECT_EQ(Call("NoSuch").errorName(), "org.freedesktop.DBus.Error.UnknownMethod");
  // A file name with letters beyond ASCII is written under that name.
  const QString file = QString::fromStdString(Home()) + QString::fromUtf8("/Karte \xC3\xA4\xE2\x82\xAC.bmp");
  ASSERT_TRUE(IsReply(Call("SaveMapImage", {file})));
  EXPECT_TRUE(QFile::exists(file));
  EXPECT_EQ(QFile(file).size(), 54 + 360 * 180 * 3);
}

TEST_F(BusFixture, ACachedMapFiresMapChangeAfterTheReplyWithoutARun) {
  StartServe();
  TSignalCounter map(bus, kPath, kIface, "MapChange");
  ASSERT_TRUE(IsReply(Call("PredictArea")));
  ASSERT_TRUE(WaitUntil([&] { return map.Count == 1; }));
  EXPECT_EQ(Runs(), 1);
  // The order on the wire, as the bus itself sees it.
  QProcess monitor;
  monitor.start("stdbuf", {"-oL", "dbus-monitor", "--session", "--profile"});  // line by line
  ASSERT_TRUE(monitor.waitForStarted());
  QString wire;
  auto seen = [&](const QString& text) {
    wire += QString::fromUtf8(monitor.readAllStandardOutput());
    return wire.contains(text);
  };
  // It listens once it shows a call it saw.
  ASSERT_TRUE(WaitUntil([&] { return IsReply(Call("BringToFront")) && seen("\tBringToFront"); }));
  // The second request is served from the cache: the event follows the reply.
  ASSERT_TRUE(IsReply(Call("PredictArea")));
  ASSERT_TRUE(WaitUntil([&] { return map.Count == 2 && seen("\tMapChange"); }));
  monitor.terminate();
  monitor.waitForFinished();
  const QString vantor = bus.interface()->serviceOwner(kVantorBusName).value();
  const QStringList lines = wire.mid(wire.lastIndexOf("\tPredictArea")).split('\n');
  QStringList fromVantor;  // the kind of each message Vantor sent after the call
  for (const QString& line : lines) {
    const QStringList f = line.split('\t');
    if (f.size() > 3 && f[3] == vantor && (f[0] == "mr" || line.endsWith("\tMapChange"))) fromVantor << f[0];
  }
  ASSERT_GE(fromVantor.size(), 2) << wire.toStdString();
  EXPECT_EQ(fromVantor.mid(0, 2), (QStringList{"mr", "sig"})) << wire.toStdString();
  EXPECT_EQ(Runs(), 1);
  EXPECT_EQ(Get("Page").toInt(), 2);
}

TEST_F(BusFixture, ChangedPropertiesAreAnnouncedToTheBus) {
  StartServe();
  TSignalCounter changed(bus, kPath, kProps, "PropertiesChanged");
  ASSERT_TRUE(IsReply(Set("Kp", 5)));
  ASSERT_TRUE(WaitUntil([&] { return changed.Count == 1; }));
  ASSERT_EQ(changed.Arguments[0].size(), 3);
  EXPECT_EQ(changed.Arguments[0][0].toString(), kIface);
  const QDBusArgument arg = changed.Arguments[0][1].value<QDBusArgument>();
  QVariantMap values;
  arg >> values;
  EXPECT_EQ(values.keys(), QStringList{"Kp"});
  EXPECT_EQ(values["Kp"].toInt(), 5);
  ASSERT_TRUE(IsReply(Set("Kp", 5)));  // no change, no news
  // The service would have announced it before answering: the bus hands the
  // signal over first, and the event loop delivers it before a later event.
  ASSERT_TRUE(vxtest::DeliverPosted());
  EXPECT_EQ(changed.Count, 1);
  ASSERT_TRUE(IsReply(Set("Kp", 6)));
  ASSERT_TRUE(WaitUntil([&] { return changed.Count == 2; }));
}

TEST_F(BusFixture, TheServiceDescribesItselfWithTheCommittedInterface) {
  StartServe();
  QDBusMessage m =
      QDBusMessage::createMethodCall(kVantorBusName, kPath, "org.freedesktop.DBus.Introspectable", "Introspect");
  const QDBusMessage r = bus.call(m);
  ASSERT_TRUE(IsReply(r));
  QFile f(VX_SOURCE_DIR "/data/dbus/net.vexmoor.Vantor.App.xml");
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString xml = QString::fromUtf8(f.readAll());
  const qsizetype from = xml.indexOf("<interface "), to = xml.lastIndexOf("</interface>") + 12;
  EXPECT_TRUE(r.arguments()[0].toString().contains(xml.mid(from, to - from)));
  // And it holds exactly the members the service dispatches.
  for (const TAutoProperty& p : AutomationProperties())
    EXPECT_TRUE(xml.contains(QString("<property name=\"%1\" type=\"%2\" access=\"%3\"")
                                 .arg(p.Name)
                                 .arg(QChar(char(p.Type)))
                                 .arg(p.Set ? "readwrite" : "read")))
        << p.Name;
  for (const TAutoMethod& mt : AutomationMethods())
    EXPECT_TRUE(
        IntrospectionHasMethod(xml, kIface, mt.Name, QString::fromLatin1(mt.Arguments.data(), mt.Arguments.size())))
        << mt.Name;
  EXPECT_EQ(xml.count("<property "), qsizetype(AutomationProperties().size()));
  EXPECT_EQ(xml.count("<method "), qsizetype(AutomationMethods().size()));
  for (const char* s : kAutomationSignals) EXPECT_TRUE(xml.contains(QString("<signal name=\"%1\"/>").arg(s)));
}

TEST_F(BusFixture, ABusStartedVantorEndsWhenNoClientHasBeenConnectedForItsIdlePeriod) {
  WriteActivation(kVantorBusName, ServeCommand({"--automation", "--idle-exit", "1"}));
  EXPECT_EQ(Get("Version").toInt(), kVantorVersionNumber);  // started by this call
  EXPECT_FALSE(Get("Visible").toBool());                    // a bus start keeps the window hidden
  // Connected: it stays, however long.
  OutlastIdlePeriod();
  EXPECT_TRUE(vxtest::NameOwned(bus, kVantorBusName));
  ASSERT_TRUE(IsReply(Call("Release")));
  ASSERT_TRUE(WaitUntil([&] { return !vxtest::NameOwned(bus, kVantorBusName); }, 10000));
}

TEST_F(BusFixture, ABusStartedVantorStaysWhileAJobRuns) {
  // The job runs until the test lets it end.
  const std::string running = Home() + "/job-runs", release = Home() + "/job-may-end";
  RemoveFile(running);
  RemoveFile(release);
  std::vector<std::string> c = ServeCommand({"--automation", "--idle-exit", "1"});
  c.insert(c.begin() + 1, "VOACAP_FAKE_READY=" + running);
  c.insert(c.begin() + 1, "VOACAP_FAKE_HOLD=" + release);
  WriteActivation(kVantorBusName, c);
  TSignalCounter chart(bus, kPath, kIface, "ChartChange");
  {  // a one-shot caller, as a shell script's gdbus call is
    QDBusConnection a = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "script");
    ASSERT_TRUE(IsReply(Call("PredictPoint", {}, &a)));
  }
  ASSERT_TRUE(WaitUntil([&] { return FileExists(running); }));
  QDBusConnection::disconnectFromBus("script");  // the last reference: it leaves the bus
  OutlastIdlePeriod();
  EXPECT_TRUE(vxtest::NameOwned(bus, kVantorBusName));  // idle, but the job runs
  ASSERT_TRUE(WriteWholeFile(release, ""));
  ASSERT_TRUE(WaitUntil([&] { return chart.Count == 1; }));
  ASSERT_TRUE(WaitUntil([&] { return !vxtest::NameOwned(bus, kVantorBusName); }, 10000));
}

TEST_F(BusFixture, AUserStartedVantorEndsAtTheLastReleaseOnlyWhenItsWindowIsHidden) {
  StartServe();
  ASSERT_TRUE(IsReply(Call("Release")));
  // A client hides the window and leaves the bus without Release. That the
  // service answers them shows it went on after the Release: the window
  // showed, the user keeps it.
  QString leaver;
  {
    QDBusConnection a = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "client-a");
    QDBusConnection b = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "client-b");
    ASSERT_TRUE(IsReply(Set("Visible", false, &a)));
    EXPECT_EQ(Get("Version", &b).toInt(), kVantorVersionNumber);
    leaver = a.baseService();
  }
  EXPECT_EQ(serve.state(), QProcess::Running);
  QDBusConnection::disconnectFromBus("client-a");
  // Once the bus has seen a go, b's call reaches the service after that news:
  // an answer shows it stays while b is connected.
  ASSERT_TRUE(WaitUntil([&] { return !vxtest::NameOwned(bus, leaver); }));
  {
    QDBusConnection b("client-b");
    EXPECT_EQ(Get("Version", &b).toInt(), kVantorVersionNumber);
  }
  EXPECT_EQ(serve.state(), QProcess::Running);
  QDBusConnection::disconnectFromBus("client-b");
  ASSERT_TRUE(WaitUntil([&] { return serve.state() == QProcess::NotRunning; }, 10000));
  EXPECT_EQ(serve.exitCode(), 0);
}

// ---- the monitor ----

namespace {

struct TListener : ISpaceWeatherListener {
  int Arrived = 0, Left = 0;
  void SpaceWeatherArrived() override { ++Arrived; }
  void SpaceWeatherMonitorLeft() override { ++Left; }
};

QDBusMessage CallFake(const QDBusConnection& bus, const char* name, const char* path, const QString& member,
                      const QVariantList& args = {}) {
  QDBusMessage m = QDBusMessage::createMethodCall(name, path, "net.vexmoor.Test", member);
  m.setArguments(args);
  return bus.call(m, QDBus::Block, 10000);
}

QStringList FakeLog(const QDBusConnection& bus, const char* name, const char* path) {
  const QDBusMessage r = CallFake(bus, name, path, "Log");
  return r.arguments().isEmpty() ? QStringList() : r.arguments()[0].toStringList();
}

}  // namespace

TEST_F(BusFixture, MonitorVersion65536IsRefused) {
  WriteActivation(kSunsentryBusName, {VX_FAKE_SIBLING, "sunsentry", "--version", "65536"});
  TSunsentryClient client(std::make_unique<TSunsentryBusLink>(bus));
  client.SetActive(true);
  EXPECT_FALSE(client.Active());
  EXPECT_FALSE(client.Available());
  EXPECT_TRUE(vxtest::NameOwned(bus, kSunsentryBusName));  // it was started and answered
}

TEST_F(BusFixture, MonitorVersion65537IsAcceptedAndKpIsSearchedOver25Hours) {
  WriteActivation(kSunsentryBusName, {VX_FAKE_SIBLING, "sunsentry", "--version", "65537"});
  TSunsentryClient client(std::make_unique<TSunsentryBusLink>(bus));
  TListener listener;
  client.SetListener(&listener);
  client.SetActive(true);
  ASSERT_TRUE(client.Active());
  const double t = EncodeDayCount(TCivilTime{2009, 3, 15, 12, 0, 0});
  ASSERT_EQ(CallFake(bus, kSunsentryBusName, kSunsentryObjectPath, "SetValues", {12.5, 6.0, t - 3 / 24.0}).type(),
            QDBusMessage::ReplyMessage);
  TSpaceWeatherReading r = client.ReadIndices(2009, 3, 15, 12);
  EXPECT_EQ(r.Ssn, 12);
  EXPECT_EQ(r.Kp, 6);
  QStringList log = FakeLog(bus, kSunsentryBusName, kSunsentryObjectPath);
  ASSERT_EQ(log.size(), 5);
  EXPECT_EQ(log[0], QString("GetValue 200 %1").arg(t, 0, 'f', 6));
  EXPECT_EQ(log[4], QString("GetValue 5 %1").arg(t - 3 / 24.0, 0, 'f', 6));
  // Nothing within 24 hours: unknown after 25 tries.
  CallFake(bus, kSunsentryBusName, kSunsentryObjectPath, "SetValues", {13.5, 6.0, t - 2.0});
  r = client.ReadIndices(2009, 3, 15, 12);
  EXPECT_EQ(r.Ssn, 14);
  EXPECT_EQ(r.Kp, kNoIndexValue);
  EXPECT_EQ(FakeLog(bus, kSunsentryBusName, kSunsentryObjectPath).size(), 5 + 26);
  // The monitor's notices arrive through the event loop.
  CallFake(bus, kSunsentryBusName, kSunsentryObjectPath, "EmitDataArrived");
  ASSERT_TRUE(WaitUntil([&] { return listener.Arrived == 1; }));
  CallFake(bus, kSunsentryBusName, kSunsentryObjectPath, "EmitExitRequest");
  ASSERT_TRUE(WaitUntil([&] { return listener.Left == 1; }));
  EXPECT_FALSE(client.Active());
  EXPECT_TRUE(client.Available());
}

TEST_F(BusFixture, NoMonitorAtAllIsNotAvailable) {
  TSunsentryClient client(std::make_unique<TSunsentryBusLink>(bus));
  client.SetActive(true);
  EXPECT_FALSE(client.Available());
}

TEST_F(BusFixture, MonitorDataRecomputesTheMapOnlyOnTheMapTab) {
  WriteActivation(kSunsentryBusName, {VX_FAKE_SIBLING, "sunsentry", "--ssn", "80", "--kp", "4"});
  StartServe();
  TSignalCounter map(bus, kPath, kIface, "MapChange");
  ASSERT_TRUE(IsReply(Set("SunsentryOn", true)));
  EXPECT_TRUE(Get("SunsentryOn").toBool());
  EXPECT_EQ(Get("Ssn").toInt(), 80);
  EXPECT_EQ(Get("Kp").toInt(), 4);
  ASSERT_TRUE(IsReply(Call("PredictArea")));
  ASSERT_TRUE(WaitUntil([&] { return map.Count == 1; }));
  CallFake(bus, kSunsentryBusName, kSunsentryObjectPath, "SetValues", {90.0, 4.0, 1e9});
  CallFake(bus, kSunsentryBusName, kSunsentryObjectPath, "EmitDataArrived");
  ASSERT_TRUE(WaitUntil([&] { return map.Count == 2; }));
  EXPECT_EQ(Get("Ssn").toInt(), 90);
  EXPECT_EQ(Runs(), 2);  // a new SSN is a new map
  // On the Chart tab the new values are taken, but nothing is computed.
  ASSERT_TRUE(IsReply(Set("Page", 1)));
  CallFake(bus, kSunsentryBusName, kSunsentryObjectPath, "SetValues", {95.0, 4.0, 1e9});
  CallFake(bus, kSunsentryBusName, kSunsentryObjectPath, "EmitDataArrived");
  ASSERT_TRUE(WaitUntil([&] { return Get("Ssn").toInt() == 95; }));
  EXPECT_EQ(map.Count, 2);
  // A map asked for now is the third: no run started behind it.
  ASSERT_TRUE(IsReply(Call("PredictArea")));
  ASSERT_TRUE(WaitUntil([&] { return map.Count >= 3; }));
  ASSERT_TRUE(vxtest::DeliverPosted());
  EXPECT_EQ(map.Count, 3);
  EXPECT_EQ(Runs(), 3);
  // The monitor lets go: the toggle is up again.
  CallFake(bus, kSunsentryBusName, kSunsentryObjectPath, "EmitExitRequest");
  ASSERT_TRUE(WaitUntil([&] { return !Get("SunsentryOn").toBool(); }));
}

TEST_F(BusFixture, AMonitorThatHangsCostsOneTimeoutAndVantorKeepsAnswering) {
  WriteActivation(kSunsentryBusName, {VX_FAKE_SIBLING, "sunsentry", "--hang-values"});
  StartServe({"--sibling-timeout", "300"});
  ASSERT_TRUE(IsReply(Set("SunsentryOn", true)));
  // One unanswered GetValue, then the monitor is let go (not 26 of them,
  // one timeout each).
  EXPECT_FALSE(Get("SunsentryOn").toBool());
  EXPECT_EQ(FakeLog(bus, kSunsentryBusName, kSunsentryObjectPath).size(), 1);
  // Not tried again: the next press does nothing.
  ASSERT_TRUE(IsReply(Set("SunsentryOn", true)));
  EXPECT_FALSE(Get("SunsentryOn").toBool());
  EXPECT_EQ(FakeLog(bus, kSunsentryBusName, kSunsentryObjectPath).size(), 1);
  EXPECT_EQ(Get("Version").toInt(), kVantorVersionNumber);
}

// ---- the map program ----

namespace {

struct THost : IGeomiraHost {
  TMapModel Map;
  int Left = 0;
  const TNormGrid& MapField() const override { return Map.NormGrid; }
  std::string MapMouseMove(int x, int y) override { return Map.Readout(x, y).Panels[1]; }
  void MapProgramLeft() override { ++Left; }
  void MapProgramError(const std::string&) override {}
};

// The grid the stand-in propagation program computes for an hour.
TVoaGrid FakeAreaGrid(int n, int hour) {
  TVoaGrid g = MakeGrid(n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      TVoaGridCell& c = g[size_t(i)][size_t(j)];
      c.Snr = float(*ParseDouble(Trim(FormatFixed(fake::AreaSnr(i + 1, j + 1, hour), 6, 1))));
      c.Muf = float(fake::AreaMuf(i + 1, j + 1));
      c.Elevation = float(fake::AreaAngle(i + 1, j + 1));
      c.Mode = fake::AreaMode(i + 1, j + 1);
    }
  return g;
}

}  // namespace

TEST_F(BusFixture, MapProgramWithoutPlotFieldIsRefused) {
  WriteActivation(kGeomiraBusName, {VX_FAKE_SIBLING, "geomira", "--no-plotfield"});
  THost host;
  TGeomiraControl control(std::make_unique<TGeomiraBusLink>(bus), &host);
  EXPECT_FALSE(control.SetActive(true));
  EXPECT_FALSE(control.Active());
  EXPECT_TRUE(FakeLog(bus, kGeomiraBusName, kGeomiraObjectPath).isEmpty());  // nothing asked of it
}

TEST_F(BusFixture, MapProgramWithAnotherPlotFieldIsRefused) {
  WriteActivation(kGeomiraBusName, {VX_FAKE_SIBLING, "geomira", "--plotfield-signature", "ad"});
  THost host;
  TGeomiraControl control(std::make_unique<TGeomiraBusLink>(bus), &host);
  EXPECT_FALSE(control.SetActive(true));
}

TEST_F(BusFixture, MapProgramIsShownAndLetGo) {
  WriteActivation(kGeomiraBusName, {VX_FAKE_SIBLING, "geomira"});
  THost host;
  TGeomiraControl control(std::make_unique<TGeomiraBusLink>(bus), &host);
  ASSERT_TRUE(control.SetActive(true));
  EXPECT_EQ(FakeLog(bus, kGeomiraBusName, kGeomiraObjectPath), (QStringList{"Set WindowState 0", "Set Visible true"}));
  control.SetActive(false);
  EXPECT_EQ(FakeLog(bus, kGeomiraBusName, kGeomiraObjectPath),
            (QStringList{"Set WindowState 0", "Set Visible true", "BeginUpdate", "Set FieldOpacity 0", "EndUpdate",
                         "Set ExternalControl 0"}));
}

TEST_F(BusFixture, VantorSendsItsMapSouthToNorthAndAnswersTheMouse) {
  WriteActivation(kGeomiraBusName, {VX_FAKE_SIBLING, "geomira"});
  StartServe();
  ASSERT_TRUE(IsReply(Set("MapResolution", 2)));  // 16 x 16
  ASSERT_TRUE(IsReply(Set("Hour", 5)));
  // No map yet: switching on computes one, and it goes to the program when shown.
  ASSERT_TRUE(IsReply(Set("GeomiraOn", true)));
  EXPECT_TRUE(Get("GeomiraOn").toBool());
  QList<QList<double>> field;
  ASSERT_TRUE(WaitUntil([&] {
    const QDBusMessage r = CallFake(bus, kGeomiraBusName, kGeomiraObjectPath, "LastField");
    if (r.arguments().isEmpty()) return false;
    field.clear();
    r.arguments()[0].value<QDBusArgument>() >> field;
    return !field.isEmpty();
  }));
  ASSERT_EQ(field.size(), 16);
  for (int i = 0; i < 16; ++i) {
    ASSERT_EQ(field[i].size(), 16);
    for (int j = 0; j < 16; ++j) {
      // Column i from the west, row j from the south: the stand-in's cell
      // (i + 1, j + 1), as SNR / 50 within 0..1.
      const float snr = float(*ParseDouble(Trim(FormatFixed(fake::AreaSnr(i + 1, j + 1, 5), 6, 1))));
      EXPECT_FLOAT_EQ(float(field[i][j]), std::clamp(snr / 50.0f, 0.0f, 1.0f)) << i << "," << j;
    }
  }
  // The field is logged as it arrives; the closing call may still be on its way.
  QStringList log;
  qsizetype plot = -1;
  ASSERT_TRUE(WaitUntil([&] {
    log = FakeLog(bus, kGeomiraBusName, kGeomiraObjectPath);
    plot = log.indexOf("PlotField");
    return plot >= 0 && plot + 1 < log.size();
  }));
  ASSERT_GT(plot, 0);
  EXPECT_EQ(log[plot - 1], "BeginUpdate");
  EXPECT_EQ(log[plot + 1], "EndUpdate");
  // The program's mouse at 45.4 N 73.6 W is the map's pixel (106, 45).
  CallFake(bus, kGeomiraBusName, kGeomiraObjectPath, "EmitMouseMoved", {45.4, -73.6});
  QString hint;
  ASSERT_TRUE(WaitUntil([&] {
    hint = CallFake(bus, kGeomiraBusName, kGeomiraObjectPath, "LastHint").arguments().value(0).toString();
    return !hint.isEmpty();
  }));
  EXPECT_EQ(hint.toStdString(), MapReadout(FakeAreaGrid(16, 5), 106, 45).Panels[1]);
  // The program asks to exit: the toggle is up again.
  CallFake(bus, kGeomiraBusName, kGeomiraObjectPath, "EmitExitRequest");
  ASSERT_TRUE(WaitUntil([&] { return !Get("GeomiraOn").toBool(); }));
}
