#include "engine/Cache.h"

#include <algorithm>
#include <cstring>

#include "common/FileUtil.h"
#include "common/LittleEndian.h"
#include "common/TextUtil.h"

namespace vx {

namespace {

// "VXAC", then the layout version. Files of the first layout began with the
// raw key and never match.
constexpr char kMagic[4] = {'V', 'X', 'A', 'C'};
constexpr uint32_t kLayoutVersion = 2;
constexpr size_t kMaxModeLength = 4;
// A key holds a few numbers and three short names.
constexpr size_t kMaxKeyBytes = 4096;

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

void AppendLE64(std::string& out, uint64_t v) {
  AppendLE32(out, uint32_t(v));
  AppendLE32(out, uint32_t(v >> 32));
}

void AppendText(std::string& out, std::string_view text) {
  AppendLE32(out, uint32_t(text.size()));
  out.append(text);
}

// The header: magic, version, key length, key. The grid follows.
std::string EncodeHeader(const TAreaCacheKey& key) {
  const std::string k = EncodeCacheKey(key);
  std::string out(kMagic, sizeof kMagic);
  AppendLE32(out, kLayoutVersion);
  AppendLE32(out, uint32_t(k.size()));
  out += k;
  return out;
}

size_t GridSizeOf(const TAreaCacheKey& key) {
  const int32_t n = key.Inputs.GridSize;
  return (n == 16 || n == 31 || n == 61) ? size_t(n) : 0;
}

// The grid's offset when the file's header is exactly the key's and the file
// holds exactly that grid; 0 otherwise.
size_t ValidGridOffset(std::string_view bytes, const TAreaCacheKey& key) {
  const size_t n = GridSizeOf(key);
  if (n == 0) return 0;
  const std::string header = EncodeHeader(key);
  if (bytes.size() != header.size() + n * n * kCacheCellSize) return 0;
  if (bytes.substr(0, header.size()) != header) return 0;
  return header.size();
}

constexpr size_t kLargestCacheFile = 12 + kMaxKeyBytes + 61 * 61 * kCacheCellSize;

}  // namespace

uint64_t ContentHash(std::string_view bytes) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

std::string EncodeCacheKey(const TAreaCacheKey& key) {
  const TVoaInputs& in = key.Inputs;
  std::string out;
  for (int32_t v :
       {in.TxLon, in.TxLat, in.Ssn, in.Year, in.Month, in.TxPower, in.GridSize, in.Hour, in.Band, int32_t(in.LongPath)})
    AppendLE32(out, uint32_t(v));
  AppendText(out, key.Engine.substr(0, 64));
  AppendText(out, key.TxAntenna.substr(0, 255));
  AppendLE64(out, key.TxAntennaHash);
  AppendText(out, key.RxAntenna.substr(0, 255));
  AppendLE64(out, key.RxAntennaHash);
  return out;
}

std::string CacheName(int32_t hour, int32_t band, bool longPath) {
  int mhz = (band >= 0 && band < kBandCount) ? static_cast<int>(BandFrequency[band]) : 0;
  return FormatInt(hour, 2, true) + "UT-" + FormatInt(mhz, 2, true) + "MHz-" + (longPath ? "L" : "S") + ".dat";
}

std::string EncodeCache(const TAreaCacheKey& key, const TVoaGrid& grid) {
  const size_t n = key.Inputs.GridSize > 0 ? size_t(key.Inputs.GridSize) : 0;
  std::string out = EncodeHeader(key);
  const size_t start = out.size();
  out.resize(start + n * n * kCacheCellSize, '\0');
  auto* p = reinterpret_cast<uint8_t*>(out.data()) + start;
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

bool DecodeCache(std::string_view bytes, const TAreaCacheKey& key, TVoaGrid& grid) {
  const size_t offset = ValidGridOffset(bytes, key);
  if (offset == 0) return false;
  const int n = int(GridSizeOf(key));
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data()) + offset;
  TVoaGrid g = MakeGrid(n);
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

bool SaveAreaCache(const std::string& folder, const TAreaCacheKey& key, const TVoaGrid& grid) {
  return WriteFileAtomic(CacheFileName(folder, key.Inputs), EncodeCache(key, grid));
}

bool LoadAreaCache(const std::string& folder, const TAreaCacheKey& key, TVoaGrid& grid) {
  auto bytes = ReadWholeFile(CacheFileName(folder, key.Inputs), kLargestCacheFile);
  return bytes && DecodeCache(*bytes, key, grid);
}

bool AreaCacheValid(const std::string& folder, const TAreaCacheKey& key) {
  auto bytes = ReadWholeFile(CacheFileName(folder, key.Inputs), kLargestCacheFile);
  // The whole file is checked, not only its key: an entry that could not be
  // loaded must not count as present.
  return bytes && ValidGridOffset(*bytes, key) != 0;
}

}  // namespace vx
