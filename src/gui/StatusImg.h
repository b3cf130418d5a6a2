// The status indicator in the first panel of the status bar: one 15-pixel
// frame of the status strip, the state's hint and, while computing, a hand
// cursor that says a click cancels.
#pragma once

#include <QPixmap>
#include <QWidget>

#include "app/PredCtl.h"

namespace vx {

class TStatusImage : public QWidget {
  Q_OBJECT
 public:
  explicit TStatusImage(QWidget* parent = nullptr);
  void Show(const TStatusIndicator& status);
  int Frame() const { return Frame_; }
  bool HandCursor() const { return cursor().shape() == Qt::PointingHandCursor; }

 signals:
  void Clicked();

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;

 private:
  QPixmap Strip_;
  int Frame_ = 0;
};

}  // namespace vx
