#include "gui/ScreenPlace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace vx {

void PlaceOnScreen(QWidget& window, std::optional<QPoint> position) {
  window.adjustSize();
  if (position)
    window.move(*position);
  else if (QScreen* screen = QGuiApplication::primaryScreen())
    window.move(screen->availableGeometry().center() - window.rect().center());
  KeepOnScreen(window);
}

void KeepOnScreen(QWidget& window) {
  // A position saved on a larger screen, or a window made larger by the
  // desktop's scale, comes back whole onto the screen it is on (or the
  // first); what cannot fit keeps its title bar and left edge in view.
  QScreen* screen = QGuiApplication::screenAt(window.geometry().center());
  if (!screen) screen = QGuiApplication::screenAt(window.pos());
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect room = screen->availableGeometry();
  const QSize size = window.frameGeometry().size();
  const int x = std::max(room.left(), std::min(window.pos().x(), room.left() + room.width() - size.width()));
  const int y = std::max(room.top(), std::min(window.pos().y(), room.top() + room.height() - size.height()));
  window.move(x, y);
}

}  // namespace vx
