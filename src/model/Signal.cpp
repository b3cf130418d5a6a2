#include "model/Signal.h"
#include "model/FortranFormat.h"

#include "model/Antenna.h"
#include "model/Ionosphere.h"
#include "model/LongPath.h"
#include "model/Modes.h"
#include "model/Noise.h"
#include "model/Rays.h"
#include "model/Reliability.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace vx::model {

using fortran::TruncateToInt;

namespace {

// What one model gave at each frequency, kept for the short/long blend of
// method 30 (LUFFY); column 1 short, column 2 long.
struct TKeptResults {
    TTable<float, 13, 2> dbu, reliab, sndb, snpr, snrlw, snrup, sprob, angle, cprob, dblos, dblosl, dblosu, delay,
        probmp, dbw, vhigh, tgain, rgain;
    TTable<int32_t, 13, 2> nhp;
    TTable<TChars<2>, 13, 2> mode;
    // Long model only.
    TTable<float, 13> du, dl, angler;
    TTable<int32_t, 13> nmode;
    TTable<TChars<2>, 13> moder;
};

void KeepResults(const TModelState &s, TKeptResults &y, int ifx, int ipflag) {
    const int idx = (ipflag + 1) / 100;
    if (idx < 1 || idx > 2) return; // LUF searches keep nothing
    const TFrequencyResults &r = s.son;
    y.angle(ifx, idx) = r.angle(ifx);
    y.cprob(ifx, idx) = r.cprob(ifx);
    y.dblos(ifx, idx) = r.dblos(ifx);
    y.dblosl(ifx, idx) = r.dblosl(ifx);
    y.dblosu(ifx, idx) = r.dblosu(ifx);
    y.delay(ifx, idx) = r.delay(ifx);
    y.dbw(ifx, idx) = r.dbw(ifx);
    y.nhp(ifx, idx) = r.nhp(ifx);
    y.vhigh(ifx, idx) = r.vhigh(ifx);
    y.mode(ifx, idx) = s.alpha.mode(ifx);
    y.dbu(ifx, idx) = r.dbu(ifx);
    y.reliab(ifx, idx) = r.reliab(ifx);
    y.sndb(ifx, idx) = r.sndb(ifx);
    y.snpr(ifx, idx) = r.snpr(ifx);
    y.snrlw(ifx, idx) = r.snrlw(ifx);
    y.snrup(ifx, idx) = r.snrup(ifx);
    y.sprob(ifx, idx) = r.sprob(ifx);
    y.probmp(ifx, idx) = r.probmp(ifx);
    y.tgain(ifx, idx) = s.allmode.tgain(1);
    y.rgain(ifx, idx) = s.allmode.rgain(1);
    if (ipflag == kLongPathSignal) {
        y.du(ifx) = s.anois.du;
        y.dl(ifx) = s.anois.dl;
        y.nmode(ifx) = s.allmode.nmode(1);
        y.angler(ifx) = r.angler(ifx);
        y.moder(ifx) = s.alpha.moder(ifx);
    }
}

// LUFFY from its label 83: the profiles, ionograms, over-the-MUF tables and
// deviation factors of the control points the model needs; returns the
// control point the short model works at. On the long model the transmitter
// end is point 1 and the receiver end kfx (2 when there is one point);
// method 30 reuses the short model's ionogram where they coincide.
int PrepareControlPoints(TModelState &s, char &model) {
    const int ipfg = s.gh_ipfg.ipfg;
    TRunControl &ct = s.contrl;
    TFrequencies &f = s.frq;
    const bool shortModel = ipfg == kShortPathSignal || ipfg == kShortPathLuf;
    int k = 1;
    bool build = true;
    if (shortModel) {
        ct.jlong = -1;
        model = 'S';
        k = f.jmode;
    } else {
        ct.jlong = 1;
        model = 'L';
        f.itxrcp(1) = 1;
        build = !(ct.mspec == 121 && f.jmode == k);
    }
    while (true) {
        if (build) {
            BuildDensityProfile(s, k);
            BuildIonogram(s, k);
            FindOverTheMuf(s, k);
            DeviativeLossFactors(s, k);
            if (ipfg == kShortPathSignal || k > 1) return k;
        }
        k = s.ron.kfx;
        f.itxrcp(2) = k;
        if (ct.mspec == 121 && f.jmode == k) return k;
        if (k == 1) {
            f.itxrcp(2) = 2;
            return k;
        }
        build = true;
    }
}

// The fewest hops of any layer's circuit MUF (the second layer's only when
// it has one) (LUFFY).
int FewestMufHops(const TMufs &u) {
    int ihmin = u.nhopmf(1);
    if (u.nhopmf(2) > 0 && u.nhopmf(2) < ihmin) ihmin = u.nhopmf(2);
    if (u.nhopmf(3) < ihmin) ihmin = u.nhopmf(3);
    return ihmin;
}

// LUFFY, short model: the modes of up to three hop counts from the ray
// table of point k, then sporadic E. False when a LUF search finds no ray.
bool ShortPathModes(TModelState &s, int k, int ihmin) {
    const int ipfg = s.gh_ipfg.ipfg;
    const TReflections &x = s.reflx;
    const float gcdkm = s.don.gcdkm;
    FindReflections(s, k);
    int ihsrt = ihmin;
    int ihstp = ihmin;
    if (x.dmaxkm(k) <= 0.0f) {
        // Only one over-the-MUF mode.
        if (ipfg == kShortPathLuf) return false;
    } else {
        ihsrt = TruncateToInt(gcdkm / x.dmaxkm(k) + 1.0f);
        int ihmax = TruncateToInt(gcdkm / x.dskpkm(k));
        if (ihsrt < ihmin) ihsrt = ihmin;
        if (ihmax < ihsrt) ihmax = ihsrt;
        ihstp = std::min(ihmax, ihsrt + 2);
        if (ihsrt > ihmin) ihsrt = std::max(ihmin, ihstp - 2);
    }
    for (int ihop = ihsrt; ihop <= ihstp; ++ihop) {
        const float hop = float(ihop);
        s.modes.ghop = s.don.gcd / hop;
        int nummod = 0;
        FindModeDistances(s, ihop, k, nummod);
        InsertMufModes(s, ihop, nummod);
        CollectModes(s, ipfg, hop);
    }
    SporadicEModes(s);
    PresetMixedModes(s);
    CollectModes(s, 2, 999.0f);
    return true;
}

// LUFFY, long model: ray tables at both ends, their losses, the best ray
// sets and the long-path modes.
void LongPathModes(TModelState &s) {
    FindReflections(s, s.frq.itxrcp(1));
    FindReflections(s, s.frq.itxrcp(2));
    GroundLosses(s);
    SelectRaySets(s);
    LongPathModel(s);
}

enum class EStep { Skipped, Done, LufReached };

// LUFFY's frequency loop body for slot ifx.
EStep FrequencyStep(TModelState &s, int ifx, int ipflag, int k, int ihmin, float pluf, TKeptResults &kept) {
    int &ipfg = s.gh_ipfg.ipfg;
    TFrequencyResults &r = s.son;
    ipfg = ipflag;
    if (ipfg < kShortPathLuf) {
        r.nhp(ifx) = -1;
        r.sprob(ifx) = 0.0f;
        r.probmp(ifx) = 0.0f;
        if (s.frq.frel(ifx) <= 0.0f) return EStep::Skipped;
        s.frq.freq = s.frq.frel(ifx);
    } else {
        s.frq.freq = s.frq.frea(ifx);
        r.reliab(ifx) = 0.0f;
    }
    CollectModes(s, 0, s.frq.freq);
    ComputeNoise(s);
    if (ipfg == kShortPathSignal || ipfg == kShortPathLuf) {
        if (!ShortPathModes(s, k, ihmin)) return EStep::Skipped;
    } else {
        LongPathModes(s);
    }
    ComputeNoise(s);
    CombineModes(s, ifx, s.frq.freq);
    if (ipfg < kShortPathLuf) {
        if (s.outprt.linbot(14) > 0) ServiceProbability(s, ifx);
        if (ipfg == kShortPathSignal) {
            MultipathProbability(s, ifx);
        } else {
            // The receiver end of the long model.
            const int is = s.allmode.nmode(2);
            if (is >= 1 && is <= 5) s.alpha.moder(ifx) = s.outlab.laytyp(is);
            r.angler(ifx) = s.allmode.b(2);
        }
    } else if (r.reliab(ifx) >= pluf) {
        return EStep::LufReached;
    }
    if (s.contrl.mspec == 121) KeepResults(s, kept, ifx, ipflag);
    return EStep::Done;
}

// LUFFY label 165: the LUF interpolated between the slot below the first
// reaching the required reliability and that slot.
void LufAt(TModelState &s, int ifx, float pluf) {
    TFrequencies &f = s.frq;
    float &xluf = s.mufs.xluf(s.time.it);
    if (ifx == 1) {
        xluf = f.freq;
    } else {
        const float flow = f.frea(ifx - 1);
        const float fhigh = f.frea(ifx);
        const float rlow = s.son.reliab(ifx - 1);
        const float rhigh = s.son.reliab(ifx);
        xluf = flow + (fhigh - flow) * (pluf - rlow) / (rhigh - rlow);
    }
    f.frea(13) = xluf;
}

// LUFFY label 300: no frequency reaches the required reliability; minus
// the most reliable one. Every slot is compared with slot 1 only, so the
// last slot more reliable than slot 1 wins (LUFFY).
void NoLuf(TModelState &s) {
    int ig = 1;
    s.ton.rel = s.son.reliab(1);
    for (int i = 2; i <= 12; ++i)
        if (s.son.reliab(i) > s.ton.rel) ig = i;
    s.mufs.xluf(s.time.it) = -s.frq.frea(ig);
    s.frq.frea(13) = s.frq.frea(ig);
}

// LUFFY's blend: slot i's results from the short (1) or long (2) model.
void TakeKeptResults(TModelState &s, const TKeptResults &y, int i, int idx) {
    TFrequencyResults &r = s.son;
    s.alpha.mode(i) = y.mode(i, idx);
    r.angle(i) = y.angle(i, idx);
    r.cprob(i) = y.cprob(i, idx);
    r.dblos(i) = y.dblos(i, idx);
    r.dblosl(i) = y.dblosl(i, idx);
    r.dblosu(i) = y.dblosu(i, idx);
    r.delay(i) = y.delay(i, idx);
    r.dbw(i) = y.dbw(i, idx);
    r.nhp(i) = y.nhp(i, idx);
    s.anois.rcnse = r.xnynois(i);
    r.vhigh(i) = y.vhigh(i, idx);
    r.dbu(i) = y.dbu(i, idx);
    r.reliab(i) = y.reliab(i, idx);
    r.sndb(i) = y.sndb(i, idx);
    r.snpr(i) = y.snpr(i, idx);
    r.snrlw(i) = y.snrlw(i, idx);
    r.snrup(i) = y.snrup(i, idx);
    r.sprob(i) = y.sprob(i, idx);
    r.probmp(i) = y.probmp(i, idx);
}

// LUFFY's blend where the short model wins: its receiver end and gains.
void TakeShortModel(TModelState &s, const TKeptResults &y, int i) {
    TModeSet &m = s.allmode;
    s.son.mdl(i) = "S";
    s.alpha.moder(i) = y.mode(i, 1);
    s.son.angler(i) = y.angle(i, 1);
    m.tgain(i) = y.tgain(i, 1);
    m.rgain(i) = y.rgain(i, 1);
    s.cgains.gaint(i) = m.tgain(i);
    s.cgains.gainr(i) = m.rgain(i);
    s.sncom.snxx(i) = s.don.rsn - y.snpr(i, 1);
}

// LUFFY's blend where the long model is as strong: its noise deciles, and
// its mode put back as the only one for a new reliability.
void TakeLongModel(TModelState &s, const TKeptResults &y, int i) {
    TModeSet &m = s.allmode;
    s.son.mdl(i) = "L";
    s.alpha.moder(i) = y.moder(i);
    s.son.angler(i) = y.angler(i);
    s.anois.du = y.du(i);
    s.anois.dl = y.dl(i);
    m.b(1) = y.angle(i, 2);
    m.tllow(1) = y.dblosl(i, 2);
    m.tlhgh(1) = y.dblosu(i, 2);
    m.timed(1) = y.delay(i, 2);
    m.hn(1) = float(y.nhp(i, 2));
    m.hp(1) = y.vhigh(i, 2);
    m.prob(1) = y.cprob(i, 2);
    m.nmode(1) = y.nmode(i);
    m.tgain(1) = y.tgain(i, 2);
    m.rgain(1) = y.rgain(i, 2);
    m.eff(1) = s.son.rneff(i);
}

// LUFFY's blend below 10000 km: the short model's lower-decile signal
// raised towards the long model's by distance, and slot i recomputed from it.
void SmoothSignal(TModelState &s, int i, float sspld, float delpow) {
    TModeSet &m = s.allmode;
    const float freq = s.frq.freq;
    s.son.mdl(i) = "M";
    const float disint = (s.don.gcdkm - 7000.0f) / 3000.0f;
    // 10^37.5, the largest step taken, written out (LUFFY avoids the
    // overflow above it).
    const float delx = delpow > 375.0f ? 3.16227766e37f : std::pow(10.0f, delpow / 10.0f);
    const float smooth = sspld + 10.0f * std::log10(disint * (delx - 1.0f) + 1.0f);
    m.sigpow(1) = smooth + m.tllow(1);
    m.tloss(1) = TransmitPowerDb(s, freq) - m.sigpow(1);
    m.sn(1) = m.sigpow(1) - s.anois.rcnse - m.eff(1);
    m.fldst(1) = 107.2f + TransmitPowerDb(s, freq) + 20.0f * std::log10(freq) - m.tloss(1) - m.rgain(1);
    m.nmmod = 1;
    ComputeNoise(s);
    CombineModes(s, i, freq);
    if (s.outprt.linbot(14) > 0) ServiceProbability(s, i);
}

// LUFFY's blend of the two models between 7000 and 10000 km (VOA memo of
// 15 January 1991): the short model where its lower-decile signal is the
// stronger, else the long model, smoothed below 10000 km.
void BlendModels(TModelState &s, const TKeptResults &y) {
    s.son.mdl(13) = "M";
    for (int i = 1; i <= 12; ++i) {
        s.son.mdl(i) = " ";
        s.frq.freq = s.frq.frel(i);
        if (s.frq.freq <= 0.0f) continue;
        const float slpld = y.dbw(i, 2) - std::fabs(y.dblosl(i, 2));
        const float sspld = y.dbw(i, 1) - std::fabs(y.dblosl(i, 1));
        const float delpow = slpld - sspld;
        const bool shortWins = delpow < 0.0f;
        if (shortWins)
            TakeShortModel(s, y, i);
        else
            TakeLongModel(s, y, i);
        TakeKeptResults(s, y, i, shortWins ? 1 : 2);
        if (!shortWins && s.don.gcdkm < 10000.0f) SmoothSignal(s, i, sspld, delpow);
    }
}

} // namespace

// LUFFY (method 25's all-mode tables, OUTALL, are not printed here)
void ComputeSignal(TModelState &s, int ipflag) {
    int &ipfg = s.gh_ipfg.ipfg;
    TRunControl &ct = s.contrl;
    ipfg = ipflag;
    const int mspecCalled = ct.mspec;
    // Method 30 beyond the blending distance: long model set up, no blend.
    if (ct.mspec == 121 && s.don.gcdkm > 10000.0f) {
        ipfg = kLongPathSignal;
        ct.mspec = 0;
    }
    float pluf = 0.0f;
    if (ipfg > kLongPathSignal) {
        FrequencyComplement(s, s.frq.frea, 0);
        pluf = float(s.ion.lufp);
        pluf = 0.01f * pluf;
    }
    SelectControlArea(s);
    AtmosphericNoiseAtHour(s);
    TKeptResults kept;
    while (true) {
        char model = 'S';
        const int k = PrepareControlPoints(s, model);
        SetLongPath(s);
        SetSignalDistribution(s);
        const int ihmin = FewestMufHops(s.mufs);
        s.son.nhp(13) = -1;
        s.son.mdl(13).Text[0] = model;
        for (int i = 1; i <= 12; ++i) s.son.mdl(i) = " ";
        int lufSlot = 0;
        for (int ifx = 1; ifx <= 12 && lufSlot == 0; ++ifx)
            if (FrequencyStep(s, ifx, ipflag, k, ihmin, pluf, kept) == EStep::LufReached) lufSlot = ifx;
        if (lufSlot > 0) {
            LufAt(s, lufSlot, pluf);
            break;
        }
        if (s.ion.method == 25) break;
        if (ipfg >= kShortPathLuf) {
            NoLuf(s);
            break;
        }
        // Method 30 blends the two models from 7000 to 10000 km only.
        if (ct.mspec != 121 || s.don.gcdkm < 7000.0f || s.don.gcdkm > 10000.0f) break;
        if (ipflag == kShortPathSignal) {
            ipflag = kLongPathSignal;
            ipfg = kLongPathSignal;
            continue;
        }
        BlendModels(s, kept);
        break;
    }
    ct.mspec = mspecCalled;
}

} // namespace vx::model
