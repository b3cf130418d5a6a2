// The window model's user actions without a window: what it tells its face,
// and when it offers a sibling program's download page.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <vector>

#include "FakeMonitor.h"
#include "app/Session.h"
#include "app/SolarIndices.h"
#include "app/Version.h"
#include "app/WindowModel.h"
#include "common/FileUtil.h"
#include "common/Paths.h"
#include "refdata/CallParser.h"
#include "refdata/ClBook.h"
#include "support/QueuedRunners.h"
#include "support/StandInEngine.h"
#include "support/TestClock.h"
#include "support/VoacapFolder.h"

using namespace vx;

namespace {

// Records what the model shows and asks; answers questions as told.
struct TRecordingFace final : IWindowFace {
  std::vector<uint32_t> Shown;
  std::vector<std::string> Questions, Urls, Errors, Logged;
  bool Answer = false;
  bool Visible = false;

  bool Saw(uint32_t part) const {
    for (uint32_t s : Shown)
      if (s & part) return true;
    return false;
  }
  void Show(uint32_t parts) override { Shown.push_back(parts); }
  bool FrameVisible() const override { return Visible; }
  void SetFrameVisible(bool) override {}
  int FrameLeft() const override { return 0; }
  int FrameTop() const override { return 0; }
  void MoveFrame(int, int) override {}
  void RaiseFrame() override {}
  void FocusCall() override {}
  void ShowError(const std::string& text) override { Errors.push_back(text); }
  void Log(const std::string& text) override { Logged.push_back(text); }
  bool AskYesNo(const std::string&, const std::string& text) override {
    Questions.push_back(text);
    return Answer;
  }
  TAnswerKind AskYesNoCancel(const std::string&, const std::string&) override { return TAnswerKind::akCancel; }
  void OpenUrl(const std::string& url) override { Urls.push_back(url); }
};

// A map program that may refuse to connect.
struct TFakeMapProgram final : IMapProgram {
  bool Reachable = true;
  bool On = false;
  int Sent = 0;
  bool Active() const override { return On; }
  bool SetActive(bool on) override {
    On = on && Reachable;
    return On == on;
  }
  void SendMap(const TVoaGrid&) override { ++Sent; }
};

struct WindowModelFixture : testing::Test {
  test::TFakeMonitor monitor;
  TFakeMapProgram mapProgram;
  TRecordingFace face;
  vxtest::TTestClock clock;
  vxtest::TQueuedRunner* runner = nullptr;
  std::unique_ptr<TWindowModel> model;

  void SetUp() override {
    const std::string data = vxtest::FreshVoacapFolder("model-" + vxtest::CaseName());
    auto r = std::make_unique<vxtest::TQueuedRunner>();
    runner = r.get();
    TSessionServices services;
    services.Monitor = &monitor;
    services.MapProgram = &mapProgram;
    services.Clock = &clock;
    model =
        std::make_unique<TWindowModel>(TSessionSetup{}, std::move(services), vxtest::StandInEngine(std::move(r), data));
    model->Solar.Months().SetSsnList("Mar 2008=50\nApr 2008=60\n");
    model->Solar.SelectMonth(2008, 3, 0);
    model->SetFace(&face);
  }
};

}  // namespace

TEST_F(WindowModelFixture, AMissingMonitorIsOfferedToTheUserButNeverToAClient) {
  monitor.Connects = false;
  model->SetMonitorOn(true);  // an automation client
  EXPECT_TRUE(face.Questions.empty());
  EXPECT_FALSE(model->MonitorOn());
  EXPECT_TRUE(face.Saw(wpToggles));

  face.Answer = true;
  model->ToggleMonitor(true, true);  // the user
  ASSERT_EQ(face.Questions.size(), 1u);
  EXPECT_EQ(face.Questions[0], kMonitorMissingQuestion);
  ASSERT_EQ(face.Urls.size(), 1u);
  EXPECT_EQ(face.Urls[0], MonitorDownloadPage(kVantorName));
  EXPECT_FALSE(model->MonitorOn());
}

TEST_F(WindowModelFixture, AConnectedMonitorFillsTheIndicesTheFaceShows) {
  model->ToggleMonitor(true, true);
  EXPECT_TRUE(model->MonitorOn());
  EXPECT_EQ(model->Solar.Ssn(), 120);
  EXPECT_EQ(model->Solar.Kp(), 4);
  EXPECT_TRUE(face.Saw(wpSolar));
  face.Shown.clear();
  model->SpaceWeatherMonitorLeft();
  EXPECT_TRUE(face.Saw(wpSolar) && face.Saw(wpToggles));
  EXPECT_FALSE(model->Solar.SsnLime());
}

TEST_F(WindowModelFixture, TheMapProgramIsOfferedOnlyWhenAUserAsksAndGetsAMapOnceConnected) {
  mapProgram.Reachable = false;
  model->SetMapProgramOn(true);  // a client
  EXPECT_TRUE(face.Questions.empty());
  model->ToggleMapProgram(true, true);
  ASSERT_EQ(face.Questions.size(), 1u);
  EXPECT_EQ(face.Questions[0], kMapProgramMissingQuestion);
  EXPECT_TRUE(face.Urls.empty());  // the user said No
  EXPECT_EQ(runner->Started, 0);

  // Connected with no map shown: one is computed for it.
  mapProgram.Reachable = true;
  model->ToggleMapProgram(true, true);
  EXPECT_TRUE(model->MapProgramOn());
  EXPECT_EQ(runner->Started, 1);
}

TEST_F(WindowModelFixture, MonthStepsAndEditedIndicesAreShown) {
  model->StepMonth(TStepDirection::sdForward);
  EXPECT_EQ(model->Solar.MonthText(), "Apr 2008");
  EXPECT_EQ(model->ReadInputs().Month, 4);
  EXPECT_EQ(model->ReadInputs().Ssn, 60);
  model->EditSsn(500);  // clamped as the box clamps
  model->EditKp(0);
  EXPECT_EQ(model->ReadInputs().Ssn, TSolarIndices::kSsnMax);
  EXPECT_EQ(model->ReadInputs().Kp, TSolarIndices::kKpMin);
  EXPECT_EQ(face.Shown.size(), 3u);
  EXPECT_TRUE(face.Saw(wpSolar));
}

TEST_F(WindowModelFixture, AClientsValuesAreShownOnceAndClampedWhereTheControlsClamp) {
  model->SetTxPower(1500);
  model->SetCallText("G4ABC");
  model->SetMapHour(30);
  model->SetMapBand(9);  // no such band: ignored
  model->SetPlotMuf(true);
  const std::vector<uint32_t> expected = {wpInputs, wpCall, wpMap, wpOptions, wpChart};
  EXPECT_EQ(face.Shown, expected);
  EXPECT_EQ(model->ReadInputs().TxPower, 1500);
  EXPECT_EQ(model->ReadInputs().MapHour, 23);
  EXPECT_EQ(model->ReadInputs().MapBand, 3);
  EXPECT_EQ(model->CallText(), "G4ABC");
}

TEST_F(WindowModelFixture, AnEmptiedDxBoxIsNoPositionAndMovingThePointLetsGoOfTheCall) {
  model->EditCall("G4ABC");
  ASSERT_EQ(model->CallText(), "G4ABC");
  TCoordFields typed{"", "10", 'N', 'E'};
  model->EditCoordinates(false, typed, false);  // the longitude box: nobody is told
  EXPECT_EQ(model->ReadInputs().Dx.X, kNoLocationPoint.X);
  EXPECT_EQ(model->DxText(), "");
  EXPECT_EQ(model->CallText(), "G4ABC");
  typed.LatText = "51";
  model->EditCoordinates(false, typed, true);
  EXPECT_EQ(model->ReadInputs().Dx.Y, 51 * 180);
  EXPECT_EQ(model->ReadInputs().Dx.X, 10 * 180);
  EXPECT_EQ(model->CallText(), "");
  EXPECT_TRUE(face.Saw(wpCall));

  // A click on the map moves home without touching the DX frame.
  model->ClickLocation(TLocation{-3 * 180, 40 * 180}, true);
  EXPECT_EQ(model->ReadInputs().Home.X, -3 * 180);
  EXPECT_EQ(model->HomeFields().LonHemisphere, 'W');
  EXPECT_EQ(model->ReadInputs().Dx.Y, 51 * 180);
}

TEST_F(WindowModelFixture, PathFactsNameTheLookedUpCountryUntilThePointMoves) {
  ASSERT_TRUE(model->Parser().PrefixList.LoadFromText(
                  "h\nh\nh\n0100|24908|6552|Japan|JA|AS|25|45|-9.0|339||||JA|\r\n") == TLoadStatus::lsOk);
  model->Parser().CallList.SetSorted(true);
  model->SetHomePoint(TLocation{0, 51 * 180});
  model->EditCall("JA1ABC");
  auto facts = model->PathFacts();
  ASSERT_TRUE(facts);
  EXPECT_EQ(facts->DxCountry, "Japan");
  EXPECT_TRUE(facts->Dx.Clock.FromPrefixList);
  EXPECT_EQ(facts->Dx.Clock.UtcOffsetHours, 9);
  EXPECT_NEAR(facts->ShortKm, 9507, 10);  // 51 N 0 E to 36 N 138 E: the frame holds whole degrees
  EXPECT_NEAR(facts->BearingShort, 32.9, 0.5);
  // The clock is the model's: 10:30 UTC is 19:30 in Japan.
  EXPECT_NEAR(DayFraction(facts->Dx.LocalTime) * 24, 19.5, 1e-6);

  TCoordFields moved = model->DxFields();
  moved.LatText = "35";
  model->EditCoordinates(false, moved, true);
  facts = model->PathFacts();
  ASSERT_TRUE(facts);
  EXPECT_EQ(facts->DxCountry, "");
  EXPECT_FALSE(facts->Dx.Clock.FromPrefixList);
  EXPECT_EQ(facts->Dx.Clock.UtcOffsetHours, 9);  // 138 E by the sun

  model->EditCall("QQ");  // an unknown call empties the DX frame
  EXPECT_FALSE(model->PathFacts());
}

TEST_F(WindowModelFixture, AHeldMonthButtonRepeatsAfterASecondThenFiveTimesASecond) {
  EXPECT_EQ(model->PressMonth(TStepDirection::sdForward), TAutoRepeat::kFirstDelayMs);
  EXPECT_EQ(model->Solar.MonthText(), "Apr 2008");
  clock.Ms += 999;
  EXPECT_EQ(model->RepeatMonth(), 1);
  EXPECT_EQ(model->Solar.MonthText(), "Apr 2008");
  clock.Ms += 1;
  EXPECT_EQ(model->RepeatMonth(), TAutoRepeat::kRepeatMs);
  EXPECT_EQ(model->Solar.MonthText(), "Apr 2008");  // the table ends there
  model->ReleaseMonth();
  EXPECT_EQ(model->RepeatMonth(), std::nullopt);
  EXPECT_EQ(model->PressMonth(TStepDirection::sdBack), TAutoRepeat::kFirstDelayMs);
  EXPECT_EQ(model->Solar.MonthText(), "Mar 2008");
}

TEST_F(WindowModelFixture, TheMapFollowsTheClockOnlyInRealTime) {
  // The clock says 10:30 UTC.
  model->SetMapHour(4);
  model->FollowClock();
  EXPECT_EQ(model->Map.MapHour, 4);
  EXPECT_EQ(runner->Started, 0);
  model->SetRealTime(true);
  model->FollowClock();
  EXPECT_EQ(model->Map.MapHour, 10);
  EXPECT_EQ(runner->Started, 1);  // the map of the new hour
  model->FollowClock();
  EXPECT_EQ(runner->Started, 1);
}

TEST_F(WindowModelFixture, AMapProgramsErrorIsABoxOnlyForAWindowSomebodySees) {
  model->MapProgramError("no map program");  // a window the bus started, hidden
  EXPECT_TRUE(face.Errors.empty());
  EXPECT_EQ(face.Logged, std::vector<std::string>{"no map program"});
  face.Visible = true;
  model->MapProgramError("again");
  EXPECT_EQ(face.Errors, std::vector<std::string>{"again"});
}

TEST_F(WindowModelFixture, ALicenseeInACallbookIsTheDxPointAndItsSourceIsShown) {
  ASSERT_EQ(model->Parser().PrefixList.LoadFromText("h\nh\nh\n0100|-16560|6660|United States|K|||||291||||K,N,W|\n"),
            TLoadStatus::lsOk);
  // A callbook in the reference folder, under a call no other case types.
  const std::string folder = ReferenceFolder();
  ASSERT_TRUE(MakeDirectories(folder));
  TCallbookEntry e;
  e.SetCall("KD9ZZQ");
  e.SetRegion("CA9404");
  e.Lat = 6736;    // 37.42 degrees
  e.Lon = -21974;  // -122.08 degrees
  ASSERT_TRUE(WriteFileAtomic(folder + "FccCB.idx", EncodeCallbookIndex({e})));
  ASSERT_TRUE(WriteFileAtomic(folder + "FccCB.dat",
                              "EN|1|||KD9ZZQ|L|L1|NAME|FIRST|M|LAST|||||1 MAIN ST|CITY|CA|94043|||000|\r\n"));
  struct TCleanup {
    std::string Folder;
    ~TCleanup() {
      RemoveFile(Folder + "FccCB.idx");
      RemoveFile(Folder + "FccCB.dat");
    }
  } cleanup{folder};

  model->EditCall("KD9ZZQ");
  EXPECT_EQ(model->DxSource, "FCC licence, ZIP 94043");
  EXPECT_EQ(model->ReadInputs().Dx.Y, 37 * 180);
  EXPECT_EQ(model->ReadInputs().Dx.X, -122 * 180);
  EXPECT_EQ(model->CallRed, false);
  EXPECT_TRUE(face.Saw(wpDx));
  model->EditCall("KD9ZZ");  // one letter less: the prefix list's point
  EXPECT_EQ(model->DxSource, "country centre");
  EXPECT_EQ(model->ReadInputs().Dx.X, -92 * 180);

  // A point from anywhere else has no source to name.
  model->EditCall("KD9ZZQ");
  face.Shown.clear();
  TCoordFields typed = model->DxFields();
  typed.LonText = "121";
  model->EditCoordinates(false, typed, false);
  EXPECT_EQ(model->DxSource, "");
  EXPECT_TRUE(face.Saw(wpDx));
  model->EditCall("KD9ZZQ");
  model->ClickLocation(TLocation{10 * 180, 50 * 180}, false);
  EXPECT_EQ(model->DxSource, "");
  model->EditCall("QQ");
  EXPECT_EQ(model->DxSource, "");
  EXPECT_EQ(model->DxText(), "");

  // A damaged callbook leaves the prefix's point and says why.
  ASSERT_TRUE(WriteFileAtomic(folder + "FccCB.idx", EncodeCallbookIndex({e}) + "x"));
  model->EditCall("KD9ZZQ");
  EXPECT_EQ(model->DxSource, "country centre");
  EXPECT_NE(model->DxNotes.find("FccCB.idx"), std::string::npos);
}

TEST_F(WindowModelFixture, HomeTypedAsALocatorACallOrDegreesMovesTheHomeFrameOnly) {
  LoadCallLists(model->Parser(), std::string(VX_BIN_DIR) + "/");
  model->EditCall("G4ABC");
  const TLocation dx = model->ReadInputs().Dx;
  struct Case {
    const char* Text;
    int Lat, Lon;  // whole degrees, as the frame holds them
  } cases[] = {{"FN31pr", 42, -73}, {"44.2N 79.6W", 44, -80}, {"-33.87, 151.21", -34, 151}};
  for (const Case& c : cases) {
    face.Shown.clear();
    EXPECT_EQ(model->EnterHome(c.Text), "") << c.Text;
    EXPECT_EQ(model->ReadInputs().Home.Y, c.Lat * 180) << c.Text;
    EXPECT_EQ(model->ReadInputs().Home.X, c.Lon * 180) << c.Text;
    EXPECT_TRUE(face.Saw(wpHome)) << c.Text;
  }
  // A call is placed as the call box places it.
  ASSERT_EQ(model->EnterHome("ja1abc"), "");
  EXPECT_EQ(model->ReadInputs().Home.Y, 36 * 180);
  EXPECT_EQ(model->ReadInputs().Home.X, 138 * 180);
  // The DX side keeps its call and its point.
  EXPECT_EQ(model->CallText(), "G4ABC");
  EXPECT_EQ(model->ReadInputs().Dx.X, dx.X);
  EXPECT_EQ(model->ReadInputs().Dx.Y, dx.Y);

  // Nothing moves for text that is no position; the reason comes back.
  for (const char* junk : {"QQ1XYZ", "95,0", ""}) {
    face.Shown.clear();
    EXPECT_NE(model->EnterHome(junk), "") << junk;
    EXPECT_EQ(model->ReadInputs().Home.Y, 36 * 180) << junk;
    EXPECT_FALSE(face.Saw(wpHome)) << junk;
  }
  EXPECT_EQ(runner->Started, 0);
}

// Kestrix keeps a sunspot table in the reference folder up to date; a
// session reads it in place of the shipped one whenever it holds months.
TEST(SessionSunspotTable, TheReferenceFolderTableWinsWhenItHoldsMonths) {
  const std::string dir = vxtest::FreshFolder("session-ssn-" + vxtest::CaseName());
  TSessionSetup setup;
  setup.DataFolder = dir + "share/";
  setup.ReferenceFolder = dir + "Reference/";
  MakeDirectories(setup.DataFolder);
  MakeDirectories(setup.ReferenceFolder);
  ASSERT_TRUE(WriteFileAtomic(setup.DataFolder + "SSN.dat", "Jan 2030=50.0\r\nFeb 2030=51.0\r\n"));
  const std::string data = vxtest::FreshVoacapFolder("session-ssn-engine-" + vxtest::CaseName());
  auto engine = vxtest::StandInEngine(std::make_unique<vxtest::TQueuedRunner>(), data);
  TCallParser parser;
  test::TFakeMonitor monitor;
  vxtest::TTestClock clock;
  TSolarIndices solar(monitor, clock);
  auto open = [&] {
    const TSessionStart start = OpenSession(setup, {*engine, parser, solar});
    return std::make_pair(solar.Months().SsnList(), start.Warnings);
  };
  const std::vector<std::string> shipped = {"Jan 2030=50.0", "Feb 2030=51.0"};

  // None there yet, or one without a single month: the shipped table.
  EXPECT_EQ(open().first, shipped);
  ASSERT_TRUE(WriteFileAtomic(setup.ReferenceFolder + "SSN.dat", "not a table\r\nJan 2030=nan\r\n"));
  EXPECT_EQ(open().first, shipped);

  // A downloaded table is taken, and its own odd lines are told with its name.
  ASSERT_TRUE(WriteFileAtomic(setup.ReferenceFolder + "SSN.dat", "Jan 2030=40.0\r\nFeb 2030=x\r\nMar 2030=42.1\r\n"));
  const auto [months, warnings] = open();
  EXPECT_EQ(months, (std::vector<std::string>{"Jan 2030=40.0", "Mar 2030=42.1"}));
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].rfind(setup.ReferenceFolder + "SSN.dat: left out 1 line", 0), 0u) << warnings[0];

  // A session without a reference folder reads only the shipped table.
  setup.ReferenceFolder.clear();
  EXPECT_EQ(open().first, shipped);
}

// "Download SSN" runs Kestrix's sunspot job; the table is read again only
// when that job is done, and the month shown stays.
TEST(SessionSunspotTable, DownloadSsnRunsKestrixAndRereadsTheTableWhenItIsDone) {
  const std::string dir = vxtest::FreshFolder("session-ssn-" + vxtest::CaseName());
  TSessionSetup setup;
  setup.DataFolder = dir + "share/";
  setup.ReferenceFolder = dir + "Reference/";
  setup.KestrixProgram = dir + "bin/kestrix";
  MakeDirectories(setup.DataFolder);
  MakeDirectories(setup.ReferenceFolder);
  MakeDirectories(dir + "bin");
  ASSERT_TRUE(WriteFileAtomic(setup.DataFolder + "SSN.dat", "Jan 2030=50.0\r\nFeb 2030=51.0\r\n"));
  // A stand-in Kestrix: exits with the code in the file beside it.
  ASSERT_TRUE(WriteFileAtomic(setup.KestrixProgram, "#!/bin/sh\nexit $(cat \"$0.code\")\n"));
  ASSERT_EQ(chmod(setup.KestrixProgram.c_str(), 0755), 0);
  const std::string data = vxtest::FreshVoacapFolder("session-ssn-engine-" + vxtest::CaseName());
  test::TFakeMonitor monitor;
  vxtest::TTestClock clock;
  auto sibling = std::make_unique<vxtest::TQueuedRunner>();
  vxtest::TQueuedRunner& kestrix = *sibling;
  TSessionServices services;
  services.Monitor = &monitor;
  services.Clock = &clock;
  services.SiblingRunner = std::move(sibling);
  TWindowModel model(setup, std::move(services),
                     vxtest::StandInEngine(std::make_unique<vxtest::TQueuedRunner>(), data));
  TRecordingFace face;
  model.SetFace(&face);
  OpenSession(model);
  ASSERT_TRUE(model.SelectMonth(2030, 2));
  EXPECT_EQ(model.Solar.Ssn(), 51);

  // A job that is not done (closed, failed): the table stays as read.
  ASSERT_TRUE(WriteFileAtomic(setup.KestrixProgram + ".code", "1"));
  model.DownloadSsnTable();
  ASSERT_EQ(kestrix.Pending.size(), 1u);
  EXPECT_EQ(kestrix.Pending[0].Program, setup.KestrixProgram);
  EXPECT_EQ(kestrix.Pending[0].Arguments, std::vector<std::string>{"6"});
  model.DownloadSsnTable();  // its window is open: nothing more starts
  EXPECT_EQ(kestrix.Started, 1);
  ASSERT_TRUE(WriteFileAtomic(setup.ReferenceFolder + "SSN.dat", "Jan 2030=40.0\r\nFeb 2030=41.0\r\n"));
  ASSERT_TRUE(kestrix.Complete());
  EXPECT_EQ(model.Solar.Ssn(), 51);

  // Done: the new table, the same month, shown.
  ASSERT_TRUE(WriteFileAtomic(setup.KestrixProgram + ".code", "0"));
  face.Shown.clear();
  model.DownloadSsnTable();
  ASSERT_TRUE(kestrix.Complete());
  EXPECT_EQ(model.Solar.MonthText(), "Feb 2030");
  EXPECT_EQ(model.Solar.Ssn(), 41);
  EXPECT_TRUE(face.Saw(wpSolar));
  EXPECT_TRUE(face.Urls.empty());

  // Without Kestrix the forecast's page opens instead.
  RemoveFile(setup.KestrixProgram);
  model.DownloadSsnTable();
  EXPECT_EQ(kestrix.Started, 2);
  EXPECT_EQ(face.Urls, std::vector<std::string>{kSsnSourceUrl});
}
