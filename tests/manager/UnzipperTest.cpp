#include <gtest/gtest.h>

#include <fstream>

#include "ZipWriter.h"
#include "manager/Unzipper.h"

using namespace vx;
using vx::gen::TZipMember;
using vx::gen::TZipWriter;

namespace {

// Peak resident memory of this process in kB (Linux).
long PeakKb() {
  std::ifstream f("/proc/self/status");
  std::string line;
  while (std::getline(f, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return 0;
}

void Poke32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

TEST(Unzipper, ListsMembersInArchiveOrderSkippingEmptyOnes) {
  TZipWriter w;
  w.AddFolder("data/");
  w.Add("data/sub/EN.dat", "first member", true);
  w.Add("readme.txt", "stored text", false);
  w.Add("readme.txt", "same name again", true);
  const std::string zip = w.Build();
  TUnZipper z;
  z.Open(zip);
  ASSERT_EQ(z.Count(), 3);  // the folder entry is not listed
  EXPECT_EQ(z.GetInfo(0).Path, "data\\sub\\");
  EXPECT_EQ(z.GetInfo(0).Name, "EN.dat");
  EXPECT_EQ(z.GetInfo(0).Method, 8);
  EXPECT_EQ(z.GetInfo(1).Path, "");
  EXPECT_EQ(z.GetInfo(1).Method, 0);
  EXPECT_EQ(z.Extract(0), "first member");
  EXPECT_EQ(z.Extract(1), "stored text");
  EXPECT_EQ(z.Extract(2), "same name again");
  EXPECT_EQ(z.IndexOfName("readme.txt"), 1);
  EXPECT_EQ(z.IndexOfName("README.TXT"), -1);
  // 2025-04-07 12:00 as a day count.
  EXPECT_DOUBLE_EQ(z.GetInfo(0).DateTime, 45754.5);
}

TEST(Unzipper, StopsAtDataDescriptorsJunkAndTruncation) {
  TZipWriter w;
  w.Add("a.txt", "aaaa");
  TZipMember d;
  d.Name = "streamed.txt";
  d.Data = "written with a descriptor";
  d.DataDescriptor = true;
  w.Add(d);
  w.Add("c.txt", "cccc");
  TUnZipper z;
  const std::string zip = w.Build();
  z.Open(zip);
  ASSERT_EQ(z.Count(), 1);  // sizes 0: not listed, and its data are not skipped
  EXPECT_EQ(z.GetInfo(0).Name, "a.txt");

  z.Open("this is not a zip archive at all");
  EXPECT_EQ(z.Count(), 0);
  z.Open("");
  EXPECT_EQ(z.Count(), 0);

  // Cut inside the second member's data: it is listed but cannot be extracted.
  TZipWriter w2;
  w2.Add("one.txt", std::string(3000, 'x'), false);
  w2.Add("two.txt", std::string(3000, 'y'), false);
  const std::string full = w2.Build();
  const std::string cut = full.substr(0, full.size() / 2 + 100);
  z.Open(cut);
  ASSERT_EQ(z.Count(), 2);
  EXPECT_EQ(z.Extract(0), std::string(3000, 'x'));
  try {
    z.Extract(1);
    FAIL();
  } catch (const EZipError& e) {
    EXPECT_STREQ(e.what(), "Zip file corrupt");
  }
  EXPECT_THROW(z.Extract(2), EZipError);
  z.Close();
  EXPECT_THROW(z.Extract(0), EZipError);  // the list survives, the input does not
  EXPECT_EQ(z.Count(), 2);
}

TEST(Unzipper, RefusesDamagedMembers) {
  const std::string text(5000, 'q');
  TZipWriter w;
  w.Add("m.txt", text);
  const std::string good = w.Build();
  TUnZipper z;

  std::string badCrc = good;
  badCrc[14] ^= 1;  // CRC field of the local header
  z.Open(badCrc);
  EXPECT_THROW(z.Extract(0), EZipError);

  std::string badData = good;
  badData[30 + 5] = static_cast<char>(0xFF);  // first byte of the deflate data
  z.Open(badData);
  EXPECT_THROW(z.Extract(0), EZipError);

  std::string encrypted = good;
  encrypted[6] |= 1;
  z.Open(encrypted);
  ASSERT_EQ(z.Count(), 1);
  EXPECT_TRUE(z.GetInfo(0).Encrypted);
  EXPECT_THROW(z.Extract(0), EZipError);

  // A header claiming more than the data hold.
  std::string longer = good;
  Poke32(longer, 22, 6000);
  z.Open(longer);
  EXPECT_THROW(z.Extract(0), EZipError);
}

TEST(Unzipper, HugeClaimedSizeDoesNotAllocateIt) {
  TZipWriter w;
  w.Add("bomb.txt", "tiny");
  std::string zip = w.Build();
  Poke32(zip, 22, 0x7FFFFFF0);  // nearly 2 GB uncompressed, from a few bytes
  TUnZipper z;
  z.Open(zip);
  ASSERT_EQ(z.Count(), 1);
  EXPECT_EQ(z.GetInfo(0).Size, 0x7FFFFFF0);
  const long before = PeakKb();
  EXPECT_THROW(z.Extract(0), EZipError);
  EXPECT_LT(PeakKb() - before, 64 * 1024);
}

TEST(Unzipper, DosDates) {
  EXPECT_DOUBLE_EQ(DosDateTimeToDays((20 << 9) | (1 << 5) | 1, 0), 36526.0);  // 2000-01-01
  EXPECT_EQ(DosDateTimeToDays(0, 0), 0.0);                                    // month 0
  EXPECT_EQ(DosDateTimeToDays((21 << 9) | (2 << 5) | 29, 0), 0.0);            // 2001-02-29
}
