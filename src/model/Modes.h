// The propagation modes of one frequency: the control point that rules the
// path, the modes of each hop count with their losses (regular layers,
// over-the-MUF and vertical-incidence modes, sporadic E), and the list of
// every mode found that the reliability step works on.
#pragma once

#include "model/State.h"

namespace vx::model {

// SELMOD: the control point that rules a short path (s.frq.jmode): the end
// with the higher F2 (or, with F2 equal, E) critical frequency.
void SelectControlArea(TModelState &s);

// ALLMODES: iflg 0 empties s.allmode and sets s.frq.freq to fval; any other
// iflg appends the modes of s.zon with a height: 1..6 (the hop loop's
// flags), 4..5 (iflg 2, sporadic E), or iflg 1, slot 1 with the receiver
// end of slot 2 (unused by the runs we make).
void CollectModes(TModelState &s, int iflg, float fval);

// ALOSFV: the deviative loss factor of each ionogram height of control
// point k (s.ron.afac column k).
void DeviativeLossFactors(TModelState &s, int k);

// INMUF: to the modes of hop count ihop found by the ray search, adds the
// over-the-MUF mode of each missing layer (at the circuit MUF's hop count,
// or at a MUF computed for this hop count) or, on very short paths, the
// vertical-incidence mode; then computes their losses (RegularModes).
// nummod: the modes with a height.
void InsertMufModes(TModelState &s, int ihop, int &nummod);

// REGMOD: losses, signal, SNR and deciles of the (up to six) modes of
// s.modes at hop length s.modes.ghop into slots 1..6 of s.zon (slot 7 is
// cleared).
void RegularModes(TModelState &s);

// ESMOD: one- and two-hop sporadic E modes into slots 4 and 5 of s.zon.
void SporadicEModes(TModelState &s);

// ESREG: slots 6 and 7 of s.zon set to "no mode". The reference's mixed
// Es-F mode search after this is never reached (it returns first).
void PresetMixedModes(TModelState &s);

} // namespace vx::model
