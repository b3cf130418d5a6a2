// Input decks for the outside propagation program, byte for byte.
#pragma once

#include <optional>
#include <string>

#include "engine/VoaTypes.h"
#include "refdata/AlStrLst.h"

namespace vx {

// The engine's own subfolder of the program's antenna folder, as decks name
// it ("/" on Linux: the Linux port cannot open "\" paths in point decks).
#ifdef _WIN32
inline constexpr char kAntennaSubfolder[] = "Vantor\\";
#else
inline constexpr char kAntennaSubfolder[] = "Vantor/";
#endif

// The 21-character antenna field: subfolder + file name, padded with blanks
// or cut. Nothing when the index lies outside the list.
std::optional<std::string> AntennaField(const TAlStringList& antennaFiles, int32_t index);

// The point-to-point deck (CR LF line ends, none after the last line).
// Nothing when an antenna index lies outside the list.
std::optional<std::string> BuildPointDeck(const TVoaInputs& in, const TAlStringList& antennaFiles);

// The area deck for in.Band and in.Hour (CR LF after every line). Nothing
// when an antenna index or the band lies outside its range.
std::optional<std::string> BuildAreaDeck(const TVoaInputs& in, const TAlStringList& antennaFiles);

}  // namespace vx
