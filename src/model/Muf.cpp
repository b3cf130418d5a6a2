// The MUFs of the circuit for one hour: E, F1 and F2 from the electron
// density profile of the controlling control point, sporadic E from the Es
// maps, and the circuit MUF and FOT (original MUF routine).
#include "model/Ionosphere.h"

#include <algorithm>
#include <cmath>

namespace vx::model {

// F2DIS
void F2MufDeviation(const TModelState &s, float fmuf, float ssn, float clat, float freq, float abb, float &sig) {
    const TMonthTables &two = s.two;
    if (two.f2d(1, 1, 1) <= 0.f) {
        // F2DIS: without decile tables, 15 % at the decile.
        sig = 0.15f * fmuf / 1.28155f;
        sig = std::max(sig, 0.001f);
        return;
    }
    const float cl = clat * 57.29577f;
    int icc = int(abb / 4.0f + 1.55f);
    if (icc > 6) icc = 1;
    const int decile = freq <= fmuf ? 8 : 0;
    int icl = int(9.5f - std::fabs(cl) / 10.f);
    icl = std::clamp(icl, 1, 8);
    const int iz = icl + decile;
    int j = 2;
    if (ssn <= 50.f) j = 1;
    if (ssn > 100.f) j = 3;
    if (cl <= 0.f) j = j + 3;
    sig = std::fabs(fmuf - two.f2d(iz, j, icc) * fmuf) / 1.28f;
    if (sig <= 0.001f) sig = 0.001f;
}

namespace {

// CURMUF: the hop geometry of a layer MUF. From the virtual height hp of
// the first guess, the number of hops at the least elevation amind; then
// the elevation and the secant factor at true height ht.
struct THopGeometry {
    float psi = 0.f; // half the ground range of one hop, radians
    float cpsi = 0.f;
    float spsi = 0.f;
    float xhops = 0.f;
    float del = 0.f;  // elevation, radians
    float sphe = 0.f; // sine of the angle of incidence at ht
    float secp = 0.f;
};

// CURMUF: elevation and secant for virtual height hp and true height ht
// with the hop length already in g.
void SolveHop(const TModelState &s, THopGeometry &g, float hp, float ht) {
    const TConstants &c = s.con;
    const float tanp = g.spsi / (1.f - g.cpsi + hp / c.rz);
    const float phe = std::atan(tanp);
    g.del = c.pio2 - phe - g.psi;
    const float cdel = std::cos(g.del);
    g.sphe = c.rz * cdel / (c.rz + ht);
    g.secp = 1.f / std::sqrt(1.f - g.sphe * g.sphe);
}

// CURMUF: hop count at the least elevation for virtual height hp. The F2
// form divides by 2 RZ times the hops at once; E and F1 in two steps.
THopGeometry HopsFor(const TModelState &s, float hp, bool f2Form) {
    const TConstants &c = s.con;
    const float gcdkm = s.don.gcdkm;
    THopGeometry g;
    const float del = std::max(0.0f, s.don.amind) * c.d2r;
    const float phe = std::asin(c.rz * std::cos(del) / (c.rz + hp));
    const int nhops = int(.5f * gcdkm / ((c.pio2 - del - phe) * c.rz));
    g.xhops = float(nhops + 1);
    if (f2Form) {
        g.psi = gcdkm / ((2.f * c.rz) * g.xhops);
    } else {
        g.psi = gcdkm / (2.f * c.rz);
        g.psi = g.psi / g.xhops;
    }
    g.cpsi = std::cos(g.psi);
    g.spsi = std::sin(g.psi);
    return g;
}

// CURMUF: the MUF of an F layer with the correction to Martyn's theorem,
// repeated (at most 5 times) until it moves less than 0.1 MHz.
float IterateFMuf(const TModelState &s, THopGeometry &g, float fx, float fc, float hp, float ht, float &hpx) {
    constexpr float kSettled = 0.1f; // CURMUF: FQDEL
    constexpr int kMoreTries = 4;    // CURMUF: NFQ
    const float rz = s.con.rz;
    SolveHop(s, g, hp, ht);
    float fob2 = fx * g.secp;
    const float xhp = (hp - ht) / rz;
    int ntry = 0;
    for (;;) {
        const float fob1 = fob2;
        const float xmut = g.sphe * g.sphe;
        const float xfsq = fob1 * fob1 / (fc * fc);
        const float sph = xfsq * xmut * xhp * (ht + 2.f * (rz + ht) * xhp);
        hpx = hp + sph;
        SolveHop(s, g, hpx, ht);
        fob2 = fx * g.secp;
        ntry = ntry + 1;
        if (std::fabs(fob2 - fob1) - kSettled <= 0.f) break;
        if (kMoreTries - ntry < 0) break;
    }
    return fob2;
}

// CURMUF: the control point whose profile sets the MUF: the one with the
// lower F2 (or E when the F2 criticals agree within 0.01 MHz, as SELMOD).
int ControllingPoint(const TModelState &s) {
    const TControlPoints &r = s.ron;
    const int kt = 1;
    const int kr = r.kfx < 2 ? 1 : (r.kfx == 2 ? 2 : 3);
    if (kr < 2) return kt;
    bool byE = kr == 2;
    if (!byE) {
        const float d = r.fi(3, kt) - r.fi(3, kr);
        if (std::fabs(d) - .01f <= 0.f || d == 0.f) {
            byE = true;
        } else {
            return d < 0.f ? kt : kr;
        }
    }
    return r.fi(1, kt) - r.fi(1, kr) <= 0.f ? kt : kr;
}

void SetLayer(TMufs &m, int layer, float muf, float del, float hp, float ht, float fv, float hops) {
    m.delmuf(layer) = del;
    m.hpmuf(layer) = hp;
    m.htmuf(layer) = ht;
    m.fvmuf(layer) = fv;
    m.afmuf(layer) = 0.0f;
    m.nhopmf(layer) = int(hops);
    m.yfot(layer) = muf - 1.28f * m.sigl(layer);
    m.ymuf(layer) = muf;
    m.yhpf(layer) = muf + 1.28f * m.sigu(layer);
}

// CURMUF: the sporadic E MUF (reflection probability 0.5) and its deciles;
// lowers fs(1, .) of the point used as the reference does.
void SporadicEMuf(TModelState &s, int ks) {
    const TConstants &c = s.con;
    TMufs &m = s.mufs;
    TSporadicE &es = s.es;
    const int it = s.time.it;
    const float dels = std::max(0.0f, s.don.amind);
    float esmuf = 1000.f;
    int ksx = 0;
    float tdelx = 0.f, secpx = 0.f, hop = 0.f;
    for (int k = 1; k <= s.ron.km; ++k) {
        if (es.fs(2, k) <= 0.f) continue;
        const float del = dels * c.d2r;
        const float phe = std::asin(c.rz * std::cos(del) / (c.rz + es.hs(k)));
        const int nhops = int(.5f * s.don.gcdkm / ((c.pio2 - del - phe) * c.rz));
        hop = float(nhops + 1);
        const float psi = 0.5f * s.don.gcd / hop;
        const float tdel = (std::cos(psi) - c.rz / (c.rz + es.hs(k))) / std::sin(psi);
        const float cdel = 1.f / std::sqrt(1.f + tdel * tdel);
        const float sphe = c.rz * cdel / (c.rz + es.hs(k));
        const float secp = 1.f / std::sqrt(1.f - sphe * sphe);
        const float esd = es.fs(2, k) * secp;
        if (esmuf - esd > 0.f) {
            esmuf = esd;
            ksx = k;
            tdelx = tdel;
            secpx = secp;
        }
    }
    if (esmuf - 1000.f >= 0.f) {
        for (TTable<float, 4> *t :
             {&m.delmuf, &m.hpmuf, &m.htmuf, &m.fvmuf, &m.afmuf, &m.yfot, &m.ymuf, &m.yhpf, &m.sigl, &m.sigu})
            (*t)(4) = 0.0f;
        m.nhopmf(4) = 0;
        m.esmuf(it) = 0.0f;
        return;
    }
    m.esmuf(it) = esmuf;
    m.delmuf(4) = std::atan(tdelx) * c.r2d;
    m.hpmuf(4) = es.hs(ksx);
    m.htmuf(4) = m.hpmuf(4);
    m.fvmuf(4) = es.fs(2, ksx);
    m.afmuf(4) = 0.0f;
    m.nhopmf(4) = int(hop);
    m.ymuf(4) = esmuf;
    const float xes = s.ron.fi(1, ks) - es.fs(1, ksx);
    constexpr float kZdif = 0.1f;
    constexpr float kFzero = 0.1f;
    m.sigu(4) = (es.fs(3, ksx) - es.fs(2, ksx)) / 1.28f;
    const float sigb = (es.fs(2, ksx) - es.fs(1, ksx)) / 1.28f;
    const float sigz = (es.fs(2, ksx) - kFzero) / 3.1f;
    if (xes + kZdif < 0.f) {
        m.sigl(4) = sigb;
    } else if (xes - kZdif < 0.f) {
        m.sigl(4) = sigb + ((xes + kZdif) / (2.f * kZdif)) * (m.sigu(4) - sigb);
    } else {
        m.sigl(4) = m.sigu(4);
    }
    m.sigl(4) = std::min(m.sigl(4), sigz);
    es.fs(1, ksx) = es.fs(2, ksx) - 1.28f * m.sigl(4);
    m.sigl(4) = m.sigl(4) * secpx;
    m.sigu(4) = m.sigu(4) * secpx;
    m.yfot(4) = esmuf - 1.28f * m.sigl(4);
    m.yhpf(4) = esmuf + 1.28f * m.sigu(4);
}

} // namespace

// CURMUF (CURMUF_orig)
void ComputeCircuitMuf(TModelState &s) {
    const TConstants &c = s.con;
    TControlPoints &r = s.ron;
    TMufs &m = s.mufs;
    const int it = s.time.it;
    const int ks = ControllingPoint(s);
    BuildDensityProfile(s, ks);

    // Tangent frequencies (CURMUF: AE = A1 = A2 = 0.5).
    constexpr float kTangent = 0.5f;
    const float xte = 1.0f / std::sqrt(1.0f + kTangent * r.yi(1, ks) / r.hi(1, ks));
    const float fxe = xte * r.fi(1, ks);
    float fx1 = 0.0f;
    if (r.fi(2, ks) > 0.f) {
        const float xt1 = 1.0f / std::sqrt(1.0f + kTangent * r.yi(2, ks) / r.hi(2, ks));
        fx1 = xt1 * r.fi(2, ks);
    }
    float xt2 = 1.0f / std::sqrt(1.0f + kTangent * r.yi(3, ks) / r.hi(3, ks));
    float fx2 = xt2 * r.fi(3, ks);
    // CURMUF: below 2000 km the F2 MUF tends to the vertical MUF (BEX 9.5).
    constexpr float kShortPath = 2000.f;
    if (s.don.gcdkm - kShortPath < 0.f) {
        const float a = -1.f + 1.f / xt2;
        const float beta = 1.f + a * std::exp(-9.5f * s.don.gcdkm / kShortPath);
        fx2 = beta * fx2;
        xt2 = xt2 * beta;
    }

    // E layer.
    float hpe = 125.30f, hte = 104.25f; // CURMUF: GETHP's result for the default E layer
    if (s.mfac.iedp < 0) VirtualAndTrueHeight(s, fxe, hpe, hte);
    THopGeometry ge = HopsFor(s, hpe, false);
    SolveHop(s, ge, hpe, hte);
    m.emuf(it) = fxe * ge.secp;
    m.sigl(1) = std::max(0.01f, 0.1f * m.emuf(it));
    m.sigu(1) = m.sigl(1);
    SetLayer(m, 1, m.emuf(it), ge.del * c.r2d, hpe, hte, fxe, ge.xhops);

    // F2 layer.
    float hp2 = 0.f, ht2 = 0.f;
    if (s.mfac.iedp < 0 || r.fi(2, ks) > 0.f) {
        VirtualAndTrueHeight(s, fx2, hp2, ht2);
    } else {
        // Parabolic E and F2 layers (INTEGRATE card, no F1).
        ht2 = r.hi(3, ks) - r.yi(3, ks) + r.yi(3, ks) * (1.f - std::sqrt(1.f - xt2 * xt2));
        hp2 = r.hi(3, ks) - r.yi(3, ks) + LayerBending(s, 3, ks, fx2) +
              (LayerRetardation(s, 1, ks, fx2) - 2.f * r.yi(1, ks));
    }
    THopGeometry g2 = HopsFor(s, hp2, true);
    float hpx2 = 0.f;
    m.f2muf(it) = IterateFMuf(s, g2, fx2, r.fi(3, ks), hp2, ht2, hpx2);
    float sig = 0.f;
    F2MufDeviation(s, m.f2muf(it), s.don.ssn, r.clat(ks), .9f * m.f2muf(it), s.geog.clck(ks), sig);
    m.sigl(3) = std::max(0.01f, sig);
    F2MufDeviation(s, m.f2muf(it), s.don.ssn, r.clat(ks), 1.1f * m.f2muf(it), s.geog.clck(ks), sig);
    m.sigu(3) = std::max(0.01f, sig);
    SetLayer(m, 3, m.f2muf(it), g2.del * c.r2d, hpx2, ht2, fx2, g2.xhops);

    // F1 layer, or the E layer's values when there is no F1.
    if (r.fi(2, ks) <= 0.f) {
        m.f1muf(it) = m.emuf(it);
        m.sigl(2) = m.sigl(1);
        m.sigu(2) = m.sigu(1);
        m.delmuf(2) = m.delmuf(1);
        m.hpmuf(2) = m.hpmuf(1);
        m.htmuf(2) = m.htmuf(1);
        m.fvmuf(2) = m.fvmuf(1);
        m.afmuf(2) = m.afmuf(1);
        m.nhopmf(2) = m.nhopmf(1);
        m.yfot(2) = m.yfot(1);
        m.ymuf(2) = m.ymuf(1);
        m.yhpf(2) = m.yhpf(1);
    } else {
        float hp1 = 0.f, ht1 = 0.f;
        VirtualAndTrueHeight(s, fx1, hp1, ht1);
        THopGeometry g1 = HopsFor(s, hp1, false);
        float hpy2 = 0.f;
        m.f1muf(it) = IterateFMuf(s, g1, fx1, r.fi(2, ks), hp1, ht1, hpy2);
        m.sigl(2) = std::max(0.01f, 0.1f * m.f1muf(it));
        m.sigu(2) = m.sigl(2);
        SetLayer(m, 2, m.f1muf(it), g1.del * c.r2d, hpy2, ht1, fx1, g1.xhops);
    }

    SporadicEMuf(s, ks);

    // The circuit (no Es).
    m.fot(it) = std::max({m.yfot(1), m.yfot(2), m.yfot(3)});
    m.allmuf(it) = std::max({m.emuf(it), m.f1muf(it), m.f2muf(it)});
    m.hpf(it) = std::max({m.yhpf(1), m.yhpf(2), m.yhpf(3)});
    if (m.emuf(it) - m.allmuf(it) >= 0.f) {
        m.angmuf(it) = m.delmuf(1);
        m.modmuf = 1;
    } else if (m.f1muf(it) - m.allmuf(it) >= 0.f) {
        m.angmuf(it) = m.delmuf(2);
        m.modmuf = 2;
    } else {
        m.angmuf(it) = m.delmuf(3);
        m.modmuf = 3;
    }
}

} // namespace vx::model
