// antgen OUT_FOLDER: writes the shipped antenna model files (data/antennas/).
// They are computed, not measured: see Physics.h for the models and the
// README for the ground constants.
#include <iostream>

#include "Models.h"
#include "common/FileUtil.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: antgen OUT_FOLDER\n";
    return 2;
  }
  const std::string folder = argv[1];
  vx::MakeDirectories(folder);
  for (const auto& file : vx::antgen::ShippedModels()) {
    if (!vx::WriteFileAtomic(vx::JoinPath(folder, file.Name), file.Text)) {
      std::cerr << "antgen: cannot write " << vx::JoinPath(folder, file.Name) << "\n";
      return 1;
    }
  }
  return 0;
}
