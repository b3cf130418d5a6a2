#include "refdata/ClBook.h"

#include <bit>

#include "common/LittleEndian.h"

namespace vx {

std::string EncodeCallbookIndex(const TCallbookEntries& entries) {
  std::string out(entries.size() * sizeof(TCallbookEntry), '\0');
  if constexpr (std::endian::native == std::endian::little) {
    if (!entries.empty()) std::memcpy(out.data(), entries.data(), out.size());
  } else {
    char* p = out.data();
    for (const TCallbookEntry& e : entries) {
      std::memcpy(p, e.Call, 16);
      std::memcpy(p + 16, e.Region, 8);
      PutLE16(p + 24, static_cast<uint16_t>(e.Lat));
      PutLE16(p + 26, static_cast<uint16_t>(e.Lon));
      PutLE32(p + 28, static_cast<uint32_t>(e.DatOffset));
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
    e.Lat = static_cast<int16_t>(GetLE16(p + 24));
    e.Lon = static_cast<int16_t>(GetLE16(p + 26));
    e.DatOffset = static_cast<int32_t>(GetLE32(p + 28));
    p += 32;
  }
  return out;
}

}  // namespace vx
