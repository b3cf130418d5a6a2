#include "gui/Pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace vx {

namespace {

void Dot(QPainter& p, int left, QColor fill) {
  p.setPen(QPen(fill.darker(170), 1));
  p.setBrush(fill);
  p.drawEllipse(QRectF(left + 2.5, 2.5, 10, 10));
}

// Eight spokes around the centre; the bright one moves a step per phase.
void Spinner(QPainter& p, int left, int phase) {
  const QPointF c(left + 7.5, 7.5);
  for (int k = 0; k < 8; ++k) {
    const double a = (k + 3 * phase) * M_PI / 4;
    const int age = (k + 8) % 8;
    QColor col(0, 0, 160);
    col.setAlpha(60 + age * 24);
    p.setPen(QPen(col, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(3 * std::cos(a), 3 * std::sin(a)), c + QPointF(6 * std::cos(a), 6 * std::sin(a)));
  }
}

QPixmap Picture(int size, void (*draw)(QPainter&)) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  draw(p);
  return pm;
}

}  // namespace

QPixmap StatusStrip() {
  QPixmap strip(75, 15);
  strip.fill(Qt::transparent);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing);
  Dot(p, 0, QColor(0, 200, 0));
  Dot(p, 15, QColor(230, 0, 0));
  p.setPen(QPen(Qt::white, 1.5));
  p.drawLine(QPointF(19, 4), QPointF(26, 11));
  p.drawLine(QPointF(26, 4), QPointF(19, 11));
  // Frames 4, 3, 2 follow each other while computing.
  Spinner(p, 60, 0);
  Spinner(p, 45, 1);
  Spinner(p, 30, 2);
  return strip;
}

QIcon TabIcon(int page) {
  switch (page) {
    case 0:  // Params: a form with lines
      return QIcon(Picture(16, [](QPainter& p) {
        p.setPen(QPen(QColor(0, 0, 128), 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 1.5, 11, 13));
        for (int y = 4; y <= 12; y += 3) p.drawLine(QPointF(5, y + 0.5), QPointF(11, y + 0.5));
      }));
    case 1:  // Chart: teal field with a red curve
      return QIcon(Picture(16, [](QPainter& p) {
        p.fillRect(QRectF(1, 2, 14, 12), QColor(0, 128, 128));
        p.setPen(QPen(QColor(255, 0, 0), 1.5));
        p.drawPolyline(QPolygonF({QPointF(1, 11), QPointF(5, 6), QPointF(9, 4), QPointF(15, 10)}));
      }));
    case 2:  // Map: a globe
      return QIcon(Picture(16, [](QPainter& p) {
        p.setPen(QPen(QColor(0, 0, 128), 1));
        p.setBrush(QColor(88, 204, 255));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(5, 1.5, 6, 13));
        p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
      }));
    case 3:  // Settings: a slider
      return QIcon(Picture(16, [](QPainter& p) {
        p.setPen(QPen(QColor(64, 64, 64), 1.5));
        p.drawLine(QPointF(2, 5), QPointF(14, 5));
        p.drawLine(QPointF(2, 11), QPointF(14, 11));
        p.setBrush(QColor(0, 0, 160));
        p.drawRect(QRectF(4, 3, 3, 4));
        p.drawRect(QRectF(9, 9, 3, 4));
      }));
    default:  // Ant: a mast with a beam
      return QIcon(Picture(16, [](QPainter& p) {
        p.setPen(QPen(QColor(64, 64, 64), 1.5));
        p.drawLine(QPointF(8, 4), QPointF(8, 15));
        p.drawLine(QPointF(2, 4), QPointF(14, 4));
        p.drawLine(QPointF(4, 2), QPointF(4, 6));
        p.drawLine(QPointF(12, 2), QPointF(12, 6));
      }));
  }
}

}  // namespace vx
