#include "manager/Job.h"

#include <filesystem>
#include <new>
#include <stdexcept>

#include "common/DayCount.h"
#include "common/FileUtil.h"
#include "manager/CbIndex.h"
#include "manager/EntityList.h"
#include "manager/Importers.h"
#include "manager/SourceFormat.h"
#include "manager/Sources.h"
#include "manager/Staging.h"

namespace vx {

TKestrixJob::TKestrixJob(int source, std::string referenceFolder, TJobUi& ui)
    : Source_(source), Folder_(std::move(referenceFolder)), Ui_(ui) {}

bool TKestrixJob::LoadLookupLists() {
  ListsLoaded_ = HasIotaDxcc_ = false;
  IotaDxcc_.Clear();
  Entities_.Clear();
  const std::string dxcc = JoinPath(Folder_, "IotaDxcc.lst"), prefix = JoinPath(Folder_, "Prefix.lst");
  // Only a list that is not there at all is optional; one that is there but
  // cannot be read is the user's and stays an error.
  std::error_code ec;
  if (std::filesystem::status(dxcc, ec).type() == std::filesystem::file_type::not_found) {
    IotaDxcc_.Sort();
    ListsLoaded_ = true;
    return true;
  }
  if (!IotaDxcc_.LoadFromFile(dxcc)) {
    ListError_ = "Cannot open file \"" + dxcc + "\"";
  } else if (!ListPrefixEntities(prefix, Entities_)) {
    ListError_ = "Cannot load the prefix list \"" + prefix + "\"";
  } else {
    IotaDxcc_.Sort();
    Entities_.Sort();
    ListsLoaded_ = HasIotaDxcc_ = true;
    return true;
  }
  // Without the lists every island would lose its prefixes; only the IOTA
  // job cares (it fails with this text), so the others go on.
  IotaDxcc_.Clear();
  return false;
}

std::string TKestrixJob::IotaDxccMissingNotice() const {
  const std::string dxcc = JoinPath(Folder_, "IotaDxcc.lst");
  return "The islands were imported without their entity prefixes: there is no \"" + dxcc +
         "\". To have the prefixes filled in (in \"IotaRef.lst\" and in the -Prefix column of "
         "\"Islands/Iota.lst\"), put that file there and run this job again. Each of its lines holds an IOTA "
         "reference, \"=\" and the DXCC entity numbers of its islands, separated by commas (\"EU-005=223\"); "
         "the numbers are looked up in \"Prefix.lst\" of the same folder.";
}

std::string TKestrixJob::MissingInput() {
  // A list put in place while a window is open is taken up.
  if (Source_ == srIota && (!ListsLoaded_ || !HasIotaDxcc_) && !LoadLookupLists()) return ListError_;
  if (Source_ == srFcc) {
    const std::string zips = JoinPath(Folder_, "ZipLst.lst");
    if (!FileExists(zips)) return "Missing \"" + zips + "\": the FCC index cannot be built without it";
  }
  return {};
}

std::string TKestrixJob::LockFolder() {
  MakeDirectories(Folder_);
  switch (Lock_.TryLock(JoinPath(Folder_, kJobLockFile))) {
    case TFolderLock::lrLocked:
      // With the lock held no other job runs here: whatever a killed job
      // staged is left over, and goes.
      SweepStaleStagedFiles(Folder_);
      return {};
    case TFolderLock::lrBusy:
      return "Another Kestrix job is working in \"" + Folder_ + "\"; run this one when it has finished";
    case TFolderLock::lrFailed: break;
  }
  return "Cannot lock the reference folder \"" + Folder_ + "\"";
}

template <class F>
bool TKestrixJob::Run(F&& work) {
  std::string reason = LockFolder();
  try {
    if (reason.empty()) work();
  } catch (const std::bad_alloc&) {
    reason = "Out of memory";
  } catch (const ESourceFormat& e) {
    reason = std::string(e.what()) + "; the previous files are kept";
  } catch (const std::exception& e) {
    reason = e.what();
  }
  Lock_.Unlock();
  if (!reason.empty()) {
    // The reason stays in the status line after the error box is gone.
    Ui_.Status(reason, TStatusColour::scRed);
    Ui_.Error(reason);
    return false;
  }
  Done_ = true;
  Ui_.Status("DONE", TStatusColour::scGreen);
  return true;
}

bool TKestrixJob::ImportDownloaded(std::string_view body) {
  Ui_.Status("Processing data...");
  const bool ok = Run([&] {
    if (const std::string missing = MissingInput(); !missing.empty()) throw std::runtime_error(missing);
    TImportContext ctx;
    ctx.Body = body;
    ctx.Folder = Folder_;
    ctx.Ui = &Ui_;
    ctx.Unzipper = &Unzipper_;
    ctx.IotaDxcc = &IotaDxcc_;
    ctx.Entities = &Entities_;
    const TCivilTime now = DecodeDayCount(UtcNow());
    ctx.CurrentMonthKey = now.Year * 12 + now.Month - 1;
    ImportSource(ctx, Source_);
  });
  // Told after "DONE", so the window shows the finished job behind the box.
  if (ok && Source_ == srIota && !HasIotaDxcc_) Ui_.Information(IotaDxccMissingNotice());
  return ok;
}

bool TKestrixJob::Reprocess() {
  Ui_.Status("Processing data...");
  return Run([&] {
    if (Source_ != srFcc) throw std::runtime_error("Only the FCC index can be rebuilt from its file");
    if (const std::string missing = MissingInput(); !missing.empty()) throw std::runtime_error(missing);
    // The index is installed together with the very detail file it was
    // built from, whatever another program put there meanwhile.
    TFileStager stager;
    const std::string detail = stager.StageExisting(JoinPath(Folder_, "FccCB.dat"));
    ImportFccDatabase(Folder_, Ui_, stager, detail);
  });
}

}  // namespace vx
