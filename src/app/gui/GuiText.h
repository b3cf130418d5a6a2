// The core's Windows-1252 texts in the window's controls and back, through
// the base's one table.
#pragma once

#include <QString>
#include <string>

#include "common/Cp1252.h"
#include "views/QtImage.h"

namespace vx {

// Characters Windows-1252 lacks become "?".
inline std::string ToCp1252(const QString& s) {
  std::string out;
  out.reserve(size_t(s.size()));
  for (QChar q : s) {
    const char16_t u = q.unicode();
    char byte = '?';
    for (int c = 0; c < 256; ++c)
      if (Cp1252ToUnicode(static_cast<unsigned char>(c)) == u) {
        byte = static_cast<char>(c);
        break;
      }
    out += byte;
  }
  return out;
}

}  // namespace vx
