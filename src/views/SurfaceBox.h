// The drawing area of the chart and the map frames: shows the frame's
// surface (the frame renders it when its data change, not on paint), each
// pixel as a square of Scale x Scale screen pixels, and hands the mouse to
// the frame in the surface's pixels. At scale 1 the picture is the surface.
#pragma once

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "views/QtImage.h"

namespace vx {

// TFrame: a QWidget with Surface() and BoxMouseMove(x, y) (-1, -1 when the
// mouse leaves).
template <class TFrame>
class TSurfaceBox : public QWidget {
 public:
  TSurfaceBox(TFrame* frame, int width, int height) : QWidget(frame), Frame_(frame), Base_(width, height) {
    setFixedSize(width, height);
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  // Whole steps only, so that every surface pixel covers the same square.
  void SetScale(int scale) {
    Scale_ = std::max(1, scale);
    setFixedSize(Base_ * Scale_);
    update();
  }
  int Scale() const { return Scale_; }
  // A point of the box in surface pixels.
  QPoint SurfacePoint(QPointF at) const {
    const QPoint p = at.toPoint();
    return {p.x() / Scale_, p.y() / Scale_};  // the square the point is in (QPoint's "/" rounds)
  }

  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QImage image = ToQImage(Frame_->Surface());
    if (Scale_ == 1)
      p.drawImage(0, 0, image);
    else
      p.drawImage(0, 0, image.scaled(image.size() * Scale_, Qt::IgnoreAspectRatio, Qt::FastTransformation));
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    const QPoint at = SurfacePoint(e->position());
    Frame_->BoxMouseMove(at.x(), at.y());
  }
  void leaveEvent(QEvent*) override { Frame_->BoxMouseMove(-1, -1); }

 protected:
  TFrame* Frame_;
  QSize Base_;
  int Scale_ = 1;
};

}  // namespace vx
