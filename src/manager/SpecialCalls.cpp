#include "manager/SpecialCalls.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "common/TextUtil.h"

namespace vx {

namespace {

// ASCII case-insensitive order; equal texts then by bytes so the result
// does not depend on the sort algorithm.
bool LessIgnoringCase(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  // Bytes that are equal are equal ignoring case too: skip them a word at a
  // time (a table full of one call compares long equal texts).
  size_t i = 0;
  for (uint64_t x, y; i + 8 <= n; i += 8) {
    std::memcpy(&x, a.data() + i, 8);
    std::memcpy(&y, b.data() + i, 8);
    if (x != y) break;
  }
  for (; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

// The call and its blank (a line without one compares nothing).
size_t CallPrefix(std::string_view line) {
  const size_t blank = line.find(' ');
  return blank == std::string_view::npos ? 0 : blank + 1;
}

// Whether line joins the run whose merged text so far is current.
bool SameCall(std::string_view current, std::string_view line) {
  const size_t p = CallPrefix(line);
  return current.size() >= p && current.substr(0, p) == line.substr(0, p);
}

void AppendMerged(std::string& current, std::string_view line) {
  const size_t p = CallPrefix(line);
  current += '|';
  current += Trim(line.substr(p == 0 ? 0 : p - 1));
}

}  // namespace

TSpecialCallTable::TSpecialCallTable() { Work_.Delimiter = ';'; }

void TSpecialCallTable::Reserve(size_t lines, size_t bytes) {
  Lines_.reserve(lines);
  Text_.reserve(bytes);
}

bool TSpecialCallTable::MakeLine(std::string_view row, std::string& line) {
  static const std::string kNone;
  if (Header_) {  // the column header
    Header_ = false;
    return false;
  }
  Work_.SetDelimitedItems(row);
  if (Work_.Count() < 6 || Work_[0].size() < 4) return false;
  const std::string& f5 = Work_[5];
  const std::string& dates = (f5.size() >= 4 && f5.size() <= 15) ? f5 : (Work_.Count() > 6 ? Work_[6] : kNone);
  line.clear();
  line.append(Work_[0]).append("  ").append(std::string_view(Work_[2]).substr(0, 4));
  line.append(" (").append(dates).append("):  ").append(Work_[3]);
  ++MadeLines_;
  MadeBytes_ += line.size();
  return true;
}

void TSpecialCallTable::CountRow(std::string_view row) {
  std::string line;
  MakeLine(row, line);
}

void TSpecialCallTable::AddRow(std::string_view row) {
  std::string line;
  if (!MakeLine(row, line)) return;
  // Longer rows were refused when the text was cut into lines.
  if (line.size() >> kLengthBits) throw std::length_error("special call line too long");
  Lines_.push_back((static_cast<uint64_t>(Text_.size()) << kLengthBits) | line.size());
  Text_ += line;
}

size_t TSpecialCallTable::Emit(const std::function<void(std::string_view)>& write, std::string_view lineEnd) {
  std::sort(Lines_.begin(), Lines_.end(),
            [this](uint64_t a, uint64_t b) { return LessIgnoringCase(Slice(a), Slice(b)); });
  const size_t n = Lines_.size();
  if (n == 0) return 0;

  // Runs of one call, found walking from the end: the last line of a run
  // stays whole and the earlier ones' texts follow it, each after a "|".
  // Only the beginning of a run's merged text is ever compared, so it is
  // kept no longer than the longest line.
  size_t longest = 0;
  for (size_t k = 0; k < n; ++k) longest = std::max(longest, Line(k).size());
  std::vector<size_t> runStarts;  // from the last run to the first
  std::string current(Line(n - 1));
  for (size_t k = n - 1; k-- > 0;) {
    const std::string_view line = Line(k);
    if (SameCall(current, line)) {
      if (current.size() <= longest) AppendMerged(current, line);
    } else {
      runStarts.push_back(k + 1);
      current.assign(line);
    }
  }
  runStarts.push_back(0);

  // The merged lines in order, one run at a time, written piece by piece.
  std::reverse(runStarts.begin(), runStarts.end());
  for (size_t r = 0; r < runStarts.size(); ++r) {
    const size_t first = runStarts[r], last = (r + 1 < runStarts.size() ? runStarts[r + 1] : n) - 1;
    write(Line(last));
    for (size_t k = last; k-- > first;) {
      const std::string_view line = Line(k);
      const size_t p = CallPrefix(line);
      write("|");
      write(Trim(line.substr(p == 0 ? 0 : p - 1)));
    }
    write(lineEnd);
  }
  return runStarts.size();
}

std::vector<std::string> BuildSpecialCallLines(std::string_view text) {
  TSpecialCallTable table;
  for (std::string_view row : SplitLines(text)) table.AddRow(row);
  // Rows never hold a line end, so one marks where a merged line ends.
  std::string all;
  table.Emit([&](std::string_view piece) { all += piece; }, "\n");
  std::vector<std::string> lines;
  for (size_t at = 0, end; (end = all.find('\n', at)) != std::string::npos; at = end + 1)
    lines.emplace_back(all, at, end - at);
  return lines;
}

}  // namespace vx
