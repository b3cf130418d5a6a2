// Where a top-level window goes on the desktop's screens.
#pragma once

#include <optional>

class QPoint;
class QWidget;

namespace vx {

// At the position given, else in the middle of the primary screen; then
// wholly on the screen (KeepOnScreen).
void PlaceOnScreen(QWidget& window, std::optional<QPoint> position);
// Moves the window wholly onto the visible part of its screen.
void KeepOnScreen(QWidget& window);

}  // namespace vx
