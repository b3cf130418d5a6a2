// The seven data sources, by the index the program is started with.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vx {

constexpr int kSourceCount = 7;

enum TSourceIndex : int {
  srIota = 0,
  srLotwUsers = 1,
  srFcc = 2,
  srRac = 3,
  srCanadianSpecial = 4,
  srRda = 5,
  srSsnForecast = 6,
};

struct TSourceInfo {
  const char* Name;     // settings key in section "URL"
  const char* UrlPath;  // path of the default download address
};

const TSourceInfo& SourceInfo(int index);
// "Download " + the name with "_" replaced by blanks.
std::string SourceCaption(int index);

// The source index from the one command-line argument: decimal 0..6,
// blanks around it allowed; anything else is refused.
std::optional<int> ParseSourceIndex(std::string_view arg);

}  // namespace vx
