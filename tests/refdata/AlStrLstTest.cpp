#include <gtest/gtest.h>

#include "common/FileUtil.h"
#include "refdata/AlStrLst.h"

using namespace vx;

TEST(AlStringList, SortsAndFindsByBytes) {
  TAlStringList l;
  for (auto s : {"b", "B", "a", "\xB0x", "a"}) l.Add(s);
  l.Sort();
  EXPECT_EQ(l[0], "B");  // upper case before lower case, high bytes last
  EXPECT_EQ(l[4], "\xB0x");
  size_t i = 99;
  EXPECT_TRUE(l.Find("a", i));
  EXPECT_EQ(i, 1u);  // the first of equal lines
  EXPECT_FALSE(l.Find("ab", i));
  EXPECT_EQ(i, 3u);  // insertion point
}

TEST(AlStringList, FindLineNeedsTheWholeKey) {
  TAlStringList l;
  l.SetText("K1ABCD 5\nK1ABC=123\nK1AB x\n");
  EXPECT_EQ(l.FindLine("K1ABC"), "K1ABC=123");
  l.SetText("K1ABC 1\nK1ABC=2\n");
  EXPECT_EQ(l.FindLine("K1ABC"), "K1ABC 1");
  l.SetText("K1ABC   ADIF291 \n");
  EXPECT_EQ(l.ValueOf("K1ABC"), "ADIF291");
  EXPECT_EQ(l.ValueOf("K1AB"), "");
}

TEST(AlStringList, ManagerVariantMakesOneProbe) {
  TAlStringList l;
  l.SetText("K1ABC=1\nK1ABC 2\n");
  // Sorted: "K1ABC 2" < "K1ABC=1"; the probe for the key lands on the first.
  EXPECT_EQ(l.FindLineSingleProbe("K1ABC"), "K1ABC 2");
  l.SetText("K1ABCD 5\n");
  EXPECT_EQ(l.FindLineSingleProbe("K1ABC"), "");
  l.SetText("K1ABC=\n");  // too short: key + separator + nothing
  EXPECT_EQ(l.FindLineSingleProbe("K1ABC"), "");
}

TEST(AlStringList, DelimitedItems) {
  TAlStringList l;
  l.SetDelimitedItems("a||\"x|y\"|b c");
  ASSERT_EQ(l.Count(), 4u);
  EXPECT_EQ(l[1], "");
  EXPECT_EQ(l[2], "x|y");
  EXPECT_EQ(l[3], "b c");
  l.SetDelimitedItems("\x01\x02one|\"say \"\"hi\"\"\"");
  ASSERT_EQ(l.Count(), 2u);
  EXPECT_EQ(l[0], "one");
  EXPECT_EQ(l[1], "say \"hi\"");
  l.SetDelimitedItems(std::string("a\0|b", 4));
  EXPECT_EQ(l.Count(), 1u);
}

TEST(AlStringList, FileNamesAndRemoveAll) {
  std::string dir = testing::TempDir() + "alstr-files/";
  MakeDirectories(dir + "sub");
  for (auto n : {"b.ant", "A.ant", ".hidden", "c.txt"}) WriteWholeFile(dir + n, "x");
  TAlStringList files;
  files.LoadFileNames(dir + "*.*");
  ASSERT_EQ(files.Count(), 3u);
  EXPECT_EQ(files[0], "A.ant");
  EXPECT_EQ(files[2], "c.txt");
  TAlStringList ants;
  ants.LoadFileNames(dir + "*.ANT");
  EXPECT_EQ(ants.Count(), 2u);
  TAlStringList other;
  other.Add("b.ant");
  other.Add("zzz");
  files.RemoveAll(other);
  EXPECT_EQ(files.Count(), 2u);
  EXPECT_EQ(files.IndexOf("b.ant"), -1);
}

TEST(AlStringList, KeepsLinesNotBlanksAndReadsBoundedFiles) {
  TAlStringList l;
  l.SetText("K1ABC\r\n\r\n\n\nW1AW\r\n" + std::string(50000, '\n') + "JA1XYZ");
  ASSERT_EQ(l.Count(), 3u);
  EXPECT_EQ(l[1], "W1AW");
  // An endless device fails after a bounded read and leaves the list empty.
  EXPECT_FALSE(l.LoadFromFile("/dev/zero"));
  EXPECT_EQ(l.Count(), 0u);
}
