#include <iostream>

#include "app/cli/Cli.h"

namespace vx::cli {

int CliPredict(const std::vector<std::string>&) {
  std::cerr << "vantor-cli predict: not available in this build\n";
  return 2;
}

int CliArea(const std::vector<std::string>&) {
  std::cerr << "vantor-cli area: not available in this build\n";
  return 2;
}

}  // namespace vx::cli
