// TVoaEngine: computes predictions with the outside propagation program or
// the built-in model. CheckInstallation picks and checks the engine once
// (TVoacapSetup::Engine); then the engine runs one job at a time and
// reports through OnPredict or OnError on the runner's thread.
//   voacapl:  writes a deck, runs the program through its process runner,
//             reads the output into its results;
//   built-in: runs the model on a thread of its own, in memory, and hands
//             over its figures on the runner's thread (at once when the
//             engine has no runner).
//
// Inputs are set as a whole; a job works on the copy taken when it starts
// (JobInputs), so its results and its cache entry belong to the inputs it
// ran with, whatever changes while it runs. Results are read-only to callers.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vx::model {
struct TModelData;
}

#include "engine/Cache.h"
#include "engine/DataLock.h"
#include "engine/Locator.h"
#include "engine/ProcessRunner.h"
#include "engine/VoaTypes.h"
#include "refdata/AlStrLst.h"

namespace vx {

class TVoaEngine {
 public:
  using TNotifyEvent = std::function<void(TVoaEngine& sender)>;

  TVoaEngine(std::unique_ptr<IProcessRunner> runner, TVoacapSetup setup = {});
  ~TVoaEngine();
  TVoaEngine(const TVoaEngine&) = delete;
  TVoaEngine& operator=(const TVoaEngine&) = delete;

  // Finds the program and its data folder, checks the version, prepares the
  // engine's own folders and loads the antenna list. Never fails: the
  // outcome is in Status (vsNotFound until this has run).
  void CheckInstallation();
  // Another engine choice, checked at once (CheckInstallation). Not while a
  // job runs.
  void ChooseEngine(TEngineChoice choice);

  TNotifyEvent OnPredict;
  TNotifyEvent OnError;
  // The data folder is locked by another run; the job starts when it is
  // free. Raised once per job that has to wait.
  TNotifyEvent OnWaiting;

  // Inputs.
  const TVoaInputs& Inputs() const { return Inputs_; }
  void SetInputs(const TVoaInputs& inputs) { Inputs_ = inputs; }
  // The inputs of the job that runs, or ran last.
  const TVoaInputs& JobInputs() const { return JobInputs_; }

  // Which engine answers: "builtin" or "voacapl" (also in the cache keys).
  bool Builtin() const { return Builtin_; }
  const char* EngineName() const;
  // Built-in runs share a map's rows or a chart's hours among this many
  // threads (0, the default: one per core).
  void SetThreads(int threads);
  int Threads() const { return Threads_; }

  // Results and state.
  TVoaStatus Status() const { return Status_; }
  const char* StatusText() const;
  // What the last failed job could not do, naming the file or folder; may
  // be empty.
  const std::string& FailureDetail() const { return FailureDetail_; }
  bool AreaMode() const { return AreaMode_; }
  const TPointResults& PointResults() const { return Results_; }
  const TVoaGrid& AreaGrid() const { return AreaGrid_; }
  bool Running() const;  // a job runs or waits for the data folder
  bool Waiting() const { return Waiting_; }

  // The installation. The built-in engine has no program; its folder is
  // the VOACAP data folder when there is one (so both engines share the
  // antennas), else a folder of its own.
  const std::string& VoacapFolder() const { return Installation_.Folder; }  // with its trailing separator
  const std::string& VoacapProgram() const { return Installation_.Program; }
  const std::string& AntennaFolder() const { return AntennaFolder_; }
  const TAlStringList& AntennaFiles() const { return AntennaFiles_; }
  const std::vector<std::string>& AntennaNames() const { return AntennaNames_; }
  const char* DownloadPage() const { return kDownloadPage; }
  // The places and the worker count the user gave.
  const TVoacapSetup& Setup() const { return Setup_; }

  void RunPointPrediction();
  void RunAreaPrediction();
  // Kills a running job without an event; Status becomes vsCancelled.
  void CancelPrediction();
  void ClearResults();
  // Takes over the outcome of a job another engine ran for this one (a
  // worker of the batch), so that the status box and the indicator tell it.
  // Raises no event.
  void NoteFailure(TVoaStatus status, const std::string& detail);

  // The area cache (folder with its trailing separator). Load takes the
  // current inputs: on success the stored grid becomes AreaGrid, the engine
  // is in area mode and Status is vsReady. Save files AreaGrid under the
  // inputs of the job that computed it.
  bool LoadAreaCache(const std::string& folder);
  bool SaveAreaCache(const std::string& folder) const;
  bool AreaCacheValid(const std::string& folder) const;
  // The cache key of a map for these inputs: reads the band's two antenna
  // files to hash their contents.
  TAreaCacheKey ReadAreaCacheKey(const TVoaInputs& in) const;

  // What the status message box says for the current status.
  struct TStatusMessage {
    bool Warning;        // a Yes/No warning that offers the download page
    std::string Text;    // lines separated by "\r"
    std::string Detail;  // an extra hint for the user, may be empty
  };
  TStatusMessage StatusMessageBox() const;

  void LoadAntennaList();
  void ImportAntennas(const std::string& folder);

  std::string DeckFileName() const;
  std::string OutputFileName() const;

 private:
  struct TBuiltinJob;
  void CheckVoacapl();
  void CheckBuiltin();
  void RunBuiltin();
  void PollBuiltin();
  void FinishBuiltin(TBuiltinJob& job);
  void StopBuiltin();
  void RunJob(bool area);
  void StartWhenFolderFree();
  void EndJob();
  void ProcessFinished(uint32_t exitCode);
  void Raise(const TNotifyEvent& event);
  bool WriteDeck();
  void ParseOutput();

  std::unique_ptr<IProcessRunner> Process_;
  TDataFolderLock Lock_;
  bool Waiting_ = false;
  TVoacapSetup Setup_;
  TVoacapInstallation Installation_;
  std::string NotFoundDetail_;
  std::string FailureDetail_;
  TVoaStatus Status_ = vsNotFound;
  TVoaInputs Inputs_;
  TVoaInputs JobInputs_;
  bool AreaMode_ = false;
  TPointResults Results_;
  TVoaGrid AreaGrid_;
  std::string AntennaFolder_;
  TAlStringList AntennaFiles_;
  std::vector<std::string> AntennaNames_;
  bool Builtin_ = false;
  int Threads_ = 0;
  std::shared_ptr<const model::TModelData> ModelData_;
  std::unique_ptr<TBuiltinJob> Job_;
};

}  // namespace vx
