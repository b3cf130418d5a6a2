// The electron density profile of a control point and its vertical
// ionogram: true and virtual heights of reflection.
#include "model/Ionosphere.h"

#include "model/Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace vx::model {

namespace {

// The reference's table interpolation (XLIN, and both look-ups of GETHP):
// the first interval of the 1-based table whose ends bracket x (either
// way round), or one whose lower end already lies beyond x; a flat
// interval holding x exactly gives its value; past every interval, the
// last value.
float InterpolateFrom(float x, const float *xn, const float *yn, int ntab) {
    for (int j = 0; j < ntab - 1; ++j) {
        const float x0 = xn[j];
        const float x1 = xn[j + 1];
        bool inside;
        if (x0 < x1) {
            inside = x0 > x || x < x1;
        } else if (x0 == x1) {
            if (x == x0) return yn[j];
            continue;
        } else {
            inside = x0 >= x && x > x1;
        }
        if (inside) return yn[j] + (x - x0) * (yn[j + 1] - yn[j]) / (x1 - x0);
    }
    return yn[ntab - 1];
}

// True when every interval of the table rises, so that the first interval
// InterpolateFrom takes is the first whose upper end lies above x.
bool RisesThroughout(const float *xn, int ntab) {
    for (int j = 0; j < ntab - 1; ++j)
        if (!(xn[j] < xn[j + 1])) return false;
    return true;
}

// InterpolateFrom on a table known to rise throughout: the same interval,
// the same arithmetic. The interval is found by walking from the upper end
// `upper` left by the previous look-up, since the integration points come
// in order of height.
float InterpolateRising(float x, const float *xn, const float *yn, int ntab, int &upper) {
    while (upper > 1 && x < xn[upper - 1]) --upper;
    while (upper < ntab && !(x < xn[upper])) ++upper;
    if (upper == ntab) return yn[ntab - 1];
    const int j = upper - 1;
    return yn[j] + (x - xn[j]) * (yn[j + 1] - yn[j]) / (xn[j + 1] - xn[j]);
}

// What an ionogram's look-ups may rely on for one profile (column 1 of
// htr/fnsq), found once for all its frequencies.
struct TProfileFacts {
    bool heightsRise = false;
    // peak(j) = the largest of fnsq[0..j]; valid only when the table holds
    // no NaN (the first look-up below then needs no scan).
    bool havePeaks = false;
    float peak[50]{};
};

TProfileFacts ProfileFacts(const TControlPoints &r, bool withPeaks) {
    TProfileFacts facts;
    facts.heightsRise = RisesThroughout(r.htr.data(), 50);
    if (!withPeaks) return facts;
    const float *fnsq = r.fnsq.data();
    float top = fnsq[0];
    bool plain = true;
    for (int j = 0; j < 50; ++j) {
        if (std::isnan(fnsq[j])) plain = false;
        top = fnsq[j] > top ? fnsq[j] : top;
        facts.peak[j] = top;
    }
    facts.havePeaks = plain;
    return facts;
}

// InterpolateFrom(x, fnsq, htr, 50) for x above fnsq[0]. No interval
// before the first point whose running peak reaches x can hold x (both its
// ends lie below x), so the scan may start there: that interval rises to
// a value at or above x and is taken unless it ends exactly at x.
float TrueHeightOf(float x, const float *fnsq, const float *htr, const TProfileFacts &facts) {
    if (!facts.havePeaks || !(x == x)) return InterpolateFrom(x, fnsq, htr, 50);
    int lo = 0, hi = 50; // first m with peak[m] >= x, found in [lo, hi]
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (facts.peak[mid] >= x)
            hi = mid;
        else
            lo = mid + 1;
    }
    if (lo == 50) return htr[49];
    const int j = lo - 1; // lo >= 1 since fnsq[0] < x
    const float x0 = fnsq[j], x1 = fnsq[j + 1];
    if (x < x1) return htr[j] + (x - x0) * (htr[j + 1] - htr[j]) / (x1 - x0);
    return InterpolateFrom(x, fnsq + j + 1, htr + j + 1, 50 - j - 1);
}

// GENION/LECDEN: the D-E tail starts at 0.85 of the E semithickness below
// the E peak (the two routines must agree).
constexpr float kTail = .85f;

// GETHP: the Gauss points of each half of the integration interval (DATR).
constexpr int kGaussPoints = 20;

} // namespace

// XLIN
float InterpolateTable(float x, const float *xn, const float *yn, int ntab, int k) {
    const float *xs = xn + ntab * (k - 1);
    const float *ys = yn + ntab * (k - 1);
    if (xs[0] - x > 0.f) return ys[0];
    return InterpolateFrom(x, xs, ys, ntab);
}

// PEN
float LayerRetardation(const TModelState &s, int i, int k, float f) {
    float x = f / s.ron.fi(i, k);
    x = std::max(x, 1.001f);
    return s.ron.yi(i, k) * std::log((1.f + x) / (x - 1.f)) * x;
}

// BENDY
float LayerBending(const TModelState &s, int i, int k, float f) {
    float x = f / s.ron.fi(i, k);
    x = std::min(x, 0.999f);
    return 0.5f * x * s.ron.yi(i, k) * std::log((1.f + x) / (1.f - x));
}

namespace {

// GETHP's integral for the usual case (a height table that rises, 20 Gauss
// points, npl = 1, so that the stretched variable's powers are zg itself
// and 1). The same operations as the general form below, arranged as a
// search pass and a pass of independent element-wise arithmetic. The
// points are taken in order of height (those above the middle of the
// interval, zg = 1 + xt, come lowest, highest xt first), so one walk up
// the table finds every interval; each point's interval and arithmetic
// are what they would be in any order.
float VirtualHeightIntegral(const TModelState &s, float fr, float ht, float base) {
    const float *htr = s.ron.htr.data();
    const float *fnsq = s.ron.fnsq.data();
    const TIntegrationWeights &w = s.datr;
    const float *xt = w.xt.data();
    constexpr int kPoints = 2 * kGaussPoints;
    float zg[kPoints];
    for (int i = 0; i < kGaussPoints; ++i) {
        zg[i] = 1.f + xt[kGaussPoints - 1 - i];
        zg[kGaussPoints + i] = 1.0f - xt[i];
    }
    float zi[kPoints], x0[kPoints], x1[kPoints], y0[kPoints], y1[kPoints];
    for (int i = 0; i < kPoints; ++i) zi[i] = ht * (1.f - w.twdiv * zg[i]) + base;
    int upper = 1;
    for (int i = 0; i < kPoints; ++i) {
        if (zi[i] - base <= 0.f) {
            x0[i] = 0.f, x1[i] = 1.f, y0[i] = y1[i] = fnsq[0];
            zi[i] = 0.f;
            continue;
        }
        while (upper > 1 && zi[i] < htr[upper - 1]) --upper;
        while (upper < 50 && !(zi[i] < htr[upper])) ++upper;
        if (upper == 50) {
            x0[i] = 0.f, x1[i] = 1.f, y0[i] = y1[i] = fnsq[49];
            zi[i] = 0.f;
            continue;
        }
        x0[i] = htr[upper - 1], x1[i] = htr[upper];
        y0[i] = fnsq[upper - 1], y1[i] = fnsq[upper];
    }
    // Where the value is fixed, x0 = zi = 0 makes the interpolation give y0
    // exactly.
    float mu[kPoints];
    for (int i = 0; i < kPoints; ++i) {
        float ysq = y0[i] + (zi[i] - x0[i]) * (y1[i] - y0[i]) / (x1[i] - x0[i]);
        ysq = ysq / fr;
        ysq = 0.9999f < ysq ? 0.9999f : ysq; // std::min(ysq, 0.9999f)
        mu[i] = 1.f / std::sqrt(1.f - ysq);
    }
    // Summed in GETHP's order: Gauss point ig below the middle, then above.
    float hp = 0.f;
    for (int ig = 1; ig <= kGaussPoints; ++ig) hp = hp + w.wt(ig) * (mu[kGaussPoints + ig - 1] + mu[kGaussPoints - ig]);
    return hp;
}

// GETHP, told what the profile allows (the ionogram asks once for all its
// frequencies).
void VirtualAndTrueHeightOn(const TModelState &s, const TProfileFacts &facts, float fxx, float &hpx, float &htx) {
    const float *htr = s.ron.htr.data();
    const float *fnsq = s.ron.fnsq.data();
    const TIntegrationWeights &w = s.datr;
    const float fr = fxx * fxx;
    if (fr - fnsq[0] <= 0.f) {
        htx = htr[0];
        hpx = htx;
        return;
    }
    const float base = htr[0];
    const float ht = TrueHeightOf(fr, fnsq, htr, facts) - base;
    const bool heightsRise = facts.heightsRise;
    const float hrmz = ht * w.twdiv * w.xnpl;
    if (heightsRise && w.nt == kGaussPoints && w.npl == 1) {
        hpx = base + hrmz * VirtualHeightIntegral(s, fr, ht, base);
        htx = base + ht;
        return;
    }
    // The integrand at height ratio zg: group index of the height reached,
    // times the slope of the stretched variable. The points below and above
    // the middle of the interval are taken as two runs, each with its own
    // place in the height table.
    auto integrand = [&](float zg, int &upper) {
        const float zi = ht * (1.f - w.twdiv * FortranPowInt(zg, w.npl)) + base;
        float ysq = zi - base <= 0.f ? fnsq[0]
                    : heightsRise    ? InterpolateRising(zi, htr, fnsq, 50, upper)
                                     : InterpolateFrom(zi, htr, fnsq, 50);
        ysq = ysq / fr;
        ysq = std::min(ysq, 0.9999f);
        const float mu = 1.f / std::sqrt(1.f - ysq);
        return mu * FortranPowInt(zg, w.npl - 1);
    };
    float below[20], above[20];
    int upperBelow = 1, upperAbove = 49;
    for (int ig = 1; ig <= w.nt; ++ig) below[ig - 1] = integrand(1.0f - w.xt(ig), upperBelow);
    for (int ig = 1; ig <= w.nt; ++ig) above[ig - 1] = integrand(1.f + w.xt(ig), upperAbove);
    float hp = 0.f;
    for (int ig = 1; ig <= w.nt; ++ig) hp = hp + w.wt(ig) * (below[ig - 1] + above[ig - 1]);
    hpx = base + hrmz * hp;
    htx = base + ht;
}

} // namespace

// GETHP
void VirtualAndTrueHeight(const TModelState &s, float fxx, float &hpx, float &htx) {
    VirtualAndTrueHeightOn(s, ProfileFacts(s.ron, false), fxx, hpx, htx);
}

// LECDEN
void BuildDensityProfile(TModelState &s, int k) {
    for (int i = 1; i <= 3; ++i)
        if (s.contrl.ielect(i) > 0) return;
    TControlPoints &r = s.ron;
    // LECDEN: the valley is filled from 0.8516 of foE above the E peak.
    constexpr float kValleyLow = .8516f;
    const float hz = r.hi(1, k) - r.yi(1, k);
    const float xup = 0.98f * r.fi(1, k) / r.fi(3, k);
    const float hlow = hz + r.yi(1, k) * (1.f + std::sqrt(1.f - kValleyLow * kValleyLow));
    const float hte = r.hi(1, k) + r.yi(1, k);
    const float hb2 = r.hi(3, k) - r.yi(3, k);
    const float fce = r.fi(1, k) * r.fi(1, k);
    const float fc2 = r.fi(3, k) * r.fi(3, k);
    const float hup = hb2 + r.yi(3, k) * (1.f - std::sqrt(1.f - xup * xup));
    const float fup = xup * xup * fc2;
    const float flow = kValleyLow * kValleyLow * fce;
    float asp = 0.f;
    if (hup - hlow > 0.f) asp = (fup - flow) / (hup - hlow);

    // The F1 layer: parabolic, or linear when its top would pass the F2
    // profile at foF1 (lin).
    int lin = 0;
    float fc1 = 0.f, s1 = 0.f, ht1 = 0.f;
    if (r.fi(2, k) > 0.f) {
        fc1 = r.fi(2, k) * r.fi(2, k);
        float hb1 = r.hi(2, k) - r.yi(2, k);
        ht1 = r.hi(2, k) + r.yi(2, k);
        const float htw = hb2 + r.yi(3, k) * (1.f - std::sqrt(1.f - fc1 / fc2));
        bool parabolic = htw > r.hi(2, k) + .001f;
        if (!parabolic) {
            float ys = htw - hb1;
            ys = std::max(1.f, ys);
            s1 = fc1 / ys;
            r.hi(2, k) = htw;
            r.yi(2, k) = ys;
            if (hb2 - hb1 < 0.f) {
                r.yi(2, k) = r.hi(2, k) - hb2;
                parabolic = true;
            } else {
                lin = 1;
                s.mfac.fsecv(k) = std::sqrt(flow);
                float denom = 1.f - (r.fi(1, k) / r.fi(2, k)) * (r.fi(1, k) / r.fi(2, k));
                denom = std::max(.17f, denom);
                const float yb = (r.hi(2, k) - r.hi(1, k)) / denom;
                if (ys - yb >= 0.f) {
                    ys = yb;
                    r.yi(2, k) = ys;
                    s1 = fc1 / ys;
                }
                ht1 = htw;
            }
        }
        if (parabolic) {
            lin = 0;
            r.yi(2, k) = std::min(r.yi(2, k), (r.hi(2, k) - r.hi(1, k) + 1.f));
            s.mfac.fsecv(k) = -1.f;
        }
    }

    // Heights of the 50 profile points.
    float *htr = r.htr.data();
    float *fnsq = r.fnsq.data();
    constexpr float kHd = 70.f; // LECDEN: bottom of the D region, km
    const float hex = r.hi(1, k) - kTail * r.yi(1, k);
    const float fnx = 1.f - kTail * kTail;
    const float alp = 2.f * (r.hi(1, k) - hex) / (fnx * r.yi(1, k) * r.yi(1, k));
    const float fsq = fnx * std::exp(-alp * (hex - kHd));
    htr[0] = kHd;
    htr[4] = hex;
    float hdif = (htr[4] - htr[0]) * .25f;
    hdif = std::max(0.f, hdif);
    htr[3] = htr[4] - std::min(1.0f, hdif);
    htr[1] = htr[0] + hdif;
    htr[2] = (htr[1] + htr[3]) * 0.5f;
    htr[10] = r.hi(1, k);
    hdif = (htr[10] - htr[4]) / 6.f;
    for (int ih = 6; ih <= 10; ++ih) htr[ih - 1] = htr[ih - 2] + hdif;
    htr[16] = r.hi(1, k) + r.yi(1, k);
    hdif = (htr[16] - htr[10]) / 6.f;
    for (int ih = 12; ih <= 16; ++ih) htr[ih - 1] = htr[ih - 2] + hdif;
    htr[10] = 0.5f * (htr[9] + htr[11]);
    htr[49] = r.hi(3, k);
    const bool withF1 = r.fi(2, k) > 0.f && hb2 - (r.hi(2, k) - r.yi(2, k) + .00001f) > 0.f;
    if (!withF1) {
        htr[17] = r.hi(3, k) - r.yi(3, k);
        hdif = (htr[49] - htr[17]) / 32.f;
        for (int ih = 19; ih <= 49; ++ih) htr[ih - 1] = htr[ih - 2] + hdif;
    } else {
        htr[17] = r.hi(2, k) - r.yi(2, k);
        htr[17] = std::max(htr[17], htr[16] + 1.f);
        htr[27] = r.hi(2, k);
        hdif = (htr[27] - htr[17]) / 10.f;
        for (int ih = 19; ih <= 27; ++ih) htr[ih - 1] = htr[ih - 2] + hdif;
        hdif = (htr[49] - htr[27]) / 22.f;
        for (int ih = 29; ih <= 49; ++ih) htr[ih - 1] = htr[ih - 2] + hdif;
    }

    // Plasma frequency squared: the largest of the D-E tail, parabolic E,
    // linear valley, F1 and parabolic F2 at each height.
    const float hb1 = std::max(r.hi(1, k), (r.hi(2, k) - r.yi(2, k)));
    for (int ih = 0; ih < 50; ++ih) {
        float fnd = 0.f, fne = 0.f, fn1 = 0.f, fn2 = 0.f, fnval = 0.f;
        const float h = htr[ih];
        if (h - hlow > 0.f && h - hup < 0.f) fnval = fup + asp * (h - hup);
        if (h - hex < 0.f) {
            fnd = fce * fsq * std::exp(alp * (h - kHd));
        } else if (h - hte <= 0.f) {
            const float z = (h - r.hi(1, k)) / r.yi(1, k);
            fne = fce * (1.f - z * z);
        }
        if (r.fi(2, k) > 0.f && hb1 - h <= 0.f && h - ht1 <= 0.f) {
            if (lin <= 0) {
                const float z = (h - r.hi(2, k)) / r.yi(2, k);
                fn1 = fc1 * (1.0f - z * z);
            } else {
                fn1 = s1 * (h - (r.hi(2, k) - r.yi(2, k)));
            }
        }
        if (hb2 - h <= 0.f) {
            const float z = (h - r.hi(3, k)) / r.yi(3, k);
            fn2 = fc2 * (1.0f - z * z);
        }
        fnsq[ih] = std::max({fnd, fne, fnval, fn1, fn2});
    }
}

namespace {

// GENION: true and virtual heights of a default E layer (peak 110 km,
// semithickness 20 km), the result GETHP gives for it.
constexpr float kDefaultETrue[10] = {70.00f, 84.51f, 88.52f, 93.00f, 94.26f, 95.71f, 97.68f, 100.27f, 104.22f, 107.19f};
constexpr float kDefaultEVirtual[10] = {70.00f,  87.40f,  94.00f,  98.68f,  100.20f,
                                        102.65f, 107.15f, 113.74f, 125.25f, 140.03f};

// GENION: the 30 sounding frequencies: the D-E tail, the E nose, the E-F
// cusp, F1 when present, and the F2 nose.
void SetSoundingFrequencies(TControlPoints &r, int k) {
    auto fv = [&](int i) -> float & { return r.fvert(i, k); };
    const float fex = r.fi(1, k) * std::sqrt(1.f - kTail * kTail);
    fv(1) = .01f;
    fv(4) = fex;
    float fdif = (fv(4) - fv(1)) / 3.f;
    fv(2) = fv(1) + fdif;
    fv(3) = fv(2) + fdif;
    fv(9) = .957f * r.fi(1, k);
    fv(10) = 0.99f * r.fi(1, k);
    fdif = (fv(9) - fv(4)) / 5.f;
    for (int i = 5; i <= 8; ++i) fv(i) = fv(i - 1) + fdif;
    fv(11) = 1.05f * r.fi(1, k);
    fv(30) = 0.99f * r.fi(3, k);
    fv(29) = 0.98f * r.fi(3, k);
    fv(28) = 0.96f * r.fi(3, k);
    fv(27) = 0.92f * r.fi(3, k);
    if (r.fi(2, k) <= 0.f) {
        fdif = (fv(27) - fv(11)) / 16.f;
        for (int i = 12; i <= 26; ++i) fv(i) = fv(i - 1) + fdif;
        return;
    }
    fv(20) = 0.99f * r.fi(2, k);
    fdif = (fv(20) - fv(11)) / 9.f;
    for (int i = 12; i <= 19; ++i) fv(i) = fv(i - 1) + fdif;
    fv(21) = 1.01f * r.fi(2, k);
    fdif = (fv(27) - fv(21)) / 6.f;
    for (int i = 22; i <= 26; ++i) fv(i) = fv(i - 1) + fdif;
}

} // namespace

namespace {

TIonogramMemo::TKey IonogramKey(const TModelState &s, int k) {
    // Every member is 4 bytes wide: the key has no padding to compare.
    static_assert(sizeof(TIonogramMemo::TKey) == (9 + 1 + 50 + 50) * 4 + sizeof(TIntegrationWeights));
    TIonogramMemo::TKey key;
    const TControlPoints &r = s.ron;
    for (int i = 1; i <= 3; ++i) {
        key.layers[i - 1] = r.fi(i, k);
        key.layers[i + 2] = r.yi(i, k);
        key.layers[i + 5] = r.hi(i, k);
    }
    key.iedp = s.mfac.iedp;
    std::memcpy(key.htr, r.htr.data(), sizeof key.htr);
    std::memcpy(key.fnsq, r.fnsq.data(), sizeof key.fnsq);
    key.datr = s.datr;
    return key;
}

std::size_t IonogramSet(const TIonogramMemo::TKey &key) {
    uint32_t words[10];
    std::memcpy(words, key.layers, sizeof key.layers);
    words[9] = uint32_t(key.iedp);
    uint64_t hash = 14695981039346656037ull;
    for (uint32_t w : words) hash = (hash ^ w) * 1099511628211ull;
    return std::size_t(hash ^ (hash >> 32)) % TIonogramMemo::kSets;
}

void BuildIonogramAnew(TModelState &s, int k);

} // namespace

// GENION, or the heights it gave before for the same inputs.
void BuildIonogram(TModelState &s, int k) {
    TIonogramMemo &memo = s.ionograms;
    const TIonogramMemo::TKey key = IonogramKey(s, k);
    const std::size_t set = IonogramSet(key);
    constexpr std::size_t kWays = TIonogramMemo::kWays;
    if (memo.entries.empty()) memo.entries.resize(kWays * TIonogramMemo::kSets);
    TControlPoints &r = s.ron;
    for (std::size_t way = 0; way < kWays; ++way) {
        const TIonogramMemo::TEntry &e = memo.entries[kWays * set + way];
        if (e.used && std::memcmp(&e.key, &key, sizeof key) == 0) {
            std::memcpy(&r.fvert(1, k), e.fvert, sizeof e.fvert);
            std::memcpy(&r.htrue(1, k), e.htrue, sizeof e.htrue);
            std::memcpy(&r.hprim(1, k), e.hprim, sizeof e.hprim);
            return;
        }
    }
    BuildIonogramAnew(s, k);
    const std::size_t way = memo.oldest[set];
    TIonogramMemo::TEntry &e = memo.entries[kWays * set + way];
    e.key = key;
    e.used = true;
    std::memcpy(e.fvert, &r.fvert(1, k), sizeof e.fvert);
    std::memcpy(e.htrue, &r.htrue(1, k), sizeof e.htrue);
    std::memcpy(e.hprim, &r.hprim(1, k), sizeof e.hprim);
    memo.oldest[set] = uint8_t((way + 1) % kWays);
}

namespace {

// GENION
void BuildIonogramAnew(TModelState &s, int k) {
    TControlPoints &r = s.ron;
    SetSoundingFrequencies(r, k);
    float hpx = 0.f, htx = 0.f;
    const TProfileFacts facts = ProfileFacts(r, true);
    if (s.mfac.iedp < 0) {
        for (int i = 1; i <= 30; ++i) {
            VirtualAndTrueHeightOn(s, facts, r.fvert(i, k), hpx, htx);
            r.hprim(i, k) = hpx;
            r.htrue(i, k) = htx;
        }
        return;
    }
    // The faster form (INTEGRATE card): a default E layer, true heights by
    // table look-up and, without F1, parabolic bending and retardation.
    for (int i = 1; i <= 10; ++i) {
        r.htrue(i, k) = kDefaultETrue[i - 1];
        r.hprim(i, k) = kDefaultEVirtual[i - 1];
    }
    for (int i = 11; i <= 30; ++i) {
        const float fn = r.fvert(i, k) * r.fvert(i, k);
        r.htrue(i, k) = InterpolateTable(fn, r.fnsq.data(), r.htr.data(), 50, 1);
    }
    for (int i = 11; i <= 30; ++i) {
        const float fn = r.fvert(i, k);
        if (r.fi(2, k) <= 0.f) {
            r.hprim(i, k) = r.hi(3, k) - r.yi(3, k) + LayerBending(s, 3, k, fn) +
                            (LayerRetardation(s, 1, k, fn) - 2.f * r.yi(1, k));
        } else {
            VirtualAndTrueHeightOn(s, facts, fn, hpx, htx);
            r.hprim(i, k) = hpx;
        }
    }
}

} // namespace

} // namespace vx::model
