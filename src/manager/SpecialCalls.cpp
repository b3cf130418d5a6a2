#include "manager/SpecialCalls.h"

#include <algorithm>

#include "common/TextUtil.h"

namespace vx {

namespace {

// ASCII case-insensitive order; equal texts then by bytes so the result
// does not depend on the sort algorithm.
bool LessIgnoringCase(std::string_view a, std::string_view b) {
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
  Lines_.emplace_back(Text_.size(), line.size());
  Text_ += line;
}

size_t TSpecialCallTable::Emit(const std::function<void(std::string_view)>& out) {
  std::sort(Lines_.begin(), Lines_.end(),
            [this](const auto& a, const auto& b) {
              return LessIgnoringCase(std::string_view(Text_).substr(a.first, a.second),
                                      std::string_view(Text_).substr(b.first, b.second));
            });
  const size_t n = Lines_.size();
  if (n == 0) return 0;

  // Runs of one call, found walking from the end: the last line of a run
  // stays whole and the earlier ones' texts follow it, each after a "|".
  // Only the beginning of a run's merged text is ever compared, so it is
  // kept no longer than the longest line.
  size_t longest = 0;
  for (const auto& l : Lines_) longest = std::max(longest, l.second);
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

  // The merged lines in order, one run at a time.
  std::reverse(runStarts.begin(), runStarts.end());
  for (size_t r = 0; r < runStarts.size(); ++r) {
    const size_t first = runStarts[r], last = (r + 1 < runStarts.size() ? runStarts[r + 1] : n) - 1;
    current.assign(Line(last));
    for (size_t k = last; k-- > first;) AppendMerged(current, Line(k));
    out(current);
  }
  return runStarts.size();
}

std::vector<std::string> BuildSpecialCallLines(std::string_view text) {
  TSpecialCallTable table;
  for (std::string_view row : SplitLines(text)) table.AddRow(row);
  std::vector<std::string> lines;
  table.Emit([&](std::string_view l) { lines.emplace_back(l); });
  return lines;
}

}  // namespace vx
