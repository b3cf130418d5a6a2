#include "manager/Staging.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "common/FileUtil.h"

namespace fs = std::filesystem;

namespace vx {

namespace {
struct TWriteFailed {};

[[noreturn]] void Fail(const std::string& file, int err) {
  throw std::runtime_error("Cannot write file \"" + file + "\": " + std::strerror(err ? err : EIO));
}
}  // namespace

// The staged names of this process, where a signal handler can reach them
// without allocating: a fixed table of slots, each claimed by one stager.
namespace {

constexpr size_t kSlots = 64, kSlotBytes = 4096;
struct TSlot {
  std::atomic<bool> Used{false};
  char Path[kSlotBytes];
};
TSlot gStaged[kSlots];

int Register(const std::string& path) {
  if (path.size() >= kSlotBytes) return -1;
  for (size_t i = 0; i < kSlots; ++i) {
    bool expected = false;
    if (!gStaged[i].Used.load() && gStaged[i].Used.compare_exchange_strong(expected, true)) {
      // The slot is claimed while its path is written, and only then read
      // by the handler: publish the bytes before marking it filled.
      std::memcpy(gStaged[i].Path, path.c_str(), path.size() + 1);
      std::atomic_signal_fence(std::memory_order_seq_cst);
      return int(i);
    }
  }
  return -1;  // a job with more files than slots: the sweep of the next job removes the rest
}

void Unregister(int slot) {
  if (slot >= 0) gStaged[size_t(slot)].Used.store(false);
}

void RemoveStagedAndEnd(int sig) {
  for (auto& slot : gStaged)
    if (slot.Used.load() && slot.Path[0]) ::unlink(slot.Path);
  ::signal(sig, SIG_DFL);
  ::raise(sig);
}

}  // namespace

void RemoveStagedFilesOnSignals() {
  for (int sig : {SIGTERM, SIGHUP, SIGINT}) ::signal(sig, RemoveStagedAndEnd);
}

int SweepStaleStagedFiles(const std::string& folder) {
  int removed = 0;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) {
    const std::string name = e.path().filename().string();
    // <target>.part<pid>-<n>, and <target>.part<pid>-<n>.old beside it.
    const size_t at = name.rfind(".part");
    if (at == std::string::npos) continue;
    const char* p = name.c_str() + at + 5;
    char* end = nullptr;
    const long pid = std::strtol(p, &end, 10);
    if (end == p || *end != '-' || pid <= 0) continue;
    const bool alive = ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
    if (alive || !e.is_regular_file(ec)) continue;
    if (RemoveFile(e.path().string())) ++removed;
  }
  return removed;
}

TFileStager::~TFileStager() {
  for (const Item& it : Items_) {
    RemoveFile(it.Temp);
    Unregister(it.Slot);
  }
}

std::string TFileStager::StageExisting(const std::string& target) {
  const std::string temp = TemporaryNameBeside(target, ".part");
  // A hard link names the very file read now; without one, a copy.
  if (::link(target.c_str(), temp.c_str()) != 0 && !CopyFileReplace(target, temp))
    throw std::runtime_error("Cannot read file \"" + target + "\": " + std::strerror(errno ? errno : EIO));
  Items_.push_back({temp, target, Register(temp)});
  return temp;
}

std::string TFileStager::Stage(const std::string& target, std::string_view bytes) {
  return StageStream(target, [&](const TWriter& write) { write(bytes); });
}

std::string TFileStager::StageStream(const std::string& target, const std::function<void(const TWriter&)>& produce) {
  const std::string folder = FolderOf(target);
  if (!folder.empty() && !DirectoryExists(folder) && !MakeDirectories(folder)) Fail(target, errno);
  const std::string temp = TemporaryNameBeside(target, ".part");
  Items_.push_back({temp, target, Register(temp)});
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) Fail(target, errno);
  int err = 0;
  const TWriter write = [&](std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
      const size_t n = std::fwrite(bytes.data() + done, 1, bytes.size() - done, f);
      if (n == 0) break;
      done += n;
    }
    if (done != bytes.size()) {
      err = errno ? errno : ENOSPC;
      throw TWriteFailed{};  // reported with the file's name below
    }
  };
  try {
    produce(write);
  } catch (...) {
    std::fclose(f);
    if (err) Fail(target, err);
    throw;  // the staged part goes with the destructor
  }
  if (std::fflush(f) != 0 && !err) err = errno;
  if (!err && ::fsync(fileno(f)) != 0) err = errno;
  if (std::fclose(f) != 0 && !err) err = errno;
  if (err) Fail(target, err);
  return temp;
}

namespace {

// Where the previous file of one target went while the new one is renamed
// into place.
enum class TKept { kpNone, kpLinked, kpMovedAside };

// Keeps the previous file under a second name. A hard link leaves it in
// place for readers meanwhile; where the file system has no hard links it is
// renamed aside instead (and put back on failure).
TKept KeepPrevious(const std::string& target, const std::string& backup) {
  if (!FileExists(target)) return TKept::kpNone;
  if (::link(target.c_str(), backup.c_str()) == 0) return TKept::kpLinked;
  const int linkErr = errno;
  std::error_code ec;
  fs::rename(target, backup, ec);
  if (ec) Fail(target, ec.value() ? ec.value() : linkErr);
  return TKept::kpMovedAside;
}

}  // namespace

void TFileStager::Commit() {
  // A folder standing where a file should go would make a later rename fail
  // after earlier ones succeeded; refuse before anything is replaced.
  for (const Item& it : Items_)
    if (DirectoryExists(it.Target)) throw std::runtime_error("Cannot write file \"" + it.Target + "\": it is a folder");
  // Each previous file keeps a second name until all renames are through, so
  // a failure half-way puts the earlier ones back.
  std::vector<TKept> kept;
  auto backupOf = [this](size_t k) { return Items_[k].Temp + ".old"; };
  auto rollBack = [&](size_t failed) {
    for (size_t b = 0; b < kept.size(); ++b) {
      std::error_code ignored;
      const bool replaced = b < failed;  // the new file already stands there
      switch (kept[b]) {
        case TKept::kpNone:
          if (replaced) RemoveFile(Items_[b].Target);  // there was none before
          break;
        case TKept::kpLinked:
          if (replaced)
            fs::rename(backupOf(b), Items_[b].Target, ignored);
          else
            RemoveFile(backupOf(b));
          break;
        case TKept::kpMovedAside: fs::rename(backupOf(b), Items_[b].Target, ignored); break;
      }
    }
  };
  for (size_t k = 0; k < Items_.size(); ++k) {
    const Item& it = Items_[k];
    try {
      kept.push_back(KeepPrevious(it.Target, backupOf(k)));
    } catch (...) {
      rollBack(k);
      throw;
    }
    std::error_code ec;
    fs::rename(it.Temp, it.Target, ec);
    if (ec) {
      rollBack(k);
      throw std::runtime_error("Cannot write file \"" + it.Target + "\": " + ec.message());
    }
  }
  for (size_t k = 0; k < kept.size(); ++k)
    if (kept[k] != TKept::kpNone) RemoveFile(backupOf(k));
  for (const Item& it : Items_) Unregister(it.Slot);
  Items_.clear();
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
  size_t n = 0;
  for (const std::string& l : lines) n += l.size() + 2;
  std::string out;
  out.reserve(n);
  for (const std::string& l : lines) {
    out += l;
    out += "\r\n";
  }
  return out;
}

}  // namespace vx
