#include <gtest/gtest.h>

#include "common/FileUtil.h"
#include "refdata/PrefLst.h"

using namespace vx;

namespace {

const std::string kHeader = "h1\nh2\nh3\n";

// A stored line: type code, name and masks; coordinates 1 and 2.
std::string Line(const std::string& type, const std::string& name, const std::string& masks) {
  return type + "|1|2|" + name + "|c4|c5|c6|c7|c8|291|c10|x|y|" + masks + "|\n";  // "|" keeps an empty last field
}

std::string SetChars(const TCharSet& s) {
  std::string out;
  for (int c = 0; c < 256; ++c)
    if (s.Has(static_cast<unsigned char>(c))) out += static_cast<char>(c);
  return out;
}

std::string FirstSet(std::string mask) {
  std::string_view v = mask;
  return SetChars(ParseMaskPosition(v));
}

size_t CellsHolding(const TPrefixList& l, int32_t entry) {
  size_t n = 0;
  for (const auto& c : l.Cells) n += std::count(c.begin(), c.end(), entry);
  return n;
}

}  // namespace

TEST(PrefixList, HeaderTypeCodesAndFields) {
  TPrefixList l;
  EXPECT_EQ(l.LoadFromText(Line("0100", "A", "K")), TLoadStatus::lsOk);  // only header lines
  EXPECT_EQ(l.Count, 0);
  l.LoadFromText(kHeader + Line("-0102", "A", "K") + Line("L0600", "B", "F") + Line("0400", "C", "G") +
                 Line("M09", "D", "X") + "0100|a|b\n" + "zz00|1|2|3\n");
  ASSERT_EQ(l.Count, 3);
  ASSERT_EQ(l.Entries.size(), 3u);
  EXPECT_EQ(l.Entries[0].Kind, 1);
  EXPECT_EQ(l.Entries[0].Level, 2);
  EXPECT_EQ(l.Entries[1].Kind, 6);
  EXPECT_EQ(l.Entries[1].Level, 0);
  EXPECT_EQ(l.Entries[2].Kind, 9);  // a missing level reads as 0
  EXPECT_EQ(l.Entries[2].Level, 0);
  const TPrefixData& d = l.Entries[0].Data;
  EXPECT_EQ(d.Lon, 1);
  EXPECT_EQ(d.Lat, 2);
  EXPECT_EQ(d.Name, "A");
  EXPECT_EQ(d.Column8, "c8");
  EXPECT_EQ(d.EntityNumber, "291");
  EXPECT_EQ(d.Column10, "c10");
  EXPECT_EQ(l.Entries[0].Masks, "K");

  const std::string bars(10, '|');  // fields 4 to 12 empty
  l.LoadFromText(kHeader + "0100|x||N" + bars + "K|\r\n0100|99999999999|-5|N" + bars + "\"K1,2\" K3\r");
  ASSERT_EQ(l.Count, 2);
  EXPECT_EQ(l.Entries[0].Data.Lon, kNoLocation32);
  EXPECT_EQ(l.Entries[0].Data.Lat, kNoLocation32);
  EXPECT_EQ(l.Entries[1].Data.Lon, kNoLocation32);  // out of the 32-bit range
  EXPECT_EQ(l.Entries[1].Data.Lat, -5);
  EXPECT_EQ(l.Entries[1].Compiled.size(), 2u);  // "K1,2" is one quoted mask
}

TEST(PrefixList, ParentsAndChildren) {
  TPrefixList l;
  l.LoadFromText(kHeader + Line("0100", "top", "K") + Line("0400", "skipped", "") + Line("0202", "deep", "") +
                 Line("0201", "mid", "") + Line("0302", "below mid", "") + Line("0100", "next top", "N") +
                 Line("0901", "child of next", ""));
  ASSERT_EQ(l.Count, 6);
  EXPECT_EQ(l.Entries[0].Parent, -1);
  EXPECT_EQ(l.Entries[1].Parent, 0);  // level 2 right after level 0
  EXPECT_EQ(l.Entries[2].Parent, 0);  // level 1 after level 2: the level-0 entry
  EXPECT_EQ(l.Entries[3].Parent, 2);
  EXPECT_EQ(l.Entries[4].Parent, -1);
  EXPECT_EQ(l.Entries[5].Parent, 4);
  EXPECT_EQ(l.Entries[0].Children, (std::vector<int32_t>{1, 2}));
}

TEST(PrefixList, MaskPositions) {
  EXPECT_EQ(FirstSet("#x"), "0123456789");
  EXPECT_EQ(FirstSet("@"), "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_EQ(FirstSet("?").size(), 36u);
  EXPECT_EQ(FirstSet("[A-C-E]"), "ABCDE");
  EXPECT_EQ(FirstSet("[-A]"), "-A");
  EXPECT_EQ(FirstSet("[A-]"), "-A");
  EXPECT_EQ(FirstSet("[C-A]"), "AC");
  EXPECT_EQ(FirstSet("[0-2X]"), "012X");
  std::string_view m = "[AB";  // unclosed: nothing matches, reading goes on after "["
  EXPECT_EQ(SetChars(ParseMaskPosition(m)), "");
  EXPECT_EQ(m, "AB");
  m = "[K]1";
  ParseMaskPosition(m);
  EXPECT_EQ(m, "1");
  m = "";
  EXPECT_TRUE(ParseMaskPosition(m).Empty());
}

TEST(PrefixList, CommaText) {
  EXPECT_EQ(SplitCommaText(" K, N W,\"a, \"\"b\"\"\" "), (std::vector<std::string>{"K", "N", "W", "a, \"b\""}));
  EXPECT_EQ(SplitCommaText("a,,b"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(SplitCommaText("  ").empty());
}

TEST(PrefixList, CellIndex) {
  TPrefixList l;
  l.LoadFromText(kHeader + Line("0100", "K#", "K#") + Line("0600", "K", "K") + Line("0100", "range", "[A-C]@") +
                 Line("0100", "twice", "K#,K@") + Line("0200", "area", "K") + Line("0100", "slash", "G/P") +
                 Line("0100", "dot", "F.") + Line("0100", "odd", "*X,\"\""));
  EXPECT_EQ(CellsHolding(l, 0), 10u);
  EXPECT_EQ(l.Cell('K', '0'), (std::vector<int32_t>{0, 1, 3}));
  EXPECT_EQ(CellsHolding(l, 1), 36u);
  EXPECT_EQ(CellsHolding(l, 2), 3u * 26u);
  EXPECT_EQ(CellsHolding(l, 3), 36u);  // once in each of K0..K9, KA..KZ
  EXPECT_EQ(CellsHolding(l, 4), 0u);   // kind 2 stays out of the cells
  EXPECT_EQ(CellsHolding(l, 5), 0u);   // its second position is "/", which no call has
  EXPECT_EQ(CellsHolding(l, 6), 0u);
  EXPECT_EQ(CellsHolding(l, 7), 0u);
  EXPECT_TRUE(l.Cell('k', '0').empty());
  EXPECT_TRUE(l.Cell('/', '0').empty());
}

TEST(PrefixList, BadFilesLeaveWhatTheyShould) {
  TPrefixList l;
  ASSERT_EQ(l.LoadFromText(kHeader + Line("0100", "A", "K")), TLoadStatus::lsOk);
  EXPECT_EQ(l.LoadFromFile(testing::TempDir() + "no-such-prefix.lst"), TLoadStatus::lsUnreadable);
  EXPECT_EQ(l.Count, 1);  // kept
  // Too few fields on a stored line: everything goes.
  EXPECT_EQ(l.LoadFromText(kHeader + Line("0100", "A", "K") + "0100|1|2|3|4|5|6|7|8|9|10|11|12|\n"),
            TLoadStatus::lsMalformed);
  EXPECT_EQ(l.Count, 0);
  EXPECT_TRUE(l.Entries.empty());
  EXPECT_TRUE(l.Cell('K', '1').empty());
  // The same line of a kind that is not stored is simply skipped.
  EXPECT_EQ(l.LoadFromText(kHeader + "0500|1|2|3\n"), TLoadStatus::lsOk);
  std::string path = testing::TempDir() + "prefix-ok.lst";
  ASSERT_TRUE(WriteWholeFile(path, kHeader + Line("0100", "A", "K")));
  EXPECT_EQ(l.LoadFromFile(path), TLoadStatus::lsOk);
  EXPECT_EQ(l.Count, 1);
}

TEST(PrefixList, ReadingIsBoundedByWhatAPrefixListCanBe) {
  TPrefixList l;
  ASSERT_EQ(l.LoadFromText(kHeader + Line("0100", "A", "K")), TLoadStatus::lsOk);
  // An endless device is refused after a bounded read, the list kept.
  EXPECT_EQ(l.LoadFromFile("/dev/zero"), TLoadStatus::lsUnreadable);
  EXPECT_EQ(l.Count, 1);
  // Blank lines between entries are walked over, the entries counted as usual.
  ASSERT_EQ(l.LoadFromText(kHeader + std::string(100000, '\n') + Line("0100", "A", "K") + "\r\n\r\n" +
                           Line("0100", "B", "W")),
            TLoadStatus::lsOk);
  EXPECT_EQ(l.Count, 2);
  EXPECT_EQ(l.Entries[1].Data.Name, "B");
}
