#include <gtest/gtest.h>

#include <filesystem>

#include "common/FileUtil.h"
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
  EXPECT_EQ(ini.ToText(), "; comment\r\n[URL]\r\nFcc=http://c\r\nRac=r\r\n\r\n[Other]\r\nX = 5 \r\n[New]\r\nKey=v\r\n");
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

TEST(Ini, SectionNamesWithSpacesAndValuesWithEquals) {
  TIniFile ini;
  ini.LoadFromText("[Map Settings]\r\nUrl = http://host/get?a=1&b=2 \r\n[ Padded Name ]\r\nK=\"=quoted=\"\r\n");
  EXPECT_TRUE(ini.SectionExists("map settings"));
  EXPECT_EQ(ini.ReadString("MAP SETTINGS", "url"), "http://host/get?a=1&b=2");  // split at the first "="
  EXPECT_EQ(ini.ReadString("Padded Name", "K"), "=quoted=");
  EXPECT_FALSE(ini.SectionExists("Map"));
  ini.WriteString("Map Settings", "Url", "a=b=c");
  ini.WriteString("New Section", "Key Name", "x = y");
  EXPECT_EQ(ini.ReadString("Map Settings", "Url"), "a=b=c");
  EXPECT_EQ(ini.ReadString("new section", "key name"), "x = y");
  EXPECT_EQ(ini.ToText(),
            "[Map Settings]\r\nUrl=a=b=c\r\n[ Padded Name ]\r\nK=\"=quoted=\"\r\n[New Section]\r\nKey Name=x = y\r\n");
}

TEST(Ini, KeysAreWrittenInTheOrderGiven) {
  TIniFile ini;
  ini.LoadFromText("[A]\r\nFirst=1\r\n\r\n[B]\r\nX=1\r\n");
  for (const char* k : {"Zulu", "Alpha", "Mike"}) ini.WriteString("A", k, k);
  for (const char* k : {"3", "1", "2"}) ini.WriteString("C", k, k);
  EXPECT_EQ(ini.ReadSection("a"), (std::vector<std::string>{"First", "Zulu", "Alpha", "Mike"}));
  EXPECT_EQ(ini.ReadSection("C"), (std::vector<std::string>{"3", "1", "2"}));
  // New keys follow the section's last key, before its blank line.
  EXPECT_EQ(
      ini.ToText(),
      "[A]\r\nFirst=1\r\nZulu=Zulu\r\nAlpha=Alpha\r\nMike=Mike\r\n\r\n[B]\r\nX=1\r\n[C]\r\n3=3\r\n1=1\r\n2=2\r\n");
}

TEST(Ini, CrLfAndLfFilesReadAlikeAndAreWrittenWithCrLf) {
  const std::string dir = testing::TempDir() + "ini-line-ends/";
  std::filesystem::remove_all(dir);
  MakeDirectories(dir);
  ASSERT_TRUE(WriteWholeFile(dir + "lf.ini", "; note\n[S]\nA=1\nB=two\n"));
  ASSERT_TRUE(WriteWholeFile(dir + "crlf.ini", "; note\r\n[S]\r\nA=1\r\nB=two\r\n"));
  TIniFile lf = TIniFile::Load(dir + "lf.ini"), crlf = TIniFile::Load(dir + "crlf.ini");
  for (const TIniFile* ini : {&lf, &crlf}) {
    EXPECT_EQ(ini->ReadInteger("S", "A", 0), 1);
    EXPECT_EQ(ini->ReadString("S", "B"), "two");  // no CR left on the value
  }
  lf.WriteString("S", "C", "3");
  ASSERT_TRUE(lf.UpdateFile());
  EXPECT_EQ(ReadWholeFile(dir + "lf.ini"), "; note\r\n[S]\r\nA=1\r\nB=two\r\nC=3\r\n");
}

TEST(Ini, AMissingFileIsEmptyUntilWritten) {
  const std::string dir = testing::TempDir() + "ini-missing/";
  std::filesystem::remove_all(dir);
  TIniFile ini = TIniFile::Load(dir + "sub/Prog.ini");
  EXPECT_FALSE(ini.SectionExists("S"));
  EXPECT_EQ(ini.ReadString("S", "K", "default"), "default");
  EXPECT_FALSE(FileExists(dir + "sub/Prog.ini"));  // reading creates nothing
  ini.WriteString("S", "K", "v");
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(ReadWholeFile(dir + "sub/Prog.ini"), "[S]\r\nK=v\r\n");
  EXPECT_FALSE(TIniFile().UpdateFile());  // no file name, nothing to write
}

TEST(Ini, TheFirstOfDuplicateKeysCounts) {
  TIniFile ini;
  ini.LoadFromText("[S]\r\nK=first\r\nk=second\r\n");
  EXPECT_EQ(ini.ReadString("S", "K"), "first");
  ini.WriteString("S", "K", "new");  // replaces the one that is read
  EXPECT_EQ(ini.ReadString("S", "K"), "new");
  EXPECT_EQ(ini.ToText(), "[S]\r\nK=new\r\nk=second\r\n");
  ini.DeleteKey("S", "K");  // then the next one shows
  EXPECT_EQ(ini.ReadString("S", "K"), "second");
}
