// Area-grid cache: one file per hour, band and path. A file starts with the
// key of every input that shaped its grid, then holds n x n cells of 20
// bytes. A file whose key differs from the request in anything, or that was
// written in an older layout, is a miss.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/VoaTypes.h"

namespace vx {

inline constexpr size_t kCacheCellSize = 20;
// The engine that computed a map; maps of two engines differ slightly.
inline constexpr char kVoaplEngineName[] = "voacapl";
inline constexpr char kBuiltinEngineName[] = "builtin";

// Everything an area map depends on.
struct TAreaCacheKey {
  // Position, SSN, year, month, power, grid size, hour, band and path (the
  // receiver and the other bands' antennas play no part).
  TVoaInputs Inputs;
  std::string Engine = kVoaplEngineName;
  // The antenna files of Inputs.Band by name, and a hash of their contents,
  // so that an edited file or a shifted antenna list is a miss.
  std::string TxAntenna, RxAntenna;
  uint64_t TxAntennaHash = 0, RxAntennaHash = 0;
};

// 64-bit FNV-1a of bytes: what identifies an antenna file's contents.
uint64_t ContentHash(std::string_view bytes);

// The key's bytes as the file stores them.
std::string EncodeCacheKey(const TAreaCacheKey& key);

// "05UT-03MHz-S.dat" for hour 5, band 0, short path.
std::string CacheName(int32_t hour, int32_t band, bool longPath);

// The file's bytes for a key and a grid of key.Inputs.GridSize rows.
std::string EncodeCache(const TAreaCacheKey& key, const TVoaGrid& grid);

// Checks a cache file's bytes against the key. Returns true and fills grid
// only when the stored key equals it and the file holds exactly the grid it
// announces (a file cut short or padded is not a valid cache entry).
bool DecodeCache(std::string_view bytes, const TAreaCacheKey& key, TVoaGrid& grid);

// File operations on a cache folder (with its trailing "/").
std::string CacheFileName(const std::string& folder, const TVoaInputs& in);
// Writes atomically; false when the file could not be written.
bool SaveAreaCache(const std::string& folder, const TAreaCacheKey& key, const TVoaGrid& grid);
// On success replaces grid; otherwise leaves it untouched.
bool LoadAreaCache(const std::string& folder, const TAreaCacheKey& key, TVoaGrid& grid);
bool AreaCacheValid(const std::string& folder, const TAreaCacheKey& key);

}  // namespace vx
