#include "views/PreComp.h"

#include <algorithm>

#include "common/Paths.h"
#include "common/FileUtil.h"
#include "common/TextUtil.h"
#include "engine/Cache.h"
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

std::string GifName(int hour, int band) {
  return FormatInt(hour, 2, true) + "UT-" + FormatInt(int(BandFrequency[size_t(band)]), 2, true) + "MHz.gif";
}

std::string GifFolder() {
  std::string cache = AreaCacheFolder();
  while (!cache.empty() && cache.back() == '/') cache.pop_back();
  return FolderOf(cache) + "Gifs/";
}

bool TPreCompute::StartBatch(const TBatchOptions& options) {
  if (!CanStartBatch(options)) return false;
  // The clock must not move the map hour while the batch runs.
  RealTimeAtStart_ = Host_.RealTime();
  Host_.SetRealTime(false);
  Host_.SetProgressMax(BatchJobCount(options));
  Host_.SetProgressPosition(0);

  Engine_.CancelPrediction();
  Host_.SyncEngineInputs();
  const TVoaInputs& in = Engine_.Inputs();
  JobList = BuildJobList(options, in.Hour, in.Band, in.LongPath);
  CurrentJob = -1;
  Host_.SetStatus(stComputing);
  Running_ = true;
  if (RunNextJob()) {
    Host_.ShowProgress();
    return true;
  }
  // Nothing to compute: no dialog shows, so give the clock back here.
  Running_ = false;
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

bool TPreCompute::RunNextJob() {
  Host_.SetStatus(stComputing);
  while (CurrentJob + 1 < int(JobList.size())) {
    ++CurrentJob;
    const uint32_t job = JobList[size_t(CurrentJob)];
    Host_.SetProgressPosition(CurrentJob);
    SelectMap(JobHour(job), JobBand(job), JobLongPath(job));
    if (!Engine_.AreaCacheValid(CacheFolder_)) {
      Engine_.RunAreaPrediction();
      return true;
    }
  }
  Host_.SetStatus(stDone);
  return false;
}

void TPreCompute::EnginePredict() {
  if (!Running_) return;
  Engine_.SaveAreaCache(CacheFolder_);
  if (!RunNextJob()) {
    Running_ = false;
    Host_.CloseProgress();
  }
}

void TPreCompute::BatchFailed() {
  if (!Running_) return;
  Running_ = false;
  if (Engine_.Status() != vsCancelled) Host_.ShowStatusMessage();
  Host_.SetStatus(stFailed);
  JobList.clear();
  CurrentJob = -1;
  Host_.CloseProgress();
}

void TPreCompute::Cancel() {
  if (!Running_) return;
  Engine_.CancelPrediction();
  BatchFailed();
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
  const std::string dir = JoinPath(folder, "");
  MakeDirectories(dir);
  Engine_.CancelPrediction();
  Host_.SyncEngineInputs();
  const bool longPath = Engine_.Inputs().LongPath;
  for (int band = 0; band < kBandCount; ++band)
    for (int hour = 0; hour < 24; ++hour) {
      SelectMap(hour, band, longPath);
      if (!Engine_.LoadAreaCache(CacheFolder_)) {
        Host_.ShowError(kDataMissing);
        return false;
      }
      Host_.ShowMap(Engine_.AreaGrid());
      const std::string name = dir + GifName(hour, band);
      if (!SaveGifFile(name, Host_.MapBitmap())) {
        Host_.ShowError("Cannot write " + name);
        return false;
      }
    }
  return true;
}

}  // namespace vx
