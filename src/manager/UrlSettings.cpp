#include "manager/UrlSettings.h"

#include "common/Ini.h"

namespace vx {

namespace {

// The organisations that publish each source (HTTPS where they serve it;
// older addresses are redirected to the current ones).
const char* const kHosts[kSourceCount] = {
    "https://www.iota-world.org",      // IOTA reference list
    "https://lotw.arrl.org",           // LoTW user list
    "https://wireless.fcc.gov",        // FCC amateur licences
    "https://apc-cap.ic.gc.ca",        // Canadian amateur call signs
    "https://apc-cap.ic.gc.ca",        // Canadian special call signs
    "http://rdaward.org",              // RDA districts
    "https://services.swpc.noaa.gov",  // predicted sunspot numbers
};

constexpr char kSection[] = "URL";

}  // namespace

std::string DefaultUrl(int source) { return std::string(kHosts[source]) + SourceInfo(source).UrlPath; }

TUrlSettings::TUrlSettings() {
  for (int i = 0; i < kSourceCount; ++i) Urls[static_cast<size_t>(i)] = DefaultUrl(i);
}

void TUrlSettings::Read(const TIniFile& ini) {
  for (int i = 0; i < kSourceCount; ++i)
    Urls[static_cast<size_t>(i)] = ini.ReadString(kSection, SourceInfo(i).Name, DefaultUrl(i));
}

void TUrlSettings::Write(TIniFile& ini) const {
  for (int i = 0; i < kSourceCount; ++i)
    if (Urls[static_cast<size_t>(i)] != DefaultUrl(i))
      ini.WriteString(kSection, SourceInfo(i).Name, Urls[static_cast<size_t>(i)]);
}

}  // namespace vx
