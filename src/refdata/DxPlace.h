// Where a resolved call puts the DX point, and why: the licensee's location
// when a callbook of the reference folder lists the call with one, else the
// first lookup result that has coordinates (the prefix list's centre). The
// window, vantor-cli lookup and the automation service all take it from here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/Location.h"
#include "refdata/ClBook.h"
#include "refdata/PrefLst.h"

namespace vx {

// The callbooks of the reference folder, in the order they are tried.
enum class TCallbookKind { ckFcc, ckRac, ckRda };

struct TDxPlace {
  TLocation Point = kNoLocationPoint;
  std::string Source;  // "FCC licence, ZIP 94043", "country centre"; empty without a point
  // Callbooks that were there but could not be used, one note each.
  std::vector<std::string> Notes;
};

// The key a callbook is searched with: the typed call upper-cased without
// blanks. Empty for a call with a "/" (the licensee may be anywhere), or one
// too short or too long to be a callbook's call.
std::string CallbookKey(std::string_view typed);

// The point for a typed call whose lookup gave results. An empty folder
// uses no callbook. Reads at most a few records of each index and one line
// of a detail file.
TDxPlace ResolveDxPlace(std::string_view typed, const std::vector<TPrefixData>& results,
                        const std::string& referenceFolder);

// How a callbook record names where it comes from; detail is the detail
// file's bytes at the record's offset (empty: none).
std::string CallbookSource(TCallbookKind kind, const TCallbookEntry& e, std::string_view detail);

}  // namespace vx
