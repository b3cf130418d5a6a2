#include "manager/EntityList.h"

#include "common/FileUtil.h"
#include "common/TextUtil.h"
#include "refdata/AlStrLst.h"

namespace vx {

// Stand-in until the call parser's own listing is wired in: the kind-1
// lines of the prefix list, read the way the prefix list reads them.
bool ListPrefixEntities(const std::string& prefixFile, TAlStringList& list) {
  list.Clear();
  auto text = ReadWholeFile(prefixFile);
  if (!text) return false;
  const auto lines = SplitLines(*text);
  TAlStringList fields;
  auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  for (size_t i = 3; i < lines.size(); ++i) {
    fields.SetDelimitedItems(lines[i]);
    if (fields.Count() < 14) continue;
    std::string_view code = fields[0];
    if (!code.empty() && (code[0] == '-' || code[0] == 'L' || code[0] == 'M')) code.remove_prefix(1);
    if (code.size() < 2) continue;
    const int hi = hex(code[0]), lo = hex(code[1]);
    if (hi < 0 || lo < 0 || hi * 16 + lo != 1) continue;
    list.Add(fields[9] + "=-|" + fields[4] + "|" + fields[3]);
  }
  return true;
}

}  // namespace vx
