#include "support/VoacapFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "common/FileUtil.h"

namespace vxtest {

std::string MakeVoacapFolder(const std::string& folder, const std::string& version, bool antennas) {
  EXPECT_TRUE(vx::MakeDirectories(folder + "run")) << folder;
  EXPECT_TRUE(vx::MakeDirectories(folder + "database")) << folder;
  if (antennas) {
    EXPECT_TRUE(vx::MakeDirectories(folder + "antennas/default")) << folder;
  }
  if (!version.empty()) {
    EXPECT_TRUE(vx::WriteWholeFile(folder + "database/version.w32", version)) << folder;
  }
  return folder;
}

std::string FreshFolder(const std::string& name) {
  // Test programs share testing::TempDir(): the program's name keeps theirs apart.
  const std::string f = testing::TempDir() + program_invocation_short_name + "-" + name + "/";
  std::filesystem::remove_all(f);
  EXPECT_TRUE(vx::MakeDirectories(f)) << f;
  return f;
}

std::string FreshVoacapFolder(const std::string& name, const std::string& version, bool antennas) {
  return MakeVoacapFolder(FreshFolder(name) + "itshfbc/", version, antennas);
}

std::string CaseName() { return testing::UnitTest::GetInstance()->current_test_info()->name(); }

}  // namespace vxtest
