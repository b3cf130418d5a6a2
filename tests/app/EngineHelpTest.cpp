#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/EngineHelp.h"
#include "common/FileUtil.h"

using namespace vx;

namespace {

struct EngineHelp : testing::Test {
  std::string root;
  TEngineFacts facts;
  void SetUp() override {
    root = testing::TempDir() + "engine-help-" + testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::filesystem::remove_all(root);
    MakeDirectories(root);
    facts.Status = vsNotFound;
    facts.DataFolder = root + "itshfbc/";
    facts.SettingsFile = "/home/me/.config/Vexmoor/Vantor.ini";
    facts.DownloadPage = "https://example.org/voacapl/";
  }
};

}  // namespace

TEST_F(EngineHelp, NoProgramAndNoDataFolder) {
  const TEngineHelp h = DescribeEngineProblem(facts);
  EXPECT_EQ(h.Problem, TEngineProblem::epProgramMissing);
  EXPECT_NE(h.Text.find("voacapl was not found on the PATH"), std::string::npos) << h.Text;
  EXPECT_NE(h.Text.find("./configure && make && sudo make install"), std::string::npos);
  EXPECT_NE(h.Text.find("    makeitshfbc"), std::string::npos);  // each command line indented
  EXPECT_NE(h.Text.find(facts.DataFolder), std::string::npos);
  EXPECT_NE(h.Text.find("https://example.org/voacapl/"), std::string::npos);
  EXPECT_NE(h.Text.find("[VOACAP]"), std::string::npos);
  EXPECT_EQ(h.Question, "Open the VOACAP download page?");
  EXPECT_EQ(h.DownloadPage, facts.DownloadPage);
}

TEST_F(EngineHelp, ConfiguredProgramMissingPointsAtTheSettings) {
  MakeDirectories(facts.DataFolder);
  facts.ConfiguredProgram = "/opt/voa/voacapl";
  const TEngineHelp h = DescribeEngineProblem(facts);
  EXPECT_EQ(h.Problem, TEngineProblem::epProgramMissing);
  EXPECT_NE(h.Text.find("/opt/voa/voacapl"), std::string::npos);
  EXPECT_NE(h.Text.find(facts.SettingsFile), std::string::npos);
}

TEST_F(EngineHelp, ProgramFoundButMakeitshfbcNeverRan) {
  facts.Program = "/usr/local/bin/voacapl";
  TEngineHelp h = DescribeEngineProblem(facts);
  EXPECT_EQ(h.Problem, TEngineProblem::epDataFolderMissing);
  EXPECT_EQ(h.Command, "makeitshfbc");
  EXPECT_NE(h.Text.find("data folder " + facts.DataFolder + " is missing"), std::string::npos) << h.Text;

  MakeDirectories(facts.DataFolder);
  h = DescribeEngineProblem(facts);
  EXPECT_EQ(h.Problem, TEngineProblem::epDataIncomplete);
  EXPECT_EQ(h.Command, "makeitshfbc");
  EXPECT_NE(h.Text.find("database/version.w32"), std::string::npos);

  // Laid out, yet "not found": the engine could not make its own folders.
  MakeDirectories(facts.DataFolder + "database");
  WriteWholeFile(facts.DataFolder + "database/version.w32", "Version 16.1207W\n");
  h = DescribeEngineProblem(facts);
  EXPECT_EQ(h.Problem, TEngineProblem::epFolderNotWritable);
  EXPECT_EQ(h.Command, "chmod -R u+w " + facts.DataFolder);
}

TEST_F(EngineHelp, AnotherUsersFolderIsNotFixedByChmod) {
  facts.Program = "/usr/bin/voacapl";
  MakeDirectories(facts.DataFolder + "database");
  WriteWholeFile(facts.DataFolder + "database/version.w32", "Version 16.1207W\n");
  // Only root can give a folder away to see this; others see their own case.
  if (::getuid() != 0 || ::chown(facts.DataFolder.c_str(), 65534, 65534) != 0) GTEST_SKIP() << "needs root";
  TEngineHelp h = DescribeEngineProblem(facts);
  EXPECT_EQ(h.Problem, TEngineProblem::epFolderNotWritable);
  EXPECT_EQ(h.Command, "sudo chown -R \"$(id -un)\": " + facts.DataFolder);
  EXPECT_NE(h.Text.find("belongs to "), std::string::npos) << h.Text;
  EXPECT_NE(h.Text.find("DataFolder= in the [VOACAP] section"), std::string::npos) << h.Text;
  EXPECT_EQ(h.Text.find("chmod"), std::string::npos) << h.Text;
  // The antenna folder, not made yet, is judged by the folder it would be in.
  facts.Status = vsAntennaError;
  facts.AntennaFolder = facts.DataFolder + "antennas/Vantor/";
  h = DescribeEngineProblem(facts);
  EXPECT_EQ(h.Command, "sudo chown -R \"$(id -un)\": " + facts.AntennaFolder);
  if (::chown(facts.DataFolder.c_str(), 0, 0) != 0) ADD_FAILURE() << "could not give the folder back";
}

TEST_F(EngineHelp, TooOldAndAntennaFiles) {
  facts.Status = vsTooOld;
  EXPECT_EQ(DescribeEngineProblem(facts).Problem, TEngineProblem::epTooOld);
  facts.Status = vsAntennaError;
  facts.AntennaFolder = facts.DataFolder + "antennas/Vantor/";
  const TEngineHelp h = DescribeEngineProblem(facts);
  EXPECT_EQ(h.Problem, TEngineProblem::epAntennaFiles);
  EXPECT_EQ(h.Command, "chmod -R u+w " + facts.AntennaFolder);
  facts.Status = vsReady;
  EXPECT_EQ(DescribeEngineProblem(facts).Problem, TEngineProblem::epNone);
}
