#include "common/UserFile.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include "common/FileUtil.h"
#endif

namespace vx {

#ifdef _WIN32

void IgnoreBrokenPipes() {}

bool WriteUserFile(const std::string& path, std::string_view bytes, std::string& error) {
  if (WriteFileAtomic(path, bytes)) return true;
  error = "Cannot write " + path;
  return false;
}

#else

namespace {

bool Fail(const std::string& path, int err, std::string& error) {
  error = "Cannot write " + path + ": " + std::strerror(err);
  return false;
}

// Another user's link in a sticky world-writable folder: the kernel refuses
// to follow it (protected_symlinks), and so do we, since we resolve links
// ourselves and the kernel never sees them.
bool ForeignLinkInSharedFolder(const std::string& link) {
  struct stat ls {};
  if (::lstat(link.c_str(), &ls) != 0 || !S_ISLNK(ls.st_mode)) return false;
  const std::filesystem::path p(link);
  const std::string dir = p.has_parent_path() ? p.parent_path().string() : ".";
  struct stat ds {};
  if (::stat(dir.c_str(), &ds) != 0) return false;
  const bool sharedFolder = (ds.st_mode & S_ISVTX) && (ds.st_mode & S_IWOTH);
  return sharedFolder && ls.st_uid != ::geteuid() && ls.st_uid != ds.st_uid;
}

// The file a chain of symbolic links ends in (which may not exist yet), or
// "" with error set when a link may not be followed.
std::string FollowLinks(std::string path, std::string& error) {
  namespace fs = std::filesystem;
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) break;
    if (ForeignLinkInSharedFolder(path)) {
      error = "Cannot write " + path + ": it is a link owned by another user in a shared folder";
      return {};
    }
    fs::path target = fs::read_symlink(path, ec);
    if (ec) break;
    path = target.is_absolute() ? target.string() : (fs::path(path).parent_path() / target).string();
  }
  return path;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(size_t(n));
  }
  return true;
}

// Devices and pipes are written as they are: there is nothing to replace.
// The open does not wait: a FIFO without a reader fails at once (ENXIO)
// rather than blocking its caller, and whoever else it serves, for good.
bool WriteInPlace(const std::string& path, std::string_view bytes, std::string& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENXIO) {
      error = "Cannot write " + path + ": no program reads from it";
      return false;
    }
    return Fail(path, errno, error);
  }
  // Once open, the writes may wait for the reader like any others.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  if (!WriteAll(fd, bytes)) {
    const int err = errno;
    ::close(fd);
    return Fail(path, err, error);
  }
  if (::close(fd) != 0) return Fail(path, errno, error);
  return true;
}

}  // namespace

void IgnoreBrokenPipes() { std::signal(SIGPIPE, SIG_IGN); }

bool WriteUserFile(const std::string& path, std::string_view bytes, std::string& error) {
  const std::string target = FollowLinks(path, error);
  if (target.empty()) return false;
  struct stat st {};
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode)) return WriteInPlace(target, bytes, error);

  const std::filesystem::path t(target);
  const std::string dir = t.has_parent_path() ? t.parent_path().string() : ".";
  std::string tmp = dir + "/." + t.filename().string() + ".XXXXXX";
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) return Fail(path, errno, error);
  // mkstemp makes the file private; give it what the old file had, or what
  // a new file would get.
  mode_t mode;
  if (exists) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  int err = 0;
  if (::fchmod(fd, mode) != 0 || !WriteAll(fd, bytes) || ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && !err) err = errno;
  if (!err && ::rename(tmp.c_str(), target.c_str()) != 0) err = errno;
  if (err) {
    ::unlink(tmp.c_str());
    return Fail(path, err, error);
  }
  return true;
}

#endif

}  // namespace vx
