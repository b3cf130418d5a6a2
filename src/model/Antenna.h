// The antennas of a run: the deck's ANTENNA cards, the antenna model files
// they name, and the gain the model asks for at a frequency and elevation.
//
// For a deck as card images (a point deck, or the point-style deck an area
// deck becomes), two calls do it all:
//   LoadDeckAntennas(dataFolder, cards, library, error)   reads the files;
//   ApplyDeckAntennas(s, cards, library, error)           no disk.
// Call ApplyDeckAntennas after SETVARS (numants 0); it does the antenna part
// of DECRED as well (slots, powers, numants), so DECRED's own ANTENNA handling
// may run before it or not at all. A library can serve many runs.
//
// Underneath, the steps, so that files are read once (by an explicit call)
// and everything after that needs no disk:
//   1. ParseAntennaCard for each ANTENNA card of a point deck, or
//      AreaAntennaCards for the "Rec Ants :" / "Tx Ants  :" lines of an area
//      deck (which become the two cards AREAMAP writes: transmit slot 1,
//      receive slot 2, both for 2-30 MHz);
//   2. LoadAntennaModels: reads and parses every file the cards name into a
//      TAntennaLibrary (ReadAntennaFile is the only file access;
//      ParseAntennaModel turns bytes into a model, for tests and fuzzing);
//   3. ApplyAntennaCards: what antcalc and DECRED do with the cards: the
//      gain tables of each slot, the band of frequencies it serves, its
//      power, into s.cantenna, s.careaant, s.pantenna.
// Then AntennaGain (GAIN) and TransmitPowerDb (PWRDB) answer the model.
//
// Antenna model files: line 1 a description, then the number n of parameter
// lines and the n parameter lines (list-directed: the first item of each
// line counts); parameter 1 is a gain added to every table value, parameter
// 2 the antenna type. Supported types:
//   0  isotrope: no table; its gain is the card's design-frequency field
//      (a receive card's power field when that is not zero), as antcalc sets
//      it. A card naming no file (two characters or fewer, or ending in "/")
//      is the same built-in 0 dB antenna.
//   13 360 azimuth records (0..359 from the main beam) of 91 elevation gains,
//      each record 10 lines of F7.3 fields from column 10;
//   14 30 frequency records (1..30 MHz): efficiency F6.1 in columns 3-8 of
//      the first line, then 91 gains as for type 13.
// Any other type, a missing file and a malformed file are errors whose text
// names the file.
#pragma once

#include "model/State.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vx::model {

// One ANTENNA card (columns as DECRED and antcalc read them: 10X, 4I5,
// F10.3, 1X, A21, 1X, F5.1, F10.4).
struct TAntennaSlotCard {
    int32_t itr = 0;     // 1 transmit, 2 receive
    int32_t idx = 0;     // slot 1..20 in s.cantenna
    int32_t minfreq = 0; // band served, whole MHz
    int32_t maxfreq = 0;
    float designfreq = 0; // design frequency; the gain of an isotrope
    std::string antfile;  // columns 42-62 as written (21 characters)
    float beammain = 0;   // main beam bearing, degrees
    float power = 0;      // transmit power, kW (receive: a gain)
};

// An antenna model file as the reference holds it after reading it.
struct TAntennaModel {
    std::string description;      // line 1, 70 characters
    std::array<float, 20> parm{}; // parameters 1..20 at [0..19], unread ones 0
    int32_t type = 0;             // NINT(parameter 2)
    // type 13: gains[(azimuth * 91) + elevation], azimuth 0..359;
    // type 14: gains[((mhz - 1) * 91) + elevation], efficiency[mhz - 1].
    std::vector<float> gains;
    std::vector<float> efficiency;
};

// Parsed models by the file name AntennaFileName gives ("" is the built-in
// 0 dB antenna and needs no entry).
using TAntennaLibrary = std::map<std::string, TAntennaModel, std::less<>>;

// Where the antennas point, as antcalc sees the circuit.
struct TAntennaGeometry {
    // antcalc's area method: the deck has an AREA card or is run as an area
    // deck. Even then a deck with a second frequency (frequencies[1] != 0) is
    // computed as point to point, as antcalc does.
    bool area = false;
    // freqarea(1..2): the first two frequencies of the FREQUENCY card.
    std::array<float, 2> frequencies{};
    // ztaz(1), ztaz(2): bearings transmitter->receiver and receiver->
    // transmitter in degrees (DAZEL0 on the CIRCUIT card's end points, each
    // plus 180 reduced below 360 for the long path "L").
    std::array<float, 2> azimuth{};
};

// Reads an ANTENNA card. False with a message when a field is not a number.
bool ParseAntennaCard(std::string_view line, TAntennaSlotCard &card, std::string &error);

// The cards an area deck's antenna lines stand for (AREAMAP writes them into
// the deck it runs): receive line "Rec Ants :[file]  gain=  G  B" and
// transmit line "Tx Ants  :[file] F  B  P". A missing line is passed empty.
bool AreaAntennaCards(std::string_view receiveLine, std::string_view transmitLine, std::vector<TAntennaSlotCard> &cards,
                      std::string &error);

// The name of the file a card refers to, relative to the data folder's
// antennas/ ("default/isotrope"): its blanks removed. Empty when the card
// names no file (the built-in 0 dB antenna).
std::string AntennaFileName(const TAntennaSlotCard &card);

// The bytes of <dataFolder>/antennas/<name>. False with a message naming the
// file when it cannot be read.
bool ReadAntennaFile(const std::string &dataFolder, const std::string &name, std::string &bytes, std::string &error);

// Parses the bytes of antenna file `name` (the name is only for messages).
bool ParseAntennaModel(std::string_view bytes, const std::string &name, TAntennaModel &model, std::string &error);

// ReadAntennaFile + ParseAntennaModel for every file the cards name that is
// not in the library yet.
bool LoadAntennaModels(const std::string &dataFolder, const std::vector<TAntennaSlotCard> &cards,
                       TAntennaLibrary &library, std::string &error);

// antcalc and DECRED for the deck's cards, in deck order: fills
// s.cantenna (numants counts up from its value, 0 after SETVARS),
// s.careaant, s.pantenna, s.designfreq and s.ccirparm.parm. Every file a
// card names must be in the library. False with a message on a card the
// reference could not compute (slot outside 1..20, band outside 1..30 MHz,
// a value its scratch files cannot hold, ...).
bool ApplyAntennaCards(TModelState &s, const std::vector<TAntennaSlotCard> &cards, const TAntennaLibrary &library,
                       const TAntennaGeometry &geometry, std::string &error);
// The same with the geometry antcalc had at each card (one per card).
bool ApplyAntennaCards(TModelState &s, const std::vector<TAntennaSlotCard> &cards, const TAntennaLibrary &library,
                       const std::vector<TAntennaGeometry> &geometries, std::string &error);

// The ANTENNA cards among a deck's card images (columns 1-10 name a card),
// in deck order.
bool DeckAntennaCards(const std::vector<std::string> &cards, std::vector<TAntennaSlotCard> &antennas,
                      std::string &error);

// ReadAntennaFile + ParseAntennaModel for the files a deck's ANTENNA cards
// name and the library lacks.
bool LoadDeckAntennas(const std::string &dataFolder, const std::vector<std::string> &cards, TAntennaLibrary &library,
                      std::string &error);

// antcalc's pass over a deck's card images, then ApplyAntennaCards: the
// geometry comes from the cards before each ANTENNA card as antcalc reads
// them (CIRCUIT 10X,F5.2,A1,3(F9.2,A1),2X,A1; FREQUENCY $ 11X,11F6.3, other
// FREQUENCY 10X,11F5.2; an AREA card anywhere makes it an area deck). An
// ANTENNA card after EXECUTE is an error, as there.
bool ApplyDeckAntennas(TModelState &s, const std::vector<std::string> &cards, const TAntennaLibrary &library,
                       std::string &error);

// DAZEL0, bearing only: the azimuth (degrees clockwise from north, 0..360)
// at the first point of the great circle to the second; points in degrees
// north and east.
float GreatCircleBearing(float tlat, float tlon, float rlat, float rlon);

// GAIN: the gain (dBi) of the transmit (itr 1) or receive (itr 2) antenna
// serving frequency fmc (MHz) at elevation delta (radians), and its
// efficiency; 0 and 0 when no antenna serves fmc. itr < 0: the ground
// reflection loss at control point -itr instead (eff 0).
void AntennaGain(TModelState &s, int itr, float delta, float fmc, float &rain, float &eff);

// GAIN's ground reflection loss at take-off angle del, summed over the
// control points and divided by their number (REGMOD, ESMOD, SETTXR).
float MeanGroundReflectionLoss(TModelState &s, float del, float freq);

// PWRDB: the transmitter power (dBW) of the transmit antenna serving freq
// (clamped to 2..30 MHz); 30 dBW when none does.
float TransmitPowerDb(const TModelState &s, float freq);

} // namespace vx::model
