#include "gui/StatusImg.h"

#include <QMouseEvent>
#include <QPainter>

#include "gui/GuiText.h"
#include "gui/Pictures.h"

namespace vx {

TStatusImage::TStatusImage(QWidget* parent) : QWidget(parent), Strip_(StatusStrip()) {
  setObjectName("StatusImage");
  setFixedSize(15, 15);
}

void TStatusImage::Show(const TStatusIndicator& status) {
  const int frame = std::clamp(status.Frame(), 0, 4);
  if (frame != Frame_) {
    Frame_ = frame;
    update();
  }
  setToolTip(FromCp1252(status.Hint));
  setCursor(status.HandCursor ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TStatusImage::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(-15 * Frame_, 0, Strip_);
}

void TStatusImage::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) emit Clicked();
}

}  // namespace vx
