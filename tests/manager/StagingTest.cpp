#include <gtest/gtest.h>

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
