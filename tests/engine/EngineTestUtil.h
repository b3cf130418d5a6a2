#pragma once

#include <string>

#include "common/FileUtil.h"

namespace vxtest {

inline std::string Fixture(const std::string& rel) {
  auto s = vx::ReadWholeFile(std::string(VX_FIXTURES) + "/voacap/" + rel);
  return s ? *s : std::string();
}

// Replaces every occurrence of from by to (same length keeps columns).
inline std::string ReplaceAll(std::string s, const std::string& from, const std::string& to) {
  for (size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size())) s.replace(p, from.size(), to);
  return s;
}

}  // namespace vxtest
