// Probabilities of the signal step: the normal distribution, the chance that
// a frequency passes a layer's MUF, the excess system loss tables, and what
// the modes of one frequency give together (most reliable mode, summed
// power, reliability, service and multipath probabilities).
#pragma once

#include "model/State.h"

namespace vx::model {

// FNORML: the cumulative normal distribution at x (a four-term rational
// approximation, |x| limited to 5).
float NormalCdf(float x);

// PRBMUF: the probability that fmhz is below the MUF fgo of layer il (1 E,
// 2 F1, 3 F2, 4 Es), the distribution's deciles scaled from s.mufs.sigl/sigu
// of a MUF fset; fset <= 0 gives a step (1 at or below fgo, else 0).
float MufProbability(const TModelState &s, float fmhz, float fgo, float fset, int il);

// SYSSY outputs: excess system loss and its deciles, and its prediction
// errors.
struct TSystemLoss {
    float fm = 0.0f;
    float su = 0.0f;
    float sl = 0.0f;
    float fmp = 0.0f;
    float sup = 0.0f;
    float slp = 0.0f;
};

// SYSSY: the excess system loss table row for geomagnetic latitude g
// (radians), local time pt (hours) and column nn of the month's tables
// (s.two.sys, s.two.perr); fixed values when no tables are loaded.
TSystemLoss SystemLossDeciles(const TModelState &s, float g, float pt, int nn);

// SIGDIS (the original variant, which runs for version letter W): the
// absorption index, excess system loss and its deciles averaged over the
// control points (s.geog, s.ton, s.sigd), the D-E loss constants, and the
// signal decile adjustments with the Es obscuration and F2 over-the-MUF
// parts of the tables taken out (s.sigd.asm_, dsu, dsl).
void SetSignalDistribution(TModelState &s);

// RELBIL: reliability of each of the s.allmode.nmmod modes, the most
// reliable one (s.allmode.nrel), and for frequency slot ifx the summed
// signal, its deciles, SNR, reliability and required power gain (s.son,
// s.cgains, s.sncom, s.dudl_nois, s.alpha.mode). Nothing when no modes.
void CombineModes(TModelState &s, int ifx, float freq);

// SERPRB: service probability of each mode and the best one for slot ifx.
void ServiceProbability(TModelState &s, int ifx);

// MPATH: multipath probability of slot ifx: the highest reliability of a
// mode other than the most reliable one that arrives more than s.don.dmp
// apart and no more than s.don.pmp dB weaker.
void MultipathProbability(TModelState &s, int ifx);

} // namespace vx::model
