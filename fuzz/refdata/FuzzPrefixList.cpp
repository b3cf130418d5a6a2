// Any bytes as a prefix list: loading must not crash or read out of bounds,
// the loaded tree and index must be consistent, and lookups against it must
// be safe too.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "refdata/CallParser.h"

using namespace vx;

static void Check(bool ok) {
  if (!ok) __builtin_trap();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TCallParser parser(TCallParserVariant::pvMain);
  TPrefixList& l = parser.PrefixList;
  TLoadStatus s = l.LoadFromText(std::string_view(reinterpret_cast<const char*>(data), size));
  Check(static_cast<size_t>(l.Count) == l.Entries.size());
  if (s != TLoadStatus::lsOk) {
    Check(l.Count == 0);
    for (const auto& c : l.Cells) Check(c.empty());
    return 0;
  }
  for (const TPrefixEntry& e : l.Entries) {
    Check(e.Parent < e.Index);
    if (e.Parent >= 0) Check(l.Entries[e.Parent].Level < e.Level);
    for (int32_t c : e.Children) Check(c > e.Index && l.Entries[c].Parent == e.Index);
  }
  for (const auto& cell : l.Cells)
    for (size_t i = 0; i < cell.size(); ++i) {
      Check(cell[i] >= 0 && cell[i] < l.Count);
      Check(l.Entries[cell[i]].Kind == 1 || l.Entries[cell[i]].Kind == 6);
      if (i) Check(cell[i - 1] < cell[i]);  // file order, each once
    }
  for (const char* call : {"K1ABC", "K4", "KH6/K1ABC", "K1ABC/P", "ADIF291", "G/K1ABC/P", "ZZ", "00", "VE3ABC/4"})
    parser.Parse(call);
  TAlStringList entities;
  parser.ListEntities(entities);
  return 0;
}
