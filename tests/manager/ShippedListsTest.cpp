// Shipped lookup lists reach the reference folder before a job reads them.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "Gen.h"
#include "ManagerTestUtil.h"
#include "manager/ShippedLists.h"
#include "manager/Sources.h"

using namespace vx;

TEST(ShippedLists, CopiedOnlyWhereTheFolderHasNone) {
  const std::string dir = test::FreshFolder("ship"), shipped = dir + "share/", ref = dir + "Reference/";
  MakeDirectories(shipped);
  MakeDirectories(ref);
  WriteFileAtomic(shipped + "ZipLst.lst", "10001 NY0061  40.750650  -73.997293\r\n");

  // Only the FCC job and the sunspot forecast read a shipped list.
  for (int s = 0; s < kSourceCount; ++s) {
    if (s != srFcc) {
      EXPECT_TRUE(ProvideShippedLists(s, shipped, ref).empty()) << s;
    }
  }
  EXPECT_FALSE(FileExists(ref + "ZipLst.lst"));

  // The forecast is merged into the table the folder has, first the shipped one.
  WriteFileAtomic(shipped + "SSN.dat", "Jan 2030=50.0\r\n");
  EXPECT_EQ(ProvideShippedLists(srSsnForecast, shipped, ref), std::vector<std::string>{"SSN.dat"});
  EXPECT_EQ(test::Slurp(ref + "SSN.dat"), "Jan 2030=50.0\r\n");

  EXPECT_EQ(ProvideShippedLists(srFcc, shipped, ref), std::vector<std::string>{"ZipLst.lst"});
  EXPECT_EQ(test::Slurp(ref + "ZipLst.lst"), test::Slurp(shipped + "ZipLst.lst"));

  // The user's own list, even an empty one, stays as it is.
  WriteFileAtomic(ref + "ZipLst.lst", "");
  EXPECT_TRUE(ProvideShippedLists(srFcc, shipped, ref).empty());
  EXPECT_EQ(test::Slurp(ref + "ZipLst.lst"), "");
  // So does a link, even one that leads nowhere.
  RemoveFile(ref + "ZipLst.lst");
  ASSERT_EQ(symlink((dir + "elsewhere.lst").c_str(), (ref + "ZipLst.lst").c_str()), 0);
  EXPECT_TRUE(ProvideShippedLists(srFcc, shipped, ref).empty());
  EXPECT_FALSE(FileExists(dir + "elsewhere.lst"));
  RemoveFile(ref + "ZipLst.lst");

  // Nothing shipped, or a folder that cannot be written: nothing copied, no
  // half-written file; the job reports the list missing.
  EXPECT_TRUE(ProvideShippedLists(srFcc, dir + "nothing/", ref).empty());
  EXPECT_TRUE(ProvideShippedLists(srFcc, shipped, dir + "no/such/folder/").empty());
  EXPECT_FALSE(FileExists(ref + "ZipLst.lst"));
}

TEST(ShippedLists, FccJobOfAFreshInstallationFindsTheZipList) {
  // A new user: empty home, data and configuration folders.
  const std::string home = test::FreshFolder("shipcli");
  const std::string ref = home + "data/Vexmoor/Reference/";
  gen::TFccOptions o;
  o.Records = 300;
  WriteFileAtomic(home + "l_amat.zip", gen::ZipWith("EN.dat", gen::GenerateFccEn(o)));
  auto run = [&](const std::string& args) {
    const std::string cmd = "HOME='" + home + "' XDG_DATA_HOME='" + home + "data' XDG_CONFIG_HOME='" + home +
                            "config' XDG_CACHE_HOME='" + home + "cache' '" + VX_BIN_DIR + "/kestrix' " + args + " >'" +
                            home + "out.txt' 2>'" + home + "err.txt'";
    const int st = std::system(cmd.c_str());
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  };
  EXPECT_EQ(run("--headless --from-file '" + home + "l_amat.zip' 2"), 0) << test::Slurp(home + "err.txt");
  EXPECT_EQ(test::Slurp(home + "out.txt"), "FCC database imported: 300 calls\n");
  EXPECT_EQ(test::Slurp(ref + "ZipLst.lst"), test::Slurp(std::string(VX_BIN_DIR) + "/ZipLst.lst"));
  EXPECT_EQ(test::Slurp(ref + "FccCB.idx").size(), 300u * 32);

  // Other jobs leave the folder without it.
  RemoveFile(ref + "ZipLst.lst");
  WriteFileAtomic(home + "lotw1.txt", "K1ABC,2024\r\n");
  EXPECT_EQ(run("--headless --from-file '" + home + "lotw1.txt' 1"), 0);
  EXPECT_FALSE(FileExists(ref + "ZipLst.lst"));
}
