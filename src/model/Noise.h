// Radio noise at the receiver: the 1 MHz atmospheric noise of the month's
// maps at the receiver's local time, its frequency dependence and spread
// (ITS Report 87-212, "Updated noise model for use in IONCAP"), the galactic
// and man-made parts, and the combined distribution the signal-to-noise
// figures use. Each function follows one routine of the reference (named in
// its comment) and reads and writes the blocks of TModelState it uses.
#pragma once

#include "model/State.h"

namespace vx::model {

// NOISY: the Fourier series in latitude and east longitude of map kj of
// s.two.p (1..6 the atmospheric noise of the six 4-hour blocks, in dB above
// kTb at 1 MHz; 7 the land/sea map; 8 the F2 ratio of height of maximum to
// semi-thickness), normalised with s.two.abp(., kj). xla is the geographic
// latitude in degrees (north positive), ceg the east longitude in degrees
// (0..360). The result goes to anos.
void NoiseAtLocation(TModelState &s, int kj, float xla, float ceg, float &anos);

// ANOIS1: the 1 MHz atmospheric noise at the receiver (s.don rlat/rlong) for
// the two time blocks around the receiver's local time s.time.gmtr: sets
// s.anois cc, tm, kj, jk, atnu, atny. Without month maps (f2d(1,1,1) <= 0)
// only atnu and atny are set, to 0.
void AtmosphericNoiseAtHour(TModelState &s);

// What GENFAM gives for one time block at one frequency.
struct TAtmosphericNoiseAtFrequency {
    float fa{};   // Fam at the frequency, dB above kTb
    float du{};   // upper decile above the median, dB
    float dl{};   // lower decile below the median, dB
    float sigm{}; // prediction error of Fam
    float sigu{}; // prediction error of du
    float sigl{}; // prediction error of dl
};

// GENFAM: the frequency dependence of the atmospheric noise (z: its 1 MHz
// value) and the deciles and prediction errors of the month's tables, for
// time block iblk (1..6) of the hemisphere of latitude lat (the southern one
// reads the blocks 7..12). freq in MHz.
TAtmosphericNoiseAtFrequency AtmosphericNoiseAtFrequency(const TModelState &s, float lat, int iblk, float freq,
                                                         float z);

// GENOIS, the variant the reference runs (every year but the placeholder
// " 2089" of the MONTH card, which selects an older combination this engine
// does not carry): the atmospheric (from s.anois as AtmosphericNoiseAtHour
// left it), galactic (none at or below the F2 critical frequency
// s.ron.fi(3, kfx)) and man-made (s.ion.noise: > 0 dBW below 1 W at 3 MHz,
// <= 0 an environment index) noise at s.frq.freq, combined as a sum of
// log-normal powers with the limit of the power sum where the deciles are
// wide. Sets s.anois rcnse (dBW in 1 Hz), du, dl, sigm, sxgu, sxgl; s.ton
// gnos, xnoise, znoise; s.c_noises; s.c_noise.mode_n2;
// s.c_method_used.method_used; and s.zon.eff(1..6) to the receiving
// antenna's efficiency (AntennaGain for antenna 2).
void ComputeNoise(TModelState &s);

// The part of ComputeNoise that does not depend on the antenna: all of it but
// the efficiencies s.zon.eff.
void CombineNoise(TModelState &s);

} // namespace vx::model
