// The Qt edge of the views: plain pictures to QImage and back, and the
// core's Windows-1252 texts to QString.
#pragma once

#include <QImage>
#include <QString>
#include <string>

#include "common/Cp1252.h"
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

// Windows-1252 text of the core for a widget.
inline QString FromCp1252(const std::string& s) { return QString::fromStdU16String(Cp1252ToUtf16(s)); }

}  // namespace vx
