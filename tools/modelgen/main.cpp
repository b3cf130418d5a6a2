// modelgen ASC_FOLDER OUT_FILE: writes the model's coefficient file from the
// ASCII coefficient tables published with VOACAP (coeff01.asc .. coeff12.asc,
// fof2CCIR.asc, fof2URSI.asc in ASC_FOLDER).
// modelgen --compare FOLDER: reads the ASCII tables of FOLDER and compares
// them, value by value, with the binaries VOACAP made of them there
// (coeffNNw.bin, fof2CCIR.daw, fof2URSI.daw).
#include <iostream>
#include <string>

#include "ModelGen.h"
#include "common/FileUtil.h"

int main(int argc, char** argv) {
  const bool compare = argc == 3 && std::string(argv[1]) == "--compare";
  if (argc != 3) {
    std::cerr << "usage: modelgen ASC_FOLDER OUT_FILE\n"
                 "       modelgen --compare FOLDER\n";
    return 2;
  }
  const std::string folder = compare ? argv[2] : argv[1];
  auto built = vx::modelgen::BuildFromFolder(folder);
  if (!built.Error.empty()) {
    std::cerr << "modelgen: " << built.Error << "\n";
    return 1;
  }
  if (compare) {
    auto c = vx::modelgen::CompareWithBinaries(*built.Data, folder);
    std::cout << c.Report;
    return c.Ok ? 0 : 1;
  }
  const std::string bytes = vx::model::SerializeModelData(*built.Data);
  // What is written must load: the same checks as the programs make.
  auto check = vx::model::ParseModelData(bytes);
  if (!check.Error.empty()) {
    std::cerr << "modelgen: the tables do not make a valid file: " << check.Error << "\n";
    return 1;
  }
  if (!vx::WriteFileAtomic(argv[2], bytes)) {
    std::cerr << "modelgen: cannot write " << argv[2] << "\n";
    return 1;
  }
  std::cout << "modelgen: " << bytes.size() << " bytes, 12 months, CCIR and URSI foF2 maps\n";
  return 0;
}
