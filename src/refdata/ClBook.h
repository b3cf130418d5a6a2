// The callbook index record and its in-memory array. An index file is the
// array written as one block: 32-byte records, little-endian, no header.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "common/Location.h"

namespace vx {

// kNoLocation16 in Lat and Lon: the record has no location.

struct TCallbookEntry {
  // Length-prefixed strings: byte 0 the length, then the characters, then zeros.
  unsigned char Call[16];   // at most 15 characters
  unsigned char Region[8];  // at most 7 characters
  int16_t Lat;              // 1/180 degree
  int16_t Lon;              // 1/180 degree
  int32_t DatOffset;        // first byte of the record's line in the detail file

  TCallbookEntry() {
    std::memset(this, 0, sizeof *this);
    Lat = Lon = kNoLocation16;
  }

  void SetCall(std::string_view s) { SetShort(Call, sizeof Call, s); }
  void SetRegion(std::string_view s) { SetShort(Region, sizeof Region, s); }
  std::string_view CallText() const { return View(Call); }
  std::string_view RegionText() const { return View(Region); }

 private:
  // Longer text is cut to the field's capacity.
  static void SetShort(unsigned char* f, size_t cap, std::string_view s) {
    const size_t n = std::min(s.size(), cap - 1);
    std::memset(f, 0, cap);
    f[0] = static_cast<unsigned char>(n);
    if (n) std::memcpy(f + 1, s.data(), n);
  }
  static std::string_view View(const unsigned char* f) { return {reinterpret_cast<const char*>(f + 1), f[0]}; }
};

static_assert(sizeof(TCallbookEntry) == 32, "index records are 32 bytes on disk");
static_assert(offsetof(TCallbookEntry, Lat) == 24 && offsetof(TCallbookEntry, DatOffset) == 28);

using TCallbookEntries = std::vector<TCallbookEntry>;

// The file image of an index: records in order, little-endian fields.
std::string EncodeCallbookIndex(const TCallbookEntries& entries);
// The records of an index file image (a trailing partial record is ignored).
TCallbookEntries DecodeCallbookIndex(std::string_view bytes);

}  // namespace vx
