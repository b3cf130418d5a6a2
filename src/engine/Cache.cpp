#include "engine/Cache.h"

#include <cstdio>
#include <cstring>

#include "common/FileUtil.h"
#include "common/LittleEndian.h"
#include "common/TextUtil.h"

namespace vx {

namespace {

void PutFloat(uint8_t* p, float f) {
  uint32_t v;
  std::memcpy(&v, &f, 4);
  PutLE32(p, v);
}

float GetFloat(const uint8_t* p) {
  uint32_t v = GetLE32(p);
  float f;
  std::memcpy(&f, &v, 4);
  return f;
}

constexpr size_t kMaxModeLength = 4;

}  // namespace

TEngineKey EngineKey(const TVoaInputs& in) {
  TEngineKey key{};
  int32_t values[23];
  size_t k = 0;
  values[k++] = in.TxLon;
  values[k++] = in.TxLat;
  values[k++] = in.Ssn;
  values[k++] = in.Year;
  values[k++] = in.Month;
  for (int b = 0; b < kBandCount; ++b) values[k++] = in.TxAntenna[b];
  for (int b = 0; b < kBandCount; ++b) values[k++] = in.RxAntenna[b];
  values[k++] = in.TxPower;
  values[k++] = in.GridSize;
  for (size_t i = 0; i < k; ++i) PutLE32(key.data() + 4 * i, static_cast<uint32_t>(values[i]));
  return key;
}

std::string CacheName(int32_t hour, int32_t band, bool longPath) {
  int mhz = (band >= 0 && band < kBandCount) ? static_cast<int>(BandFrequency[band]) : 0;
  return FormatInt(hour, 2, true) + "UT-" + FormatInt(mhz, 2, true) + "MHz-" + (longPath ? "L" : "S") + ".dat";
}

std::string EncodeCache(const TVoaInputs& in, const TVoaGrid& grid) {
  const TEngineKey key = EngineKey(in);
  const size_t n = in.GridSize > 0 ? static_cast<size_t>(in.GridSize) : 0;
  std::string out(kEngineKeySize + n * n * kCacheCellSize, '\0');
  auto* p = reinterpret_cast<uint8_t*>(out.data());
  std::memcpy(p, key.data(), kEngineKeySize);
  p += kEngineKeySize;
  for (size_t i = 0; i < n; ++i)
    for (size_t j = 0; j < n; ++j, p += kCacheCellSize) {
      // A grid smaller than its announced size writes zero cells rather
      // than reading outside it.
      if (i >= grid.size() || j >= grid[i].size()) continue;
      const TVoaGridCell& c = grid[i][j];
      PutFloat(p, c.Snr);
      PutFloat(p + 4, c.Elevation);
      PutFloat(p + 8, c.Muf);
      size_t len = std::min(c.Mode.size(), kMaxModeLength);
      p[12] = static_cast<uint8_t>(len);
      std::memcpy(p + 13, c.Mode.data(), len);
    }
  return out;
}

bool CacheKeyMatches(std::string_view bytes, const TEngineKey& key) {
  return bytes.size() >= kEngineKeySize && std::memcmp(bytes.data(), key.data(), kEngineKeySize) == 0;
}

// The grid size a file announces when the key matches and the file holds
// exactly that grid; 0 otherwise.
static int32_t ValidGridSize(std::string_view bytes, const TEngineKey& key) {
  if (!CacheKeyMatches(bytes, key)) return 0;
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  const int32_t n = static_cast<int32_t>(GetLE32(p + kEngineKeySize - 4));
  if (n != 16 && n != 31 && n != 61) return 0;
  const size_t cells = static_cast<size_t>(n) * static_cast<size_t>(n);
  return bytes.size() == kEngineKeySize + cells * kCacheCellSize ? n : 0;
}

bool DecodeCache(std::string_view bytes, const TEngineKey& key, TVoaGrid& grid) {
  const int32_t n = ValidGridSize(bytes, key);
  if (n == 0) return false;
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  TVoaGrid g = MakeGrid(n);
  p += kEngineKeySize;
  for (auto& row : g)
    for (auto& c : row) {
      c.Snr = GetFloat(p);
      c.Elevation = GetFloat(p + 4);
      c.Muf = GetFloat(p + 8);
      size_t len = std::min<size_t>(p[12], kMaxModeLength);
      c.Mode.assign(reinterpret_cast<const char*>(p + 13), len);
      p += kCacheCellSize;
    }
  grid = std::move(g);
  return true;
}

std::string CacheFileName(const std::string& folder, const TVoaInputs& in) {
  return JoinPath(folder, CacheName(in.Hour, in.Band, in.LongPath));
}

bool SaveAreaCache(const std::string& folder, const TVoaInputs& in, const TVoaGrid& grid) {
  return WriteFileAtomic(CacheFileName(folder, in), EncodeCache(in, grid));
}

static constexpr size_t kLargestCacheFile = kEngineKeySize + 61 * 61 * kCacheCellSize;

bool LoadAreaCache(const std::string& folder, const TVoaInputs& in, TVoaGrid& grid) {
  auto bytes = ReadWholeFile(CacheFileName(folder, in), kLargestCacheFile);
  return bytes && DecodeCache(*bytes, EngineKey(in), grid);
}

bool AreaCacheValid(const std::string& folder, const TVoaInputs& in) {
  auto bytes = ReadWholeFile(CacheFileName(folder, in), kLargestCacheFile);
  // The whole file is checked, not only its key: an entry that could not be
  // loaded must not count as present.
  return bytes && ValidGridSize(*bytes, EngineKey(in)) != 0;
}

}  // namespace vx
