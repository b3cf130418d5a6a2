// ssngen FIGURES OUT_FILE: writes the sunspot table SSN.dat from the monthly
// figures (data/ssn-figures.txt).
#include <iostream>

#include "SsnGen.h"
#include "common/FileUtil.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: ssngen FIGURES OUT_FILE\n";
    return 2;
  }
  auto text = vx::ReadWholeFile(argv[1], size_t(1) << 24);
  if (!text) {
    std::cerr << "ssngen: cannot read " << argv[1] << "\n";
    return 1;
  }
  auto parsed = vx::ssngen::ParseFigures(*text);
  if (!parsed.Error.empty()) {
    std::cerr << "ssngen: " << argv[1] << ", " << parsed.Error << "\n";
    return 1;
  }
  auto values = vx::ssngen::JoinedValues(parsed.Months);
  if (!vx::WriteFileAtomic(argv[2], vx::ssngen::FormatSsnTable(parsed.Months, values))) {
    std::cerr << "ssngen: cannot write " << argv[2] << "\n";
    return 1;
  }
  std::cout << "ssngen: " << parsed.Months.size() << " months, " << vx::ssngen::ForecastSegments(parsed.Months).size()
            << " forecast segments joined\n";
  return 0;
}
