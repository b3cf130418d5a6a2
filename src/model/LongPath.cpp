// The long-path model. Single precision throughout, as the reference's REAL.
#include "model/LongPath.h"

#include "model/Antenna.h"
#include "model/Reliability.h"

#include <algorithm>
#include <cmath>

namespace vx::model {

namespace {

// SETLNG: control point `from`'s geography, layers and sporadic E into slot `to`.
void CopyControlPoint(TModelState &s, int from, int to) {
    TControlPoints &ron = s.ron;
    TControlPointGeo &g = s.geog;
    ron.clat(to) = ron.clat(from);
    ron.clong(to) = ron.clong(from);
    ron.glat(to) = ron.glat(from);
    // Equal distances here would upset an interpolation on distance
    // (noted in SETLNG).
    ron.rd(to) = ron.rd(from);
    g.gyz(to) = g.gyz(from);
    g.rat(to) = g.rat(from);
    g.gmdip(to) = g.gmdip(from);
    g.clck(to) = g.clck(from);
    g.abiy(to) = g.abiy(from);
    g.artic(to) = g.artic(from);
    g.sigpat(to) = g.sigpat(from);
    g.epspat(to) = g.epspat(from);
    s.es.hs(to) = s.es.hs(from);
    for (int il = 1; il <= 3; ++il) {
        s.es.fs(il, to) = s.es.fs(il, from);
        ron.fi(il, to) = ron.fi(il, from);
        ron.yi(il, to) = ron.yi(il, from);
        ron.hi(il, to) = ron.hi(il, from);
    }
}

// SETLNG: control point `from`'s ionogram and oblique frequencies into slot `to`.
void CopyIonogram(TModelState &s, int from, int to) {
    TControlPoints &ron = s.ron;
    // Each table holds a control point's values together (column-major).
    std::copy_n(&ron.hprim(1, from), 30, &ron.hprim(1, to));
    std::copy_n(&ron.htrue(1, from), 30, &ron.htrue(1, to));
    std::copy_n(&ron.fvert(1, from), 30, &ron.fvert(1, to));
    std::copy_n(&ron.afac(1, from), 30, &ron.afac(1, to));
    std::copy_n(&s.rays.ifob(1, 1, from), 40 * 30, &s.rays.ifob(1, 1, to));
}

} // namespace

// SETLNG
void SetLongPath(TModelState &s) {
    const int kfx = s.ron.kfx;
    if (kfx >= 3) return;
    if (kfx <= 1) {
        for (int is = 2; is <= 5; ++is) CopyControlPoint(s, 1, is);
        for (int is = 2; is <= 3; ++is) CopyIonogram(s, 1, is);
        return;
    }
    for (int is = 4; is <= 5; ++is) CopyControlPoint(s, 3, is);
    CopyIonogram(s, 2, 3);
}

// CONVH
void ConvergenceGain(const TModelState &s, float gd, float phe, float del, float hp, float ray, float &ch,
                     float &ptot) {
    const TConstants &c = s.con;
    const float denom = std::max(std::fabs(std::sin(gd)), 0.000001f);
    const float psi = c.pio2 - del - phe;
    const float gm = std::max(gd - 2.0f * psi, 0.001f);
    ptot = 2.0f * ray + (c.rz + hp) * gm;
    const float smallc = (ptot / c.rz) * std::cos(del) / denom;
    // Near the antipode the focusing is held at 15 dB.
    ch = std::min(10.0f * std::log10(smallc), 15.0f);
}

// GETTOP
void OverTheTopDistance(const TModelState &s, float dikm, float &gmkm) {
    const TConstants &c = s.con;
    const float rcosd = c.rz * std::cos(s.lpath.delopt * c.d2r);
    float fpe[4] = {};
    for (int jf = 1; jf <= 3; ++jf) {
        // E penetration frequency at the preferred angle.
        float sphe = rcosd / (c.rz + s.ron.hi(1, jf));
        sphe = std::min(sphe * sphe, 0.9999f);
        fpe[jf] = s.ron.fi(1, jf) / std::sqrt(1.0f - sphe);
    }
    const float fp1 = std::max(fpe[1], fpe[3]); // the higher end
    const float fp2 = fpe[2];                   // the middle
    const float fp3 = std::min(fpe[1], fpe[3]); // the lower end
    const float freq = s.frq.freq;
    gmkm = 0.0f;
    // An M mode needs an E layer that is weaker in the middle and a
    // frequency between the middle's and the higher end's.
    if (fp1 - fp2 >= 0.0f || freq - fp2 - 0.001f >= 0.0f || freq - fp1 + 0.001f <= 0.0f) return;
    const float middle = 0.5f * dikm * (fp2 - freq) * (1.0f / (fp2 - fp1) + 1.0f / (fp2 - fp3));
    // It must be over 1000 km and leave 1000 km to get up there.
    if (middle - 1000.0f <= 0.0f || dikm - middle - 1000.0f <= 0.0f) return;
    gmkm = middle;
}

namespace {

// TABS and BABS: a loss per km at the absorption index xi for the F2 hops
// of a fractional number of hops along dx radians.
float LossPerKm(const TModelState &s, float xi, float del, float hp, float dx) {
    const TConstants &c = s.con;
    const float ab = 10.2f + std::pow(s.frq.freq + s.geog.gyz(3), 1.98f);
    const float a = 677.2f * xi / ab;
    const float rcosd = c.rz * std::cos(del);
    float sphe = rcosd / (c.rz + hp);
    const float phe = std::atan(sphe / std::sqrt(1.0f - sphe * sphe));
    const float psi = c.pio2 - phe - del;
    const float xmhop = 0.5f * dx / psi;
    sphe = rcosd / (c.rz + 100.0f);
    const float scphe = 1.0f / std::sqrt(1.0f - sphe * sphe);
    const float port = xmhop * scphe / (dx * c.rz);
    return a * port;
}

} // namespace

// TABS
void MissedRegionLoss(const TModelState &s, float del, float hp, float dm, float &am) {
    if (dm <= 0.0f || hp - 70.0f <= 0.0f) {
        am = 1000.0f;
        return;
    }
    // TABS' fixed absorption index.
    am = LossPerKm(s, 0.1f, del, hp, dm);
}

// BABS
void AbsorbingRegionLoss(const TModelState &s, float del, float hp, float df, float &af) {
    // Unlike TABS, a height of exactly 70 km still counts.
    if (df <= 0.0f || hp - 70.0f < 0.0f) {
        af = 1000.0f;
        return;
    }
    af = LossPerKm(s, s.sigd.acav, del, hp, df);
}

namespace {

// LNGPAT: the spread of the MUF distribution of layer is around the
// operating frequency, in dB per unit of hop: lower (dslf) and upper (dsuf).
void MufSpread(TModelState &s, int is, float &dslf, float &dsuf) {
    const TMufs &mu = s.mufs;
    const float freq = s.frq.freq;
    auto loss = [&](float f) { return -10.0f * std::log10(MufProbability(s, freq, f, f, is)); };
    const float zlmuf = loss(mu.ymuf(is));
    const float zlfot = loss(mu.yfot(is));
    const float zlhpf = loss(mu.yhpf(is));
    const float cpr = mu.fvmuf(is) / mu.ymuf(is);
    dslf = (zlfot - zlmuf) / cpr;
    dsuf = (zlmuf - zlhpf) / cpr;
}

// LNGPAT: the deciles of the long-path loss from the MUF spreads of the two
// ends' layers (averaged when the layers differ).
void LossDeciles(TModelState &s) {
    TModeSet &a = s.allmode;
    TSignalDistribution &sd = s.sigd;
    MufSpread(s, a.nmode(1), sd.dslf, sd.dsuf);
    if (a.nmode(1) != a.nmode(2)) {
        const float dslff = sd.dslf;
        const float dsuff = sd.dsuf;
        MufSpread(s, a.nmode(2), sd.dslf, sd.dsuf);
        sd.dsuf = 0.5f * (sd.dsuf + dsuff);
        sd.dslf = 0.5f * (sd.dslf + dslff);
    }
    a.tllow(1) = std::min(sd.dsl + a.hn(1) * sd.dslf, 25.0f);
    a.tlhgh(1) = std::min(sd.dsu + a.hn(1) * sd.dsuf, 25.0f);
}

// LNGPAT: the stretch between the two ends' rays: the part over the top of
// the absorbing region (dm radians, loss am per km) and the rest (df, af).
struct TMiddleStretch {
    float dm = 0.0f;
    float am = 0.0f;
    float df = 0.0f;
    float af = 0.0f;
};

TMiddleStretch MiddleStretch(const TModelState &s, float di, float del, float hpx) {
    TMiddleStretch m;
    const float rz = s.con.rz;
    const float dikm = di * rz;
    if (dikm <= -1.0f) return m;
    float gmkm = 0.0f;
    OverTheTopDistance(s, dikm, gmkm);
    m.dm = gmkm / rz;
    m.df = std::max(di - m.dm, 0.0f);
    MissedRegionLoss(s, del, hpx, m.dm, m.am);
    AbsorbingRegionLoss(s, del, hpx, m.df, m.af);
    return m;
}

} // namespace

// LNGPAT
void LongPathModel(TModelState &s) {
    const int l1 = s.lpath.ltxrgm(1);
    const int l2 = s.lpath.ltxrgm(2);
    if (l1 <= 0 || l2 <= 0) return;
    const int k2 = s.frq.itxrcp(2);
    const TConstants &c = s.con;
    const TReflections &r = s.reflx;
    const TLossTables &l = s.losx;
    const float rz = c.rz;
    const float freq = s.frq.freq;
    const float gcd = s.don.gcd;

    // Mean take-off angle and virtual height of the two ends.
    const float del = 0.5f * c.d2r * (r.delfx(l1, 1) + r.delfx(l2, k2));
    const float hpx = 0.5f * (r.hpflx(l1, 1) + r.hpflx(l2, k2));
    const float rcosd = rz * std::cos(del);
    const float sphe = rcosd / (rz + hpx);
    const float phe = std::atan(sphe / std::sqrt(1.0f - sphe * sphe));
    const float dt = 0.5f * r.gdflx(l1, 1) / rz;
    const float dr = 0.5f * r.gdflx(l2, k2) / rz;
    const float ray = rz * std::cos(phe + del) / sphe;
    float ch = 0.0f;
    float ptot = 0.0f;
    ConvergenceGain(s, gcd, phe, del, hpx, ray, ch, ptot);
    const float free = 36.58f + 20.0f * std::log10(0.6214f * ptot * freq) - ch;

    const TMiddleStretch mid = MiddleStretch(s, gcd - dt - dr, del, hpx);
    const float xlm = mid.am * mid.dm * rz;
    const float xlf = mid.af * mid.df * rz;
    const float xlt = (l.andvx(l1, 1) + l.advx(l1, 1)) / 2.0f;
    const float xlr = (l.andvx(l2, k2) + l.advx(l2, k2)) / 2.0f;
    const float gloss = 0.5f * (l.grlosx(l1, 1) + l.grlosx(l2, k2));
    const float fhop = std::max(mid.df / (dr + dt), 1.0f);

    TModeSet &a = s.allmode;
    a.nmmod = 1;
    const float tlosl =
        free + xlt + xlm + xlf + xlr + (fhop - 1.0f) * gloss + s.sigd.asm_ - l.tgainx(l2, k2) - l.tgainx(l1, 1);
    a.grlos(1) = gloss;
    a.hn(1) = std::max(1.0f, 0.5f * gcd / (dr + dt));
    a.hp(1) = hpx;
    a.rgain(1) = l.tgainx(l2, k2);
    a.tgain(1) = l.tgainx(l1, 1);
    a.eff(1) = l.efflp(l2);
    a.timed(1) = ptot / c.vofl;
    a.tloss(1) = tlosl;
    a.b(1) = r.delfx(l1, 1);
    a.b(2) = r.delfx(l2, k2);
    a.nmode(1) = r.imode(l1, 1);
    a.nmode(2) = r.imode(l2, k2);
    a.fslos(1) = free;
    a.adv(1) = (l.advx(l1, 1) + l.advx(l2, k2)) * 0.5f;
    a.abps(1) = (l.andvx(l1, 1) + l.andvx(l2, k2)) * 0.5f;
    a.obf(1) = (l.aofx(l1, 1) + l.aofx(l2, k2)) * 0.5f;
    const float pwr = TransmitPowerDb(s, freq);
    a.sigpow(1) = pwr - tlosl;
    a.fldst(1) = 107.2f + pwr + 20.0f * std::log10(freq) - tlosl - a.rgain(1);
    // The receiver's efficiency comes off the SNR (a 1991 correction in LNGPAT).
    a.sn(1) = a.sigpow(1) - s.anois.rcnse - a.eff(1);
    LossDeciles(s);
    a.prob(1) = std::min(a.prob(1), a.prob(2));
}

} // namespace vx::model
