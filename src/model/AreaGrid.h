// Where the cells of an area run lie.
#pragma once

#include "model/State.h"

namespace vx::model {

// GRIDXY: the receiver of grid cell (ix, iy), 1-based, ix along x and iy
// along y of s.rgrid: longitude east in 0..360 and latitude, degrees. On a
// latitude/longitude grid (iproj 8) x and y are the longitude and latitude;
// on a great-circle grid (iproj 7) they are kilometres east and north of
// the centre (plat, plon), reached along a great circle.
void GridPoint(TModelState &s, int ix, int iy, float &rlong, float &rlat);

// DAZEL1, the end point: s.azel.zrlat and zrlon of the point s.azel.zdgc
// kilometres from (ztlat, ztlon) on bearing ztaz, on a sphere of 6370 km
// (in double precision, stored as REAL). The elevation angles DAZEL1 also
// computes are not kept: no step of our runs reads them.
void GreatCircleEndPoint(TModelState &s);

} // namespace vx::model
