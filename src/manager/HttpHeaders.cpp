#include "manager/HttpHeaders.h"

#include <cmath>

#include "common/DayCount.h"
#include "common/TextUtil.h"

namespace vx {

std::string HttpDate(double dayCount) {
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const TCivilTime t = DecodeDayCount(dayCount);
  // Day 0 (30 December 1899) was a Saturday.
  const long day = static_cast<long>(std::floor(dayCount));
  const int weekday = static_cast<int>(((day % 7) + 7 + 6) % 7);
  const int second = static_cast<int>(t.Second);
  return std::string(kDays[weekday]) + ", " + FormatInt(t.Day, 2, true) + " " + kMonths[(t.Month - 1) % 12] + " " +
         FormatInt(t.Year, 4, true) + " " + FormatInt(t.Hour, 2, true) + ":" + FormatInt(t.Minute, 2, true) + ":" +
         FormatInt(second, 2, true) + " GMT";
}

THeaderList DownloadHeaders(int32_t rangeStart, double lastModified) {
  THeaderList h = {{"Pragma", "no-cache"}, {"Cache-Control", "no-cache"}};
  if (rangeStart < 0) h.emplace_back("Range", "bytes=" + FormatInt(rangeStart));
  if (rangeStart > 0) h.emplace_back("Range", "bytes=0" + FormatInt(rangeStart) + "-");
  if (lastModified != 0) h.emplace_back("If-Modified-Since", HttpDate(lastModified));
  return h;
}

std::string UrlFileName(const std::string& url) {
  size_t slash = url.rfind('/');
  return slash == std::string::npos ? std::string() : url.substr(slash + 1);
}

}  // namespace vx
