#include "common/UserFile.h"

#include <cerrno>
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

// The file a chain of symbolic links ends in (which may not exist yet).
std::string FollowLinks(std::string path) {
  namespace fs = std::filesystem;
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) break;
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
bool WriteInPlace(const std::string& path, std::string_view bytes, std::string& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return Fail(path, errno, error);
  if (!WriteAll(fd, bytes)) {
    const int err = errno;
    ::close(fd);
    return Fail(path, err, error);
  }
  if (::close(fd) != 0) return Fail(path, errno, error);
  return true;
}

}  // namespace

bool WriteUserFile(const std::string& path, std::string_view bytes, std::string& error) {
  const std::string target = FollowLinks(path);
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
