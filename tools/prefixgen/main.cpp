// prefixgen CTY_CSV OUT_FOLDER: writes Prefix.lst and Call.lst.
#include <iostream>

#include "CtyConvert.h"
#include "common/FileUtil.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: prefixgen CTY_CSV OUT_FOLDER\n";
    return 2;
  }
  auto csv = vx::ReadWholeFile(argv[1]);
  if (!csv) {
    std::cerr << "prefixgen: cannot read " << argv[1] << "\n";
    return 1;
  }
  auto entities = vx::prefixgen::ParseCountryFile(*csv);
  if (entities.empty()) {
    std::cerr << "prefixgen: no entities in " << argv[1] << "\n";
    return 1;
  }
  auto lists = vx::prefixgen::GenerateLists(entities);
  std::string folder = argv[2];
  vx::MakeDirectories(folder);
  if (!vx::WriteFileAtomic(vx::JoinPath(folder, "Prefix.lst"), lists.PrefixLst) ||
      !vx::WriteFileAtomic(vx::JoinPath(folder, "Call.lst"), lists.CallLst)) {
    std::cerr << "prefixgen: cannot write into " << folder << "\n";
    return 1;
  }
  std::cout << "prefixgen: " << entities.size() << " entities, " << lists.CountryEntries << " country lines, "
            << lists.PrefixEntries << " prefix lines, " << lists.Masks << " prefixes, " << lists.ExactCalls
            << " exact calls\n";
  return 0;
}
