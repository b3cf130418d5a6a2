#include "manager/ClBook.h"

#include <bit>

namespace vx {

namespace {
[[maybe_unused]] void Put16(char* p, int16_t v) {
  const auto u = static_cast<uint16_t>(v);
  p[0] = static_cast<char>(u & 0xFF);
  p[1] = static_cast<char>(u >> 8);
}
[[maybe_unused]] void Put32(char* p, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}
int16_t Get16(const char* p) {
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<unsigned char>(p[0]) |
                                                    (static_cast<unsigned char>(p[1]) << 8)));
}
int32_t Get32(const char* p) {
  uint32_t u = 0;
  for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(p[i]);
  return static_cast<int32_t>(u);
}
}  // namespace

std::string EncodeCallbookIndex(const TCallbookEntries& entries) {
  std::string out(entries.size() * sizeof(TCallbookEntry), '\0');
  if constexpr (std::endian::native == std::endian::little) {
    if (!entries.empty()) std::memcpy(out.data(), entries.data(), out.size());
  } else {
    char* p = out.data();
    for (const TCallbookEntry& e : entries) {
      std::memcpy(p, e.Call, 16);
      std::memcpy(p + 16, e.Region, 8);
      Put16(p + 24, e.Lat);
      Put16(p + 26, e.Lon);
      Put32(p + 28, e.DatOffset);
      p += 32;
    }
  }
  return out;
}

TCallbookEntries DecodeCallbookIndex(std::string_view bytes) {
  TCallbookEntries out(bytes.size() / 32);
  const char* p = bytes.data();
  for (TCallbookEntry& e : out) {
    std::memcpy(e.Call, p, 16);
    std::memcpy(e.Region, p + 16, 8);
    e.Lat = Get16(p + 24);
    e.Lon = Get16(p + 26);
    e.DatOffset = Get32(p + 28);
    p += 32;
  }
  return out;
}

}  // namespace vx
