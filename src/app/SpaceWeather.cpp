#include "app/SpaceWeather.h"

namespace vx {

std::string MonitorDownloadPage(const std::string& appTitle) {
  return "https://www.vexmoor.com/Download.asp?" + appTitle;
}

}  // namespace vx
