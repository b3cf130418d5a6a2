#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <future>

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

TEST(UserFile, AnotherUsersLinkInASharedFolderIsRefusedLikeTheKernelDoes) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to plant a link owned by another user";
  const std::string f = Folder("sticky");
  const std::string shared = f + "tmp/";
  MakeDirectories(shared);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  std::string error;
  ASSERT_TRUE(WriteUserFile(f + "victim.txt", "precious", error)) << error;
  fs::create_symlink(f + "victim.txt", shared + "chart.bmp");
  ASSERT_EQ(::lchown((shared + "chart.bmp").c_str(), 4242, 4242), 0);

  EXPECT_FALSE(WriteUserFile(shared + "chart.bmp", "image", error));
  EXPECT_NE(error.find(shared + "chart.bmp"), std::string::npos) << error;
  EXPECT_NE(error.find("another user"), std::string::npos) << error;
  EXPECT_EQ(*ReadWholeFile(f + "victim.txt"), "precious");

  // The user's own link there, and a foreign link outside a shared folder,
  // are followed as before.
  ASSERT_EQ(::lchown((shared + "chart.bmp").c_str(), ::geteuid(), ::getegid()), 0);
  EXPECT_TRUE(WriteUserFile(shared + "chart.bmp", "mine", error)) << error;
  EXPECT_EQ(*ReadWholeFile(f + "victim.txt"), "mine");
  fs::create_symlink(f + "victim.txt", f + "plain.bmp");
  ASSERT_EQ(::lchown((f + "plain.bmp").c_str(), 4242, 4242), 0);
  EXPECT_TRUE(WriteUserFile(f + "plain.bmp", "again", error)) << error;
  EXPECT_EQ(*ReadWholeFile(f + "victim.txt"), "again");
}

TEST(UserFile, AFifoWithoutAReaderFailsAtOnceAndAReaderThatLeavesIsAFailedWrite) {
  std::signal(SIGPIPE, SIG_IGN);  // as the programs do
  const std::string f = Folder("fifo");
  const std::string fifo = f + "chart.bmp";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string error;
  // Nobody reads: refused without waiting.
  auto lonely = std::async(std::launch::async, [&] { return WriteUserFile(fifo, "image", error); });
  ASSERT_EQ(lonely.wait_for(std::chrono::seconds(20)), std::future_status::ready) << "the write hangs";
  EXPECT_FALSE(lonely.get());
  EXPECT_NE(error.find("no program reads"), std::string::npos) << error;

  // A reader that goes away: the write fails (EPIPE), it does not end us.
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  std::string error2;
  auto big = std::async(std::launch::async, [&] { return WriteUserFile(fifo, std::string(4 << 20, 'x'), error2); });
  ::close(reader);
  ASSERT_EQ(big.wait_for(std::chrono::seconds(20)), std::future_status::ready) << "the write hangs";
  EXPECT_FALSE(big.get());
  EXPECT_NE(error2.find(fifo), std::string::npos) << error2;

  // With a reader that stays, the bytes arrive.
  const int reader2 = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader2, 0);
  EXPECT_TRUE(WriteUserFile(fifo, "hello", error)) << error;
  char buf[8] = {};
  EXPECT_EQ(::read(reader2, buf, sizeof buf), 5);
  ::close(reader2);
}
