#include "engine/Locator.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "common/FileUtil.h"
#include "common/Ini.h"
#include "common/TextUtil.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vx {

#ifdef _WIN32
const char* const TVoacapFiles::VersionFile = "database\\Version.w32";
const char* const TVoacapFiles::AntennaFolder = "antennas\\Vantor\\";
const char* const TVoacapFiles::AreaFolder = "AREADATA\\Vantor\\";
const char* const TVoacapFiles::PointDeck = "RUN\\Vantor.dat";
const char* const TVoacapFiles::PointOutput = "RUN\\Vantor.out";
const char* const TVoacapFiles::AreaDeck = "AREADATA\\Vantor\\Vantor.voa";
const char* const TVoacapFiles::AreaOutput = "AREADATA\\Vantor\\Vantor.vg1";
#else
const char* const TVoacapFiles::VersionFile = "database/version.w32";
const char* const TVoacapFiles::AntennaFolder = "antennas/Vantor/";
const char* const TVoacapFiles::AreaFolder = "areadata/Vantor/";
const char* const TVoacapFiles::PointDeck = "run/Vantor.dat";
const char* const TVoacapFiles::PointOutput = "run/Vantor.out";
const char* const TVoacapFiles::AreaDeck = "areadata/Vantor/Vantor.voa";
const char* const TVoacapFiles::AreaOutput = "areadata/Vantor/Vantor.vg1";
#endif

std::string ExpandHome(const std::string& path) {
#ifndef _WIN32
  if (path == "~" || path.rfind("~/", 0) == 0) {
    const char* home = std::getenv("HOME");
    if (home && home[0]) return std::string(home) + path.substr(1);
  }
#endif
  return path;
}

const char* EngineChoiceName(TEngineChoice choice) {
  switch (choice) {
    case TEngineChoice::Builtin: return "builtin";
    case TEngineChoice::Voacapl: return "voacapl";
    default: return "auto";
  }
}

bool ParseEngineChoice(std::string_view text, TEngineChoice& choice) {
  const std::string name = UpperAscii(Trim(text));
  for (TEngineChoice c : {TEngineChoice::Auto, TEngineChoice::Builtin, TEngineChoice::Voacapl})
    if (name == UpperAscii(EngineChoiceName(c))) {
      choice = c;
      return true;
    }
  return false;
}

TVoacapSetup ReadVoacapSetup(const TIniFile& settings) {
  TVoacapSetup s{ExpandHome(settings.ReadString("VOACAP", "Program")),
                 ExpandHome(settings.ReadString("VOACAP", "DataFolder"))};
  auto workers = ParseInt(Trim(settings.ReadString("VOACAP", "Workers")));
  if (workers && *workers > 0) s.Workers = int(std::min<int64_t>(*workers, 1 << 16));
  ParseEngineChoice(settings.ReadString("VOACAP", "Engine"), s.Engine);
  return s;
}

bool IsExecutableFile(const std::string& path) {
  if (!FileExists(path)) return false;
#ifdef _WIN32
  return true;
#else
  return ::access(path.c_str(), X_OK) == 0;
#endif
}

std::string FindOnPath(const std::string& name) {
  if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : "";
  const char* path = std::getenv("PATH");
  if (!path) return "";
  std::string_view rest(path);
  while (true) {
    size_t sep = rest.find(':');
    std::string dir(rest.substr(0, sep));
    if (!dir.empty()) {
      std::string candidate = JoinPath(dir, name);
      if (IsExecutableFile(candidate)) return candidate;
    }
    if (sep == std::string_view::npos) break;
    rest.remove_prefix(sep + 1);
  }
  return "";
}

static std::string WithTrailingSeparator(std::string f) {
#ifdef _WIN32
  if (!f.empty() && f.back() != '\\' && f.back() != '/') f += '\\';
#else
  if (!f.empty() && f.back() != '/') f += '/';
#endif
  return f;
}

#ifdef _WIN32
// The folder of the uninstaller recorded for the program.
static std::string RegistryFolder() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ITS HF Propagation",
                    0, KEY_READ, &key) != ERROR_SUCCESS)
    return "";
  char buf[1024] = {};
  DWORD size = sizeof buf - 1, type = 0;
  LONG rc = RegQueryValueExA(key, "UninstallString", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS) return "";
  std::string s(buf);
  size_t cut = s.find_last_of("\\:");
  return cut == std::string::npos ? "" : s.substr(0, cut + 1);
}
#endif

TVoacapInstallation LocateVoacap(const TVoacapSetup& setup) {
  TVoacapInstallation inst;
#ifdef _WIN32
  inst.Folder = setup.DataFolder.empty() ? RegistryFolder() : WithTrailingSeparator(setup.DataFolder);
  std::string exe = setup.Program.empty() ? inst.Folder + "bin_win\\Voacapw.exe" : setup.Program;
  if (!inst.Folder.empty() && FileExists(exe)) inst.Program = exe;
#else
  inst.Program = FindOnPath(setup.Program.empty() ? "voacapl" : setup.Program);
  // The child runs in the data folder: a relative path would no longer name it.
  if (!inst.Program.empty()) {
    std::error_code ec;
    auto absolute = std::filesystem::absolute(inst.Program, ec);
    if (!ec) inst.Program = absolute.string();
  }
  if (!setup.DataFolder.empty()) {
    inst.Folder = WithTrailingSeparator(setup.DataFolder);
  } else {
    const char* home = std::getenv("HOME");
    if (home && home[0]) inst.Folder = WithTrailingSeparator(JoinPath(home, "itshfbc"));
  }
#endif
  return inst;
}

TVoaStatus CheckVersionText(const std::string& text) {
  auto number = [&](size_t first, size_t last) -> long long {
    auto v = ParseInt(Columns(text, first, last));
    return v ? *v : 0;
  };
  const long long major = number(9, 10);
  const long long minor = number(12, 15);
  if (major >= 0 && major <= 7) return vsTooOld;
  if (major == 8 && minor < 1124) return vsTooOld;
  return vsReady;
}

TProcessCommand VoacapCommand(const TVoacapInstallation& inst, bool area) {
  TProcessCommand c;
  c.Program = inst.Program;
  c.Directory = inst.Folder;
#ifdef _WIN32
  c.Arguments = {"SILENT", inst.Folder};
  if (area)
    c.Arguments.insert(c.Arguments.end(), {"AREA", "CALC", "Vantor\\Vantor.voa"});
  else
    c.Arguments.insert(c.Arguments.end(), {"Vantor.dat", "Vantor.out"});
#else
  // Options first: the port stops reading options at the folder.
  c.Arguments = {"-s", inst.Folder};
  if (area)
    c.Arguments.insert(c.Arguments.end(), {"area", "calc", "Vantor/Vantor.voa"});
  else
    c.Arguments.insert(c.Arguments.end(), {"Vantor.dat", "Vantor.out"});
#endif
  return c;
}

}  // namespace vx
