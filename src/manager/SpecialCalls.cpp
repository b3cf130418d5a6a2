#include "manager/SpecialCalls.h"

#include <algorithm>

#include "common/TextUtil.h"
#include "refdata/AlStrLst.h"

namespace vx {

namespace {

// ASCII case-insensitive order; equal texts then by bytes so the result
// does not depend on the sort algorithm.
bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

}  // namespace

std::vector<std::string> BuildSpecialCallLines(std::string_view text) {
  const std::vector<std::string_view> rows = SplitLines(text);
  std::vector<std::string> lines;
  TAlStringList work;
  work.Delimiter = ';';
  for (size_t r = 1; r < rows.size(); ++r) {  // row 0 is the column header
    work.SetDelimitedItems(rows[r]);
    if (work.Count() < 6 || work[0].size() < 4) continue;
    const std::string& f5 = work[5];
    const std::string dates = (f5.size() >= 4 && f5.size() <= 15) ? f5 : (work.Count() > 6 ? work[6] : "");
    lines.push_back(work[0] + "  " + work[2].substr(0, 4) + " (" + dates + "):  " + work[3]);
  }
  std::sort(lines.begin(), lines.end(), LessIgnoringCase);

  // Merge runs of one call, walking from the end: the last line of a run
  // stays whole and the earlier ones' texts follow it, each after a "|".
  std::vector<std::string> merged;
  if (lines.empty()) return merged;
  std::string current = std::move(lines.back());
  for (size_t k = lines.size() - 1; k-- > 0;) {
    std::string& line = lines[k];
    const size_t blank = line.find(' ');
    // The call and its blank (a line without one would compare nothing).
    const size_t p = blank == std::string::npos ? 0 : blank + 1;
    if (current.compare(0, p, line, 0, p) == 0 && current.size() >= p) {
      current += '|';
      current += Trim(std::string_view(line).substr(p == 0 ? 0 : p - 1));
    } else {
      merged.push_back(std::move(current));
      current = std::move(line);
    }
  }
  merged.push_back(std::move(current));
  std::reverse(merged.begin(), merged.end());
  return merged;
}

}  // namespace vx
