#include "model/Reliability.h"

#include "model/Antenna.h"
#include "model/Ionosphere.h"
#include "model/Signal.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vx::model {

namespace {

// Coefficients of the normal-distribution approximation (FNORML, PRBMUF).
constexpr float kNormal1 = 0.196854f;
constexpr float kNormal2 = 0.115194f;
constexpr float kNormal3 = 0.000344f;
constexpr float kNormal4 = 0.019527f;

// Upper tail of the normal distribution at |y| (y limited to 5).
float UpperTail(float y) {
    const float yp = std::min(5.0f, y);
    float qx = 1.0f + yp * (kNormal1 + yp * (kNormal2 + yp * (kNormal3 + yp * kNormal4)));
    qx = qx * qx * qx * qx;
    qx = 1.0f / qx;
    return 0.5f * qx;
}

// Normal deviates of the reliability percentages 50, 55, ... 95 (RELBIL,
// SERPRB).
constexpr float kDeviates[10] = {0.0f, 0.1257f, 0.2533f, 0.3853f, 0.5244f, 0.6745f, 0.8416f, 1.0364f, 1.2815f, 1.6449f};

// The deviate row of the required reliability lufp (RELBIL, SERPRB).
int DeviateRow(int lufp) { return std::min(std::abs(lufp - 50) / 5 + 1, 10); }

// z of the required SNR against a median and the two decile spreads.
float ReliabilityDeviate(float rsn, float median, float lower, float upper) {
    const float z = rsn - median;
    if (z <= 0.0f) return z / (lower / 1.28f);
    return z / (upper / 1.28f);
}

// The frequency complement on slots 1..13 of a table of any length (FRQCOM).
template <typename Table>
void FillFrequencyComplement(const TModelState &s, Table &frea, int ifreq) {
    constexpr float flow = 2.0f;
    constexpr float fhigh = 40.0f;
    const int it = s.time.it;
    frea(12) = s.mufs.allmuf(it);
    if (ifreq == -10) {
        frea(1) = s.mufs.fot(it);
        return;
    }
    float xfl = std::min(s.mufs.emuf(it), s.mufs.f2muf(it));
    float xfh = s.mufs.hpf(it);
    xfl = std::max(flow, xfl);
    xfh = std::min(xfh, fhigh);
    if (xfh <= flow) {
        // Even steps of 2 MHz; slot 13 is left as it was.
        frea(1) = flow;
        for (int i = 2; i <= 11; ++i) frea(i) = frea(i - 1) + 2.0f;
        return;
    }
    if (xfl <= flow) {
        // Night: even steps from 2 MHz to the HPF.
        const float delf = (xfh - flow) / 11.0f;
        frea(1) = flow;
        for (int i = 2; i <= 11; ++i) frea(i) = frea(i - 1) + delf;
    } else if (xfh <= flow + 20.0f) {
        // The lower MUF inserted among even steps up to the HPF.
        const float delf = (xfh - flow) / 9.0f;
        int ne = int((xfl - flow) / delf) + 2;
        frea(1) = flow;
        for (int i = 2; i <= ne; ++i) frea(i) = frea(i - 1) + delf;
        frea(ne) = xfl;
        frea(ne + 1) = frea(ne - 1) + delf;
        ne = std::min(ne + 2, 11);
        for (int i = ne; i <= 11; ++i) frea(i) = frea(i - 1) + delf;
    } else if (xfl <= flow + 2.0f) {
        // The lower MUF between 2 and 4 MHz, then even steps from 4 MHz.
        const float delf = (xfh - (flow + 2.0f)) / 9.0f;
        frea(1) = flow;
        frea(2) = xfl;
        frea(3) = flow + 2.0f;
        for (int i = 4; i <= 11; ++i) frea(i) = frea(i - 1) + delf;
    } else {
        // Even steps up to the lower MUF, then even steps up to the HPF
        // (FRQCOM's last case, fhigh - 2 <= flow, cannot happen with 2..40).
        int ne = std::min(int((xfl - flow) / 2.0f), 7);
        float xne = float(ne);
        float delf = (xfl - flow) / xne;
        frea(1) = flow;
        for (int i = 2; i <= ne; ++i) frea(i) = frea(i - 1) + delf;
        xne = float(ne);
        delf = (xfh - frea(ne)) / (12.0f - xne - 1.0f);
        for (int i = ne + 1; i <= 11; ++i) frea(i) = frea(i - 1) + delf;
    }
    frea(13) = 0.0f;
}

} // namespace

namespace {

// -10 log10 of a probability kept within lo..hi.
float ClampedLoss(float p, float lo, float hi) {
    p = std::max(lo, p);
    p = std::min(hi, p);
    return -10.0f * std::log10(1.0f - p);
}

// SIGDIS: the probability at ftab of being below a layer's MUF, FOT or HPF
// (the distribution centred on the value itself).
float ProbabilityAt(const TModelState &s, float ftab, float fmuf, int layer) {
    return MufProbability(s, ftab, fmuf, fmuf, layer);
}

} // namespace

// SIGDIS (SIGDIS_orig)
void SetSignalDistribution(TModelState &s) {
    TControlPoints &r = s.ron;
    TControlPointGeo &g = s.geog;
    TSystem &t = s.ton;
    TSignalDistribution &d = s.sigd;
    const TMufs &u = s.mufs;
    const int kfxx = r.kfx;
    const float xkf = float(kfxx);
    float glav = 0.0f;
    float xadj = 0.0f, xsu = 0.0f, xsl = 0.0f, xfmp = 0.0f, xsup = 0.0f, xslp = 0.0f, ac = 0.0f;
    d.feav = 0.0f;
    for (int k = 1; k <= kfxx; ++k) {
        g.abiy(k) = -0.04f + std::exp(-2.937f + 0.8445f * r.fi(1, k));
        // Not below 0.1, the end of the absorption curve (SIGDIS, 1999 fix;
        // skipped only by the I and a version letters).
        g.abiy(k) = std::max(0.1f, g.abiy(k));
        const int idp = s.don.gcdkm > 2500.0f ? 5 : 2;
        const TSystemLoss l = SystemLossDeciles(s, r.glat(k), g.clck(k), idp);
        t.adj = l.fm;
        t.su = l.su;
        t.sl = l.sl;
        xadj = xadj + t.adj;
        xsu = xsu + t.su;
        xsl = xsl + t.sl;
        xfmp = xfmp + l.fmp;
        xsup = xsup + l.sup;
        xslp = xslp + l.slp;
        d.feav = d.feav + r.fi(1, k);
        ac = ac + g.abiy(k);
        g.artic(k) = t.adj;
        glav = glav + std::fabs(r.glat(k));
    }
    glav = glav / xkf;
    d.aglat = glav;
    d.acav = ac / xkf;
    d.feav = d.feav / xkf;
    t.adj = xadj / xkf;
    t.su = xsu / xkf;
    t.sl = xsl / xkf;
    t.ads = xfmp / xkf;
    t.sus = xsup / xkf;
    t.sls = xslp / xkf;

    // D-E region loss constants (SIGDIS).
    const int k = s.frq.jmode;
    d.htloss = 88.0f;
    d.xve = InterpolateTable(90.0f, r.htrue.data(), r.fvert.data(), 30, k);
    d.xve = d.xve / r.fi(1, k);
    d.xnuz = 63.07f;
    d.hnu = 4.39f;
    // Adjustment of the CCIR 252 loss equation for E modes by mean foE.
    if (d.feav > 2.0f) {
        d.afe = 1.359f;
        d.bfe = 8.617f;
    } else if (d.feav <= 0.5f) {
        d.afe = 0.0f;
        d.bfe = 0.0f;
    } else {
        d.afe = 1.359f * (d.feav - 0.5f) / 1.5f;
        d.bfe = 8.617f * (d.feav - 0.5f) / 1.5f;
    }

    // The tables hold for the F2 FOT up to 40 degrees geomagnetic, 10 MHz
    // above 50, between the two in between.
    glav = glav * s.con.r2d;
    float ftab = 10.0f;
    if (glav <= 40.0f) {
        ftab = u.yfot(3);
    } else if (glav <= 50.0f) {
        ftab = u.yfot(3);
        ftab = ftab - (glav - 40.0f) * (ftab - 10.0f) / 10.0f;
    }
    // Es obscuration and F2 over-the-MUF at ftab taken out of the tables;
    // each mode adds its own back.
    float eslsm = 0.0f;
    if (u.ymuf(4) > 0.0f) eslsm = ClampedLoss(ProbabilityAt(s, ftab, u.ymuf(4), 4), 0.1f, 0.9f);
    float pf2 = std::max(0.1f, ProbabilityAt(s, ftab, u.ymuf(3), 3));
    const float f2lsm = -10.0f * std::log10(pf2);
    // What is left is the auroral adjustment of the median.
    d.asm_ = t.adj - eslsm - f2lsm;
    d.asm_ = std::max(d.asm_, 0.0f);

    float pes = 0.0f;
    if (u.yfot(4) > 0.0f) pes = std::min(0.9f, std::max(0.1f, ProbabilityAt(s, ftab, u.yfot(4), 4)));
    pf2 = std::max(0.1f, ProbabilityAt(s, ftab, u.yhpf(3), 3));
    d.dsu = 1.28f * t.sl - (+10.0f * std::log10(1.0f - pes) + eslsm) - (+10.0f * std::log10(pf2) + f2lsm);
    d.dsu = std::max(d.dsu, 0.5f);

    pes = 0.0f;
    if (u.yhpf(4) > 0.0f) pes = std::min(0.9f, std::max(0.1f, ProbabilityAt(s, ftab, u.yhpf(4), 4)));
    pf2 = std::max(0.1f, ProbabilityAt(s, ftab, u.yfot(3), 3));
    d.dsl = 1.28f * t.su - (-10.0f * std::log10(1.0f - pes) - eslsm) - (-10.0f * std::log10(pf2) - f2lsm);
    d.dsl = std::max(1.0f, d.dsl);
}

// FNORML
float NormalCdf(float x) {
    const float qx = UpperTail(x < 0.0f ? -x : x);
    return x < 0.0f ? qx : 1.0f - qx;
}

// PRBMUF
float MufProbability(const TModelState &s, float fmhz, float fgo, float fset, int il) {
    float z = fmhz - fgo;
    if (fset <= 0.0f) return z <= 0.0f ? 1.0f : 0.0f;
    float sig = z <= 0.0f ? fgo * s.mufs.sigl(il) / fset : fgo * s.mufs.sigu(il) / fset;
    sig = std::max(sig, 0.001f);
    z = z / sig;
    const float qx = UpperTail(z < 0.0f ? -z : z);
    return z < 0.0f ? 1.0f - qx : qx;
}

// SYSSY
TSystemLoss SystemLossDeciles(const TModelState &s, float g, float pt, int nn) {
    TSystemLoss out;
    if (s.two.f2d(1, 1, 1) <= 0.0f) {
        // No month tables: the first values of the ITSA-1 tables; note the
        // lower decile divided by 1.29 here (SYSSY).
        out.fm = 9.0f;
        out.fmp = 5.6f;
        out.sup = 0.60f;
        out.slp = 1.63f;
        out.su = 9.0f / 1.28f;
        out.sl = 4.0f / 1.29f;
        return out;
    }
    const int j = int(pt + 0.5f);
    const float gg = std::fabs(g) * 5.729577E1f;
    const int kj = std::clamp(int(((gg - 40.0f) / 5.0f) + 1.5f), 1, 9);
    const int kk = g < 0.0f ? 8 : 0;
    const int nd = g < 0.0f ? 3 : 0;
    int lj = int(float(j) / 3.0f + 0.67f);
    if (lj < 1) lj = 8;
    int ld = int(float(j) / 6.0f + 0.67f);
    if (ld < 1) ld = 4;
    const int lol = lj + kk;
    out.fm = s.two.sys(kj, lol, nn);
    const float du = s.two.sys(kj, lol, nn + 1);
    const float dl = s.two.sys(kj, lol, nn - 1);
    out.fmp = s.two.perr(kj, ld, nd + 1);
    out.sup = s.two.perr(kj, ld, nd + 2);
    out.slp = s.two.perr(kj, ld, nd + 3);
    out.su = du / 1.28f;
    out.sl = dl / 1.28f;
    return out;
}

namespace {

// RELBIL's reliability of each mode (0.001 for modes below 70 km).
void ModeReliabilities(TModelState &s) {
    TModeSet &m = s.allmode;
    const float du2 = s.anois.du * s.anois.du;
    const float dl2 = s.anois.dl * s.anois.dl;
    for (int im = 1; im <= m.nmmod; ++im) {
        if (m.hp(im) <= 70.0f) {
            m.crel(im) = 0.001f;
            m.rely(im) = 0.001f;
            continue;
        }
        s.sigd.dslf = m.tllow(im);
        s.sigd.dsuf = m.tlhgh(im);
        // The low SNR decile combines the upper noise decile with the low
        // signal decile, and the other way round (RELBIL, 1994 change).
        s.don.d10r = std::sqrt(du2 + s.sigd.dslf * s.sigd.dslf);
        s.don.d50r = m.sn(im);
        s.don.d90r = std::sqrt(dl2 + s.sigd.dsuf * s.sigd.dsuf);
        const float z = ReliabilityDeviate(s.don.rsn, s.don.d50r, s.don.d10r, s.don.d90r);
        m.rely(im) = 1.0f - NormalCdf(z);
        m.crel(im) = 1000.0f;
    }
}

// RELBIL's most reliable mode: the highest reliability, but among modes
// within 0.05 of the one held, fewer hops win, then the higher median SNR.
int MostReliableMode(const TModeSet &m) {
    constexpr float eps = 0.05f;
    int best = 1;
    for (int im = 2; im <= m.nmmod; ++im)
        if (m.rely(im) > m.rely(best)) best = im;
    int ir = best;
    float xrel = m.rely(ir);
    float xhn = m.hn(ir);
    float xsn = m.sn(ir);
    for (int im = 1; im <= m.nmmod; ++im) {
        if (im == best) continue;
        if (xrel < 0.00000001f) xrel = 0.00000001f;
        if (std::fabs(m.rely(im) - xrel) >= eps) continue;
        const bool better = std::fabs(xhn - m.hn(im)) <= eps ? xsn < m.sn(im) : xhn > m.hn(im);
        if (!better) continue;
        ir = im;
        xhn = m.hn(im);
        xsn = m.sn(im);
        xrel = m.rely(im);
    }
    return ir;
}

// 10 log of a sum of powers relative to top (terms 10 dB below skipped).
void AddPower(float &sum, float db) {
    const float zexp = 0.1f * db;
    if (zexp > -10.0f) sum = sum + std::pow(10.0f, zexp);
}

// RELBIL with several modes: powers added (random phase), the deciles of
// the sum, and the reliability of the sum.
void SumModes(TModelState &s, int ifx, int ir) {
    const TModeSet &m = s.allmode;
    TFrequencyResults &r = s.son;
    float topSig = -1000.0f, topFld = -1000.0f, topLow = -1000.0f, topUp = -1000.0f;
    for (int iv = 1; iv <= m.nmmod; ++iv) {
        topSig = std::max(topSig, m.sigpow(iv));
        topFld = std::max(topFld, m.fldst(iv));
        topLow = std::max(topLow, m.sigpow(iv) - m.tllow(iv));
        topUp = std::max(topUp, m.sigpow(iv) + m.tlhgh(iv));
    }
    float sumLow = 0.0f, sumSig = 0.0f, sumUp = 0.0f, sumFld = 0.0f;
    for (int im = 1; im <= m.nmmod; ++im) {
        AddPower(sumLow, m.sigpow(im) - m.tllow(im) - topLow);
        AddPower(sumSig, m.sigpow(im) - topSig);
        AddPower(sumUp, m.sigpow(im) + m.tlhgh(im) - topUp);
        // The field strength is summed apart: it excludes the receive gain.
        AddPower(sumFld, m.fldst(im) - topFld);
    }
    float sigmed = -500.0f;
    if (sumSig > 0.0f) sigmed = topSig + 10.0f * std::log10(sumSig);
    r.dblosl(ifx) = sumLow > 0.0f ? std::fabs(sigmed - 10.0f * std::log10(sumLow) - topLow) : 0.0f;
    // Deciles kept within 0.2..30 dB (RELBIL, 2002).
    r.dblosl(ifx) = std::clamp(r.dblosl(ifx), 0.2f, 30.0f);
    r.dblosu(ifx) = sumUp > 0.0f ? std::fabs(topUp + 10.0f * std::log10(sumUp) - sigmed) : 0.0f;
    r.dblosu(ifx) = std::clamp(r.dblosu(ifx), 0.2f, 30.0f);
    r.dbw(ifx) = sigmed;
    const float delsig = sigmed - m.sigpow(ir);
    r.dbu(ifx) = sumFld > 0.0f ? topFld + 10.0f * std::log10(sumFld) : -500.0f;
    r.sndb(ifx) = m.sn(ir) + delsig;

    const float du2 = s.anois.du * s.anois.du;
    const float dl2 = s.anois.dl * s.anois.dl;
    s.don.d10r = std::sqrt(du2 + r.dblosl(ifx) * r.dblosl(ifx));
    s.don.d50r = r.sndb(ifx);
    s.don.d90r = std::sqrt(dl2 + r.dblosu(ifx) * r.dblosu(ifx));
    if (s.don.d10r < 0.2f) s.don.d10r = 0.2f;
    if (s.don.d90r > 30.0f) s.don.d90r = 30.0f;
    const float z = ReliabilityDeviate(s.don.rsn, s.don.d50r, s.don.d10r, s.don.d90r);
    r.reliab(ifx) = 1.0f - NormalCdf(z);
}

} // namespace

// RELBIL
void CombineModes(TModelState &s, int ifx, float freq) {
    TModeSet &m = s.allmode;
    if (m.nmmod <= 0) return;
    ModeReliabilities(s);
    const int ir = MostReliableMode(m);
    m.nrel = ir;
    const int is = m.nmode(ir);
    TFrequencyResults &r = s.son;
    if (m.nmmod == 1) {
        r.reliab(ifx) = m.rely(ir);
        r.dblosl(ifx) = m.tllow(ir);
        r.dblosu(ifx) = m.tlhgh(ir);
        r.dbu(ifx) = m.fldst(ir);
        r.sndb(ifx) = m.sn(ir);
        r.dbw(ifx) = m.sigpow(ir);
    } else {
        SumModes(s, ifx, ir);
    }
    s.cgains.gaint(ifx) = m.tgain(ir);
    s.cgains.gainr(ifx) = m.rgain(ir);
    r.snrlw(ifx) = s.don.d10r;
    r.snrup(ifx) = s.don.d90r;
    r.angle(ifx) = m.b(ir);
    r.vhigh(ifx) = m.hp(ir);
    r.delay(ifx) = m.timed(ir);
    // The loss of the summed power, not of the most reliable mode (RELBIL,
    // 2014).
    r.dblos(ifx) = TransmitPowerDb(s, freq) - r.dbw(ifx);
    r.cprob(ifx) = m.prob(ir);
    s.alpha.mode(ifx) = s.outlab.laytyp(is);
    r.nhp(ifx) = int(m.hn(ir));
    r.xnynois(ifx) = s.anois.rcnse;
    s.dudl_nois.du_nois(ifx) = s.anois.du;
    s.dudl_nois.dl_nois(ifx) = s.anois.dl;
    r.rneff(ifx) = m.eff(ir);

    const int lufp = s.ion.lufp;
    const float tmx = kDeviates[DeviateRow(lufp) - 1] / kDeviates[8];
    if (lufp < 50)
        r.snpr(ifx) = -(s.don.d50r + tmx * s.don.d90r) + s.don.rsn;
    else
        r.snpr(ifx) = -(s.don.d50r - tmx * s.don.d10r) + s.don.rsn;
    s.sncom.snxx(ifx) = s.don.rsn - r.snpr(ifx);
}

// SERPRB
void ServiceProbability(TModelState &s, int ifx) {
    constexpr float dr = 2.0f; // prediction error of the required SNR
    TModeSet &m = s.allmode;
    const TNoiseState &n = s.anois;
    const float dcl = s.con.dcl;
    s.ton.spr = 0.0f;
    const int lufp = s.ion.lufp;
    const float tmx = kDeviates[DeviateRow(lufp) - 1];
    TTable<float, 20> d10{};
    TTable<float, 20> d50{};
    for (int im = 1; im <= m.nmmod; ++im) {
        if (m.hp(im) <= 70.0f) {
            m.spro(im) = 0.001f;
            continue;
        }
        const bool upper = lufp >= 50;
        const float dn = tmx * (upper ? n.du : n.dl) / dcl;
        const float ds = tmx * (upper ? m.tllow(im) : m.tlhgh(im)) / dcl;
        const float xlh = upper ? -1.0f : 1.0f;
        const float dso = tmx * (upper ? s.ton.sus : s.ton.sls);
        const float dno = tmx * (upper ? n.sxgu : n.sxgl) / dcl;
        d50(im) = std::sqrt(dn * dn + ds * ds);
        d10(im) = d50(im) + std::sqrt(n.sigm * n.sigm + s.ton.ads * s.ton.ads + dno * dno + dso * dso + dr * dr);
        d50(im) = m.sn(im) + xlh * d50(im);
        const float z = (s.don.rsn - d50(im)) / d10(im);
        m.spro(im) = 1.0f - NormalCdf(z);
    }
    int imax = 1;
    for (int i = 1; i <= m.nmmod; ++i)
        if (m.spro(i) > m.spro(imax)) imax = i;
    s.son.sprob(ifx) = m.spro(imax);
    s.don.d10s = d10(imax);
    s.don.d50s = d50(imax);
    s.don.d90s = s.don.d10s;
}

// MPATH
void MultipathProbability(TModelState &s, int ifx) {
    const TModeSet &m = s.allmode;
    const TCircuit &c = s.don;
    s.son.probmp(ifx) = 0.001f;
    if (c.dmp <= 0.0f || c.pmp <= 0.0f) return;
    // Not on the long-path blend beyond 7000 km (MPATH).
    if (s.ion.method == 20 && s.contrl.mspec == 121 && c.gcdkm > 7000.0f) return;
    const float limit = m.sigpow(m.nrel) - c.pmp;
    const float delay = m.timed(m.nrel);
    for (int im = 1; im <= m.nmmod; ++im) {
        if (im == m.nrel || m.hp(im) <= 0.0f) continue;
        if (std::fabs(m.timed(im) - delay) <= c.dmp) continue;
        if (m.sigpow(im) < limit) continue;
        s.son.probmp(ifx) = std::max(s.son.probmp(ifx), m.rely(im));
    }
}

// SETLUF
void SetLuf(TModelState &s) {
    TFrequencies &f = s.frq;
    const int it = s.time.it;
    float rf = f.frel(1);
    float rel = s.son.reliab(1);
    float pluf = float(s.ion.lufp);
    pluf = 0.01f * pluf;
    for (int i = 1; i <= 11; ++i) {
        if (f.frel(i) <= 0.0f) continue;
        if (s.son.reliab(i) >= pluf) {
            s.mufs.xluf(it) = f.frel(i);
            f.frel(13) = f.frel(i);
            return;
        }
        if (s.son.reliab(i) > rel) {
            rel = s.son.reliab(i);
            rf = f.frel(i);
        }
    }
    s.mufs.xluf(it) = -rf;
    f.frel(13) = rf;
}

// FRQCOM
void FrequencyComplement(TModelState &s, TTable<float, 13> &frea, int ifreq) {
    FillFrequencyComplement(s, frea, ifreq);
}

void FrequencyComplement(TModelState &s, TTable<float, 29> &frel, int ifreq) {
    FillFrequencyComplement(s, frel, ifreq);
}

} // namespace vx::model
