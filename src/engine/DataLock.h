// An exclusive lock on a VOACAP data folder. The program keeps fixed scratch
// names in its folder, so two runs there at once (two windows, vantor-cli
// beside the window, two users' sessions) would read each other's files.
// The lock is advisory, on a file of our own in the folder; the kernel drops
// it when its holder dies, so a crash never leaves the folder locked.
#pragma once

#include <string>

namespace vx {

class TDataFolderLock {
 public:
  enum TResult { lrLocked, lrBusy, lrFailed };

  TDataFolderLock() = default;
  ~TDataFolderLock() { Unlock(); }
  TDataFolderLock(const TDataFolderLock&) = delete;
  TDataFolderLock& operator=(const TDataFolderLock&) = delete;

  // Takes the lock of folder (with its trailing separator) without waiting.
  // lrFailed: the lock file cannot be opened (a folder we may not write).
  TResult TryLock(const std::string& folder);
  void Unlock();
  bool Locked() const { return Handle_ != kNone; }

  static const char* const FileName;

 private:
#ifdef _WIN32
  static constexpr intptr_t kNone = -1;
#else
  static constexpr int kNone = -1;
#endif
  decltype(kNone + 0) Handle_ = kNone;
};

}  // namespace vx
