#include "common/Paths.h"

#include <cstdlib>
#include <filesystem>

#include "common/FileUtil.h"

#ifdef _WIN32
#include <shlobj.h>
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace vx {

static std::string WithSlash(std::string s) {
  if (!s.empty() && s.back() != '/') s += '/';
  return s;
}

std::string ProgramFile() {
#ifdef _WIN32
  char buf[MAX_PATH + 1] = {};
  DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
  std::string p(buf, n);
  for (char& c : p)
    if (c == '\\') c = '/';
  return p;
#else
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.string();
#endif
}

std::string ProgramFolder() {
  const std::string file = ProgramFile();
  return file.empty() ? "./" : FolderOf(file);
}

bool PortableMode() { return FileExists(ProgramFolder() + "portable"); }

// The build passes the path from the installed programs' folder to the
// installed data folder (usually "../share/vantor").
#ifndef VX_SHIPPED_DATA_FROM_PROGRAM
#define VX_SHIPPED_DATA_FROM_PROGRAM "../share/vantor"
#endif

std::string ShippedDataFolder() {
  std::string exeDir = ProgramFolder();
  std::string installed =
      WithSlash(fs::path(exeDir + VX_SHIPPED_DATA_FROM_PROGRAM).lexically_normal().generic_string());
  if (DirectoryExists(installed)) return installed;
  // Not installed (a build folder, a portable copy): the data lies beside the program.
  return exeDir;
}

// An XDG base folder: the variable when set to an absolute path, else the
// default below the home folder.
static std::string XdgFolder(const char* var, const char* fallbackBelowHome) {
  const char* v = std::getenv(var);
  if (v && v[0] == '/') return WithSlash(v);
#ifdef _WIN32
  (void)fallbackBelowHome;
  char buf[MAX_PATH] = {};
  if (SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, buf) == S_OK) {
    std::string p(buf);
    for (char& c : p)
      if (c == '\\') c = '/';
    return WithSlash(p);
  }
  return "";
#else
  const char* home = std::getenv("HOME");
  std::string h = home && home[0] ? home : "/tmp";
  return WithSlash(h) + fallbackBelowHome;
#endif
}

std::string SettingsFile(const std::string& program) {
  if (PortableMode()) return ProgramFolder() + program + ".ini";
  return XdgFolder("XDG_CONFIG_HOME", ".config/") + "Vexmoor/" + program + ".ini";
}

std::string AreaCacheFolder() {
  return PortableMode() ? ProgramFolder() + "Cache/" : XdgFolder("XDG_CACHE_HOME", ".cache/") + "Vexmoor/Vantor/Cache/";
}

std::string DataHomeFolder() { return XdgFolder("XDG_DATA_HOME", ".local/share/"); }

std::string ReferenceFolder() {
  return PortableMode() ? ProgramFolder() + "Reference/" : DataHomeFolder() + "Vexmoor/Reference/";
}

std::string EngineFolder() {
  return PortableMode() ? ProgramFolder() + "Engine/" : DataHomeFolder() + "Vexmoor/Vantor/Engine/";
}

void CreateProgramFolders(TProgram program) {
  MakeDirectories(ReferenceFolder());
  if (program == TProgram::pgVantor) MakeDirectories(AreaCacheFolder());
}

}  // namespace vx
