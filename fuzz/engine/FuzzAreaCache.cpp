// Any bytes as a cache file. The key to compare with is taken from the input
// itself so that the grid reader is reached, not only the key test.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "engine/Cache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  vx::TEngineKey key{};
  std::memcpy(key.data(), data, size < key.size() ? size : key.size());
  vx::TVoaGrid g;
  if (vx::DecodeCache(bytes, key, g)) {
    const size_t n = g.size();
    if (size != vx::kEngineKeySize + n * n * vx::kCacheCellSize) std::abort();
    for (const auto& row : g)
      for (const auto& c : row)
        if (c.Mode.size() > 4) std::abort();
  }
  return 0;
}
