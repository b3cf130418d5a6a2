// The program's name and version as the window and the caption show them.
#pragma once

namespace vx {

inline constexpr char kVantorName[] = "Vantor";
inline constexpr char kVantorVersion[] = VANTOR_VERSION_TEXT;  // "major.minor", from the project

}  // namespace vx
