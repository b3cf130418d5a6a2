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

// The 21-character antenna field: subfolder + file name, padded with blanks.
// Nothing when the index lies outside the list or the name does not fit.
std::optional<std::string> AntennaField(const TAlStringList& antennaFiles, int32_t index);

// The longest antenna file name the field holds beside the subfolder.
inline constexpr size_t kAntennaNameMax = 21 - (sizeof(kAntennaSubfolder) - 1);

// Why the point deck (area false) or the area deck cannot be built from
// these inputs, in words for the user; empty when it can.
std::string DeckProblem(const TVoaInputs& in, const TAlStringList& antennaFiles, bool area);

// The point-to-point deck (CR LF line ends, none after the last line).
// Nothing when an antenna index lies outside the list.
std::optional<std::string> BuildPointDeck(const TVoaInputs& in, const TAlStringList& antennaFiles);

// The area deck for in.Band and in.Hour (CR LF after every line). Nothing
// when an antenna index or the band lies outside its range.
std::optional<std::string> BuildAreaDeck(const TVoaInputs& in, const TAlStringList& antennaFiles);

}  // namespace vx
