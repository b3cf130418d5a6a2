// Lists any bytes as a ZIP archive and extracts every member: nothing may
// crash, read out of bounds, or allocate far beyond what the input holds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "manager/Unzipper.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vx::TUnZipper z;
  z.Open(std::string_view(reinterpret_cast<const char*>(data), size));
  for (int i = 0; i < z.Count(); ++i) {
    try {
      const std::string out = z.Extract(i);
      if (out.size() != static_cast<size_t>(z.GetInfo(i).Size)) __builtin_trap();
    } catch (const vx::EZipError&) {
    }
  }
  return 0;
}
