#include "com/BusText.h"

#include <QFile>

namespace vx {

namespace {

// Windows-1252 at 0x80..0x9F; the rest of the code page is Latin-1. The five
// codes it leaves undefined keep their own value.
constexpr char16_t kHigh[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

}  // namespace

QString BusString(std::string_view cp1252) {
  QString out;
  out.reserve(qsizetype(cp1252.size()));
  for (unsigned char c : cp1252) out += (c >= 0x80 && c < 0xA0) ? QChar(kHigh[c - 0x80]) : QChar(c);
  return out;
}

std::string CoreString(const QString& s) {
  std::string out;
  out.reserve(size_t(s.size()));
  for (const char32_t u : s.toUcs4()) {
    char c = '?';
    if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
      c = char(u);
    } else {
      for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u && !(u >= 0x80 && u < 0xA0)) c = char(0x80 + i);
    }
    out += c;
  }
  return out;
}

QString BusFileName(const std::string& name) { return QFile::decodeName(QByteArray::fromStdString(name)); }
std::string CoreFileName(const QString& name) { return QFile::encodeName(name).toStdString(); }

}  // namespace vx
