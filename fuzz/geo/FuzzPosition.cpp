// Any text through the position reader and the locator reader: nothing may
// crash, and whatever is accepted must be a point on the globe whose locator
// can be written.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "geo/Maidenhead.h"
#include "geo/PositionText.h"

using namespace vx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const TPositionText r = ParsePositionText(text);
  if (r.Ok()) {
    if (r.Point.X < -180 * 180 || r.Point.X > 180 * 180 || r.Point.Y < -90 * 180 || r.Point.Y > 90 * 180)
      __builtin_trap();
    if (FormatLocator(r.Point, 8).size() != 8) __builtin_trap();
  } else if (HasLocation(r.Point) || r.Error.empty()) {
    __builtin_trap();
  }
  if (auto c = LocatorCentre(text); c && FormatLocator(*c, int(size)).size() != size) __builtin_trap();
  return 0;
}
