#include "manager/EntityList.h"

#include "refdata/AlStrLst.h"
#include "refdata/CallParser.h"

namespace vx {

// The manager's only use of the call parser: load the prefix list, list its
// country entries, and let the parser go.
bool ListPrefixEntities(const std::string& prefixFile, TAlStringList& list) {
  list.Clear();
  TCallParser parser(TCallParserVariant::pvManager);
  if (parser.SetPrefixFile(prefixFile) != TLoadStatus::lsOk) return false;
  parser.ListEntities(list);
  return true;
}

}  // namespace vx
