// A tab page that shows one picture frame (the chart or the map) centred, at
// the largest whole multiple of its 1:1 size the page has room for. The page
// asks no more room than the 1:1 frame needs, so a window that grew can
// shrink again.
#pragma once

#include <QWidget>
#include <functional>

namespace vx {

class TScaledPage : public QWidget {
 public:
  // setScale shows the frame at a scale; step is what one step more adds
  // to the frame (the picture's 1:1 size and what grows with it).
  TScaledPage(QWidget* frame, QSize step, std::function<void(int)> setScale, QWidget* parent);

  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  QWidget* Frame_;
  std::function<void(int)> SetScale_;
  QSize Step_;
  QSize Unscaled_;  // the frame at 1:1
};

}  // namespace vx
