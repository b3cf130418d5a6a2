#include "model/Noise.h"

#include "model/Antenna.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vx::model {

namespace {

// Spread factors of a log-normal power with decile d dB (GENOIS, after ITS
// Report 87-212): with sigma = d / 1.282 in nepers of 4.34294 dB,
// kHalfSpread = sqrt(2) * 1.282 * 4.34294, kSpread = (1.282 * 4.34294)^2 and
// kDecile = 1.282 * 4.34294, kept to the digits the reference uses.
constexpr float kHalfSpread = 7.87384f;
constexpr float kSpread = 30.99872f;
constexpr float kDecile = 5.56765f;
constexpr float kDbPerNeper = 4.34294f;
// 1 / 4.34294 as GENOIS writes it.
constexpr float kNeperPerDb = 0.23026f;
// dB above kTb to dBW in 1 Hz.
constexpr float kKtb = 204.f;

// Man-made noise of the environment indices 1..4 (industrial, residential,
// rural, remote): Fam at 1 MHz and its slope per decade (GENOIS, as
// ITU-R P.372). The reference keeps two more (noisy, quiet) that an index
// never reaches since the index is capped at 4.
constexpr float kManMadeAt1MHz[4] = {76.8f, 72.5f, 67.2f, 53.6f};
constexpr float kManMadeSlope[4] = {27.7f, 27.7f, 27.7f, 28.6f};

// Longitude and latitude half-angle factors of NOISY (pi/360, pi/180).
constexpr float kHalfDegree = .0087266466f;
constexpr float kDegree = .01745329252f;

float Square(float x) { return x * x; }

// One noise source as a log-normal power: its mean and variance above and
// below the median, in units of kTb (GENOIS keeps them in double).
struct TPowerMoments {
    double meanUpper{};
    double varUpper{};
    double meanLower{};
    double varLower{};
};

// GENOIS: the moments of a source of median fa dB above kTb with deciles
// du above and dl below. The exponentials are single precision, as there.
TPowerMoments PowerMoments(float fa, float du, float dl) {
    TPowerMoments m;
    m.meanUpper = double(std::exp(Square(du / kHalfSpread) + fa / kDbPerNeper));
    m.varUpper = m.meanUpper * m.meanUpper * double(std::exp(du * du / kSpread) - 1.f);
    m.meanLower = double(std::exp(Square(dl / kHalfSpread) + fa / kDbPerNeper));
    m.varLower = m.meanLower * m.meanLower * double(std::exp(dl * dl / kSpread) - 1.f);
    return m;
}

// The statistics of one source the combination needs: median (dB above kTb),
// deciles and their prediction errors.
struct TSource {
    float fa{};
    float du{};
    float dl{};
    float sm{}; // error of the median
    float su{}; // error of the upper decile
    float sl{}; // error of the lower decile
};

// GENOIS: the atmospheric source at the receiver's local time, interpolated
// between the two time blocks ANOIS1 chose; fixed figures without maps.
TSource AtmosphericSource(const TModelState &s, float freq) {
    if (s.two.f2d(1, 1, 1) < 0.f) return {0.f, 9.f, 7.f, 3.f, 1.5f, 1.5f};
    const TNoiseState &n = s.anois;
    const TAtmosphericNoiseAtFrequency a = AtmosphericNoiseAtFrequency(s, s.don.rlat, n.kj, freq, n.atnu);
    const TAtmosphericNoiseAtFrequency b = AtmosphericNoiseAtFrequency(s, s.don.rlat, n.jk, freq, n.atny);
    const float slope = std::abs(n.cc - n.tm) / 4.f;
    TSource src;
    src.fa = a.fa + (b.fa - a.fa) * slope;
    src.du = a.du + (b.du - a.du) * slope;
    src.dl = a.dl + (b.dl - a.dl) * slope;
    src.sm = a.sigm + (b.sigm - a.sigm) * slope;
    src.su = a.sigu + (b.sigu - a.sigu) * slope;
    src.sl = a.sigl + (b.sigl - a.sigl) * slope;
    return src;
}

// GENOIS: man-made noise at freq from s.ion.noise, which is either the
// level at 3 MHz in dBW below 1 W (> 0) or an environment index (<= 0; 0 is
// the remote environment). Sets s.ton.znoise, the 3 MHz level in dBW below
// 1 W, and returns Fam at freq.
float ManMadeNoise(TModelState &s, float freq) {
    const int man = s.ion.noise;
    s.ton.znoise = float(man);
    if (man > 0) return 204.f - float(man) + 13.22f - 27.7f * std::log10(freq);
    const int index = man == 0 ? 4 : std::min(4, std::abs(man));
    const float at1 = kManMadeAt1MHz[index - 1];
    const float slope = kManMadeSlope[index - 1];
    s.ton.znoise = 204.f - at1 + slope * std::log10(3.f);
    return at1 - slope * std::log10(freq);
}

// GENOIS: prediction error of the combined upper (or lower) decile d from
// the sources' deciles, errors and shares q of the combined median.
float DecileError(float d, const float q[3], const float dSource[3], const float sDecile[3], const float sMedian[3]) {
    float sum = 0.f;
    for (int i = 0; i < 3; ++i) {
        const float pv = q[i] * std::exp((dSource[i] - d) * kNeperPerDb);
        sum += Square(pv * sDecile[i]) + Square((pv - q[i]) * sMedian[i]);
    }
    return std::sqrt(sum);
}

} // namespace

// NOISY
void NoiseAtLocation(TModelState &s, int kj, float xla, float ceg, float &anos) {
    const auto &p = s.two.p;
    // The F2 ratio map (8) is a shorter series than the others.
    const int latitudeTerms = kj == 8 ? 15 : 29;
    const int longitudeTerms = kj == 8 ? 10 : 15;

    // sin(k q) for k = 1.. by the angle-sum recurrence, q half the longitude.
    float q = kHalfDegree * ceg;
    float c1 = std::cos(q);
    float s1 = std::sin(q);
    float sines[15];
    sines[0] = s1;
    float cx = c1;
    for (int k = 2; k <= longitudeTerms; ++k) {
        const float tx = sines[k - 2];
        sines[k - 1] = tx * c1 + cx * s1;
        cx = cx * c1 - tx * s1;
    }
    // Each latitude term sums its longitude terms in order k = 1, 2, ...;
    // the loop over the terms runs inside so that it runs down a column.
    float byLatitude[29] = {};
    for (int k = 1; k <= longitudeTerms; ++k) {
        const float sk = sines[k - 1];
        const float *column = &p(1, k, kj);
        for (int j = 0; j < latitudeTerms; ++j) byLatitude[j] = byLatitude[j] + sk * column[j];
    }
    const float *constants = &p(1, 16, kj);
    for (int j = 0; j < latitudeTerms; ++j) byLatitude[j] = byLatitude[j] + constants[j];

    // sin(k q) again, q the colatitude from the south pole.
    q = kDegree * (xla + 90.f);
    s1 = std::sin(q);
    c1 = std::cos(q);
    float sine = s1;
    cx = c1;
    float r = 0.f;
    for (int k = 1; k <= latitudeTerms; ++k) {
        r = r + sine * byLatitude[k - 1];
        const float next = sine * c1 + cx * s1;
        cx = cx * c1 - sine * s1;
        sine = next;
    }
    anos = r + s.two.abp(1, kj) + s.two.abp(2, kj) * q;
}

// ANOIS1
void AtmosphericNoiseAtHour(TModelState &s) {
    TNoiseState &n = s.anois;
    if (s.two.f2d(1, 1, 1) <= 0.f) {
        n.atnu = 0.f;
        n.atny = 0.f;
        return;
    }
    // The block holding the local time (1: 00-04 h ... 6: 20-24 h) and the
    // neighbouring block on the side of the local time from its middle.
    n.cc = s.time.gmtr;
    n.kj = n.cc < 22.f ? int(n.cc / 4.f + 1.f) : 6;
    n.tm = float(4 * n.kj - 2);
    n.jk = n.cc < n.tm ? n.kj - 1 : (n.cc > n.tm ? n.kj + 1 : n.kj);
    if (n.jk <= 0)
        n.jk = 6;
    else if (n.jk > 6)
        n.jk = 1;

    const TCircuit &d = s.don;
    const float ceg = d.rlong < 0.f ? 360.f + d.rlong * s.con.r2d : d.rlongd;
    const float xla = d.rlat * s.con.r2d;
    NoiseAtLocation(s, n.kj, xla, ceg, n.atnu);
    NoiseAtLocation(s, n.jk, xla, ceg, n.atny);
}

// GENFAM
TAtmosphericNoiseAtFrequency AtmosphericNoiseAtFrequency(const TModelState &s, float lat, int iblk, float freq,
                                                         float z) {
    const auto &fam = s.two.fam;
    const int ibk = lat < 0.f ? iblk + 6 : iblk;

    // Two polynomials in u evaluated together, first at u = -0.75 (1 MHz)
    // to place z on the family of curves, then at the frequency.
    float x = std::log10(freq);
    const float u = (8.f * std::pow(2.f, x) - 11.f) / 4.f;
    auto curves = [&](float u1, float &pz, float &px) {
        pz = u1 * fam(1, ibk) + fam(2, ibk);
        px = u1 * fam(8, ibk) + fam(9, ibk);
        for (int i = 3; i <= 7; ++i) {
            pz = u1 * pz + fam(i, ibk);
            px = u1 * px + fam(i + 7, ibk);
        }
    };
    float pz = 0.f;
    float px = 0.f;
    curves(-.75f, pz, px);
    float cz = z * pz + px;
    cz = z + z - cz;
    curves(u, pz, px);

    TAtmosphericNoiseAtFrequency out;
    out.fa = cz * pz + px;

    // The decile curves of CCIR Report 322 end at 20 MHz, that of the error
    // of Fam at 10 MHz (GENFAM).
    if (freq > 20.f) x = std::log10(20.f);
    float v[5];
    for (int i = 1; i <= 5; ++i) {
        if (i == 5 && freq > 10.f) x = 1.f;
        float y = s.two.dud(1, ibk, i);
        for (int j = 2; j <= 5; ++j) y = y * x + s.two.dud(j, ibk, i);
        v[i - 1] = y;
    }
    out.du = v[0];
    out.dl = v[1];
    out.sigu = v[2];
    out.sigl = v[3];
    out.sigm = v[4];
    return out;
}

// GENOIS (the part before and after its call of GAIN)
void CombineNoise(TModelState &s) {
    const float freq = s.frq.freq;
    // The noise curves end at 55 MHz.
    const TSource atm = AtmosphericSource(s, std::min(freq, 55.f));

    TSource gal{52.f - 23.f * std::log10(freq), 2.f, 2.f, .5f, .2f, .2f};
    s.c_noise.mode_n2 = 1;
    TPowerMoments galMoments = PowerMoments(gal.fa, gal.du, gal.dl);
    // Galactic noise does not come through an ionosphere that reflects it.
    if (freq <= s.ron.fi(3, s.ron.kfx)) {
        s.c_noise.mode_n2 = 0;
        gal.fa = 0.f;
        galMoments = {};
    }

    const TSource man{ManMadeNoise(s, freq), 9.7f, 6.f, 5.4f, 1.5f, 1.5f};

    const TPowerMoments atmMoments = PowerMoments(atm.fa, atm.du, atm.dl);
    const TPowerMoments manMoments = PowerMoments(man.fa, man.du, man.dl);
    const double varUpper = atmMoments.varUpper + galMoments.varUpper + manMoments.varUpper;
    const double varLower = atmMoments.varLower + galMoments.varLower + manMoments.varLower;
    const double meanUpper = atmMoments.meanUpper + galMoments.meanUpper + manMoments.meanUpper;
    const double meanLower = atmMoments.meanLower + galMoments.meanLower + manMoments.meanLower;

    // From here in dBW (1 Hz).
    const float atnos = atm.fa - kKtb;
    const float gnos = gal.fa - kKtb;
    const float xnois = man.fa - kKtb;
    s.c_noises.xn_atnos = atnos;
    s.c_noises.xn_galactic = gnos;
    s.c_noises.xn_mmn = xnois;
    s.ton.gnos = gnos;
    s.ton.xnoise = xnois;
    const float powerSum =
        kDbPerNeper * std::log(std::pow(10.f, atnos * .1f) + std::pow(10.f, gnos * .1f) + std::pow(10.f, xnois * .1f));

    double sigmaSqUpper = std::log(1.0 + varUpper / (meanUpper * meanUpper));
    double sigmaSqLower = std::log(1.0 + varLower / (meanLower * meanLower));
    s.c_method_used.method_used = 2;
    // Wide atmospheric deciles: the log-normal sum may put the median above
    // the plain power sum; the spread is then limited so that it does not
    // (GENOIS, the modification submitted for ITU-R P.372-8, 2007).
    if (!(atm.du <= 12.f && atm.dl <= 12.f)) {
        const double sum = double(powerSum) + 204.0;
        const double limitUpper = 2.0 * (std::log(meanUpper) - sum / 4.34294);
        const double limitLower = 2.0 * (std::log(meanLower) - sum / 4.34294);
        if (sigmaSqUpper > limitUpper && limitUpper > 0.0) {
            s.c_method_used.method_used = 1;
            sigmaSqUpper = limitUpper;
        }
        if (sigmaSqLower > limitLower && limitLower > 0.0) {
            s.c_method_used.method_used = 1;
            sigmaSqLower = limitLower;
        }
    }

    TNoiseState &n = s.anois;
    const float median = float(double(kDbPerNeper) * (std::log(meanUpper) - sigmaSqUpper / 2.0) - 204.0);
    n.du = float(double(kDecile) * std::sqrt(sigmaSqUpper));
    n.dl = float(double(kDecile) * std::sqrt(sigmaSqLower));

    // Each source's share of the combined median.
    const float q[3] = {std::pow(10.f, (atnos - median) * .1f),
                        s.c_noise.mode_n2 == 0 ? 0.f : std::pow(10.f, (gnos - median) * .1f),
                        std::pow(10.f, (xnois - median) * .1f)};
    const float sMedian[3] = {atm.sm, gal.sm, man.sm};
    n.sigm = std::sqrt(Square(q[0] * sMedian[0]) + Square(q[1] * sMedian[1]) + Square(q[2] * sMedian[2]));
    const float duSource[3] = {atm.du, gal.du, man.du};
    const float suSource[3] = {atm.su, gal.su, man.su};
    n.sxgu = DecileError(n.du, q, duSource, suSource, sMedian);
    const float dlSource[3] = {atm.dl, gal.dl, man.dl};
    const float slSource[3] = {atm.sl, gal.sl, man.sl};
    n.sxgl = DecileError(n.dl, q, dlSource, slSource, sMedian);

    n.rcnse = median;
}

// GENOIS
void ComputeNoise(TModelState &s) {
    CombineNoise(s);
    // The receiving antenna's efficiency at the frequency, for every mode.
    float gain = 0.f;
    float efficiency = 0.f;
    AntennaGain(s, 2, 0.f, s.frq.freq, gain, efficiency);
    for (int mode = 1; mode <= 6; ++mode) s.zon.eff(mode) = efficiency;
}

} // namespace vx::model
