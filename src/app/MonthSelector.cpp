#include "app/MonthSelector.h"

#include <algorithm>

#include "common/FileUtil.h"
#include "common/TextUtil.h"

namespace vx {

namespace {

// A real table is a few kilobytes; refuse anything that cannot be one.
constexpr size_t kMaxTableBytes = size_t(16) << 20;

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

bool TMonthSelector::LoadSsnList(const std::string& fileName) {
  auto text = ReadWholeFile(fileName, kMaxTableBytes);
  SetSsnList(text.value_or(std::string()));
  return text.has_value();
}

void TMonthSelector::SetSsnList(std::string_view text) {
  SsnList_.clear();
  MonthIndex_ = -1;
  for (std::string_view line : SplitLines(text)) {
    if (line.find('=') != std::string_view::npos) SsnList_.emplace_back(line);
  }
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
  SelectName(MonthName(year, month));
  ClampIndex();
  return true;
}

std::string TMonthSelector::MonthText() const {
  if (MonthIndex_ < 0 || MonthIndex_ >= static_cast<int>(SsnList_.size())) return {};
  return std::string(NamePart(SsnList_[MonthIndex_]));
}

int TMonthSelector::MonthSsn() const {
  if (MonthIndex_ < 0 || MonthIndex_ >= static_cast<int>(SsnList_.size())) return 0;
  auto v = ParseDouble(Trim(ValuePart(SsnList_[MonthIndex_])));
  return v ? RoundToInt32(*v) : 0;
}

}  // namespace vx
