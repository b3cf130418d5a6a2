// Finding one call in a callbook index without loading it: a binary search
// that reads single 32-byte records at their offsets, and the line of the
// detail file a record points at. Another program writes these files, so
// nothing in them is trusted: a file that is short, out of order or holds
// impossible fields is refused with a note instead of being guessed at.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/Location.h"
#include "refdata/ClBook.h"

namespace vx {

enum class TCallbookStatus {
  cbFound,      // Entry holds the record
  cbNotListed,  // a sound index without the call
  cbMissing,    // no index file (nothing downloaded yet): not worth a note
  cbRefused,    // unreadable, not whole records, out of order or damaged
};

struct TCallbookLookup {
  TCallbookStatus Status = TCallbookStatus::cbMissing;
  std::optional<TCallbookEntry> Entry;
  std::string Note;  // why a file was refused, naming it; empty otherwise
};

// Copies up to count bytes from offset into out and says how many it got.
using TReadAt = std::function<size_t(uint64_t offset, char* out, size_t count)>;

// The record for call in an index of size bytes. Among records of the same
// call, the first with a location wins. Only the records the search visits
// are read, so disorder elsewhere in the file goes unnoticed; disorder on the
// search's path refuses the file. name only labels the note.
TCallbookLookup FindInIndex(uint64_t size, const TReadAt& readAt, std::string_view call, std::string_view name);
// The same on a file.
TCallbookLookup FindInCallbook(const std::string& indexFile, std::string_view call);

// The record's location, or nothing: 32767 in either field means none, and
// a value beyond the poles or the date line is no position either.
std::optional<TLocation> CallbookLocation(const TCallbookEntry& e);

// The detail file's bytes from offset on, at most maxBytes (fewer at the end
// of the file); empty when the file cannot be read there.
std::string ReadDetailBytes(const std::string& detailFile, int64_t offset, size_t maxBytes = 2048);

}  // namespace vx
