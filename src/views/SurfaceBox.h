// The drawing area of the chart and the map frames: shows the frame's
// surface as it is (the frame renders it when its data change, not on
// paint) and hands the mouse to the frame in the surface's pixels.
#pragma once

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "views/QtImage.h"

namespace vx {

// TFrame: a QWidget with Surface() and BoxMouseMove(x, y) (-1, -1 when the
// mouse leaves).
template <class TFrame>
class TSurfaceBox : public QWidget {
 public:
  TSurfaceBox(TFrame* frame, int width, int height) : QWidget(frame), Frame_(frame) {
    setFixedSize(width, height);
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawImage(0, 0, ToQImage(Frame_->Surface()));
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    const QPoint at = e->position().toPoint();
    Frame_->BoxMouseMove(at.x(), at.y());
  }
  void leaveEvent(QEvent*) override { Frame_->BoxMouseMove(-1, -1); }

 protected:
  TFrame* Frame_;
};

}  // namespace vx
