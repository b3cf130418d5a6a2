// vantor-cli end to end, against the stand-in propagation program.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <chrono>

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "common/DayCount.h"
#include "common/FileUtil.h"
#include "common/TextUtil.h"
#include "support/VoacapFolder.h"
#include "support/Wait.h"

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

// The environment of a vantor-cli run: its folders in a private temporary place.
std::string CliEnv() {
  const std::string root = Home();
  return "HOME=" + root + "home XDG_CONFIG_HOME=" + root + "cfg XDG_CACHE_HOME=" + root +
         "cache XDG_DATA_HOME=" + root + "data";
}

// Runs vantor-cli to its end.
Result Cli(const std::string& args, const std::string& env = "") {
  const std::string root = Home();
  const std::string errFile = root + "stderr.txt";
  MakeDirectories(root);
  std::string cmd = CliEnv() + " " + env + " " + VX_CLI + " " + args + " 2>" + errFile;
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
  const std::string f = Home() + "itshfbc/";
  if (!DirectoryExists(f)) vxtest::MakeVoacapFolder(f);
  return f;
}

// Starts a shell command as a child of this process and returns at once.
pid_t Spawn(const std::string& command) {
  const pid_t pid = fork();
  if (pid == 0) {
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

// The exit code of a child of this process, once it has ended; -1 when it
// did not end by itself.
int ExitCodeOf(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// A stand-in's handshake files in the case's folder, gone before it starts:
// Running, which it writes once it runs (VOACAP_FAKE_READY), and Release,
// which it waits for (VOACAP_FAKE_HOLD) and which is made when the test is
// done, however it ends.
struct THandshake {
  std::string Running, Release;
  THandshake(const std::string& running, const std::string& release) : Running(running), Release(release) {
    RemoveFile(Running);
    RemoveFile(Release);
  }
  ~THandshake() { WriteWholeFile(Release, ""); }
  std::string Env() const { return "VOACAP_FAKE_READY=" + Running + " VOACAP_FAKE_HOLD=" + Release; }
};

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
  EXPECT_EQ(
      r.out.find(
          "{\"status\": 0, \"statusText\": \"VOACAP is ready\", \"engine\": \"voacapl\", \"muf\": [22, 10.5, 11,"),
      0u);
  // Stand-in values for 2 MHz: hour 1 -3 dB, mode "4 E" (hour 0 repeats hour 24).
  EXPECT_NE(r.out.find("{\"mhz\": 2, \"snr\": [6, -3, 0, 3,"), std::string::npos);
  EXPECT_NE(r.out.find("\"mode\": [\"2F2\", \"4 E\", \"2F2\""), std::string::npos);
  EXPECT_NE(r.out.find("{\"mhz\": 30, "), std::string::npos);
}

TEST(Cli, FailuresGiveExitCodeOneAndTheStatusText) {
  Result r = Cli(std::string(kPoint) + Voacap(), "VOACAP_FAKE_EXIT=1");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Error executing voacapl"), std::string::npos);
  EXPECT_NE(r.out.find("\"status\": 4"), std::string::npos);
  EXPECT_NE(r.out.find("\"snr\": [null, null"), std::string::npos);

  r = Cli(std::string(kPoint) + " --engine voacapl --voacap " + VX_FAKE_VOACAP + " --itshfbc /nonexistent/itshfbc");
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
  Result r =
      Cli(std::string(kPoint) + " --voacap " + rel + " --itshfbc " + DataFolder().substr(0, DataFolder().size() - 1));
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
  EXPECT_EQ(
      r.out.find(
          "{\"status\": 0, \"statusText\": \"VOACAP is ready\", \"engine\": \"voacapl\", \"n\": 16, \"cells\": ["),
      0u);
  EXPECT_NE(r.out.find("[{\"snr\": 7.1, \"elevation\": 2, \"muf\": 7, \"mode\": \"2F2\"}"), std::string::npos);
  std::string cacheFile = Home() + "cache/Vexmoor/Vantor/Cache/12UT-14MHz-S.dat";
  // A 12-byte head, the 99-byte key (naming ISOTROPE.ant for both ends) and
  // 16 x 16 cells of 20 bytes.
  EXPECT_EQ(ReadWholeFile(cacheFile).value_or("").size(), 12u + 99u + 5120u);

  // The program fails now, but the cached grid answers.
  Result cached = Cli(std::string(kArea) + Voacap(), "VOACAP_FAKE_EXIT=1");
  EXPECT_EQ(cached.code, 0);
  EXPECT_EQ(cached.out, r.out);
  Result fresh = Cli(std::string(kArea) + Voacap() + " --no-cache", "VOACAP_FAKE_EXIT=1");
  EXPECT_EQ(fresh.code, 1);
}

TEST(Cli, HelpAndOptionsWithoutEffect) {
  for (const char* cmd : {"predict", "area", "chart", "lookup"}) {
    Result r = Cli(std::string(cmd) + " --help");
    EXPECT_EQ(r.code, 0) << cmd;
    EXPECT_EQ(r.out.find(std::string("usage: vantor-cli ") + cmd), 0u) << cmd;
  }
  struct Case {
    std::string args, says;
  } cases[] = {
      {std::string(kArea) + " --deck --png x.png", "--deck"},
      {std::string(kArea) + " --style gray", "--style"},
      {std::string(kArea) + " --sun", "--sun"},
      {std::string(kArea) + " --dx 51,0", "--dx"},
      {"predict --home 95,0 --dx 0,0 --year 2008 --month 3 --ssn 50", "latitude 95 is out of range"},
      {"predict --home 44,-79 --dx 51,-200 --year 2008 --month 3 --ssn 50", "longitude -200 is out of range"},
      {"predict --home 44 --dx 51,0 --year 2008 --month 3 --ssn 50", "--home"},
  };
  for (const Case& c : cases) {
    Result r = Cli(c.args);
    EXPECT_EQ(r.code, 2) << c.args;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.args << "\n" << r.err;
  }
}

TEST(Cli, ARunCutShortIsNeverCached) {
  for (const char* how : {"truncated", "nofreq"}) {
    std::filesystem::remove_all(Home() + "cache");
    Result r = Cli(std::string(kArea) + Voacap(), std::string("VOACAP_FAKE_OUTPUT=") + how);
    EXPECT_EQ(r.code, 1) << how;
    EXPECT_NE(r.err.find("Error in VOACAP output"), std::string::npos) << how;
    EXPECT_FALSE(std::filesystem::exists(Home() + "cache/Vexmoor/Vantor/Cache/12UT-14MHz-S.dat")) << how;
  }
  // A point output without its end line.
  Result r = Cli(std::string(kPoint) + Voacap(), "VOACAP_FAKE_OUTPUT=truncated");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find("\"status\": 6"), std::string::npos);
}

TEST(Cli, TheBuiltInEngineAnswersWithNothingInstalled) {
  // Automatic: no voacapl on the PATH, so the model in the program answers.
  Result r = Cli(std::string(kPoint) + " --voacap /nowhere/voacapl");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.find("{\"status\": 0, \"statusText\": \"Built-in engine ready\", \"engine\": \"builtin\""), 0u)
      << r.out.substr(0, 200);
  // Every hour of every frequency has figures (the path facts after them may be null).
  EXPECT_EQ(r.out.substr(0, r.out.find("\"path\"")).find("null"), std::string::npos);
  Result chosen = Cli(std::string(kPoint) + " --engine builtin");
  EXPECT_EQ(chosen.out, r.out);

  Result version = Cli("--version --engine builtin");
  EXPECT_EQ(version.code, 0) << version.err;
  EXPECT_NE(version.out.find("engine: builtin"), std::string::npos) << version.out;
  version = Cli(std::string("--version --engine voacapl --voacap ") + VX_FAKE_VOACAP + " --itshfbc " + DataFolder());
  EXPECT_NE(version.out.find(std::string("engine: voacapl (") + VX_FAKE_VOACAP), std::string::npos) << version.out;

  Result wrong = Cli(std::string(kPoint) + " --engine fortran");
  EXPECT_EQ(wrong.code, 2);
  EXPECT_NE(wrong.err.find("--engine must be auto, builtin or voacapl"), std::string::npos) << wrong.err;
}

TEST(Cli, InstallationProblemsSayWhatToDo) {
  Result r =
      Cli(std::string(kPoint) + " --engine voacapl --voacap " + VX_FAKE_VOACAP + " --itshfbc " + Home() + "none");
  EXPECT_NE(r.err.find("VOACAP data folder not found: " + Home() + "none/ (run makeitshfbc)"), std::string::npos)
      << r.err;
  const std::string noexec = Home() + "voacapl";
  WriteWholeFile(noexec, "#!/bin/sh\n");
  std::filesystem::permissions(noexec, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  r = Cli(std::string(kPoint) + " --engine voacapl --voacap " + noexec + " --itshfbc " + DataFolder());
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("is not executable"), std::string::npos) << r.err;
  // "~/" in the settings file is the home folder.
  MakeDirectories(Home() + "cfg/Vexmoor");
  WriteWholeFile(Home() + "cfg/Vexmoor/Vantor.ini",
                 std::string("[VOACAP]\r\nProgram=") + VX_FAKE_VOACAP + "\r\nDataFolder=~/itshfbc\r\n");
  DataFolder();
  r = Cli(kPoint, "HOME=" + Home());
  EXPECT_EQ(r.code, 0) << r.err;
}

TEST(Cli, RunsOnOneDataFolderTakeTurns) {
  // A second run waits while the first holds the folder, then runs itself:
  // both finish with their own results.
  // The first run's stand-in says when it runs, and ends when the test lets it.
  const std::string first = Home() + "first.json", second = Home() + "second.json", secondErr = Home() + "second.err";
  const THandshake firstRun(Home() + "first-runs", Home() + "first-may-end");
  const pid_t firstCli = Spawn("exec env XDG_CACHE_HOME=" + Home() + "c1 " + firstRun.Env() + " " + VX_CLI + " " +
                               kArea + " --no-cache" + Voacap() + " >" + first + " 2>/dev/null");
  ASSERT_GT(firstCli, 0);
  ASSERT_TRUE(vxtest::WaitForFile(firstRun.Running));
  const pid_t secondCli = Spawn("exec env " + CliEnv() + " " + VX_CLI + " " + kArea + " --no-cache" + Voacap() + " >" +
                                second + " 2>" + secondErr);
  ASSERT_GT(secondCli, 0);
  EXPECT_TRUE(vxtest::WaitFor([&] {
    return ReadWholeFile(secondErr).value_or("").find("Waiting for another VOACAP run") != std::string::npos;
  })) << ReadWholeFile(secondErr).value_or("");
  WriteWholeFile(firstRun.Release, "");
  EXPECT_EQ(ExitCodeOf(firstCli), 0);
  EXPECT_EQ(ExitCodeOf(secondCli), 0) << ReadWholeFile(secondErr).value_or("");
  const std::string firstOut = ReadWholeFile(first).value_or("");
  EXPECT_EQ(firstOut.find("{\"status\": 0"), 0u);
  EXPECT_TRUE(firstOut == ReadWholeFile(second).value_or("")) << "each run read its own complete output";
}

TEST(Cli, StoppingTheFrontEndEndsTheChild) {
  // The stand-in names itself once it runs, and would run until let go.
  const THandshake childRun(Home() + "child.pid", Home() + "child-may-end");
  const pid_t cli = Spawn("exec env " + childRun.Env() + " " + VX_CLI + " " + kPoint + Voacap() + " >/dev/null 2>&1");
  ASSERT_GT(cli, 0);
  ASSERT_TRUE(vxtest::WaitForFile(childRun.Running));
  const pid_t child = std::stoi(ReadWholeFile(childRun.Running).value_or("0"));
  ASSERT_GT(child, 0);
  ASSERT_EQ(kill(cli, SIGTERM), 0);
  EXPECT_EQ(ExitCodeOf(cli), 128 + SIGTERM);
  // That very child is gone (not any process of the name, which could be
  // another test's).
  EXPECT_TRUE(vxtest::WaitForProcessGone(child));
}

TEST(Cli, CreatesItsFoldersOnlyForACommand) {
  const std::string root = Home();
  std::filesystem::remove_all(root);
  EXPECT_EQ(Cli("--help").code, 0);
  EXPECT_EQ(Cli("nonsense").code, 2);
  EXPECT_FALSE(DirectoryExists(root + "data"));
  EXPECT_FALSE(DirectoryExists(root + "cache"));
  const Result r = Cli("lookup K1ABC");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(DirectoryExists(root + "data/Vexmoor/Reference"));
  EXPECT_TRUE(DirectoryExists(root + "cache/Vexmoor/Vantor/Cache"));
  EXPECT_FALSE(DirectoryExists(root + "home"));  // nothing goes below HOME itself
}

TEST(Cli, LookupPlacesALicenseeFromTheCallbooks) {
  const std::string root = Home();
  const std::string reference = root + "data/Vexmoor/Reference/";
  ASSERT_TRUE(MakeDirectories(reference));
  ASSERT_TRUE(WriteWholeFile(root + "Prefix.lst", "h\nh\nh\n0100|-16560|6660|United States|K|||||291||||K,N,W|\n"));
  ASSERT_TRUE(WriteWholeFile(root + "Call.lst", ""));
  // One FCC record, as Kestrix writes it: 32 bytes, little-endian.
  std::string record("\x06KD9ZZQ", 7);
  record.resize(16, '\0');
  record += std::string(
      "\x06"
      "CA9404\0",
      8);
  record += std::string("\x50\x1A\x2A\xAA\0\0\0\0", 8);  // 37.42, -122.08 degrees; offset 0
  ASSERT_TRUE(WriteWholeFile(reference + "FccCB.idx", record));
  ASSERT_TRUE(WriteWholeFile(reference + "FccCB.dat",
                             "EN|1|||KD9ZZQ|L|L1|NAME|FIRST|M|LAST|||||1 MAIN ST|CITY|CA|94043|||000|\r\n"));
  ASSERT_TRUE(WriteWholeFile(reference + "RacCB.idx", "not an index"));
  const std::string lists = " --prefix " + root + "Prefix.lst --calls " + root + "Call.lst";

  Result r = Cli("lookup" + lists + " KD9ZZQ N1XX");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("KD9ZZQ\tDX\t37.42\t-122.08\tFCC licence, ZIP 94043\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("N1XX\tDX\t37.00\t-92.00\tcountry centre\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("KD9ZZQ\t291\tUnited States\t37.00\t-92.00"),
            std::string::npos);  // the prefix list's line stays
  // The broken Canadian index is named once, and only on the error stream.
  EXPECT_EQ(r.err, "vantor-cli lookup: RacCB.idx: 12 bytes are not whole 32-byte records; callbook not used\n");
}

namespace {

// A short folder for the worker folders (the program limits the length of
// its data folder's path; the test folders are too deep for it).
struct TRuntimeFolder {
  std::string Path;
  TRuntimeFolder() {
    char name[] = "/tmp/vxr-XXXXXX";
    Path = mkdtemp(name);
  }
  ~TRuntimeFolder() { std::filesystem::remove_all(Path); }
  std::string Env() const { return "XDG_RUNTIME_DIR=" + Path; }
};

const char* kPrecompute = "precompute --home 44,-79 --month 3 --ssn 50 --bands 3";

// The counts of the JSON line, without the time.
std::string Counts(const std::string& out) { return out.substr(0, out.find(", \"seconds\": ")); }

}  // namespace

TEST(Cli, PrecomputeWarmsTheCacheThatAreaAnswersFrom) {
  TRuntimeFolder runtime;
  std::filesystem::remove_all(Home() + "cache");
  Result r = Cli(std::string(kPrecompute) + " --hours 10-13 --jobs 2" + Voacap(), runtime.Env());
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Counts(r.out), "{\"computed\": 4, \"cached\": 0, \"failed\": 0, \"jobs\": 4");
  EXPECT_EQ(r.out.back(), '\n');
  EXPECT_NE(r.err.find("4/4 maps"), std::string::npos);
  const std::string cache = Home() + "cache/Vexmoor/Vantor/Cache/";
  for (int h = 10; h <= 13; ++h)
    EXPECT_EQ(ReadWholeFile(cache + std::to_string(h) + "UT-14MHz-S.dat").value_or("").size(), 12u + 99u + 5120u) << h;
  EXPECT_TRUE(std::filesystem::is_directory(runtime.Path + "/vantor/voa"));  // the workers' folders

  // The map comes from the cache: the program would fail now.
  Result area = Cli(std::string(kArea) + Voacap(), "VOACAP_FAKE_EXIT=1");
  EXPECT_EQ(area.code, 0) << area.err;
  Result again = Cli(std::string(kPrecompute) + " --hours 12-14" + Voacap(), runtime.Env());
  EXPECT_EQ(Counts(again.out), "{\"computed\": 1, \"cached\": 2, \"failed\": 0, \"jobs\": 3");

  // Failures are counted, told on standard error, and make the exit code 1.
  Result failed =
      Cli(std::string(kPrecompute) + " --hours 0,1 --ssn 60" + Voacap(), runtime.Env() + " VOACAP_FAKE_EXIT=1");
  EXPECT_EQ(failed.code, 1);
  EXPECT_EQ(Counts(failed.out), "{\"computed\": 0, \"cached\": 0, \"failed\": 2, \"jobs\": 2");
  EXPECT_NE(failed.err.find("Error executing"), std::string::npos) << failed.err;

  for (const char* bad : {" --hours 5-3", " --hours 24", " --bands 8", " --bands x", " --band 3", " --jobs 0",
                          " --grid 20", " --dx 1,1"}) {
    Result b = Cli(std::string(kPrecompute) + bad + Voacap(), runtime.Env());
    EXPECT_EQ(b.code, 2) << bad;
    EXPECT_NE(b.err.find("usage: vantor-cli precompute"), std::string::npos) << bad;
  }
}

TEST(Cli, TheBuiltInEngineAnswersWhatVantorVoacapWrites) {
  // vantor-voacap standing where voacapl stands: decks, a child, the report
  // read back. The figures must be the ones the engine computes in memory.
  const std::string folder = " --itshfbc " + DataFolder();
  for (const std::string& job : {std::string(kPoint) + " --long", std::string(kArea) + " --no-cache"}) {
    Result process = Cli(job + " --engine voacapl --voacap " + VX_VANTOR_VOACAP + folder);
    Result memory = Cli(job + " --engine builtin" + folder);
    ASSERT_EQ(process.code, 0) << process.err;
    ASSERT_EQ(memory.code, 0) << memory.err;
    const auto figures = [](const std::string& json) {
      return json.substr(json.find(", \"", json.find("\"engine\"")));
    };
    EXPECT_NE(process.out.find("\"engine\": \"voacapl\""), std::string::npos);
    EXPECT_NE(memory.out.find("\"engine\": \"builtin\""), std::string::npos);
    EXPECT_EQ(figures(memory.out), figures(process.out)) << job;
  }
}

TEST(Cli, TheBuiltInEngineFillsACacheOfItsOwn) {
  TRuntimeFolder runtime;
  std::filesystem::remove_all(Home() + "cache");
  Result r = Cli(std::string(kPrecompute) + " --hours 10-12 --engine builtin", runtime.Env());
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Counts(r.out), "{\"computed\": 3, \"cached\": 0, \"failed\": 0, \"jobs\": 3");
  EXPECT_NE(r.out.find("\"engine\": \"builtin\"}"), std::string::npos) << r.out;
  EXPECT_FALSE(std::filesystem::exists(runtime.Path + "/vantor"));  // no worker folders

  // The built-in engine's map answers a built-in request (the file is not
  // written again), as computed...
  const std::string file = Home() + "cache/Vexmoor/Vantor/Cache/12UT-14MHz-S.dat";
  const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(48);
  std::filesystem::last_write_time(file, old);
  Result cached = Cli(std::string(kArea) + " --engine builtin");
  EXPECT_EQ(std::filesystem::last_write_time(file), old);
  Result fresh = Cli(std::string(kArea) + " --engine builtin --no-cache");
  ASSERT_EQ(cached.code, 0) << cached.err;
  EXPECT_EQ(cached.out, fresh.out);
  // ...and never a voacapl one: the stand-in, made to fail, is asked.
  Result other = Cli(std::string(kArea) + " --engine voacapl" + Voacap(), "VOACAP_FAKE_EXIT=1");
  EXPECT_EQ(other.code, 1);
  EXPECT_NE(other.out.find("\"engine\": \"voacapl\""), std::string::npos);
}

TEST(Cli, InterruptingPrecomputeEndsEveryChild) {
  TRuntimeFolder runtime;
  const std::string pids = Home() + "pids/";
  std::filesystem::remove_all(pids);
  std::filesystem::remove_all(Home() + "cache");  // what it asserts empty is this run's
  MakeDirectories(pids);
  // The stand-ins would run until let go: only the interruption ends them.
  const THandshake childRuns(Home() + "child-runs", Home() + "children-may-end");
  const pid_t cli = Spawn("exec env " + runtime.Env() + " XDG_CACHE_HOME=" + Home() +
                          "cache VOACAP_FAKE_HOLD=" + childRuns.Release + " VOACAP_FAKE_PIDS=" + pids + " " + VX_CLI +
                          " " + kPrecompute + " --jobs 3" + Voacap() + " >/dev/null 2>&1");
  ASSERT_GT(cli, 0);
  auto children = [&] {
    std::vector<pid_t> all;
    for (const auto& e : std::filesystem::directory_iterator(pids)) all.push_back(std::stoi(e.path().filename()));
    return all;
  };
  ASSERT_TRUE(vxtest::WaitFor([&] { return children().size() >= 3; }));
  ASSERT_EQ(children().size(), 3u);
  ASSERT_EQ(kill(cli, SIGINT), 0);
  int status = 0;
  ASSERT_EQ(waitpid(cli, &status, 0), cli);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 130);
  for (pid_t pid : children()) EXPECT_NE(kill(pid, 0), 0) << "child " << pid << " still there";
  EXPECT_TRUE(std::filesystem::is_empty(Home() + "cache/Vexmoor/Vantor/Cache"));
}

namespace {

// The part of a deck that names both ends of the path.
std::string CircuitLine(const std::string& deck) {
  const size_t at = deck.find("CIRCUIT");
  return at == std::string::npos ? std::string() : deck.substr(at, deck.find('\r', at) - at);
}

void WriteSettingsFile(const std::string& text) {
  MakeDirectories(Home() + "cfg/Vexmoor");
  ASSERT_TRUE(WriteWholeFile(Home() + "cfg/Vexmoor/Vantor.ini", text));
}

// The sunspot number the shipped table holds for a month, rounded as the
// window rounds it; -1 when the table lacks it.
int TableSsn(int year, int month) {
  const std::string table = ReadWholeFile(std::string(VX_BIN_DIR) + "/SSN.dat").value_or("");
  const std::string key = std::string(MonthAbbreviation(month)) + " " + std::to_string(year) + "=";
  const size_t at = table.find(key);
  if (at == std::string::npos) return -1;
  return int(RoundHalfEven(std::stod(table.substr(at + key.size()))));
}

}  // namespace

TEST(Cli, PositionsAreLocatorsCallsOrDegrees) {
  const std::string month = " --year 2008 --month 3 --ssn 50 --deck";
  Result byDegrees = Cli("predict --home 41.729,-72.708 --dx 36.40,138.38" + month);
  ASSERT_EQ(byDegrees.code, 0) << byDegrees.err;
  EXPECT_EQ(CircuitLine(byDegrees.out), "CIRCUIT   41.73N    72.71W    36.40N   138.38E  S     0");
  // The locator's centre and the call's place, as lookup places the call.
  Result lookup = Cli("lookup JA1ABC");
  ASSERT_NE(lookup.out.find("\t36.40\t138.38\t"), std::string::npos) << lookup.out;
  for (const char* other : {"predict --home FN31pr --dx JA1ABC", "predict --home fn31PR --dx ja1abc",
                            "predict --home '41.729 N, 72.708 W' --dx '36.40N 138.38E'"}) {
    Result r = Cli(other + month);
    EXPECT_EQ(r.code, 0) << other << "\n" << r.err;
    EXPECT_EQ(CircuitLine(r.out), CircuitLine(byDegrees.out)) << other;
  }
  // The JSON names the locator of each end and what was typed.
  Result json = Cli("predict --home FN31pr --dx JA1ABC --year 2008 --month 3 --ssn 50 --engine builtin");
  ASSERT_EQ(json.code, 0) << json.err;
  EXPECT_NE(json.out.find("\"home\": {\"lat\": 41.7278, \"lon\": -72.7111, \"locator\": \"FN31pr\", \"text\": "
                          "\"FN31pr\"}"),
            std::string::npos)
      << json.out.substr(json.out.find("\"inputs\""));
  EXPECT_NE(json.out.find("\"locator\": \"PM96ej\", \"text\": \"JA1ABC\"}"), std::string::npos);
  EXPECT_EQ(json.out.substr(json.out.find("\"inputs\"")).find("null"), std::string::npos);
  // A DX given as a call names its country in the path facts, as the window does.
  EXPECT_NE(json.out.find("\"dxCountry\": \"Japan\""), std::string::npos) << json.out.substr(json.out.find("\"path\""));

  for (const char* bad :
       {"predict --home FN31pr --dx QQ1XYZ", "predict --home QZ00aa --dx JA1ABC", "predict --home 41.7N --dx JA1ABC"}) {
    Result r = Cli(bad + month);
    EXPECT_EQ(r.code, 2) << bad;
    EXPECT_NE(r.err.find("locator"), std::string::npos) << bad << "\n" << r.err;
  }
}

TEST(Cli, LeftOutInputsAreTheWindowsSettingsThisMonthAndItsSsn) {
  // Nothing to take home from: it must be given.
  RemoveFile(Home() + "cfg/Vexmoor/Vantor.ini");
  Result none = Cli("predict --dx JA1ABC --engine builtin");
  EXPECT_EQ(none.code, 2);
  EXPECT_NE(none.err.find("--home is required"), std::string::npos) << none.err;
  EXPECT_NE(none.err.find("Locator=FN31pr"), std::string::npos) << none.err;

  // A home locator is all a station needs.
  WriteSettingsFile("[User]\r\nLocator=FN31pr\r\n");
  const TCivilTime before = DecodeDayCount(UtcNow());
  Result r = Cli("predict --dx JA1ABC --engine builtin");
  const TCivilTime after = DecodeDayCount(UtcNow());
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string inputs = r.out.substr(r.out.find("\"inputs\""));
  EXPECT_NE(inputs.find("\"home\": {\"lat\": 41.7278, \"lon\": -72.7111, \"locator\": \"FN31pr\"}"), std::string::npos)
      << inputs;
  EXPECT_NE(inputs.find("\"from\": {\"home\": \"settings\", \"dx\": \"option\", \"year\": \"clock\", \"month\": "
                        "\"clock\", \"ssn\": \"SSN.dat\", \"power\": \"default\", \"txAntennas\": \"default\", "
                        "\"rxAntennas\": \"default\"}"),
            std::string::npos)
      << inputs;
  // This month, whichever side of a month's end the run fell on.
  bool monthFound = false;
  for (const TCivilTime& t : {before, after}) {
    const std::string when = "\"year\": " + std::to_string(t.Year) + ", \"month\": " + std::to_string(t.Month) +
                             ", \"ssn\": " + std::to_string(TableSsn(t.Year, t.Month)) + ",";
    monthFound = monthFound || inputs.find(when) != std::string::npos;
  }
  EXPECT_TRUE(monthFound) << inputs;

  // The window's power and antennas; the options still win.
  std::string settings = "[User]\r\nLongitude=-14220\r\nLatitude=7920\r\nLocator=JJ00aa\r\nTxPower=500\r\n";
  settings += "[TX Antennas]\r\n";
  for (int b = 0; b < 8; ++b)
    settings += "Ant" + std::to_string(b) + "=" + (b < 4 ? "Dipole20m.N13" : "Gone.ant") + "\r\n";
  WriteSettingsFile(settings);
  r = Cli("predict --dx JA1ABC --engine builtin --month 3 --year 2008 --itshfbc " + DataFolder());
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("\"home\": {\"lat\": 44.0000, \"lon\": -79.0000, \"locator\": \"FN04ma\"}"), std::string::npos)
      << r.out.substr(r.out.find("\"inputs\""));
  EXPECT_NE(r.out.find("\"year\": 2008, \"month\": 3, \"ssn\": " + std::to_string(TableSsn(2008, 3)) +
                       ", \"power\": 500, \"txAntennas\": [\"Dipole20m.N13\""),
            std::string::npos)
      << r.out.substr(r.out.find("\"inputs\""));
  // An antenna gone since the window saved it is the first of the list, as there.
  EXPECT_EQ(r.out.find("Gone.ant"), std::string::npos);
  EXPECT_NE(r.out.find("\"power\": \"settings\", \"txAntennas\": \"settings\", \"rxAntennas\": \"default\""),
            std::string::npos);
  r = Cli("predict --home RR99 --dx JA1ABC --power 100 --tx-antenna ISOTROPE.ant --ssn 10 --engine builtin");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("\"ssn\": 10, \"power\": 100, \"txAntennas\": [\"ISOTROPE.ant\""), std::string::npos);
  EXPECT_NE(r.out.find("\"from\": {\"home\": \"option\", \"dx\": \"option\", \"year\": \"clock\", \"month\": "
                       "\"clock\", \"ssn\": \"option\", \"power\": \"option\", \"txAntennas\": \"option\""),
            std::string::npos);

  // A month the table lacks needs its SSN.
  r = Cli("predict --dx JA1ABC --year 2199 --month 1 --engine builtin");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("--ssn is required"), std::string::npos) << r.err;
}
