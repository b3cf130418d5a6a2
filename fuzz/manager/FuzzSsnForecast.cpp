// The sunspot forecast reader and the merge into a table, on any text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "manager/SourceFormat.h"
#include "manager/SsnForecast.h"
#include "manager/SsnMerge.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const auto months = vx::ParseSsnForecast(text);
    if (months.empty()) __builtin_trap();
    for (size_t i = 0; i < months.size(); ++i) {
      if (months[i].Ssn < 0 || months[i].Ssn > vx::kMaxForecastSsn) __builtin_trap();
      if (i > 0 && months[i].Key() <= months[i - 1].Key()) __builtin_trap();
    }
    // The merged table holds every forecast month, one line each.
    const vx::TSsnMerge m = vx::MergeSsnForecast("Jan 2030=5.0\r\nFeb 2030=6.0\r\n", months, 2030 * 12);
    if (static_cast<size_t>(m.Added + m.Replaced + m.Kept) != months.size()) __builtin_trap();
  } catch (const vx::ESourceFormat&) {
  }
  return 0;
}
