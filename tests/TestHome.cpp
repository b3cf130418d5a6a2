// Linked into every test program: before main() runs, HOME and the XDG
// folders point into the build folder, so that no test, and no program a test
// starts, reads or writes the real home folder. Temporary files of the tests
// (testing::TempDir()) go there too, so that two build folders never share
// them. A launcher that gives a home of its own says so with
// VX_TEST_HOME_GIVEN.
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct TTestHome {
  TTestHome() {
    // A launcher that made a private home already (the private bus) keeps it.
    if (std::getenv("VX_TEST_HOME_GIVEN")) return;
    const std::string home = VX_TEST_HOME;
    std::error_code ec;
    for (const char* sub : {"", "/tmp", "/runtime"}) std::filesystem::create_directories(home + sub, ec);
    ::chmod((home + "/runtime").c_str(), 0700);  // Qt insists on a private runtime folder
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (home + "/.cache").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
    ::setenv("XDG_STATE_HOME", (home + "/.local/state").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (home + "/runtime").c_str(), 1);
    ::setenv("TEST_TMPDIR", (home + "/tmp/").c_str(), 0);
  }
};

const TTestHome gTestHome;

}  // namespace
