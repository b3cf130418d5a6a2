#include "app/PopupRules.h"

namespace vx {

TPopupItems PopupItemsFor(TPage page, bool ctrlHeld) {
  const bool map = page == pgMap;
  TPopupItems items;
  items.PlotMuf = items.MarkBestHour = !map;
  items.ShowSun = items.PlotPath = items.PreCompute = map;
  items.SaveImage = true;
  items.MapExtras = map && ctrlHeld;
  return items;
}

}  // namespace vx
