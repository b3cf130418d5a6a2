// The IOTA KML scan and list building on any text, with small lookup lists.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "manager/IotaKml.h"
#include "refdata/AlStrLst.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vx::TAlStringList dxcc, entities;
  if (entities.Empty()) {
    dxcc.SetText("EU-005=1,3\nAF-001 2\nNA-001=\"1, 2\" 9\n");
    dxcc.Sort();
    entities.SetText("1=-|G|England\n2=-|3B6|Agalega\n3=-|GM|Scotland\n=-|X|empty\n");
    entities.Sort();
  }
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const vx::TIotaLists l = vx::BuildIotaLists(text, dxcc, entities);
    if (l.RefLines.empty() || l.IslandLines.size() != l.RefLines.size() + 2) __builtin_trap();
  } catch (const std::runtime_error&) {
  }
  return 0;
}
