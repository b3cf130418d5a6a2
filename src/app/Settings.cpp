#include "app/Settings.h"

#include <algorithm>
#include <climits>

#include "common/Ini.h"
#include "geo/Maidenhead.h"

namespace vx {

namespace {

constexpr char kWindow[] = "Window";
constexpr char kSettings[] = "Settings";
constexpr char kUser[] = "User";
constexpr char kRxAntennas[] = "RX Antennas";
constexpr char kTxAntennas[] = "TX Antennas";

int ReadInt(const TIniFile& ini, const char* section, const char* key, int def, long long lo = INT_MIN,
            long long hi = INT_MAX) {
  return int(std::clamp(ini.ReadInteger(section, key, def), lo, hi));
}

std::string AntKey(int band) { return "Ant" + std::to_string(band); }

}  // namespace

bool TVantorSettings::operator==(const TVantorSettings& o) const {
  return Left == o.Left && Top == o.Top && MapStyle == o.MapStyle && GridSize == o.GridSize && ShowMuf == o.ShowMuf &&
         ShowBestHour == o.ShowBestHour && ShowSun == o.ShowSun && ShowPath == o.ShowPath && UseKp == o.UseKp &&
         Home.X == o.Home.X && Home.Y == o.Home.Y && TxPower == o.TxPower && RxAntenna == o.RxAntenna &&
         TxAntenna == o.TxAntenna;
}

std::vector<std::string> ChangedSettings(const TVantorSettings& a, const TVantorSettings& b) {
  std::vector<std::string> names;
  auto note = [&names](bool differs, const char* name) {
    if (differs) names.emplace_back(name);
  };
  note(a.MapStyle != b.MapStyle, "map style");
  note(a.GridSize != b.GridSize, "map resolution");
  note(a.ShowMuf != b.ShowMuf, "Plot MUF");
  note(a.ShowBestHour != b.ShowBestHour, "Mark Best Hour");
  note(a.ShowSun != b.ShowSun, "Show Sun");
  note(a.ShowPath != b.ShowPath, "Plot Path");
  note(a.UseKp != b.UseKp, "Use Kp");
  note(a.Home.X != b.Home.X || a.Home.Y != b.Home.Y, "home position");
  note(a.TxPower != b.TxPower, "power");
  note(a.RxAntenna != b.RxAntenna, "RX antennas");
  note(a.TxAntenna != b.TxAntenna, "TX antennas");
  return names;
}

TVantorSettings ReadSettings(const TIniFile& ini) {
  TVantorSettings s;
  s.Left = ReadInt(ini, kWindow, "Left", s.Left);
  s.Top = ReadInt(ini, kWindow, "Top", s.Top);
  // A style outside the three the map knows would select no radio item and
  // leave the map without a picture: take the default instead.
  s.MapStyle = ReadInt(ini, kSettings, "MapStyle", s.MapStyle);
  if (s.MapStyle < 0 || s.MapStyle > 2) s.MapStyle = 0;
  s.GridSize = ReadInt(ini, kSettings, "GridSize", s.GridSize, 0, 2);
  s.ShowMuf = ini.ReadBool(kSettings, "ShowMuf", s.ShowMuf);
  s.ShowBestHour = ini.ReadBool(kSettings, "ShowBestHour", s.ShowBestHour);
  s.ShowSun = ini.ReadBool(kSettings, "ShowSun", s.ShowSun);
  s.ShowPath = ini.ReadBool(kSettings, "ShowPath", s.ShowPath);
  s.UseKp = ini.ReadBool(kSettings, "UseKp", s.UseKp);
  // A hand-written file may name home by its locator; the coordinates the
  // window writes win over it, each for its own half (so a file with one
  // coordinate and a locator never mixes in the default's other half).
  if (auto square = LocatorLocation(ini.ReadString(kUser, "Locator"))) s.Home = *square;
  s.Home.X = ReadInt(ini, kUser, "Longitude", s.Home.X);
  s.Home.Y = ReadInt(ini, kUser, "Latitude", s.Home.Y);
  s.TxPower = ReadInt(ini, kUser, "TxPower", s.TxPower, 1, 9999);
  for (int b = 0; b < kBandCount; ++b) {
    s.RxAntenna[b] = ini.ReadString(kRxAntennas, AntKey(b), kDefaultAntennaFile);
    s.TxAntenna[b] = ini.ReadString(kTxAntennas, AntKey(b), kDefaultAntennaFile);
  }
  return s;
}

bool HasStoredHome(const TIniFile& ini) {
  return (ini.ValueExists(kUser, "Longitude") && ini.ValueExists(kUser, "Latitude")) ||
         LocatorLocation(ini.ReadString(kUser, "Locator"));
}

void WriteSettings(const TVantorSettings& s, TIniFile& ini) {
  ini.WriteInteger(kWindow, "Left", s.Left);
  ini.WriteInteger(kWindow, "Top", s.Top);
  ini.WriteInteger(kSettings, "MapStyle", s.MapStyle);
  ini.WriteInteger(kSettings, "GridSize", s.GridSize);
  ini.WriteBool(kSettings, "ShowMuf", s.ShowMuf);
  ini.WriteBool(kSettings, "ShowBestHour", s.ShowBestHour);
  ini.WriteBool(kSettings, "ShowSun", s.ShowSun);
  ini.WriteBool(kSettings, "ShowPath", s.ShowPath);
  ini.WriteBool(kSettings, "UseKp", s.UseKp);
  ini.WriteInteger(kUser, "Longitude", s.Home.X);
  ini.WriteInteger(kUser, "Latitude", s.Home.Y);
  ini.WriteInteger(kUser, "TxPower", s.TxPower);
  for (int b = 0; b < kBandCount; ++b) {
    ini.WriteString(kRxAntennas, AntKey(b), s.RxAntenna[b]);
    ini.WriteString(kTxAntennas, AntKey(b), s.TxAntenna[b]);
  }
}

int SelectAntenna(const TAlStringList& antennaFiles, const std::string& fileName) {
  return std::max(0, antennaFiles.IndexOf(fileName));
}

std::string AntennaFileAt(const TAlStringList& antennaFiles, int index) {
  return index >= 0 && size_t(index) < antennaFiles.Count() ? antennaFiles[size_t(index)] : std::string();
}

}  // namespace vx
