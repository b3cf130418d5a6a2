// Lists any bytes as a ZIP archive and extracts every member: nothing may
// crash, read out of bounds, or allocate far beyond what the input holds.
// Each member is also read piece by piece, once whole and once stopped by
// the reader after its first piece, which must leave nothing behind.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "manager/Unzipper.h"

namespace {
struct TStop {};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vx::TUnZipper z;
  z.Open(std::string_view(reinterpret_cast<const char*>(data), size));
  for (int i = 0; i < z.Count(); ++i) {
    std::string whole;
    bool ok = true;
    try {
      whole = z.Extract(i);
      if (whole.size() != static_cast<size_t>(z.GetInfo(i).Size)) __builtin_trap();
    } catch (const vx::EZipError&) {
      ok = false;
    }
    std::string pieces;
    try {
      z.ExtractTo(i, [&](std::string_view piece) { pieces.append(piece); });
      if (!ok || pieces != whole) __builtin_trap();
    } catch (const vx::EZipError&) {
      if (ok) __builtin_trap();
    }
    try {
      z.ExtractTo(i, [](std::string_view) { throw TStop{}; });
    } catch (const TStop&) {
    } catch (const vx::EZipError&) {
    }
  }
  return 0;
}
