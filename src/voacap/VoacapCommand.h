// vantor-voacap: the built-in engine behind voacapl's command line, so the
// program can stand where voacapl stands.
//
//   vantor-voacap [-s] FOLDER DECK OUT            point deck FOLDER/run/DECK,
//                                                 report FOLDER/run/OUT
//   vantor-voacap [-s] FOLDER area calc SUB/NAME.voa
//                                                 area deck FOLDER/areadata/
//                                                 SUB/NAME.voa, result
//                                                 SUB/NAME.vg1 beside it
//
// Antenna files come from FOLDER/antennas/; nothing else in FOLDER is read.
// Standard input is never read. The exit status is 0 only when the whole
// output was written (under a temporary name, then renamed); otherwise 1,
// with a message naming the problem.
#pragma once

#include "model/Antenna.h"
#include "model/Deck.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace vx::voacap {

struct TCommandLine {
    bool Silent = false;
    std::string Folder; // the data folder, as given
    bool Area = false;
    std::string Deck;   // below run/ (point) or areadata/ (area)
    std::string Output; // below run/ (point) or areadata/ (area)
};

// Reads the arguments after the program name. False with a message on a
// line the program does not run (an unknown option, a missing deck, an area
// method other than calc, a name leaving its folder...).
bool ParseCommandLine(const std::vector<std::string> &args, TCommandLine &line, std::string &error);

// The output of an area deck: its name with the 3-letter extension replaced
// by "vg1". Empty when the name has no such extension.
std::string AreaOutputName(const std::string &deck);

// The computation: a read deck and its antenna models to the output text.
using TCompute = std::function<bool(const model::TDeck &deck, const model::TAntennaLibrary &antennas, std::string &text,
                                    std::string &error)>;
struct TEngine {
    TCompute Point;
    TCompute Area;
};

// The model library's engine: point and area runs (RunPointDeck,
// RunAreaDeck) on the model data of the file at `dataPath`, read at the
// first run, with the deck's antennas applied by ApplyDeckAntennas.
TEngine ModelEngine(std::string dataPath);

// Runs a parsed command line: reads the deck and the antennas, computes,
// writes the output. Messages go to `messages`. Returns the exit status.
int RunCommand(const TCommandLine &line, const TEngine &engine, std::ostream &messages);

// Writes `text` to `path` through a temporary file in the same folder.
bool WriteWhole(const std::string &path, const std::string &text, std::string &error);

} // namespace vx::voacap
