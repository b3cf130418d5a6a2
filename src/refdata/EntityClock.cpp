#include "refdata/EntityClock.h"

#include <cmath>

#include "common/TextUtil.h"

namespace vx {

std::optional<double> ListedUtcOffset(const TPrefixData& entry) {
  const auto west = ParseDouble(Trim(entry.Column8));
  if (!west || !std::isfinite(*west) || std::fabs(*west) > 14.0) return std::nullopt;
  const double quarters = *west * 4.0;
  if (std::fabs(quarters - std::round(quarters)) > 1e-6) return std::nullopt;
  return *west == 0 ? 0.0 : -*west;
}

}  // namespace vx
