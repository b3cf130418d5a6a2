// TPrefixList: the prefix list "Prefix.lst" held as a tree of entries
// (countries on top, areas below) plus a 36 x 36 table of the kind-1 and
// kind-6 entries that can match a call beginning with a given character pair.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Location.h"

namespace vx {

// The data part of an entry; also the shape of one lookup result.
struct TPrefixData {
  int32_t Lon = kNoLocation32;  // 1/180 degree, east positive
  int32_t Lat = kNoLocation32;  // 1/180 degree, north positive
  std::string Name;
  std::string Column4, Column5, Column6, Column7, Column8;
  std::string EntityNumber;
  std::string Column10;
  // Filled only in lookup results.
  std::string AreaNames;
  std::string RegionName;
  std::vector<std::string> SubNames;

  bool HasCoords() const { return Lon != kNoLocation32; }
};

// A set of bytes: the characters one mask position allows.
struct TCharSet {
  std::array<uint64_t, 4> Bits{};
  void Add(unsigned char c) { Bits[c >> 6] |= uint64_t(1) << (c & 63); }
  bool Has(unsigned char c) const { return (Bits[c >> 6] >> (c & 63)) & 1; }
  bool Empty() const { return !(Bits[0] | Bits[1] | Bits[2] | Bits[3]); }
};

// One mask, split up once at load time so that matching a call does no
// text parsing: the positions of the part before the first "/", what is left
// of that part after each position, and the suffix from the "/" on.
struct TCompiledMask {
  enum TRest : uint8_t { mrMore, mrEnd, mrDot };  // rest: non-empty / empty or "." / longer, ends with "."
  std::vector<TCharSet> Sets;
  std::vector<TRest> Rest;  // Sets.size() + 1 elements; Rest[k] = after k positions
  bool HasSlash = false;
  std::string Suffix;     // from the "/" to the end, when HasSlash
  bool EmptyPart = true;  // nothing before the "/"
};

struct TPrefixEntry {
  TPrefixData Data;
  int32_t Index = 0;
  uint8_t Kind = 0;  // 1, 2, 3, 6 or 9
  int32_t Level = 0;
  std::string Masks;
  int32_t Parent = -1;
  std::vector<int32_t> Children;
  std::vector<TCompiledMask> Compiled;  // Masks, split and compiled
};

enum class TLoadStatus { lsOk, lsUnreadable, lsMalformed };

class TPrefixList {
 public:
  static constexpr int kCellSide = 36;

  std::vector<TPrefixEntry> Entries;
  // Indices into Entries, file order, each entry at most once per cell.
  std::array<std::vector<int32_t>, kCellSide * kCellSide> Cells;
  int32_t Count = 0;

  // Reads, parses, links and indexes. lsUnreadable keeps the previous
  // content; lsMalformed (a stored line with fewer than 14 fields) leaves the
  // list empty.
  TLoadStatus LoadFromFile(const std::string& fileName);
  TLoadStatus LoadFromText(std::string_view text);

  // Returns false, with the list cleared, on a stored line that is too short.
  bool ParseLines(std::string_view text);
  void LinkParents();
  void BuildIndex();
  void Clear();

  // The entries that may match a call beginning with c1 c2; empty when
  // either character is not a digit or an upper-case letter.
  const std::vector<int32_t>& Cell(char c1, char c2) const;
};

// 0..35 for "0".."9", "A".."Z"; -1 for any other character.
inline int CharIndex36(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return -1;
}

// The set of the mask's first position; that position is removed from mask.
TCharSet ParseMaskPosition(std::string_view& mask);

// Items of a comma text: separated by commas and/or blanks; an item in
// double quotes may hold either, with "" for one quote.
std::vector<std::string> SplitCommaText(std::string_view text);

TCompiledMask CompileMask(std::string_view mask);

}  // namespace vx
