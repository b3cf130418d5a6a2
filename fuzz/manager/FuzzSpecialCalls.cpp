// The special-calls table on any text: the table built row by row must give
// exactly what merging the whole sorted list at once gives, every output
// line must start with a call, and no two neighbours may still belong to
// the same call.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/TextUtil.h"
#include "manager/SpecialCalls.h"
#include "refdata/AlStrLst.h"

namespace {

// The whole-list merge the table replaces.
std::vector<std::string> WholeListMerge(std::string_view text) {
  std::vector<std::string> lines;
  vx::TAlStringList work;
  work.Delimiter = ';';
  const std::vector<std::string_view> rows = vx::SplitLines(text);
  for (size_t r = 1; r < rows.size(); ++r) {
    work.SetDelimitedItems(rows[r]);
    if (work.Count() < 6 || work[0].size() < 4) continue;
    const std::string& f5 = work[5];
    const std::string dates = (f5.size() >= 4 && f5.size() <= 15) ? f5 : (work.Count() > 6 ? work[6] : "");
    lines.push_back(work[0] + "  " + work[2].substr(0, 4) + " (" + dates + "):  " + work[3]);
  }
  std::sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
    const std::string x = vx::UpperAscii(a), y = vx::UpperAscii(b);
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
      current += vx::Trim(std::string_view(line).substr(p == 0 ? 0 : p - 1));
    } else {
      merged.push_back(current);
      current = line;
    }
  }
  merged.push_back(current);
  std::reverse(merged.begin(), merged.end());
  return merged;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto lines = vx::BuildSpecialCallLines(text);
  if (lines != WholeListMerge(text)) __builtin_trap();
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    const size_t blank = lines[i].find(' ');
    if (blank == std::string::npos) __builtin_trap();
    if (lines[i + 1].compare(0, blank + 1, lines[i], 0, blank + 1) == 0) __builtin_trap();
  }
  return 0;
}
