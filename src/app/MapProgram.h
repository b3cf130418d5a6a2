// The sibling world-map program as Vantor sees it: while integration is on,
// every new prediction map is handed to it. The client that reaches it comes
// later; until then TNoMapProgram stands in and the toggle reports the
// program as missing.
#pragma once

#include <string>

#include "engine/VoaTypes.h"
#include "views/MapDraw.h"

namespace vx {

class IMapProgram {
 public:
  virtual ~IMapProgram() = default;
  virtual bool Active() const = 0;
  // Switches integration on or off; false when switching on failed.
  virtual bool SetActive(bool on) = 0;
  // The map just shown (only while active).
  virtual void SendMap(const TVoaGrid& grid) = 0;
};

// What the map program's client needs of the front end that shows the map.
class IGeomiraHost {
 public:
  virtual ~IGeomiraHost() = default;
  // The map view's normalised grid (empty while it holds no map).
  virtual const TNormGrid& MapField() const = 0;
  // The mouse at pixel (x, y) of the map view: the readout goes onto the
  // status bar as for a mouse over the map; returns the text of panel 2.
  virtual std::string MapMouseMove(int x, int y) = 0;
  // The client let go on its own (asked to, or the program went away or
  // stopped answering): release the toggle.
  virtual void MapProgramLeft() = 0;
  // The program refused a later map; the connection stays.
  virtual void MapProgramError(const std::string& text) = 0;
};

class TNoMapProgram final : public IMapProgram {
 public:
  bool Active() const override { return false; }
  bool SetActive(bool on) override { return !on; }
  void SendMap(const TVoaGrid&) override {}
};

// The question when the map program cannot be reached (Yes opens the page).
inline constexpr char kMapProgramMissingQuestion[] =
    "This function requires Geomira 2.24 or higher.\nOpen the Geomira download page?";
// The map program's download page, with the asking program's title as the query.
inline std::string MapProgramDownloadPage(const std::string& appTitle) {
  return "https://www.vexmoor.com/Download.asp?" + appTitle;
}

// The program's own web page, opened by the header of the Params tab.
inline constexpr char kVantorWebPage[] = "https://www.vexmoor.com/vantor/";

}  // namespace vx
