// The window's small pictures, drawn in code so that the program needs no
// picture files: the status indicator's strip and the tabs' icons.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace vx {

// 75 x 15: five frames of 15 x 15. 0 ready or done, 1 failed, 2..4 the
// phases of the spinner shown while computing.
QPixmap StatusStrip();

// The icon of each tab, by its index (Params, Chart, Map, Settings, Ant).
QIcon TabIcon(int page);

}  // namespace vx
