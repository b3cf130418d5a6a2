// The special-calls table on any text: the table built row by row must give
// exactly what merging the whole sorted list at once gives, every output
// line must start with a call, and no two neighbours may still belong to
// the same call.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "../../tests/manager/SpecialCallsReference.h"
#include "manager/SpecialCalls.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto lines = vx::BuildSpecialCallLines(text);
  if (lines != vx::test::ReferenceSpecialCallLines(text)) __builtin_trap();
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    const size_t blank = lines[i].find(' ');
    if (blank == std::string::npos) __builtin_trap();
    if (lines[i + 1].compare(0, blank + 1, lines[i], 0, blank + 1) == 0) __builtin_trap();
  }
  return 0;
}
