// The prediction controller, headless: a queued runner with the stand-in
// program, and a view that records what it is told.
#include <gtest/gtest.h>

#include "RecordingView.h"
#include "app/PredCtl.h"
#include "engine/Cache.h"
#include "refdata/CallParser.h"
#include "support/QueuedRunners.h"
#include "support/StandInEngine.h"
#include "support/VoacapFolder.h"

using namespace vx;

namespace {

struct ControllerFixture : testing::Test {
  std::string data, cache;
  vxtest::TQueuedRunner* runner = nullptr;
  TRecordingView view;
  std::unique_ptr<TPredictionController> ctl;

  void SetUp() override {
    data = vxtest::FreshVoacapFolder("ctl-" + vxtest::CaseName());
    cache = vxtest::FreshFolder("ctl-" + vxtest::CaseName() + "-cache");
    auto r = std::make_unique<vxtest::TQueuedRunner>();
    runner = r.get();
    auto engine = vxtest::StandInEngine(std::move(r), data);
    view.Inputs.Dx = TLocation{0, 51 * 180};
    view.Inputs.Year = 2008;
    view.Inputs.Month = 3;
    view.Inputs.Ssn = 50;
    ctl = std::make_unique<TPredictionController>(std::move(engine), cache, view);
  }
  const TVoaEngine& engine() const { return ctl->Engine(); }
  std::vector<TClientEvent> Events() {
    auto q = ctl->TakeClientEvents();
    return {q.begin(), q.end()};
  }
};

}  // namespace

TEST(ControllerRules, KpRuleRoundsTheFactorHalfToEven) {
  for (int kp = 1; kp <= 7; ++kp) EXPECT_EQ(TPredictionController::SsnAfterKp(120, kp, true), 120) << kp;
  // Kp 8: factor 0.5 rounds to 0; Kp 9: 0.4.
  EXPECT_EQ(TPredictionController::SsnAfterKp(120, 8, true), 0);
  EXPECT_EQ(TPredictionController::SsnAfterKp(120, 9, true), 0);
  EXPECT_EQ(TPredictionController::SsnAfterKp(120, 9, false), 120);
  EXPECT_EQ(TPredictionController::SsnAfterKp(-20, 5, true), -20);
}

TEST_F(ControllerFixture, SyncCopiesTheInputsInTheEnginesUnits) {
  // Antennas are named; the engine numbers them by its list.
  for (const char* file : {"Dipole.ant", "Yagi.ant"})
    ASSERT_TRUE(WriteWholeFile(ctl->Engine().AntennaFolder() + file, std::string(file) + "\r\n"));
  ctl->Engine().LoadAntennaList();
  const TAlStringList& files = engine().AntennaFiles();
  ASSERT_EQ(files.Count(), 3u);
  view.Inputs.Home = TLocation{-79 * 180, 44 * 180};
  view.Inputs.LongPath = true;
  view.Inputs.TxPower = 1500;
  view.Inputs.GridSize = 31;
  view.Inputs.MapBand = 5;
  view.Inputs.MapHour = 17;
  view.Inputs.Kp = 8;
  view.Inputs.UseKp = true;
  view.Inputs.TxAntenna[3] = "Yagi.ant";
  view.Inputs.RxAntenna[7] = "Dipole.ant";
  ctl->SyncEngineInputs();
  const TVoaInputs& in = engine().Inputs();
  EXPECT_EQ(in.TxLon, -79 * 180);
  EXPECT_EQ(in.TxLat, 44 * 180);
  EXPECT_EQ(in.RxLat, 51 * 180);
  EXPECT_TRUE(in.LongPath);
  EXPECT_EQ(in.TxPower, 1500);
  EXPECT_EQ(in.GridSize, 31);
  EXPECT_EQ(in.Band, 5);
  EXPECT_EQ(in.Hour, 17);
  EXPECT_EQ(in.Ssn, 0);  // Kp 8 with Use Kp
  EXPECT_EQ(in.Year, 2008);
  EXPECT_EQ(in.Month, 3);
  EXPECT_EQ(in.TxAntenna[3], files.IndexOf("Yagi.ant"));
  EXPECT_EQ(in.RxAntenna[7], files.IndexOf("Dipole.ant"));
  EXPECT_EQ(in.TxAntenna[0], files.IndexOf("ISOTROPE.ant"));
  EXPECT_EQ(in.RxAntenna[3], files.IndexOf("ISOTROPE.ant"));
  // No resolution chosen (a size the engine does not compute) leaves the
  // grid size as it was.
  view.Inputs.GridSize = 0;
  ctl->SyncEngineInputs();
  EXPECT_EQ(engine().Inputs().GridSize, 31);
}

TEST_F(ControllerFixture, AnAntennaTheListLacksIsRefusedNotReplaced) {
  // A model deleted since it was chosen must not be computed as another.
  view.Inputs.RxAntenna[5] = "Deleted.ant";
  ctl->ComputeChart();
  EXPECT_EQ(engine().Inputs().RxAntenna[5], -1);
  EXPECT_EQ(runner->Started, 0);
  EXPECT_EQ(ctl->Status().State, stFailed);
  EXPECT_EQ(ctl->Status().Message, "No chart: The antenna chosen for 21 MHz is not in the antenna list.");

  // A map needs only its band's antennas.
  view.Inputs.MapBand = 4;
  ctl->ComputeMap();
  EXPECT_EQ(runner->Started, 1);
  ASSERT_TRUE(runner->Complete());
  view.Inputs.MapBand = 5;
  ctl->ComputeMap();
  EXPECT_EQ(runner->Started, 1);
  EXPECT_EQ(ctl->Status().Message, "No map: The antenna chosen for 21 MHz is not in the antenna list.");
}

TEST_F(ControllerFixture, ChartRunsThenRepaintsAndQueuesChartChange) {
  view.Call = "G3ABC";
  ctl->PageChanged(pgChart);
  EXPECT_EQ(view.Title, " SNR, short path to G3ABC");
  EXPECT_EQ(ctl->Status().State, stComputing);
  EXPECT_EQ(ctl->Status().Hint, "Computing...  Click here to cancel");
  EXPECT_TRUE(ctl->Status().HandCursor);
  EXPECT_TRUE(Events().empty());
  const int repaintsBefore = view.ChartRepaints;  // the empty chart
  EXPECT_EQ(repaintsBefore, 1);
  ASSERT_TRUE(runner->Complete());
  EXPECT_EQ(ctl->Status().State, stDone);
  EXPECT_EQ(ctl->Status().Hint, "Done");
  EXPECT_EQ(view.ChartRepaints, 2);
  EXPECT_EQ(Events(), std::vector<TClientEvent>{ceChartChange});
  EXPECT_EQ(engine().Status(), vsReady);
  EXPECT_GT(engine().PointResults().Muf[5], 0);
}

TEST_F(ControllerFixture, TitleFallsBackToTheDxTextAndNamesThePath) {
  view.Dx = "51N 0W";
  view.Inputs.LongPath = true;
  ctl->PageChanged(pgChart);
  EXPECT_EQ(view.Title, " SNR, long path to 51N 0W");
  ctl->PageChanged(pgMap);
  EXPECT_EQ(view.Title, " S/N Ratio Prediction Map");
  ctl->PageChanged(pgSettings);
  EXPECT_EQ(view.Title.rfind(" Vantor ", 0), 0u);
  EXPECT_EQ(runner->Started, 2);  // chart and map; Settings computes nothing
}

TEST_F(ControllerFixture, SecondMapWithTheSameInputsComesFromTheCache) {
  view.Inputs.MapBand = 2;
  view.Inputs.MapHour = 7;
  ctl->PageChanged(pgMap);
  ASSERT_TRUE(runner->Complete());
  EXPECT_EQ(view.MapsShown, 1);
  EXPECT_EQ(Events(), std::vector<TClientEvent>{ceMapChange});
  ctl->ComputeMap();
  EXPECT_EQ(runner->Started, 1);  // nothing ran
  EXPECT_EQ(view.MapsShown, 2);
  EXPECT_EQ(ctl->Status().State, stDone);
  EXPECT_EQ(engine().Status(), vsReady);  // a cached map counts as a finished prediction
  EXPECT_EQ(Events(), std::vector<TClientEvent>{ceMapChange});
  // Another SSN is another map.
  view.Inputs.Ssn = 51;
  ctl->ComputeMap();
  EXPECT_EQ(runner->Started, 2);
}

TEST_F(ControllerFixture, MapIsFiledUnderTheInputsItRanWith) {
  view.Inputs.MapBand = 1;
  ctl->ComputeMap();
  TVoaInputs ranWith = engine().Inputs();
  // The inputs change while the job runs (an automation client, the window).
  view.Inputs.Ssn = 140;
  view.Inputs.MapBand = 6;
  ctl->SyncEngineInputs();
  ASSERT_TRUE(runner->Complete());
  EXPECT_TRUE(AreaCacheValid(cache, engine().ReadAreaCacheKey(ranWith)));
  EXPECT_FALSE(AreaCacheValid(cache, engine().ReadAreaCacheKey(engine().Inputs())));
}

TEST_F(ControllerFixture, FailureClearsResultsShowsTheBackgroundAndQueuesError) {
  runner->Env = "VOACAP_FAKE_EXIT=3";
  ctl->ComputeMap();
  ASSERT_TRUE(runner->Complete());
  EXPECT_EQ(ctl->Status().State, stFailed);
  EXPECT_EQ(ctl->Status().Frame(), 1);
  EXPECT_EQ(ctl->Status().Hint, engine().StatusText());
  EXPECT_EQ(Events(), (std::vector<TClientEvent>{ceError, ceMapChange}));
  EXPECT_TRUE(view.LastMap.empty());
  EXPECT_EQ(view.MapsShown, 1);
  EXPECT_TRUE(std::filesystem::is_empty(cache));
}

TEST_F(ControllerFixture, ClickOnTheSpinningIndicatorCancels) {
  ctl->StatusImageClick();  // not spinning: nothing
  EXPECT_TRUE(Events().empty());
  ctl->ComputeChart();
  ctl->StatusImageClick();
  EXPECT_FALSE(runner->Running());
  EXPECT_EQ(engine().Status(), vsCancelled);
  EXPECT_EQ(ctl->Status().State, stFailed);
  EXPECT_EQ(ctl->Status().Hint, "Computations cancelled");
  EXPECT_FALSE(ctl->Status().HandCursor);
  EXPECT_EQ(Events(), std::vector<TClientEvent>{ceError});
  EXPECT_FALSE(runner->Complete());  // the cancelled job reports nothing
}

TEST_F(ControllerFixture, IndicatorCyclesFramesFourThreeTwoWhileComputing) {
  ctl->SetStatus(stComputing);
  std::vector<int> frames{ctl->Status().Frame()};
  for (int i = 0; i < 6; ++i) {
    ctl->AnimateStatus();
    frames.push_back(ctl->Status().Frame());
  }
  EXPECT_EQ(frames, (std::vector<int>{4, 3, 2, 4, 3, 2, 4}));
  for (TStatusState s : {stReady, stFailed, stDone}) {
    ctl->SetStatus(s);
    const int f = ctl->Status().Frame();
    ctl->AnimateStatus();
    EXPECT_EQ(ctl->Status().Frame(), f);
  }
}

TEST_F(ControllerFixture, CallRoadAndInputsGuard) {
  TCallParser parser(TCallParserVariant::pvMain);
  parser.SetPrefixFile(VX_BIN_DIR "/Prefix.lst");
  ctl->SetCallParser(&parser);
  view.Call = "G3ABC";
  ctl->CallEditChange(view.Call);
  EXPECT_FALSE(view.CallRed);
  EXPECT_NE(view.Inputs.Dx.Y, kNoLocation32);
  EXPECT_EQ(view.Call, "G3ABC");  // setting the frame from the box keeps the box
  // Unknown calls of two characters or more turn red and empty the frame.
  ctl->CallEditChange("Q");
  EXPECT_FALSE(view.CallRed);
  ctl->CallEditChange("QQ");
  EXPECT_TRUE(view.CallRed);
  EXPECT_EQ(view.Inputs.Dx.X, kNoLocation32);
  // Editing the DX frame by hand clears the call; the home frame does not.
  view.Call = "G3ABC";
  ctl->CoordinatesChanged(false);
  EXPECT_EQ(view.Call, "G3ABC");
  view.Inputs.Dx = TLocation{10 * 180, 50 * 180};
  ctl->CoordinatesChanged(true);
  EXPECT_EQ(view.Call, "");
  // Enter computes the chart.
  ctl->CallEditEnter();
  EXPECT_EQ(ctl->ActivePage(), pgChart);
  EXPECT_EQ(runner->Started, 1);
}

TEST_F(ControllerFixture, ClockRepaintsOncePerMinuteAndSpaceWeatherOnlyOnTheMap) {
  const double t = 46000.5;  // 12:00 UTC
  ctl->ClockTick(t);
  ctl->ClockTick(t + 30.0 / 86400);
  EXPECT_EQ(view.ChartRepaints, 1);
  EXPECT_EQ(view.ClockFollows, 1);
  ctl->ClockTick(t + 61.0 / 86400);
  EXPECT_EQ(view.ChartRepaints, 2);
  ctl->SpaceWeatherChanged();
  EXPECT_EQ(runner->Started, 0);
  ctl->PageChanged(pgMap);
  runner->Complete();
  ctl->SpaceWeatherChanged();
  EXPECT_EQ(view.MapsShown, 2);  // from the cache, the same inputs
}

TEST_F(ControllerFixture, ChartWithoutADxPositionIsNotComputedAndSaysWhy) {
  // What an unknown call leaves: the box's text, no position.
  view.Call = "Q1ABC";
  view.Inputs.Dx = kNoLocationPoint;
  ctl->PageChanged(pgChart);
  EXPECT_EQ(runner->Started, 0);
  EXPECT_EQ(ctl->Status().State, stFailed);
  EXPECT_EQ(ctl->Status().Message, "No chart: Q1ABC is an unknown call, there is no DX position.");
  EXPECT_EQ(ctl->Status().Hint, ctl->Status().Message);
  EXPECT_EQ(view.Title.rfind(" Vantor ", 0), 0u);  // no chart to name
  EXPECT_EQ(Events(), std::vector<TClientEvent>{ceError});
  EXPECT_EQ(engine().Status(), vsReady);  // nothing ran, so nothing failed either
  view.Call.clear();
  ctl->ComputeChart();
  EXPECT_EQ(ctl->Status().Message, "No chart: no DX position. Type a call sign or the DX coordinates.");
  EXPECT_EQ(runner->Started, 0);

  // A map needs no DX position; the engine gets 0 degrees for it.
  ctl->PageChanged(pgMap);
  EXPECT_EQ(runner->Started, 1);
  EXPECT_EQ(engine().Inputs().RxLat, 0);
  EXPECT_EQ(engine().Inputs().RxLon, 0);
  EXPECT_EQ(ctl->Status().Message, "");
  ASSERT_TRUE(runner->Complete());

  // With a position the chart runs and is named again.
  view.Inputs.Dx = TLocation{0, 51 * 180};
  view.Call = "G3ABC";
  ctl->PageChanged(pgChart);
  EXPECT_EQ(runner->Started, 2);
  EXPECT_EQ(view.Title, " SNR, short path to G3ABC");
}

TEST_F(ControllerFixture, AFailedOrCancelledChartSaysSoInWordsAndHasNoTitle) {
  view.Call = "G3ABC";
  runner->Env = "VOACAP_FAKE_EXIT=3";
  ctl->PageChanged(pgChart);
  EXPECT_EQ(view.Title, " SNR, short path to G3ABC");  // the chart being computed
  ASSERT_TRUE(runner->Complete());
  EXPECT_EQ(ctl->Status().State, stFailed);
  EXPECT_EQ(ctl->Status().Message, std::string("No chart: ") + engine().StatusText());
  EXPECT_EQ(ctl->Status().Hint, engine().StatusText());
  EXPECT_EQ(view.Title.rfind(" Vantor ", 0), 0u);

  // The next run clears the words and names its chart; a cancel says so.
  runner->Env = "true &&";
  ctl->ComputeChart();
  EXPECT_EQ(ctl->Status().Message, "");
  EXPECT_EQ(view.Title, " SNR, short path to G3ABC");
  ctl->StatusImageClick();
  EXPECT_EQ(ctl->Status().Message, "No chart: Computations cancelled");
  EXPECT_EQ(view.Title.rfind(" Vantor ", 0), 0u);

  // What the engine could not do is what the user reads.
  const std::string name = "TwentyCharacters.ant";
  ASSERT_TRUE(WriteWholeFile(ctl->Engine().AntennaFolder() + name, "Long name\r\n"));
  ctl->Engine().LoadAntennaList();
  view.Inputs.TxAntenna[3] = name;
  ctl->ComputeChart();
  EXPECT_EQ(ctl->Status().State, stFailed);
  EXPECT_EQ(ctl->Status().Message, "No chart: The antenna file name \"" + name +
                                       "\" is too long for VOACAP: it has 20 characters, "
                                       "VOACAP takes at most 14.");

  // A map's failure says so too; the map keeps its caption over the background.
  view.Inputs.TxAntenna[3] = "ISOTROPE.ant";
  runner->Env = "VOACAP_FAKE_EXIT=3";
  ctl->PageChanged(pgMap);
  ASSERT_TRUE(runner->Complete());
  EXPECT_EQ(ctl->Status().Message, std::string("No map: ") + engine().StatusText());
  EXPECT_EQ(view.Title, " S/N Ratio Prediction Map");
}
