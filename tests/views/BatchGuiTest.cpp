// The batch as the main window will run it: the real process runner and the
// stand-in program, the progress dialog, and the map frame's Real Time.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>

#include "../engine/QtWait.h"
#include "ViewsTestUtil.h"
#include "engine/Cache.h"
#include "engine/Process.h"
#include "views/MapFrm.h"
#include "views/PreComp.h"
#include "views/ProgrDlg.h"

using namespace vx;

namespace {

struct TWindow : IPreComputeHost {
  TMapFrame Map;
  TProgressDialog Progress;
  TVoaEngine* Engine = nullptr;
  std::vector<TStatusState> States;
  int Messages = 0;

  void SyncEngineInputs() override {
    TVoaInputs in = Engine->Inputs();
    in.TxLat = 44 * 180, in.TxLon = -79 * 180;
    in.Year = 2008, in.Month = 3, in.Ssn = 50, in.GridSize = 16;
    in.Hour = Map.Model.MapHour, in.Band = Map.Model.MapBand;
    Engine->SetInputs(in);
  }
  void SetStatus(TStatusState s) override { States.push_back(s); }
  void ShowStatusMessage() override { ++Messages; }
  void ShowError(const std::string&) override {}
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
  std::unique_ptr<TVoaEngine> engine;
  TWindow window;
  std::unique_ptr<TPreCompute> batch;

  void SetUp() override {
    const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    cache = vxtest::FreshFolder("gui-" + name + "-cache");
    engine = std::make_unique<TVoaEngine>(std::make_unique<TProcess>(),
                                          TVoacapSetup{VX_FAKE_VOACAP, vxtest::MakeDataFolder("gui-" + name)});
    engine->CheckInstallation();
    ASSERT_EQ(engine->Status(), vsReady);
    window.Engine = engine.get();
    batch = std::make_unique<TPreCompute>(*engine, cache, window);
    // The controller's part: engine events go to the batch while it runs.
    engine->OnPredict = [this](TVoaEngine&) { batch->EnginePredict(); };
    engine->OnError = [this](TVoaEngine&) { batch->EngineError(); };
    QObject::connect(&window.Progress, &TProgressDialog::CancelClicked, [this] { batch->Cancel(); });
    QObject::connect(&window.Progress, &TProgressDialog::Closed, [this] { batch->ProgressClosed(); });
    window.Map.SetRealTime(true);
  }
  void TearDown() override { unsetenv("VOACAP_FAKE_DELAY_MS"); }
};

}  // namespace

TEST_F(BatchGui, AllBandsFillTheCacheWhileTheDialogShows) {
  ASSERT_TRUE(batch->StartBatch({false, true, false}));
  EXPECT_TRUE(window.Progress.isVisible());
  EXPECT_FALSE(window.Map.RealTime());
  EXPECT_EQ(window.Progress.ProgressBar->maximum(), 8);
  ASSERT_TRUE(vxtest::WaitUntil([&] { return !window.Progress.isVisible(); }, 30000));
  EXPECT_TRUE(window.Map.RealTime());
  EXPECT_EQ(window.States.back(), stDone);
  for (int b = 0; b < 8; ++b) {
    TVoaInputs in = engine->Inputs();
    in.Band = b;
    EXPECT_TRUE(AreaCacheValid(cache, in)) << b;
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
  EXPECT_EQ(window.States.back(), stFailed);
  EXPECT_EQ(window.Messages, 0);
  EXPECT_TRUE(window.Map.RealTime());
  vxtest::Pump(200);  // the killed child reports nothing
  EXPECT_EQ(window.States.back(), stFailed);
}

TEST_F(BatchGui, EscapeEndsTheBatchLikeCancel) {
  setenv("VOACAP_FAKE_DELAY_MS", "3000", 1);
  ASSERT_TRUE(batch->StartBatch({false, true, true}));
  window.Progress.reject();
  EXPECT_FALSE(batch->Running());
  EXPECT_FALSE(engine->Running());
  EXPECT_TRUE(window.Map.RealTime());
}
