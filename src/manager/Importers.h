// The importers of the seven sources: each turns the downloaded body into its
// files of the reference folder. Each first makes sure the body is what its
// source publishes and refuses anything else (an error page, random bytes,
// an empty file, an archive holding some other file). All output of one run
// is staged and only put in place when the whole import has succeeded; any
// failure is an exception whose text is meant for the user.
//
// Archive members are read as they are inflated, never held whole (the
// IOTA document alone is read whole, and refused above kMaxKmlBytes), so
// the memory an import takes follows what it writes, not what the archive
// claims.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "manager/JobUi.h"
#include "manager/Unzipper.h"

namespace vx {

class TAlStringList;
class TFileStager;

struct TImportContext {
  std::string_view Body;  // the downloaded bytes
  std::string Folder;     // the reference folder, with a trailing "/"
  TJobUi* Ui = nullptr;
  TUnZipper* Unzipper = nullptr;
  // The IOTA importer's lookup lists, both sorted (unused by the others).
  TAlStringList* IotaDxcc = nullptr;
  const TAlStringList* Entities = nullptr;
  // The current month as TSsnMonth::Key() (the sunspot importer keeps the
  // table's figures before it).
  int CurrentMonthKey = 0;
};

// No line of any source comes near this; a longer one is refused.
constexpr size_t kMaxLineBytes = size_t(1) << 20;
// The IOTA document is a few megabytes; one far larger is refused.
constexpr size_t kMaxKmlBytes = size_t(32) << 20;

// What the lines of a text source look like.
struct TLineFormat {
  std::string What;                         // "an FCC licence file (\"EN.dat\")"
  bool (*IsRecord)(std::string_view line);  // one line without its line end
};

// Stages the first member named memberName (folder part ignored, case
// matters) under targetName in the reference folder and returns the staged
// file's name. The member's lines are judged as they pass: one that is not
// the source's file is refused (ESourceFormat), most often after a glance.
// An archive without such a member is an error too: an empty or foreign
// download must not replace a good callbook. lines, if given, receives the
// member's number of lines.
std::string ExtractMemberToFile(TImportContext& ctx, TFileStager& stager, std::string_view memberName,
                                const std::string& targetName, const TLineFormat& format, size_t* lines = nullptr);

void ImportIota(TImportContext& ctx);
void ImportLotwUserList(TImportContext& ctx);
void ImportFcc(TImportContext& ctx);
void ImportRac(TImportContext& ctx);
void ImportSpecialCalls(TImportContext& ctx);
void ImportRda(TImportContext& ctx);
// Merges the forecast into "SSN.dat" of the folder (see SsnMerge.h).
void ImportSsnForecast(TImportContext& ctx);

// Runs the importer of the source; other indexes do nothing.
void ImportSource(TImportContext& ctx, int source);

}  // namespace vx
