#include "app/EngineHelp.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/FileUtil.h"

namespace vx {

namespace {

constexpr char kBuildCommand[] = "./configure && make && sudo make install";
constexpr char kVersionFile[] = "database/version.w32";

TEngineProblem Classify(const TEngineFacts& f) {
  switch (f.Status) {
    case vsReady: return TEngineProblem::epNone;
    case vsTooOld: return TEngineProblem::epTooOld;
    case vsAntennaError: return TEngineProblem::epAntennaFiles;
    default: break;
  }
  if (f.DataFolder.empty() || !DirectoryExists(f.DataFolder)) {
    return f.Program.empty() ? TEngineProblem::epProgramMissing : TEngineProblem::epDataFolderMissing;
  }
  if (f.Program.empty()) return TEngineProblem::epProgramMissing;
  if (!FileExists(f.DataFolder + kVersionFile)) return TEngineProblem::epDataIncomplete;
  return TEngineProblem::epFolderNotWritable;
}

// The owner of a folder (or of the nearest folder above it that exists) when
// it is another user than the one running this; "" when it is ours.
std::string OtherOwner(std::string folder) {
  struct stat st {};
  while (::stat(folder.c_str(), &st) != 0) {
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    const size_t slash = folder.rfind('/');
    if (slash == std::string::npos) return {};
    folder.resize(slash + 1);
  }
  if (st.st_uid == ::getuid()) return {};
  const passwd* pw = ::getpwuid(st.st_uid);
  return pw && pw->pw_name ? std::string(pw->pw_name) : "user " + std::to_string(st.st_uid);
}

// chmod helps only in a folder of one's own; another user's folder is either
// taken over or left for one of one's own.
void WritableFix(const std::string& folder, const std::string& settingsFile, std::string& fix, std::string& command,
                 const char* ownFix) {
  const std::string owner = OtherOwner(folder);
  if (owner.empty()) {
    fix = ownFix;
    command = "chmod -R u+w " + folder;
    return;
  }
  fix = "The folder belongs to " + owner +
        ", so changing its permissions as yourself does not help. Use a "
        "data folder of your own: run makeitshfbc as yourself (it makes ~/itshfbc) and set DataFolder= in the "
        "[VOACAP] section of " +
        (settingsFile.empty() ? std::string("the settings file") : settingsFile) +
        " to it. Or, if the folder should be yours, have it given to you:";
  command = "sudo chown -R \"$(id -un)\": " + folder;
}

std::string ShownFolder(const TEngineFacts& f) { return f.DataFolder.empty() ? "~/itshfbc/" : f.DataFolder; }

}  // namespace

TEngineHelp DescribeEngineProblem(const TEngineFacts& f) {
  TEngineHelp h;
  h.Problem = Classify(f);
  h.DownloadPage = f.DownloadPage;
  h.Title = "Vantor: VOACAP is not ready";
  h.Question = "Open the VOACAP download page?";
  const std::string folder = ShownFolder(f);
  std::string what, fix;
  switch (h.Problem) {
    case TEngineProblem::epNone:
      h.Title = "Vantor";
      h.Question.clear();
      return h;
    case TEngineProblem::epProgramMissing:
      if (f.ConfiguredProgram.empty()) {
        what =
            "Vantor computes its predictions with VOACAP, and its Linux port voacapl was not found "
            "on the PATH.";
        fix =
            "Build and install voacapl from its source release, then run makeitshfbc once as your own "
            "user to create the data folder " +
            folder + ":";
        h.Command = std::string(kBuildCommand) + "\nmakeitshfbc";
      } else {
        what = "The VOACAP program " + f.ConfiguredProgram +
               " named in the settings file was not found "
               "or cannot be run.";
        fix = "Correct the line Program= in the [VOACAP] section of " + f.SettingsFile +
              ", or remove it to use voacapl from the PATH. To check the program, run:";
        h.Command = f.ConfiguredProgram + " --version";
      }
      break;
    case TEngineProblem::epDataFolderMissing:
      what = "voacapl was found (" + f.Program + "), but its data folder " + folder + " is missing.";
      fix = "Run this once as your own user to create it:";
      h.Command = "makeitshfbc";
      break;
    case TEngineProblem::epDataIncomplete:
      what = "The VOACAP data folder " + folder + " has no " + kVersionFile +
             ", so it is not a complete "
             "data folder.";
      fix = "Run this once as your own user to lay it out again:";
      h.Command = "makeitshfbc";
      break;
    case TEngineProblem::epFolderNotWritable:
      what =
          "Vantor cannot create its folders antennas/Vantor/ and areadata/Vantor/ in the VOACAP data "
          "folder " +
          folder + ".";
      WritableFix(folder, f.SettingsFile, fix, h.Command, "Make the data folder writable:");
      break;
    case TEngineProblem::epTooOld:
      what = "The VOACAP data in " + folder + " is older than version 08.1124.";
      fix = "Install a current voacapl, then lay out the data folder again:";
      h.Command = std::string(kBuildCommand) + "\nmakeitshfbc";
      break;
    case TEngineProblem::epAntennaFiles:
      what = "Vantor could not write or read its antenna model files in " +
             (f.AntennaFolder.empty() ? folder + "antennas/Vantor/" : f.AntennaFolder) + ".";
      WritableFix(f.AntennaFolder.empty() ? folder + "antennas/" : f.AntennaFolder, f.SettingsFile, fix, h.Command,
                  "Make the folder writable and remove any file there that is not an antenna model:");
      break;
  }
  std::string indented = "    " + h.Command;
  for (size_t p = indented.find('\n'); p != std::string::npos; p = indented.find('\n', p + 1))
    indented.insert(p + 1, "    ");
  h.Text = what + "\n\n" + fix + "\n\n" + indented;
  h.Text += "\n\nOther places for the program and its data folder can be set in the [VOACAP] section of " +
            (f.SettingsFile.empty() ? std::string("the settings file") : f.SettingsFile) +
            " (keys Program and DataFolder). The built-in engine needs none of this: Engine=builtin there, or "
            "Engine=auto (voacapl when it is installed, else the built-in engine), or the Settings tab.\n\n"
            "VOACAP download page: " +
            f.DownloadPage;
  return h;
}

}  // namespace vx
