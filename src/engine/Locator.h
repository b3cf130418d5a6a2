// Finding the outside propagation program: its executable and its data
// folder. Linux: `voacapl` on the PATH and ~/itshfbc, unless the settings
// name other places. Windows: the installation recorded in the registry.
#pragma once

#include <string>
#include <string_view>

#include "engine/ProcessRunner.h"
#include "engine/VoaTypes.h"

namespace vx {

class TIniFile;

// Which engine computes: voacapl when it is installed, else the built-in
// model (auto); or always one of them.
enum class TEngineChoice { Auto, Builtin, Voacapl };

// "auto", "builtin", "voacapl".
const char* EngineChoiceName(TEngineChoice choice);
// Reads one of those names (case and blanks ignored); false for another text.
bool ParseEngineChoice(std::string_view text, TEngineChoice& choice);

// Places given by the user (settings file or command line); blank = default.
struct TVoacapSetup {
  std::string Program;
  std::string DataFolder;
  int Workers = 0;  // programs run side by side by the batch; 0: one per core
  TEngineChoice Engine = TEngineChoice::Auto;
};

// "~/x" as $HOME/x (settings files are not read by a shell).
std::string ExpandHome(const std::string& path);

// Reads section "VOACAP", keys "Program" and "DataFolder", "~/" expanded,
// "Workers" (0 when missing or not a number from 1 up) and "Engine" (auto
// when missing or unknown).
TVoacapSetup ReadVoacapSetup(const TIniFile& settings);

struct TVoacapInstallation {
  std::string Program;  // the executable; empty when none was found
  std::string Folder;   // the data folder with its trailing separator
};

TVoacapInstallation LocateVoacap(const TVoacapSetup& setup);

// The first executable file of that name on the PATH, or "".
std::string FindOnPath(const std::string& name);
bool IsExecutableFile(const std::string& path);

// The version check of "database/version.w32": characters 9-10 are the
// major and 12-15 the minor number. vsTooOld below 8.1124, else vsReady.
TVoaStatus CheckVersionText(const std::string& text);

// The child's command line for a point-to-point or an area run; the working
// folder is the data folder.
TProcessCommand VoacapCommand(const TVoacapInstallation& inst, bool area);

// Where the data folder's files are, relative to it.
struct TVoacapFiles {
  static const char* const VersionFile;
  static const char* const AntennaFolder;  // the engine's own antenna subfolder
  static const char* const AreaFolder;     // the engine's own area subfolder
  static const char* const PointDeck;
  static const char* const PointOutput;
  static const char* const AreaDeck;
  static const char* const AreaOutput;
};

#ifdef _WIN32
inline constexpr char kDownloadPage[] = "https://www.voacap.com/downloads/";
#else
inline constexpr char kDownloadPage[] = "https://www.qsl.net/hz1jw/voacapl/";
#endif

}  // namespace vx
