#include <gtest/gtest.h>

#include "app/Settings.h"
#include "common/Ini.h"
#include "geo/CoordFrm.h"

using namespace vx;

namespace {

TIniFile IniOf(const std::string& text) {
  TIniFile ini;
  ini.LoadFromText(text);
  return ini;
}

}  // namespace

TEST(Settings, MissingFileGivesTheDefaults) {
  const TVantorSettings s = ReadSettings(TIniFile());
  EXPECT_EQ(s, TVantorSettings());
  EXPECT_FALSE(s.HasWindowPosition());
  EXPECT_EQ(s.GridSize, 2);
  EXPECT_TRUE(s.ShowBestHour);
  EXPECT_FALSE(s.ShowMuf || s.ShowSun || s.ShowPath || s.UseKp);
  EXPECT_EQ(s.Home.X, -14220);
  EXPECT_EQ(s.Home.Y, 7920);
  EXPECT_EQ(s.TxPower, 100);
  EXPECT_EQ(s.RxAntenna[0], "Dipole55.N14");
  EXPECT_EQ(s.TxAntenna[7], "Dipole55.N14");
}

TEST(Settings, WrittenInTheFileOrderAndReadBack) {
  TVantorSettings s;
  s.Left = 10, s.Top = 20, s.MapStyle = 2, s.GridSize = 0;
  s.ShowMuf = true, s.ShowBestHour = false, s.ShowSun = true, s.ShowPath = true, s.UseKp = true;
  s.Home = {139 * 180, -35 * 180};
  s.TxPower = 1500;
  for (int b = 0; b < kBandCount; ++b) {
    s.RxAntenna[b] = "rx" + std::to_string(b) + ".ant";
    s.TxAntenna[b] = "tx" + std::to_string(b) + ".ant";
  }
  TIniFile ini;
  WriteSettings(s, ini);
  std::string expected =
      "[Window]\r\nLeft=10\r\nTop=20\r\n"
      "[Settings]\r\nMapStyle=2\r\nGridSize=0\r\nShowMuf=1\r\nShowBestHour=0\r\nShowSun=1\r\nShowPath=1\r\nUseKp=1\r\n"
      "[User]\r\nLongitude=25020\r\nLatitude=-6300\r\nTxPower=1500\r\n[RX Antennas]\r\n";
  for (int b = 0; b < kBandCount; ++b) expected += "Ant" + std::to_string(b) + "=rx" + std::to_string(b) + ".ant\r\n";
  expected += "[TX Antennas]\r\n";
  for (int b = 0; b < kBandCount; ++b) expected += "Ant" + std::to_string(b) + "=tx" + std::to_string(b) + ".ant\r\n";
  EXPECT_EQ(ini.ToText(), expected);
  EXPECT_EQ(ReadSettings(IniOf(ini.ToText())), s);
}

TEST(Settings, OtherSectionsOfTheFileAreKept) {
  TIniFile ini = IniOf("[VOACAP]\r\nProgram=/opt/voacapl\r\n[User]\r\nTxPower=5\r\n");
  WriteSettings(TVantorSettings(), ini);
  EXPECT_EQ(ini.ReadString("VOACAP", "Program"), "/opt/voacapl");
  EXPECT_EQ(ini.ReadInteger("User", "TxPower", 0), 100);
  EXPECT_EQ(ini.ToText().rfind("[VOACAP]\r\nProgram=/opt/voacapl\r\n[User]\r\nTxPower=100\r\n", 0), 0u);
}

TEST(Settings, ValuesAreBroughtIntoTheControlsRanges) {
  // A window position needs both edges.
  EXPECT_FALSE(ReadSettings(IniOf("[Window]\nLeft=-99\nTop=300\n")).HasWindowPosition());
  EXPECT_FALSE(ReadSettings(IniOf("[Window]\nLeft=300\n")).HasWindowPosition());
  EXPECT_TRUE(ReadSettings(IniOf("[Window]\nLeft=-98\nTop=-99999\n")).HasWindowPosition());
  // The map resolution is clamped: 7 selects Low, -3 High.
  EXPECT_EQ(ReadSettings(IniOf("[Settings]\nGridSize=7\n")).GridSize, 2);
  EXPECT_EQ(ReadSettings(IniOf("[Settings]\nGridSize=-3\n")).GridSize, 0);
  EXPECT_EQ(ReadSettings(IniOf("[Settings]\nGridSize=1\n")).GridSize, 1);
  // A map style the map does not know is the default style.
  EXPECT_EQ(ReadSettings(IniOf("[Settings]\nMapStyle=5\n")).MapStyle, 0);
  EXPECT_EQ(ReadSettings(IniOf("[Settings]\nMapStyle=-1\n")).MapStyle, 0);
  EXPECT_EQ(ReadSettings(IniOf("[Settings]\nMapStyle=1\n")).MapStyle, 1);
  // Booleans: any non-zero integer; text that is no number is the default.
  const TVantorSettings b = ReadSettings(IniOf("[Settings]\nShowMuf=-4\nShowBestHour=0\nShowSun=yes\n"));
  EXPECT_TRUE(b.ShowMuf);
  EXPECT_FALSE(b.ShowBestHour);
  EXPECT_FALSE(b.ShowSun);
  // The power box holds 1..9999; numbers beyond 32 bits do not wrap.
  EXPECT_EQ(ReadSettings(IniOf("[User]\nTxPower=0\n")).TxPower, 1);
  EXPECT_EQ(ReadSettings(IniOf("[User]\nTxPower=123456\n")).TxPower, 9999);
  EXPECT_EQ(ReadSettings(IniOf("[User]\nTxPower=x\n")).TxPower, 100);
  EXPECT_EQ(ReadSettings(IniOf("[Window]\nLeft=99999999999\nTop=1\n")).Left, 2147483647);
}

TEST(Settings, FractionalHomeComesBackInWholeDegreesThroughTheFrame) {
  // 43.65 N, 79.3833 W as a callbook would give them.
  TVantorSettings s = ReadSettings(IniOf("[User]\nLongitude=-14289\nLatitude=7857\n"));
  EXPECT_EQ(s.Home.X, -14289);
  TCoordFields frame;
  ShowCoordFields(frame, s.Home);
  s.Home = ReadCoordFields(frame);
  EXPECT_EQ(s.Home.X, -79 * 180);
  EXPECT_EQ(s.Home.Y, 44 * 180);
  TIniFile ini;
  WriteSettings(s, ini);
  EXPECT_EQ(ini.ReadString("User", "Longitude"), "-14220");
  EXPECT_EQ(ini.ReadString("User", "Latitude"), "7920");
}

TEST(Settings, HomeByLocatorOnlyWhereNoCoordinatesAre) {
  // 41.729 N 72.708 W, the centre of FN31pr, in 1/180 degree.
  const TIniFile byLocator = IniOf("[User]\nLocator=fn31PR\n");
  EXPECT_TRUE(HasStoredHome(byLocator));
  TVantorSettings s = ReadSettings(byLocator);
  EXPECT_EQ(s.Home.X, -13088);
  EXPECT_EQ(s.Home.Y, 7511);
  // The coordinates the window writes win over the locator.
  s = ReadSettings(IniOf("[User]\nLocator=FN31pr\nLongitude=25020\nLatitude=-6300\n"));
  EXPECT_EQ(s.Home.X, 25020);
  EXPECT_EQ(s.Home.Y, -6300);
  // One coordinate beside a locator: the locator gives the other half.
  const TIniFile half = IniOf("[User]\nLocator=FN31pr\nLatitude=-6300\n");
  EXPECT_TRUE(HasStoredHome(half));
  EXPECT_EQ(ReadSettings(half).Home.X, -13088);
  EXPECT_EQ(ReadSettings(half).Home.Y, -6300);
  // Neither a bad locator nor half the coordinates names a home.
  EXPECT_FALSE(HasStoredHome(IniOf("[User]\nLocator=ZZ99\n")));
  EXPECT_EQ(ReadSettings(IniOf("[User]\nLocator=ZZ99\n")), TVantorSettings());
  EXPECT_FALSE(HasStoredHome(IniOf("[User]\nLatitude=100\nTxPower=5\n")));
  EXPECT_FALSE(HasStoredHome(TIniFile()));
  EXPECT_TRUE(HasStoredHome(IniOf("[User]\nLongitude=0\nLatitude=0\n")));
  // Writing keeps the locator line as the user wrote it.
  TIniFile ini = IniOf("[User]\r\nLocator=fn31PR\r\n");
  WriteSettings(ReadSettings(ini), ini);
  EXPECT_EQ(ini.ReadString("User", "Locator"), "fn31PR");
}

TEST(Settings, AntennaNamesToListIndices) {
  TAlStringList files;
  files.Add("ISOTROPE.ant");
  files.Add("Dipole55.N14");
  files.Add("Yagi3.ant");
  EXPECT_EQ(SelectAntenna(files, "Yagi3.ant"), 2);
  EXPECT_EQ(SelectAntenna(files, "Dipole55.N14"), 1);
  // Deleted since the last run: the first antenna of the list.
  EXPECT_EQ(SelectAntenna(files, "Deleted.ant"), 0);
  EXPECT_EQ(SelectAntenna(files, ""), 0);
  EXPECT_EQ(SelectAntenna(TAlStringList(), "Yagi3.ant"), 0);
  EXPECT_EQ(AntennaFileAt(files, 2), "Yagi3.ant");
  EXPECT_EQ(AntennaFileAt(files, 3), "");
  EXPECT_EQ(AntennaFileAt(files, -1), "");
}

TEST(Settings, SavedOnlyAfterAReadyEngine) {
  EXPECT_TRUE(ShouldSaveSettings(vsReady));
  for (TVoaStatus s : {vsNotFound, vsTooOld, vsAntennaError, vsExecError, vsDeckError, vsOutputError, vsCancelled})
    EXPECT_FALSE(ShouldSaveSettings(s)) << int(s);
}

TEST(Settings, ChangesAreNamedAsTheWindowNamesThemButNotTheWindowsPlace) {
  const TVantorSettings before;
  TVantorSettings after = before;
  after.Left = 300, after.Top = 200;
  EXPECT_TRUE(ChangedSettings(before, after).empty());
  after.TxPower = 700;
  after.MapStyle = 1;
  after.TxAntenna[5] = "Yagi.ant";
  after.Home.Y += 180;
  EXPECT_EQ(ChangedSettings(before, after),
            (std::vector<std::string>{"map style", "home position", "power", "TX antennas"}));
}
