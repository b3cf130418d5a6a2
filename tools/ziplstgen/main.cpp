// ziplstgen LOCATIONS COUNTIES COUNTY_CODES OUT: writes ZipLst.lst from the
// Census inputs in data/ziplst/ (see README, "ZIP code list").
#include <iostream>
#include <stdexcept>

#include "ZipLstGen.h"
#include "common/FileUtil.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: ziplstgen LOCATIONS COUNTIES COUNTY_CODES OUT\n";
    return 2;
  }
  std::string inputs[3];
  for (int i = 0; i < 3; ++i) {
    auto text = vx::ReadWholeFile(argv[i + 1]);
    if (!text) {
      std::cerr << "ziplstgen: cannot read " << argv[i + 1] << "\n";
      return 1;
    }
    inputs[i] = std::move(*text);
  }
  try {
    const auto list = vx::ziplstgen::GenerateZipList({inputs[0], inputs[1], inputs[2]});
    if (!vx::WriteFileAtomic(argv[4], list.Text)) {
      std::cerr << "ziplstgen: cannot write " << argv[4] << "\n";
      return 1;
    }
    std::cout << "ziplstgen: " << list.Codes << " ZIP codes, " << list.WithCounty << " with a county, "
              << list.StateByTerritory << " states from territory ranges, " << list.StateByPrefix
              << " from the first three digits\n";
  } catch (const std::exception& e) {
    std::cerr << "ziplstgen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
