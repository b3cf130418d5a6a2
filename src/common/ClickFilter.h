// Clicks and double-clicks on widgets that have no signal for them (labels).
#pragma once

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>
#include <functional>

namespace vx {

class TClickFilter : public QObject {
 public:
  // type: QEvent::MouseButtonRelease or QEvent::MouseButtonDblClick; only the left button counts.
  static void Install(QWidget* w, QEvent::Type type, std::function<void()> action) {
    w->installEventFilter(new TClickFilter(w, type, std::move(action)));
  }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == Type_ && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) Action_();
    return false;
  }

 private:
  TClickFilter(QObject* parent, QEvent::Type type, std::function<void()> action)
      : QObject(parent), Type_(type), Action_(std::move(action)) {}
  QEvent::Type Type_;
  std::function<void()> Action_;
};

}  // namespace vx
