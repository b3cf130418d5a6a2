// Area-grid cache: one file per hour, band and path, keyed by every other
// input that shaped the grid (92 bytes), then n x n cells of 20 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/VoaTypes.h"

namespace vx {

inline constexpr size_t kEngineKeySize = 92;
inline constexpr size_t kCacheCellSize = 20;
using TEngineKey = std::array<uint8_t, kEngineKeySize>;

// TxLon, TxLat, Ssn, Year, Month, TxAntenna[8], RxAntenna[8], TxPower,
// GridSize as little-endian 32-bit integers.
TEngineKey EngineKey(const TVoaInputs& in);

// "05UT-03MHz-S.dat" for hour 5, band 0, short path.
std::string CacheName(int32_t hour, int32_t band, bool longPath);

// The file's bytes for a key and a grid of key.GridSize rows.
std::string EncodeCache(const TVoaInputs& in, const TVoaGrid& grid);

// Checks a cache file's bytes against the key. Returns true and fills grid
// only when the key matches and the file holds exactly the grid it announces
// (a file cut short or padded is not a valid cache entry).
bool DecodeCache(std::string_view bytes, const TEngineKey& key, TVoaGrid& grid);
// The key test alone (the first 92 bytes).
bool CacheKeyMatches(std::string_view bytes, const TEngineKey& key);

// File operations on a cache folder (with its trailing "/").
std::string CacheFileName(const std::string& folder, const TVoaInputs& in);
// Writes atomically; errors are swallowed (the cache is an optimisation).
bool SaveAreaCache(const std::string& folder, const TVoaInputs& in, const TVoaGrid& grid);
// On success replaces grid; otherwise leaves it untouched.
bool LoadAreaCache(const std::string& folder, const TVoaInputs& in, TVoaGrid& grid);
bool AreaCacheValid(const std::string& folder, const TVoaInputs& in);

}  // namespace vx
