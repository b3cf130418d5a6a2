// Any bytes as a cache file. The input's first byte picks the key's grid
// size; the rest follows that key's own header, so that the grid reader is
// reached and not only the key test; the whole input is also tried as it is.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/Cache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  vx::TAreaCacheKey key;
  key.Inputs.GridSize = data[0] % 3 == 0 ? 16 : data[0] % 3 == 1 ? 31 : 61;
  key.TxAntenna = "ISOTROPE.ant";
  const size_t n = size_t(key.Inputs.GridSize);
  const std::string empty = vx::EncodeCache(key, {});
  const std::string header = empty.substr(0, empty.size() - n * n * vx::kCacheCellSize);
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  for (const std::string& bytes : {header + std::string(rest), std::string(rest)}) {
    vx::TVoaGrid g;
    if (!vx::DecodeCache(bytes, key, g)) continue;
    if (g.size() != n || bytes.size() != header.size() + n * n * vx::kCacheCellSize) std::abort();
    for (const auto& row : g)
      for (const auto& c : row)
        if (c.Mode.size() > 4) std::abort();
  }
  return 0;
}
