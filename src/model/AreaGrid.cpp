#include "model/AreaGrid.h"

#include <cmath>

namespace vx::model {

void GreatCircleEndPoint(TModelState &s) {
    // DAZEL1's constants, double precision.
    constexpr double kPi = 3.141592653589793238462643;
    constexpr double kEarthRadius = 6370.0;
    constexpr double kToRadians = 0.01745329252;
    constexpr double kToDegrees = 57.29577951;
    TAzimuthElevation &z = s.azel;
    const double tlatr = double(z.ztlat) * kToRadians;
    const double tazr = double(z.ztaz) * kToRadians;
    const double gc = double(z.zdgc) / kEarthRadius;
    const double colat = kPi / 2.0 - tlatr;
    const double cosco = std::cos(colat);
    const double sinco = std::sin(colat);
    const double cosgc = std::cos(gc);
    const double singc = std::sin(gc);
    const double cosb = cosco * cosgc + sinco * singc * std::cos(tazr);
    const double b = std::atan2(std::sqrt(std::fmax(0.0, 1.0 - cosb * cosb)), cosb);
    const double arc = (cosgc - cosco * cosb) / (sinco * std::sin(b));
    const double rdlon = std::atan2(std::sqrt(std::fmax(0.0, 1.0 - arc * arc)), arc);
    // The latitude is stored as REAL before its sign is set.
    const float colatitude = float((kPi / 2.0 - std::fabs(b)) * kToDegrees);
    z.zrlat = float(std::copysign(double(colatitude), cosb));
    const double turn = std::fabs(rdlon) * kToDegrees;
    z.zrlon = float(z.ztaz > 180.f ? double(z.ztlon) - turn : double(z.ztlon) + turn);
}

namespace {

// GRIDXY: longitudes east, 0..360.
void Wrap(float &rlong) {
    if (rlong < 0.f) rlong = rlong + 360.f;
}

} // namespace

void GridPoint(TModelState &s, int ix, int iy, float &rlong, float &rlat) {
    const TGridSpec &g = s.rgrid;
    const float x = g.xmin + float(ix - 1) * (g.xmax - g.xmin) / float(g.nx - 1);
    const float y = g.yymin + float(iy - 1) * (g.ymax - g.yymin) / float(g.ny - 1);
    if (g.iproj != 7) {
        rlong = x;
        rlat = y;
        Wrap(rlong);
        return;
    }
    TAzimuthElevation &z = s.azel;
    z.ztlat = g.plat;
    z.ztlon = g.plon;
    if (x != 0.f || y != 0.f) {
        // GRIDXY's degree factor, .0174533.
        z.ztaz = 90.f - std::atan2(y, x) / .0174533f;
        if (z.ztaz < 0.f) z.ztaz = z.ztaz + 360.f;
        z.zdgc = std::sqrt(x * x + y * y);
        z.ztht = 0.f;
        z.zrht = 0.f;
        GreatCircleEndPoint(s);
        rlong = z.zrlon;
        rlat = z.zrlat;
    } else {
        rlat = g.plat;
        rlong = g.plon;
    }
    Wrap(rlong);
}

} // namespace vx::model
