// Setting up a run: the state every computation starts from, and the
// effect of a deck's cards on it.
#pragma once

#include "model/State.h"

#include <string>
#include <string_view>

namespace vx::model {

struct TDeck;

// The state before any card is read: the constants and presets the
// reference compiles in (BLKDAT), the ones its main program sets before the
// first run (integration weights, map indices), the values SETVARS clears,
// and what LISTIN and HFMUFS set before DECRED (a run enabled, no area, no
// daily maps). The magnetic pole is not set here: SetMagneticPole (GEOM's
// owner) does that. Call once per state, before ApplyDeck.
void InitialiseState(TModelState &s);

// What DECRED does to the state for one card image (columns 1-10 name it).
// False, with a message, for a malformed number, a value the engine cannot
// run (a method that does not exist, an antenna slot out of range...) or a
// card the engine does not support.
bool ApplyCard(std::string_view card, TModelState &s, std::string &error);

// What DECRED does to the state for the cards of a deck, in deck order up
// to EXECUTE:
// METHOD, MONTH, SUNSPOT, CIRCUIT, SYSTEM, TIME, FREQUENCY, LABEL, FPROB,
// LINEMAX, COEFFS, AREA, BOTLINES, TOPLINES, and of the ANTENNA cards the
// part DECRED keeps itself (which antenna, its power, file name, beam);
// the gain tables come from ApplyDeckAntennas (Antenna.h), called after
// this with the models LoadDeckAntennas read. An area deck is
// applied through the point-style cards the reference makes of it
// (AREAMAP), so both kinds reach the state the same way. Returns false
// with a message when the deck asks for something the engine cannot do.
bool ApplyDeck(const TDeck &deck, TModelState &s, std::string &error);

} // namespace vx::model
