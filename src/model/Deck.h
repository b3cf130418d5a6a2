// The input decks of a run, read from text the caller has loaded: the
// point-to-point deck (card images, METHOD 23) and the area deck (".voa",
// labelled lines, Method 30). Both become the same thing, the card images
// the reference computes from: an area deck is turned into the point-style
// deck the reference writes for it (AREAMAP), so one path (ApplyDeck in
// RunSetup.h) brings either into the state.
//
// The readers trust nothing: any bytes give either a deck or a message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vx::model {

// A card image is this wide (MONITR); longer lines are cut, shorter ones
// padded with blanks. Columns 1-10 name the card.
inline constexpr std::size_t kCardColumns = 85;
// Antenna slots of the state (/CANTENNA/).
inline constexpr int kMaxAntennas = 20;
// Bounds of what a reader accepts at all.
inline constexpr std::size_t kMaxDeckBytes = 256 * 1024;
inline constexpr std::size_t kMaxDeckLines = 1000;

enum class TDeckKind { dkPoint, dkArea };

// An ANTENNA card as the reference decodes it (10X,4I5,F10.3,1X,A21,1X,
// F5.1,F10.4).
struct TDeckAntenna {
    int32_t Role = 0;    // 1 transmitter, 2 receiver
    int32_t Index = 0;   // slot 1..kMaxAntennas
    int32_t MinFreq = 0; // MHz, 1..30
    int32_t MaxFreq = 0;
    float DesignFreq = 0.f; // for an isotrope: its gain
    std::string File;       // the 21 columns between the brackets, as written
    float Beam = 0.f;       // main beam azimuth, degrees
    float Power = 0.f;      // kW (transmitter); receiver: a gain for the isotrope
    // The file below the antennas folder: the field without its blanks.
    std::string Path() const;
};

struct TDeck {
    TDeckKind Kind = TDeckKind::dkPoint;
    // Every card up to and including QUIT, kCardColumns wide, in order.
    std::vector<std::string> Cards;
    // The ANTENNA cards, decoded, in deck order.
    std::vector<TDeckAntenna> Antennas;
    // Area decks: the number of points along each side of the grid.
    int32_t GridSize = 0;
    // The geomagnetic north pole (latitude, longitude in degrees) when the
    // run takes it from a north_pole.txt (ReadMagneticPole), not the built-in.
    std::optional<std::pair<float, float>> MagneticPole;
};

// The pole a north_pole.txt gives, read as the reference reads it: the
// first two numbers of its first line, latitude 60..90 and longitude
// -180..180; nothing for a file that gives no such pair.
std::optional<std::pair<float, float>> ParseMagneticPole(std::string_view text);

// Decodes an ANTENNA card image and checks its slot, role, frequency range
// and file name.
bool DecodeAntennaCard(std::string_view image, TDeckAntenna &card, std::string &error);

// Reads a point-to-point deck. Lines end in LF or CR LF; the last may have
// no end. Accepted: the cards our decks use (COMMENT, LINEMAX, COEFFS, TIME,
// SYSTEM, FPROB, LABEL, CIRCUIT, MONTH, SUNSPOT, ANTENNA, FREQUENCY, METHOD,
// BOTLINES, TOPLINES, blank lines), each once except ANTENNA and COMMENT,
// then EXECUTE and QUIT; METHOD 23; FREQUENCY -1 or a list of frequencies.
// Anything else is refused with a message naming the card and the line.
bool ReadPointDeck(std::string_view text, TDeck &deck, std::string &error);

// Reads an area deck (".voa"): Method 30, one month, one hour and one
// frequency, a transmitter, one transmit and one receive antenna, a grid
// of 2..kMaxGridSize points a side. `name` is the deck's name below the area
// folder; it only appears in a comment card. Refuses what it cannot run.
inline constexpr int32_t kMaxGridSize = 181;
bool ReadAreaDeck(std::string_view text, std::string_view name, TDeck &deck, std::string &error);

} // namespace vx::model
