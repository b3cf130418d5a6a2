// The special-calls merge of the whole sorted list at once, as it was
// written before the table was built row by row: the reference that the
// streamed table must agree with (tests and the fuzz target).
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "common/TextUtil.h"
#include "refdata/AlStrLst.h"

namespace vx::test {

inline std::vector<std::string> ReferenceSpecialCallLines(std::string_view text) {
  std::vector<std::string> lines;
  TAlStringList work;
  work.Delimiter = ';';
  const std::vector<std::string_view> rows = SplitLines(text);
  for (size_t r = 1; r < rows.size(); ++r) {
    work.SetDelimitedItems(rows[r]);
    if (work.Count() < 6 || work[0].size() < 4) continue;
    const std::string& f5 = work[5];
    const std::string dates = (f5.size() >= 4 && f5.size() <= 15) ? f5 : (work.Count() > 6 ? work[6] : "");
    lines.push_back(work[0] + "  " + work[2].substr(0, 4) + " (" + dates + "):  " + work[3]);
  }
  std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
    const std::string x = UpperAscii(a), y = UpperAscii(b);
    return x != y ? x < y : a < b;
  });
  std::vector<std::string> merged;
  if (lines.empty()) return merged;
  std::string current = lines.back();
  for (size_t k = lines.size() - 1; k-- > 0;) {
    const std::string& line = lines[k];
    const size_t blank = line.find(' ');
    const size_t p = blank == std::string::npos ? 0 : blank + 1;
    if (current.compare(0, p, line, 0, p) == 0 && current.size() >= p) {
      current += '|';
      current += Trim(std::string_view(line).substr(p == 0 ? 0 : p - 1));
    } else {
      merged.push_back(current);
      current = line;
    }
  }
  merged.push_back(current);
  std::reverse(merged.begin(), merged.end());
  return merged;
}

}  // namespace vx::test
