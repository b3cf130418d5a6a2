// The title lines of a saved picture: what it was computed for, so that the
// picture still says so away from the window. The window and vantor-cli
// fill the same facts from their own inputs.
#pragma once

#include <string>
#include <vector>

#include "common/Location.h"
#include "engine/VoaTypes.h"
#include "views/MapDraw.h"

namespace vx {

class TWindowModel;

struct TPictureFacts {
  bool Map = false;  // a map: home, band and hour; a chart: the path
  TLocation Home;
  TLocation Dx = kNoLocationPoint;  // none: the DX frame is empty
  std::string DxName;               // the call sign, when one names the DX
  bool LongPath = false;
  int Band = 3;
  int Hour = 0;
  TMapMaximum Maximum = mmNone;
  int Year = 0, Month = 0;  // 0: no month
  int Ssn = 0;
  std::string Engine;
};

// Windows-1252 lines, as DecorateChart and DecorateMap write them.
std::vector<std::string> PictureTitle(const TPictureFacts& facts);

// The facts of the window's chart and of its map.
TPictureFacts ChartFacts(const TWindowModel& model);
TPictureFacts MapFacts(const TWindowModel& model);

}  // namespace vx
