#include "common/QtText.h"

#include <QList>

#include "common/Cp1252.h"

namespace vx {

QString FromCp1252(std::string_view s) {
  QString out;
  out.reserve(static_cast<qsizetype>(s.size()));
  // Every character of the code page lies in the basic plane: one QChar each.
  for (unsigned char c : s) out += QChar(static_cast<char16_t>(Cp1252ToCodePoint(c)));
  return out;
}

std::string ToCp1252(const QString& s) {
  std::string out;
  out.reserve(static_cast<size_t>(s.size()));
  for (const uint u : s.toUcs4()) {
    const auto c = CodePointToCp1252(u);
    out += c ? static_cast<char>(*c) : '?';
  }
  return out;
}

}  // namespace vx
