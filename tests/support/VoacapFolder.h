// A VOACAP installation for tests: the data folder as makeitshfbc leaves it,
// beside the stand-in program (VX_FAKE_VOACAP of the test targets).
#pragma once

#include <string>

namespace vxtest {

// The version line the stand-in's data folder carries: a release the engine
// accepts.
inline constexpr const char* kVoacapVersion = "Version 16.1207W\n";

// Lays out a data folder at folder (a path ending in '/'): run/, database/
// and database/version.w32 holding version (none when version is empty),
// plus antennas/default/ when antennas holds. What is there already stays.
// Returns folder.
std::string MakeVoacapFolder(const std::string& folder, const std::string& version = kVoacapVersion,
                             bool antennas = false);

// A folder of the test's own below testing::TempDir(), emptied; its path
// ends in '/'.
std::string FreshFolder(const std::string& name);

// MakeVoacapFolder in FreshFolder(name) + "itshfbc/".
std::string FreshVoacapFolder(const std::string& name, const std::string& version = kVoacapVersion,
                              bool antennas = false);

// The name of the running case, for folders of its own: ctest runs the
// cases as parallel processes, and two runs of the stand-in must not share
// a data folder.
std::string CaseName();

}  // namespace vxtest
