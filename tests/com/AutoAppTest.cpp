// The automation members over the prediction controller and the headless
// window: clamps, effects and events, without a bus.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/WindowModel.h"
#include "com/AutoApp.h"
#include "com/AutoMembers.h"
#include "common/FileUtil.h"
#include "common/TextUtil.h"
#include "refdata/CallParser.h"
#include "support/QueuedRunners.h"
#include "support/StandInEngine.h"
#include "support/VoacapFolder.h"
#include "views/BmpFile.h"

using namespace vx;

namespace {

struct AutoAppFixture : testing::Test {
  std::string data, cache;
  vxtest::TQueuedRunner* runner = nullptr;
  TUnavailableMonitor monitor;
  THiddenFace face;
  std::unique_ptr<TWindowModel> window;
  TPredictionController* ctl = nullptr;
  std::unique_ptr<TVantorApp> app;

  void SetUp() override {
    data = vxtest::FreshVoacapFolder("auto-" + vxtest::CaseName());
    cache = vxtest::FreshFolder("auto-" + vxtest::CaseName() + "-cache");
    auto r = std::make_unique<vxtest::TQueuedRunner>();
    runner = r.get();
    auto engine = vxtest::StandInEngine(std::move(r), data);
    TSessionSetup setup;
    setup.CacheFolder = cache;
    TSessionServices services;
    services.Monitor = &monitor;
    window = std::make_unique<TWindowModel>(setup, std::move(services), std::move(engine));
    window->Solar.Months().SetSsnList("Mar 2008=50\nNov 2009=12.5\nDec 2009=13.5\n");
    window->Solar.SelectMonth(2008, 3, 0);
    window->SetFace(&face);
    ctl = &window->Controller();
    app = std::make_unique<TVantorApp>(*window, 0x10002);
  }
  std::vector<TClientEvent> Events() {
    auto q = ctl->TakeClientEvents();
    return {q.begin(), q.end()};
  }
};

std::string ZeroLines() {
  std::string line;
  for (int h = 0; h < 24; ++h) line += h ? ",0" : "0";
  std::string all;
  for (int b = 0; b < 8; ++b) all += line + "\r";
  return all;
}

}  // namespace

TEST_F(AutoAppFixture, PageClampsAndStartsNothing) {
  app->SetPage(7);
  EXPECT_EQ(app->Page(), pgAnt);
  EXPECT_EQ(window->Page, pgAnt);
  app->SetPage(-3);
  EXPECT_EQ(app->Page(), pgParams);
  app->SetPage(pgMap);
  app->SetPage(pgChart);
  EXPECT_EQ(runner->Started, 0);
  EXPECT_TRUE(Events().empty());
  // The caption follows the tab, although nothing was computed.
  EXPECT_EQ(window->Title.rfind(" SNR, short path to ", 0), 0u);
}

TEST_F(AutoAppFixture, HourAndBandClampOrAreIgnored) {
  window->Map.RealTime = true;
  app->SetHour(30);
  EXPECT_EQ(app->Hour(), 23);
  EXPECT_FALSE(app->RealtimeClock());
  app->SetHour(-1);
  EXPECT_EQ(app->Hour(), 0);
  app->SetBand(5);
  EXPECT_EQ(app->Band(), 5);
  EXPECT_EQ(window->Map.MapBand, 5);
  app->SetBand(9);  // no such band: nothing changes, no failure
  app->SetBand(-1);
  EXPECT_EQ(app->Band(), 5);
  EXPECT_EQ(runner->Started, 0);
}

TEST_F(AutoAppFixture, CoordinatesReadBackAsTheFramesHoldThem) {
  app->SetDxLat(45.6);
  EXPECT_DOUBLE_EQ(app->DxLat(), 46.0);
  app->SetDxLon(-73.5);  // halves go to the even degree
  EXPECT_DOUBLE_EQ(app->DxLon(), -74.0);
  EXPECT_DOUBLE_EQ(app->DxLat(), 46.0);  // the other coordinate stays
  app->SetHomeLon(-200);
  EXPECT_DOUBLE_EQ(app->HomeLon(), -180.0);
  app->SetHomeLat(95);
  EXPECT_DOUBLE_EQ(app->HomeLat(), 90.0);
  app->SetHomeLat(std::numeric_limits<double>::quiet_NaN());
  EXPECT_DOUBLE_EQ(app->HomeLat(), 0.0);
  EXPECT_DOUBLE_EQ(app->HomeLon(), -180.0);
  // What the engine gets is what reads back.
  ctl->SyncEngineInputs();
  EXPECT_EQ(ctl->Engine().Inputs().RxLat, 46 * 180);
  EXPECT_EQ(ctl->Engine().Inputs().RxLon, -74 * 180);
  EXPECT_EQ(ctl->Engine().Inputs().TxLon, -180 * 180);
}

TEST_F(AutoAppFixture, LocatorsMoveTheFramesAsCoordinatesDo) {
  // FN31pr's centre, 41.73 N 72.71 W, as a frame holds it: 42 N 73 W.
  app->SetHomeLocator(" fn31PR ");
  EXPECT_DOUBLE_EQ(app->HomeLat(), 42.0);
  EXPECT_DOUBLE_EQ(app->HomeLon(), -73.0);
  EXPECT_EQ(app->HomeLocator(), "FN32ma");
  app->SetDxLocator("PM95");
  EXPECT_DOUBLE_EQ(app->DxLat(), 36.0);  // 35.5 N goes to the even degree
  EXPECT_DOUBLE_EQ(app->DxLon(), 139.0);
  EXPECT_EQ(app->DxLocator(), "PM96ma");
  app->SetDxLocator("RR99xx99");
  EXPECT_DOUBLE_EQ(app->DxLat(), 90.0);
  EXPECT_DOUBLE_EQ(app->DxLon(), 180.0);
  EXPECT_EQ(app->DxLocator(), "RR99xx");
  // What the engine gets is what reads back.
  ctl->SyncEngineInputs();
  EXPECT_EQ(ctl->Engine().Inputs().TxLat, 42 * 180);
  EXPECT_EQ(ctl->Engine().Inputs().RxLon, 180 * 180);

  // Junk is refused and moves nothing.
  for (const char* junk : {"", "FN3", "SS00aa", "FN31pr4", "44,-79", "JA1ABC"})
    EXPECT_THROW(app->SetHomeLocator(junk), TAutomationError) << junk;
  EXPECT_EQ(app->HomeLocator(), "FN32ma");
  EXPECT_EQ(runner->Started, 0);
}

TEST_F(AutoAppFixture, ALocatorForTheDxLetsGoOfTheCall) {
  TCallParser parser(TCallParserVariant::pvMain);
  parser.SetPrefixFile(VX_BIN_DIR "/Prefix.lst");
  ctl->SetCallParser(&parser);
  app->SetDxCall("G3ABC");
  EXPECT_NE(app->DxLocator(), "");
  app->SetDxLocator("JJ00aa");
  EXPECT_EQ(app->DxCall(), "");
  EXPECT_EQ(app->DxLocator(), "JJ00aa");
  // An unknown call empties the frame: no locator to read.
  app->SetDxCall("QQ");
  EXPECT_EQ(app->DxLocator(), "");
  EXPECT_EQ(runner->Started, 0);
}

TEST_F(AutoAppFixture, NumbersClampIntoTheirBoxes) {
  app->SetKp(0);
  EXPECT_EQ(app->Kp(), 1);
  app->SetKp(12);
  EXPECT_EQ(app->Kp(), 9);
  app->SetSsn(500);
  EXPECT_EQ(app->Ssn(), 400);
  app->SetSsn(-60);
  EXPECT_EQ(app->Ssn(), -50);
  app->SetTxPower(0);
  EXPECT_EQ(app->TxPower(), 1);
  app->SetTxPower(100000);
  EXPECT_EQ(app->TxPower(), 9999);
  app->SetMapStyle(5);
  EXPECT_EQ(app->MapStyle(), msPseudo);
  app->SetMapResolution(-2);
  EXPECT_EQ(app->MapResolution(), 0);
  // The property numbers the radio group; the engine computes a grid size.
  ctl->SyncEngineInputs();
  EXPECT_EQ(ctl->Engine().Inputs().GridSize, 61);
  app->SetMapResolution(1);
  ctl->SyncEngineInputs();
  EXPECT_EQ(ctl->Engine().Inputs().GridSize, 31);
  EXPECT_EQ(app->MapResolution(), 1);
}

TEST_F(AutoAppFixture, CallSignSetsTheDxFrameAndAFrameEditClearsTheCall) {
  TCallParser parser(TCallParserVariant::pvMain);
  parser.SetPrefixFile(VX_BIN_DIR "/Prefix.lst");
  ctl->SetCallParser(&parser);
  app->SetDxCall("g3abc");
  EXPECT_EQ(app->DxCall(), "G3ABC");  // the box holds capitals
  EXPECT_FALSE(window->CallRed);
  EXPECT_GT(app->DxLat(), 49.0);  // somewhere in England
  EXPECT_LT(app->DxLat(), 56.0);
  EXPECT_EQ(app->DxLat(), std::round(app->DxLat()));  // whole degrees
  app->SetDxLat(10);
  EXPECT_EQ(app->DxCall(), "");
  app->SetDxCall("QQ");
  EXPECT_TRUE(window->CallRed);
  EXPECT_DOUBLE_EQ(app->DxLat(), 0.0);  // the emptied frame reads 0
  EXPECT_EQ(runner->Started, 0);
  // ...but is no position: a chart is refused, not computed for 0 N 0 E.
  app->PredictPoint();
  EXPECT_EQ(runner->Started, 0);
  EXPECT_EQ(Events(), std::vector<TClientEvent>{ceError});
  EXPECT_NE(ctl->Status().Message.find("QQ is an unknown call"), std::string::npos) << ctl->Status().Message;
}

TEST_F(AutoAppFixture, PathFactsFollowTheFramesAndTheCall) {
  ASSERT_EQ(
      window->Parser().PrefixList.LoadFromText("h\nh\nh\n0100|-13315|7335|United States|K|NA|5|8|5.0|291||||K|\n"),
      TLoadStatus::lsOk);
  window->Parser().CallList.SetSorted(true);
  app->SetHomeLat(52);
  app->SetHomeLon(0);
  app->SetDxCall("K1ABC");  // 41 N 74 W
  EXPECT_EQ(app->DxCountry(), "United States");
  EXPECT_NEAR(app->DistanceKm(), 5541, 10);
  EXPECT_NEAR(app->BearingShort(), 288.3, 0.5);
  EXPECT_NEAR(app->BearingLong(), 108.3, 0.5);
  app->SetDxLon(-73);  // a typed position is nobody's country
  EXPECT_EQ(app->DxCountry(), "");
  EXPECT_LT(app->DistanceKm(), 5541);
  app->SetDxCall("QQ");  // no position at all
  EXPECT_EQ(app->DistanceKm(), -1);
  EXPECT_EQ(app->BearingShort(), -1);
  EXPECT_EQ(app->DxCountry(), "");
  EXPECT_EQ(runner->Started, 0);  // reading the facts computes nothing
}

TEST_F(AutoAppFixture, ChartDataBeforeAnyPredictionIsZeros) { EXPECT_EQ(app->ChartData(), ZeroLines()); }

TEST_F(AutoAppFixture, PredictPointSelectsTheChartAndReportsChartChange) {
  window->Call = "K1ABC";
  app->PredictPoint();
  EXPECT_EQ(app->Page(), pgChart);
  EXPECT_EQ(window->Page, pgChart);
  EXPECT_EQ(window->Title, " SNR, short path to K1ABC");
  EXPECT_TRUE(app->JobRunning());
  EXPECT_TRUE(Events().empty());  // nothing until the job ends
  ASSERT_TRUE(runner->Complete());
  EXPECT_FALSE(app->JobRunning());
  EXPECT_EQ(Events(), std::vector<TClientEvent>{ceChartChange});
  // The rows of the bands' whole megahertz, hours 0..23.
  const std::string text = app->ChartData();
  EXPECT_EQ(text, TVantorApp::ChartDataText(ctl->Engine().PointResults()));
  std::vector<std::string> lines;
  for (size_t p = 0, q; (q = text.find('\r', p)) != std::string::npos; p = q + 1)
    lines.push_back(text.substr(p, q - p));
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(text.find('\n'), std::string::npos);
  const auto& snr = ctl->Engine().PointResults().Snr;
  EXPECT_EQ(lines[6].substr(0, lines[6].find(',')), std::to_string(RoundToInt32(snr[25][0])));
  EXPECT_NE(text, ZeroLines());
}

TEST(ChartDataText, RoundsHalvesToEven) {
  TPointResults r;
  r.Snr[3][0] = 12.5f;
  r.Snr[3][1] = 13.5f;
  r.Snr[3][2] = -2.5f;
  r.Snr[3][24] = 99;  // hour 24 is not read
  r.Snr[28][23] = 7.4f;
  const std::string text = TVantorApp::ChartDataText(r);
  EXPECT_EQ(text.substr(0, 9), "12,14,-2,");
  EXPECT_EQ(text.find("99"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 3), ",7\r");
}

TEST_F(AutoAppFixture, PredictAreaFromTheCacheFiresMapChangeWithoutARun) {
  app->PredictArea();
  EXPECT_EQ(app->Page(), pgMap);
  ASSERT_TRUE(runner->Complete());
  EXPECT_EQ(Events(), std::vector<TClientEvent>{ceMapChange});
  EXPECT_FALSE(window->Map.NormGrid.Empty());
  app->PredictArea();
  EXPECT_EQ(runner->Started, 1);
  EXPECT_FALSE(app->JobRunning());
  EXPECT_EQ(Events(), std::vector<TClientEvent>{ceMapChange});
}

TEST_F(AutoAppFixture, ImagesAreWhatTheViewsHoldAndUnwritableFilesFail) {
  const std::string dir = vxtest::FreshFolder("auto-images");
  app->SaveChartImage(dir + "empty.bmp");
  app->PredictArea();
  ASSERT_TRUE(runner->Complete());
  app->SaveMapImage(dir + "map.bmp");
  auto chart = DecodeBmp(*ReadWholeFile(dir + "empty.bmp"));
  auto map = DecodeBmp(*ReadWholeFile(dir + "map.bmp"));
  ASSERT_TRUE(chart && map);
  EXPECT_EQ(chart->Width, kChartWidth);
  EXPECT_EQ(*map, window->Map.MapBitmap);
  EXPECT_EQ(map->Width, kMapWidth);
  try {
    app->SaveChartImage(dir + "no/such/folder/chart.bmp");
    FAIL() << "no error";
  } catch (const TAutomationError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot write " + dir + "no/such/folder/chart.bmp");
  }
  EXPECT_THROW(app->SaveMapImage(""), TAutomationError);
}

TEST_F(AutoAppFixture, MonthIsSelectedFromTheTableAndImpossibleMonthsFail) {
  EXPECT_EQ(app->Ssn(), 50);
  app->SetYearMonth(2009, 11);
  EXPECT_EQ(app->YearMonth(), "Nov 2009");
  EXPECT_EQ(app->Ssn(), 12);  // the table's 12.5, halves to even
  app->SetYearMonth(2009, 12);
  EXPECT_EQ(app->Ssn(), 14);
  EXPECT_THROW(app->SetYearMonth(2009, 13), TAutomationError);
  EXPECT_THROW(app->SetYearMonth(2009, 0), TAutomationError);
  EXPECT_THROW(app->SetYearMonth(20090, 1), TAutomationError);
  EXPECT_EQ(app->YearMonth(), "Dec 2009");
  // A month the table lacks is an error reply, and the month stays: the
  // next prediction must not compute another month under its name.
  EXPECT_THROW(app->SetYearMonth(2030, 1), TAutomationError);
  EXPECT_THROW(app->SetYearMonth(2100, 6), TAutomationError);
  EXPECT_EQ(app->YearMonth(), "Dec 2009");
  ctl->SyncEngineInputs();
  EXPECT_EQ(ctl->Engine().Inputs().Month, 12);
  EXPECT_EQ(ctl->Engine().Inputs().Year, 2009);
  EXPECT_EQ(ctl->Engine().Inputs().Ssn, 14);
}

TEST_F(AutoAppFixture, AnEmptySunspotTableTakesEveryMonthWithSsnZero) {
  window->Solar.Months().SetSsnList("");
  app->SetYearMonth(2030, 1);
  EXPECT_EQ(app->YearMonth(), "Jan 2030");
  app->SetYearMonth(2031, 7);
  EXPECT_EQ(app->YearMonth(), "Jul 2031");
  EXPECT_EQ(app->Ssn(), 0);
}

TEST_F(AutoAppFixture, OptionsReadWhatTheWindowHolds) {
  app->SetShowMuf(true);
  app->SetShowMuf(false);
  EXPECT_FALSE(app->ShowMuf());
  window->PlotMufOn = true;  // the user ticked it in the window
  EXPECT_TRUE(app->ShowMuf());
  app->SetMarkBestHour(true);
  EXPECT_TRUE(window->MarkBestHourOn);
  window->MarkBestHourOn = false;
  EXPECT_FALSE(app->MarkBestHour());
  app->SetShowSun(true);
  app->SetShowPath(true);
  app->SetLongPath(true);
  app->SetUseKp(true);
  app->SetRealtimeClock(true);
  EXPECT_TRUE(app->ShowSun() && app->ShowPath() && app->LongPath() && app->UseKp() && app->RealtimeClock());
  app->SetVisible(true);
  app->SetLeft(40);
  app->SetTop(60);
  EXPECT_TRUE(app->Visible());
  EXPECT_EQ(app->Left(), 40);
  EXPECT_EQ(app->Top(), 60);
  app->BringToFront();
  EXPECT_EQ(face.Raised, 1);
  EXPECT_EQ(app->Version(), 0x10002);
  // Without sibling programs the toggles stay up.
  app->SetGeomiraOn(true);
  app->SetSunsentryOn(true);
  EXPECT_FALSE(app->GeomiraOn() || app->SunsentryOn());
}

TEST_F(AutoAppFixture, EveryWritablePropertyReadsBackThroughTheTable) {
  for (const TAutoProperty& p : AutomationProperties()) {
    ASSERT_TRUE(p.Get) << p.Name;
    const TBusValue before = p.Get(*app);
    EXPECT_EQ(char(p.Type), "idbs"[before.index()]) << p.Name;
    if (p.Set) {
      EXPECT_NO_THROW(p.Set(*app, before)) << p.Name;
    }
    // Writing what was read changes nothing (RealtimeClock aside, nothing
    // here starts or stops anything either).
    EXPECT_EQ(p.Get(*app), before) << p.Name;
  }
  EXPECT_EQ(runner->Started, 0);
  EXPECT_FALSE(FindAutoProperty("YearMonth")->Set);
  EXPECT_FALSE(FindAutoProperty("ChartData")->Set);
  EXPECT_FALSE(FindAutoProperty("Version")->Set);
  EXPECT_EQ(FindAutoMethod("SetYearMonth")->Arguments, "ii");
  EXPECT_EQ(FindAutoMethod("Release")->Call, nullptr);
  EXPECT_EQ(FindAutoProperty("NoSuch"), nullptr);
}
