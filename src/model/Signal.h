// Signal, noise and reliability of every frequency of one hour: the modes
// each frequency propagates by, their losses, the most reliable of them and
// the sums over all of them, on the short-path or the long-path model.
#pragma once

#include "model/State.h"

namespace vx::model {

// Which model ComputeSignal follows (LUFFY's IPFLAG).
inline constexpr int kShortPathSignal = 100;
inline constexpr int kLongPathSignal = 200;
inline constexpr int kShortPathLuf = 300;
inline constexpr int kLongPathLuf = 400;

// LUFFY: for the hour s.time.it, fills s.son (mode, angles, losses, signal,
// SNR, reliability per frequency of s.frq.frel) or, with the LUF flags, the
// LUF s.mufs.xluf(it) searched over the frequency complement s.frq.frea.
// Reads the ionosphere, MUFs and noise tables left by the earlier steps of
// the hour. With method 30 (s.contrl.mspec 121) and ipflag 100, a path of
// 7000 to 10000 km is computed on both models and blended (s.son.mdl 'S',
// 'L' or 'M' per frequency); beyond 10000 km only the long model is set up.
// Unlike the reference, ipflag is taken by value: the caller's flag is not
// turned to 200 by the blend (the run drivers do not read it afterwards).
void ComputeSignal(TModelState &s, int ipflag);

// SETLUF: the LUF of the hour from the reliabilities of s.frq.frel (the
// first frequency reaching the required reliability, or minus the most
// reliable one when none does); also stored in frel(13).
void SetLuf(TModelState &s);

// FRQCOM: eleven frequencies from 2 MHz up to min(HPF, 40 MHz) in slots
// 1..11, the MUF in slot 12 and 0 in slot 13 (slot 12 only and the FOT in
// slot 1 when ifreq is -10). Only slots 1..13 of the table are touched.
void FrequencyComplement(TModelState &s, TTable<float, 13> &frea, int ifreq);
void FrequencyComplement(TModelState &s, TTable<float, 29> &frel, int ifreq);

} // namespace vx::model
