// The Canadian special call signs: a ";"-separated table turned into
// "CanSpec.lst", one line per call with all of its descriptions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "refdata/AlStrLst.h"

namespace vx {

// Builds the list row by row, so the table never has to be held whole: the
// lines are kept one after another in one block, and the merged lines are
// handed out one at a time.
class TSpecialCallTable {
 public:
  TSpecialCallTable();
  // Room for what a first reading counted (MadeLines and MadeBytes of a
  // table fed the same rows), so the block never grows by copying.
  void Reserve(size_t lines, size_t bytes);
  // One row; the first row given is the column header and is skipped.
  // Rows with fewer than 6 fields or a call of fewer than 4 characters are
  // dropped; the others make "CALL  YEAR (DATES):  TEXT".
  void AddRow(std::string_view row);
  // Counts what AddRow would keep, without keeping it.
  void CountRow(std::string_view row);
  size_t MadeLines() const { return MadeLines_; }
  size_t MadeBytes() const { return MadeBytes_; }

  // Sorts the lines ignoring case, merges the lines of one call with "|"
  // and writes the merged lines in order, each followed by lineEnd. A
  // merged line goes out in pieces and is never held whole. Returns the
  // number of lines written.
  size_t Emit(const std::function<void(std::string_view)>& write, std::string_view lineEnd);

 private:
  bool MakeLine(std::string_view row, std::string& line);
  // A line's place in Text_: the offset above, the length in the low 24
  // bits (rows are cut far shorter), eight bytes a line.
  static constexpr unsigned kLengthBits = 24;
  std::string_view Line(size_t k) const { return Slice(Lines_[k]); }
  std::string_view Slice(uint64_t place) const {
    return std::string_view(Text_).substr(place >> kLengthBits, place & ((uint64_t(1) << kLengthBits) - 1));
  }

  TAlStringList Work_;
  bool Header_ = true;
  std::string Text_;  // the lines one after another
  std::vector<uint64_t> Lines_;
  size_t MadeLines_ = 0, MadeBytes_ = 0;
};

// The lines of "CanSpec.lst" from the whole table text (first line is the
// column header): "CALL  YEAR (DATES):  TEXT", sorted ignoring case,
// several lines of one call merged with "|".
std::vector<std::string> BuildSpecialCallLines(std::string_view text);

}  // namespace vx
