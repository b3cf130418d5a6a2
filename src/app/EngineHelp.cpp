#include "app/EngineHelp.h"

#include "common/FileUtil.h"

namespace vx {

namespace {

constexpr char kBuildCommand[] = "./configure && make && sudo make install";
constexpr char kVersionFile[] = "database/version.w32";

TEngineProblem Classify(const TEngineFacts& f) {
  switch (f.Status) {
    case vsReady:
      return TEngineProblem::epNone;
    case vsTooOld:
      return TEngineProblem::epTooOld;
    case vsAntennaError:
      return TEngineProblem::epAntennaFiles;
    default:
      break;
  }
  if (f.DataFolder.empty() || !DirectoryExists(f.DataFolder)) {
    return f.Program.empty() ? TEngineProblem::epProgramMissing : TEngineProblem::epDataFolderMissing;
  }
  if (f.Program.empty()) return TEngineProblem::epProgramMissing;
  if (!FileExists(f.DataFolder + kVersionFile)) return TEngineProblem::epDataIncomplete;
  return TEngineProblem::epFolderNotWritable;
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
        what = "Vantor computes its predictions with VOACAP, and its Linux port voacapl was not found "
               "on the PATH.";
        fix = "Build and install voacapl from its source release, then run makeitshfbc once as your own "
              "user to create the data folder " + folder + ":";
        h.Command = std::string(kBuildCommand) + "\nmakeitshfbc";
      } else {
        what = "The VOACAP program " + f.ConfiguredProgram + " named in the settings file was not found "
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
      what = "The VOACAP data folder " + folder + " has no " + kVersionFile + ", so it is not a complete "
             "data folder.";
      fix = "Run this once as your own user to lay it out again:";
      h.Command = "makeitshfbc";
      break;
    case TEngineProblem::epFolderNotWritable:
      what = "Vantor cannot create its folders antennas/Vantor/ and areadata/Vantor/ in the VOACAP data "
             "folder " + folder + ".";
      fix = "Make the data folder yours and writable:";
      h.Command = "chmod -R u+w " + folder;
      break;
    case TEngineProblem::epTooOld:
      what = "The VOACAP data in " + folder + " is older than version 08.1124.";
      fix = "Install a current voacapl, then lay out the data folder again:";
      h.Command = std::string(kBuildCommand) + "\nmakeitshfbc";
      break;
    case TEngineProblem::epAntennaFiles:
      what = "Vantor could not write or read its antenna model files in " +
             (f.AntennaFolder.empty() ? folder + "antennas/Vantor/" : f.AntennaFolder) + ".";
      fix = "Make the folder writable and remove any file there that is not an antenna model:";
      h.Command = "chmod -R u+w " + (f.AntennaFolder.empty() ? folder + "antennas/" : f.AntennaFolder);
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
            "VOACAP download page: " + f.DownloadPage;
  return h;
}

}  // namespace vx
