// An exclusive, advisory lock on a file of our own in a folder, for work
// that must not run twice at once there. The kernel drops it when its holder
// dies, so a crash never leaves the folder locked.
#pragma once

#include <cstdint>
#include <string>

namespace vx {

class TFolderLock {
 public:
  enum TResult { lrLocked, lrBusy, lrFailed };

  TFolderLock() = default;
  ~TFolderLock() { Unlock(); }
  TFolderLock(const TFolderLock&) = delete;
  TFolderLock& operator=(const TFolderLock&) = delete;

  // Takes the lock of lockFile (created if missing) without waiting.
  // lrFailed: the file cannot be opened (a folder we may not write).
  TResult TryLock(const std::string& lockFile);
  void Unlock();
  bool Locked() const { return Handle_ != kNone; }

 private:
#ifdef _WIN32
  static constexpr intptr_t kNone = -1;
#else
  static constexpr int kNone = -1;
#endif
  decltype(kNone + 0) Handle_ = kNone;
};

}  // namespace vx
