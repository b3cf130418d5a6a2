// The download address of each source: built-in defaults, overridden by the
// settings file (section "URL", one key per source name).
#pragma once

#include <array>
#include <string>

#include "manager/Sources.h"

namespace vx {

class TIniFile;

// The default address: the publisher's host and the source's path.
std::string DefaultUrl(int source);

struct TUrlSettings {
  std::array<std::string, kSourceCount> Urls;

  TUrlSettings();  // the defaults
  // Each source's value from section "URL", or its default.
  void Read(const TIniFile& ini);
  // Writes every URL that differs from its default; a URL equal to the
  // default is not written, so a value stored earlier stays in the file.
  void Write(TIniFile& ini) const;
};

}  // namespace vx
