// Circuit geometry: great circle, control points, their magnetic field and
// local times.
#include "model/Geometry.h"

#include "model/Ionosphere.h"
#include "model/Noise.h"

#include <cmath>

namespace vx::model {

namespace {

// Coefficients of the field model of MAGFIN (Jensen and Cain, epoch 1960):
// Schmidt recursion terms ct, Gauss coefficients g and h; [n-1][m-1].
constexpr float kCt[7][7] = {
    {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
    {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
    {.33333333f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
    {.26666667f, .2f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
    {.25714286f, .22857142f, .14285714f, 0.0f, 0.0f, 0.0f, 0.0f},
    {.25396825f, .23809523f, .19047619f, .11111111f, 0.0f, 0.0f, 0.0f},
    {.25252525f, .24242424f, .21212121f, .16161616f, .09090909f, 0.0f, 0.0f},
};
constexpr float kG[7][7] = {
    {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
    {.304112f, .021474f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
    {.024035f, -.051253f, -.013381f, 0.0f, 0.0f, 0.0f, 0.0f},
    {-.031518f, .062130f, -.024898f, -.006496f, 0.0f, 0.0f, 0.0f},
    {-.041794f, -.045298f, -.021795f, .007008f, -.002044f, 0.0f, 0.0f},
    {.016256f, -.034407f, -.019447f, -.000608f, .002775f, .000697f, 0.0f},
    {-.019523f, -.004853f, .003212f, .021413f, .001051f, .000227f, .001115f},
};
constexpr float kH[7][7] = {
    {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
    {0.0f, -.057989f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
    {0.0f, .033124f, -.001579f, 0.0f, 0.0f, 0.0f, 0.0f},
    {0.0f, .014870f, -.004075f, .00021f, 0.0f, 0.0f, 0.0f},
    {0.0f, -.011825f, .010006f, .00043f, .001385f, 0.0f, 0.0f},
    {0.0f, -.000796f, -.002f, .004597f, .002421f, -.001218f, 0.0f},
    {0.0f, -.005758f, -.008735f, -.003406f, -.000118f, -.001116f, -.000325f},
};
constexpr float kPoleLatitudeLimit = 1.56905124f; // MAGFIN: 89.9 degrees
constexpr float kEarthRadiusMetres = 6371200.f;   // MAGFIN

// GEOM: bearing at a point of latitude lat toward the other end, or the pole
// rule when the point is within 1e-7 of a pole.
float Bearing(float fromLat, float toLat, float gcd, float polarNorth, float polarSouth) {
    constexpr float kEpsilon = 1.E-7f;
    if (std::cos(fromLat) - kEpsilon <= 0.0f) return fromLat <= 0.0f ? polarSouth : polarNorth;
    float qcos = (std::sin(toLat) - std::sin(fromLat) * std::cos(gcd)) / (std::cos(fromLat) * std::sin(gcd));
    if (std::fabs(qcos) > 1.0f) qcos = FortranSign(1.0f, qcos);
    return std::acos(qcos);
}

// GEOM: latitude and longitude of the point drf radians along the path.
void PointAlongPath(const TModelState &s, float drf, float &rflt, float &rflg) {
    constexpr float kEpsilon = 1.E-7f;
    const TConstants &c = s.con;
    const TCircuit &d = s.don;
    if (std::cos(d.tlat) - kEpsilon < 0.0f) {
        rflt = d.tlat - FortranSign(drf, d.tlat);
        if (std::fabs(rflt) > c.pio2) rflt = c.pio2 * FortranSign(1.f, rflt);
        rflg = d.rlong;
        return;
    }
    float qcos = std::cos(drf) * std::sin(d.tlat) + std::sin(drf) * std::cos(d.tlat) * std::cos(d.btr);
    if (std::fabs(qcos) > 1.0f) qcos = FortranSign(1.0f, qcos);
    rflt = c.pio2 - std::acos(qcos);
    if (std::cos(rflt) - kEpsilon <= 0.0f) {
        rflg = d.tlong;
        return;
    }
    qcos = (std::cos(drf) - std::sin(rflt) * std::sin(d.tlat)) / (std::cos(rflt) * std::cos(d.tlat));
    if (std::fabs(qcos) > 1.0f) qcos = FortranSign(1.0f, qcos);
    rflg = std::acos(qcos);
    if (drf >= c.pi) rflg = c.pi2 - rflg;
    rflg = d.tlong - FortranSign(rflg, d.dlong);
    if (std::fabs(rflg) > c.pi) rflg = rflg - FortranSign(c.pi2, rflg);
}

// GEOM: the distances of the control points along the path.
void PlaceControlPoints(TModelState &s) {
    const float rz = s.con.rz;
    const float gcd = s.don.gcd;
    TControlPoints &r = s.ron;
    if (s.don.gcdkm <= 2000.01f) {
        r.km = 1;
        r.rd(1) = gcd / 2.f;
    } else if (s.don.gcdkm <= 4000.f) {
        r.km = 3;
        r.rd(1) = 1000.f / rz;
        r.rd(2) = gcd / 2.f;
        r.rd(3) = gcd - r.rd(1);
    } else {
        r.km = 5;
        r.rd(1) = 1000.f / rz;
        r.rd(2) = r.rd(1) + r.rd(1);
        r.rd(3) = gcd / 2.f;
        r.rd(4) = gcd - r.rd(2);
        r.rd(5) = gcd - r.rd(1);
    }
}

} // namespace

// set_magnetic_pole
void SetMagneticPole(TModelState &s) {
    s.cnorth_pole.g_magnetic_lat = 78.5f;
    s.cnorth_pole.g_magnetic_lon = -69.0f;
}

// MAGFIN
void MagneticField(float lat, float lon, float height, float une[3]) {
    float p[7][7] = {};
    float dp[7][7] = {};
    float sp[7] = {};
    float cp[7] = {};
    float aor[7] = {};
    p[0][0] = 1.0f;
    cp[0] = 1.0f;
    float p1 = lat;
    float phi = lon;
    if (p1 > kPoleLatitudeLimit) {
        p1 = kPoleLatitudeLimit;
        phi = 0;
    } else if (p1 < -kPoleLatitudeLimit) {
        p1 = -kPoleLatitudeLimit;
        phi = 0;
    }
    const float ar = kEarthRadiusMetres / (kEarthRadiusMetres + height);
    const float c = std::sin(p1);
    const float sn = std::sqrt(cp[0] - c * c);
    sp[1] = std::sin(phi);
    cp[1] = std::cos(phi);
    aor[0] = ar * ar;
    aor[1] = aor[0] * ar;
    for (int m = 2; m < 7; ++m) {
        sp[m] = sp[1] * cp[m - 1] + cp[1] * sp[m - 1];
        cp[m] = cp[1] * cp[m - 1] - sp[1] * sp[m - 1];
        aor[m] = ar * aor[m - 1];
    }
    float bv = 0.f, bn = 0.f, bphi = 0.f;
    for (int n = 1; n < 7; ++n) {
        const float fn = float(n + 1);
        float sumr = 0.f, sumt = 0.f, sump = 0.f;
        for (int m = 0; m <= n; ++m) {
            if (m == n) {
                p[n][n] = sn * p[n - 1][n - 1];
                dp[n][n] = sn * dp[n - 1][n - 1] + c * p[n - 1][n - 1];
            } else if (n == 1) {
                p[1][0] = c;
                dp[1][0] = -sn;
            } else {
                p[n][m] = c * p[n - 1][m] - kCt[n][m] * p[n - 2][m];
                dp[n][m] = c * dp[n - 1][m] - sn * p[n - 1][m] - kCt[n][m] * dp[n - 2][m];
            }
            const float fm = float(m);
            const float ts = kG[n][m] * cp[m] + kH[n][m] * sp[m];
            sumr = sumr + p[n][m] * ts;
            sumt = sumt + dp[n][m] * ts;
            sump = sump + fm * p[n][m] * (-kG[n][m] * sp[m] + kH[n][m] * cp[m]);
        }
        bv = bv + aor[n] * fn * sumr;
        bn = bn - aor[n] * sumt;
        bphi = bphi - aor[n] * sump;
    }
    une[0] = -bv;
    une[1] = bn;
    une[2] = -bphi / sn;
}

// MAGVAR
void MagneticDipAndGyro(TModelState &s, float cenlat, float cenlg, int ii, float &clg) {
    const float c360 = 360.f * s.con.d2r;
    clg = cenlg < 0.0f ? c360 + cenlg : cenlg;
    float une[3];
    MagneticField(cenlat, clg, 300000.f, une);
    const float hhm = std::sqrt(une[0] * une[0] + une[1] * une[1] + une[2] * une[2]);
    s.geog.gyz(ii) = 2.8f * hhm;
    const float tmp = une[1] * une[1] + une[2] * une[2];
    float gob = std::cos(cenlat);
    if (gob <= .000001f) gob = .000001f;
    s.geog.gmdip(ii) = std::atan(std::atan(-une[0] / std::sqrt(tmp)) / std::sqrt(gob));
}

// GEOM
void ComputeGeometry(TModelState &s) {
    const TConstants &c = s.con;
    TCircuit &d = s.don;
    TControlPoints &r = s.ron;
    const float glt = s.cnorth_pole.g_magnetic_lat * c.d2r;
    const float glg = s.cnorth_pole.g_magnetic_lon * c.d2r;
    constexpr float kClosest = .03f; // GEOM: nearest the two ends may be, degrees
    if (std::fabs(d.tlatd - d.rlatd) <= kClosest && std::fabs(d.tlongd - d.rlongd) <= kClosest)
        d.rlatd = d.tlatd - (d.rlatd < 0.f ? -kClosest : kClosest);
    d.tlat = d.tlatd * c.d2r;
    d.tlong = d.tlongd * c.d2r;
    d.rlat = d.rlatd * c.d2r;
    d.rlong = d.rlongd * c.d2r;
    if (std::fabs(d.rlatd) > 89.9f) d.rlong = 0.f;
    if (std::fabs(d.tlatd) > 89.9f) d.tlong = 0.f;

    d.dlong = d.tlong - d.rlong;
    if (std::fabs(d.dlong) > c.pi) d.dlong = d.dlong - FortranSign(c.pi2, d.dlong);
    if (s.ion.npsl == 1) d.dlong = d.dlong - FortranSign(c.pi2, d.dlong);
    float qcos = std::sin(d.tlat) * std::sin(d.rlat) + std::cos(d.tlat) * std::cos(d.rlat) * std::cos(d.dlong);
    if (std::fabs(qcos) > 1.0f) qcos = FortranSign(1.0f, qcos);
    d.gcd = std::acos(qcos);
    if (d.gcd < 0.000001f) d.gcd = 0.000001f;
    if (s.ion.npsl == 1) d.gcd = c.pi2 - d.gcd;
    d.gcdkm = d.gcd * c.rz;

    d.btr = Bearing(d.tlat, d.rlat, d.gcd, c.pi, 0.0f);
    if (d.dlong > 0.0f) d.btr = c.pi2 - d.btr;
    float brt = Bearing(d.rlat, d.tlat, d.gcd, c.pi, 0.0f);
    if (d.dlong < 0.0f) brt = c.pi2 - brt;
    d.btrd = d.btr * c.r2d;
    d.brtd = brt * c.r2d;

    PlaceControlPoints(s);
    for (int i = 1; i <= r.km; ++i) {
        float rflt = 0.f, rflg = 0.f;
        PointAlongPath(s, r.rd(i), rflt, rflg);
        qcos = std::sin(glt) * std::sin(rflt) + std::cos(glt) * std::cos(rflt) * std::cos(rflg - glg);
        if (std::fabs(qcos) > 1.0f) qcos = FortranSign(1.0f, qcos);
        r.glat(i) = c.pio2 - std::acos(qcos);
        r.clat(i) = rflt;
        r.clong(i) = rflg;
        float clg = rflg;
        MagneticDipAndGyro(s, rflt, rflg, i, clg);
        const float rfltd = rflt * c.r2d;
        float clgd = clg * c.r2d;
        if (clgd < 0.f) clgd = clgd + 360.f;
        float land = 0.f;
        NoiseAtLocation(s, 7, rfltd, clgd, land);
        // GEOM: ground constants of sea where the land map is negative.
        s.geog.sigpat(i) = land >= 0.f ? 0.001f : 5.f;
        s.geog.epspat(i) = land >= 0.f ? 4.f : 80.f;
    }
    d.alatd = std::fabs(r.clat(1)) * c.r2d;
    if (r.km != 1) d.alatd = std::fabs((r.clat(1) + r.clat(2) + r.clat(3)) / 3.0f) * c.r2d;
}

// SANG
void SetSunAngles(TModelState &s) {
    // SANG: the last ray index scanned per 2000 km of path.
    constexpr int kLastAngle[8] = {40, 34, 29, 24, 19, 14, 12, 9};
    int id = int(s.don.gcdkm / 2000.f + 1.f);
    if (id > 8) id = 8;
    int iang = kLastAngle[id - 1];
    const float amind = s.don.amind;
    if (amind > 0.f && s.rays.ang(iang) - 10.f - amind < 0.f) {
        for (int ia = 1; ia <= 40; ++ia) {
            iang = ia;
            if (s.rays.ang(iang) - 8.5f - amind >= 0.f) break;
        }
    }
    s.rays.nang = iang;
}

// CNGTIM
int ShiftTime(float &time, float xtheta, int isw) {
    if (xtheta == 0.f) return 0;
    const float theta = xtheta < 0.f ? 360.f + xtheta : xtheta;
    const float fint1 = float(int(theta / 180.f));
    const float fint2 = float(int(theta / 360.f));
    const float fisw = float(isw);
    time = time + fisw * (theta / 15.0f - fint1 * 24.f + fint2 * 24.f);
    const int dayChange = int((time - 23.99999999f) / 24.0f) + int(time / 24.0f);
    if (time < 0.f) time = time + 24.f;
    time = time - fint2 * 24.f;
    for (;;) {
        if (time < 0.f) {
            time = time + 24.f;
        } else if (time - 24.f > 0.f) {
            time = time - 24.f;
        } else {
            break;
        }
    }
    return dayChange;
}

// GEOTIM
void SetHour(TModelState &s, int jt) {
    TTimes &t = s.time;
    const float r2d = s.con.r2d;
    float ckc = float(jt);
    float local = 0.f;
    if (t.itim < 0) {
        local = ckc;
        ShiftTime(ckc, s.don.tlong * r2d, -1);
        t.gmt = ckc;
    } else {
        t.gmt = ckc;
        ShiftTime(ckc, s.don.tlong * r2d, 1);
        local = ckc;
    }
    t.it = int(t.gmt);
    if (t.it <= 0) t.it = 24;
    t.utime(t.it) = t.gmt;
    t.xlmt(t.it) = local;
    ckc = t.gmt;
    ShiftTime(ckc, s.don.rlong * r2d, 1);
    t.gmtr = ckc;
    for (int ii = 1; ii <= s.ron.km; ++ii) {
        ckc = t.gmt;
        ShiftTime(ckc, s.ron.clong(ii) * r2d, 1);
        s.geog.clck(ii) = ckc;
    }
}

} // namespace vx::model
