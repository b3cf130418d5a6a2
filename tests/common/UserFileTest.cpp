#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "common/FileUtil.h"
#include "common/UserFile.h"

using namespace vx;
namespace fs = std::filesystem;

namespace {

std::string Folder(const std::string& name) {
  std::string f = testing::TempDir() + "userfile-" + name + "/";
  fs::remove_all(f);
  MakeDirectories(f);
  return f;
}

size_t Entries(const std::string& folder) {
  return size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

}  // namespace

TEST(UserFile, ReplacesARegularFileWholeAndKeepsItsMode) {
  const std::string f = Folder("regular");
  std::string error;
  ASSERT_TRUE(WriteUserFile(f + "a.bmp", "first", error)) << error;
  ::chmod((f + "a.bmp").c_str(), 0640);
  ASSERT_TRUE(WriteUserFile(f + "a.bmp", "second", error)) << error;
  EXPECT_EQ(*ReadWholeFile(f + "a.bmp"), "second");
  struct stat st {};
  ::stat((f + "a.bmp").c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(Entries(f), 1u);  // no temporary file left
}

TEST(UserFile, WritesThroughLinksAndIntoDevices) {
  const std::string f = Folder("links");
  std::string error;
  ASSERT_TRUE(WriteUserFile(f + "target.png", "old", error));
  fs::create_symlink("target.png", f + "link.png");
  ASSERT_TRUE(WriteUserFile(f + "link.png", "new", error)) << error;
  EXPECT_TRUE(fs::is_symlink(f + "link.png"));  // still a link
  EXPECT_EQ(*ReadWholeFile(f + "target.png"), "new");
  // A dangling link gets its target made.
  fs::create_symlink("later.png", f + "dangling.png");
  ASSERT_TRUE(WriteUserFile(f + "dangling.png", "made", error)) << error;
  EXPECT_EQ(*ReadWholeFile(f + "later.png"), "made");
  // A device stays a device.
  ASSERT_TRUE(WriteUserFile("/dev/null", "into the void", error)) << error;
  struct stat st {};
  ::stat("/dev/null", &st);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST(UserFile, FailuresNameTheFileAndTheReasonAndLeaveNothingBehind) {
  std::string error;
  // A full device: every write fails.
  EXPECT_FALSE(WriteUserFile("/dev/full", std::string(100000, 'x'), error));
  EXPECT_NE(error.find("/dev/full"), std::string::npos);
  EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;

  const std::string f = Folder("fail");
  EXPECT_FALSE(WriteUserFile(f + "no/such/folder/c.png", "x", error));
  EXPECT_NE(error.find("c.png"), std::string::npos);
  EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;

  // A folder in the way of the rename: the old entry stays, no temporary file.
  MakeDirectories(f + "taken.png");
  EXPECT_FALSE(WriteUserFile(f + "taken.png", "x", error));
  EXPECT_TRUE(fs::is_directory(f + "taken.png"));
  EXPECT_EQ(Entries(f), 1u);
}
