// The window as an automation server, on a private session bus (run under
// tests/com/private_bus.sh), with the stand-in propagation program. In this
// process: the main window offscreen with its service, and a client on a
// connection of its own, whose calls are asynchronous so that the window
// can answer them. In separate processes: the program vantor itself, as the
// user and as the bus start it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "../com/BusTestUtil.h"
#include "com/BusNames.h"
#include "com/ServiceFile.h"
#include "common/FileUtil.h"
#include "common/Paths.h"
#include "engine/Process.h"
#include "gui/MainForm.h"
#include "gui/WindowService.h"
#include "support/Controls.h"
#include "support/CountingRunner.h"
#include "support/RecordingShell.h"
#include "support/VoacapFolder.h"
#include "views/BmpFile.h"
#include "views/ChartDraw.h"
#include "views/ChartFrm.h"
#include "views/CoordFrame.h"
#include "views/MapFrm.h"

using namespace vx;
using vxtest::Control;
using namespace vxtest;

namespace {

struct WindowBusTest : testing::Test {
  QDBusConnection bus = QDBusConnection::sessionBus();
  std::string itshfbc;

  void SetUp() override {
    ASSERT_TRUE(bus.isConnected()) << "run under private_bus.sh";
    ASSERT_NE(Home().find("vx-bus."), std::string::npos) << "the test needs a home of its own";
    itshfbc = MakeVoacapFolder(Home() + "/itshfbc/");
  }
  void TearDown() override { vxtest::EndOwnerOf(bus, kVantorBusName); }

  // The settings file of the programs started here: the stand-in in place
  // of the propagation program.
  void WriteVoacapSettings() {
    const std::string file = SettingsFile("Vantor");
    MakeDirectories(FolderOf(file));
    ASSERT_TRUE(WriteWholeFile(file, std::string("[VOACAP]\nProgram=") + VX_FAKE_VOACAP + "\nDataFolder=" + itshfbc +
                                         // A station set up already: a user's start asks nothing.
                                         "\n[User]\nLatitude=7920\nLongitude=-14220\n"));
  }
};

}  // namespace

// ---- the window in this process ----

namespace {

struct InProcess : WindowBusTest {
  TRecordingShell shell;
  vxtest::TRunnerCounts counted;
  int& runs = counted.Runs;  // children started
  std::unique_ptr<TAutomationHost> host;
  std::unique_ptr<TMainForm> form;
  QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "client");

  void SetUp() override {
    WindowBusTest::SetUp();
    host = std::make_unique<TAutomationHost>(bus, 500);
    TSessionSetup s;
    s.DataFolder = std::string(VX_BIN_DIR) + "/";
    s.CacheFolder = Home() + "/cache/";
    s.SettingsFile = Home() + "/Vantor.ini";
    s.Voacap = {VX_FAKE_VOACAP, itshfbc};
    shell.ThreeWay = anNo;
    TMainFormServices services;
    services.Shell = &shell;
    services.Monitor = &host->Monitor;
    services.MapProgram = &host->MapProgram;
    services.Runner = std::make_unique<vxtest::TCountingRunner>(counted, std::make_unique<TProcess>());
    form = std::make_unique<TMainForm>(std::move(s), std::move(services));
    host->MapProgram.SetHost(&form->Model());
    ASSERT_TRUE(form->FormCreate());
    QString error;
    ASSERT_TRUE(ServeWindow(*host, *form, TStartKind::skUser, error)) << error.toStdString();
  }
  void TearDown() override {
    // The service is this process's own: it leaves the bus, nobody is ended.
    host->Stop();
    form.reset();
    host.reset();
    QDBusConnection::disconnectFromBus("client");
    for (const char* name : {kGeomiraBusName, kSunsentryBusName}) vxtest::EndOwnerOf(bus, name);
  }

  QDBusMessage Send(const QDBusMessage& m) {
    QDBusPendingCall pending = client.asyncCall(m, 20000);
    EXPECT_TRUE(WaitUntil([&] { return pending.isFinished(); }, 25000));
    return pending.reply();
  }
  QDBusMessage Call(const QString& member, const QVariantList& args = {}) {
    QDBusMessage m = QDBusMessage::createMethodCall(kVantorBusName, kPath, kIface, member);
    m.setArguments(args);
    return Send(m);
  }
  bool Set(const QString& name, const QVariant& v) {
    QDBusMessage m = QDBusMessage::createMethodCall(kVantorBusName, kPath, kProps, "Set");
    m << kIface << name << QVariant::fromValue(QDBusVariant(v));
    return Send(m).type() == QDBusMessage::ReplyMessage;
  }
  QVariant Get(const QString& name) {
    QDBusMessage m = QDBusMessage::createMethodCall(kVantorBusName, kPath, kProps, "Get");
    m << kIface << name;
    const QDBusMessage r = Send(m);
    return r.arguments().isEmpty() ? QVariant() : r.arguments()[0].value<QDBusVariant>().variant();
  }
};

}  // namespace

TEST_F(InProcess, SettersMoveTheWindowsControlsAndStartNothing) {
  TSignalCounter chart(client, kPath, kIface, "ChartChange"), map(client, kPath, kIface, "MapChange");
  QSignalSpy tabs(Control<QTabWidget>(form, "Pages"), &QTabWidget::currentChanged);

  // Without their change handling: a tab or a map hour of its own would
  // compute, a call sign would be parsed twice.
  ASSERT_TRUE(Set("Page", 2));
  EXPECT_EQ(Control<QTabWidget>(form, "Pages")->currentIndex(), pgMap);
  ASSERT_TRUE(Set("Hour", 30));
  EXPECT_EQ(Control<TMapFrame>(form, "MapFrame")->HourCaption().left(5), "23:00");
  ASSERT_TRUE(Set("Band", 5));
  EXPECT_TRUE(Control<TMapFrame>(form, "MapFrame")->BandButton(5)->isChecked());
  ASSERT_TRUE(Set("DxCall", QString("g3abc")));
  EXPECT_EQ(Control<QLineEdit>(form, "CallEdit")->text(), "G3ABC");
  EXPECT_GT(Control<TCoordFrame>(form, "DxCoordFrame")->GetPoint().Y, 49 * 180);  // England
  ASSERT_TRUE(Set("DxLat", 45.6));
  EXPECT_EQ(Control<TCoordFrame>(form, "DxCoordFrame")->GetPoint().Y, 46 * 180);
  EXPECT_TRUE(Control<QLineEdit>(form, "CallEdit")->text().isEmpty());  // the frame no longer shows the call's place
  ASSERT_TRUE(Set("Ssn", 4000));
  EXPECT_EQ(Control<QSpinBox>(form, "SsnSpin")->value(), 400);
  ASSERT_TRUE(Set("Kp", 0));
  EXPECT_EQ(Control<QSpinBox>(form, "KpSpin")->value(), 1);
  ASSERT_TRUE(Set("UseKp", true));
  EXPECT_TRUE(Control<QCheckBox>(form, "UseKpBox")->isChecked());
  ASSERT_TRUE(Set("LongPath", true));
  EXPECT_TRUE(Control<QRadioButton>(form, "LongPathRadio")->isChecked());
  ASSERT_TRUE(Set("MapStyle", 9));
  EXPECT_EQ(Control<TMapFrame>(form, "MapFrame")->Model.MapStyle, msPseudo);
  // A signal sent before the last answer has been handed on by now.
  ASSERT_TRUE(vxtest::DeliverPosted());
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(tabs.count(), 0);
  EXPECT_EQ(chart.Count + map.Count, 0);

  // What the user changes in the window is what clients read.
  Control<QSpinBox>(form, "PowerSpin")->setValue(250);
  EXPECT_EQ(Get("TxPower").toInt(), 250);
  Control<QRadioButton>(form, "ShortPathRadio")->click();
  EXPECT_FALSE(Get("LongPath").toBool());
}

TEST_F(InProcess, PicturesAreSavedWhileTheWindowIsHidden) {
  ASSERT_FALSE(form->isVisible());  // never shown: nothing was painted
  TSignalCounter chart(client, kPath, kIface, "ChartChange"), map(client, kPath, kIface, "MapChange");
  ASSERT_TRUE(Set("DxCall", QString("G3ABC")));
  ASSERT_EQ(Call("PredictPoint").type(), QDBusMessage::ReplyMessage);
  ASSERT_TRUE(WaitUntil([&] { return chart.Count == 1; }));
  EXPECT_EQ(Get("ChartData").toString().toStdString(), vxtest::ExpectedChartData());
  const std::string chartFile = Home() + "/chart.bmp";
  ASSERT_EQ(Call("SaveChartImage", {QString::fromStdString(chartFile)}).type(), QDBusMessage::ReplyMessage);
  auto saved = DecodeBmp(ReadWholeFile(chartFile).value_or(""));
  ASSERT_TRUE(saved);
  EXPECT_EQ(*saved, Control<TChartFrame>(form, "ChartFrame")->ChartBitmap);
  TRgbImage empty;
  PaintChart(TPointResults(), Control<TChartFrame>(form, "ChartFrame")->Options, empty);
  EXPECT_NE(*saved, empty);  // the prediction, not the empty chart

  TRgbImage background = Control<TMapFrame>(form, "MapFrame")->Model.MapBitmap;
  ASSERT_EQ(Call("PredictArea").type(), QDBusMessage::ReplyMessage);
  ASSERT_TRUE(WaitUntil([&] { return map.Count == 1; }));
  const std::string mapFile = Home() + "/map.bmp";
  ASSERT_EQ(Call("SaveMapImage", {QString::fromStdString(mapFile)}).type(), QDBusMessage::ReplyMessage);
  saved = DecodeBmp(ReadWholeFile(mapFile).value_or(""));
  ASSERT_TRUE(saved);
  EXPECT_EQ(*saved, Control<TMapFrame>(form, "MapFrame")->Model.MapBitmap);
  EXPECT_NE(*saved, background);
  EXPECT_EQ(runs, 2);
  EXPECT_FALSE(form->isVisible());
}

TEST_F(InProcess, ClosingWhileAClientIsConnectedHidesAndItsReleaseEndsTheHiddenWindow) {
  form->show();
  TSignalCounter exit(client, kPath, kIface, "ExitRequest");
  QSignalSpy end(host->Service(), &TAutomationService::EndRequested);
  EXPECT_EQ(Get("Version").toInt(), kVantorVersionNumber);  // connected from its first call
  ASSERT_EQ(form->AutomationClients, 1);
  EXPECT_FALSE(form->close());
  EXPECT_FALSE(form->isVisible());
  ASSERT_TRUE(WaitUntil([&] { return exit.Count == 1; }));
  EXPECT_EQ(end.count(), 0);  // hidden, and still serving
  EXPECT_TRUE(Get("Version").isValid());

  ASSERT_EQ(Call("Release").type(), QDBusMessage::ReplyMessage);
  ASSERT_TRUE(WaitUntil([&] { return end.count() == 1; }));
  EXPECT_EQ(form->AutomationClients, 0);
  form->show();
  EXPECT_TRUE(form->close());  // nobody connected: the window may go
}

namespace {

QString FakeCall(const QDBusConnection& bus, const char* name, const char* path, const QString& member,
                 const QVariantList& args = {}) {
  QDBusMessage m = QDBusMessage::createMethodCall(name, path, "net.vexmoor.Test", member);
  m.setArguments(args);
  return bus.call(m, QDBus::Block, 10000).arguments().value(0).toString();
}

bool Lime(const QWidget* box) { return box->palette().color(QPalette::Base) == QColor(0, 255, 0); }

}  // namespace

TEST_F(InProcess, TheSiblingButtonsReachTheRealPrograms) {
  vxtest::WriteActivation(kSunsentryBusName, {VX_FAKE_SIBLING, "sunsentry", "--ssn", "80", "--kp", "4"});
  vxtest::WriteActivation(kGeomiraBusName, {VX_FAKE_SIBLING, "geomira"});

  // The monitor fills the SSN and Kp boxes, lime while they hold its values.
  Control<QToolButton>(form, "MonitorButton")->click();
  ASSERT_TRUE(Control<QToolButton>(form, "MonitorButton")->isChecked());
  EXPECT_EQ(Control<QSpinBox>(form, "SsnSpin")->value(), 80);
  EXPECT_EQ(Control<QSpinBox>(form, "KpSpin")->value(), 4);
  EXPECT_TRUE(Lime(Control<QSpinBox>(form, "SsnSpin")) && Lime(Control<QSpinBox>(form, "KpSpin")));
  Control<QSpinBox>(form, "SsnSpin")->setValue(81);
  EXPECT_FALSE(Lime(Control<QSpinBox>(form, "SsnSpin")));
  Control<QSpinBox>(form, "SsnSpin")->setValue(80);
  EXPECT_TRUE(Lime(Control<QSpinBox>(form, "SsnSpin")));
  FakeCall(bus, kSunsentryBusName, kSunsentryObjectPath, "EmitExitRequest");
  ASSERT_TRUE(WaitUntil([&] { return !Control<QToolButton>(form, "MonitorButton")->isChecked(); }));
  EXPECT_FALSE(Lime(Control<QSpinBox>(form, "SsnSpin")) || Lime(Control<QSpinBox>(form, "KpSpin")));

  // The map program: connected without a map, the window computes one; the
  // program's mouse fills the status bar and gets the readout as its hint.
  Control<QToolButton>(form, "MapProgramButton")->click();
  ASSERT_TRUE(Control<QToolButton>(form, "MapProgramButton")->isChecked());
  ASSERT_TRUE(WaitUntil([&] { return !Control<TMapFrame>(form, "MapFrame")->Model.NormGrid.Empty(); }));
  EXPECT_EQ(runs, 1);
  FakeCall(bus, kGeomiraBusName, kGeomiraObjectPath, "EmitMouseMoved", {45.4, -73.6});
  QString hint;
  ASSERT_TRUE(WaitUntil([&] {
    hint = FakeCall(bus, kGeomiraBusName, kGeomiraObjectPath, "LastHint");
    return !hint.isEmpty();
  }));
  EXPECT_EQ(Control<QLabel>(form, "StatusPanel" + QString::number(1 + 1))->text(), hint);
  EXPECT_EQ(hint.toStdString(), Control<TMapFrame>(form, "MapFrame")->Model.Readout(106, 45).Panels[1]);
  FakeCall(bus, kGeomiraBusName, kGeomiraObjectPath, "EmitExitRequest");
  ASSERT_TRUE(WaitUntil([&] { return !Control<QToolButton>(form, "MapProgramButton")->isChecked(); }));
  EXPECT_TRUE(shell.Questions.isEmpty());
}

// ---- the program ----

TEST_F(WindowBusTest, RegisterUnregisterAndTheLastReleaseOfABusStart) {
  WriteVoacapSettings();
  const std::string file = UserActivationFile(kVantorBusName);
  ASSERT_EQ(QProcess::execute(VX_VANTOR, {"--register"}), 0);
  const std::string program = std::filesystem::canonical(VX_VANTOR).string();
  EXPECT_EQ(ReadWholeFile(file).value_or(""), ActivationFileText(kVantorBusName, {program, "--automation"}));

  // The bus starts Vantor for the first call; its window stays hidden.
  QDBusConnection a = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "script");
  auto get = [&](const QString& name) {
    QDBusMessage m = QDBusMessage::createMethodCall(kVantorBusName, kPath, kProps, "Get");
    m << kIface << name;
    const QDBusMessage r = a.call(m, QDBus::Block, 20000);
    return r.arguments().isEmpty() ? QVariant() : r.arguments()[0].value<QDBusVariant>().variant();
  };
  EXPECT_EQ(get("Version").toInt(), kVantorVersionNumber);
  EXPECT_FALSE(get("Visible").toBool());
  const uint pid = bus.interface()->servicePid(kVantorBusName).value();
  ASSERT_GT(pid, 0u);
  const QDBusMessage released = a.call(QDBusMessage::createMethodCall(kVantorBusName, kPath, kIface, "Release"));
  EXPECT_EQ(released.type(), QDBusMessage::ReplyMessage);
  // Gone once nobody has been connected for the idle period.
  ASSERT_TRUE(WaitUntil([&] { return !vxtest::NameOwned(bus, kVantorBusName); }, 20000));
  EXPECT_TRUE(WaitUntil([&] { return ::kill(pid_t(pid), 0) != 0; }, 5000));
  QDBusConnection::disconnectFromBus("script");

  ASSERT_EQ(QProcess::execute(VX_VANTOR, {"--unregister"}), 0);
  EXPECT_FALSE(FileExists(file));
  EXPECT_EQ(QProcess::execute(VX_VANTOR, {"--unregister"}), 0);  // nothing left to remove
}

TEST_F(WindowBusTest, AUserStartRegistersItselfAndPredictsTheWindowsInputs) {
  WriteVoacapSettings();
  const std::string file = UserActivationFile(kVantorBusName);
  QProcess vantor;
  vantor.setProcessChannelMode(QProcess::ForwardedChannels);
  vantor.start(VX_VANTOR, {});
  ASSERT_TRUE(vantor.waitForStarted());
  ASSERT_TRUE(WaitUntil([&] { return vxtest::NameOwned(bus, kVantorBusName); })) << "the service never came";
  EXPECT_NE(ReadWholeFile(file).value_or("").find(" --automation\n"), std::string::npos);

  TSignalCounter chart(bus, kPath, kIface, "ChartChange");
  QDBusMessage m = QDBusMessage::createMethodCall(kVantorBusName, kPath, kProps, "Set");
  m << kIface << QString("DxCall") << QVariant::fromValue(QDBusVariant(QString("G3ABC")));
  ASSERT_EQ(bus.call(m, QDBus::BlockWithGui, 20000).type(), QDBusMessage::ReplyMessage);
  m = QDBusMessage::createMethodCall(kVantorBusName, kPath, kIface, "PredictPoint");
  ASSERT_EQ(bus.call(m, QDBus::BlockWithGui, 20000).type(), QDBusMessage::ReplyMessage);
  ASSERT_TRUE(WaitUntil([&] { return chart.Count == 1; }));
  m = QDBusMessage::createMethodCall(kVantorBusName, kPath, kProps, "Get");
  m << kIface << QString("ChartData");
  const QDBusMessage r = bus.call(m, QDBus::BlockWithGui, 20000);
  ASSERT_FALSE(r.arguments().isEmpty());
  EXPECT_EQ(r.arguments()[0].value<QDBusVariant>().variant().toString().toStdString(), vxtest::ExpectedChartData());
  vantor.terminate();
  vantor.waitForFinished(5000);
}
