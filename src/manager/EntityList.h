// The entity list the IOTA importer needs: one line "number=-|prefix|name"
// per country entry of the prefix list, in file order (unsorted).
#pragma once

#include <string>

namespace vx {

class TAlStringList;

// False (and an empty list) when the prefix list cannot be loaded.
bool ListPrefixEntities(const std::string& prefixFile, TAlStringList& list);

}  // namespace vx
