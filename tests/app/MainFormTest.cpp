// The main window, offscreen, with the Qt process runner and the stand-in
// propagation program: the road from a typed call to a drawn chart, maps
// through the cache, cancelling, the settings file, the context menu.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <QAbstractItemView>

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <filesystem>

#include "app/PictureTitle.h"
#include "common/DayCount.h"
#include "common/FileUtil.h"
#include "common/Ini.h"
#include "common/StatusLabel.h"
#include "engine/Cache.h"
#include "engine/Process.h"
#include "geo/CoordFrm.h"
#include "gui/MainForm.h"
#include "gui/StatusImg.h"
#include "support/Controls.h"
#include "support/CountingRunner.h"
#include "support/QtWait.h"
#include "support/QueuedRunners.h"
#include "support/RecordingShell.h"
#include "support/TestClock.h"
#include "support/VoacapFolder.h"
#include "views/BmpFile.h"
#include "views/ChartDraw.h"
#include "views/ChartFrm.h"
#include "views/CoordFrame.h"
#include "views/Decorate.h"
#include "views/MapFrm.h"
#include "views/PreComp.h"

using namespace vx;
using vxtest::Control;

namespace {

struct MainFormTest : testing::Test {
  std::string root, itshfbc, settingsFile;
  vxtest::TRecordingShell shell;
  vxtest::TTestClock clock{{2026, 12, 7, 18, 0, 0}, 1000000};
  TUnavailableMonitor monitor;
  TNoMapProgram mapProgram;
  vxtest::TRunnerCounts counted;
  int& runs = counted.Runs;  // children started
  std::unique_ptr<TMainForm> form;
  QStringList events;

  void SetUp() override {
    root = testing::TempDir() + "mainform-" + testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::filesystem::remove_all(root);
    for (const char* v : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"}) {
      const std::string dir = root + v + "/";
      MakeDirectories(dir);
      setenv(v, dir.c_str(), 1);
    }
    itshfbc = vxtest::MakeVoacapFolder(root + "itshfbc/");
    settingsFile = root + "XDG_CONFIG_HOME/Vexmoor/Vantor.ini";
  }
  void TearDown() override {
    form.reset();
    unsetenv("VOACAP_FAKE_DELAY_MS");
    unsetenv("VOACAP_FAKE_EXIT");
  }

  TEngineChoice engine = TEngineChoice::Auto;
  bool askForHome = false;                        // as on a first start
  std::string kestrix;                            // the setup's Kestrix, if any
  std::unique_ptr<IProcessRunner> kestrixRunner;  // runs it, if set
  TSessionSetup Setup(const std::string& program = VX_FAKE_VOACAP) {
    TSessionSetup s;
    s.DataFolder = std::string(VX_BIN_DIR) + "/";
    s.CacheFolder = root + "cache/";
    s.SettingsFile = settingsFile;
    s.Voacap = {program, itshfbc};
    s.Voacap.Engine = engine;
    s.Settings = ReadSettings(TIniFile::Load(settingsFile));
    s.KestrixProgram = kestrix;
    return s;
  }
  // Builds the window; start: run its start-up, which must succeed.
  void Make(bool start = true, const std::string& program = VX_FAKE_VOACAP) {
    TMainFormServices services;
    services.Shell = &shell;
    services.Monitor = &monitor;
    services.MapProgram = &mapProgram;
    services.Clock = &clock;
    services.Runner = std::make_unique<vxtest::TCountingRunner>(counted, std::make_unique<TProcess>());
    services.AskForHome = askForHome;
    services.SiblingRunner = std::move(kestrixRunner);
    form = std::make_unique<TMainForm>(Setup(program), std::move(services));
    QObject::connect(form.get(), &TMainForm::ClientEvent, [this](int code) { events << QString::number(code); });
    if (start) {
      ASSERT_TRUE(form->FormCreate());
    }
  }
  const TStatusIndicator& Status() { return form->Controller().Status(); }
  QString StatusBarText() { return form->statusBar()->currentMessage(); }
  bool WaitDone() {
    return vxtest::WaitUntil([&] { return Status().State != stComputing; });
  }
  void WriteSettingsFile(const std::string& text) {
    MakeDirectories(FolderOf(settingsFile));
    ASSERT_TRUE(WriteWholeFile(settingsFile, text));
  }
};

// The first location the program's own lists give for a call, in the whole
// degrees the DX frame holds.
TLocation Located(const std::string& call) {
  TCallParser parser(TCallParserVariant::pvMain);
  parser.SetPrefixFile(std::string(VX_BIN_DIR) + "/Prefix.lst");
  parser.SetCallFile(std::string(VX_BIN_DIR) + "/Call.lst");
  parser.Parse(call);
  EXPECT_FALSE(parser.Results.empty()) << call;
  TCoordFields f;
  ShowCoordFields(f,
                  parser.Results.empty() ? kNoLocationPoint : TLocation{parser.Results[0].Lon, parser.Results[0].Lat});
  return ReadCoordFields(f);
}

}  // namespace

TEST_F(MainFormTest, TypedCallEnterDrawsTheChart) {
  Make();
  EXPECT_EQ(Control<QTabWidget>(form, "Pages")->currentIndex(), pgParams);
  EXPECT_EQ(Status().State, stReady);
  EXPECT_EQ(runs, 0);  // nothing runs at start-up

  // Each keystroke parses: the DX frame follows, the box stays black.
  QTest::keyClicks(Control<QLineEdit>(form, "CallEdit"), "dl1a");
  EXPECT_EQ(Control<QLineEdit>(form, "CallEdit")->text(), "DL1A");
  const TLocation dx = Located("DL1A");
  EXPECT_EQ(Control<TCoordFrame>(form, "DxCoordFrame")->GetPoint().X, dx.X);
  EXPECT_EQ(Control<TCoordFrame>(form, "DxCoordFrame")->GetPoint().Y, dx.Y);
  EXPECT_NE(Control<QLineEdit>(form, "CallEdit")->palette().color(QPalette::Text), QColor(255, 0, 0));
  EXPECT_EQ(Control<QLabel>(form, "DxSourceLabel")->text(), "country centre");  // no callbook lists it
  EXPECT_EQ(runs, 0);

  // An unknown call of two or more characters turns red and empties the frame.
  Control<QLineEdit>(form, "CallEdit")->clear();
  QTest::keyClicks(Control<QLineEdit>(form, "CallEdit"), "Q");
  EXPECT_NE(Control<QLineEdit>(form, "CallEdit")->palette().color(QPalette::Text), QColor(255, 0, 0));
  QTest::keyClicks(Control<QLineEdit>(form, "CallEdit"), "Q");
  EXPECT_EQ(Control<QLineEdit>(form, "CallEdit")->palette().color(QPalette::Text), QColor(255, 0, 0));
  EXPECT_TRUE(Control<TCoordFrame>(form, "DxCoordFrame")->LatitudeEdit()->text().isEmpty());
  EXPECT_TRUE(Control<QLabel>(form, "DxSourceLabel")->text().isEmpty());

  Control<QLineEdit>(form, "CallEdit")->clear();
  QTest::keyClicks(Control<QLineEdit>(form, "CallEdit"), "JA1XYZ");
  EXPECT_EQ(Control<QLineEdit>(form, "CallEdit")->text(), "JA1XYZ");  // the frame's own notice did not clear it
  QTest::keyClick(Control<QLineEdit>(form, "CallEdit"), Qt::Key_Return);
  EXPECT_EQ(Control<QTabWidget>(form, "Pages")->currentIndex(), pgChart);
  EXPECT_EQ(form->windowTitle(), " SNR, short path to JA1XYZ");
  EXPECT_EQ(Status().State, stComputing);
  EXPECT_TRUE(Control<TStatusImage>(form, "StatusImage")->HandCursor());
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(Status().State, stDone);
  EXPECT_EQ(Control<TStatusImage>(form, "StatusImage")->toolTip(), "Done");
  EXPECT_EQ(runs, 1);

  const TVoaEngine& voaEngine = form->Controller().Engine();
  EXPECT_EQ(voaEngine.JobInputs().RxLat, Located("JA1XYZ").Y);
  EXPECT_EQ(voaEngine.JobInputs().TxLon, -79 * 180);
  TRgbImage expected;
  PaintChart(voaEngine.PointResults(), TChartOptions{true, false}, expected);
  EXPECT_EQ(Control<TChartFrame>(form, "ChartFrame")->ChartBitmap, expected);
  // The Params tab names the bands open at the clock's hour.
  const QString now = QString("%1 UTC: ").arg(int(std::fmod(clock.Utc, 1.0) * 24), 2, 10, QChar('0'));
  EXPECT_TRUE(Control<TStatusLabel>(form, "NowLabel")->FullText().startsWith(now) &&
              Control<TStatusLabel>(form, "NowLabel")->FullText().contains(" MHz "))
      << Control<TStatusLabel>(form, "NowLabel")->FullText().toStdString();
  TRgbImage empty;
  PaintChart(TPointResults(), TChartOptions{true, false}, empty);
  EXPECT_NE(expected, empty);

  // ChartChange reaches the clients after the handler, not inside it.
  EXPECT_TRUE(vxtest::WaitUntil([&] { return !events.isEmpty(); }));
  EXPECT_EQ(events, QStringList{"3"});

  // The same inputs through vantor-cli give the same pixels.
  const TVoaInputs& in = voaEngine.JobInputs();
  const std::string bmp = root + "cli.bmp";
  const std::string antenna = AntennaFileAt(
      voaEngine.AntennaFiles(), Control<QComboBox>(form, "TxAntennaList" + QString::number(0))->currentIndex());
  for (int b = 0; b < kBandCount; ++b) {
    ASSERT_EQ(in.TxAntenna[b], Control<QComboBox>(form, "TxAntennaList" + QString::number(0))->currentIndex());
    ASSERT_EQ(in.RxAntenna[b], Control<QComboBox>(form, "TxAntennaList" + QString::number(0))->currentIndex());
  }
  const std::string cmd = std::string("XDG_CONFIG_HOME=") + root + "cli " + VX_CLI + " chart --home 44,-79 --dx " +
                          std::to_string(in.RxLat / 180) + "," + std::to_string(in.RxLon / 180) + " --year " +
                          std::to_string(in.Year) + " --month " + std::to_string(in.Month) + " --ssn " +
                          std::to_string(in.Ssn) + " --tx-antenna " + antenna + " --rx-antenna " + antenna +
                          " --best-hour --bmp " + bmp + " --voacap " + VX_FAKE_VOACAP + " --itshfbc " + itshfbc +
                          " >/dev/null 2>&1";
  const int st = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0) << cmd;
  auto cli = DecodeBmp(ReadWholeFile(bmp).value_or(""));
  ASSERT_TRUE(cli);
  EXPECT_EQ(*cli, Control<TChartFrame>(form, "ChartFrame")->ChartBitmap);
}

TEST_F(MainFormTest, EditingTheDxFrameByHandClearsTheCall) {
  Make();
  QTest::keyClicks(Control<QLineEdit>(form, "CallEdit"), "G4ABC");
  ASSERT_FALSE(Control<QLineEdit>(form, "CallEdit")->text().isEmpty());
  Control<TCoordFrame>(form, "DxCoordFrame")->LatitudeEdit()->selectAll();
  QTest::keyClicks(Control<TCoordFrame>(form, "DxCoordFrame")->LatitudeEdit(), "1");
  EXPECT_TRUE(Control<QLineEdit>(form, "CallEdit")->text().isEmpty());

  QTest::keyClicks(Control<QLineEdit>(form, "CallEdit"), "G4ABC");
  Control<TCoordFrame>(form, "DxCoordFrame")->LongitudeEdit()->selectAll();
  QTest::keyClicks(Control<TCoordFrame>(form, "DxCoordFrame")->LongitudeEdit(), "1");  // the longitude box tells nobody
  EXPECT_EQ(Control<TCoordFrame>(form, "DxCoordFrame")->LongitudeEdit()->text(), "1");
  EXPECT_EQ(Control<QLineEdit>(form, "CallEdit")->text(), "G4ABC");
  Control<TCoordFrame>(form, "DxCoordFrame")->EastWestButton()->click();
  EXPECT_TRUE(Control<QLineEdit>(form, "CallEdit")->text().isEmpty());

  // A click on the map moves DX and clears the call as well; with Ctrl, home.
  QTest::keyClicks(Control<QLineEdit>(form, "CallEdit"), "G4ABC");
  emit Control<TMapFrame>(form, "MapFrame")->LocationClicked(TLocation{10 * 180, 50 * 180}, false);
  EXPECT_TRUE(Control<QLineEdit>(form, "CallEdit")->text().isEmpty());
  EXPECT_EQ(Control<TCoordFrame>(form, "DxCoordFrame")->GetPoint().Y, 50 * 180);
  emit Control<TMapFrame>(form, "MapFrame")->LocationClicked(TLocation{-3 * 180, 40 * 180}, true);
  EXPECT_EQ(Control<TCoordFrame>(form, "HomeCoordFrame")->GetPoint().X, -3 * 180);
}

TEST_F(MainFormTest, ThePathFactsFollowTheDxPoint) {
  Make();
  auto facts = [&] { return Control<TStatusLabel>(form, "PathFactsLabel")->toolTip(); };
  QTest::keyClicks(Control<QLineEdit>(form, "CallEdit"), "G4ABC");
  EXPECT_TRUE(facts().contains("DX country England")) << facts().toStdString();
  EXPECT_TRUE(facts().contains("Short path")) << facts().toStdString();
  EXPECT_TRUE(facts().contains("prefix list")) << facts().toStdString();
  // The status bar keeps the distance and bearing in view.
  EXPECT_TRUE(Control<QLabel>(form, "PathBriefLabel")->text().contains(" km, "));
  emit Control<TMapFrame>(form, "MapFrame")->LocationClicked(TLocation{10 * 180, 50 * 180}, false);
  EXPECT_FALSE(facts().contains("country")) << facts().toStdString();
  EXPECT_TRUE(facts().contains("DX") && facts().contains("mean solar time")) << facts().toStdString();
  Control<QLineEdit>(form, "CallEdit")->setText("QQ");  // unknown: no DX position, no facts
  EXPECT_TRUE(facts().isEmpty()) << facts().toStdString();
}

TEST_F(MainFormTest, LocatorsBesideTheFramesAndHomeTypedInTheQthBox) {
  Make();
  QLabel* homeLocator = Control<QLabel>(form, "HomeLocatorLabel");
  QLabel* dxLocator = Control<QLabel>(form, "DxLocatorLabel");
  QLineEdit* qth = Control<QLineEdit>(form, "QthEdit");
  // A call moves the DX frame; its label follows.
  QTest::keyClicks(Control<QLineEdit>(form, "CallEdit"), "JA1ABC");
  EXPECT_EQ(dxLocator->text(), "PM96aa");  // 36 N 138 E, the frame's whole degrees
  Control<QLineEdit>(form, "CallEdit")->clear();
  EXPECT_EQ(dxLocator->text(), "");  // no position, no locator

  // Typed into the home frame by hand.
  TCoordFrame* home = Control<TCoordFrame>(form, "HomeCoordFrame");
  home->LatitudeEdit()->selectAll();
  QTest::keyClicks(home->LatitudeEdit(), "51");
  home->LongitudeEdit()->selectAll();
  QTest::keyClicks(home->LongitudeEdit(), "0");
  EXPECT_EQ(homeLocator->text(), "JO01aa");

  // The QTH box: a locator, a call or degrees, on Enter.
  for (const char* typed : {"fn31pr", "41.7N 72.7W"}) {
    qth->clear();
    QTest::keyClicks(qth, typed);
    QTest::keyClick(qth, Qt::Key_Return);
    EXPECT_EQ(home->GetPoint().Y, 42 * 180) << typed;
    EXPECT_EQ(home->GetPoint().X, -73 * 180) << typed;
    EXPECT_EQ(homeLocator->text(), "FN32ma") << typed;
    EXPECT_NE(qth->palette().color(QPalette::Text), QColor(Qt::red)) << typed;
  }
  qth->clear();
  QTest::keyClicks(qth, "ja1abc");
  QTest::keyClick(qth, Qt::Key_Return);
  EXPECT_EQ(home->GetPoint().X, Located("JA1ABC").X);
  EXPECT_EQ(home->GetPoint().Y, Located("JA1ABC").Y);
  EXPECT_EQ(homeLocator->text(), "PM96aa");
  qth->clear();
  QTest::keyClicks(qth, "QQ1XYZ");
  QTest::keyClick(qth, Qt::Key_Return);
  EXPECT_EQ(qth->palette().color(QPalette::Text), QColor(Qt::red));
  EXPECT_TRUE(qth->toolTip().contains("QQ1XYZ"));
  EXPECT_EQ(homeLocator->text(), "PM96aa");
  EXPECT_EQ(runs, 0);
}

TEST_F(MainFormTest, AFirstStartAsksWhereTheStationIsUntilItIsAPosition) {
  askForHome = true;
  shell.TextAnswers = {"QQ1XYZ", "fn31pr"};
  Make();
  ASSERT_EQ(shell.TextQuestions.size(), 2);
  EXPECT_TRUE(shell.TextQuestions[0].contains("call sign or grid locator"));
  EXPECT_TRUE(shell.TextQuestions[1].contains("QQ1XYZ"));  // the reason, then the question again
  EXPECT_EQ(Control<TCoordFrame>(form, "HomeCoordFrame")->GetPoint().Y, 42 * 180);
  EXPECT_EQ(Control<TCoordFrame>(form, "HomeCoordFrame")->GetPoint().X, -73 * 180);
  EXPECT_EQ(Control<QLabel>(form, "HomeLocatorLabel")->text(), "FN32ma");
  form.reset();

  // Cancelled: home stays where the settings put it.
  shell.TextQuestions.clear();
  Make();
  EXPECT_EQ(shell.TextQuestions.size(), 1);
  EXPECT_EQ(Control<TCoordFrame>(form, "HomeCoordFrame")->GetPoint().Y, 44 * 180);
  EXPECT_EQ(runs, 0);
}

TEST_F(MainFormTest, MapsComeFromTheCacheTheSecondTime) {
  Make();
  Control<QTabWidget>(form, "Pages")->setCurrentIndex(pgMap);
  EXPECT_EQ(form->windowTitle(), " S/N Ratio Prediction Map");
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(Status().State, stDone);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(Control<TMapFrame>(form, "MapFrame")->Model.GridCopy.size(), 16u);  // Low resolution by default
  EXPECT_TRUE(vxtest::WaitUntil([&] { return events.contains("2"); }));

  Control<QTabWidget>(form, "Pages")->setCurrentIndex(pgSettings);
  Control<QTabWidget>(form, "Pages")->setCurrentIndex(pgMap);
  EXPECT_EQ(Status().State, stDone);
  EXPECT_EQ(runs, 1);  // the same inputs: served from the cache

  // Another band or resolution is another map.
  Control<TMapFrame>(form, "MapFrame")->BandButton(5)->click();
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(runs, 2);
  Control<QButtonGroup>(form, "ResolutionGroup")->button(1)->click();
  Control<QTabWidget>(form, "Pages")->setCurrentIndex(pgSettings);
  Control<QTabWidget>(form, "Pages")->setCurrentIndex(pgMap);
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(runs, 3);
  EXPECT_EQ(Control<TMapFrame>(form, "MapFrame")->Model.GridCopy.size(), 31u);
}

TEST_F(MainFormTest, ClickOnTheSpinningIndicatorCancels) {
  Make();
  setenv("VOACAP_FAKE_DELAY_MS", "5000", 1);
  Control<TStatusImage>(form, "StatusImage")->Clicked();  // not spinning: nothing happens
  EXPECT_EQ(Status().State, stReady);

  QTest::keyClicks(Control<QLineEdit>(form, "CallEdit"), "VK2AB");
  QTest::keyClick(Control<QLineEdit>(form, "CallEdit"), Qt::Key_Enter);
  ASSERT_EQ(Status().State, stComputing);
  form->Controller().AnimateStatus();  // what the 150 ms timer runs
  form->Model().StatusChanged();
  const int frame = Control<TStatusImage>(form, "StatusImage")->Frame();
  EXPECT_GE(frame, 2);
  QTest::mouseClick(Control<TStatusImage>(form, "StatusImage"), Qt::LeftButton);
  EXPECT_EQ(Status().State, stFailed);
  EXPECT_EQ(Control<TStatusImage>(form, "StatusImage")->Frame(), 1);
  EXPECT_EQ(Control<TStatusImage>(form, "StatusImage")->toolTip(), "Computations cancelled");
  EXPECT_EQ(StatusBarText(), "No chart: Computations cancelled");
  EXPECT_TRUE(form->windowTitle().startsWith(" Vantor "));  // the blank chart is not named
  EXPECT_FALSE(Control<TStatusImage>(form, "StatusImage")->HandCursor());
  EXPECT_FALSE(form->Controller().Engine().Running());
  EXPECT_TRUE(vxtest::WaitUntil([&] { return events.contains("1"); }));
  ASSERT_TRUE(vxtest::DeliverPosted());
  EXPECT_FALSE(events.contains("3"));  // the cancelled run reports nothing

  // A cancelled last prediction leaves the settings file alone.
  EXPECT_TRUE(form->FormDestroy());
  EXPECT_FALSE(FileExists(settingsFile));
}

TEST_F(MainFormTest, SettingsAreNotWrittenAfterAFailedPrediction) {
  WriteSettingsFile("[User]\r\nTxPower=5\r\n");
  Make();
  setenv("VOACAP_FAKE_EXIT", "3", 1);
  Control<QSpinBox>(form, "PowerSpin")->setValue(700);
  QTest::keyClicks(Control<QLineEdit>(form, "CallEdit"), "DL1A");
  QTest::keyClick(Control<QLineEdit>(form, "CallEdit"), Qt::Key_Return);
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(Status().State, stFailed);
  EXPECT_TRUE(form->FormDestroy());
  EXPECT_EQ(ReadWholeFile(settingsFile).value_or(""), "[User]\r\nTxPower=5\r\n");

  // A good run afterwards makes the engine ready again: then they are written.
  unsetenv("VOACAP_FAKE_EXIT");
  form->Controller().ComputeChart();
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(Status().State, stDone);
  EXPECT_TRUE(form->FormDestroy());
  EXPECT_EQ(TIniFile::Load(settingsFile).ReadInteger("User", "TxPower", 0), 700);
}

TEST_F(MainFormTest, SettingsRoundTripThroughTheControls) {
  // Antenna models the engine lists; one that the file names was deleted.
  MakeDirectories(itshfbc + "antennas/Vantor");
  WriteWholeFile(itshfbc + "antennas/Vantor/Yagi.ant", "Three-element Yagi\r\n");
  WriteSettingsFile(
      "[VOACAP]\r\nProgram=keep-me\r\n"
      "[Window]\r\nLeft=-99\r\nTop=120\r\n"
      "[Settings]\r\nMapStyle=2\r\nGridSize=7\r\nShowMuf=1\r\nShowBestHour=0\r\nShowSun=1\r\nShowPath=0\r\nUseKp=1\r\n"
      "[User]\r\nLongitude=-14289\r\nLatitude=7857\r\nTxPower=1500\r\n"
      "[RX Antennas]\r\nAnt0=Yagi.ant\r\nAnt3=Deleted.ant\r\n"
      "[TX Antennas]\r\nAnt7=Yagi.ant\r\n");
  Make();
  const TAlStringList& files = form->Controller().Engine().AntennaFiles();
  const int yagi = files.IndexOf("Yagi.ant");
  ASSERT_GT(yagi, 0);
  EXPECT_EQ(Control<QComboBox>(form, "RxAntennaList" + QString::number(0))->currentIndex(), yagi);
  EXPECT_EQ(Control<QComboBox>(form, "RxAntennaList" + QString::number(3))->currentIndex(),
            0);  // deleted: the first of the list
  EXPECT_EQ(Control<QComboBox>(form, "TxAntennaList" + QString::number(7))->currentIndex(), yagi);
  // Not in the file: the default antenna, which the shipped models include.
  EXPECT_EQ(Control<QComboBox>(form, "TxAntennaList" + QString::number(0))->currentIndex(),
            SelectAntenna(files, "Dipole55.N14"));
  EXPECT_GT(files.IndexOf("Dipole55.N14"), 0);
  EXPECT_EQ(Control<QComboBox>(form, "RxAntennaList" + QString::number(0))->itemText(yagi), "Three-element Yagi");
  EXPECT_EQ(Control<QButtonGroup>(form, "MapStyleGroup")->checkedId(), 2);
  EXPECT_EQ(Control<TMapFrame>(form, "MapFrame")->Model.MapStyle, msPseudo);
  EXPECT_EQ(Control<QButtonGroup>(form, "ResolutionGroup")->checkedId(), 2);  // GridSize 7 selects Low
  EXPECT_TRUE(Control<QCheckBox>(form, "PlotMufBox")->isChecked() &&
              Control<QAction>(form, "PlotMufItem")->isChecked());
  EXPECT_FALSE(Control<QCheckBox>(form, "MarkBestHourBox")->isChecked() ||
               Control<QAction>(form, "MarkBestHourItem")->isChecked());
  EXPECT_TRUE(Control<QAction>(form, "ShowSunItem")->isChecked() && Control<TMapFrame>(form, "MapFrame")->ShowSun);
  EXPECT_FALSE(Control<QAction>(form, "PlotPathItem")->isChecked());
  EXPECT_TRUE(Control<QCheckBox>(form, "UseKpBox")->isChecked());
  EXPECT_EQ(Control<QSpinBox>(form, "PowerSpin")->value(), 1500);
  EXPECT_EQ(Control<TCoordFrame>(form, "HomeCoordFrame")->GetPoint().X, -79 * 180);

  form->move(30, 40);
  ASSERT_TRUE(form->FormDestroy());
  const TIniFile saved = TIniFile::Load(settingsFile);
  EXPECT_EQ(saved.ReadString("VOACAP", "Program"), "keep-me");
  EXPECT_EQ(saved.ReadInteger("Window", "Left", 0), 30);
  EXPECT_EQ(saved.ReadInteger("Window", "Top", 0), 40);
  EXPECT_EQ(saved.ReadInteger("Settings", "GridSize", -1), 2);
  EXPECT_EQ(saved.ReadInteger("User", "Longitude", 0), -14220);  // whole degrees after one save
  EXPECT_EQ(saved.ReadInteger("User", "Latitude", 0), 7920);
  EXPECT_EQ(saved.ReadString("RX Antennas", "Ant0"), "Yagi.ant");
  EXPECT_EQ(saved.ReadString("RX Antennas", "Ant3"), files[0]);
  EXPECT_EQ(saved.ReadString("TX Antennas", "Ant7"), "Yagi.ant");
  const TVantorSettings again = ReadSettings(saved);
  EXPECT_EQ(again, form->Model().CurrentSettings());

  // GridSize -3 selects High.
  WriteSettingsFile("[Settings]\r\nGridSize=-3\r\n");
  Make();
  EXPECT_EQ(Control<QButtonGroup>(form, "ResolutionGroup")->checkedId(), 0);
}

TEST_F(MainFormTest, EngineNotReadyExplainsAndSavesNothing) {
  engine = TEngineChoice::Voacapl;  // the built-in engine would stand in otherwise
  Make(false, "/nowhere/voacapl");
  EXPECT_FALSE(form->FormCreate());
  EXPECT_EQ(Status().State, stFailed);
  ASSERT_EQ(shell.Questions.size(), 1);
  EXPECT_TRUE(shell.Questions[0].contains("/nowhere/voacapl")) << shell.Questions[0].toStdString();
  EXPECT_TRUE(shell.Questions[0].contains("Open the VOACAP download page?"));
  EXPECT_TRUE(shell.Urls.isEmpty());  // answered No
  EXPECT_FALSE(FileExists(settingsFile));

  shell.Answer = true;
  std::filesystem::remove_all(itshfbc);
  Make(false);
  EXPECT_FALSE(form->FormCreate());
  ASSERT_EQ(shell.Questions.size(), 2);
  EXPECT_TRUE(shell.Questions[1].contains("makeitshfbc")) << shell.Questions[1].toStdString();
  ASSERT_EQ(shell.Urls.size(), 1);
  EXPECT_EQ(shell.Urls[0].toStdString(), form->Controller().Engine().DownloadPage());
}

TEST_F(MainFormTest, WithNothingInstalledTheBuiltInEngineAnswersTheFirstEnter) {
  Make(false, "/nowhere/voacapl");
  ASSERT_TRUE(form->FormCreate());
  EXPECT_TRUE(shell.Questions.isEmpty());
  EXPECT_TRUE(form->windowTitle().endsWith("(built-in engine)")) << form->windowTitle().toStdString();
  Control<QLineEdit>(form, "CallEdit")->setText("JA1XYZ");
  QTest::keyClick(Control<QLineEdit>(form, "CallEdit"), Qt::Key_Return);
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(Status().State, stDone);
  EXPECT_EQ(runs, 0);  // no child process
  EXPECT_FALSE(IsResetValue(form->Controller().Engine().PointResults().Snr[14][12]));
  // Choosing voacapl, which is not there, says so at once; Automatic brings
  // the built-in engine back, and the choice is kept on close.
  auto choose = [&](TEngineChoice choice) {
    Control<QComboBox>(form, "EngineBox")->setCurrentIndex(int(choice));
    emit Control<QComboBox>(form, "EngineBox")->activated(int(choice));
  };
  choose(TEngineChoice::Voacapl);
  EXPECT_FALSE(form->Controller().Engine().Builtin());
  EXPECT_EQ(shell.Questions.size(), 1);
  EXPECT_TRUE(Control<TStatusLabel>(form, "EngineLabel")->FullText().startsWith("None usable"))
      << Control<TStatusLabel>(form, "EngineLabel")->FullText().toStdString();
  choose(TEngineChoice::Auto);
  EXPECT_TRUE(form->Controller().Engine().Builtin());
  EXPECT_EQ(Status().State, stReady);
  ASSERT_TRUE(form->FormDestroy());
  EXPECT_NE(ReadWholeFile(settingsFile).value_or("").find("Engine=auto"), std::string::npos);
}

TEST_F(MainFormTest, AntennaListsShowWholeNames) {
  Make();
  QComboBox* list = Control<QComboBox>(form, "TxAntennaList" + QString::number(3));
  ASSERT_GT(list->count(), 1);
  int widest = 0;
  for (int k = 0; k < list->count(); ++k)
    widest = std::max(widest, list->view()->fontMetrics().horizontalAdvance(list->itemText(k)));
  EXPECT_GE(list->view()->minimumWidth(), widest);
  EXPECT_GT(widest, list->width());  // a name longer than the box, shown whole in the list
}

TEST_F(MainFormTest, ContextMenuItemsPerTabAndCtrl) {
  Make();
  auto shown = [&] {
    QStringList s;
    for (QAction* a : Control<QMenu>(form, "PopupMenu")->actions())
      if (a->isVisible()) s << (a->isSeparator() ? "-" : a->text());
    return s;
  };
  setenv("VOACAP_FAKE_DELAY_MS", "2000", 1);  // the tabs start predictions; they need not finish
  Control<QTabWidget>(form, "Pages")->setCurrentIndex(pgChart);
  for (bool ctrl : {false, true}) {
    form->PreparePopup(ctrl);
    EXPECT_EQ(shown(), QStringList({"Plot MUF", "Mark Best Hour", "-", "Save Image..."})) << ctrl;
  }
  Control<QTabWidget>(form, "Pages")->setCurrentIndex(pgMap);
  form->PreparePopup(false);
  EXPECT_EQ(shown(), QStringList({"Show Sun", "Plot Path", "-", "Pre-Compute Maps...", "Save Image..."}));
  form->PreparePopup(true);
  EXPECT_EQ(shown(), QStringList({"Show Sun", "Plot Path", "-", "Pre-Compute Maps...", "Save Image...", "-",
                                  "Maximum Over Hours", "Maximum Over Bands", "Maximum Maximorum", "Generate GIF's"}));

  // Save Image writes the picture of the tab it is on, with its legend and
  // a title saying what it shows.
  Control<QAction>(form, "SaveImageItem")->trigger();
  EXPECT_EQ(shell.SavedImages, 1);
  const TMapModel& map = form->Model().Map;
  const auto title = PictureTitle(MapFacts(form->Model()));
  ASSERT_GE(title.size(), 2u);
  EXPECT_EQ(title[0], "Home " + FormatCoordinates(form->Model().Inputs.Home));
  EXPECT_EQ(shell.SavedImage, DecorateMap(map.MapBitmap, map.MapStyle, {1, title}).Image);
  form->Controller().CancelPrediction();
}

TEST_F(MainFormTest, OptionsAgreeBetweenCheckBoxAndMenu) {
  Make();
  ASSERT_FALSE(Control<QCheckBox>(form, "PlotMufBox")->isChecked());
  Control<QCheckBox>(form, "PlotMufBox")->click();
  EXPECT_TRUE(Control<QCheckBox>(form, "PlotMufBox")->isChecked() &&
              Control<QAction>(form, "PlotMufItem")->isChecked());
  EXPECT_TRUE(Control<TChartFrame>(form, "ChartFrame")->Options.PlotMuf);
  Control<QAction>(form, "PlotMufItem")->trigger();
  EXPECT_FALSE(Control<QCheckBox>(form, "PlotMufBox")->isChecked() ||
               Control<QAction>(form, "PlotMufItem")->isChecked());
  EXPECT_FALSE(Control<TChartFrame>(form, "ChartFrame")->Options.PlotMuf);

  // A double click on the chart turns "Mark Best Hour" (on by default).
  ASSERT_TRUE(Control<QAction>(form, "MarkBestHourItem")->isChecked());
  emit Control<TChartFrame>(form, "ChartFrame")->BoxDblClick();
  EXPECT_FALSE(Control<QCheckBox>(form, "MarkBestHourBox")->isChecked() ||
               Control<QAction>(form, "MarkBestHourItem")->isChecked());

  Control<QAction>(form, "PlotPathItem")->trigger();
  EXPECT_TRUE(Control<QCheckBox>(form, "PlotPathBox")->isChecked() && Control<TMapFrame>(form, "MapFrame")->PlotPath);
  Control<QCheckBox>(form, "ShowSunBox")->click();
  EXPECT_TRUE(Control<QAction>(form, "ShowSunItem")->isChecked() && Control<TMapFrame>(form, "MapFrame")->ShowSun);
  Control<QButtonGroup>(form, "MapStyleGroup")->button(1)->click();
  EXPECT_EQ(Control<TMapFrame>(form, "MapFrame")->Model.MapStyle, msGray);
}

TEST_F(MainFormTest, KpRuleReadsTheBoxes) {
  Make();
  Control<QSpinBox>(form, "SsnSpin")->setValue(120);
  Control<QSpinBox>(form, "KpSpin")->setValue(8);
  form->Controller().SyncEngineInputs();
  EXPECT_EQ(form->Controller().Engine().Inputs().Ssn, 120);  // Use Kp is off
  Control<QCheckBox>(form, "UseKpBox")->setChecked(true);
  form->Controller().SyncEngineInputs();
  EXPECT_EQ(form->Controller().Engine().Inputs().Ssn, 0);
  Control<QSpinBox>(form, "KpSpin")->setValue(7);
  form->Controller().SyncEngineInputs();
  EXPECT_EQ(form->Controller().Engine().Inputs().Ssn, 120);
}

TEST_F(MainFormTest, MonthButtonsStepWithAutoRepeat) {
  Make();
  // The clock says December 2026; the shipped table has it.
  EXPECT_EQ(Control<QLabel>(form, "MonthLabel")->text(), "Dec 2026");
  emit Control<QToolButton>(form, "MonthForwardButton")->pressed();
  EXPECT_EQ(Control<QLabel>(form, "MonthLabel")->text(), "Jan 2027");
  EXPECT_EQ(Control<QTimer>(form, "MonthTimer")->remainingTime() > 200, true);  // the first repeat waits a second
  clock.Ms += 999;
  QMetaObject::invokeMethod(Control<QTimer>(form, "MonthTimer"), "timeout");
  EXPECT_EQ(Control<QLabel>(form, "MonthLabel")->text(), "Jan 2027");
  clock.Ms += 1;
  QMetaObject::invokeMethod(Control<QTimer>(form, "MonthTimer"), "timeout");
  EXPECT_EQ(Control<QLabel>(form, "MonthLabel")->text(), "Feb 2027");
  EXPECT_LE(Control<QTimer>(form, "MonthTimer")->interval(), 200);  // then five a second
  clock.Ms += 200;
  QMetaObject::invokeMethod(Control<QTimer>(form, "MonthTimer"), "timeout");
  EXPECT_EQ(Control<QLabel>(form, "MonthLabel")->text(), "Mar 2027");
  emit Control<QToolButton>(form, "MonthBackButton")->released();
  EXPECT_FALSE(Control<QTimer>(form, "MonthTimer")->isActive());
  clock.Ms += 200;
  QMetaObject::invokeMethod(Control<QTimer>(form, "MonthTimer"), "timeout");
  EXPECT_EQ(Control<QLabel>(form, "MonthLabel")->text(), "Mar 2027");

  // Held at either end of the table, the month stays there.
  for (int i = 0; i < 2000; ++i) form->Model().StepMonth(TStepDirection::sdBack);
  const QString first = Control<QLabel>(form, "MonthLabel")->text();
  emit Control<QToolButton>(form, "MonthBackButton")->pressed();
  clock.Ms += 1000;
  QMetaObject::invokeMethod(Control<QTimer>(form, "MonthTimer"), "timeout");
  EXPECT_EQ(Control<QLabel>(form, "MonthLabel")->text(), first);
  emit Control<QToolButton>(form, "MonthBackButton")->released();
  for (int i = 0; i < 2000; ++i) form->Model().StepMonth(TStepDirection::sdForward);
  const QString last = Control<QLabel>(form, "MonthLabel")->text();
  emit Control<QToolButton>(form, "MonthForwardButton")->pressed();
  EXPECT_EQ(Control<QLabel>(form, "MonthLabel")->text(), last);
  emit Control<QToolButton>(form, "MonthBackButton")->released();
  EXPECT_NE(first, last);

  // The month and its SSN reach the engine.
  form->Model().StepMonth(TStepDirection::sdCurrent);
  form->Controller().SyncEngineInputs();
  EXPECT_EQ(form->Controller().Engine().Inputs().Year, 2026);
  EXPECT_EQ(form->Controller().Engine().Inputs().Month, 12);
  EXPECT_EQ(form->Controller().Engine().Inputs().Ssn, Control<QSpinBox>(form, "SsnSpin")->value());
}

TEST_F(MainFormTest, DownloadSsnRunsKestrixWhereThereIsOne) {
  auto runner = std::make_unique<vxtest::TQueuedRunner>();
  vxtest::TQueuedRunner& queued = *runner;
  kestrixRunner = std::move(runner);
  kestrix = VX_FAKE_VOACAP;  // any program that is there; it is never run here
  Make();
  Control<QToolButton>(form, "SsnSourceButton")->click();
  ASSERT_EQ(queued.Pending.size(), 1u);
  EXPECT_EQ(queued.Pending[0].Program, kestrix);
  EXPECT_EQ(queued.Pending[0].Arguments, std::vector<std::string>{"6"});
  EXPECT_TRUE(shell.Urls.isEmpty());
}

TEST_F(MainFormTest, DesktopButtonsOpenTheirPages) {
  Make();
  Control<QToolButton>(form, "SsnSourceButton")->click();
  Control<QToolButton>(form, "KpSourceButton")->click();
  ASSERT_EQ(shell.Urls.size(), 2);
  // The current source of predicted sunspot numbers, over HTTPS.
  EXPECT_EQ(shell.Urls[0], "https://services.swpc.noaa.gov/json/solar-cycle/predicted-solar-cycle.json");
  EXPECT_TRUE(shell.Urls[1].endsWith("/ftpdir/latest/DGD.txt"));
  QTest::mouseClick(Control<QLabel>(form, "HeaderLabel"), Qt::LeftButton);
  EXPECT_EQ(shell.Urls.size(), 3);
  EXPECT_EQ(Control<QLabel>(form, "HeaderLabel")->toolTip(), "Click to open the Vantor web site");

  // No monitor and no map program here: each toggle asks, then comes back up.
  shell.Answer = true;
  Control<QToolButton>(form, "MonitorButton")->click();
  EXPECT_FALSE(Control<QToolButton>(form, "MonitorButton")->isChecked());
  EXPECT_TRUE(shell.Questions.last().contains("Sunsentry"));
  EXPECT_TRUE(shell.Urls.last().endsWith("?Vantor"));
  Control<QToolButton>(form, "MapProgramButton")->click();
  EXPECT_FALSE(Control<QToolButton>(form, "MapProgramButton")->isChecked());
  EXPECT_TRUE(shell.Questions.last().contains("Geomira"));
  EXPECT_EQ(shell.Urls.size(), 5);

  // "View pattern" names the model selected in its row, with its band.
  QSignalSpy pattern(form.get(), &TMainForm::PatternRequested);
  Control<QComboBox>(form, "RxAntennaList" + QString::number(2))->setCurrentIndex(1);
  Control<QToolButton>(form, "RxPatternBtn" + QString::number(2))->click();
  ASSERT_EQ(pattern.size(), 1);
  const TVoaEngine& voaEngine = form->Controller().Engine();
  EXPECT_EQ(pattern[0][0].toString().toStdString(), voaEngine.AntennaFolder() + voaEngine.AntennaFiles()[1]);
  EXPECT_EQ(pattern[0][1].toInt(), 2);
  EXPECT_EQ(Control<QToolButton>(form, "RxPatternBtn" + QString::number(2))->text(), "10");
  EXPECT_EQ(Control<QToolButton>(form, "RxPatternBtn" + QString::number(2))->toolTip(), "View pattern");
}

TEST_F(MainFormTest, ClosingWithAutomationClientsOnlyHides) {
  Make();
  form->show();
  form->AutomationClients = 1;
  EXPECT_FALSE(form->close());
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(events, QStringList{"0"});  // ExitRequest at once
  form->show();
  form->ShuttingDown = true;
  EXPECT_TRUE(form->close());
  form->ShuttingDown = false;
  form->AutomationClients = 0;
  form->show();
  EXPECT_TRUE(form->close());
}

TEST_F(MainFormTest, TheClockMovesTheTimeLineAndTheMapHour) {
  Make();
  Control<TMapFrame>(form, "MapFrame")->Model.MapHour = 5;
  Control<TMapFrame>(form, "MapFrame")->SetRealTime(true);
  clock.Utc = EncodeDayCount({2026, 12, 7, 18, 0, 0});
  form->Controller().ClockTick(clock.Utc);
  EXPECT_EQ(Control<TMapFrame>(form, "MapFrame")->Model.MapHour, 18);
  const TRgbImage shown = Control<TChartFrame>(form, "ChartFrame")->Surface();
  for (int y = 0; y < kChartHeight; ++y) ASSERT_EQ(shown.Pixel(252, y), (TRgb{255, 255, 255})) << y;
  ASSERT_TRUE(WaitDone());  // the new hour's map
  EXPECT_EQ(runs, 1);
}

TEST_F(MainFormTest, AnUnknownCallComputesNothingAndSaysSo) {
  Make();
  QTest::keyClicks(Control<QLineEdit>(form, "CallEdit"), "Q1ABC");
  ASSERT_EQ(Control<QLineEdit>(form, "CallEdit")->palette().color(QPalette::Text), QColor(255, 0, 0));
  QTest::keyClick(Control<QLineEdit>(form, "CallEdit"), Qt::Key_Return);
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(Status().State, stFailed);
  EXPECT_EQ(StatusBarText(), "No chart: Q1ABC is an unknown call, there is no DX position.");
  EXPECT_TRUE(form->windowTitle().startsWith(" Vantor ")) << form->windowTitle().toStdString();
  EXPECT_TRUE(vxtest::WaitUntil([&] { return events.contains("1"); }));  // clients hear of it

  // Half a position is no position either; a whole one computes.
  Control<TCoordFrame>(form, "DxCoordFrame")->LatitudeEdit()->setText("10");
  form->Controller().ComputeChart();
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(StatusBarText(), "No chart: no DX position. Type a call sign or the DX coordinates.");
  Control<TCoordFrame>(form, "DxCoordFrame")->LongitudeEdit()->setText("20");
  form->Controller().ComputeChart();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(StatusBarText(), "");
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(Status().State, stDone);
  EXPECT_EQ(form->Controller().Engine().JobInputs().RxLat, 10 * 180);
}

TEST_F(MainFormTest, AFailedRunSaysWhatHappenedInTheStatusBar) {
  Make();
  setenv("VOACAP_FAKE_EXIT", "3", 1);
  QTest::keyClicks(Control<QLineEdit>(form, "CallEdit"), "DL1A");
  QTest::keyClick(Control<QLineEdit>(form, "CallEdit"), Qt::Key_Return);
  EXPECT_EQ(form->windowTitle(), " SNR, short path to DL1A");
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(Status().State, stFailed);
  const QString said = "No chart: " + QString::fromLatin1(form->Controller().Engine().StatusText());
  EXPECT_EQ(StatusBarText(), said);
  EXPECT_EQ(form->statusBar()->toolTip(), said);  // whole, whatever the bar's width
  EXPECT_TRUE(form->windowTitle().startsWith(" Vantor "));
  // The next run takes the words away.
  unsetenv("VOACAP_FAKE_EXIT");
  QTest::keyClick(Control<QLineEdit>(form, "CallEdit"), Qt::Key_Return);
  EXPECT_EQ(StatusBarText(), "");
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(form->windowTitle(), " SNR, short path to DL1A");
}

TEST_F(MainFormTest, GifsLeaveTheMapItsControlsNameAndSayWhereTheyWent) {
  Make();
  form->Controller().SyncEngineInputs();
  TVoaEngine& voaEngine = form->Controller().Engine();
  TVoaInputs in = voaEngine.Inputs();
  auto store = [&](int hour, int band) {
    in.Hour = hour, in.Band = band;
    TVoaGrid grid = MakeGrid(in.GridSize);
    for (auto& column : grid)
      for (auto& cell : column) cell.Snr = float(band * 24 + hour);
    ASSERT_TRUE(SaveAreaCache(root + "cache/", voaEngine.ReadAreaCacheKey(in), grid));
  };
  for (int b = 0; b < kBandCount; ++b)
    for (int h = 0; h < 24; ++h)
      if (b != 7 || h != 23) store(h, b);
  form->Model().SetMapBand(3);  // 14 MHz
  form->Model().SetMapHour(19);
  const std::string gifs = GifFolder();

  // One map missing: the message, no file, the map untouched.
  Control<QAction>(form, "GifsItem")->trigger();
  ASSERT_EQ(shell.Errors.size(), 1);
  EXPECT_EQ(shell.Errors[0], "Data missing, run Pre-Compute Maps.");
  EXPECT_FALSE(DirectoryExists(gifs));
  EXPECT_TRUE(Control<TMapFrame>(form, "MapFrame")->Model.GridCopy.empty());

  store(23, 7);
  Control<QAction>(form, "GifsItem")->trigger();
  EXPECT_EQ(shell.Errors.size(), 1);
  EXPECT_EQ(StatusBarText(), QString::fromStdString("192 GIF files and 8 animations written to " + gifs));
  EXPECT_TRUE(FileExists(gifs + "23UT-28MHz.gif"));
  // The controls say 14 MHz at 19 UTC, and so does the map.
  EXPECT_EQ(Control<TMapFrame>(form, "MapFrame")->Model.MapBand, 3);
  EXPECT_EQ(Control<TMapFrame>(form, "MapFrame")->Model.MapHour, 19);
  ASSERT_FALSE(Control<TMapFrame>(form, "MapFrame")->Model.GridCopy.empty());
  EXPECT_FLOAT_EQ(Control<TMapFrame>(form, "MapFrame")->Model.GridCopy[0][0].Snr, 3 * 24 + 19);
  EXPECT_EQ(runs, 0);
}

TEST_F(MainFormTest, ClosingAfterACancelledRunNamesTheChangesAndKeepsThemIfAsked) {
  WriteSettingsFile("[User]\r\nTxPower=5\r\n");
  auto cancelledRunThenChanges = [&] {
    Make();
    form->show();
    setenv("VOACAP_FAKE_DELAY_MS", "5000", 1);
    QTest::keyClicks(Control<QLineEdit>(form, "CallEdit"), "VK2AB");
    QTest::keyClick(Control<QLineEdit>(form, "CallEdit"), Qt::Key_Return);
    QTest::mouseClick(Control<TStatusImage>(form, "StatusImage"), Qt::LeftButton);
    ASSERT_EQ(form->Controller().Engine().Status(), vsCancelled);
    Control<QSpinBox>(form, "PowerSpin")->setValue(700);
    Control<QButtonGroup>(form, "MapStyleGroup")->button(1)->click();
  };
  cancelledRunThenChanges();
  // Cancel: the window stays.
  shell.ThreeWay = anCancel;
  EXPECT_FALSE(form->close());
  EXPECT_TRUE(form->isVisible());
  ASSERT_EQ(shell.Questions.size(), 1);
  const QString asked = shell.Questions[0];
  EXPECT_TRUE(asked.contains("cancelled")) << asked.toStdString();
  EXPECT_TRUE(asked.contains("map style, power")) << asked.toStdString();
  // No: the rule holds, the file stays as it was.
  shell.ThreeWay = anNo;
  EXPECT_TRUE(form->close());
  EXPECT_TRUE(form->FormDestroy());
  EXPECT_EQ(ReadWholeFile(settingsFile).value_or(""), "[User]\r\nTxPower=5\r\n");

  // Yes: they are written.
  cancelledRunThenChanges();
  shell.ThreeWay = anYes;
  EXPECT_TRUE(form->close());
  EXPECT_TRUE(form->FormDestroy());
  const TIniFile saved = TIniFile::Load(settingsFile);
  EXPECT_EQ(saved.ReadInteger("User", "TxPower", 0), 700);
  EXPECT_EQ(saved.ReadInteger("Settings", "MapStyle", 0), 1);

  // Nothing changed since start-up: nothing to ask.
  shell.Questions.clear();
  Make();
  form->show();
  QTest::keyClicks(Control<QLineEdit>(form, "CallEdit"), "VK2AB");
  QTest::keyClick(Control<QLineEdit>(form, "CallEdit"), Qt::Key_Return);
  QTest::mouseClick(Control<TStatusImage>(form, "StatusImage"), Qt::LeftButton);
  EXPECT_TRUE(form->close());
  EXPECT_TRUE(shell.Questions.isEmpty());
}
