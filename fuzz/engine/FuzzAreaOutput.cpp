// Any bytes as an area output: no crash, the grid is n x n for a valid n.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/VoaParse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vx::TVoaGrid g;
  vx::TVoaStatus st = vx::ParseAreaText(std::string_view(reinterpret_cast<const char*>(data), size), g);
  if (st == vx::vsReady) {
    if (g.size() != 16 && g.size() != 31 && g.size() != 61) std::abort();
    for (const auto& row : g)
      if (row.size() != g.size()) std::abort();
  }
  return 0;
}
