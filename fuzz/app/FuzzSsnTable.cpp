// Any bytes as SSN.dat: selecting, stepping to both ends and reading every
// line's month and SSN.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/MonthSelector.h"

using namespace vx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMonthSelector s;
  s.SetSsnList(std::string_view(reinterpret_cast<const char*>(data), size));
  s.StepMonth(TStepDirection::sdCurrent, TCivilTime{2008, 3, 15});
  const int count = static_cast<int>(s.SsnList().size());
  if (count < 1) __builtin_trap();
  for (int i = 0; i <= count; ++i) {
    if (s.MonthIndex() < 0 || s.MonthIndex() >= count) __builtin_trap();
    (void)s.MonthText();
    (void)s.MonthSsn();
    s.StepMonth(TStepDirection::sdForward, {});
  }
  if (s.MonthIndex() != count - 1) __builtin_trap();
  s.SelectMonth(1990, 1);
  s.StepMonth(TStepDirection::sdBack, {});
  return 0;
}
