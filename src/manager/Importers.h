// The importers of the six sources: each turns the downloaded body into its
// files of the reference folder. All output of one run is staged and only
// put in place when the whole import has succeeded; any failure is an
// exception whose text is meant for the user.
#pragma once

#include <string>
#include <string_view>

#include "manager/JobUi.h"
#include "manager/Unzipper.h"

namespace vx {

class TAlStringList;
class TFileStager;

struct TImportContext {
  std::string_view Body;   // the downloaded bytes
  std::string Folder;      // the reference folder, with a trailing "/"
  TJobUi* Ui = nullptr;
  TUnZipper* Unzipper = nullptr;
  // The IOTA importer's lookup lists, both sorted (unused by the others).
  TAlStringList* IotaDxcc = nullptr;
  const TAlStringList* Entities = nullptr;
};

// Stages the first member named memberName (folder part ignored, case
// matters) under targetName in the reference folder and returns the staged
// file's name. An archive without such a member is an error: an empty or
// foreign download must not replace a good callbook.
std::string ExtractMemberToFile(TImportContext& ctx, TFileStager& stager, std::string_view memberName,
                                const std::string& targetName);

void ImportIota(TImportContext& ctx);
void ImportLotwUserList(TImportContext& ctx);
void ImportFcc(TImportContext& ctx);
void ImportRac(TImportContext& ctx);
void ImportSpecialCalls(TImportContext& ctx);
void ImportRda(TImportContext& ctx);

// Runs the importer of the source; other indexes do nothing.
void ImportSource(TImportContext& ctx, int source);

}  // namespace vx
