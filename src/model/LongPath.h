// The long-path model: the path as a take-off ray at each end joined by an
// ionospheric stretch (possibly over the top of the absorbing region), with
// its loss, delay, field strength and SNR as one mode. Each function follows
// one routine of the reference, named in its comment.
#pragma once

#include "model/State.h"

namespace vx::model {

// SETLNG: with one or two distinct control points (s.ron.kfx < 3), copies
// their geography, layers, ionograms and oblique frequencies to the unused
// control point slots so that both ends of a long path find a column.
void SetLongPath(TModelState &s);

// LNGPAT: the long-path mode of the selected rays s.lpath.ltxrgm into
// slot 1 of s.allmode (slot 2 of b and nmode for the receive end), and the
// MUF spread factors s.sigd.dslf/dsuf.
void LongPathModel(TModelState &s);

// CONVH: group path ptot (km) and focusing gain ch (dB, at most 15) of a
// path of gd radians with take-off angle del, angle of incidence phe,
// virtual height hp and slant ray length ray.
void ConvergenceGain(const TModelState &s, float gd, float phe, float del, float hp, float ray, float &ch, float &ptot);

// GETTOP: the length gmkm (km) of the middle of an ionospheric stretch of
// dikm km that rides over the E layer (an M mode), or 0.
void OverTheTopDistance(const TModelState &s, float dikm, float &gmkm);

// TABS: loss per km along dm radians of path that misses the absorbing
// region (1000 when there is none).
void MissedRegionLoss(const TModelState &s, float del, float hp, float dm, float &am);

// BABS: loss per km along df radians of path through the absorbing region
// (1000 when there is none).
void AbsorbingRegionLoss(const TModelState &s, float del, float hp, float df, float &af);

} // namespace vx::model
