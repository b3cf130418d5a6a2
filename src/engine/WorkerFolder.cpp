#include "engine/WorkerFolder.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/FileUtil.h"
#include "common/Paths.h"
#include "common/TextUtil.h"
#include "engine/DataLock.h"

namespace fs = std::filesystem;

namespace vx {

namespace {

// Small files only: the run folder holds scratch and sample files, never
// data worth a large copy.
constexpr uintmax_t kLargestRunFileCopied = uintmax_t(1) << 20;

std::string WithSlash(std::string f) {
  if (!f.empty() && f.back() != '/') f += '/';
  return f;
}

std::string Hex8(uint32_t v) {
  static const char kDigits[] = "0123456789abcdef";
  std::string s(8, '0');
  for (int i = 7; i >= 0; --i, v >>= 4) s[size_t(i)] = kDigits[v & 15];
  return s;
}

// FNV-1a: short, stable across runs and builds.
uint32_t Fnv1a(const std::string& text) {
  uint32_t h = 2166136261u;
  for (unsigned char c : text) {
    h ^= c;
    h *= 16777619u;
  }
  return h;
}

std::string Describe(const std::string& what, const fs::path& path, const std::error_code& ec) {
  return "Cannot " + what + " " + path.string() + (ec ? " (" + ec.message() + ")" : std::string()) + ".";
}

// A link at link pointing to target, replacing whatever is there; a link
// that already points there stays as it is.
bool EnsureLink(const fs::path& target, const fs::path& link, std::string& error) {
  std::error_code ec;
  const auto status = fs::symlink_status(link, ec);
  if (fs::is_symlink(status)) {
    if (fs::read_symlink(link, ec) == target && !ec) return true;
  }
  // Made under a temporary name and renamed over: another process preparing
  // the same folder sees the old entry or the new one, never none.
  const fs::path temp = link.string() + ".new" + std::to_string(::getpid());
  fs::remove(temp, ec);
  fs::create_symlink(target, temp, ec);
  if (ec) {
    error = Describe("link", link, ec);
    return false;
  }
  if (fs::exists(status) && !fs::is_symlink(status)) fs::remove_all(link, ec);
  fs::rename(temp, link, ec);
  if (ec) {
    fs::remove(temp, ec);
    // Another process may have made the same link meanwhile.
    if (fs::read_symlink(link, ec) == target && !ec) return true;
    error = Describe("link", link, ec);
    return false;
  }
  return true;
}

bool EnsurePrivateFolder(const fs::path& user, const fs::path& own, std::string& error) {
  std::error_code ec;
  const auto status = fs::symlink_status(own, ec);
  if (fs::exists(status) && !fs::is_directory(status)) fs::remove_all(own, ec);  // a link left by another layout
  if (fs::is_symlink(status)) fs::remove(own, ec);
  if (!fs::is_directory(fs::symlink_status(own, ec)) && !fs::create_directories(own, ec) && ec) {
    error = Describe("create", own, ec);
    return false;
  }
  if (own.filename() != "run") return true;
  // The run folder's own small files, as the user's installation has them.
  for (const auto& e : fs::directory_iterator(user, ec)) {
    const std::string name = e.path().filename().string();
    if (name == TDataFolderLock::FileName || !e.is_regular_file(ec) || e.file_size(ec) > kLargestRunFileCopied)
      continue;
    if (fs::exists(own / name, ec)) continue;
    if (!CopyFileReplace(e.path().string(), (own / name).string())) {
      error = Describe("copy", e.path(), {});
      return false;
    }
  }
  return true;
}

}  // namespace

bool IsPrivateDataEntry(const std::string& name) {
  const std::string upper = UpperAscii(name);
  return upper == "RUN" || upper == "AREADATA" || upper == "AREA_INV";
}

std::string WorkerFolderSet(const std::string& base, const std::string& userFolder) {
  return WithSlash(base) + "voa/" + Hex8(Fnv1a(WithSlash(userFolder))) + "/";
}

std::string WorkerFolder(const std::string& set, int k) { return set + std::to_string(k) + "/"; }

std::string ChooseWorkerFolderSet(const std::vector<std::string>& bases, const std::string& userFolder, int count) {
  for (const std::string& base : bases) {
    if (base.empty() || base.find(' ') != std::string::npos) continue;  // the program splits at blanks
    const std::string set = WorkerFolderSet(base, userFolder);
    if (WorkerFolder(set, count > 0 ? count - 1 : 0).size() <= kMaxDataFolderPath) return set;
  }
  return "";
}

std::vector<std::string> DefaultWorkerBases() {
  std::string cache = AreaCacheFolder();  // ".../Vantor/Cache/": the workers go beside it
  while (!cache.empty() && cache.back() == '/') cache.pop_back();
  std::vector<std::string> bases{FolderOf(cache)};
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && runtime[0] == '/') bases.push_back(WithSlash(runtime) + "vantor/");
  if (std::string temp = PrivateTempBase(); !temp.empty()) bases.push_back(temp);
  return bases;
}

std::string PrivateTempBase(const std::string& tmp) {
  const std::string base = WithSlash(tmp) + "vantor-" + std::to_string(::geteuid());
  if (::mkdir(base.c_str(), 0700) != 0 && errno != EEXIST) return "";
  struct stat st {};
  // Not a link, not another user's, not open to others: a folder someone
  // else controls could hand the workers files of theirs.
  if (::lstat(base.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) return "";
  if ((st.st_mode & 077) != 0 && ::chmod(base.c_str(), 0700) != 0) return "";
  return base + "/";
}

bool PrepareWorkerFolder(const std::string& userFolder, const std::string& folder, std::string& error) {
  std::error_code ec;
  const fs::path user = fs::absolute(fs::path(userFolder), ec).lexically_normal();
  const fs::path own = fs::path(folder);
  if (!fs::is_directory(user, ec)) {
    error = "VOACAP data folder not found: " + userFolder;
    return false;
  }
  if (!fs::create_directories(own, ec) && ec) {
    error = Describe("create", own, ec);
    return false;
  }
  // The user's folder may be given with or without its trailing separator.
  const fs::path userDir = user.filename().empty() ? user.parent_path() : user;
  for (const auto& e : fs::directory_iterator(userDir, ec)) {
    const std::string name = e.path().filename().string();
    if (name == TDataFolderLock::FileName) continue;
    const bool ok = IsPrivateDataEntry(name) ? EnsurePrivateFolder(e.path(), own / name, error)
                                             : EnsureLink(userDir / name, own / name, error);
    if (!ok) return false;
  }
  if (ec) {
    error = Describe("read", userDir, ec);
    return false;
  }
  // The folders the program writes into are needed even when the user's
  // folder lacks them; links whose entry is gone from it go too.
  for (const char* name : {"run", "areadata"})
    if (!EnsurePrivateFolder(userDir / name, own / name, error)) return false;
  for (const auto& e : fs::directory_iterator(own, ec))
    if (e.is_symlink(ec) && !fs::exists(fs::symlink_status(userDir / e.path().filename(), ec)))
      fs::remove(e.path(), ec);
  return true;
}

}  // namespace vx
