// The month selector: the sunspot table SSN.dat (one "Jan 2008=5.6" line per
// month, kept in file order and never sorted) and the line shown on the
// month panel. Stepping stops at the first and the last line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/DayCount.h"

namespace vx {

enum class TStepDirection { sdBack, sdForward, sdCurrent };

// "Jan 2008": the English abbreviation, a blank, the year in four digits;
// "" for a month outside 1..12.
std::string MonthName(int year, int month);

class TMonthSelector;
// What to tell the user about the lines of fileName the selector refused;
// "" when it refused none.
std::string RefusedLinesMessage(const std::string& fileName, const TMonthSelector& months);

class TMonthSelector {
 public:
  // Reads the table. False when the file is missing, unreadable or absurdly
  // large; the table is then empty (the next step adds the current month).
  bool LoadSsnList(const std::string& fileName);
  // The table from text. Lines without "=" (blank lines, stray text) are no
  // months and are left out; so are lines whose value is not a finite
  // sunspot number within kMinTableSsn..kMaxTableSsn, which RefusedLines names.
  void SetSsnList(std::string_view text);
  static constexpr double kMinTableSsn = -50, kMaxTableSsn = 400;
  // "line 3: Jan 2008=nan" for each month line the last load refused.
  const std::vector<std::string>& RefusedLines() const { return RefusedLines_; }

  const std::vector<std::string>& SsnList() const { return SsnList_; }
  // The line shown; -1 until the first step.
  int MonthIndex() const { return MonthIndex_; }

  // Back or forward one line, or to the month of nowUtc (the first line when
  // the table lacks it; names compare ignoring letter case). An empty table
  // first gets the line of the current month with SSN 0.
  void StepMonth(TStepDirection dir, const TCivilTime& nowUtc);
  // The first line of that month. A table that holds no line of the file
  // (empty, or only months added this way) gets the month with SSN 0. False,
  // changing nothing, for a month outside 1..12 or one a real table lacks.
  bool SelectMonth(int year, int month);

  // The name part of the line shown ("" before the first step).
  std::string MonthText() const;
  // That name as numbers: the month 1..12 from its first three letters
  // (ignoring case, as lines are matched) and a blank, the year from the
  // up to four characters after it; 0 for a part that is not one.
  int Year() const;
  int Month() const;
  // The value part as a number rounded to an integer (halves to even); 0 when
  // it is not a number or no line is shown.
  int MonthSsn() const;

 private:
  void SelectName(const std::string& name);
  void ClampIndex();

  std::vector<std::string> SsnList_;
  int MonthIndex_ = -1;
  bool FromFile_ = false;  // the table holds lines of a file
  std::vector<std::string> RefusedLines_;
};

}  // namespace vx
