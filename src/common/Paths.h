// Where the programs keep their files. Linux follows the XDG base-directory
// variables so that tests can point every location at a temporary folder;
// portable mode keeps everything beside the program instead.
#pragma once

#include <string>

namespace vx {

// The running program's file, an absolute path (empty if it cannot be told).
std::string ProgramFile();

// The folder holding the running program, with a trailing "/".
std::string ProgramFolder();

// True when a file named "portable" stands beside the program: settings,
// cache and reference files then live beside the program too.
bool PortableMode();

// Read-only data shipped with the programs (Prefix.lst, Call.lst, SSN.dat,
// pictures): <prefix>/share/vantor once installed, else the program's folder.
std::string ShippedDataFolder();

// ~/.config/Vexmoor/<program>.ini (portable: beside the program).
std::string SettingsFile(const std::string& program);

// ~/.cache/Vexmoor/Vantor/Cache/ (portable: "Cache/" beside the program).
std::string AreaCacheFolder();

// The user's data folder: $XDG_DATA_HOME or ~/.local/share/, with a
// trailing "/" (not created here).
std::string DataHomeFolder();

// ~/.local/share/Vexmoor/Vantor/Engine/ (portable: "Engine/" beside the
// program): the built-in engine's own data folder (its antennas) when no
// VOACAP data folder is there to share.
std::string EngineFolder();

// ~/.local/share/Vexmoor/Reference/ (portable: "Reference/" beside the
// program).
std::string ReferenceFolder();

// The locations above only name folders; a program creates the ones it
// writes into once, at start-up: both the reference folder, Vantor also
// the area cache. A folder that cannot be created is left for the later
// reads and writes there to fail on their own.
enum class TProgram { pgVantor, pgKestrix };
void CreateProgramFolders(TProgram program);

}  // namespace vx
