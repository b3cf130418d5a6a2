// TKestrixJob: the one job of a run of the manager, independent of how it is
// shown. The window (or the headless front end) creates it with the source
// index, loads the lookup lists, hands it the downloaded body on success and
// takes the exit code from it at the end.
#pragma once

#include <string>
#include <string_view>

#include "common/FolderLock.h"
#include "manager/JobUi.h"
#include "manager/Unzipper.h"
#include "refdata/AlStrLst.h"

namespace vx {

class TKestrixJob {
 public:
  TKestrixJob(int source, std::string referenceFolder, TJobUi& ui);

  int Source() const { return Source_; }
  const std::string& Folder() const { return Folder_; }

  // "IotaDxcc.lst" and the entity listing of "Prefix.lst" from the reference
  // folder. Only the IOTA job needs them: a failure is remembered (a window
  // may show ListError at once) and makes only that job fail. Nothing ships
  // "IotaDxcc.lst": without it the job goes ahead, the islands without their
  // entity prefixes, and needs no prefix list either.
  bool LoadLookupLists();
  const std::string& ListError() const { return ListError_; }
  // Whether "IotaDxcc.lst" was there at the last LoadLookupLists().
  bool HasIotaDxcc() const { return HasIotaDxcc_; }

  // What the source's import needs from the reference folder besides the
  // download ("ZipLst.lst" for the FCC index, the lookup lists for IOTA):
  // empty when all is there, else the problem in words. Asked before a
  // download starts, so a transfer that could not be used is never made.
  std::string MissingInput();

  // Runs the importer on the downloaded body; on success the job is done
  // ("DONE"). Errors are shown through the ui and leave the job not done.
  bool ImportDownloaded(std::string_view body);
  // Rebuilds the FCC index from the detail file already in the folder.
  bool Reprocess();

  bool Done() const { return Done_; }
  int ExitCode() const { return Done_ ? 0 : 1; }

  // One job at a time works in a reference folder: it holds this file's lock.
  static constexpr const char* kJobLockFile = "kestrix.lock";

 private:
  // Takes the folder's job lock; "" or why the job cannot run.
  std::string LockFolder();
  // What an IOTA run without "IotaDxcc.lst" tells its user, once.
  std::string IotaDxccMissingNotice() const;
  template <class F>
  bool Run(F&& work);

  int Source_;
  std::string Folder_;
  TJobUi& Ui_;
  TUnZipper Unzipper_;
  TAlStringList IotaDxcc_;
  TAlStringList Entities_;
  bool ListsLoaded_ = false;
  bool HasIotaDxcc_ = false;
  std::string ListError_ = "The IOTA lookup lists are not loaded";
  bool Done_ = false;
  TFolderLock Lock_;
};

}  // namespace vx
