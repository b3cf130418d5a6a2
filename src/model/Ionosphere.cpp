// The month's maps evaluated at the control points for one hour: E, F1, F2
// and sporadic E layers, and their consistency across the control points.
#include "model/Ionosphere.h"

#include "model/Geometry.h"
#include "model/Noise.h"

#include <algorithm>
#include <cmath>

namespace vx::model {

namespace {

// VIRTIM/VERSY: where each of the six maps starts in the time-evaluated
// table s.two_ab.ab (Es lower, median, upper; F2 foF2, M(3000); E).
constexpr int kMapStart[6] = {1, 56, 117, 172, 248, 297};

// VIRTIM reads the six coefficient tables of /ONE/ as one run of 2604
// values; this is where 1-based position i of that run lies. A map's
// coefficients for one term never cross from one table into the next.
const float *CoefficientAt(const TCoefficients &one, int i) {
    const int sizes[6] = {275, 427, 275, 988, 441, 198};
    const float *tables[6] = {one.eslcof.data(), one.esmcof.data(), one.esucof.data(),
                              one.f2cof.data(),  one.fm3cof.data(), one.ercof.data()};
    int offset = i - 1;
    for (int t = 0; t < 5; ++t) {
        if (offset < sizes[t]) return tables[t] + offset;
        offset -= sizes[t];
    }
    return tables[5] + offset;
}

} // namespace

// VIRTIM
void PrepareVirtualHeights(TModelState &s) {
    const float time = (15.f * s.time.gmt - 180.f) * s.con.d2r;
    float c[8], sn[8];
    c[0] = std::cos(time);
    sn[0] = std::sin(time);
    for (int jb = 1; jb < 8; ++jb) {
        c[jb] = c[0] * c[jb - 1] - sn[0] * sn[jb - 1];
        sn[jb] = c[0] * sn[jb - 1] + sn[0] * c[jb - 1];
    }
    const TCoefficients &one = s.one;
    float *ab = s.two_ab.ab.data();
    for (int iz = 1; iz <= 6; ++iz) {
        const int harmonics = one.ikim(10, iz);
        const int terms = one.ikim(9, iz) + 1;
        for (int jb = 1; jb <= terms; ++jb) {
            const float *term = CoefficientAt(one, one.ia(iz) + (jb - 1) * one.ib(iz));
            float value = term[0];
            for (int ka = 1; ka <= harmonics; ++ka)
                value = value + sn[ka - 1] * term[2 * ka - 1] + c[ka - 1] * term[2 * ka];
            ab[kMapStart[iz - 1] + jb - 2] = value;
        }
    }
}

// VERSY
void EvaluateMaps(TModelState &s, int kik, int lik, int ii) {
    const float c360 = 360.f * s.con.d2r;
    const float cenlg = s.ron.clong(ii);
    const float cenlat = s.ron.clat(ii);
    const float clg = cenlg < 0.f ? c360 + cenlg : cenlg;
    const float gob = std::cos(cenlat);
    const TTable<int32_t, 10, 6> &ikim = s.one.ikim;
    const float *ab = s.two_ab.ab.data();
    // The reference keeps the geographic functions in double precision.
    // The maps of one call share their arguments (the dip, or the latitude
    // for map 6, and multiples of the longitude), so each sine and cosine
    // is taken once and kept for the next map.
    double g[77];
    double sineOfDip = 0., cosT[9] = {}, sinT[9] = {};
    bool haveSineOfDip = false, haveT[9] = {};
    for (int iz = kik; iz <= lik; ++iz) {
        const double x = iz == 6 ? double(cenlat) : double(s.geog.gmdip(ii));
        const float y = clg;
        const int terms = ikim(9, iz) + 1;
        const int k = ikim(1, iz);
        double sx;
        if (iz == 6) {
            sx = std::sin(x);
        } else {
            if (!haveSineOfDip) sineOfDip = std::sin(x), haveSineOfDip = true;
            sx = sineOfDip;
        }
        g[1] = 1.;
        g[2] = sx;
        for (int ka = 2; ka <= k; ++ka) g[ka + 1] = sx * g[ka];
        int kdif = ikim(2, iz) - k;
        if (kdif != 0) {
            int jg = 1;
            double cx = gob;
            double t = y;
            for (;;) {
                const int kk = ikim(jg, iz) + 4;
                if (!haveT[jg]) cosT[jg] = std::cos(t), sinT[jg] = std::sin(t), haveT[jg] = true;
                g[kk - 2] = cx * cosT[jg];
                g[kk - 1] = cx * sinT[jg];
                const int lo = ikim(jg + 1, iz);
                if (kdif != 2 && lo >= kk) {
                    for (int ka = kk; ka <= lo; ka += 2) {
                        g[ka] = sx * g[ka - 2];
                        g[ka + 1] = sx * g[ka - 1];
                    }
                }
                if (jg == 8) break;
                kdif = ikim(jg + 2, iz) - lo;
                if (kdif == 0) break;
                cx = cx * gob;
                jg = jg + 1;
                t = float(jg) * y;
            }
        }
        const int start = kMapStart[iz - 1];
        float gamma = float(g[1] * ab[start - 1]);
        for (int jb = 2; jb <= terms; ++jb) gamma = float(gamma + ab[start + jb - 2] * g[jb]);
        s.a11.gamma(iz) = gamma;
    }
}

// EF1VAR
void EAndF1Layers(TModelState &s, float cycen, int ii) {
    // EF1VAR: heights of maximum over semithickness of E and F1.
    constexpr float kBetaE = 5.5f;
    constexpr float kBetaF1 = 4.0f;
    const float ssn = s.don.ssn;
    TControlPoints &r = s.ron;
    const TF1Coefficients &f1 = s.fone;
    EvaluateMaps(s, 6, 6, ii);
    if (s.a11.gamma(6) - 0.36f < 0.f) s.a11.gamma(6) = 0.36f * std::sqrt(1.f + 0.0098f * ssn);
    r.fi(1, ii) = s.a11.gamma(6) * s.psca.psc(1);
    r.hi(1, ii) = 110.f;
    r.yi(1, ii) = r.hi(1, ii) / kBetaE;
    cycen = std::fabs(cycen);
    const float z = cycen * s.con.r2d;
    const float cosz = std::cos(cycen);
    const float cosdi = std::cos(s.geog.gmdip(ii));
    const float zmax = f1.achi(1) + f1.bchi(1) * ssn + (f1.achi(2) + f1.bchi(2) * ssn) * cosdi;
    s.mfac.zenmax(ii) = zmax;
    s.mfac.zenang(ii) = z;
    if (z <= zmax) {
        const float fc = (f1.anew(1) + f1.bnew(1) * ssn) + (f1.anew(2) + f1.bnew(2) * ssn) * cosz +
                         (f1.anew(3) + f1.bnew(3) * ssn) * cosz * cosz;
        r.fi(2, ii) = fc * s.psca.psc(2);
        r.hi(2, ii) = 165.f + 0.6428f * z;
        r.yi(2, ii) = r.hi(2, ii) / kBetaF1;
    } else {
        r.fi(2, ii) = 0.0f;
        r.hi(2, ii) = 0.0f;
        r.yi(2, ii) = 0.0f;
    }
}

// TIMVAR
void ApplyTimeVariation(TModelState &s) {
    const TConstants &c = s.con;
    TControlPoints &r = s.ron;
    const int month = s.ssp.month;
    const float ssl = (180.f - 15.f * s.time.gmt) * c.d2r;
    for (int ii = 1; ii <= r.km; ++ii) {
        const float cenlg = r.clong(ii);
        const float cenlat = r.clat(ii);
        const float cendog = std::fabs(cenlat - c.d2r * s.ssp.sun(1, month));
        float ssp = s.ssp.sun(2, month) * c.d2r;
        const float cencat = std::fabs(cenlat - ssp);
        if (cendog - cencat > 0.f) ssp = s.ssp.sun(1, month) * c.d2r;
        float clock = s.time.gmt + cenlg / .261799387f;
        if (24.f - clock < 0.f) {
            clock = clock - 24.f;
        } else if (clock <= 0.f) {
            clock = clock + 24.f;
        }
        s.geog.clck(ii) = clock;
        float z = cenlg - ssl;
        float cycen = std::sin(cenlat) * std::sin(ssp) + std::cos(cenlat) * std::cos(ssp) * std::cos(z);
        cycen = std::acos(cycen);
        EAndF1Layers(s, cycen, ii);
        const float gm = std::fabs(r.glat(ii)) * c.r2d - 45.f;
        z = cycen * c.r2d;
        if (clock - 12.0f < 0.f) z = -z;
        z = z + 180.0f;
        float ym = 0.f;
        NoiseAtLocation(s, 8, gm, z, ym);
        if (ym - 2.0f < 0.f) ym = 2.0f;
        s.geog.rat(ii) = ym;
        s.geog.abiy(ii) = -.04f + std::exp(-2.937f + .8445f * r.fi(1, ii));
    }
}

// F2VAR
void ApplyF2Variation(TModelState &s) {
    constexpr float kF1Floor = 1.1f; // F2VAR: least ratio of F2 to F1 critical
    constexpr float kTwilight = 2.f; // F2VAR: degrees below the F1 cut-off angle
    TControlPoints &r = s.ron;
    TLayerFactors &m = s.mfac;
    for (int ii = 1; ii <= r.km; ++ii) {
        EvaluateMaps(s, 4, 5, ii);
        m.f2m3(ii) = s.a11.gamma(5);
        m.hpf2(ii) = 1490.f / s.a11.gamma(5) - 176.f;
        r.fi(3, ii) = (s.a11.gamma(4) + 0.5f * s.geog.gyz(ii)) * s.psca.psc(3);
        const float zmax = m.zenmax(ii);
        const float z = m.zenang(ii);
        r.fi(2, ii) = std::min(r.fi(2, ii), r.fi(3, ii) - .2f);
        const float fc = 0.834f * r.fi(3, ii);
        const float ec = r.fi(1, ii);
        float fcec = fc / ec;
        fcec = std::max(fcec, 1.1f);
        float ret = fcec * std::log((fcec + 1.f) / (fcec - 1.f));
        ret = (ret - 2.f) * r.yi(1, ii);
        const float fc1 = r.fi(2, ii);
        if (fc1 > 0.f) {
            float ffec = std::max(fc / fc1, kF1Floor);
            float rft;
            if (zmax - kTwilight - z >= 0.f) {
                rft = ffec * std::log((ffec + 1.f) / (ffec - 1.f));
                rft = .5f * r.yi(2, ii) * (rft - 2.f);
            } else {
                // Near the F1 cut-off: the F1 layer merges into F2 and its
                // retardation goes to zero (F2VAR).
                const float zn = zmax - kTwilight;
                const float hn = 165.f + .6428f * zn;
                const float yn = hn * (r.yi(2, ii) / r.hi(2, ii));
                float rfn = ffec * std::log((ffec + 1.f) / (ffec - 1.f));
                rfn = .5f * yn * (rfn - 2.f);
                const float sz = (z - zn) / kTwilight;
                rft = rfn * (1.f - sz);
                const float hm = m.hpf2(ii) - ret;
                const float ym = hm / s.geog.rat(ii);
                const float dhn = (hm - ym) - (hn - yn);
                if (dhn > 0.f) {
                    const float dh = dhn * (1.f - sz);
                    r.hi(2, ii) = (hm - ym) - dh + r.yi(2, ii);
                    if (fc1 - fc > 0.f) {
                        const float y1max = yn + (ym - yn) * (fc1 / r.fi(3, ii) - 0.834f) / 0.166f;
                        r.yi(2, ii) = yn + (y1max - yn) * sz;
                        r.hi(2, ii) = (hm - ym) - dh + r.yi(2, ii);
                    }
                }
            }
            ret = ret + rft;
        }
        r.hi(3, ii) = m.hpf2(ii) - ret;
        r.yi(3, ii) = r.hi(3, ii) / s.geog.rat(ii);
    }
}

// ESIND
void ApplySporadicE(TModelState &s) {
    for (int ii = 1; ii <= s.ron.km; ++ii) {
        s.es.hs(ii) = 110.f;
        EvaluateMaps(s, 1, 3, ii);
        s.es.fs(1, ii) = s.a11.gamma(3) * s.psca.psc(4);
        s.es.fs(2, ii) = s.a11.gamma(2) * s.psca.psc(4);
        s.es.fs(3, ii) = s.a11.gamma(1) * s.psca.psc(4);
    }
}

namespace {

// IONSET: copies layer i of control point from into slot to.
void CopyLayer(TControlPoints &r, int i, int to, int from) {
    r.fi(i, to) = r.fi(i, from);
    r.yi(i, to) = r.yi(i, from);
    r.hi(i, to) = r.hi(i, from);
}

} // namespace

// IONSET
void SetUpIonosphere(TModelState &s) {
    TControlPoints &r = s.ron;
    if (r.km <= 1) {
        r.kfx = 1;
    } else if (r.km <= 3) {
        r.kfx = 2;
        CopyLayer(r, 3, 1, 2);
        CopyLayer(r, 1, 2, 3);
        CopyLayer(r, 2, 2, 3);
    } else {
        r.kfx = 3;
        CopyLayer(r, 3, 1, 2);
        for (int i = 1; i <= 3; ++i) CopyLayer(r, i, 2, 3);
        CopyLayer(r, 1, 3, 5);
        CopyLayer(r, 2, 3, 5);
        CopyLayer(r, 3, 3, 4);
    }
    for (int k = 1; k <= r.kfx; ++k) {
        if (r.fi(2, k) > 0.f) {
            // IONSET: F1 within 0.2 MHz of E or of F2 is dropped.
            if (r.fi(2, k) - r.fi(1, k) - 0.2f <= 0.f || r.fi(3, k) - r.fi(2, k) - 0.2f <= 0.f) {
                r.fi(2, k) = 0.0f;
                r.yi(2, k) = 0.0f;
                r.hi(2, k) = 0.0f;
            } else {
                r.hi(2, k) = std::min(r.hi(2, k), r.hi(3, k));
            }
        }
        const float hdif = r.hi(3, k) - r.hi(1, k) - 2.f;
        r.yi(3, k) = std::min(r.yi(3, k), hdif);
    }
}

} // namespace vx::model
