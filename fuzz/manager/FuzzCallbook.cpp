// The three index builders on any registry text: every record must come out
// sorted, with offsets inside the detail file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/FileUtil.h"
#include "manager/CbIndex.h"

namespace {
// The detail file the builders read, removed when the fuzzer exits.
struct TScratch {
  std::string Name = "/tmp/kestrix-callbook-fuzz-" + std::to_string(::getpid()) + ".dat";
  ~TScratch() { vx::RemoveFile(Name); }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TScratch scratch;
  const std::string& file = scratch.Name;
  static vx::TZipList zips;
  if (zips.Count() == 0)
    zips.SetText(
        "06085 CT0031    41.7500    -72.8900\n06090 CT0032    41.8000    -72.9000\n"
        "10001 NY0100    40.7500    -73.9970\n");
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!vx::WriteWholeFile(file, text)) return 0;
  // The builders start with room for the lines counted (as the importers
  // do); the room is only a hint, so any count must do.
  const size_t lines = 1 + size / 64;
  for (int which = 0; which < 3; ++which) {
    vx::TCallbookEntries e = which == 0   ? vx::BuildFccIndex(file, zips, lines)
                             : which == 1 ? vx::BuildRacIndex(file, lines)
                                          : vx::BuildRdaIndex(text);
    vx::SortCallbookEntries(e, 0, static_cast<ptrdiff_t>(e.size()) - 1);
    for (size_t i = 0; i < e.size(); ++i) {
      if (i && vx::CallLess(e[i], e[i - 1])) __builtin_trap();
      if (e[i].DatOffset < 0 || static_cast<size_t>(e[i].DatOffset) > size) __builtin_trap();
      if (e[i].Call[0] > 15 || e[i].Region[0] > 7) __builtin_trap();
    }
  }
  return 0;
}
