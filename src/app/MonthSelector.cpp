#include "app/MonthSelector.h"

#include <algorithm>

#include "common/FileUtil.h"
#include "common/TextUtil.h"

namespace vx {

namespace {

// A real table is a few kilobytes; refuse anything that cannot be one.
constexpr size_t kMaxTableBytes = size_t(1) << 20;

std::string_view NamePart(std::string_view line) { return line.substr(0, line.find('=')); }

std::string_view ValuePart(std::string_view line) {
  size_t eq = line.find('=');
  return eq == std::string_view::npos ? std::string_view() : line.substr(eq + 1);
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && UpperAscii(a) == UpperAscii(b);
}

}  // namespace

std::string MonthName(int year, int month) {
  if (month < 1 || month > 12) return {};
  return std::string(MonthAbbreviation(month)) + " " + FormatInt(year, 4, true);
}

std::string RefusedLinesMessage(const std::string& fileName, const TMonthSelector& months) {
  const auto& refused = months.RefusedLines();
  if (refused.empty()) return {};
  std::string text = fileName + ": left out " + FormatInt(int64_t(refused.size())) +
                     (refused.size() == 1 ? " line that is" : " lines that are") +
                     " not a month with a sunspot number:";
  const size_t shown = std::min<size_t>(refused.size(), 5);
  for (size_t i = 0; i < shown; ++i) text += "\n  " + refused[i];
  if (shown < refused.size()) text += "\n  ...";
  return text;
}

bool TMonthSelector::LoadSsnList(const std::string& fileName) {
  auto text = ReadWholeFile(fileName, kMaxTableBytes);
  SetSsnList(text.value_or(std::string()));
  return text.has_value();
}

void TMonthSelector::SetSsnList(std::string_view text) {
  SsnList_.clear();
  RefusedLines_.clear();
  MonthIndex_ = -1;
  int number = 0;
  for (std::string_view line : SplitLines(text)) {
    ++number;
    if (line.find('=') == std::string_view::npos) continue;
    // A value that is no number (nan, 1e999, text) would read as SSN 0 and
    // be computed as if the table said so.
    const auto ssn = ParseDouble(Trim(ValuePart(line)));
    if (!ssn || *ssn < kMinTableSsn || *ssn > kMaxTableSsn) {
      RefusedLines_.push_back("line " + FormatInt(number) + ": " + std::string(line.substr(0, 80)));
      continue;
    }
    SsnList_.emplace_back(line);
  }
  FromFile_ = !SsnList_.empty();
}

void TMonthSelector::SelectName(const std::string& name) {
  if (SsnList_.empty()) SsnList_.push_back(name + "=0");
  auto it = std::find_if(SsnList_.begin(), SsnList_.end(),
                         [&](const std::string& line) { return SameIgnoringCase(NamePart(line), name); });
  MonthIndex_ = it == SsnList_.end() ? -1 : static_cast<int>(it - SsnList_.begin());
}

void TMonthSelector::ClampIndex() {
  MonthIndex_ = std::max(0, std::min(static_cast<int>(SsnList_.size()) - 1, MonthIndex_));
}

void TMonthSelector::StepMonth(TStepDirection dir, const TCivilTime& nowUtc) {
  if (dir == TStepDirection::sdCurrent || SsnList_.empty()) {
    SelectName(MonthName(nowUtc.Year, nowUtc.Month));
  } else {
    MonthIndex_ += dir == TStepDirection::sdBack ? -1 : 1;
  }
  ClampIndex();
}

bool TMonthSelector::SelectMonth(int year, int month) {
  if (month < 1 || month > 12) return false;
  const std::string name = MonthName(year, month);
  auto it = std::find_if(SsnList_.begin(), SsnList_.end(),
                         [&](const std::string& line) { return SameIgnoringCase(NamePart(line), name); });
  if (it == SsnList_.end()) {
    // A month the sunspot table lacks would be computed with another
    // month's number; only a table without data takes it in, with SSN 0.
    if (FromFile_) return false;
    SsnList_.push_back(name + "=0");
    it = SsnList_.end() - 1;
  }
  MonthIndex_ = static_cast<int>(it - SsnList_.begin());
  return true;
}

std::string TMonthSelector::MonthText() const {
  if (MonthIndex_ < 0 || MonthIndex_ >= static_cast<int>(SsnList_.size())) return {};
  return std::string(NamePart(SsnList_[MonthIndex_]));
}

int TMonthSelector::Year() const {
  const std::string name = MonthText();
  if (name.size() < 5) return 0;
  auto year = ParseInt(Trim(std::string_view(name).substr(4, 4)));
  return year && *year >= 0 && *year <= 9999 ? int(*year) : 0;
}

int TMonthSelector::Month() const {
  const std::string name = MonthText();
  if (name.size() < 4 || name[3] != ' ') return 0;
  for (int m = 1; m <= 12; ++m)
    if (SameIgnoringCase(std::string_view(name).substr(0, 3), MonthAbbreviation(m))) return m;
  return 0;
}

int TMonthSelector::MonthSsn() const {
  if (MonthIndex_ < 0 || MonthIndex_ >= static_cast<int>(SsnList_.size())) return 0;
  auto v = ParseDouble(Trim(ValuePart(SsnList_[MonthIndex_])));
  return v ? RoundToInt32(*v) : 0;
}

}  // namespace vx
