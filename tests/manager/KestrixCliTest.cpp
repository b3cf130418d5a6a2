// The kestrix program end to end: command line, exit code, files.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>

#include "Gen.h"
#include "ManagerTestUtil.h"
#include "common/FolderLock.h"
#include "common/TextUtil.h"

using namespace vx;

namespace {

struct TRun {
  int Code;
  std::string Out, Err;
};

class KestrixCli : public testing::Test {
 protected:
  void SetUp() override {
    Home = test::FreshFolder("cli");
    Ref = Home + "Vexmoor/Reference/";
    MakeDirectories(Ref);
  }
  TRun Run(const std::string& args) {
    const std::string out = Home + "out.txt", err = Home + "err.txt";
    const std::string cmd = "HOME='" + Home + "home' XDG_DATA_HOME='" + Home + "' '" + std::string(VX_BIN_DIR) +
                            "/kestrix' " + args + " >'" + out + "' 2>'" + err + "'";
    const int st = std::system(cmd.c_str());
    return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, test::Slurp(out), test::Slurp(err)};
  }
  std::string Body(const std::string& name, const std::string& bytes) {
    WriteFileAtomic(Home + name, bytes);
    return "'" + Home + name + "'";
  }
  std::string Home, Ref;
};

}  // namespace

TEST_F(KestrixCli, RefusesAnythingButOneSourceIndex) {
  const std::string body = Body("l.txt", "K1ABC\n");
  for (const std::string& args : std::vector<std::string>{
           "", "1 2", "7", "-1", "abc", "--headless --from-file", "--headless --from-file " + body + " 1 2",
           "--bogus --from-file " + body + " 1", "--headless --reprocess 3"}) {
    EXPECT_EQ(Run(args).Code, 1) << args;
  }
  // Import options belong to headless runs only.
  EXPECT_EQ(Run("--from-file " + body + " 1").Code, 1);
  EXPECT_EQ(Run("--reprocess 2").Code, 1);
  EXPECT_FALSE(FileExists(Ref + "lotw1.txt"));
}

TEST_F(KestrixCli, HelpNamesTheSevenSources) {
  for (const char* args : {"--help", "-h", "--headless --help"}) {
    const TRun help = Run(args);
    EXPECT_EQ(help.Code, 0) << args;
    for (const char* name : {"IOTA_reference", "LoTW_user_list", "FCC_callsign_database", "RAC_callsign_database",
                             "Canadian_special_callsigns", "RDA_Districts_database", "Predicted_sunspot_numbers"})
      EXPECT_NE(help.Out.find(name), std::string::npos) << name;
    EXPECT_NE(help.Out.find("--headless --from-file PATH N"), std::string::npos);
  }
  EXPECT_EQ(Run("--bogus").Code, 1);
}

TEST_F(KestrixCli, ForeignFilesAreRefusedWithTheReason) {
  WriteFileAtomic(Ref + "lotw1.txt", "K1ABC,2024\r\n");
  const TRun page = Run("--headless --from-file " + Body("page.html", "<html><body>Not Found</body></html>\n") + " 1");
  EXPECT_EQ(page.Code, 1);
  EXPECT_EQ(page.Err,
            "Processing data...\nError: Not a LoTW user list: 0 of 1 lines look like its records; the "
            "previous files are kept\n");
  EXPECT_EQ(test::Slurp(Ref + "lotw1.txt"), "K1ABC,2024\r\n");
}

TEST_F(KestrixCli, HeadlessJobsReportAndExit) {
  WriteFileAtomic(Ref + "ZipLst.lst", gen::GenerateZipList());
  gen::TFccOptions o;
  o.Records = 400;
  const TRun fcc =
      Run("--headless --from-file " + Body("l_amat.zip", gen::ZipWith("EN.dat", gen::GenerateFccEn(o))) + " 2");
  EXPECT_EQ(fcc.Code, 0);
  EXPECT_EQ(fcc.Out, "FCC database imported: 400 calls\n");
  EXPECT_EQ(fcc.Err, "Processing data...\nUnzipping...\nProcessing data...\nDONE\n");
  EXPECT_EQ(test::Slurp(Ref + "FccCB.idx").size(), 400u * 32);

  // Rebuilding the index from the detail file in place.
  const TRun again = Run("--headless --reprocess 2");
  EXPECT_EQ(again.Code, 0);
  EXPECT_EQ(again.Out, fcc.Out);

  const TRun lotw = Run("--headless --from-file " + Body("lotw1.txt", "K1ABC,2024\r\n") + " 1");
  EXPECT_EQ(lotw.Code, 0);
  EXPECT_EQ(lotw.Out, "");
  EXPECT_EQ(test::Slurp(Ref + "lotw1.txt"), "K1ABC,2024\r\n");
}

// The IOTA job of a fresh installation: no lookup lists in the folder, the
// job is done all the same, and the note about the missing list is printed.
TEST_F(KestrixCli, TheIotaJobRunsWithoutItsLookupLists) {
  const TRun iota =
      Run("--headless --from-file " + Body("iota.kmz", gen::ZipWith("doc.kml", gen::GenerateIotaKml(12))) + " 0");
  EXPECT_EQ(iota.Code, 0) << iota.Err;
  EXPECT_EQ(iota.Err, "Processing data...\nDONE\n");
  EXPECT_NE(iota.Out.find("\"" + Ref + "IotaDxcc.lst\""), std::string::npos) << iota.Out;
  EXPECT_EQ(std::count(iota.Out.begin(), iota.Out.end(), '\n'), 1);
  EXPECT_EQ(SplitLines(test::Slurp(Ref + "IotaRef.lst")).size(), 13u);
}

TEST_F(KestrixCli, FailuresExitWithOneAndKeepThePreviousFiles) {
  WriteFileAtomic(Ref + "ZipLst.lst", gen::GenerateZipList());
  WriteFileAtomic(Ref + "FccCB.dat", "old detail");
  WriteFileAtomic(Ref + "FccCB.idx", "old index");
  const std::string zip = gen::ZipWith("EN.dat", gen::GenerateFccEn({}));
  const TRun cut = Run("--headless --from-file " + Body("cut.zip", zip.substr(0, zip.size() - 200)) + " 2");
  EXPECT_EQ(cut.Code, 1);
  EXPECT_NE(cut.Err.find("Error: Zip file corrupt"), std::string::npos) << cut.Err;
  EXPECT_EQ(cut.Err.find("DONE"), std::string::npos);
  EXPECT_EQ(cut.Out, "");
  EXPECT_EQ(Run("--headless --from-file '" + Home + "missing.zip' 2").Code, 1);
  // The special-calls list cannot be written: a folder is in its place.
  MakeDirectories(Ref + "CanSpec.lst/x");
  EXPECT_EQ(
      Run("--headless --from-file " + Body("s.zip", gen::ZipWith("s.csv", gen::GenerateSpecialCalls(20))) + " 4").Code,
      1);
  EXPECT_EQ(test::Slurp(Ref + "FccCB.dat"), "old detail");
  EXPECT_EQ(test::Slurp(Ref + "FccCB.idx"), "old index");
}

// One job at a time per reference folder: a second one says the folder is
// busy and changes nothing.
TEST_F(KestrixCli, ASecondJobInTheSameFolderIsRefusedWhileTheFirstRuns) {
  WriteFileAtomic(Ref + "ZipLst.lst", gen::GenerateZipList());
  gen::TFccOptions o;
  o.Records = 50;
  ASSERT_EQ(
      Run("--headless --from-file " + Body("l_amat.zip", gen::ZipWith("EN.dat", gen::GenerateFccEn(o))) + " 2").Code,
      0);
  const std::string index = test::Slurp(Ref + "FccCB.idx");
  {
    TFolderLock first;  // a job that runs
    ASSERT_EQ(first.TryLock(Ref + "kestrix.lock"), TFolderLock::lrLocked);
    const TRun second = Run("--headless --reprocess 2");
    EXPECT_EQ(second.Code, 1);
    EXPECT_NE(second.Err.find("Another Kestrix job is working in"), std::string::npos) << second.Err;
  }
  EXPECT_EQ(test::Slurp(Ref + "FccCB.idx"), index);
  EXPECT_EQ(Run("--headless --reprocess 2").Code, 0);  // free again
}
