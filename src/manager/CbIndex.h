// Builders of the callbook indexes: the FCC and Canadian registries (scanned
// line by line from their detail files) and the RDA list (held in memory).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "manager/JobUi.h"
#include "refdata/ClBook.h"

namespace vx {

class TFileStager;

// Sorts records First..Last (inclusive) by Call, compared as bytes, shorter
// first on a common prefix. Equal calls may end up in any order.
void SortCallbookEntries(TCallbookEntries& entries, ptrdiff_t first, ptrdiff_t last);
bool CallLess(const TCallbookEntry& a, const TCallbookEntry& b);

// "ZipLst.lst": US ZIP codes in ascending order with a region and a location.
class TZipList {
 public:
  // Throws std::runtime_error when the file cannot be read or a coordinate
  // is not a number.
  void LoadFromFile(const std::string& fileName);
  void SetText(std::string_view text);
  size_t Count() const { return Lines_.size(); }
  // Region and location of a licence record with ZIP code zip and state.
  void Locate(std::string_view zip, std::string_view state, TCallbookEntry& e) const;

 private:
  struct Item {
    std::string Line;
    int16_t Lat, Lon;
    // Columns 7-12 kept beside the line, so a lookup touches one place.
    char Region[6];
    uint8_t RegionLen;
    std::string_view RegionText() const { return {Region, RegionLen}; }
  };
  int Find(std::string_view zip) const;  // index of the matching line or -1
  std::vector<Item> Lines_;
  mutable std::vector<int> Memo_;  // by five-digit code: -2 unknown, -1 none
};

// expectedLines: how many lines a first reading counted (0 if unknown); the
// array then starts with room for that many instead of growing by copying.
TCallbookEntries BuildFccIndex(const std::string& detailFile, const TZipList& zips, size_t expectedLines = 0);
TCallbookEntries BuildRacIndex(const std::string& detailFile, size_t expectedLines = 0);
TCallbookEntries BuildRdaIndex(std::string_view text);

// The RDA index line by line, for a list that arrives in pieces: every line
// makes one record, blank lines included.
class TRdaIndexBuilder {
 public:
  void Reserve(size_t lines) { Entries_.reserve(lines); }
  void AddLine(std::string_view line);
  TCallbookEntries& Entries() { return Entries_; }

 private:
  TCallbookEntries Entries_;
};

// Sorts the records and stages the index file image (one block).
void StageCallbookIndex(TFileStager& stager, const std::string& indexFile, TCallbookEntries& entries);

// The builders as a job runs them on the reference folder's files: build,
// replace the index, show the count message. They return the count. An
// index without a single record is refused (ESourceFormat) and replaces
// nothing. The FCC builder may read a detail file staged under another name
// and take a ZIP list loaded before.
int ImportFccDatabase(const std::string& folder, TJobUi& ui, TFileStager& stager, const std::string& detailFile = {},
                      const TZipList* zips = nullptr, size_t expectedLines = 0);
int ImportRacDatabase(const std::string& folder, TJobUi& ui, TFileStager& stager, const std::string& detailFile = {},
                      size_t expectedLines = 0);
int ImportRdaDatabase(const std::string& folder, std::string_view text, TJobUi& ui, TFileStager& stager);
// Sorts, replaces "RdaCB.idx" and shows the count message.
int WriteRdaDatabase(const std::string& folder, TCallbookEntries& entries, TJobUi& ui, TFileStager& stager);

}  // namespace vx
