#include "engine/Antennas.h"

#include <cstdio>

#include "common/FileUtil.h"

namespace vx {

const std::string& IsotropeText() {
  static const std::string text =
      "ISOTROPE\r\n"
      " 2     2 parameters\r\n"
      "  0.00  [ 1] Max Gain dBi..:\r\n"
      "   0    [ 2] Antenna Type..:\r\n";
  return text;
}

bool AntennaDisplayName(const std::string& path, std::string& name) {
  name.clear();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char buf[80];
  size_t got = std::fread(buf, 1, sizeof buf, f);
  bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return false;
  size_t end = 0;
  while (end < got && buf[end] != '\r' && buf[end] != '\n') ++end;
  name.assign(buf, end);
  return true;
}

bool LoadAntennaList(const std::string& folder, TAlStringList& files, std::vector<std::string>& names) {
  const std::string isotrope = folder + kIsotropeFile;
  if (!FileExists(isotrope) && !WriteFileAtomic(isotrope, IsotropeText())) return false;
  files.SetSorted(false);
  files.LoadFileNames(folder + "*.*");
  names.clear();
  for (size_t i = 0; i < files.Count(); ++i) {
    std::string name;
    if (!AntennaDisplayName(folder + files[i], name)) return false;
    names.push_back(std::move(name));
  }
  return true;
}

bool ImportAntennas(const std::string& from, const std::string& folder, TAlStringList& files,
                    std::vector<std::string>& names) {
  TAlStringList fresh;
  fresh.LoadFileNames(JoinPath(from, "*.*"));
  fresh.RemoveAll(files);
  for (size_t i = 0; i < fresh.Count(); ++i) CopyFileReplace(JoinPath(from, fresh[i]), folder + fresh[i]);
  return LoadAntennaList(folder, files, names);
}

}  // namespace vx
