#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>

#include "ManagerTestUtil.h"
#include "manager/Staging.h"

using namespace vx;

TEST(FileStager, CommitsAllOrNothing) {
  const std::string dir = test::FreshFolder("stage");
  ASSERT_TRUE(MakeDirectories(dir + "a"));
  ASSERT_TRUE(WriteFileAtomic(dir + "a/x", "old x"));
  {
    TFileStager s;
    s.Stage(dir + "a/x", "new x");
    s.Stage(dir + "a/w", "new w");
    s.Stage(dir + "b/y", "new y");  // creates the folder b
    std::filesystem::remove_all(dir + "b");  // the third rename will fail
    EXPECT_THROW(s.Commit(), std::runtime_error);
  }
  EXPECT_EQ(test::Slurp(dir + "a/x"), "old x");
  EXPECT_FALSE(FileExists(dir + "a/w"));
  size_t left = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) left += e.is_regular_file();
  EXPECT_EQ(left, 1u);  // no temporary or backup names remain

  {
    TFileStager s;
    s.Stage(dir + "a/x", "new x");
    s.Stage(dir + "c/d/y", "");
    s.Commit();
  }
  EXPECT_EQ(test::Slurp(dir + "a/x"), "new x");
  EXPECT_EQ(test::Slurp(dir + "c/d/y"), "");
  {
    TFileStager s;
    s.Stage(dir + "a/x", "never committed");
  }
  EXPECT_EQ(test::Slurp(dir + "a/x"), "new x");
}

// A file system without hard links: link() fails for every file. The test
// program's own link() stands in for the C library's while this is set.
static bool gNoHardLinks = false;
extern "C" int link(const char* from, const char* to) {
  if (gNoHardLinks) {
    errno = EPERM;
    return -1;
  }
  return ::linkat(AT_FDCWD, from, AT_FDCWD, to, 0);
}

TEST(FileStager, KeepsThePreviousFilesWithoutHardLinks) {
  const std::string dir = test::FreshFolder("stage-nolink");
  ASSERT_TRUE(MakeDirectories(dir + "a"));
  ASSERT_TRUE(WriteFileAtomic(dir + "a/x", "old x"));
  ASSERT_TRUE(WriteFileAtomic(dir + "a/y", "old y"));
  gNoHardLinks = true;
  {
    TFileStager s;
    s.Stage(dir + "a/x", "new x");
    s.Stage(dir + "a/y", "new y");
    s.Stage(dir + "b/z", "new z");
    std::filesystem::remove_all(dir + "b");  // the third rename will fail
    EXPECT_THROW(s.Commit(), std::runtime_error);
  }
  EXPECT_EQ(test::Slurp(dir + "a/x"), "old x");
  EXPECT_EQ(test::Slurp(dir + "a/y"), "old y");
  size_t left = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) left += e.is_regular_file();
  EXPECT_EQ(left, 2u);  // no temporary or backup names remain

  {
    TFileStager s;
    s.Stage(dir + "a/x", "new x");
    s.Stage(dir + "a/y", "new y");
    s.Commit();
  }
  gNoHardLinks = false;
  EXPECT_EQ(test::Slurp(dir + "a/x"), "new x");
  EXPECT_EQ(test::Slurp(dir + "a/y"), "new y");
  left = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) left += e.is_regular_file();
  EXPECT_EQ(left, 2u);
}
