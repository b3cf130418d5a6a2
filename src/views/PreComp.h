// Pre-computation of area maps into the disk cache, the maximum maps built
// from cached maps, and the series of GIF files. The window (or a test)
// provides what the main window owns through IPreComputeHost. The batch
// runs on a pool of workers; the window's engine only lends it its inputs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/AreaBatch.h"
#include "engine/VoaEng.h"
#include "engine/WorkerPool.h"
#include "views/Raster.h"

namespace vx {

// How a batch stands; the main window's status indicator shows it.
enum class TBatchState { bsComputing, bsFailed, bsDone };

inline constexpr const char* kDataMissing = "Data missing, run Pre-Compute Maps.";

struct TBatchOptions {
  bool AllHours = true;
  bool AllBands = true;
  bool BothPaths = false;
};
// "Start" needs hours or bands to loop over.
inline bool CanStartBatch(const TBatchOptions& o) { return o.AllHours || o.AllBands; }
int BatchJobCount(const TBatchOptions& o);

// A job in 32 bits: hour in bits 0-7, band in 8-15, 255 in 16-23 for the
// long path.
inline uint32_t PackJob(int hour, int band, bool longPath) {
  return uint32_t(hour & 0xFF) | uint32_t(band & 0xFF) << 8 | (longPath ? 0xFFu << 16 : 0u);
}
inline int JobHour(uint32_t job) { return int(job & 0xFF); }
inline int JobBand(uint32_t job) { return int((job >> 8) & 0xFF); }
inline bool JobLongPath(uint32_t job) { return job > 65535; }

// Hours outermost, then bands, then short before long; what is not looped
// over keeps the given value.
std::vector<uint32_t> BuildJobList(const TBatchOptions& o, int hour, int band, bool longPath);
// The same nesting over given hours and bands, on one path.
std::vector<uint32_t> BuildJobList(const std::vector<int>& hours, const std::vector<int>& bands, bool longPath);
std::vector<TAreaJob> AreaJobsOf(const std::vector<uint32_t>& jobs);

// "05UT-14MHz.gif" for hour 5, band 3.
std::string GifName(int hour, int band);
// The day's maps of a band as one animation: "00-23UT-14MHz.gif" for band 3.
std::string AnimatedGifName(int band);
// What each frame of an animation shows above its map: "14 MHz  05 UTC".
std::string FrameCaption(int hour, int band);
inline constexpr int kFrameDelay = 50;  // hundredths of a second

// Where "Generate GIF's" writes: "Gifs/" beside the area cache's folder
// (beside the program in portable mode).
std::string GifFolder();

class IPreComputeHost {
 public:
  virtual ~IPreComputeHost() = default;
  // The main window's inputs into the engine (hour, band and path too).
  virtual void SyncEngineInputs() = 0;
  virtual void SetBatchState(TBatchState state) = 0;
  // The engine's message box for its status.
  virtual void ShowStatusMessage() = 0;
  virtual void ShowError(const std::string& text) = 0;
  // A command went well: what it did, in words.
  virtual void ShowInfo(const std::string& text) = 0;
  // The map view's SetData; MapBitmap is then the rendered map.
  virtual void ShowMap(const TVoaGrid& grid) = 0;
  virtual const TRgbImage& MapBitmap() = 0;
  virtual int MapBand() = 0;
  virtual int MapHour() = 0;
  virtual bool RealTime() = 0;
  virtual void SetRealTime(bool down) = 0;
  // The progress dialog: range, position, modal showing and closing.
  virtual void SetProgressMax(int max) = 0;
  virtual void SetProgressPosition(int position) = 0;
  virtual void ShowProgress() = 0;
  virtual void CloseProgress() = 0;
};

class TPreCompute {
 public:
  TPreCompute(TVoaEngine& engine, std::string cacheFolder, IPreComputeHost& host, std::unique_ptr<TVoaWorkerPool> pool);

  std::vector<uint32_t> JobList;

  // Builds the jobs and starts the uncached ones on the workers; the
  // progress dialog shows only when a job runs. False when nothing runs
  // (everything cached, or the workers could not be prepared).
  bool StartBatch(const TBatchOptions& options);
  // Ends the batch after a failure or a cancel; computed maps stay.
  void BatchFailed();
  // The progress dialog's Cancel.
  void Cancel();
  // The progress dialog closed, whatever the reason.
  void ProgressClosed();
  bool Running() const { return Running_; }
  const TAreaBatch& Batch() const { return Batch_; }
  TVoaWorkerPool& Pool() { return *Pool_; }

  // kind 0: maximum over hours, 1: over bands, 2: over both. False (after
  // the missing-data message) when a map is not cached.
  bool MaxOverMaps(int kind);
  // Writes the 192 GIF files and an animation of the day for each band
  // into folder and says how many went where.
  // Writes nothing unless every map is cached; stops at the first file that
  // cannot be written. The map shown afterwards is the one its controls name.
  bool GenerateGifs(const std::string& folder);

 private:
  // Points the engine's inputs at one map of the series.
  void SelectMap(int hour, int band, bool longPath);
  // Shows the cached map of the engine's inputs again, or nothing.
  void ShowSelectedMap();

  void BatchOver();

  TVoaEngine& Engine_;
  std::string CacheFolder_;
  IPreComputeHost& Host_;
  std::unique_ptr<TVoaWorkerPool> Pool_;
  TAreaBatch Batch_;
  bool Running_ = false;
  bool RealTimeAtStart_ = false;
  bool Cancelling_ = false;
};

}  // namespace vx
