// The request headers of a download, kept apart from the network code so they
// can be checked on their own.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vx {

using THeaderList = std::vector<std::pair<std::string, std::string>>;

// "Sun, 06 Nov 1994 08:49:37 GMT" from a day count, taken as it is (no
// time-zone conversion).
std::string HttpDate(double dayCount);

// Always no-cache; a Range for rangeStart < 0 ("bytes=-N", the last N bytes)
// or > 0 ("bytes=0N-", from byte N on); If-Modified-Since when lastModified
// is not 0.
THeaderList DownloadHeaders(int32_t rangeStart, double lastModified);

// The part of a URL after its last "/" ("" when there is none).
std::string UrlFileName(const std::string& url);

}  // namespace vx
