// The Canadian special call signs: a ";"-separated table turned into
// "CanSpec.lst", one line per call with all of its descriptions.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
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
  // and hands each merged line to out, in order. Returns their number.
  size_t Emit(const std::function<void(std::string_view)>& out);

 private:
  bool MakeLine(std::string_view row, std::string& line);
  std::string_view Line(size_t k) const { return std::string_view(Text_).substr(Lines_[k].first, Lines_[k].second); }

  TAlStringList Work_;
  bool Header_ = true;
  std::string Text_;                                // the lines one after another
  std::vector<std::pair<size_t, size_t>> Lines_;    // offset and length in Text_
  size_t MadeLines_ = 0, MadeBytes_ = 0;
};

// The lines of "CanSpec.lst" from the whole table text (first line is the
// column header): "CALL  YEAR (DATES):  TEXT", sorted ignoring case,
// several lines of one call merged with "|".
std::vector<std::string> BuildSpecialCallLines(std::string_view text);

}  // namespace vx
