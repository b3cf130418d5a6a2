#include "model/Modes.h"

#include "model/Antenna.h"
#include "model/Ionosphere.h"
#include "model/Reliability.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace vx::model {

// SELMOD
void SelectControlArea(TModelState &s) {
    const TControlPoints &r = s.ron;
    int &jmode = s.frq.jmode;
    if (r.kfx == 1) {
        jmode = 1;
    } else if (r.kfx == 2) {
        // Both ends share the F layers (IONSET), so the E layer decides.
        jmode = r.fi(1, 1) > r.fi(1, 2) ? 2 : 1;
    } else {
        const float delfi = r.fi(3, 1) - r.fi(3, 3);
        if (std::fabs(delfi) < 0.01f)
            jmode = r.fi(1, 1) > r.fi(1, 3) ? 3 : 1;
        else
            jmode = delfi > 0.0f ? 3 : 1;
    }
}

namespace {

// One slot of s.zon appended to s.allmode (ALLMODES).
void AppendMode(TModeSet &a, const TModeSums &z, int i) {
    const int n = ++a.nmmod;
    a.tloss(n) = z.tloss(i);
    a.tllow(n) = z.tllow(i);
    a.tlhgh(n) = z.tlhgh(i);
    a.hp(n) = z.hp(i);
    a.crel(n) = z.crel(i);
    a.rely(n) = z.rely(i);
    a.hn(n) = z.hn(i);
    a.nmode(n) = z.nmode(i);
    a.sn(n) = z.sn(i);
    a.fldst(n) = z.fldst(i);
    a.sigpow(n) = z.sigpow(i);
    a.b(n) = z.b(i);
    a.timed(n) = z.timed(i);
    a.abps(n) = z.abps(i);
    a.prob(n) = z.prob(i);
    a.rgain(n) = z.rgain(i);
    a.tgain(n) = z.tgain(i);
    a.fslos(n) = z.fslos(i);
    a.spro(n) = z.spro(i);
    a.eff(n) = z.eff(i);
    a.grlos(n) = z.grlos(i);
    a.adv(n) = z.adv(i);
    a.obf(n) = z.obf(i);
}

} // namespace

// ALLMODES
void CollectModes(TModelState &s, int iflg, float fval) {
    TModeSet &a = s.allmode;
    TModeSums &z = s.zon;
    if (iflg == 0) {
        a.nmmod = 0;
        for (int i = 1; i <= 20; ++i) {
            a.tloss(i) = 99999.0f;
            a.tllow(i) = 999.0f;
            a.tlhgh(i) = 999.0f;
            a.hp(i) = -1.0f;
        }
        s.frq.freq = fval;
        return;
    }
    int first = 1;
    int last = 6;
    if (iflg == 1) {
        last = 1;
        z.hp(2) = z.hp(1);
        a.tloss(2) = 32000.0f;
        a.nmode(a.nmmod + 2) = z.nmode(2);
        a.b(a.nmmod + 2) = z.b(2);
    } else if (iflg == 2) {
        first = 4;
        last = 5;
    }
    for (int i = first; i <= last; ++i)
        if (z.hp(i) > 0.0f) AppendMode(a, z, i);
}

namespace {

// ALOSFV: one height's factor, the collision term decaying above hz.
float DeviationFactor(const TControlPoints &r, int ih, int k, float a, float hz, float scale, float hm, float floor,
                      float &cf) {
    float zexp = -2.0f * (r.htrue(ih, k) - hz) / scale;
    zexp = std::max(zexp, -10.0f);
    cf = a * std::exp(zexp);
    cf = std::max(cf, floor);
    return cf * (r.hprim(ih, k) - r.htrue(ih, k) - hm);
}

// ALOSFV over heights from..to of a layer: zero up to the height of the
// layer's MUF ray, the factor above.
void LayerFactors(TControlPoints &r, int k, int from, int to, float htm, float a, float hz, float scale, float hm,
                  float floor, float &cf) {
    for (int ih = from; ih <= to; ++ih) {
        if (r.htrue(ih, k) <= htm)
            r.afac(ih, k) = 0.0f;
        else
            r.afac(ih, k) = DeviationFactor(r, ih, k, a, hz, scale, hm, floor, cf);
    }
}

} // namespace

// ALOSFV
void DeviativeLossFactors(TModelState &s, int k) {
    TControlPoints &r = s.ron;
    const TMufs &u = s.mufs;
    // The E layer, from its base; no lower bound on the factor.
    float cf = 0.0f;
    float hz = r.hi(1, k) - r.yi(1, k);
    LayerFactors(r, k, 1, 10, u.htmuf(1), 0.2f, hz, r.yi(1, k), u.hpmuf(1) - u.htmuf(1), -1.0e30f, cf);
    // The cusp above E joins on the last E factor, then the next layer
    // restarts at 0.1 (ALOSFV keeps these in a saved table whose third entry
    // is always 0.1 when read).
    const bool f1 = r.fi(2, k) > 0.0f;
    const int upper = f1 ? 2 : 3;
    hz = r.htrue(11, k);
    float hm = r.hprim(13, k) - r.htrue(13, k);
    const float joinE = cf;
    for (int ih = 11; ih <= 12; ++ih)
        r.afac(ih, k) = DeviationFactor(r, ih, k, joinE, hz, r.yi(upper, k), hm, 0.05f, cf);
    r.afac(13, k) = 0.0f;
    if (!f1) {
        LayerFactors(r, k, 14, 30, u.htmuf(3), 0.1f, hz, r.yi(3, k), u.hpmuf(3) - u.htmuf(3), 0.5f, cf);
    } else {
        LayerFactors(r, k, 14, 20, u.htmuf(2), 0.1f, hz, r.yi(2, k), u.hpmuf(2) - u.htmuf(2), 0.05f, cf);
        // F1 to F2 cusp joined the same way.
        hz = r.htrue(21, k);
        hm = r.hprim(23, k) - r.htrue(23, k);
        const float joinF1 = cf;
        for (int ih = 21; ih <= 22; ++ih)
            r.afac(ih, k) = DeviationFactor(r, ih, k, joinF1, hz, r.yi(3, k), hm, 0.05f, cf);
        r.afac(23, k) = 0.0f;
        LayerFactors(r, k, 24, 30, u.htmuf(3), 0.1f, hz, r.yi(3, k), u.hpmuf(3) - u.htmuf(3), 0.05f, cf);
    }
    for (int ih = 1; ih <= 30; ++ih) r.afac(ih, k) = std::max(0.0f, r.afac(ih, k));
}

namespace {

// Frequency margin for a mode at or above a MUF (INMUF).
constexpr float kMufMargin = 0.4001f;

void SetMode(TModes &md, int inum, int k, float del, float hp, float ht, float fv, float af, int layer) {
    md.delmod(inum, k) = del;
    md.hpmod(inum, k) = hp;
    md.htmod(inum, k) = ht;
    md.fvmod(inum, k) = fv;
    md.afmod(inum, k) = af;
    md.itmod(inum, k) = layer;
}

// INMUF: the modes with a height moved to the front; layers present marked.
int CompactModes(TModes &md, int k, int present[4]) {
    int inum = 0;
    for (int im = 1; im <= 6; ++im) {
        if (md.hpmod(im, k) < 70.0f) continue;
        ++inum;
        const int layer = md.itmod(im, k);
        if (layer >= 1 && layer <= 3) present[layer] = 1;
        SetMode(md, inum, k, md.delmod(im, k), md.hpmod(im, k), md.htmod(im, k), md.fvmod(im, k), md.afmod(im, k),
                layer);
    }
    return inum;
}

// INMUF: a missing layer whose circuit MUF has this hop count gets its
// circuit MUF mode when the frequency is at or above that MUF.
void AddCircuitMufModes(TModelState &s, int ihop, int k, int present[4], int &inum) {
    TMufs &u = s.mufs;
    for (int ily = 1; ily <= 3; ++ily) {
        if (ily == 2 && s.ron.fi(2, k) <= 0.0f) continue;
        if (inum >= 5) return;
        if (present[ily] >= 0) continue;
        if (s.frq.freq + kMufMargin >= u.ymuf(ily) && ihop == u.nhopmf(ily)) {
            ++inum;
            SetMode(s.modes, inum, k, u.delmuf(ily), u.hpmuf(ily), u.htmuf(ily), u.fvmuf(ily), u.afmuf(ily), ily);
            present[ily] = 1;
        }
    }
}

// INMUF: elevation tangent and secant at a hop of half-angle psi reflected
// at virtual height hp, true height ht.
void HopGeometry(float rz, float psi, float hp, float ht, float &tdel, float &secp) {
    tdel = (std::cos(psi) - rz / (rz + hp)) / std::sin(psi);
    const float cdel = 1.0f / std::sqrt(1.0f + tdel * tdel);
    const float sphe = rz * cdel / (rz + ht);
    secp = 1.0f / std::sqrt(1.0f - sphe * sphe);
}

// INMUF: for a missing layer whose circuit MUF has fewer hops, the MUF of
// this hop count (with the Martyn's-theorem correction of CURMUF); when the
// frequency reaches it, that MUF replaces the layer's (until INMUF ends)
// and its mode is added.
void AddHopMufModes(TModelState &s, int ihop, int k, const int present[4], int &inum) {
    TMufs &u = s.mufs;
    const TControlPoints &r = s.ron;
    const float rz = s.con.rz;
    for (int jh = 1; jh <= 3; ++jh) {
        if (inum >= 5) return;
        if (present[jh] > 0) continue;
        if (jh == 2 && r.fi(2, k) <= 0.0f) continue;
        if (ihop <= u.nhopmf(jh)) continue;
        const float fv = u.fvmuf(jh);
        const float ht = u.htmuf(jh);
        const float hpver = InterpolateTable(fv, r.fvert.data(), r.hprim.data(), 30, k);
        const float xhp = (hpver - ht) / rz;
        const float hop = float(ihop);
        const float psi = 0.5f * s.don.gcd / hop;
        float tdel = 0.0f, secp = 0.0f;
        HopGeometry(rz, psi, hpver, ht, tdel, secp);
        float esd = fv * secp;
        const float cdel = 1.0f / std::sqrt(1.0f + tdel * tdel);
        const float sphe = rz * cdel / (rz + ht);
        const float xmut = sphe * sphe;
        const float xfsq = esd * esd / (r.fi(jh, k) * r.fi(jh, k));
        const float sph = xfsq * xmut * xhp * (ht + 2.0f * (rz + ht) * xhp);
        const float hpnow = hpver + sph;
        HopGeometry(rz, psi, hpnow, ht, tdel, secp);
        esd = fv * secp;
        if (s.frq.freq - esd + kMufMargin < 0.0f) continue;
        const float osigl = u.sigl(jh), osigu = u.sigu(jh), oymuf = u.ymuf(jh);
        u.ymuf(jh) = esd;
        u.sigl(jh) = esd * osigl / oymuf;
        u.yfot(jh) = u.ymuf(jh) - 1.28f * u.sigl(jh);
        u.sigu(jh) = esd * osigu / oymuf;
        u.yhpf(jh) = u.ymuf(jh) + 1.28f * u.sigu(jh);
        ++inum;
        SetMode(s.modes, inum, k, std::atan(tdel) * s.con.r2d, hpnow, u.htmuf(jh), u.fvmuf(jh), u.afmuf(jh), jh);
        s.modes.ghop = 2.0f * psi;
    }
}

// INMUF on very short paths (or when no mode was found at the circuit
// MUF's hop count): the vertical-incidence mode read off the ionogram just
// below the frequency. Slots past the sixth are not written (the reference
// would write into the next control point's column).
void AddVerticalMode(TModelState &s, int k, int &inum) {
    const TControlPoints &r = s.ron;
    TModes &md = s.modes;
    ++inum;
    if (inum > 6) return;
    const float fv = s.frq.freq - 0.001f;
    int ihx = 0;
    bool exact = false;
    for (int ih = 2; ih <= 30; ++ih) {
        if (fv < r.fvert(ih, k)) {
            ihx = ih;
            break;
        }
        if (fv == r.fvert(ih, k)) {
            ihx = ih;
            exact = true;
            break;
        }
    }
    if (ihx == 0) return; // above the ionogram
    if (exact) {
        SetMode(md, inum, k, 90.0f, r.hprim(ihx, k), r.htrue(ihx, k), r.fvert(ihx, k), r.afac(ihx, k),
                md.itmod(inum, k));
    } else {
        const float slope = r.fvert(ihx, k) - r.fvert(ihx - 1, k);
        if (slope > 0.01f) {
            const float slp = (fv - r.fvert(ihx - 1, k)) / slope;
            SetMode(md, inum, k, 90.0f, r.hprim(ihx - 1, k) + (r.hprim(ihx, k) - r.hprim(ihx - 1, k)) * slp,
                    r.htrue(ihx - 1, k) + (r.htrue(ihx, k) - r.htrue(ihx - 1, k)) * slp, fv,
                    r.afac(ihx - 1, k) + (r.afac(ihx, k) - r.afac(ihx - 1, k)) * slp, md.itmod(inum, k));
        }
    }
    for (int ily = 1; ily <= 3; ++ily) {
        if (ily == 2 && r.fi(2, k) <= 0.0f) continue;
        if (md.htmod(inum, k) <= r.hi(ily, k)) {
            md.itmod(inum, k) = ily;
            return;
        }
    }
}

} // namespace

// INMUF
void InsertMufModes(TModelState &s, int ihop, int &nummod) {
    const int k = s.frq.jmode;
    TMufs &u = s.mufs;
    int present[4] = {0, -1, -1, -1};
    int inum = CompactModes(s.modes, k, present);

    bool vertical = u.delmuf(u.modmuf) >= 89.9f;
    bool restore = false;
    TMufs saved;
    if (!vertical) {
        AddCircuitMufModes(s, ihop, k, present, inum);
        if (ihop == u.nhopmf(u.modmuf)) {
            vertical = inum <= 0;
        } else {
            restore = true;
            saved = u;
            AddHopMufModes(s, ihop, k, present, inum);
        }
    }
    if (vertical) AddVerticalMode(s, k, inum);

    nummod = 0;
    for (int im = 1; im <= 6; ++im)
        if (s.modes.hpmod(im, k) >= 0.0f) ++nummod;
    RegularModes(s);
    if (restore) {
        for (int il = 1; il <= 3; ++il) {
            u.sigl(il) = saved.sigl(il);
            u.sigu(il) = saved.sigu(il);
            u.yfot(il) = saved.yfot(il);
            u.yhpf(il) = saved.yhpf(il);
            u.ymuf(il) = saved.ymuf(il);
        }
    }
}

namespace {

// -10 log10(1 - p) with p at most 0.9 (REGMOD, ESMOD obscuration).
float ObscurationLoss(float pros) {
    pros = std::min(pros, 0.90f);
    return -10.0f * std::log10(1.0f - pros);
}

// Sporadic-E reflection loss 8.9136 p^-0.7, p at most 0.9 (ESMOD).
float EsReflectionLoss(float pros) { return 8.9136f * std::pow(std::min(pros, 0.90f), -0.7f); }

// The over-the-MUF loss of one hop, -10 log p / cos, p at least 1e-6
// (REGMOD, 2005 limit).
float OverMufLoss(const TModelState &s, float freq, float fmuf, float fset, int layer, float cphet) {
    float p = MufProbability(s, freq, fmuf, fset, layer);
    if (p <= 0.000001f) p = 0.000001f;
    return -10.0f * std::log10(p) / cphet;
}

struct TObscuration {
    float median = 0.0f;
    float upper = 0.0f;
    float lower = 0.0f;
};

// REGMOD: the obscuration of an F mode by the sporadic E of point k.
TObscuration EsObscuration(const TModelState &s, int k, float cdel) {
    TObscuration o;
    if (s.es.fs(2, k) <= 0.0f) return o;
    const TMufs &u = s.mufs;
    const float rz = s.con.rz;
    // Es maps include regular E at low frequencies: not below this (REGMOD).
    float fsdead = float(s.rays.ifob(1, 3, k));
    fsdead = fsdead / 1000.0f;
    fsdead = std::min(fsdead, 3.0f);
    const float fmhz = std::max(s.frq.freq, fsdead);
    const float sins = rz * cdel / (rz + s.es.hs(k));
    const float secs = 1.0f / std::sqrt(1.0f - sins * sins);
    float esd = s.es.fs(2, k) * secs;
    o.median = ObscurationLoss(MufProbability(s, fmhz, esd, u.ymuf(4), 4));
    esd = s.es.fs(1, k) * secs;
    o.upper = ObscurationLoss(MufProbability(s, fmhz, esd, u.yfot(4), 4));
    o.lower = ObscurationLoss(MufProbability(s, fmhz, esd, u.yhpf(4), 4));
    return o;
}

// REGMOD: absorption, deviation and obscuration of mode im at elevation
// del (radians) for a hop of half-angle psi.
TObscuration ModeAbsorption(TModelState &s, int im, int k, int l, float del, float psi, float ac, float bc) {
    TModeSums &z = s.zon;
    const TModes &md = s.modes;
    const TSignalDistribution &d = s.sigd;
    const float rz = s.con.rz;
    const float cdel = std::cos(del);
    const float gy = s.geog.gyz(l);
    if (s.ron.fi(1, k) < md.fvmod(im, k)) {
        // F layer mode: absorption at the classical 100 km.
        constexpr float xnsq = 10.2f;
        const float sinp = rz * cdel / (rz + 100.0f);
        float secp = 1.0f / std::sqrt(1.0f - sinp * sinp);
        z.abps(im) = secp * ac / (bc + xnsq);
        secp = 1.0f / std::sin(del + psi);
        z.adv(im) = secp * md.afmod(im, k) * (std::pow(md.fvmod(im, k) + gy, 1.98f) + xnsq) / (bc + xnsq);
        const TObscuration o = EsObscuration(s, k, cdel);
        z.obf(im) = o.median;
        return o;
    }
    // D-E mode: collision term by true height (REGMOD).
    float xnsq = 10.2f;
    if (d.htloss - md.htmod(im, k) > 0.0f) {
        const float hnux = 61.0f + 3.0f * (md.htmod(im, k) - 70.0f) / 18.0f;
        xnsq = d.xnuz * std::exp(-2.0f * (hnux - 60.0f) / d.hnu);
    }
    const float heff = std::min(100.0f, md.htmod(im, k));
    const float sinp = rz * cdel / (rz + heff);
    float secp = 1.0f / std::sqrt(1.0f - sinp * sinp);
    z.abps(im) = secp * ac / (bc + xnsq);
    // Absorption with the E layer bending removed.
    const float xv = std::max(md.fvmod(im, k) / s.ron.fi(1, k), d.xve);
    const float adx = d.afe + d.bfe * std::log(xv);
    secp = 1.0f / std::sin(del + psi);
    z.adv(im) = secp * md.afmod(im, k) * (std::pow(md.fvmod(im, k) + gy, 1.98f) + xnsq) / (bc + xnsq) + adx;
    z.obf(im) = 0.0f;
    return {};
}

// REGMOD: the MUF of this hop length for layer ismod (change of 1995: the
// mode's probability is its hop MUF's, not the path's).
float HopMuf(const TModelState &s, int ismod, float hop) {
    const TMufs &u = s.mufs;
    const float rz = s.con.rz;
    float psi = s.don.gcd / 2.0f;
    psi = psi / hop;
    const float cpsi = std::cos(psi);
    const float spsi = std::sin(psi);
    const float tanp = spsi / (1.0f - cpsi + u.hpmuf(ismod) / rz);
    const float phe = std::atan(tanp);
    const float del = s.con.pio2 - phe - psi;
    const float cdel = std::cos(del);
    const float sphe = rz * cdel / (rz + u.htmuf(ismod));
    return u.fvmuf(ismod) / std::sqrt(1.0f - sphe * sphe);
}

// REGMOD: extra loss when the hop MUF is nearly never reached: 0 to 24 dB
// for probabilities 1e-4 down to 1e-7 (REGMOD, 2006). The reference stops
// the run on a probability of 0; here it takes the 24 dB.
float LowProbabilityLoss(float prob) {
    if (prob >= 0.0001f) return 0.0f;
    float xfac = std::log10(prob);
    if (xfac > -4.0f) xfac = -4.0f;
    if (xfac < -7.0f) xfac = -7.0f;
    return (xfac + 4.0f) * 8.0f;
}

} // namespace

// REGMOD
void RegularModes(TModelState &s) {
    static constexpr int kPointOfSample[4] = {0, 1, 3, 5};
    const int k = s.frq.jmode;
    const int l = kPointOfSample[k];
    const float freq = s.frq.freq;
    const TConstants &c = s.con;
    const TMufs &u = s.mufs;
    const TModes &md = s.modes;
    TModeSums &z = s.zon;
    const float ac = 677.2f * s.sigd.acav;
    const float bc = std::pow(freq + s.geog.gyz(l), 1.98f);
    const int ihop = int(s.don.gcd / md.ghop + 0.01f);
    const float hop = float(ihop);
    for (int im = 1; im <= 7; ++im) {
        z.hn(im) = -1.0f;
        z.hp(im) = -1.0f;
        if (im >= 7 || md.hpmod(im, k) <= 0.0f) continue;
        float del = c.d2r * md.delmod(im, k);
        del = std::min(del, 89.99f * c.d2r);
        const float psi = md.ghop * 0.5f;
        const float phe = c.pio2 - psi - del;
        float path = 2.0f * (md.hpmod(im, k) + c.rz * (1.0f - std::cos(psi))) / std::cos(phe);
        path = std::fabs(path * hop);
        z.timed(im) = path / c.vofl;
        z.fslos(im) = 32.45f + 20.0f * std::log10(path * freq);
        const TObscuration o = ModeAbsorption(s, im, k, l, del, psi, ac, bc);

        z.grlos(im) = MeanGroundReflectionLoss(s, del, freq);
        float gain = 0.0f, eff = 0.0f;
        AntennaGain(s, 1, del, freq, gain, eff);
        z.tgain(im) = gain;
        AntennaGain(s, 2, del, freq, gain, eff);
        z.rgain(im) = gain;
        z.eff(im) = eff;
        // Obscuration counts on two hops at most (REGMOD).
        const float hops = std::min(hop, 2.0f);
        float xtlos = z.fslos(im) + hop * (z.abps(im) + z.adv(im)) + z.grlos(im) * (hop - 1.0f) + hops * z.obf(im) +
                      s.sigd.asm_ - z.rgain(im) - z.tgain(im);

        const int ismod = md.itmod(im, k);
        const float sphet = c.rz * std::cos(del) / (c.rz + md.htmod(im, k));
        float cphet = 1.0f - sphet * sphet;
        cphet = std::max(0.000001f, cphet);
        cphet = std::sqrt(cphet);
        z.prob(im) = MufProbability(s, freq, HopMuf(s, ismod, hop), u.ymuf(ismod), ismod);
        xtlos = xtlos - LowProbabilityLoss(z.prob(im));

        const float xls = OverMufLoss(s, freq, u.fvmuf(ismod) / cphet, u.ymuf(ismod), ismod, cphet);
        xtlos = xtlos + xls * hop;
        const float cpr = u.fvmuf(ismod) / u.ymuf(ismod);
        const float fvfot = u.yfot(ismod) * cpr;
        const float xlsl = OverMufLoss(s, freq, fvfot / cphet, u.yfot(ismod), ismod, cphet);
        const float fvhpf = u.yhpf(ismod) * cpr;
        const float xlsu = OverMufLoss(s, freq, fvhpf / cphet, u.yhpf(ismod), ismod, cphet);
        // tllow/tlhgh are the lower and upper signal deciles.
        z.tllow(im) = s.sigd.dsl + hops * (o.lower - z.obf(im)) + hop * (xlsl - xls);
        z.tlhgh(im) = s.sigd.dsu + hops * (z.obf(im) - o.upper) + hop * (xls - xlsu);
        z.tllow(im) = std::min(z.tllow(im), 25.0f);
        z.tlhgh(im) = std::min(z.tlhgh(im), 25.0f);
        z.tloss(im) = xtlos;
        const float pwr = TransmitPowerDb(s, freq);
        z.fldst(im) = 107.2f + pwr + 20.0f * std::log10(freq) - xtlos - z.rgain(im);
        z.sigpow(im) = TransmitPowerDb(s, freq) - xtlos;
        // The receive antenna's efficiency counts against the SNR (1991).
        z.sn(im) = z.sigpow(im) - s.anois.rcnse - z.eff(im);
        z.b(im) = md.delmod(im, k);
        z.nmode(im) = ismod;
        z.hp(im) = md.hpmod(im, k);
        z.hn(im) = float(ihop);
    }
}

namespace {

// ESMOD/ESREG: slot im of s.zon marked "no mode".
void PresetNoMode(TModeSums &z, int im, float crel) {
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
    z.crel(im) = crel;
    z.rely(im) = 0.001f;
    z.spro(im) = 0.001f;
    z.fldst(im) = -1000.0f;
    z.sigpow(im) = -1000.0f;
    z.sn(im) = -1000.0f;
    z.hp(im) = -1.0f;
    z.b(im) = -1.0f;
    z.nmode(im) = 5;
    z.tllow(im) = 10.0f;
    z.timed(im) = -1.0f;
    z.tlhgh(im) = 10.0f;
}

} // namespace

// ESMOD
void SporadicEModes(TModelState &s) {
    const TConstants &c = s.con;
    const TSporadicE &es = s.es;
    const TMufs &u = s.mufs;
    const TSignalDistribution &d = s.sigd;
    TModeSums &z = s.zon;
    const float freq = s.frq.freq;
    // The control point with the lowest Es: every mode is at least as good.
    int k = 1;
    for (int is = 1; is <= s.ron.km; ++is)
        if (es.fs(2, k) > es.fs(2, is)) k = is;
    float fsdead = float(s.rays.ifob(1, 3, s.frq.jmode));
    fsdead = fsdead / 1000.0f;
    fsdead = std::min(fsdead, 3.0f);
    PresetNoMode(z, 4, -1000.0f);
    PresetNoMode(z, 5, -1000.0f);
    if (freq <= fsdead || es.fs(2, k) <= 0.0f) return;
    // Virtual heights equal true heights; two Es hops at most.
    const float sdmax = 2.0f * c.rz * (c.pio2 - std::asin(1.0f / (1.0f + es.hs(k) / c.rz)));
    const int ihsrt = int(s.don.gcdkm / sdmax + 1.0f);
    if (ihsrt > 2) return;
    const float ac = 677.2f * d.acav / (std::pow(freq + s.geog.gyz(k), 1.98f) + 10.2f);
    const float pwr = TransmitPowerDb(s, freq);
    // Slots from 4 on, whatever the first hop count (ESMOD).
    int ih = 3;
    for (int ihop = ihsrt; ihop <= 2; ++ihop) {
        ++ih;
        const float gp = float(ihop);
        const float ghop = s.don.gcd / gp;
        const float thet = 0.5f * ghop;
        const float tans = std::sin(thet) / (1.0f - std::cos(thet) + es.hs(k) / c.rz);
        const float psi = std::atan(tans);
        const float secs = 1.0f / std::cos(psi);
        const float sfvmod = freq / secs;
        const float del = c.pio2 - thet - psi;
        const float cdel = std::cos(del);
        const float adel = del * c.r2d;
        if (adel < s.don.amind) continue;
        const float hop = float(ihop);
        const float path = hop * (2.0f * std::sin(0.5f * ghop) * (c.rz + es.hs(k)) / cdel);
        const float sflos = 32.45f + 20.0f * std::log10(path * freq);
        const float sinp = c.rz * cdel / (c.rz + 100.0f);
        const float cosp = std::sqrt(1.0f - sinp * sinp);
        float sabps = ac / cosp;
        // An Es layer below the E layer's critical frequency: E bending
        // removed (ESMOD; the term enters the loss twice there).
        float adx = 0.0f;
        if (s.ron.fi(1, k) > sfvmod) adx = d.afe + d.bfe * std::log(sfvmod / s.ron.fi(1, k));
        sabps = sabps + adx;
        const float ref = EsReflectionLoss(MufProbability(s, freq, es.fs(2, k) * secs, u.ymuf(4), 4));
        const float refl = EsReflectionLoss(MufProbability(s, freq, es.fs(1, k) * secs, u.yfot(4), 4));
        const float refu = EsReflectionLoss(MufProbability(s, freq, es.fs(3, k) * secs, u.yhpf(4), 4));
        z.tllow(ih) = std::min(d.dsl + hop * (refl - ref), 25.0f);
        z.tlhgh(ih) = std::min(d.dsu + hop * (ref - refu), 25.0f);
        const float sgrlos = MeanGroundReflectionLoss(s, del, freq);
        float stgain = 0.0f, steff = 0.0f, srgain = 0.0f, sreff = 0.0f;
        AntennaGain(s, 1, del, freq, stgain, steff);
        AntennaGain(s, 2, del, freq, srgain, sreff);
        z.eff(ih) = sreff;
        const float xtlos = sflos + hop * (sabps + ref + adx) + (hop - 1.0f) * sgrlos - srgain - stgain + d.asm_;
        z.fldst(ih) = 107.2f + pwr + 20.0f * std::log10(freq) - xtlos - srgain;
        const float pros = MufProbability(s, freq, u.ymuf(4), u.ymuf(4), 4);
        z.obf(ih) = 8.9136f * std::pow(pros, -0.7f);
        z.adv(ih) = 0.0f;
        z.fslos(ih) = sflos;
        z.tloss(ih) = xtlos;
        z.abps(ih) = ac / cosp + adx;
        z.grlos(ih) = sgrlos;
        z.rgain(ih) = srgain;
        z.tgain(ih) = stgain;
        z.hn(ih) = hop;
        z.sigpow(ih) = pwr - xtlos;
        z.sn(ih) = z.sigpow(ih) - s.anois.rcnse - z.eff(ih);
        z.hp(ih) = es.hs(k);
        z.b(ih) = adel;
        z.nmode(ih) = 4;
        z.prob(ih) = ihop == 1 ? pros : pros * pros;
        z.timed(ih) = path / c.vofl;
    }
}

// ESREG
void PresetMixedModes(TModelState &s) {
    PresetNoMode(s.zon, 6, 1000.0f);
    PresetNoMode(s.zon, 7, 1000.0f);
}

} // namespace vx::model
