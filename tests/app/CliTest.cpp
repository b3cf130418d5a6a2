// vantor-cli end to end, against the stand-in propagation program.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "common/FileUtil.h"

using namespace vx;

namespace {

// ctest runs the cases as parallel processes: each gets its own folders, so
// that no two runs of the stand-in share a data folder.
std::string Home() {
  return testing::TempDir() + "cli-" + testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
}

struct Result {
  int code = -1;
  std::string out, err;
};

// Runs vantor-cli with its folders in a private temporary place.
Result Cli(const std::string& args, const std::string& env = "") {
  const std::string root = Home();
  const std::string errFile = root + "stderr.txt";
  MakeDirectories(root);
  std::string cmd = "XDG_CONFIG_HOME=" + root + "cfg XDG_CACHE_HOME=" + root + "cache " + env + " " + VX_CLI + " " +
                    args + " 2>" + errFile;
  Result r;
  FILE* p = popen(cmd.c_str(), "r");
  char buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  int st = pclose(p);
  r.code = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  r.err = ReadWholeFile(errFile).value_or("");
  return r;
}

std::string DataFolder() {
  std::string f = Home() + "itshfbc/";
  if (!DirectoryExists(f)) {
    MakeDirectories(f + "run");
    MakeDirectories(f + "database");
    WriteWholeFile(f + "database/version.w32", "Version 16.1207W\n");
  }
  return f;
}

std::string Voacap() { return std::string(" --voacap ") + VX_FAKE_VOACAP + " --itshfbc " + DataFolder(); }

const char* kPoint = "predict --home 44,-79 --dx 51,0 --year 2008 --month 3 --ssn 50";
const char* kArea = "area --home 44,-79 --band 3 --hour 12 --grid 16 --month 3 --ssn 50";

}  // namespace

TEST(Cli, DeckIsWrittenByteForByte) {
  Result r = Cli(std::string(kPoint) + " --deck");
  ASSERT_EQ(r.code, 0) << r.err;
  std::string expected = *ReadWholeFile(std::string(VX_FIXTURES) + "/voacap/p2p/p2p01.dat");
  expected.replace(expected.find("default/isotrope     "), 21, "Vantor/ISOTROPE.ant  ");
  for (size_t p; (p = expected.find("default/isotrope     ")) != std::string::npos;)
    expected.replace(p, 21, "Vantor/ISOTROPE.ant  ");
  EXPECT_EQ(r.out, expected);

  r = Cli("predict --home -33.87,151.21 --dx 51.5,-0.13 --year 2019 --month 12 --ssn 5 --deck --tx-antenna D.ant");
  EXPECT_NE(r.out.find("CIRCUIT   33.87S   151.21E    51.50N     0.13W  S     0\r\n"), std::string::npos);
  EXPECT_NE(r.out.find("[Vantor/D.ant         ]  0.0    0.1000"), std::string::npos);
  EXPECT_NE(r.out.find("ANTENNA       2    9    2    5     0.000[Vantor/ISOTROPE.ant  ]"), std::string::npos);

  r = Cli(std::string(kArea) + " --deck --long");
  EXPECT_NE(r.out.find("HOME                 Long \r\nGridsize :   16    1\r\n"), std::string::npos);
}

TEST(Cli, PredictPrintsWhatTheProgramWrote) {
  Result r = Cli(std::string(kPoint) + Voacap());
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.find("{\"status\": 0, \"statusText\": \"VOACAP is ready\", \"muf\": [22, 10.5, 11,"), 0u);
  // Stand-in values for 2 MHz: hour 1 -3 dB, mode "4 E" (hour 0 repeats hour 24).
  EXPECT_NE(r.out.find("{\"mhz\": 2, \"snr\": [6, -3, 0, 3,"), std::string::npos);
  EXPECT_NE(r.out.find("\"mode\": [\"2F2\", \"4 E\", \"2F2\""), std::string::npos);
  EXPECT_NE(r.out.find("{\"mhz\": 30, "), std::string::npos);
}

TEST(Cli, FailuresGiveExitCodeOneAndTheStatusText) {
  Result r = Cli(std::string(kPoint) + Voacap(), "VOACAP_FAKE_EXIT=1");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Error executing VOACAPW.exe"), std::string::npos);
  EXPECT_NE(r.out.find("\"status\": 4"), std::string::npos);
  EXPECT_NE(r.out.find("\"snr\": [null, null"), std::string::npos);

  r = Cli(std::string(kPoint) + " --voacap " + VX_FAKE_VOACAP + " --itshfbc /nonexistent/itshfbc");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("VOACAP not found"), std::string::npos);
  EXPECT_NE(r.err.find("makeitshfbc"), std::string::npos);

  r = Cli(std::string(kPoint) + Voacap() + " --tx-antenna Missing.ant");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Missing.ant"), std::string::npos);
}

TEST(Cli, ARelativeProgramPathStillNamesTheProgram) {
  // The child runs in the data folder; the path given is relative to ours.
  std::string rel = std::filesystem::relative(VX_FAKE_VOACAP).string();
  Result r = Cli(std::string(kPoint) + " --voacap " + rel + " --itshfbc " + DataFolder().substr(0, DataFolder().size() - 1));
  EXPECT_EQ(r.code, 0) << r.err;
}

TEST(Cli, BadOptionsAreRejected) {
  for (const char* args : {"predict --home 44,-79 --year 2008 --month 3 --ssn 50",
                           "predict --home 95,0 --dx 0,0 --year 2008 --month 3 --ssn 50",
                           "predict --home 44,-79 --dx 51,0 --year 2008 --month 13 --ssn 50",
                           "area --home 44,-79 --band 3 --hour 12 --grid 20 --month 3 --ssn 50",
                           "area --home 44,-79 --band 8 --hour 12 --grid 16 --month 3 --ssn 50",
                           "predict --home 44,-79 --dx 51,0 --year 2008 --month 3 --ssn 50 --bogus 1", "frobnicate"}) {
    Result r = Cli(args);
    EXPECT_EQ(r.code, 2) << args;
    EXPECT_FALSE(r.err.empty()) << args;
  }
}

TEST(Cli, AreaUsesAndFillsTheCache) {
  std::filesystem::remove_all(Home() + "cache");
  Result r = Cli(std::string(kArea) + Voacap());
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.find("{\"status\": 0, \"statusText\": \"VOACAP is ready\", \"n\": 16, \"cells\": ["), 0u);
  EXPECT_NE(r.out.find("[{\"snr\": 7.1, \"elevation\": 2, \"muf\": 7, \"mode\": \"2F2\"}"), std::string::npos);
  std::string cacheFile = Home() + "cache/Vexmoor/Vantor/Cache/12UT-14MHz-S.dat";
  EXPECT_EQ(ReadWholeFile(cacheFile).value_or("").size(), 5212u);

  // The program fails now, but the cached grid answers.
  Result cached = Cli(std::string(kArea) + Voacap(), "VOACAP_FAKE_EXIT=1");
  EXPECT_EQ(cached.code, 0);
  EXPECT_EQ(cached.out, r.out);
  Result fresh = Cli(std::string(kArea) + Voacap() + " --no-cache", "VOACAP_FAKE_EXIT=1");
  EXPECT_EQ(fresh.code, 1);
}
