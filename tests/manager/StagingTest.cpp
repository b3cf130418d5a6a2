#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

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
    s.Stage(dir + "b/y", "new y");           // creates the folder b
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

// A job stages the detail file it reads: whatever replaces it meanwhile, the
// commit installs the index beside the very file it was built from.
TEST(FileStager, AnExistingFileIsInstalledAsItWasRead) {
  const std::string dir = test::FreshFolder("stage-existing");
  ASSERT_TRUE(WriteFileAtomic(dir + "FccCB.dat", "400k calls"));
  TFileStager s;
  const std::string read = s.StageExisting(dir + "FccCB.dat");
  EXPECT_EQ(test::Slurp(read), "400k calls");
  ASSERT_TRUE(WriteFileAtomic(dir + "FccCB.dat", "20k calls"));  // another import, meanwhile
  s.Stage(dir + "FccCB.idx", "index of 400k calls");
  s.Commit();
  EXPECT_EQ(test::Slurp(dir + "FccCB.dat"), "400k calls");
  EXPECT_EQ(test::Slurp(dir + "FccCB.idx"), "index of 400k calls");
  EXPECT_THROW(s.StageExisting(dir + "missing.dat"), std::runtime_error);
}

TEST(FileStager, StagedFilesGoWhenTheJobIsKilledAndLeftoversAreSwept) {
  const std::string dir = test::FreshFolder("stage-killed");
  // A job killed by SIGTERM in the middle: its staged file goes with it.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    RemoveStagedFilesOnSignals();
    TFileStager s;
    s.Stage(dir + "FccCB.dat", std::string(100000, 'x'));
    ::raise(SIGTERM);
    ::_exit(0);  // not reached
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  size_t left = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir)) left += e.is_regular_file();
  EXPECT_EQ(left, 0u);

  // Files of a job that died without a chance (SIGKILL, power loss) are
  // swept by the next job; those of a job still running stay.
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, &status, 0);
  const std::string dead = dir + "FccCB.dat.part" + std::to_string(gone) + "-0";
  const std::string deadBackup = dead + ".old";
  const std::string alive = dir + "RacCB.dat.part" + std::to_string(::getpid()) + "-3";
  for (const std::string& f : {dead, deadBackup, alive}) ASSERT_TRUE(WriteFileAtomic(f, "staged"));
  ASSERT_TRUE(WriteFileAtomic(dir + "notes.partial", "the user's"));
  EXPECT_EQ(SweepStaleStagedFiles(dir), 2);
  EXPECT_FALSE(FileExists(dead));
  EXPECT_FALSE(FileExists(deadBackup));
  EXPECT_TRUE(FileExists(alive));
  EXPECT_TRUE(FileExists(dir + "notes.partial"));
}
