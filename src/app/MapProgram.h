// The sibling world-map program as Vantor sees it: while integration is on,
// every new prediction map is handed to it. The client that reaches it comes
// later; until then TNoMapProgram stands in and the toggle reports the
// program as missing.
#pragma once

#include <string>

#include "engine/VoaTypes.h"

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
