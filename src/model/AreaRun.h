// An area run (Method 30) from its deck to its .vg1 text, following HFAREA:
// the month's maps once, then every cell of the grid as the receiver of one
// circuit from the transmitter, at the deck's hour and frequency.
#pragma once

#include "model/Deck.h"
#include "model/ModelData.h"
#include "model/PointRun.h"
#include "model/RunSink.h"
#include "model/State.h"

#include <functional>
#include <memory>
#include <string>

namespace vx::model {

// HFAREA for a state the area deck has been applied to (InitialiseState,
// ApplyDeck, ApplyDeckAntennas, SetMagneticPole): the head, then each cell,
// rows south to north, cells west to east, handed to the report after its
// hour is computed (OUTAREA). With threads > 1 the rows are shared out
// among that many threads, each on its own copy of the state; the cells
// are the same, only their order of arrival differs. Stops before the next
// cell when the sink asks to.
void RunAreaCells(const TModelData &data, TModelState &s, IAreaSink &sink, int threads = 1);

// HFAREA's receiver of cell (ix, iy): GRIDXY, moved 0.05 degrees east when
// it falls on the transmitter, longitude 0 at the poles; sets s.don rlatd,
// rlongd, rlat, rlong.
void PlaceReceiver(TModelState &s, int ix, int iy);

// PrepareRun for an area deck; refuses a deck that is not one.
std::unique_ptr<TModelState> PrepareAreaRun(const TDeck &deck, const TAntennaStep &antennas, std::string &error);

// The whole run of an area deck read by ReadAreaDeck, its antennas given
// by the caller's step (as for RunPointDeck). `text` receives the .vg1
// file. False with a message when the antennas cannot be set up.
bool RunAreaDeck(const TModelData &data, const TDeck &deck, const TAntennaStep &antennas, std::string &text,
                 std::string &error);

} // namespace vx::model
