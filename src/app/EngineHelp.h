// What to tell a user whose VOACAP installation is not usable when the main
// program starts: what is missing (the program, its data folder, its data or
// the antenna files), the command that fixes it, and the download page. The
// program then ends without touching the settings file.
#pragma once

#include <string>

#include "engine/VoaTypes.h"

namespace vx {

// What the engine found when it checked the installation.
struct TEngineFacts {
  TVoaStatus Status = vsNotFound;
  std::string Program;            // the executable found; "" when none
  std::string ConfiguredProgram;  // [VOACAP] Program of the settings; "" for voacapl on the PATH
  std::string DataFolder;         // with its trailing separator; "" when unknown
  std::string AntennaFolder;      // the engine's own antenna folder
  std::string SettingsFile;       // where other places can be set
  std::string DownloadPage;
};

enum class TEngineProblem {
  epNone,
  epProgramMissing,     // voacapl (or the configured program) not found
  epDataFolderMissing,  // makeitshfbc never ran
  epDataIncomplete,     // the folder lacks database/version.w32
  epFolderNotWritable,  // the engine's own subfolders cannot be made
  epTooOld,
  epAntennaFiles,  // the antenna models cannot be written or read
};

struct TEngineHelp {
  TEngineProblem Problem = TEngineProblem::epNone;
  std::string Title;     // the window title of the message
  std::string Text;      // what is wrong and how to fix it, lines joined by "\n"
  std::string Command;   // the command that fixes it, on its own
  std::string Question;  // the closing question (Yes opens DownloadPage)
  std::string DownloadPage;
};

// Looks at the data folder (exists, holds the version file, is writable) to
// tell the cases of a "not found" status apart.
TEngineHelp DescribeEngineProblem(const TEngineFacts& facts);

}  // namespace vx
