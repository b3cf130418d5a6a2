#include "views/PreComp.h"

#include <algorithm>

#include "common/FileUtil.h"
#include "common/Paths.h"
#include "common/TextUtil.h"
#include "engine/Cache.h"
#include "views/Decorate.h"
#include "views/GifWriter.h"

namespace vx {

int BatchJobCount(const TBatchOptions& o) {
  return (o.AllHours ? 24 : 1) * (o.AllBands ? kBandCount : 1) * (o.BothPaths ? 2 : 1);
}

std::vector<uint32_t> BuildJobList(const TBatchOptions& o, int hour, int band, bool longPath) {
  std::vector<uint32_t> jobs;
  const int h0 = o.AllHours ? 0 : hour, h1 = o.AllHours ? 23 : hour;
  const int b0 = o.AllBands ? 0 : band, b1 = o.AllBands ? kBandCount - 1 : band;
  const int p0 = o.BothPaths ? 0 : int(longPath), p1 = o.BothPaths ? 1 : int(longPath);
  if (!CanStartBatch(o)) return jobs;
  for (int h = h0; h <= h1; ++h)
    for (int b = b0; b <= b1; ++b)
      for (int p = p0; p <= p1; ++p) jobs.push_back(PackJob(h, b, p != 0));
  return jobs;
}

std::vector<uint32_t> BuildJobList(const std::vector<int>& hours, const std::vector<int>& bands, bool longPath) {
  std::vector<uint32_t> jobs;
  for (int h : hours)
    for (int b : bands) jobs.push_back(PackJob(h, b, longPath));
  return jobs;
}

std::vector<TAreaJob> AreaJobsOf(const std::vector<uint32_t>& jobs) {
  std::vector<TAreaJob> out;
  out.reserve(jobs.size());
  for (uint32_t j : jobs) out.push_back({JobHour(j), JobBand(j), JobLongPath(j)});
  return out;
}

std::string GifName(int hour, int band) {
  return FormatInt(hour, 2, true) + "UT-" + FormatInt(int(BandFrequency[size_t(band)]), 2, true) + "MHz.gif";
}

std::string AnimatedGifName(int band) {
  return "00-23UT-" + FormatInt(int(BandFrequency[size_t(band)]), 2, true) + "MHz.gif";
}

std::string FrameCaption(int hour, int band) {
  const float mhz = BandFrequency[size_t(band)];
  return (mhz == 3.5f ? std::string("3.5") : FormatInt(int(mhz))) + " MHz  " + FormatInt(hour, 2, true) + " UTC";
}

std::string GifFolder() {
  std::string cache = AreaCacheFolder();
  while (!cache.empty() && cache.back() == '/') cache.pop_back();
  return FolderOf(cache) + "Gifs/";
}

TPreCompute::TPreCompute(TVoaEngine& engine, std::string cacheFolder, IPreComputeHost& host,
                         std::unique_ptr<TVoaWorkerPool> pool)
    : Engine_(engine),
      CacheFolder_(std::move(cacheFolder)),
      Host_(host),
      Pool_(std::move(pool)),
      Batch_(*Pool_, CacheFolder_) {
  // The bar counts finished jobs, whichever worker ran them.
  Batch_.OnJobDone = [this](int, TJobOutcome) { Host_.SetProgressPosition(Batch_.Finished()); };
  Batch_.OnFinished = [this] { BatchOver(); };
}

bool TPreCompute::StartBatch(const TBatchOptions& options) {
  if (!CanStartBatch(options) || Running_) return false;
  // The clock must not move the map hour while the batch runs.
  RealTimeAtStart_ = Host_.RealTime();
  Host_.SetRealTime(false);
  Host_.SetProgressMax(BatchJobCount(options));
  Host_.SetProgressPosition(0);

  Engine_.CancelPrediction();
  Host_.SyncEngineInputs();
  const TVoaInputs in = Engine_.Inputs();
  JobList = BuildJobList(options, in.Hour, in.Band, in.LongPath);
  Host_.SetBatchState(TBatchState::bsComputing);
  std::string error;
  if (!Pool_->Prepare(Engine_, error)) {
    Host_.SetBatchState(TBatchState::bsFailed);
    Host_.ShowError(error);
    Host_.SetRealTime(RealTimeAtStart_);
    return false;
  }
  Running_ = true;
  if (Batch_.Start(in, AreaJobsOf(JobList), TAreaBatch::fpStop)) {
    Host_.ShowProgress();
    return true;
  }
  // Nothing runs: no dialog shows, so give the clock back here.
  if (Batch_.Failed() > 0) {
    BatchFailed();
  } else {
    Running_ = false;
    Host_.SetBatchState(TBatchState::bsDone);
  }
  Host_.SetRealTime(RealTimeAtStart_);
  return false;
}

void TPreCompute::SelectMap(int hour, int band, bool longPath) {
  TVoaInputs in = Engine_.Inputs();
  in.Hour = hour;
  in.Band = band;
  in.LongPath = longPath;
  Engine_.SetInputs(in);
}

void TPreCompute::BatchOver() {
  if (!Running_) return;
  if (Batch_.Failed() > 0) {
    BatchFailed();
    return;
  }
  Running_ = false;
  Host_.SetBatchState(TBatchState::bsDone);
  Host_.CloseProgress();
}

void TPreCompute::BatchFailed() {
  if (!Running_) return;
  Running_ = false;
  Batch_.Cancel();
  if (!Cancelling_) {
    if (Batch_.FailureStatus() != vsReady) {
      // The worker's failure becomes the engine's last status: the message
      // box and the indicator's hint tell it as for a job of its own.
      Engine_.NoteFailure(Batch_.FailureStatus(), Batch_.FailureDetail());
      Host_.ShowStatusMessage();
    } else {
      Host_.ShowError(Batch_.FailureDetail());
    }
  }
  Host_.SetBatchState(TBatchState::bsFailed);
  JobList.clear();
  Host_.CloseProgress();
}

void TPreCompute::Cancel() {
  if (!Running_) return;
  Batch_.Cancel();
  Engine_.CancelPrediction();  // the hint tells of the cancel
  Cancelling_ = true;
  BatchFailed();
  Cancelling_ = false;
}

void TPreCompute::ProgressClosed() {
  // Closing the dialog by other means than Cancel ends the batch as well.
  if (Running_) Cancel();
  Host_.SetRealTime(RealTimeAtStart_);
}

bool TPreCompute::MaxOverMaps(int kind) {
  Engine_.CancelPrediction();
  Host_.SyncEngineInputs();
  const int n = Engine_.Inputs().GridSize;
  const bool longPath = Engine_.Inputs().LongPath;
  TVoaGrid result = MakeGrid(n);
  std::vector<std::pair<int, int>> maps;  // hour, band
  if (kind == 0)
    for (int h = 0; h < 24; ++h) maps.emplace_back(h, Host_.MapBand());
  else if (kind == 1)
    for (int b = 0; b < kBandCount; ++b) maps.emplace_back(Host_.MapHour(), b);
  else
    for (int h = 0; h < 24; ++h)
      for (int b = 0; b < kBandCount; ++b) maps.emplace_back(h, b);

  for (auto [hour, band] : maps) {
    SelectMap(hour, band, longPath);
    const TVoaGrid& loaded = Engine_.AreaGrid();
    if (!Engine_.LoadAreaCache(CacheFolder_) || int(loaded.size()) != n) {
      Host_.ShowError(kDataMissing);
      return false;
    }
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) {
        float& r = result[size_t(i)][size_t(j)].Snr;
        r = std::max(r, loaded[size_t(i)][size_t(j)].Snr);
      }
  }
  Host_.ShowMap(result);
  return true;
}

bool TPreCompute::GenerateGifs(const std::string& folder) {
  Engine_.CancelPrediction();
  Host_.SyncEngineInputs();
  const TVoaInputs shown = Engine_.Inputs();  // the map the controls name
  // Every map first: a missing one must not leave a part of the series.
  for (int band = 0; band < kBandCount; ++band)
    for (int hour = 0; hour < 24; ++hour) {
      SelectMap(hour, band, shown.LongPath);
      if (!Engine_.AreaCacheValid(CacheFolder_)) {
        Engine_.SetInputs(shown);
        Host_.ShowError(kDataMissing);
        return false;
      }
    }
  const std::string dir = JoinPath(folder, "");
  MakeDirectories(dir);
  int written = 0, animations = 0;
  std::string error;
  for (int band = 0; band < kBandCount && error.empty(); ++band) {
    std::vector<TRgbImage> frames;
    for (int hour = 0; hour < 24; ++hour) {
      SelectMap(hour, band, shown.LongPath);
      if (!Engine_.LoadAreaCache(CacheFolder_)) {
        error = kDataMissing;  // gone since it was checked
        break;
      }
      Host_.ShowMap(Engine_.AreaGrid());
      const std::string name = dir + GifName(hour, band);
      if (!SaveGifFile(name, Host_.MapBitmap())) {
        error = "Cannot write " + name;
        break;
      }
      ++written;
      frames.push_back(TitledPicture(Host_.MapBitmap(), TPictureDecor{1, {FrameCaption(hour, band)}}).Image);
    }
    if (!error.empty()) break;
    const std::string name = dir + AnimatedGifName(band);
    if (!SaveAnimatedGifFile(name, frames, kFrameDelay))
      error = "Cannot write " + name;
    else
      ++animations;
  }
  // The series drew each map in the view: give it back the one it showed.
  Engine_.SetInputs(shown);
  ShowSelectedMap();
  if (!error.empty()) {
    Host_.ShowError(error + (written ? " (" + FormatInt(written) + " GIF files were written to " + dir + ")" : ""));
    return false;
  }
  Host_.ShowInfo(FormatInt(written) + " GIF files and " + FormatInt(animations) + " animations written to " + dir);
  return true;
}

void TPreCompute::ShowSelectedMap() {
  if (Engine_.LoadAreaCache(CacheFolder_))
    Host_.ShowMap(Engine_.AreaGrid());
  else
    Host_.ShowMap(TVoaGrid());
}

}  // namespace vx
