// The Qt edge of the views: plain pictures to QImage and back. Texts go
// through common/QtText.h.
#pragma once

#include <QBuffer>
#include <QImage>
#include <string>

#include "common/QtText.h"
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

// PNG bytes of the same pixels; empty when Qt cannot encode PNG.
inline std::string EncodePng(const TRgbImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  ToQImage(image).save(&buffer, "PNG");
  return bytes.toStdString();
}

}  // namespace vx
