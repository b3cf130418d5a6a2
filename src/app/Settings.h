// The main program's settings file: what the user chose, kept between runs.
// It is read once at start-up into TVantorSettings and written once when the
// window goes, and only while the engine's last status is vsReady (a failed
// or cancelled last prediction, or an engine that never became ready, leaves
// the file as it was).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "common/Location.h"
#include "engine/VoaTypes.h"
#include "refdata/AlStrLst.h"

namespace vx {

class TIniFile;

inline constexpr int kNoWindowPosition = -99;
inline constexpr char kDefaultAntennaFile[] = "Dipole55.N14";

struct TVantorSettings {
  // [Window]
  int Left = kNoWindowPosition;
  int Top = kNoWindowPosition;
  // [Settings]
  int MapStyle = 0;  // 0 Color, 1 Gray, 2 Pseudo
  int GridSize = 2;  // map resolution: 0 High, 1 Medium, 2 Low
  bool ShowMuf = false;
  bool ShowBestHour = true;
  bool ShowSun = false;
  bool ShowPath = false;
  bool UseKp = false;
  // [User]
  TLocation Home{-79 * 180, 44 * 180};  // 1/180 degree, east and north positive
  int TxPower = 100;
  // [RX Antennas], [TX Antennas]: file names per band, 0 = 3.5 MHz.
  std::array<std::string, kBandCount> RxAntenna;
  std::array<std::string, kBandCount> TxAntenna;

  TVantorSettings() {
    RxAntenna.fill(kDefaultAntennaFile);
    TxAntenna.fill(kDefaultAntennaFile);
  }
  bool operator==(const TVantorSettings& o) const;

  // The window opens at (Left, Top) only when both were stored.
  bool HasWindowPosition() const { return Left != kNoWindowPosition && Top != kNoWindowPosition; }
};

// Missing keys and unreadable values give the defaults. Values are brought
// into the ranges the window's controls hold: GridSize and MapStyle 0..2,
// TxPower 1..9999.
TVantorSettings ReadSettings(const TIniFile& ini);

// [User] Latitude and Longitude, or a Locator ("FN31pr") when the file has
// neither, give home; true when the file names home in one of these ways.
bool HasStoredHome(const TIniFile& ini);

// Writes every key, in the file's fixed order (the antennas band by band, RX
// before TX), keeping whatever else the file holds.
void WriteSettings(const TVantorSettings& settings, TIniFile& ini);

// The index of fileName in the engine's antenna files; 0 when it is not
// there (an antenna deleted since the last run falls back to the first).
int SelectAntenna(const TAlStringList& antennaFiles, const std::string& fileName);
// The file name at index, or "" when the index is outside the list.
std::string AntennaFileAt(const TAlStringList& antennaFiles, int index);

// Settings are written only after a run whose engine ended ready, unless
// the user asks to keep them.
inline bool ShouldSaveSettings(TVoaStatus engineStatus) { return engineStatus == vsReady; }

// What differs between two states of the settings, named as the window
// names it ("power", "map style"), in the file's order. The window's
// position is left out: moving the window is no choice worth a question.
std::vector<std::string> ChangedSettings(const TVantorSettings& before, const TVantorSettings& after);

}  // namespace vx
