// Helpers of the circuit geometry that tests and other parts of the
// ionosphere reach: the magnetic field model and the time conversion.
#pragma once

#include "model/State.h"

namespace vx::model {

// MAGFIN: the geomagnetic field (1960 dipole-plus terms, gauss) at
// latitude lat and east longitude lon (radians) and height (metres):
// une[0] up, une[1] north, une[2] east.
void MagneticField(float lat, float lon, float height, float une[3]);

// MAGVAR: gyrofrequency and modified dip at control point ii from the
// field at 300 km; clg returns the east longitude (0..2 pi) of cenlg.
void MagneticDipAndGyro(TModelState &s, float cenlat, float cenlg, int ii, float &clg);

// CNGTIM: shifts time (hours) from UT to the local time of east longitude
// xtheta (isw = 1) or back (isw = -1), wrapped into 0..24. Returns the day
// change (-1, 0, 1) as the reference computes it.
int ShiftTime(float &time, float xtheta, int isw);

// The Fortran intrinsics whose corner cases the model's numbers depend on.
// SIGN as the reference is built (-fno-sign-zero: a negative zero counts as
// positive).
inline float FortranSign(float a, float b) {
    const float magnitude = a < 0.0f ? -a : a;
    return b >= 0.0f ? magnitude : -magnitude;
}

// X**N for an integer N computed at run time, by the same square-and-
// multiply in float that the compiler's run time uses.
inline float FortranPowInt(float x, int m) {
    unsigned n = m < 0 ? 0u - unsigned(m) : unsigned(m);
    float y = (n % 2u) ? x : 1.0f;
    while (n >>= 1) {
        x = x * x;
        if (n % 2u) y = y * x;
    }
    return m < 0 ? 1.0f / y : y;
}

} // namespace vx::model
