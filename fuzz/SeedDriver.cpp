// Runs a fuzz target without libFuzzer (any compiler): every file named on
// the command line, or found in a folder named there, goes once through
// LLVMFuzzerTestOneInput. A crash or a sanitizer report ends the run; a
// target with no seeds at all fails, so that every target keeps some.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const fs::path arg = argv[i];
    std::error_code ec;
    if (fs::is_directory(arg, ec)) {
      for (const auto& e : fs::recursive_directory_iterator(arg, ec))
        if (e.is_regular_file()) inputs.push_back(e.path());
    } else if (fs::is_regular_file(arg, ec)) {
      inputs.push_back(arg);
    } else {
      std::fprintf(stderr, "%s: no such file or folder\n", argv[i]);
      return 2;
    }
  }
  std::sort(inputs.begin(), inputs.end());
  if (inputs.empty()) {
    std::fprintf(stderr, "no seeds: put some inputs into fuzz/seeds/<target>/\n");
    return 2;
  }
  for (const fs::path& p : inputs) {
    std::ifstream in(p, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
      std::fprintf(stderr, "%s: cannot read\n", p.c_str());
      return 2;
    }
    std::fprintf(stderr, "%s (%zu bytes)\n", p.c_str(), bytes.size());
    // A buffer of its own size, so that a read past the end is caught; never
    // a null pointer, as libFuzzer never passes one either.
    std::vector<uint8_t> data(bytes.begin(), bytes.end());
    static uint8_t none;
    LLVMFuzzerTestOneInput(data.empty() ? &none : data.data(), data.size());
  }
  std::fprintf(stderr, "all %zu seeds ran\n", inputs.size());
  return 0;
}
