// Which items of the chart's and the map's context menu show, by the tab
// that is active and whether Ctrl was held as the menu opened. The chart's
// options and the map's options show on their own tab only; the maximum maps
// and the GIF series are map commands for those who know to hold Ctrl.
#pragma once

#include "app/PredCtl.h"

namespace vx {

struct TPopupItems {
  bool PlotMuf = false;
  bool MarkBestHour = false;
  bool ShowSun = false;
  bool PlotPath = false;
  bool PreCompute = false;
  bool SaveImage = true;
  bool MapExtras = false;  // the second separator, the three maximum maps, "Generate GIF's"
  bool operator==(const TPopupItems&) const = default;
};

// The menu opens over the chart and the map only; any tab but the Map tab
// gets the chart's items.
TPopupItems PopupItemsFor(TPage page, bool ctrlHeld);

}  // namespace vx
