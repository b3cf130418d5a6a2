#include "engine/WorkerPool.h"

#include <algorithm>
#include <filesystem>
#include <thread>

#include "engine/WorkerFolder.h"

namespace vx {

int CoreCount() { return std::max(1, int(std::thread::hardware_concurrency())); }

TVoaWorkerPool::TVoaWorkerPool(TRunnerFactory makeRunner, TWorkerPoolSetup setup)
    : MakeRunner_(std::move(makeRunner)), Setup_(std::move(setup)) {}

TVoaWorkerPool::~TVoaWorkerPool() {
  CancelAll();
  Workers_.clear();
  if (TempSet_ && !FolderSet_.empty()) {
    // Another process may work in the same set (the window beside
    // vantor-cli precompute): its folders stay while one of them is locked.
    std::vector<std::unique_ptr<TDataFolderLock>> held;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(FolderSet_, ignored)) {
      held.push_back(std::make_unique<TDataFolderLock>());
      if (held.back()->TryLock(entry.path().string() + "/") == TDataFolderLock::lrBusy) return;
    }
    std::filesystem::remove_all(FolderSet_, ignored);  // links go, not what they point to
  }
}

int TVoaWorkerPool::WantedCount(const TVoaEngine& user) const {
  int n = Setup_.Workers > 0 ? Setup_.Workers : user.Setup().Workers > 0 ? user.Setup().Workers : CoreCount();
  return std::clamp(n, 1, kMaxWorkers);
}

bool TVoaWorkerPool::Prepare(const TVoaEngine& user, std::string& error) {
  if (Running()) {
    error = "The workers are busy.";
    return false;
  }
  // The user's engine may have failed or been cancelled since; what counts
  // is that its installation was found and checked.
  const TVoaStatus status = user.Status();
  if ((!user.Builtin() && user.VoacapProgram().empty()) || status == vsNotFound || status == vsTooOld ||
      status == vsAntennaError) {
    error = user.StatusText();
    return false;
  }
  const int count = WantedCount(user);
  Wanted_ = count;
  if (user.Builtin()) return PrepareBuiltin(user, count, error);
  const std::string& folder = user.VoacapFolder();
  const std::string set =
      ChooseWorkerFolderSet(Setup_.Bases.empty() ? DefaultWorkerBases() : Setup_.Bases, folder, count);
  std::vector<std::string> folders;
  if (set.empty())
    folders.push_back(folder);
  else
    for (int k = 0; k < count; ++k) {
      folders.push_back(WorkerFolder(set, k));
      if (!PrepareWorkerFolder(folder, folders.back(), error)) return false;
    }

  const bool same = !Builtin_ && Program_ == user.VoacapProgram() && UserFolder_ == folder && FolderSet_ == set &&
                    Workers_.size() == folders.size();
  Builtin_ = false;
  if (!same) {
    Workers_.clear();
    Program_ = user.VoacapProgram();
    UserFolder_ = folder;
    FolderSet_ = set;
    const std::string temp = PrivateTempBase();
    TempSet_ = !temp.empty() && set.rfind(temp, 0) == 0;
    for (const std::string& f : folders) {
      TVoacapSetup s;
      s.Program = Program_;
      s.DataFolder = f;
      Workers_.push_back(std::make_unique<TVoaEngine>(MakeRunner_(), s));
    }
  }
  for (auto& w : Workers_) {
    // Checked every time: the antenna list is read again, so that the
    // indexes in the inputs name the same files as in the user's engine.
    w->CheckInstallation();
    if (w->Status() != vsReady) {
      error = std::string(w->StatusText()) + " (" + w->VoacapFolder() + ")";
      Workers_.clear();
      Program_.clear();
      return false;
    }
    if (w->AntennaFiles().Lines() != user.AntennaFiles().Lines()) {
      error = "The antenna list of " + w->VoacapFolder() + " differs from the one of " + folder + ".";
      Workers_.clear();
      Program_.clear();
      return false;
    }
  }
  return true;
}

// Built-in workers write nothing: they all read the user's folder, each
// running one map at a time on one thread of its own.
bool TVoaWorkerPool::PrepareBuiltin(const TVoaEngine& user, int count, std::string& error) {
  const bool same = Builtin_ && UserFolder_ == user.VoacapFolder() && Workers_.size() == size_t(count);
  if (!same) {
    Workers_.clear();
    Program_.clear();
    FolderSet_.clear();
    TempSet_ = false;
    UserFolder_ = user.VoacapFolder();
    for (int k = 0; k < count; ++k) {
      TVoacapSetup s;
      s.DataFolder = UserFolder_;
      s.Engine = TEngineChoice::Builtin;
      Workers_.push_back(std::make_unique<TVoaEngine>(MakeRunner_(), s));
      Workers_.back()->SetThreads(1);
    }
  }
  Builtin_ = true;
  for (auto& w : Workers_) {
    w->CheckInstallation();
    if (w->Status() != vsReady || w->AntennaFiles().Lines() != user.AntennaFiles().Lines()) {
      error = w->Status() != vsReady ? std::string(w->StatusText()) : "The antenna list changed while reading it.";
      Workers_.clear();
      Builtin_ = false;
      return false;
    }
  }
  return true;
}

void TVoaWorkerPool::CancelAll() {
  for (auto& w : Workers_)
    if (w->Running()) w->CancelPrediction();
}

bool TVoaWorkerPool::Running() const {
  return std::any_of(Workers_.begin(), Workers_.end(), [](const auto& w) { return w->Running(); });
}

}  // namespace vx
