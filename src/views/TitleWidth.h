// Dialogs as wide as their title needs: window managers draw the title in a
// larger bold face beside their buttons and cut what does not fit, while Qt
// sizes a dialog to its content alone.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace vx {

// The width a title bar needs for w's title, buttons included.
inline int TitleBarWidth(const QWidget& w) {
  QFont font = w.font();
  font.setBold(true);
  font.setPointSizeF(font.pointSizeF() * 1.25);
  const int buttons = 4 * w.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &w);
  return QFontMetrics(font).horizontalAdvance(w.windowTitle()) + buttons;
}

inline void WidenForTitle(QWidget& w) { w.setMinimumWidth(std::max(w.minimumWidth(), TitleBarWidth(w))); }

}  // namespace vx
