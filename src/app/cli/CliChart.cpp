#include <iostream>

#include "app/cli/Cli.h"

namespace vx::cli {

int CliChart(const std::vector<std::string>&) {
  std::cerr << "vantor-cli chart: not available in this build\n";
  return 2;
}

}  // namespace vx::cli
