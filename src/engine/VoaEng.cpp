#include "engine/VoaEng.h"

#include <atomic>
#include <thread>

#include "common/FileUtil.h"
#include "common/Paths.h"
#include "engine/AntPattern.h"
#include "engine/Antennas.h"
#include "engine/Cache.h"
#include "engine/Decks.h"
#include "engine/ModelFiles.h"
#include "engine/ModelRun.h"
#include "engine/VoaParse.h"
#include "engine/WorkerPool.h"

namespace vx {

// What to tell a user whose program cannot be used, and how to fix it.
static std::string ProgramProblem(const TVoacapSetup& setup) {
  if (setup.Program.empty())
    return "The VOACAP program (voacapl) was not found on the PATH. Install voacapl, then run makeitshfbc once.";
  if (FileExists(setup.Program) && !IsExecutableFile(setup.Program))
    return "The VOACAP program " + setup.Program + " is not executable (chmod +x " + setup.Program + ").";
  return "The VOACAP program " + setup.Program + " was not found.";
}

TVoaEngine::TVoaEngine(std::unique_ptr<IProcessRunner> runner, TVoacapSetup setup)
    : Process_(std::move(runner)), Setup_(std::move(setup)) {
  Inputs_.GridSize = 16;
  JobInputs_ = Inputs_;
  if (Process_) Process_->OnFinished = [this](uint32_t code) { ProcessFinished(code); };
}

// A built-in job: the model runs on its own thread with copies of the
// inputs; the owner's thread collects the figures once Done is set.
struct TVoaEngine::TBuiltinJob {
  std::thread Thread;
  std::atomic<bool> Stop{false};
  std::atomic<bool> Done{false};
  TVoaStatus Status = vsReady;
  std::string Detail;
  TPointResults Point;
  TVoaGrid Grid;
};

void TVoaEngine::CheckInstallation() {
  StopBuiltin();
  Builtin_ = false;
  ModelData_.reset();
  if (Setup_.Engine != TEngineChoice::Builtin) {
    CheckVoacapl();
    if (Setup_.Engine == TEngineChoice::Voacapl || Status_ == vsReady) return;
  }
  CheckBuiltin();
}

void TVoaEngine::ChooseEngine(TEngineChoice choice) {
  CancelPrediction();
  Setup_.Engine = choice;
  CheckInstallation();
}

void TVoaEngine::CheckVoacapl() {
  Installation_ = LocateVoacap(Setup_);
  const std::string& folder = Installation_.Folder;
  NotFoundDetail_.clear();
  AntennaFolder_.clear();
  if (!DirectoryExists(folder)) {
    Status_ = vsNotFound;
    NotFoundDetail_ = Installation_.Program.empty() ? ProgramProblem(Setup_)
                                                    : "VOACAP data folder not found: " + folder + " (run makeitshfbc)";
  } else {
    AntennaFolder_ = folder + TVoacapFiles::AntennaFolder;
    if (!MakeDirectories(AntennaFolder_) || !MakeDirectories(folder + TVoacapFiles::AreaFolder)) {
      Status_ = vsNotFound;
      NotFoundDetail_ = "The VOACAP data folder " + folder + " is not writable.";
    } else if (Installation_.Program.empty()) {
      Status_ = vsNotFound;
      NotFoundDetail_ = ProgramProblem(Setup_);
    } else {
      auto version = ReadWholeFile(folder + TVoacapFiles::VersionFile, 4096);
      Status_ = version ? CheckVersionText(*version) : vsNotFound;
    }
  }
  if (Status_ == vsReady) LoadAntennaList();
}

void TVoaEngine::CheckBuiltin() {
  Builtin_ = true;
  NotFoundDetail_.clear();
  AntennaFolder_.clear();
  // The antennas are shared with VOACAP's data folder when there is one, so
  // the antenna choices mean the same files with either engine.
  const TVoacapInstallation voacapl = LocateVoacap(Setup_);
  Installation_ = {};
  Installation_.Folder = DirectoryExists(voacapl.Folder) ? voacapl.Folder : EngineFolder();
  const std::string dataFile = FindModelData();
  std::string error;
  if (dataFile.empty()) {
    Status_ = vsNotFound;
    NotFoundDetail_ = std::string("The model data file ") + model::kModelDataFileName + " was not found in " +
                      ShippedDataFolder() + " or beside the program. Reinstall Vantor.";
    return;
  }
  ModelData_ = SharedModelData(dataFile, error);
  if (!ModelData_) {
    Status_ = vsNotFound;
    NotFoundDetail_ = error;
    return;
  }
  AntennaFolder_ = Installation_.Folder + TVoacapFiles::AntennaFolder;
  if (!MakeDirectories(AntennaFolder_)) {
    Status_ = vsNotFound;
    NotFoundDetail_ = "The folder " + AntennaFolder_ + " cannot be created or is not writable.";
    return;
  }
  Status_ = vsReady;
  LoadAntennaList();
}

const char* TVoaEngine::EngineName() const { return Builtin_ ? kBuiltinEngineName : kVoaplEngineName; }

void TVoaEngine::SetThreads(int threads) { Threads_ = std::max(0, threads); }

const char* TVoaEngine::StatusText() const {
  if (Builtin_) switch (Status_) {
      case vsReady: return "Built-in engine ready";
      case vsNotFound: return "Built-in engine not available";
      case vsExecError: return "Error in the built-in engine";
      case vsDeckError: return "The built-in engine cannot run these inputs";
      case vsOutputError: return "Error in the built-in engine's results";
      default: break;
    }
  return StatusMessage(Status_);
}

TVoaEngine::~TVoaEngine() {
  StopBuiltin();
  if (Process_) {
    CancelPrediction();
    Process_->OnFinished = nullptr;
  }
}

void TVoaEngine::ClearResults() {
  Results_.ClearResults();
  AreaGrid_.clear();
}

void TVoaEngine::NoteFailure(TVoaStatus status, const std::string& detail) {
  Status_ = status;
  FailureDetail_ = detail;
}

bool TVoaEngine::Running() const { return Waiting_ || Job_ || (Process_ && Process_->Running()); }

void TVoaEngine::CancelPrediction() {
  Status_ = vsCancelled;
  StopBuiltin();
  if (Process_) Process_->Terminate();
  EndJob();
}

void TVoaEngine::EndJob() {
  Waiting_ = false;
  Lock_.Unlock();
}

void TVoaEngine::RunPointPrediction() { RunJob(false); }
void TVoaEngine::RunAreaPrediction() { RunJob(true); }

std::string TVoaEngine::DeckFileName() const {
  return VoacapFolder() + (AreaMode_ ? TVoacapFiles::AreaDeck : TVoacapFiles::PointDeck);
}

std::string TVoaEngine::OutputFileName() const {
  return VoacapFolder() + (AreaMode_ ? TVoacapFiles::AreaOutput : TVoacapFiles::PointOutput);
}

// How often a job that waits for the data folder tries again.
static constexpr int kLockRetryMs = 250;

void TVoaEngine::RunJob(bool area) {
  CancelPrediction();
  Status_ = vsReady;
  FailureDetail_.clear();
  AreaMode_ = area;
  JobInputs_ = Inputs_;
  ClearResults();
  if (Builtin_)
    RunBuiltin();
  else
    StartWhenFolderFree();
}

// How often the owner's thread looks whether a built-in job is done.
static constexpr int kBuiltinPollMs = 4;

void TVoaEngine::RunBuiltin() {
  if (Status_ != vsReady || !ModelData_) {
    Status_ = vsExecError;
    FailureDetail_ = NotFoundDetail_;
    Raise(OnError);
    return;
  }
  TModelJob job{JobInputs_, AntennaFiles_, VoacapFolder(), ModelData_, Threads_ > 0 ? Threads_ : CoreCount()};
  const bool area = AreaMode_;
  auto run = [area](TBuiltinJob& state, const TModelJob& what) {
    state.Status = area ? RunModelArea(what, &state.Stop, state.Grid, state.Detail)
                        : RunModelPoint(what, &state.Stop, state.Point, state.Detail);
    state.Done.store(true, std::memory_order_release);
  };
  Job_ = std::make_unique<TBuiltinJob>();
  if (!Process_) {
    // No runner to come back on: the job runs here and now.
    run(*Job_, job);
    FinishBuiltin(*Job_);
    return;
  }
  Job_->Thread = std::thread([run, state = Job_.get(), job = std::move(job)] { run(*state, job); });
  Process_->Defer(kBuiltinPollMs, [this] { PollBuiltin(); });
}

void TVoaEngine::PollBuiltin() {
  if (!Job_) return;
  if (!Job_->Done.load(std::memory_order_acquire)) {
    Process_->Defer(kBuiltinPollMs, [this] { PollBuiltin(); });
    return;
  }
  Job_->Thread.join();
  FinishBuiltin(*Job_);
}

void TVoaEngine::FinishBuiltin(TBuiltinJob& job) {
  const auto done = std::move(Job_);  // ends with this call
  Status_ = job.Status;
  FailureDetail_ = job.Detail;
  if (Status_ == vsReady) {
    Results_ = std::move(job.Point);
    AreaGrid_ = std::move(job.Grid);
    Raise(OnPredict);
  } else if (Status_ != vsCancelled) {
    Raise(OnError);
  }
}

void TVoaEngine::StopBuiltin() {
  if (!Job_) return;
  Job_->Stop.store(true, std::memory_order_relaxed);
  if (Job_->Thread.joinable()) Job_->Thread.join();
  Job_.reset();
}

void TVoaEngine::StartWhenFolderFree() {
  // The whole job (deck, run, output, cleanup) holds the folder's lock.
  switch (Lock_.TryLock(VoacapFolder())) {
    case TDataFolderLock::lrBusy:
      if (Process_) {
        const bool first = !Waiting_;
        Waiting_ = true;
        Process_->Defer(kLockRetryMs, [this] { StartWhenFolderFree(); });
        if (first) Raise(OnWaiting);
        return;
      }
      [[fallthrough]];
    case TDataFolderLock::lrFailed:
      Status_ = vsDeckError;
      FailureDetail_ = "The VOACAP data folder " + VoacapFolder() + " is not writable.";
      EndJob();
      Raise(OnError);
      return;
    case TDataFolderLock::lrLocked: Waiting_ = false; break;
  }
  if (!WriteDeck()) {
    Status_ = vsDeckError;
    EndJob();
    Raise(OnError);
    return;
  }
  // An output left by a cancelled job must not pass for this job's result
  // when the program ends without writing one.
  RemoveFile(OutputFileName());
  if (!Process_ || Installation_.Program.empty()) {
    Status_ = vsExecError;
    RemoveFile(DeckFileName());
    EndJob();
    Raise(OnError);
    return;
  }
  Process_->Run(VoacapCommand(Installation_, AreaMode_));
}

void TVoaEngine::ProcessFinished(uint32_t exitCode) {
  RemoveFile(DeckFileName());
  if (exitCode != 0)
    Status_ = vsExecError;
  else
    ParseOutput();
  RemoveFile(OutputFileName());
  EndJob();
  if (Status_ == vsReady)
    Raise(OnPredict);
  else if (Status_ != vsCancelled)
    Raise(OnError);
}

void TVoaEngine::Raise(const TNotifyEvent& event) {
  if (event) event(*this);
}

bool TVoaEngine::WriteDeck() {
  auto deck = AreaMode_ ? BuildAreaDeck(JobInputs_, AntennaFiles_) : BuildPointDeck(JobInputs_, AntennaFiles_);
  if (!deck) {
    // The inputs, not the folder, are at fault: say which.
    FailureDetail_ = DeckProblem(JobInputs_, AntennaFiles_, AreaMode_);
    return false;
  }
  if (WriteWholeFile(DeckFileName(), *deck)) return true;
  FailureDetail_ = "Cannot write " + DeckFileName() + ".";
  return false;
}

// Outputs of a few MB at most; anything far larger is not the program's.
static constexpr size_t kMaxOutputBytes = size_t(64) << 20;

void TVoaEngine::ParseOutput() {
  const std::string file = OutputFileName();
  if (!FileExists(file)) {
    Status_ = vsExecError;
    return;
  }
  auto text = ReadWholeFile(file, kMaxOutputBytes);
  if (!text)
    Status_ = vsOutputError;
  else
    Status_ = AreaMode_ ? ParseAreaText(*text, AreaGrid_) : ParsePointText(*text, Results_);
}

TAreaCacheKey TVoaEngine::ReadAreaCacheKey(const TVoaInputs& in) const {
  TAreaCacheKey key;
  key.Inputs = in;
  key.Engine = EngineName();
  const auto antenna = [&](int32_t index, std::string& name, uint64_t& hash) {
    if (index < 0 || size_t(index) >= AntennaFiles_.Count()) return;
    name = AntennaFiles_[size_t(index)];
    const auto bytes = ReadWholeFile(AntennaFolder_ + name, kAntennaFileMaxBytes);
    hash = bytes ? ContentHash(*bytes) : 0;
  };
  if (in.Band >= 0 && in.Band < kBandCount) {
    antenna(in.TxAntenna[in.Band], key.TxAntenna, key.TxAntennaHash);
    antenna(in.RxAntenna[in.Band], key.RxAntenna, key.RxAntennaHash);
  }
  return key;
}

bool TVoaEngine::LoadAreaCache(const std::string& folder) {
  if (!vx::LoadAreaCache(folder, ReadAreaCacheKey(Inputs_), AreaGrid_)) return false;
  // A map served from the cache is a finished prediction of these inputs.
  AreaMode_ = true;
  JobInputs_ = Inputs_;
  Status_ = vsReady;
  return true;
}

bool TVoaEngine::SaveAreaCache(const std::string& folder) const {
  return vx::SaveAreaCache(folder, ReadAreaCacheKey(JobInputs_), AreaGrid_);
}

bool TVoaEngine::AreaCacheValid(const std::string& folder) const {
  return vx::AreaCacheValid(folder, ReadAreaCacheKey(Inputs_));
}

void TVoaEngine::LoadAntennaList() {
  if (!vx::LoadAntennaList(AntennaFolder_, AntennaFiles_, AntennaNames_)) Status_ = vsAntennaError;
}

void TVoaEngine::ImportAntennas(const std::string& folder) {
  if (Status_ != vsReady) return;
  if (!vx::ImportAntennas(folder, AntennaFolder_, AntennaFiles_, AntennaNames_)) Status_ = vsAntennaError;
}

TVoaEngine::TStatusMessage TVoaEngine::StatusMessageBox() const {
  if (Builtin_ && Status_ == vsNotFound) return {false, StatusText(), NotFoundDetail_};
  switch (Status_) {
    case vsNotFound:
      return {true, "VOACAP v.08.1124W is required for this program to run.\rOpen the VOACAP download page?",
              NotFoundDetail_};
    case vsTooOld:
      return {true, "Your version of VOACAP is too old, please upgrade.\rOpen the VOACAP download page?", ""};
    default: return {false, StatusText(), FailureDetail_};
  }
}

}  // namespace vx
