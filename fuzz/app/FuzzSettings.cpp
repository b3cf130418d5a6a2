// Any bytes as Vantor.ini: the settings read from it lie in the controls'
// ranges, and writing them and reading them back gives the same settings.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/Settings.h"
#include "common/Ini.h"

using namespace vx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TIniFile ini;
  ini.LoadFromText(std::string_view(reinterpret_cast<const char*>(data), size));
  const TVantorSettings s = ReadSettings(ini);
  if (s.GridSize < 0 || s.GridSize > 2 || s.MapStyle < 0 || s.MapStyle > 2) __builtin_trap();
  if (s.TxPower < 1 || s.TxPower > 9999) __builtin_trap();
  WriteSettings(s, ini);
  TIniFile again;
  again.LoadFromText(ini.ToText());
  if (!(ReadSettings(again) == s)) __builtin_trap();
  return 0;
}
