// Ray sets of one frequency: the oblique frequencies of every ray angle and
// height, the rays that reflect at the operating frequency (their take-off
// angles, heights and ground ranges), the modes of one hop length, and the
// losses and gains at the two ends of a long path with the best ray of each
// end. Each function follows one routine of the reference, named in its
// comment, and reads and writes the blocks of TModelState that routine uses.
#pragma once

#include "model/State.h"

namespace vx::model {

// FOBBY: oblique frequency (kHz, truncated) of every ray angle 1..nang and
// every height 1..30 of control point k into s.rays.ifob.
void FindOverTheMuf(TModelState &s, int k);

// PENANG: take-off angles (degrees) at which the E, F1 and F2 layers of
// control point k are penetrated at s.frq.freq, into s.reflx.delpen(1..3, k)
// (89.9 or 90 when not penetrated; sets dskpkm/dmaxkm(k) to -1 when the F2
// layer reflects every angle).
void PenetrationAngles(TModelState &s, int k);

// FINDF: the ray table of control point k at s.frq.freq: up to 45 rays
// (cusps included) with take-off angle, virtual and true height, ground
// range, vertical frequency, layer and deviation factor (s.reflx column k),
// the skip and maximum ranges, and s.losx.iaftxr(k), the number of rays.
void FindReflections(TModelState &s, int k);

// FDIST: up to six modes of hop length s.modes.ghop (radians) at control
// point k, interpolated in the ray table; modes below the minimum angle get
// a negative height. nummod is the number of modes found.
void FindModeDistances(TModelState &s, int ihop, int k, int &nummod);

// SETTXR (the original variant, which runs for version letter W): at the
// transmitter and receiver ends of a long path, absorption, deviation,
// sporadic-E obscuration and ground losses and antenna gain of every ray
// (s.losx columns itxrcp(1..2)); forces the over-the-MUF ray into slot 1
// when no ray is usable.
void SetRaySets(TModelState &s);

// SELTXR (the original variant): the ray of each end with the best gain
// minus loss, ties broken on the hop fraction and then on the distance to
// the preferred angle, into s.lpath.ltxrgm(1..2).
void SelectRaySets(TModelState &s);

// GMLOSS: presets the mode sums s.zon, runs SetRaySets and stores gain
// minus loss of each usable ray of both ends in s.lpath.txrgml.
void GroundLosses(TModelState &s);

} // namespace vx::model
