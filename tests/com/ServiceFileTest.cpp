// The activation file the bus starts Vantor from.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "com/BusNames.h"
#include "com/ServiceFile.h"
#include "common/FileUtil.h"

using namespace vx;

TEST(ActivationFile, WordsAreQuotedAsTheBusSplitsThem) {
  EXPECT_EQ(ActivationFileText(kVantorBusName, {"/usr/bin/vantor", "--automation"}),
            "[D-BUS Service]\nName=net.vexmoor.Vantor\nExec=/usr/bin/vantor --automation\n");
  EXPECT_EQ(ActivationFileText("a.b", {"/opt/My Programs/vantor", "it's"}),
            "[D-BUS Service]\nName=a.b\nExec='/opt/My Programs/vantor' 'it'\\''s'\n");
  EXPECT_EQ(ActivationFileText("a.b", {"/x", ""}), "[D-BUS Service]\nName=a.b\nExec=/x ''\n");
  EXPECT_EQ(ActivationFileText("a.b", {"/bad\npath"}), "");
}

TEST(ActivationFile, RegisterWritesTheUsersFileAndUnregisterRemovesIt) {
  const std::string home = testing::TempDir() + "activation-home/";
  std::filesystem::remove_all(home);
  setenv("XDG_DATA_HOME", home.c_str(), 1);
  const std::string file = home + "dbus-1/services/net.vexmoor.Vantor.service";
  EXPECT_EQ(UserActivationFile(kVantorBusName), file);
  std::string error;
  ASSERT_TRUE(RegisterActivation("/usr/bin/vantor", error)) << error;
  EXPECT_EQ(*ReadWholeFile(file), "[D-BUS Service]\nName=net.vexmoor.Vantor\nExec=/usr/bin/vantor --automation\n");
  ASSERT_TRUE(RegisterActivation("/usr/local/bin/vantor", error));  // replaced
  EXPECT_NE(ReadWholeFile(file)->find("/usr/local/bin/vantor --automation"), std::string::npos);
  ASSERT_TRUE(UnregisterActivation(error));
  EXPECT_FALSE(FileExists(file));
  EXPECT_TRUE(UnregisterActivation(error));  // nothing left to remove
  // A folder that cannot be made is reported with the file's name.
  WriteWholeFile(home + "blocked", "");
  setenv("XDG_DATA_HOME", (home + "blocked").c_str(), 1);
  EXPECT_FALSE(RegisterActivation("/usr/bin/vantor", error));
  EXPECT_NE(error.find("net.vexmoor.Vantor.service"), std::string::npos);
  setenv("XDG_DATA_HOME", home.c_str(), 1);
}
