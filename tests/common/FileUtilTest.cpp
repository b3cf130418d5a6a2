#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "common/DayCount.h"
#include "common/FileUtil.h"

using namespace vx;
namespace fs = std::filesystem;

namespace {

std::string Fresh(const std::string& tag) {
  const std::string dir = testing::TempDir() + "fileutil-" + tag + "/";
  fs::remove_all(dir);
  MakeDirectories(dir);
  return dir;
}

size_t FilesIn(const std::string& dir) {
  size_t n = 0;
  for (const auto& e : fs::directory_iterator(dir)) n += e.is_regular_file() || e.is_symlink();
  return n;
}

}  // namespace

TEST(FileUtil, AtomicWriteReplacesAndLeavesNoTemporaryFile) {
  const std::string dir = Fresh("atomic");
  ASSERT_TRUE(WriteFileAtomic(dir + "a.txt", "one"));
  ASSERT_TRUE(WriteFileAtomic(dir + "a.txt", "two"));
  EXPECT_EQ(ReadWholeFile(dir + "a.txt"), "two");
  EXPECT_EQ(FilesIn(dir), 1u);
  EXPECT_FALSE(WriteFileAtomic(dir + "missing/a.txt", "x"));
  EXPECT_FALSE(WriteFileAtomic(dir, "x"));  // a folder is never replaced
  EXPECT_TRUE(DirectoryExists(dir));
}

TEST(FileUtil, AtomicWriteGoesThroughLinksAndKeepsPermissions) {
  const std::string dir = Fresh("links");
  ASSERT_TRUE(WriteFileAtomic(dir + "real.txt", "old"));
  ::chmod((dir + "real.txt").c_str(), 0640);
  fs::create_symlink("real.txt", dir + "link.txt");
  ASSERT_TRUE(WriteFileAtomic(dir + "link.txt", "new"));
  EXPECT_TRUE(fs::is_symlink(dir + "link.txt"));  // the link stays a link
  EXPECT_EQ(ReadWholeFile(dir + "real.txt"), "new");
  struct stat st {};
  ASSERT_EQ(::stat((dir + "real.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);

  fs::create_symlink("later.txt", dir + "dangling.txt");  // names a file to be made
  ASSERT_TRUE(WriteFileAtomic(dir + "dangling.txt", "made"));
  EXPECT_EQ(ReadWholeFile(dir + "later.txt"), "made");

  // Something that is not a file is written into, never replaced.
  ASSERT_TRUE(WriteFileAtomic("/dev/null", "discarded"));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST(FileUtil, DurableWriteReportsTheReason) {
  const std::string dir = Fresh("durable");
  EXPECT_EQ(WriteDurably(dir + "f", "abc"), 0);
  EXPECT_EQ(ReadWholeFile(dir + "f"), "abc");
  EXPECT_EQ(WriteDurably(dir + "no/such/folder/f", "abc"), ENOENT);
  const std::string a = TemporaryNameBeside(dir + "f", ".part"), b = TemporaryNameBeside(dir + "f", ".part");
  EXPECT_NE(a, b);
  EXPECT_EQ(a.rfind(dir + "f.part", 0), 0u);
}

TEST(DayCount, TheTimeOfDay) {
  EXPECT_DOUBLE_EQ(DayFraction(39522.75), 0.75);
  EXPECT_DOUBLE_EQ(DayFraction(-0.25), 0.75);  // before 1899-12-30: still the time of that day
  const double now = UtcNow();
  EXPECT_GT(now, EncodeDayCount({2024, 1, 1}));
  EXPECT_GE(DayFraction(now), 0.0);
  EXPECT_LT(DayFraction(now), 1.0);
}
