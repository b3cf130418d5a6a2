// An exclusive lock on a VOACAP data folder. The program keeps fixed scratch
// names in its folder, so two runs there at once (two windows, vantor-cli
// beside the window, two users' sessions) would read each other's files.
// The lock is advisory, on a file of our own in the folder; the kernel drops
// it when its holder dies, so a crash never leaves the folder locked.
#pragma once

#include <string>

#include "common/FolderLock.h"

namespace vx {

class TDataFolderLock {
 public:
  using TResult = TFolderLock::TResult;
  static constexpr TResult lrLocked = TFolderLock::lrLocked;
  static constexpr TResult lrBusy = TFolderLock::lrBusy;
  static constexpr TResult lrFailed = TFolderLock::lrFailed;

  // Takes the lock of folder (with its trailing separator) without waiting.
  // lrFailed: the lock file cannot be opened (a folder we may not write).
  TResult TryLock(const std::string& folder) { return Lock_.TryLock(folder + FileName); }
  void Unlock() { Lock_.Unlock(); }
  bool Locked() const { return Lock_.Locked(); }

  static constexpr const char* FileName = "vantor.lock";

 private:
  TFolderLock Lock_;
};

}  // namespace vx
