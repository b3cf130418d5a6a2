// The window's read-only lines about the path, from the window model: the
// locators of both ends, where the DX position comes from, the path's facts
// and the bands open now.
#pragma once

#include <cstdint>

namespace vx {

struct TMainWidgets;
class TWindowModel;

// parts: what the model changed (TWindowPart bits).
void ShowPathTexts(TMainWidgets& w, const TWindowModel& m, uint32_t parts);

}  // namespace vx
