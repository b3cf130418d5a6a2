// Ray tables of one frequency and the ends of a long path. All arithmetic is
// single precision, as the reference's REAL; Fortran's INT() of a positive
// value is a truncation, which the casts below keep.
#include "model/Rays.h"
#include "model/FortranFormat.h"

#include "model/Antenna.h"
#include "model/Reliability.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace vx::model {

namespace {

// The layer numbers FINDF gives its rays (E, F1, F2).
constexpr int kLayerE = 1;
constexpr int kLayerF1 = 2;
constexpr int kLayerF2 = 3;

// Largest number of rays in one column of /REFLX/.
constexpr int kMaxRays = 45;

using fortran::TruncateToInt;

// A frequency in kHz as the ray tables keep it.
int32_t KiloHertz(float mhz) { return TruncateToInt(1000.0f * mhz); }

// The reflection point of one ray before the spherical correction.
struct TRayPoint {
    float fv = 0.0f; // vertical frequency
    float hp = 0.0f; // virtual height
};

// Where FINDF is in its scan of the ray table.
struct TRayScan {
    int il = kLayerE; // layer
    int ih = 1;       // height index, kept from one angle to the next
    int ilow = 1;     // lowest height index of the layer
    int ihigh = 10;   // highest height index of the layer
    int icusp = -1;   // -1 scanning, 0 this layer's cusp stored, 1 next layer's cusp stored
    int ia = 0;       // angle index
    int iaf = 1;      // ray index into /REFLX/
};

enum class TScanStep { Point, NextLayer, Stop };

} // namespace

// FOBBY
void FindOverTheMuf(TModelState &s, int k) {
    const TConstants &c = s.con;
    const int nang = s.rays.nang;
    float rcosd[40];
    for (int ia = 1; ia <= nang; ++ia) {
        const float del = s.rays.ang(ia) * c.d2r;
        rcosd[ia - 1] = c.rz * std::cos(del);
    }
    // Height by height, the rays in an inner loop of element-wise
    // arithmetic, then stored down the table's column.
    for (int ih = 1; ih <= 30; ++ih) {
        const float fv = s.ron.fvert(ih, k);
        // True height: no k factor.
        const float radius = c.rz + s.ron.htrue(ih, k);
        float fob[40];
        for (int i = 0; i < nang; ++i) {
            const float sphe = rcosd[i] / radius;
            float sqcos = 1.0f - sphe * sphe;
            sqcos = 0.000001f < sqcos ? sqcos : 0.000001f; // std::max(0.000001f, sqcos)
            fob[i] = fv / std::sqrt(sqcos);
        }
        int32_t *column = &s.rays.ifob(1, ih, k);
        for (int i = 0; i < nang; ++i) column[i] = KiloHertz(fob[i]);
    }
}

namespace {

// PENANG's angle of a layer cusp from cos(angle); 0 when it lies below the
// horizon.
bool CuspAngle(const TModelState &s, float cdel, float &delpen) {
    if (cdel - 0.999999f <= 0.0f) {
        delpen = std::acos(cdel) * s.con.r2d;
        return true;
    }
    delpen = 0.0f;
    return false;
}

// PENANG: cos of the take-off angle whose ray just reaches the top of an E
// or F1 layer (height index ih); false when the layer reflects every ray.
bool LowerLayerCosine(const TModelState &s, int k, int ih, float &cdel) {
    const float fv = s.ron.fvert(ih, k);
    float frat = fv / s.frq.freq;
    frat = frat * frat;
    if (frat - 0.9999f >= 0.0f) return false;
    cdel = (s.con.rz + s.ron.htrue(ih, k)) * std::sqrt(1.0f - frat) / s.con.rz;
    return true;
}

// PENANG for the F2 layer: the ray is bent back before the top of the layer
// where (rz + h) * mu peaks, looked for among the three highest points.
void F2PenetrationAngle(TModelState &s, int k) {
    const float fmhz = s.frq.freq;
    const float rz = s.con.rz;
    TReflections &r = s.reflx;
    if (s.ron.fvert(30, k) - s.frq.freq + 0.0001f >= 0.0f) {
        r.delpen(3, k) = 89.9f;
        return;
    }
    auto refraction = [&](int ih) {
        const float ratio = s.ron.fvert(ih, k) / fmhz;
        return (rz + s.ron.htrue(ih, k)) * std::sqrt(1.0f - ratio * ratio);
    };
    const float xm28 = refraction(28);
    const float xm29 = refraction(29);
    const float xm30 = refraction(30);
    float cdel;
    if (xm30 - xm29 < 0.0f)
        cdel = (xm29 - xm28 < 0.0f ? xm28 : xm29) / rz;
    else
        cdel = (xm30 - xm28 < 0.0f ? xm28 : xm30) / rz;
    if (!CuspAngle(s, cdel, r.delpen(3, k))) {
        r.dskpkm(k) = -1.0f;
        r.dmaxkm(k) = -1.0f;
    }
}

} // namespace

// PENANG
void PenetrationAngles(TModelState &s, int k) {
    TReflections &r = s.reflx;
    float cdel;
    if (!LowerLayerCosine(s, k, 10, cdel)) {
        r.delpen(1, k) = 89.9f;
        r.delpen(2, k) = 90.0f;
        r.delpen(3, k) = 90.0f;
        return;
    }
    CuspAngle(s, cdel, r.delpen(1, k));
    if (s.ron.fi(2, k) <= 0.0f) {
        r.delpen(2, k) = r.delpen(1, k);
    } else {
        if (!LowerLayerCosine(s, k, 20, cdel)) {
            r.delpen(2, k) = 89.9f;
            r.delpen(3, k) = 90.0f;
            return;
        }
        CuspAngle(s, cdel, r.delpen(2, k));
    }
    F2PenetrationAngle(s, k);
}

namespace {

// FINDF: a ray that reflects exactly at height index ih.
void StoreExactRay(TModelState &s, int k, const TRayScan &scan, TRayPoint &point) {
    TReflections &r = s.reflx;
    r.delfx(scan.iaf, k) = s.rays.ang(scan.ia);
    r.htflx(scan.iaf, k) = s.ron.htrue(scan.ih, k);
    r.afflx(scan.iaf, k) = s.ron.afac(scan.ih, k);
    point.fv = s.ron.fvert(scan.ih, k);
    point.hp = s.ron.hprim(scan.ih, k);
    r.imode(scan.iaf, k) = scan.il;
}

// FINDF: a ray between height indices ih and ih + 1, interpolated on the
// oblique frequency (kHz).
void StoreInterpolatedRay(TModelState &s, int k, const TRayScan &scan, int32_t jfhz, TRayPoint &point) {
    TReflections &r = s.reflx;
    const TControlPoints &ron = s.ron;
    const int ih = scan.ih;
    const int32_t below = s.rays.ifob(scan.ia, ih, k);
    const float slopd = std::max(1.0f, static_cast<float>(s.rays.ifob(scan.ia, ih + 1, k) - below));
    const float slope = static_cast<float>(jfhz - below) / slopd;
    r.htflx(scan.iaf, k) = ron.htrue(ih, k) + slope * (ron.htrue(ih + 1, k) - ron.htrue(ih, k));
    point.fv = ron.fvert(ih, k) + slope * (ron.fvert(ih + 1, k) - ron.fvert(ih, k));
    r.delfx(scan.iaf, k) = s.rays.ang(scan.ia);
    point.hp = ron.hprim(ih, k) + slope * (ron.hprim(ih + 1, k) - ron.hprim(ih, k));
    r.afflx(scan.iaf, k) = ron.afac(ih, k) + slope * (ron.afac(ih + 1, k) - ron.afac(ih, k));
    r.imode(scan.iaf, k) = scan.il;
}

// FINDF: the cusp where the current layer is penetrated (a ray at the top
// of the layer); the same angle is scanned again for the next layer.
void StoreLayerCusp(TModelState &s, int k, TRayScan &scan, TRayPoint &point) {
    TReflections &r = s.reflx;
    r.delfx(scan.iaf, k) = r.delpen(scan.il, k);
    r.htflx(scan.iaf, k) = s.ron.htrue(scan.ihigh, k);
    r.afflx(scan.iaf, k) = s.ron.afac(scan.ihigh, k);
    point.fv = s.ron.fvert(scan.ihigh, k);
    point.hp = s.ron.hprim(scan.ihigh, k);
    --scan.ia;
    scan.icusp = 0;
    r.imode(scan.iaf, k) = scan.il;
}

// FINDF: the other side of the cusp, at the bottom of the next layer and
// 0.001 degree above the previous ray.
void StoreNextLayerCusp(TModelState &s, int k, TRayScan &scan, TRayPoint &point) {
    TReflections &r = s.reflx;
    const int bottom = scan.ihigh + 1;
    r.delfx(scan.iaf, k) = r.delfx(scan.iaf - 1, k) + 0.001f;
    r.htflx(scan.iaf, k) = s.ron.htrue(bottom, k);
    r.afflx(scan.iaf, k) = s.ron.afac(bottom, k);
    point.fv = s.ron.fvert(bottom, k);
    point.hp = s.ron.hprim(bottom, k);
    scan.icusp = 1;
    r.imode(scan.iaf, k) = s.ron.fi(2, k) <= 0.0f ? kLayerF2 : scan.il + 1;
}

// FINDF: searches the heights of the current angle for the operating
// frequency. The height index carries over from the previous angle.
bool SearchHeights(TModelState &s, int k, TRayScan &scan, int32_t jfhz, TRayPoint &point) {
    const auto &ifob = s.rays.ifob;
    for (;;) {
        if (ifob(scan.ia, scan.ilow, k) >= jfhz) {
            StoreExactRay(s, k, scan, point);
            return true;
        }
        if (scan.ih >= scan.ihigh) return false;
        const int32_t here = ifob(scan.ia, scan.ih, k);
        if (here == jfhz) {
            StoreExactRay(s, k, scan, point);
            return true;
        }
        if (here < jfhz && ifob(scan.ia, scan.ih + 1, k) >= jfhz) {
            StoreInterpolatedRay(s, k, scan, jfhz, point);
            return true;
        }
        ++scan.ih;
    }
}

// FINDF: the next ray of the current layer, angle by angle.
TScanStep ScanLayer(TModelState &s, int k, TRayScan &scan, int32_t jfhz, TRayPoint &point) {
    const float delpen = s.reflx.delpen(scan.il, k);
    for (;;) {
        if (delpen <= 0.0f) return TScanStep::NextLayer;
        if (delpen - 89.99f > 0.0f) return TScanStep::Stop;
        ++scan.ia;
        if (scan.ia > s.rays.nang) return TScanStep::Stop;
        if (delpen - s.rays.ang(scan.ia) <= 0.0f) {
            StoreLayerCusp(s, k, scan, point);
            return TScanStep::Point;
        }
        if (SearchHeights(s, k, scan, jfhz, point)) return TScanStep::Point;
    }
}

// FINDF: moves the scan to the F1 layer (or straight to F2 when there is no
// F1) after E, and to F2 after F1; false after F2.
bool AdvanceLayer(const TModelState &s, int k, TRayScan &scan) {
    scan.icusp = -1;
    if (scan.il == kLayerE) {
        scan.ih = 11;
        scan.ilow = 11;
        const bool noF1 = s.ron.fi(2, k) <= 0.0f;
        scan.il = noF1 ? kLayerF2 : kLayerF1;
        scan.ihigh = noF1 ? 30 : 20;
        return true;
    }
    if (scan.il == kLayerF1) {
        scan.il = kLayerF2;
        scan.ilow = scan.ihigh + 1;
        scan.ihigh = 30;
        scan.ih = 21;
        return true;
    }
    return false;
}

// FINDF: Martyn's theorem corrected for a spherical ionosphere, the ground
// range of the ray, and the skip and maximum ranges.
void CompleteRay(TModelState &s, int k, const TRayScan &scan, float fc2, TRayPoint point) {
    const TConstants &c = s.con;
    TReflections &r = s.reflx;
    const int iaf = scan.iaf;
    const float freq = s.frq.freq;
    const float del = r.delfx(iaf, k) * c.d2r;
    const float rcosd = c.rz * std::cos(del);
    const float xfsq = freq * freq / fc2;
    const float ht = r.htflx(iaf, k);
    const float xmut = 1.0f - point.fv * point.fv / (freq * freq);
    const float xhp = (point.hp - ht) / c.rz;
    const float sph = xfsq * xmut * xhp * (ht + 2.0f * (c.rz + ht) * xhp);
    const float hp = point.hp + sph;
    const float phe = std::asin(rcosd / (c.rz + hp));
    const float gdr = 2.0f * c.rz * (c.pio2 - del - phe);
    r.gdflx(iaf, k) = gdr;
    r.hpflx(iaf, k) = hp;
    r.fvflx(iaf, k) = point.fv;
    if (r.dskpkm(k) - gdr > 0.0f) {
        r.dskpkm(k) = gdr;
        r.delskp(k) = r.delfx(iaf, k);
        r.htskp(k) = ht;
        r.hpskp(k) = hp;
        r.fvskp(k) = point.fv;
        r.iskp(k) = scan.il;
    }
    if (r.dmaxkm(k) - gdr <= 0.0f && r.delfx(iaf, k) - s.don.amind >= 0.0f) r.dmaxkm(k) = gdr;
}

// FINDF: after a cusp of the current layer, the matching ray at the bottom
// of the next one; false when the scan ends there.
bool NextLayerCuspPossible(const TModelState &s, int k, const TRayScan &scan) {
    return scan.il < kLayerF2 && s.reflx.delpen(scan.il, k) - 89.9f < 0.0f;
}

} // namespace

// FINDF
void FindReflections(TModelState &s, int k) {
    TReflections &r = s.reflx;
    const int32_t jfhz = KiloHertz(s.frq.freq);
    r.dmaxkm(k) = 0.0f;
    r.dskpkm(k) = 10000.0f;
    for (int ia = 1; ia <= kMaxRays; ++ia) {
        r.hpflx(ia, k) = 0.0f;
        r.delfx(ia, k) = 0.0f;
        r.gdflx(ia, k) = 0.0f;
    }
    const float fc2 = s.ron.fi(3, k) * s.ron.fi(3, k);
    PenetrationAngles(s, k);

    TRayScan scan;
    TRayPoint point;
    bool pendingNextCusp = false;
    for (;;) {
        if (pendingNextCusp) {
            StoreNextLayerCusp(s, k, scan, point);
            pendingNextCusp = false;
        } else {
            const TScanStep step = ScanLayer(s, k, scan, jfhz, point);
            if (step == TScanStep::Stop) return;
            if (step == TScanStep::NextLayer) {
                if (!AdvanceLayer(s, k, scan)) return;
                continue;
            }
        }
        CompleteRay(s, k, scan, fc2, point);
        s.losx.iaftxr(k) = scan.iaf;
        ++scan.iaf;
        if (scan.iaf > kMaxRays) return;
        if (scan.icusp == 0) {
            if (!NextLayerCuspPossible(s, k, scan)) return;
            pendingNextCusp = true;
        } else if (scan.icusp > 0) {
            if (!AdvanceLayer(s, k, scan)) return;
        }
    }
}

namespace {

// FDIST: copies ray ih of the table into mode il.
void TakeRayAsMode(TModelState &s, int k, int il, int ih) {
    const TReflections &r = s.reflx;
    TModes &m = s.modes;
    m.delmod(il, k) = r.delfx(ih, k);
    m.hpmod(il, k) = r.hpflx(ih, k);
    m.htmod(il, k) = r.htflx(ih, k);
    m.itmod(il, k) = r.imode(ih, k);
    m.afmod(il, k) = r.afflx(ih, k);
    m.fvmod(il, k) = r.fvflx(ih, k);
}

// FDIST: mode il between rays ih and ih + 1, interpolated on ground range;
// the take-off angle and vertical frequency follow from the geometry of the
// interpolated heights.
void InterpolateMode(TModelState &s, int k, int il, int ih, float dhopkm, float dth2) {
    const TConstants &c = s.con;
    const TReflections &r = s.reflx;
    TModes &m = s.modes;
    const float dth = dhopkm - r.gdflx(ih, k);
    const float thet = 0.5f * dhopkm / c.rz;
    const float hp = r.hpflx(ih, k) + (r.hpflx(ih + 1, k) - r.hpflx(ih, k)) * dth / dth2;
    const float ht = r.htflx(ih, k) + (r.htflx(ih + 1, k) - r.htflx(ih, k)) * dth / dth2;
    m.afmod(il, k) = r.afflx(ih, k) + (r.afflx(ih + 1, k) - r.afflx(ih, k)) * dth / dth2;
    m.hpmod(il, k) = hp;
    const float tanp = std::sin(thet) / (1.0f - std::cos(thet) + hp / c.rz);
    const float phe = std::atan(tanp);
    m.delmod(il, k) = (c.pio2 - phe - thet) * c.r2d;
    float sphi = c.rz * std::cos(m.delmod(il, k) * c.d2r) / (c.rz + ht);
    sphi = std::max(1.0f - sphi * sphi, 0.000001f);
    m.fvmod(il, k) = s.frq.freq * std::sqrt(sphi);
    m.htmod(il, k) = ht;
    m.itmod(il, k) = r.imode(ih, k);
}

// FDIST: how the hop length relates to rays ih and ih + 1.
enum class THopMatch { None, Ray, NextRay, Between };

// FDIST: ranges rising from ray ih to ih + 1.
THopMatch MatchRising(float gd1, float gd2, float dhopkm) {
    if (gd1 - dhopkm > 0.0f) return THopMatch::None;
    if (gd1 - dhopkm == 0.0f) return THopMatch::Ray;
    if (dhopkm - gd2 > 0.0f) return THopMatch::None;
    return dhopkm - gd2 == 0.0f ? THopMatch::NextRay : THopMatch::Between;
}

// FDIST: ranges falling from ray ih to ih + 1.
THopMatch MatchFalling(float gd1, float gd2, float dhopkm) {
    if (gd1 - dhopkm < 0.0f) return THopMatch::None;
    if (gd1 - dhopkm == 0.0f) return THopMatch::Ray;
    if (dhopkm - gd2 < 0.0f) return THopMatch::None;
    return dhopkm - gd2 == 0.0f ? THopMatch::NextRay : THopMatch::Between;
}

// FDIST: equal ranges of two rays. The reference skips the pair when the
// hop length is that range and otherwise takes ray ih as it is (the test
// was inverted in a 1997 change; kept as the reference runs).
THopMatch MatchEqual(float gd1, float dhopkm) {
    return std::fabs(dhopkm - gd1) <= 0.001f ? THopMatch::None : THopMatch::Ray;
}

// FDIST: stores the mode of the hop length at rays ih, ih + 1 into slot il
// (ih may move on to ih + 1); false when the pair holds none.
bool StoreModeAt(TModelState &s, int k, int il, int &ih, float dhopkm) {
    const float gd1 = s.reflx.gdflx(ih, k);
    const float gd2 = s.reflx.gdflx(ih + 1, k);
    THopMatch match;
    if (gd1 - gd2 < 0.0f)
        match = MatchRising(gd1, gd2, dhopkm);
    else if (gd1 - gd2 == 0.0f)
        match = MatchEqual(gd1, dhopkm);
    else
        match = MatchFalling(gd1, gd2, dhopkm);
    switch (match) {
    case THopMatch::None: return false;
    case THopMatch::NextRay:
        ++ih;
        TakeRayAsMode(s, k, il, ih);
        return true;
    case THopMatch::Ray: TakeRayAsMode(s, k, il, ih); return true;
    case THopMatch::Between: break;
    }
    const float dth2 = gd2 - gd1;
    if (std::fabs(dth2) - 0.001f <= 0.0f)
        TakeRayAsMode(s, k, il, ih);
    else
        InterpolateMode(s, k, il, ih, dhopkm, dth2);
    return true;
}

} // namespace

// FDIST
void FindModeDistances(TModelState &s, int ihop, int k, int &nummod) {
    (void)ihop; // the reference only prints it
    TModes &m = s.modes;
    const float dhopkm = m.ghop * s.con.rz;
    for (int im = 1; im <= 6; ++im) {
        m.hpmod(im, k) = -1.0f;
        m.itmod(im, k) = 5;
    }
    if (dhopkm < s.reflx.dmaxkm(k)) {
        int il = 1;
        for (int ih = 1; ih <= 44 && s.reflx.hpflx(ih + 1, k) > 0.0f; ++ih) {
            if (!StoreModeAt(s, k, il, ih, dhopkm)) continue;
            if (!(m.delmod(il, k) >= s.don.amind)) {
                // Below the minimum angle: marked, and the slot reused.
                m.hpmod(il, k) = -std::fabs(m.hpmod(il, k));
                continue;
            }
            if (il >= 6) break;
            ++il;
        }
    }
    nummod = 0;
    for (int im = 1; im <= 6; ++im)
        if (!(m.hpmod(im, k) < 0.0f)) ++nummod;
}

namespace {

// SETTXR: a ray worth computing losses for: reflected (virtual height from
// 70 km) and not below the minimum angle.
bool UsableRay(const TModelState &s, int ia, int k) {
    return !(s.reflx.hpflx(ia, k) < 70.0f) && !(s.reflx.delfx(ia, k) < s.don.amind);
}

// SETTXR: whether the rays of column k up to the first unreflected one hold
// one usable for a path of dend km (at least 0.9 hop).
bool HasUsableRay(const TModelState &s, int k, float dend) {
    const TReflections &r = s.reflx;
    for (int ia = 1; ia <= kMaxRays; ++ia) {
        if (r.hpflx(ia, k) - 70.0f < 0.0f) return false;
        const float xhpm = dend / r.gdflx(ia, k);
        if (xhpm - 0.9f >= 0.0f && r.delfx(ia, k) - s.don.amind >= 0.0f) return true;
    }
    return false;
}

// SETTXR: the circuit's over-the-MUF ray put in slot 1 of column k.
void ForceOverTheMufRay(TModelState &s, int k) {
    TReflections &r = s.reflx;
    const TMufs &mu = s.mufs;
    const int im = mu.modmuf;
    r.delfx(1, k) = mu.delmuf(im);
    r.hpflx(1, k) = mu.hpmuf(im);
    r.htflx(1, k) = mu.htmuf(im);
    r.fvflx(1, k) = mu.fvmuf(im);
    r.afflx(1, k) = mu.afmuf(im);
    const float xhop = static_cast<float>(mu.nhopmf(im));
    r.gdflx(1, k) = s.don.gcdkm / xhop;
    r.imode(1, k) = mu.modmuf;
}

// 1 / cos of the angle of incidence at height h of a ray leaving the ground
// with cos(take-off) cdel.
float SecantAt(float rz, float cdel, float h) {
    const float sinp = rz * cdel / (rz + h);
    return 1.0f / std::sqrt(1.0f - sinp * sinp);
}

// SETTXR: absorption and deviation losses of a ray reflected in the E
// region (with the E-layer correction of the deviation).
void LowerRegionLosses(TModelState &s, int ia, int k, float cdel, float ac, float bc) {
    const TSignalDistribution &sd = s.sigd;
    const TReflections &r = s.reflx;
    TLossTables &l = s.losx;
    const float rz = s.con.rz;
    const float ht = r.htflx(ia, k);
    float xnsq;
    if (sd.htloss <= ht) {
        xnsq = 10.2f;
    } else {
        // Collision frequency at a very low reflection.
        const float hnux = 61.0f + 3.0f * (ht - 70.0f) / 18.0f;
        xnsq = sd.xnuz * std::exp(-2.0f * (hnux - 60.0f) / sd.hnu);
    }
    const float heff = std::min(100.0f, ht);
    l.andvx(ia, k) = SecantAt(rz, cdel, heff) * ac / (bc + xnsq);
    const float xv = std::max(r.fvflx(ia, k) / s.ron.fi(1, k), sd.xve);
    const float adx = sd.afe + sd.bfe * std::log(xv);
    const float secp = SecantAt(rz, cdel, r.hpflx(ia, k));
    l.advx(ia, k) =
        secp * r.afflx(ia, k) * (std::pow(r.fvflx(ia, k) + s.geog.gyz(k), 1.98f) + xnsq) / (bc + xnsq) + adx;
    l.aofx(ia, k) = 0.0f;
}

// SETTXR: absorption and deviation losses of an F-region ray, and the
// obscuration by sporadic E below it.
void UpperRegionLosses(TModelState &s, int ia, int k, float cdel, float ac, float bc) {
    const TReflections &r = s.reflx;
    TLossTables &l = s.losx;
    const float rz = s.con.rz;
    const float xnsq = 10.2f;
    l.andvx(ia, k) = SecantAt(rz, cdel, 100.0f) * ac / (bc + xnsq);
    const float secp = SecantAt(rz, cdel, r.hpflx(ia, k));
    l.advx(ia, k) = secp * r.afflx(ia, k) * (std::pow(r.fvflx(ia, k) + s.geog.gyz(k), 1.98f) + xnsq) / (bc + xnsq);
    l.aofx(ia, k) = 0.0f;
    if (s.es.fs(2, k) <= 0.0f) return;
    // The Es frequency at the lowest angle and height bounds the
    // operating frequency from below.
    const float fsdead = static_cast<float>(s.rays.ifob(1, 3, k)) / 1000.0f;
    const float fmhz = std::max(s.frq.freq, fsdead);
    const float sins = rz * cdel / (rz + s.es.hs(k));
    const float secs = 1.0f / std::sqrt(1.0f - sins * sins);
    const float esd = s.es.fs(2, k) * secs;
    float p = MufProbability(s, fmhz, esd, s.mufs.ymuf(4), 4);
    p = std::min(0.9f, std::max(0.1f, p));
    l.aofx(ia, k) = -10.0f * std::log10(1.0f - p);
}

// SETTXR's ground losses of one frequency by take-off angle: the mean over
// the control points depends on the angle alone, and most rays of the two
// ends leave at the same angles of the fixed table.
struct TGroundLossMemo {
    int count = 0;
    int last = 0;
    uint32_t del[2 * kMaxRays];
    float loss[2 * kMaxRays];

    float Get(TModelState &s, float angle) {
        const uint32_t bits = std::bit_cast<uint32_t>(angle);
        for (int n = 0; n < count; ++n) {
            const int i = (last + n) % count; // rays come in order: look on from the last one
            if (del[i] == bits) {
                last = i + 1 < count ? i + 1 : 0;
                return loss[i];
            }
        }
        const float value = MeanGroundReflectionLoss(s, angle, s.frq.freq);
        if (count < 2 * kMaxRays) {
            del[count] = bits;
            loss[count] = value;
            ++count;
        }
        return value;
    }
};

// SETTXR: average ground reflection loss over the control points, and the
// gain of the end's antenna.
void GroundAndAntenna(TModelState &s, int jj, int ia, int k, float del, TGroundLossMemo &ground) {
    TLossTables &l = s.losx;
    const float freq = s.frq.freq;
    l.grlosx(ia, k) = ground.Get(s, del);
    float gain = 0.0f;
    float teff = 0.0f;
    AntennaGain(s, jj, del, freq, gain, teff);
    l.tgainx(ia, k) = gain;
    if (jj == 2) l.efflp(ia) = teff;
}

// SETTXR: the probability that the circuit's MUF layer supports the
// frequency, the same for every ray (SETTXR overwrites the ray's layer with
// the circuit MUF's layer), and its loss at vertical incidence.
struct TMufSupport {
    float pros;
    float loss;
};

TMufSupport CircuitMufSupport(const TModelState &s) {
    const int is = s.mufs.modmuf;
    const float ymuf = s.mufs.ymuf(is);
    const float pros = MufProbability(s, s.frq.freq, ymuf, ymuf, is);
    return {pros, -10.0f * std::log10(pros)};
}

// SETTXR: the median over-the-MUF loss of the circuit's MUF layer, slant
// through the reflection height, added to the absorption.
void OverTheMufLoss(TModelState &s, int jj, int ia, int k, float cdel, const TMufSupport &muf) {
    const float rz = s.con.rz;
    const float sphet = rz * cdel / (rz + s.reflx.htflx(ia, k));
    const float cphet = std::sqrt(std::max(0.00000001f, 1.0f - sphet * sphet));
    const float xls = muf.loss / cphet;
    s.losx.andvx(ia, k) = s.losx.andvx(ia, k) + xls;
    s.allmode.prob(jj) = muf.pros;
}

// SETTXR: the losses and gains of every ray of one end.
void EndLosses(TModelState &s, int jj, int k, TGroundLossMemo &ground, const TMufSupport &muf) {
    TLossTables &l = s.losx;
    const float bc = std::pow(s.frq.freq + s.geog.gyz(k), 1.98f);
    const float ac = 677.2f * s.geog.abiy(k);
    for (int ia = 1; ia <= kMaxRays; ++ia) {
        l.tgainx(ia, k) = -10.0f;
        l.andvx(ia, k) = 1000.0f;
        l.advx(ia, k) = 1000.0f;
        l.grlosx(ia, k) = 0.0f;
        if (!UsableRay(s, ia, k)) continue;
        const float del = s.reflx.delfx(ia, k) * s.con.d2r;
        const float cdel = std::cos(del);
        if (s.ron.fi(1, k) < s.reflx.fvflx(ia, k))
            UpperRegionLosses(s, ia, k, cdel, ac, bc);
        else
            LowerRegionLosses(s, ia, k, cdel, ac, bc);
        GroundAndAntenna(s, jj, ia, k, del, ground);
        OverTheMufLoss(s, jj, ia, k, cdel, muf);
    }
}

} // namespace

// SETTXR (original variant)
void SetRaySets(TModelState &s) {
    const float dend = std::min(4000.0f, s.don.gcdkm);
    TGroundLossMemo ground;
    const TMufSupport muf = CircuitMufSupport(s);
    for (int jj = 1; jj <= 2; ++jj) {
        const int k = s.frq.itxrcp(jj);
        for (int ia = 1; ia <= kMaxRays; ++ia) {
            s.reflx.gml(ia, k) = -999.0f;
            s.reflx.fhp(ia, k) = 999.0f;
        }
        if (!HasUsableRay(s, k, dend)) ForceOverTheMufRay(s, k);
        EndLosses(s, jj, k, ground, muf);
    }
}

namespace {

// SELTXR reads one place past a column when its search runs off the end of
// the 45 rays; the Fortran storage then continues in the next column, and
// past the last one in /REFLX/'s next table (htflx).
float VirtualHeightPast(const TModelState &s, int ia, int k) {
    if (ia <= kMaxRays) return s.reflx.hpflx(ia, k);
    return k < 3 ? s.reflx.hpflx(ia - kMaxRays, k + 1) : s.reflx.htflx(ia - kMaxRays, 1);
}

// SELTXR: the first ray of column k to start the selection from. From ray
// 1, when it is under 0.9 hop, the first later ray not below the minimum
// angle (its hop count is not looked at again). xhpm is the hop count of ray 1.
// Returns the ray, or one less than the first ray that is unreflected or
// past the table (the selection is then skipped).
bool FirstRay(const TModelState &s, int k, float xhpm, int &ray) {
    ray = 1;
    if (xhpm - 0.9f >= 0.0f) return true;
    for (;;) {
        ++ray;
        if (VirtualHeightPast(s, ray, k) <= 70.0f || ray > s.losx.iaftxr(k)) {
            --ray;
            return false;
        }
        if (s.reflx.delfx(ray, k) - s.don.amind >= 0.0f) return true;
    }
}

// SELTXR: the running best ray of one end.
struct TBestRay {
    int ray = 1;
    float xhpm = 0.0f;   // hops
    float gmax = 0.0f;   // gain minus loss
    float delmax = 0.0f; // distance from the preferred angle
    float yhpm = 0.0f;   // distance from a whole number of hops
};

// SELTXR: whether a ray with these figures beats the best so far: first on
// gain minus loss, within gmin on the hop fraction, within ymin on the
// distance from the preferred angle.
bool Beats(const TLongPath &lp, const TBestRay &best, float gnow, float yhop, float delnow) {
    if (std::fabs(gnow - best.gmax) - lp.gmin > 0.0f) return gnow - best.gmax > 0.0f;
    if (std::fabs(yhop - best.yhpm) - lp.ymin > 0.0f) return yhop - best.yhpm < 0.0f;
    return delnow - best.delmax < 0.0f;
}

// SELTXR: one pass over the rays of column k from best.ray on, with the
// hop fraction folded at xfract.
void SelectPass(TModelState &s, int k, float dend, float xfract, TBestRay &best) {
    const TLossTables &l = s.losx;
    TReflections &r = s.reflx;
    const float delopt = s.lpath.delopt;
    if (best.yhpm - xfract > 0.0f) best.yhpm = 1.0f - best.yhpm;
    best.gmax = l.tgainx(best.ray, k) - best.xhpm * (l.andvx(best.ray, k) + l.advx(best.ray, k));
    best.delmax = std::fabs(r.delfx(best.ray, k) - delopt);
    const int first = best.ray;
    for (int ia = first; ia <= l.iaftxr(k); ++ia) {
        if (r.hpflx(ia, k) - 70.0f <= 0.0f) continue;
        const float xhop = dend / r.gdflx(ia, k);
        if (xhop - 0.9f < 0.0f) continue;
        const float hopx = static_cast<float>(TruncateToInt(xhop));
        float yhop = xhop - hopx;
        if (yhop - 0.5f > 0.0f) yhop = 1.0f - yhop;
        const float gnow = l.tgainx(ia, k) - xhop * (l.andvx(ia, k) + l.advx(ia, k));
        r.gml(ia, k) = gnow;
        r.fhp(ia, k) = yhop;
        const float delnow = std::fabs(r.delfx(ia, k) - delopt);
        if (Beats(s.lpath, best, gnow, yhop, delnow)) {
            best.ray = ia;
            best.xhpm = xhop;
            best.gmax = gnow;
            best.delmax = delnow;
            best.yhpm = yhop;
        }
    }
}

} // namespace

// SELTXR (original variant)
void SelectRaySets(TModelState &s) {
    for (int jj = 1; jj <= 2; ++jj) {
        const int k = s.frq.itxrcp(jj);
        const float dend = std::min(s.don.gcdkm, 4000.0f);
        TBestRay best;
        best.xhpm = dend / s.reflx.gdflx(1, k);
        const float hopx = static_cast<float>(TruncateToInt(best.xhpm));
        if (!FirstRay(s, k, best.xhpm, best.ray)) {
            s.lpath.ltxrgm(jj) = best.ray;
            continue;
        }
        best.yhpm = best.xhpm - hopx;
        // With the trace bit 4 of INFO the reference first tries a hop
        // fraction of 0.05 and then 0.5, from the same first ray but with
        // the figures the first pass left.
        const int first = best.ray;
        if ((s.inform.info & 4) != 0) {
            SelectPass(s, k, dend, 0.05f, best);
            best.ray = first;
        }
        SelectPass(s, k, dend, 0.5f, best);
        s.lpath.ltxrgm(jj) = best.ray;
    }
}

// GMLOSS
void GroundLosses(TModelState &s) {
    TModeSums &z = s.zon;
    for (int im = 1; im <= 7; ++im) {
        z.obf(im) = 1000.0f;
        z.adv(im) = 1000.0f;
        z.fslos(im) = 1000.0f;
        z.tloss(im) = 1000.0f;
        z.abps(im) = 1000.0f;
        z.eff(im) = 0.0f;
        z.grlos(im) = 1000.0f;
        z.rgain(im) = 0.0f;
        z.tgain(im) = 0.0f;
        z.hn(im) = -1.0f;
        z.prob(im) = 0.001f;
        z.crel(im) = 0.001f;
        z.rely(im) = 0.001f;
        z.spro(im) = 0.001f;
        z.fldst(im) = -1000.0f;
        z.sigpow(im) = -1000.0f;
        z.sn(im) = -1000.0f;
        z.timed(im) = -1.0f;
        z.hp(im) = -1.0f;
        z.b(im) = -1.0f;
        z.nmode(im) = 5;
    }
    SetRaySets(s);
    for (int jj = 1; jj <= 2; ++jj) {
        const int k = s.frq.itxrcp(jj);
        for (int ia = 1; ia <= s.losx.iaftxr(k); ++ia) {
            if (s.reflx.hpflx(ia, k) - 70.0f < 0.0f || s.reflx.delfx(ia, k) - s.don.amind < 0.0f) continue;
            s.lpath.txrgml(ia, jj) = s.losx.tgainx(ia, k) - (s.losx.andvx(ia, k) + s.losx.advx(ia, k));
        }
    }
}

} // namespace vx::model
