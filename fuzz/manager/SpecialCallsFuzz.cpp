// The special-calls table merge on any text: every output line must start
// with a call, and no two neighbours may still belong to the same call.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "manager/SpecialCalls.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto lines = vx::BuildSpecialCallLines(std::string_view(reinterpret_cast<const char*>(data), size));
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    const size_t blank = lines[i].find(' ');
    if (blank == std::string::npos) __builtin_trap();
    if (lines[i + 1].compare(0, blank + 1, lines[i], 0, blank + 1) == 0) __builtin_trap();
  }
  return 0;
}
