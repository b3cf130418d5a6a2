// TUnZipper: lists and extracts the members of a ZIP archive held in memory.
// The archive is read front to back by its local headers; the central
// directory is never consulted, so an archive that is cut short still lists
// the members before the cut.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// Raised by Extract for a corrupt member; the text is meant for the user.
class EZipError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TZippedFileInfo {
  std::string Path;  // folder part with its trailing "\" ("/" turned into "\")
  std::string Name;  // stored name after the last "\"
  int32_t Size = 0;  // uncompressed size from the local header (always > 0)
  uint32_t CompressedSize = 0;
  double DateTime = 0;  // day count since 1899-12-30; 0 for an invalid DOS stamp
  uint32_t DataOffset = 0;
  uint16_t Method = 0;
  uint16_t Flags = 0;
  bool Encrypted = false;
  uint32_t Crc32 = 0;
};

class TUnZipper {
 public:
  // Keeps a view of the bytes (the caller keeps them alive until Close or the
  // next Open) and lists the members.
  void Open(std::string_view bytes);
  void Close() {
    Input_ = {};
    Open_ = false;
  }
  bool IsOpen() const { return Open_; }

  int Count() const { return static_cast<int>(Files_.size()); }
  TZippedFileInfo GetInfo(int index) const { return Files_.at(static_cast<size_t>(index)); }
  const std::vector<TZippedFileInfo>& Files() const { return Files_; }

  // Index of the first member whose Name equals name exactly, or -1.
  int IndexOfName(std::string_view name) const;

  // The member's uncompressed bytes. Throws EZipError instead of returning
  // damaged data.
  std::string Extract(int index) const;

  // The same bytes handed to sink piece by piece as they are inflated, so a
  // member never has to fit in memory. A damaged member throws EZipError
  // after some pieces may have been delivered (a CRC error only at the
  // end): the sink's work is to be thrown away then. An exception thrown
  // by the sink stops the extraction and passes through.
  using TChunkSink = std::function<void(std::string_view chunk)>;
  void ExtractTo(int index, const TChunkSink& sink) const;

 private:
  std::string_view Input_;
  bool Open_ = false;
  std::vector<TZippedFileInfo> Files_;
};

// MS-DOS date and time words to a day count since 1899-12-30 (0 if invalid).
double DosDateTimeToDays(uint16_t date, uint16_t time);

}  // namespace vx
