#include <gtest/gtest.h>

#include "common/Ini.h"

using namespace vx;

TEST(Ini, LookupIgnoresCaseButKeepsSpelling) {
  TIniFile ini;
  ini.LoadFromText("; comment\r\n[URL]\r\nFcc=http://a/b\r\n\r\n[Other]\r\nX = 5 \r\n");
  EXPECT_EQ(ini.ReadString("url", "FCC"), "http://a/b");
  EXPECT_EQ(ini.ReadInteger("OTHER", "x", 0), 5);
  ini.WriteString("URL", "FCC", "http://c");
  ini.WriteString("url", "Rac", "r");
  ini.WriteString("New", "Key", "v");
  EXPECT_EQ(ini.ToText(),
            "; comment\r\n[URL]\r\nFcc=http://c\r\nRac=r\r\n\r\n[Other]\r\nX = 5 \r\n[New]\r\nKey=v\r\n");
  ini.DeleteKey("URL", "fcc");
  EXPECT_FALSE(ini.ValueExists("URL", "Fcc"));
  EXPECT_EQ(ini.ReadInteger("Other", "missing", -3), -3);
  EXPECT_EQ(ini.ReadInteger("New", "Key", 9), 9);
}

TEST(Ini, SavesAndReloads) {
  std::string f = testing::TempDir() + "ini-test/Sub/Test.ini";
  {
    TIniFile ini = TIniFile::Load(f);
    ini.WriteInteger("A", "N", 0x10);
    ini.WriteBool("A", "B", true);
    ASSERT_TRUE(ini.UpdateFile());
  }
  TIniFile again = TIniFile::Load(f);
  EXPECT_EQ(again.ReadInteger("a", "n", 0), 16);
  EXPECT_TRUE(again.ReadBool("a", "b", false));
}
