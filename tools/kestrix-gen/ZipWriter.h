// A small ZIP writer for generated test inputs: stored and deflated members,
// folder entries, and members whose sizes follow in a data descriptor.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vx::gen {

struct TZipMember {
  std::string Name;  // stored as given ("/" separators)
  std::string Data;
  bool Deflate = true;          // else stored
  bool DataDescriptor = false;  // sizes and CRC 0 in the local header
  // When not 0: the member holds Data over and over up to this many bytes
  // (the last copy cut), deflated without ever being held whole; for
  // members that inflate to gigabytes.
  uint64_t RepeatTo = 0;
  uint16_t DosDate = 0x5A87;  // 2025-04-07
  uint16_t DosTime = 0x6000;  // 12:00:00
};

class TZipWriter {
 public:
  void Add(TZipMember m) { Members_.push_back(std::move(m)); }
  void Add(std::string name, std::string data, bool deflate = true) {
    TZipMember m;
    m.Name = std::move(name);
    m.Data = std::move(data);
    m.Deflate = deflate;
    Add(std::move(m));
  }
  void AddFolder(std::string name) { Add(std::move(name), "", false); }
  // The archive with its central directory and end record.
  std::string Build(int level = 6) const;

 private:
  std::vector<TZipMember> Members_;
};

// Raw deflate (no zlib header), as ZIP members hold it.
std::string DeflateRaw(std::string_view data, int level = 6);
// Raw deflate of pattern repeated up to bytes bytes; crc receives its CRC-32.
std::string DeflateRepeated(std::string_view pattern, uint64_t bytes, int level, uint32_t& crc);
uint32_t Crc32(std::string_view data);

}  // namespace vx::gen
