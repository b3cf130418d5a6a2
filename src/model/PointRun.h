// A point-to-point run (METHOD 23) from its deck to its printed report,
// following HFMUFS: for each month of the deck the month's maps and the
// circuit, then for each frequency sweep every hour of the TIME card.
#pragma once

#include "model/Deck.h"
#include "model/ModelData.h"
#include "model/RunSink.h"
#include "model/State.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vx::model {

// RUNFREQS: with FREQUENCY -1 the whole MHz of sweep 1 (2..10), 2 (11..20)
// or 3 (21..30) into slots 1..11 of frel, the rest of the slots 0.
void SweepFrequencies(int sweep, TTable<float, 29> &frel);

// HFMUFS' choice of path model for LUFFY: 100 short, 200 long (also when a
// short path reaches the long-path distance; the smoothing method 30 and the
// area runs compare with > instead of >=).
int PathModelFlag(const TModelState &s, bool areaRun);

// HFMUFS from the first month on, for a state the deck has been applied to
// (InitialiseState, ApplyDeck, ApplyDeckAntennas, SetMagneticPole): writes
// every hour to the report through OUTLIN (TPointReport::WriteHour), then
// the line that closes the run. A report must hold the listing already.
// Stops before the next hour when the sink asks to.
void RunPointMonths(const TModelData &data, TModelState &s, IPointSink &sink);

// The step that gives a run its antennas once the deck is applied: the
// caller's ApplyDeckAntennas (Antenna.h) with the models it has loaded.
using TAntennaStep = std::function<bool(TModelState &s, std::string &error)>;

// RunPointMonths into the figures of each hour block (ResultTables.h), the
// hours of each sweep shared out among `threads` threads, each on its own
// copy of the state. The rows are those and in the order a one-thread run
// gives. False when the run ended early (a stop request, or VIRTIM ending
// it); the rows then hold the hours before the first one missing.
struct TPointHourRow;
bool RunPointRows(const TModelData &data, TModelState &s, std::vector<TPointHourRow> &rows,
                  const std::atomic<bool> *stop = nullptr, int threads = 1);

// A fresh state for a read deck: the magnetic pole (the deck's, else the
// built-in), the deck applied, its antennas. Null with a message when the
// deck or its antennas cannot be set up.
std::unique_ptr<TModelState> PrepareRun(const TDeck &deck, const TAntennaStep &antennas, std::string &error);

// The whole run of a point deck read by ReadPointDeck: the listing, the
// deck applied, its antennas, the months, the end line. `text` receives the
// report. False with a message when the antennas cannot be set up.
bool RunPointDeck(const TModelData &data, const TDeck &deck, const TAntennaStep &antennas, std::string &text,
                  std::string &error);

} // namespace vx::model
