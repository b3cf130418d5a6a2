// The engine's antenna list: the model files of its own antenna folder and
// their display names (the first line of each file).
#pragma once

#include <string>
#include <vector>

#include "refdata/AlStrLst.h"

namespace vx {

inline constexpr char kIsotropeFile[] = "ISOTROPE.ant";

// The four-line isotropic model written when the folder lacks it.
const std::string& IsotropeText();

// Display name: at most the first 80 bytes, cut before the first CR or LF.
// Empty when the file cannot be read.
bool AntennaDisplayName(const std::string& path, std::string& name);

// Rebuilds files and names from folder (with its trailing separator),
// writing "ISOTROPE.ant" first when it is missing. False on any failure.
bool LoadAntennaList(const std::string& folder, TAlStringList& files, std::vector<std::string>& names);

// Copies every file of from whose name is not in files into folder, then
// rebuilds the list. A failed copy is skipped; false when the list cannot be
// rebuilt.
bool ImportAntennas(const std::string& from, const std::string& folder, TAlStringList& files,
                    std::vector<std::string>& names);

}  // namespace vx
