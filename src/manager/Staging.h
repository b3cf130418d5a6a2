// TFileStager: a job's output files are first written under temporary names
// beside their targets and only renamed into place once the whole job has
// succeeded, so a failed job leaves the previous files (and pairs such as a
// detail file and its index) as they were.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

class TFileStager {
 public:
  TFileStager() = default;
  TFileStager(const TFileStager&) = delete;
  TFileStager& operator=(const TFileStager&) = delete;
  ~TFileStager();  // removes whatever was staged but not committed

  // Writes the bytes under a temporary name beside target (creating the
  // target's folder if needed) and returns that name. Throws
  // std::runtime_error naming the file when it cannot be written.
  std::string Stage(const std::string& target, std::string_view bytes);
  // The same for bytes that come in pieces: produce hands each piece to the
  // writer it is given. An exception from produce leaves nothing staged and
  // passes through.
  using TWriter = std::function<void(std::string_view bytes)>;
  std::string StageStream(const std::string& target, const std::function<void(const TWriter&)>& produce);
  // Stages the file that stands at target now, as it is (a second name for
  // it), so that Commit puts back exactly the file a job read, together with
  // what it built from it, whatever replaced the target meanwhile. Throws
  // std::runtime_error when target cannot be read.
  std::string StageExisting(const std::string& target);
  // Renames every staged file over its target, in staging order.
  void Commit();

 private:
  struct Item {
    std::string Temp, Target;
    int Slot = -1;  // where a signal handler finds Temp
  };
  std::vector<Item> Items_;
};

// Staged files of a job killed by SIGTERM, SIGHUP or SIGINT are removed
// before the process ends (call once at start).
void RemoveStagedFilesOnSignals();

// Removes the staged files in folder that a job which no longer runs left
// behind (its process id is part of their names). Run it while holding the
// folder's job lock. Returns how many it removed.
int SweepStaleStagedFiles(const std::string& folder);

// Lines each ended by CR LF; no lines give empty text.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace vx
