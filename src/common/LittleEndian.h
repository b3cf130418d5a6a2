// Little-endian fields of binary files (bitmaps, ZIP archives, the area
// cache, the callbook index), read and written byte by byte so that neither
// the machine's byte order nor the field's alignment matters.
#pragma once

#include <cstdint>
#include <string>

namespace vx {

inline uint16_t GetLE16(const void* at) {
  const auto* p = static_cast<const unsigned char*>(at);
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

inline uint32_t GetLE32(const void* at) {
  const auto* p = static_cast<const unsigned char*>(at);
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline void PutLE16(void* at, uint16_t v) {
  auto* p = static_cast<unsigned char*>(at);
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}

inline void PutLE32(void* at, uint32_t v) {
  auto* p = static_cast<unsigned char*>(at);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

inline void AppendLE16(std::string& s, uint16_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>(v >> 8);
}

inline void AppendLE32(std::string& s, uint32_t v) {
  AppendLE16(s, static_cast<uint16_t>(v));
  AppendLE16(s, static_cast<uint16_t>(v >> 16));
}

}  // namespace vx
