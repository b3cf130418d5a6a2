// The Qt edge of the views: plain pictures to QImage and back, and the
// core's Windows-1252 texts to QString.
#pragma once

#include <QImage>
#include <QString>
#include <string>

#include "views/Raster.h"

namespace vx {

inline QImage ToQImage(const TRgbImage& image) {
  QImage q(image.Width, image.Height, QImage::Format_RGB888);
  for (int y = 0; y < image.Height; ++y) std::copy_n(image.Row(y), size_t(image.Width) * 3, q.scanLine(y));
  return q;
}

inline TRgbImage FromQImage(const QImage& image) {
  const QImage q = image.convertToFormat(QImage::Format_RGB888);
  TRgbImage out(q.width(), q.height());
  for (int y = 0; y < q.height(); ++y) std::copy_n(q.constScanLine(y), size_t(q.width()) * 3, out.Row(y));
  return out;
}

// Windows-1252: Latin-1 except for the printable characters at 0x80..0x9F.
inline QString FromCp1252(const std::string& s) {
  static const char16_t k80[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
  QString out;
  out.reserve(int(s.size()));
  for (unsigned char c : s) out += (c >= 0x80 && c < 0xA0) ? QChar(k80[c - 0x80]) : QChar(c);
  return out;
}

}  // namespace vx
