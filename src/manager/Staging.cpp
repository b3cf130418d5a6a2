#include "manager/Staging.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
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

TFileStager::~TFileStager() {
  for (const Item& it : Items_) RemoveFile(it.Temp);
}

std::string TFileStager::Stage(const std::string& target, std::string_view bytes) {
  return StageStream(target, [&](const TWriter& write) { write(bytes); });
}

std::string TFileStager::StageStream(const std::string& target,
                                     const std::function<void(const TWriter&)>& produce) {
  static unsigned counter = 0;
  const std::string folder = FolderOf(target);
  if (!folder.empty() && !DirectoryExists(folder) && !MakeDirectories(folder)) Fail(target, errno);
  const std::string temp = target + ".part" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  Items_.push_back({temp, target});
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

void TFileStager::Commit() {
  // A folder standing where a file should go would make a later rename fail
  // after earlier ones succeeded; refuse before anything is replaced.
  for (const Item& it : Items_)
    if (DirectoryExists(it.Target)) throw std::runtime_error("Cannot write file \"" + it.Target + "\": it is a folder");
  // Each previous file keeps a second name until all renames are through, so
  // a failure half-way puts the earlier ones back.
  std::vector<std::string> backups;
  for (size_t k = 0; k < Items_.size(); ++k) {
    const Item& it = Items_[k];
    std::string backup;
    if (FileExists(it.Target)) {
      backup = it.Temp + ".old";
      if (::link(it.Target.c_str(), backup.c_str()) != 0) backup.clear();
    }
    backups.push_back(backup);
    std::error_code ec;
    fs::rename(it.Temp, it.Target, ec);
    if (ec) {
      for (size_t b = 0; b < k; ++b) {
        std::error_code ignored;
        if (!backups[b].empty()) {
          fs::rename(backups[b], Items_[b].Target, ignored);
        } else {
          RemoveFile(Items_[b].Target);  // there was none before
        }
      }
      for (const std::string& b : backups)
        if (!b.empty()) RemoveFile(b);
      throw std::runtime_error("Cannot write file \"" + it.Target + "\": " + ec.message());
    }
  }
  for (const std::string& b : backups)
    if (!b.empty()) RemoveFile(b);
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
