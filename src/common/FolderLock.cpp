#include "common/FolderLock.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace vx {

#ifdef _WIN32

TFolderLock::TResult TFolderLock::TryLock(const std::string& name) {
  Unlock();
  HANDLE h = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return lrFailed;
  OVERLAPPED o = {};
  if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &o)) {
    CloseHandle(h);
    return lrBusy;
  }
  Handle_ = reinterpret_cast<intptr_t>(h);
  return lrLocked;
}

void TFolderLock::Unlock() {
  if (Handle_ == kNone) return;
  HANDLE h = reinterpret_cast<HANDLE>(Handle_);
  OVERLAPPED o = {};
  UnlockFileEx(h, 0, 1, 0, &o);
  CloseHandle(h);
  Handle_ = kNone;
}

#else

TFolderLock::TResult TFolderLock::TryLock(const std::string& name) {
  Unlock();
  const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return lrFailed;
  // flock belongs to the open file: a second lock from this same process
  // through another open() conflicts too, as another process's would.
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    const bool busy = errno == EWOULDBLOCK;
    ::close(fd);
    return busy ? lrBusy : lrFailed;
  }
  Handle_ = fd;
  return lrLocked;
}

void TFolderLock::Unlock() {
  if (Handle_ == kNone) return;
  ::close(Handle_);  // closing the file drops the lock
  Handle_ = kNone;
}

#endif

}  // namespace vx
