#include "com/BusText.h"

#include <QFile>
#include <QHash>

#include "common/Cp1252.h"

namespace vx {

QString BusString(std::string_view cp1252) {
  const std::u16string u = Cp1252ToUtf16(cp1252);
  return QString::fromUtf16(u.data(), qsizetype(u.size()));
}

std::string CoreString(const QString& s) {
  // The base's table read backwards.
  static const QHash<char16_t, char> kBytes = [] {
    QHash<char16_t, char> h;
    for (int c = 0; c < 256; ++c) h.insert(Cp1252ToUnicode(static_cast<unsigned char>(c)), static_cast<char>(c));
    return h;
  }();
  std::string out;
  out.reserve(size_t(s.size()));
  for (QChar q : s) out += kBytes.value(q.unicode(), '?');
  return out;
}

QString BusFileName(const std::string& name) { return QFile::decodeName(QByteArray::fromStdString(name)); }
std::string CoreFileName(const QString& name) { return QFile::encodeName(name).toStdString(); }

}  // namespace vx
