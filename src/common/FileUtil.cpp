#include "common/FileUtil.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "common/UserFile.h"

#ifndef _WIN32
#include <unistd.h>
#else
#include <process.h>
#endif

namespace fs = std::filesystem;

namespace vx {

std::optional<std::string> ReadWholeFile(const std::string& path, size_t maxBytes) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::nullopt;
  std::string data;
  char buf[65536];
  for (;;) {
    size_t got = std::fread(buf, 1, sizeof buf, f);
    if (got == 0) break;
    if (data.size() + got > maxBytes) {
      std::fclose(f);
      return std::nullopt;
    }
    data.append(buf, got);
  }
  bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return std::nullopt;
  return data;
}

int WriteDurably(const std::string& path, std::string_view bytes) {
  errno = 0;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return errno ? errno : EIO;
  int err = 0;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) err = errno ? errno : ENOSPC;
  if (std::fflush(f) != 0 && !err) err = errno ? errno : EIO;
#ifndef _WIN32
  if (!err && ::fsync(fileno(f)) != 0) err = errno ? errno : EIO;
#endif
  if (std::fclose(f) != 0 && !err) err = errno ? errno : EIO;
  return err;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}

std::string TemporaryNameBeside(const std::string& path, std::string_view tag) {
  static std::atomic<unsigned> counter{0};
#ifndef _WIN32
  long pid = static_cast<long>(::getpid());
#else
  long pid = static_cast<long>(_getpid());
#endif
  return path + std::string(tag) + std::to_string(pid) + "-" + std::to_string(counter++);
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes) {
#ifndef _WIN32
  // One routine replaces files: the one for files the user names.
  std::string error;
  return WriteUserFile(path, bytes, error);
#else
  const std::string tmp = TemporaryNameBeside(path, ".tmp");
  if (WriteDurably(tmp, bytes) != 0) {
    std::remove(tmp.c_str());
    return false;
  }
  std::error_code ec;
  fs::rename(tmp, path, ec);
  if (ec) {
    std::remove(tmp.c_str());
    return false;
  }
  return true;
#endif
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool DirectoryExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

bool MakeDirectories(const std::string& path) {
  std::error_code ec;
  fs::create_directories(path, ec);
  return DirectoryExists(path);
}

bool RemoveFile(const std::string& path) {
  std::error_code ec;
  return fs::remove(path, ec);
}

bool CopyFileReplace(const std::string& from, const std::string& to) {
  std::error_code ec;
  return fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
}

static bool IsSep(char c) {
#ifdef _WIN32
  return c == '/' || c == '\\' || c == ':';
#else
  return c == '/';
#endif
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string r(folder);
  if (!r.empty() && !IsSep(r.back())) r += '/';
  while (!name.empty() && IsSep(name.front()) && !r.empty()) name.remove_prefix(1);
  r += name;
  return r;
}

std::string FolderOf(std::string_view path) {
  size_t i = path.size();
  while (i > 0 && !IsSep(path[i - 1])) --i;
  return std::string(path.substr(0, i));
}

}  // namespace vx
