// The ionosphere of a circuit: where the control points lie, what the
// month's maps give there at one hour, the electron density profile of a
// control point and its ionogram, and the circuit's MUFs. Each function
// follows one routine of the reference (named in its comment) and reads and
// writes the blocks of TModelState that routine uses.
#pragma once

#include "model/State.h"

namespace vx::model {

// set_magnetic_pole: the geomagnetic north pole into s.cnorth_pole. The
// reference looks for run/north_pole.txt and then for a database file whose
// path it builds without a separator when the data folder is given without a
// trailing "/" (the way we run it), so neither is found and the built-in
// pole (78.5 N, 69.0 W) is used. That is what this sets.
void SetMagneticPole(TModelState &s);

// GEOM: great circle, bearings, control points (s.ron clat/clong/glat/rd,
// km), magnetic dip and gyrofrequency, ground constants (s.geog), alatd.
// Needs s.con, s.don end points, s.ion.npsl and s.cnorth_pole.
void ComputeGeometry(TModelState &s);

// SANG: the number of ray angles to scan for the path length (s.rays.nang).
void SetSunAngles(TModelState &s);

// GEOTIM: UT and local times of hour jt (1..24) at both ends and the
// control points (s.time, s.geog.clck).
void SetHour(TModelState &s, int jt);

// VIRTIM: the month's coefficients at this UT (s.two_ab.ab).
void PrepareVirtualHeights(TModelState &s);

// VERSY: maps kik..lik (1..3 Es deciles, 4 foF2, 5 M(3000), 6 foE) at
// control point ii from the time-evaluated coefficients, into s.a11.gamma.
void EvaluateMaps(TModelState &s, int kik, int lik, int ii);

// EF1VAR: E and F1 layers of control point ii at solar zenith angle cycen.
void EAndF1Layers(TModelState &s, float cycen, int ii);

// TIMVAR (with EF1VAR): zenith angle, local time, E and F1 layers, F2
// height ratio and absorption index at each control point.
void ApplyTimeVariation(TModelState &s);

// F2VAR: the F2 layer (and F1 retardation) at each control point.
void ApplyF2Variation(TModelState &s);

// ESIND: sporadic E deciles at each control point (s.es).
void ApplySporadicE(TModelState &s);

// IONSET: layers moved into the E/F sample slots and made consistent
// (s.ron.kfx).
void SetUpIonosphere(TModelState &s);

// CURMUF (the original variant, which runs for version letter W): E, F1,
// F2 and Es MUFs of hour s.time.it, their deciles and the circuit MUF.
void ComputeCircuitMuf(TModelState &s);

// LECDEN: the electron density profile of control point k into column 1 of
// s.ron.htr/fnsq (may adjust the F1 layer of k; sets s.mfac.fsecv(k)).
void BuildDensityProfile(TModelState &s, int k);

// GENION: vertical sounding frequencies, true and virtual heights of
// control point k (s.ron fvert/htrue/hprim column k) from the profile in
// column 1; call BuildDensityProfile(s, k) first.
void BuildIonogram(TModelState &s, int k);

// GETHP: virtual and true height of reflection of vertical frequency fxx
// on the profile in column 1 (Gaussian integration with s.datr).
void VirtualAndTrueHeight(const TModelState &s, float fxx, float &hpx, float &htx);

// PEN: retardation in layer i of control point k at frequency f.
float LayerRetardation(const TModelState &s, int i, int k, float f);

// BENDY: bending in layer i of control point k at frequency f.
float LayerBending(const TModelState &s, int i, int k, float f);

// XLIN: linear interpolation of y against x in column k of tables with
// ntab rows (x may rise or fall; beyond the ends the end values).
float InterpolateTable(float x, const float *xn, const float *yn, int ntab, int k);

// F2DIS: standard deviation of the F2 MUF fmuf (upper when freq > fmuf,
// lower otherwise) from the month's F2 decile tables.
void F2MufDeviation(const TModelState &s, float fmuf, float ssn, float clat, float freq, float abb, float &sig);

} // namespace vx::model
