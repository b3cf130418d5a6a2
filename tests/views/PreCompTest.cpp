#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "GifFrames.h"
#include "ViewsTestUtil.h"
#include "engine/Cache.h"
#include "engine/VoaEng.h"
#include "support/StandInEngine.h"
#include "views/BatchProgress.h"
#include "views/Decorate.h"
#include "views/GifWriter.h"
#include "views/MapDraw.h"
#include "views/PreComp.h"

using namespace vx;

TEST(JobList, NestingAndPacking) {
  EXPECT_EQ(PackJob(5, 3, false), 0x0305u);
  EXPECT_EQ(PackJob(23, 7, true), 0xFF0717u);
  EXPECT_TRUE(JobLongPath(PackJob(0, 0, true)));
  EXPECT_FALSE(JobLongPath(PackJob(23, 7, false)));

  auto all = BuildJobList({true, true, true}, 9, 2, false);
  ASSERT_EQ(all.size(), 384u);
  EXPECT_EQ(all[0], PackJob(0, 0, false));
  EXPECT_EQ(all[1], PackJob(0, 0, true));
  EXPECT_EQ(all[2], PackJob(0, 1, false));
  EXPECT_EQ(all[16], PackJob(1, 0, false));
  EXPECT_EQ(all.back(), PackJob(23, 7, true));

  auto hoursBands = BuildJobList({true, true, false}, 9, 2, true);  // keeps the long path
  ASSERT_EQ(hoursBands.size(), 192u);
  EXPECT_EQ(hoursBands[1], PackJob(0, 1, true));

  auto hoursPaths = BuildJobList({true, false, true}, 9, 2, false);
  ASSERT_EQ(hoursPaths.size(), 48u);
  EXPECT_EQ(hoursPaths[1], PackJob(0, 2, true));
  EXPECT_EQ(hoursPaths[2], PackJob(1, 2, false));

  auto bandsPaths = BuildJobList({false, true, true}, 9, 2, false);
  ASSERT_EQ(bandsPaths.size(), 16u);
  EXPECT_EQ(bandsPaths[3], PackJob(9, 1, true));

  auto hours = BuildJobList({true, false, false}, 9, 2, false);
  ASSERT_EQ(hours.size(), 24u);
  EXPECT_EQ(hours[23], PackJob(23, 2, false));
  auto bands = BuildJobList({false, true, false}, 9, 2, true);
  ASSERT_EQ(bands.size(), 8u);
  EXPECT_EQ(bands[7], PackJob(9, 7, true));

  // Start needs hours or bands.
  EXPECT_FALSE(CanStartBatch({false, false, true}));
  EXPECT_FALSE(CanStartBatch({false, false, false}));
  EXPECT_TRUE(BuildJobList({false, false, true}, 9, 2, false).empty());
  EXPECT_EQ(BatchJobCount({true, true, true}), 384);
  EXPECT_EQ(BatchJobCount({false, true, false}), 8);
}

TEST(JobList, GifNamesUseWholeMegahertz) {
  EXPECT_EQ(GifName(0, 0), "00UT-03MHz.gif");
  EXPECT_EQ(GifName(5, 6), "05UT-24MHz.gif");
  EXPECT_EQ(GifName(23, 7), "23UT-28MHz.gif");
  EXPECT_EQ(AnimatedGifName(0), "00-23UT-03MHz.gif");
  EXPECT_EQ(FrameCaption(5, 0), "3.5 MHz  05 UTC");
  EXPECT_EQ(FrameCaption(17, 7), "28 MHz  17 UTC");
  // Beside the cache folder.
  const std::string home = vxtest::FreshFolder("gif-home");
  setenv("XDG_CACHE_HOME", home.c_str(), 1);
  EXPECT_EQ(GifFolder(), home + "Vexmoor/Vantor/Gifs/");
  unsetenv("XDG_CACHE_HOME");
}

namespace {

// The main window as far as the batch needs it, recording what it is told.
struct THost : IPreComputeHost {
  TVoaEngine* Engine = nullptr;
  TPreCompute* Batch = nullptr;
  TMapModel Map;
  int Band = 3, Hour = 9;
  bool Long = false, Real = true, ProgressShown = false;
  int ProgressMax = -1, Messages = 0, Shown = 0;
  std::vector<int> Positions;
  std::vector<TBatchState> States;
  std::vector<std::string> Errors, Infos;

  void SyncEngineInputs() override {
    TVoaInputs in = Engine->Inputs();
    in.TxLat = 44 * 180, in.TxLon = -79 * 180;
    in.Year = 2008, in.Month = 3, in.Ssn = 50;
    in.GridSize = 16;
    in.Hour = Hour, in.Band = Band, in.LongPath = Long;
    Engine->SetInputs(in);
  }
  void SetBatchState(TBatchState s) override { States.push_back(s); }
  void ShowStatusMessage() override { ++Messages; }
  void ShowError(const std::string& t) override { Errors.push_back(t); }
  void ShowInfo(const std::string& t) override { Infos.push_back(t); }
  void ShowMap(const TVoaGrid& g) override {
    Map.SetData(g);
    ++Shown;
  }
  const TRgbImage& MapBitmap() override { return Map.MapBitmap; }
  int MapBand() override { return Band; }
  int MapHour() override { return Hour; }
  bool RealTime() override { return Real; }
  void SetRealTime(bool d) override { Real = d; }
  void SetProgressMax(int m) override { ProgressMax = m; }
  void SetProgressPosition(int p) override { Positions.push_back(p); }
  void ShowProgress() override { ProgressShown = true; }
  void CloseProgress() override {
    if (!ProgressShown) return;
    ProgressShown = false;
    Batch->ProgressClosed();
  }
};

struct BatchFixture : testing::Test {
  std::string data, cache;
  vxtest::TShortFolder workers;
  vxtest::TRunnerHub hub;
  std::unique_ptr<TVoaEngine> engine;
  THost host;
  std::unique_ptr<TPreCompute> batch;

  void SetUp() override {
    data = vxtest::FreshVoacapFolder(vxtest::CaseName());
    cache = vxtest::FreshFolder(vxtest::CaseName() + "-cache");
    engine = vxtest::StandInEngine(std::make_unique<vxtest::TQueuedRunner>(), data);
    // One worker: the jobs run one after the other, as the window's single
    // engine ran them.
    batch = std::make_unique<TPreCompute>(
        *engine, cache, host, std::make_unique<TVoaWorkerPool>(hub.Factory(), TWorkerPoolSetup{1, {workers.Path}}));
    host.Engine = engine.get();
    host.Batch = batch.get();
  }
  // The worker's runner, once the first batch made it.
  vxtest::TRunnerHub::TRunner& Runner() { return *hub.Runners.at(0); }

  // A cached map for hour and band at the host's other inputs.
  void Cache(int hour, int band, float snr) {
    host.SyncEngineInputs();
    TVoaInputs in = engine->Inputs();
    in.Hour = hour, in.Band = band;
    ASSERT_TRUE(
        SaveAreaCache(cache, engine->ReadAreaCacheKey(in), vxtest::GridOf(16, [&](int i, int) { return snr + i; })));
  }
  // Runs the children one by one as an event loop would.
  void Drain() { hub.Drain(); }
};

}  // namespace

TEST_F(BatchFixture, ComputesUncachedMapsInOrderAndSkipsCachedOnes) {
  Cache(3, 2, 10);
  Cache(5, 2, 10);
  host.Band = 2;
  ASSERT_TRUE(batch->StartBatch({true, false, false}));
  EXPECT_TRUE(host.ProgressShown);
  EXPECT_FALSE(host.Real);  // released while the batch runs
  EXPECT_EQ(host.ProgressMax, 24);
  EXPECT_EQ(engine->Inputs().Hour, 9);  // the workers run the jobs; the map's inputs stay
  Drain();
  EXPECT_EQ(hub.Started, 22);
  EXPECT_FALSE(host.ProgressShown);
  EXPECT_TRUE(host.Real);  // given back when the dialog closed
  EXPECT_EQ(host.States.back(), TBatchState::bsDone);
  // Positions count the finished jobs, cached ones included.
  EXPECT_EQ(host.Positions.front(), 0);
  EXPECT_EQ(host.Positions.back(), 24);
  EXPECT_TRUE(std::is_sorted(host.Positions.begin(), host.Positions.end()));
  for (int h = 0; h < 24; ++h) {
    TVoaInputs in = engine->Inputs();
    in.Hour = h, in.Band = 2;
    EXPECT_TRUE(AreaCacheValid(cache, engine->ReadAreaCacheKey(in))) << h;
  }
  // The map view was not touched.
  EXPECT_EQ(host.Shown, 0);

  // Everything is cached now: no dialog, done at once, Real Time kept.
  hub.Started = 0;
  host.States.clear();
  EXPECT_FALSE(batch->StartBatch({true, false, false}));
  EXPECT_FALSE(host.ProgressShown);
  EXPECT_EQ(hub.Started, 0);
  EXPECT_EQ(host.States.back(), TBatchState::bsDone);
  EXPECT_TRUE(host.Real);

  // A new SSN makes every map stale.
  host.SyncEngineInputs();
  TVoaInputs in = engine->Inputs();
  in.Ssn = 51;
  in.Hour = 0;
  EXPECT_FALSE(AreaCacheValid(cache, engine->ReadAreaCacheKey(in)));
}

TEST_F(BatchFixture, EngineFailureShowsItsMessageAndEndsTheBatch) {
  hub.Env = "VOACAP_FAKE_EXIT=1";
  ASSERT_TRUE(batch->StartBatch({false, true, false}));
  Drain();
  EXPECT_EQ(hub.Started, 1);  // the rest are dropped
  EXPECT_EQ(host.Messages, 1);
  // The worker's failure is the engine's last status: the box and the hint
  // tell it.
  EXPECT_EQ(engine->Status(), vsExecError);
  EXPECT_EQ(host.States.back(), TBatchState::bsFailed);
  EXPECT_FALSE(host.ProgressShown);
  EXPECT_TRUE(host.Real);
  EXPECT_TRUE(batch->JobList.empty());
}

TEST_F(BatchFixture, CancelEndsQuietlyAndKeepsFinishedMaps) {
  ASSERT_TRUE(batch->StartBatch({false, true, false}));
  hub.Complete();  // band 0 done, band 1 running
  EXPECT_EQ(hub.Started, 2);
  batch->Cancel();
  EXPECT_EQ(engine->Status(), vsCancelled);
  EXPECT_EQ(host.Messages, 0);
  EXPECT_EQ(host.States.back(), TBatchState::bsFailed);
  EXPECT_FALSE(host.ProgressShown);
  EXPECT_FALSE(Runner().Running());
  TVoaInputs in = engine->Inputs();
  in.Hour = 9, in.Band = 0;
  EXPECT_TRUE(AreaCacheValid(cache, engine->ReadAreaCacheKey(in)));
  in.Band = 1;
  EXPECT_FALSE(AreaCacheValid(cache, engine->ReadAreaCacheKey(in)));
}

TEST_F(BatchFixture, MaximumMapsNeedEveryMapInTheCache) {
  for (int h = 0; h < 24; ++h) Cache(h, 3, float(h));
  // Over hours at band 3: hour 23's map is the largest everywhere.
  ASSERT_TRUE(batch->MaxOverMaps(0));
  ASSERT_EQ(host.Map.GridCopy.size(), 16u);
  EXPECT_FLOAT_EQ(host.Map.GridCopy[4][7].Snr, 27.0f);
  EXPECT_EQ(host.Map.GridCopy[4][7].Mode, "");
  EXPECT_EQ(host.Map.GridCopy[4][7].Muf, 0.0f);
  // Over bands at hour 9 after a batch for one band: data missing.
  host.Shown = 0;
  EXPECT_FALSE(batch->MaxOverMaps(1));
  ASSERT_EQ(host.Errors.size(), 1u);
  EXPECT_EQ(host.Errors[0], "Data missing, run Pre-Compute Maps.");
  EXPECT_EQ(host.Shown, 0);
  EXPECT_FALSE(batch->MaxOverMaps(2));
  // Negative SNR never shows: the maximum starts at 0.
  for (int b = 0; b < 8; ++b) Cache(9, b, -40);
  ASSERT_TRUE(batch->MaxOverMaps(1));
  EXPECT_FLOAT_EQ(host.Map.GridCopy[0][0].Snr, 0.0f);
}

TEST_F(BatchFixture, GifsForEveryBandAndHour) {
  const std::string gifs = vxtest::FreshFolder("gifs") + "Gifs/";
  for (int b = 0; b < 8; ++b)
    for (int h = 0; h < 24; ++h)
      if (!(b == 7 && h == 4)) Cache(h, b, float(b * 5 + h));
  // One map missing, late in the series: the message, and nothing written.
  EXPECT_FALSE(batch->GenerateGifs(gifs));
  EXPECT_EQ(host.Errors.back(), kDataMissing);
  EXPECT_FALSE(FileExists(gifs + "00UT-03MHz.gif"));
  EXPECT_FALSE(DirectoryExists(gifs));
  EXPECT_EQ(host.Shown, 0);  // nor was the map view touched
  EXPECT_TRUE(host.Infos.empty());
  EXPECT_EQ(engine->Inputs().Band, host.Band);
  EXPECT_EQ(engine->Inputs().Hour, host.Hour);

  Cache(4, 7, 39);
  host.Map.SetStyle(msPseudo);
  ASSERT_TRUE(batch->GenerateGifs(gifs));
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(gifs)) files += e.path().extension() == ".gif";
  EXPECT_EQ(files, 192 + 8);
  ASSERT_EQ(host.Infos.size(), 1u);
  EXPECT_EQ(host.Infos[0], "192 GIF files and 8 animations written to " + gifs);
  // Afterwards the view shows the map its band and hour name (14 MHz at 9
  // UTC here), not the last of the series; its file is that picture.
  EXPECT_FLOAT_EQ(host.Map.GridCopy[0][0].Snr, 3 * 5 + 9);
  EXPECT_EQ(*ReadWholeFile(gifs + "09UT-14MHz.gif"), *EncodeGif(host.Map.MapBitmap));
  EXPECT_NE(*ReadWholeFile(gifs + "23UT-28MHz.gif"), *EncodeGif(host.Map.MapBitmap));
  // The band's day as one animation: 24 frames, each its map under a
  // caption naming the band and the hour.
  const std::string day = ReadWholeFile(gifs + AnimatedGifName(3)).value_or("");
  const vxtest::TGifBlocks blocks = vxtest::WalkGifBlocks(day);
  EXPECT_TRUE(blocks.Valid);
  EXPECT_EQ(blocks.Frames, 24);
  EXPECT_EQ(blocks.Loops, 0);
  const auto frames = vxtest::DecodeGifFrames(day);
  ASSERT_EQ(frames.size(), 24u);
  const TDecoratedPicture nine = TitledPicture(host.Map.MapBitmap, TPictureDecor{1, {"14 MHz  09 UTC"}});
  EXPECT_EQ(frames[9], nine.Image);
  EXPECT_NE(frames[10], nine.Image);
  EXPECT_EQ(engine->Inputs().Band, 3);
  EXPECT_EQ(engine->Inputs().Hour, 9);
  EXPECT_FLOAT_EQ(engine->AreaGrid()[0][0].Snr, 3 * 5 + 9);
}

TEST(BatchProgress, CountsAtOnceAndEstimatesOnceThereIsAPace) {
  TBatchProgress p;
  p.Start(192, 10000);
  EXPECT_EQ(p.Text(), "0 of 192 maps");
  // 40 maps come from the cache as the batch starts: no pace in that.
  p.Update(40, 10010);
  EXPECT_EQ(p.Text(), "40 of 192 maps");
  EXPECT_FALSE(p.MsLeft());
  // The first computed map after 900 ms is still too little to go by.
  p.Update(41, 10910);
  EXPECT_FALSE(p.MsLeft());
  // 8 maps in 4 s: 144 left take 72 s.
  p.Update(48, 14010);
  ASSERT_TRUE(p.MsLeft());
  EXPECT_EQ(*p.MsLeft(), 72000);
  EXPECT_EQ(p.Text(), "48 of 192 maps, about 2 min left");
  p.Update(192, 40000);
  EXPECT_EQ(p.Text(), "192 of 192 maps");

  EXPECT_EQ(TimeLeftText(59999), "less than a minute");
  EXPECT_EQ(TimeLeftText(60000), "about 1 min");
  EXPECT_EQ(TimeLeftText(60001), "about 2 min");
  EXPECT_EQ(TimeLeftText(3600000), "about 1 h");
  EXPECT_EQ(TimeLeftText(3900000), "about 1 h 5 min");
}
