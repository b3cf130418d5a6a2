// Any bytes as a point-to-point output: no crash, no access outside the arrays.
#include <cstdint>
#include <string_view>

#include "engine/VoaParse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vx::TPointResults r;
  vx::ParsePointText(std::string_view(reinterpret_cast<const char*>(data), size), r);
  return 0;
}
