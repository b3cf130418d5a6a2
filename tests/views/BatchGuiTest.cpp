// The batch as the main window will run it: the real process runner and the
// stand-in program, the progress dialog, and the map frame's Real Time.
#include <gtest/gtest.h>

#include <signal.h>

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>

#include <filesystem>

#include "ViewsTestUtil.h"
#include "engine/AreaBatch.h"
#include "engine/Cache.h"
#include "engine/Process.h"
#include "support/QtWait.h"
#include "support/StandInEngine.h"
#include "views/MapFrm.h"
#include "views/PreComp.h"
#include "views/ProgrDlg.h"

using namespace vx;

namespace {

struct TWindow : IPreComputeHost {
  TMapFrame Map;
  TProgressDialog Progress;
  TVoaEngine* Engine = nullptr;
  std::vector<TBatchState> States;
  int Messages = 0;

  void SyncEngineInputs() override {
    TVoaInputs in = Engine->Inputs();
    in.TxLat = 44 * 180, in.TxLon = -79 * 180;
    in.Year = 2008, in.Month = 3, in.Ssn = 50, in.GridSize = 16;
    in.Hour = Map.Model.MapHour, in.Band = Map.Model.MapBand;
    Engine->SetInputs(in);
  }
  void SetBatchState(TBatchState s) override { States.push_back(s); }
  void ShowStatusMessage() override { ++Messages; }
  void ShowError(const std::string&) override {}
  void ShowInfo(const std::string&) override {}
  void ShowMap(const TVoaGrid& g) override { Map.SetData(g); }
  const TRgbImage& MapBitmap() override { return Map.Model.MapBitmap; }
  int MapBand() override { return Map.Model.MapBand; }
  int MapHour() override { return Map.Model.MapHour; }
  bool RealTime() override { return Map.RealTime(); }
  void SetRealTime(bool d) override { Map.SetRealTime(d); }
  void SetProgressMax(int m) override { Progress.ProgressBar->setMaximum(m); }
  void SetProgressPosition(int p) override { Progress.ProgressBar->setValue(p); }
  void ShowProgress() override { Progress.open(); }
  void CloseProgress() override {
    if (Progress.isVisible()) Progress.accept();
  }
};

struct BatchGui : testing::Test {
  std::string cache;
  vxtest::TShortFolder workers;
  std::unique_ptr<TVoaEngine> engine;
  TWindow window;
  std::unique_ptr<TPreCompute> batch;

  void SetUp() override {
    cache = vxtest::FreshFolder("gui-" + vxtest::CaseName() + "-cache");
    engine =
        vxtest::StandInEngine(std::make_unique<TProcess>(), vxtest::FreshVoacapFolder("gui-" + vxtest::CaseName()));
    window.Engine = engine.get();
    batch = std::make_unique<TPreCompute>(
        *engine, cache, window,
        std::make_unique<TVoaWorkerPool>(MakeProcessRunner, TWorkerPoolSetup{4, {workers.Path}}));
    QObject::connect(&window.Progress, &TProgressDialog::CancelClicked, [this] { batch->Cancel(); });
    QObject::connect(&window.Progress, &TProgressDialog::Closed, [this] { batch->ProgressClosed(); });
    window.Map.SetRealTime(true);
  }
  void TearDown() override {
    unsetenv("VOACAP_FAKE_DELAY_MS");
    unsetenv("VOACAP_FAKE_PIDS");
    unsetenv("VOACAP_FAKE_EXCLUSIVE");
  }
};

}  // namespace

TEST_F(BatchGui, AllBandsFillTheCacheWhileTheDialogShows) {
  ASSERT_TRUE(batch->StartBatch({false, true, false}));
  EXPECT_TRUE(window.Progress.isVisible());
  EXPECT_FALSE(window.Map.RealTime());
  EXPECT_EQ(window.Progress.ProgressBar->maximum(), 8);
  ASSERT_TRUE(vxtest::WaitUntil([&] { return !window.Progress.isVisible(); }, 30000));
  EXPECT_TRUE(window.Map.RealTime());
  EXPECT_EQ(window.States.back(), TBatchState::bsDone);
  for (int b = 0; b < 8; ++b) {
    TVoaInputs in = engine->Inputs();
    in.Band = b;
    EXPECT_TRUE(AreaCacheValid(cache, engine->ReadAreaCacheKey(in))) << b;
  }
  // Maximum over bands now finds every map.
  EXPECT_TRUE(batch->MaxOverMaps(1));
  EXPECT_EQ(window.Map.Model.GridCopy.size(), 16u);
}

TEST_F(BatchGui, CancelButtonStopsTheBatchQuietly) {
  setenv("VOACAP_FAKE_DELAY_MS", "3000", 1);
  ASSERT_TRUE(batch->StartBatch({true, true, false}));
  window.Progress.findChild<QPushButton*>("CancelBtn")->click();
  EXPECT_FALSE(window.Progress.isVisible());
  EXPECT_FALSE(batch->Running());
  EXPECT_FALSE(engine->Running());
  EXPECT_EQ(engine->Status(), vsCancelled);
  EXPECT_EQ(window.States.back(), TBatchState::bsFailed);
  EXPECT_EQ(window.Messages, 0);
  EXPECT_TRUE(window.Map.RealTime());
  ASSERT_TRUE(vxtest::DeliverPosted());  // the killed child reports nothing
  EXPECT_EQ(window.States.back(), TBatchState::bsFailed);
  EXPECT_EQ(window.Messages, 0);
}

TEST_F(BatchGui, EscapeEndsTheBatchLikeCancel) {
  setenv("VOACAP_FAKE_DELAY_MS", "3000", 1);
  ASSERT_TRUE(batch->StartBatch({false, true, true}));
  window.Progress.reject();
  EXPECT_FALSE(batch->Running());
  EXPECT_FALSE(engine->Running());
  EXPECT_TRUE(window.Map.RealTime());
}

TEST_F(BatchGui, CancelEndsEveryChildAtOnceAndLeavesNoPartialFile) {
  const std::string pids = vxtest::FreshFolder("gui-pids");
  setenv("VOACAP_FAKE_DELAY_MS", "20000", 1);
  setenv("VOACAP_FAKE_PIDS", pids.c_str(), 1);
  ASSERT_TRUE(batch->StartBatch({true, true, false}));
  auto children = [&] {
    std::vector<pid_t> all;
    for (const auto& e : std::filesystem::directory_iterator(pids)) all.push_back(std::stoi(e.path().filename()));
    return all;
  };
  ASSERT_TRUE(vxtest::WaitUntil([&] { return children().size() == 4; }, 10000));  // one per worker
  // When the click returns, every child is gone: none outlives the batch.
  window.Progress.findChild<QPushButton*>("CancelBtn")->click();
  EXPECT_FALSE(batch->Pool().Running());
  for (pid_t pid : children()) EXPECT_NE(kill(pid, 0), 0) << "child " << pid << " still there";
  // Nothing was computed, and nothing half-written is left in the cache.
  EXPECT_TRUE(std::filesystem::is_empty(cache));
  ASSERT_TRUE(vxtest::DeliverPosted());
  EXPECT_EQ(window.States.back(), TBatchState::bsFailed);
  EXPECT_EQ(window.Messages, 0);
}

TEST_F(BatchGui, TwoBatchesAtOnceOnOneDataFolderTakeTurns) {
  // The stand-in fails any run that finds another under way in its folder.
  setenv("VOACAP_FAKE_EXCLUSIVE", "1", 1);
  setenv("VOACAP_FAKE_DELAY_MS", "30", 1);
  window.SyncEngineInputs();
  const TVoaInputs base = engine->Inputs();
  std::vector<TAreaJob> jobs;
  for (int b = 0; b < 8; ++b) jobs.push_back({5, b, false});
  // Two pools over the same worker folders, as two programs would have.
  TVoaWorkerPool one(MakeProcessRunner, {2, {workers.Path}}), two(MakeProcessRunner, {2, {workers.Path}});
  std::string error;
  ASSERT_TRUE(one.Prepare(*engine, error)) << error;
  ASSERT_TRUE(two.Prepare(*engine, error)) << error;
  const std::string c1 = vxtest::FreshFolder("gui-two-1"), c2 = vxtest::FreshFolder("gui-two-2");
  TAreaBatch first(one, c1), second(two, c2);
  ASSERT_TRUE(first.Start(base, jobs, TAreaBatch::fpContinue));
  ASSERT_TRUE(second.Start(base, jobs, TAreaBatch::fpContinue));
  ASSERT_TRUE(vxtest::WaitUntil([&] { return !first.Running() && !second.Running(); }, 60000));
  EXPECT_EQ(first.Failed() + second.Failed(), 0);
  EXPECT_EQ(first.Computed(), 8);
  EXPECT_EQ(second.Computed(), 8);
  for (int b = 0; b < 8; ++b) {
    const std::string name = CacheName(5, b, false);
    EXPECT_EQ(ReadWholeFile(c1 + name).value_or("1"), ReadWholeFile(c2 + name).value_or("2")) << name;
  }
}
