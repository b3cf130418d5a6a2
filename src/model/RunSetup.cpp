#include "model/RunSetup.h"

#include "model/CardFields.h"
#include "model/Deck.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <string_view>

namespace vx::model {

namespace {

template <typename T, std::size_t N, typename Table>
void FillFrom(Table &table, const std::array<T, N> &values) {
    static_assert(N == Table::kSize, "one value per element");
    for (std::size_t k = 0; k < N; ++k) table.Flat(k + 1) = values[k];
}

// Abscissae and weights of the 40-point Gaussian integration (BLKDAT).
constexpr std::array<float, 20> kGaussAbscissae{
    0.0387724175f, 0.1160840707f, 0.1926975807f, 0.2681521850f, 0.3419940908f, 0.4137792043f, 0.4830758017f,
    0.5494671251f, 0.6125538897f, 0.6719566846f, 0.7273182552f, 0.7783056514f, 0.8246122308f, 0.8659595032f,
    0.9020988070f, 0.9328128083f, 0.9579168192f, 0.9772599500f, 0.9907262387f, 0.9982377097f};
constexpr std::array<float, 20> kGaussWeights{
    0.0775059480f, 0.0770398182f, 0.0761103619f, 0.0747231691f, 0.0728865824f, 0.0706116474f, 0.0679120458f,
    0.0648040135f, 0.0613062425f, 0.0574397691f, 0.0532278470f, 0.0486958076f, 0.0438709082f, 0.0387821680f,
    0.0334601953f, 0.0279370070f, 0.0222458492f, 0.0164210584f, 0.0104982845f, 0.0045212771f};

// Task and output option of each method, 1..40 (BLKDAT).
constexpr std::array<int32_t, 40> kMethodTask{1, 2, 3, 3, 3, 3, 4, 4, 4, 4, 4, 5, 6, 6, 6, 7, 7, 7, 7, 7,
                                              7, 7, 7, 7, 7, 8, 8, 8, 8, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr std::array<int32_t, 40> kMethodOutput{1, 2, 3, 4, 4, 4, 10, 4, 4, 4,  4, 5, 6, 6, 6, 7, 7, 7, 7, 7,
                                                7, 7, 7, 8, 9, 3, 4,  4, 4, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// Elevation angles of the ray scan, degrees (BLKDAT).
constexpr std::array<float, 40> kRayAngles{0.f,  0.5f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 8.0f, 10.0f,
                                           12.f, 14.f, 16.f, 18.f, 20.f, 22.f, 24.f, 26.f, 28.f, 30.f,
                                           32.f, 34.f, 36.f, 38.f, 40.f, 42.f, 44.f, 46.f, 48.f, 50.f,
                                           52.f, 54.f, 56.f, 60.f, 65.f, 70.f, 75.f, 80.f, 85.f, 89.99f};

// Sub-solar latitudes, two per month (BLKDAT).
constexpr std::array<float, 24> kSubsolarLatitudes{
    -23.05f, -17.31f, -17.30f, -7.89f, -7.88f, 4.21f,  4.26f,  14.83f,  14.84f,  21.93f,  21.93f,  23.45f,
    23.15f,  18.23f,  18.20f,  8.68f,  8.55f,  -2.86f, -2.90f, -14.16f, -14.20f, -21.68f, -21.66f, -23.45f};

constexpr std::array<const char *, 12> kMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<const char *, 11> kLineLabels{"  ANG", " EMUF", "ESMUF", "  FOT", "F1MUF", "F2MUF",
                                                   "  HPF", "  LUF", " MODE", "  MUF", "     "};
constexpr std::array<const char *, 5> kLayerNames{" E", "F1", "F2", "ES", " N"};

// BLKDAT: physical constants, as written there (single precision).
void SetConstants(TConstants &con) {
    con.rz = 6370.f;
    con.pi = 3.1415926f;
    con.vofl = 299.79246f;
    con.dcl = 1.28f;
    con.gama = 0.57721566f;
    con.pi2 = 6.283185307f;
    con.pio2 = 1.570796326f;
    con.d2r = .01745329251f;
    con.r2d = 57.295779513f;
}

// BLKDAT: texts of the output and of the preset circuit.
void SetLabels(TModelState &s) {
    for (int m = 1; m <= 12; ++m) s.alpha.imon(m) = kMonthNames[m - 1];
    s.alpha.itran(1) = "BOULDER, C";
    s.alpha.itran(2) = "OLORADO   ";
    s.alpha.ircvr(1) = "ST. LOUIS,";
    s.alpha.ircvr(2) = " MISSOURI ";
    s.alpha.itlat = "N";
    s.alpha.itlong = "W";
    s.alpha.irlat = "N";
    s.alpha.irlong = "W";
    s.alpha.nyear = "     ";
    for (int k = 1; k <= 11; ++k) s.outlab.label(k) = kLineLabels[k - 1];
    for (int k = 1; k <= 5; ++k) s.outlab.laytyp(k) = kLayerNames[k - 1];
    s.outlab.inorth = "N";
    s.outlab.ieast = "E";
    s.outlab.isouth = "S";
    s.outlab.iwest = "W";
}

// BLKDAT: the preset circuit, Boulder to St. Louis, with its geometry.
void SetPresetCircuit(TModelState &s) {
    TCircuit &d = s.don;
    d.tlatd = 40.03f;
    d.tlongd = 105.3f;
    d.rlatd = 38.67f;
    d.rlongd = 90.25f;
    d.tlat = .6986553f;
    d.tlong = -1.837308f;
    d.rlat = .6749188f;
    d.rlong = -1.57516f;
    d.gcdkm = 1301.1f;
    d.gcd = .204254f;
    d.btr = 1.60291f;
    d.btrd = 91.84f;
    d.brtd = 281.42f;
    d.alatd = 39.592f;
    d.flux = 1.f;
    d.dmp = 0.85f;
    d.ertr = 1.f;
    d.pmp = 10.f;
    d.pwr = 1.f;
    d.rsn = 1.f;
    d.sigtr = 1.f;
    d.ssn = 0.f;
    d.amind = 3.f;
    d.amin = .05236f;
    s.ion.npsl = 0;

    s.ron.rd(1) = .102127f;
    s.ron.glat(1) = .862245f;
    s.ron.clat(1) = .691011f;
    s.ron.clong(1) = -1.70495f;
    s.geog.gyz(1) = 1.358f;
    s.geog.gmdip(1) = .959931f;
    for (int k = 1; k <= 5; ++k) {
        s.geog.sigpat(k) = .001f;
        s.geog.epspat(k) = 4.f;
    }
    // FI, YI, HI (3, 5) as BLKDAT fills them, element by element.
    for (std::size_t k = 1; k <= 15; ++k) {
        s.ron.fi.Flat(k) = k <= 10 ? 0.f : 0.2f;
        s.ron.hi.Flat(k) = k <= 5 ? 110.f : (k <= 10 ? 0.f : 300.f);
        s.ron.yi.Flat(k) = k <= 5 ? 20.f : (k <= 10 ? 0.f : 100.f);
    }
    s.ron.km = 1;
    s.ron.kfx = 1;
}

// BLKDAT: run control, system and noise presets.
void SetRunPresets(TModelState &s) {
    TRunControl &c = s.contrl;
    c.ielect.Fill(0);
    c.icard = 0;
    c.kcard = 0;
    c.morem = 0;
    c.mores = 0;
    c.mapin = -1;
    c.monold = 0;
    c.integ = 1;
    c.iantou = 0;
    c.isout = 0;
    c.nuproc = 0;
    c.isproc = 0;
    c.issn = 0;
    c.numnam = 34;
    c.maxnam = 100;
    c.maxmet = 30;
    c.ired = 1;
    c.mspec = 0;
    c.m100 = 75;
    c.itype = 0;
    c.jlong = -1;
    c.jfreq = 0;
    c.krun = 0;

    FillFrom(s.metset.jtrun, kMethodTask);
    FillFrom(s.metset.jtout, kMethodOutput);
    s.metset.itrun = 0;
    s.metset.itout = 0;

    s.ion.ihro = 12;
    s.ion.ihre = 24;
    s.ion.ihrs = 12;
    s.ion.noise = -4;
    s.ion.method = -1;

    TSystem &t = s.ton;
    t.adj = 1.f;
    t.ads = 1.f;
    t.gnos = 1.f;
    t.got = 1.f;
    t.rel = .01f;
    t.sl = 1.f;
    t.sls = 1.f;
    t.spr = .01f;
    t.su = 1.f;
    t.sus = 1.f;
    t.xnoise = 1.f;
    t.znoise = -204.f;
    t.nf = 1;

    TNoiseState &n = s.anois;
    n.rcnse = -204.f;
    n.atnu = -204.f;
    n.atny = -204.f;
    n.cc = 1.f;
    n.tm = 1.f;
    n.du = 9.f;
    n.dl = 4.f;
    n.sigm = 1.5f;
    n.sxgl = 1.f;
    n.sxgu = 1.f;
    n.kj = 1;
    n.jk = 1;

    for (int k = 1; k <= 4; ++k) {
        s.psca.pscb(k) = k == 4 ? 0.7f : 1.f;
        s.psca.psc(k) = s.psca.pscb(k);
    }
    s.psca.ipsc = 0;

    s.lpath.gcdlng = 10000.f;
    s.lpath.delopt = 3.f;
    s.lpath.gmin = 3.f;
    s.lpath.ymin = .1f;
    s.lpath.ltxrgm(1) = 1;
    s.lpath.ltxrgm(2) = 1;

    s.outprt.lines = 55;
    s.outprt.lpages = 0;
    s.outprt.jout = 20;
    s.outprt.nline = 55;
    s.outprt.linmax = 55;
    s.outprt.linbyp = 0;
    s.outprt.lintyp = 0;

    s.time.itim = -1;
    s.time.it = 1;
    s.time.jtx = 1;
    s.ssp.month = 0;
    FillFrom(s.ssp.sun, kSubsolarLatitudes);
    s.frq.frel(14) = -1.f;
    s.allmode.nmmod = 1;
    s.allmode.nrel = 1;
    s.mfac.iedp = -1;
    s.inform.info = 0;
    s.ccoeff.coeff = "CCIR";
}

} // namespace

void InitialiseState(TModelState &s) {
    s = TModelState{};
    SetConstants(s.con);
    SetLabels(s);
    SetPresetCircuit(s);
    SetRunPresets(s);
    FillFrom(s.rays.ang, kRayAngles);
    s.rays.nang = 0;
    FillFrom(s.datr.xt, kGaussAbscissae);
    FillFrom(s.datr.wt, kGaussWeights);

    // The main program: 20-point Gaussian integration on one interval,
    // the coefficient blocks of the map file, and "no map read yet".
    s.datr.nt = 20;
    s.datr.npl = 1;
    s.datr.xnpl = float(s.datr.npl);
    s.datr.twdiv = 1.f / 2.f;
    const std::array<int32_t, 6> firstCoefficient{1, 276, 703, 978, 1966, 2407};
    const std::array<int32_t, 6> coefficientCount{5, 7, 5, 13, 9, 9};
    FillFrom(s.one.ia, firstCoefficient);
    FillFrom(s.one.ib, coefficientCount);
    s.two.f2d(1, 1, 1) = -1.f;
    s.cmodel.model = "  VOACAP";
    s.cround.iround = 0;

    // SETVARS clears the antennas and a few tables (zero already), LISTIN
    // enables the run and leaves the index of the QUIT card it stopped at,
    // HFMUFS starts with no area and no daily maps.
    s.cantenna.numants = 0;
    s.inform.ihshr = 0;
    s.inform.ihlng = 0;
    s.metset.itrun = 1;
    s.contrl.icard = 26;
    s.carea.iarea = 0;
    s.cdaily.idaily.Fill(0);
}

namespace {

bool Malformed(std::string_view name, std::string &error) {
    error = "malformed number on the " + std::string(name) + " card";
    return false;
}

// ITEMP .EQ. 'OFF' of DECRED: columns 11-20 hold OFF and blanks only.
bool SwitchedOff(std::string_view image) { return image.substr(10, 10) == "OFF       "; }

// DECRED, METHOD card.
bool ApplyMethod(std::string_view image, TModelState &s, std::string &error) {
    TCardFields f(image);
    f.Skip(10);
    int32_t method = 0, firstPage = 0, special = 0;
    if (!f.Int(5, method) || !f.Int(5, firstPage) || !f.Int(5, special)) return Malformed("METHOD", error);
    if (method > 200) {
        error = "METHOD " + std::to_string(method) + ": interference runs are not supported";
        return false;
    }
    if (method > 100) {
        s.carea.iarea = 1;
        method -= 100;
    }
    s.contrl.mspec = special;
    // Method 30 is method 20 with long/short path smoothing.
    if (method == 30) {
        s.contrl.mspec = 121;
        method = 20;
    }
    if (method < 1 || method > s.contrl.maxmet) {
        error = "METHOD " + std::to_string(method) + " does not exist";
        return false;
    }
    s.ion.method = method;
    s.metset.itrun = s.metset.jtrun(method);
    s.metset.itout = s.metset.jtout(method);
    if (firstPage > 0) s.outprt.lpages = firstPage - 1;
    return true;
}

// DECRED, MONTH card: year text and up to 12 months, "month.day" meaning a
// day of the month.
bool ApplyMonth(std::string_view image, TModelState &s, std::string &error) {
    TCardFields f(image);
    f.Skip(10);
    s.alpha.nyear = f.Text(5);
    for (int i = 1; i <= 12; ++i) {
        float x = 0.f;
        if (!f.Real(5, 2, x)) return Malformed("MONTH", error);
        if (x < .005f) {
            s.contrl.months(i) = 0;
            s.cdaily.idaily(i) = 0;
        } else if (x < 1.f) {
            s.contrl.months(i) = int32_t(std::lround(x * 100.f));
            s.cdaily.idaily(i) = 0;
        } else {
            if (x >= 1.e9f) return Malformed("MONTH", error);
            const int32_t month = int32_t(x);
            const int32_t day = int32_t(std::lround((x - float(month)) * 100.f));
            s.cdaily.idaily(i) = day;
            s.contrl.months(i) = month;
            if (day > 0) s.ccoeff.coeff = "URSI";
        }
    }
    return true;
}

// DECRED, SUNSPOT card.
bool ApplySunspots(std::string_view image, TModelState &s, std::string &error) {
    TCardFields f(image);
    f.Skip(10);
    for (int i = 1; i <= 12; ++i)
        if (!f.Real(5, 2, s.contrl.sunsp(i))) return Malformed("SUNSPOT", error);
    return true;
}

// DECRED, CIRCUIT card; blank hemispheres select the preset circuit.
bool ApplyCircuit(std::string_view image, TModelState &s, std::string &error) {
    TCardFields f(image);
    f.Skip(10);
    TCircuit &d = s.don;
    TLabels &a = s.alpha;
    float tlat = 0.f, tlong = 0.f, rlat = 0.f, rlong = 0.f;
    int32_t npsl = 0;
    bool ok = f.Real(5, 2, tlat);
    a.itlat = f.Text(1);
    ok = ok && f.Real(9, 2, tlong);
    a.itlong = f.Text(1);
    ok = ok && f.Real(9, 2, rlat);
    a.irlat = f.Text(1);
    ok = ok && f.Real(9, 2, rlong);
    a.irlong = f.Text(1);
    f.Skip(4);
    ok = ok && f.Int(5, npsl);
    if (!ok) return Malformed("CIRCUIT", error);
    d.tlatd = tlat;
    d.tlongd = tlong;
    d.rlatd = rlat;
    d.rlongd = rlong;
    s.ion.npsl = npsl;
    const TChars<1> blank{};
    if (a.itlat == blank || a.itlong == blank || a.irlat == blank || a.irlong == blank) {
        d.tlatd = 40.03f;
        a.itlat = s.outlab.inorth.View();
        d.tlongd = 105.3f;
        a.itlong = s.outlab.iwest.View();
        d.rlatd = 38.67f;
        a.irlat = s.outlab.inorth.View();
        d.rlongd = 90.25f;
        a.irlong = s.outlab.iwest.View();
        a.itran(1) = "BOULDER,";
        a.itran(2) = " COLO.";
        a.ircvr(1) = "ST. LOUI";
        a.ircvr(2) = "S, MO.";
    }
    if (a.itlat == s.outlab.isouth) d.tlatd = -d.tlatd;
    if (a.itlong == s.outlab.iwest) d.tlongd = -d.tlongd;
    if (a.irlat == s.outlab.isouth) d.rlatd = -d.rlatd;
    if (a.irlong == s.outlab.iwest) d.rlongd = -d.rlongd;
    return true;
}

// DECRED, SYSTEM card. Its first field (a power) is read and not used:
// the power comes with the transmitting antennas.
bool ApplySystem(std::string_view image, TModelState &s, std::string &error) {
    TCardFields f(image);
    f.Skip(10);
    float power = 0.f, noise = 0.f, amind = 0.f, lufp = 0.f, rsn = 0.f, pmp = 0.f, dmp = 0.f;
    if (!f.Real(5, 2, power) || !f.Real(5, 0, noise) || !f.Real(5, 2, amind) || !f.Real(5, 0, lufp) ||
        !f.Real(5, 2, rsn) || !f.Real(5, 2, pmp) || !f.Real(5, 2, dmp))
        return Malformed("SYSTEM", error);
    if (std::fabs(noise) > 1.e6f || std::fabs(lufp) > 1.e6f) return Malformed("SYSTEM", error);
    s.ton.xnoise = noise;
    if (noise != 0.f) s.ion.noise = int32_t(noise);
    s.ion.lufp = int32_t(lufp);
    if (amind <= 0.f) amind = 3.0f;
    s.don.amind = amind;
    s.don.amin = amind * s.con.d2r;
    if (s.ion.lufp <= 0) s.ion.lufp = 90;
    s.don.rsn = rsn;
    s.don.pmp = pmp;
    s.don.dmp = dmp;
    return true;
}

// DECRED, TIME card: first and last hour (UT), step, and the time flag.
// The hours may run past midnight.
bool ApplyTime(std::string_view image, TModelState &s, std::string &error) {
    TCardFields f(image);
    f.Skip(10);
    TIonosphereOptions &o = s.ion;
    if (!f.Int(5, o.ihro) || !f.Int(5, o.ihre) || !f.Int(5, o.ihrs) || !f.Int(5, s.time.itim))
        return Malformed("TIME", error);
    if (o.ihro < 0 || o.ihro > 24 || o.ihre < 0 || o.ihre > 24) {
        error = "TIME: hours must lie between 0 and 24";
        return false;
    }
    if (o.ihrs <= 0) o.ihrs = 1;
    const int32_t first = o.ihro == 0 ? 24 : o.ihro;
    const int32_t last = o.ihre < first ? o.ihre + 24 : o.ihre;
    s.chours.nhours = 0;
    for (int32_t hour = first; hour <= last && s.chours.nhours < 24; hour += o.ihrs)
        s.chours.ihours(++s.chours.nhours) = hour > 24 ? hour - 24 : hour;
    return true;
}

// DECRED, ANTENNA card: the slot, its file and power. The gain table the
// card names is loaded apart (Antenna.h).
bool ApplyAntenna(std::string_view image, TModelState &s, std::string &error) {
    TDeckAntenna card;
    if (!DecodeAntennaCard(image, card, error)) return false;
    TAntennaSet &a = s.cantenna;
    const int index = card.Index;
    a.designfreq(index) = card.DesignFreq;
    a.antfile(index) = card.File;
    a.beammain(index) = card.Beam;
    s.pantenna.pwrkw(index) = card.Power;
    a.iats(index) = card.Role;
    if (card.Role == 1) {
        if (s.pantenna.pwrkw(index) <= 0.f) s.pantenna.pwrkw(index) = 1.f;
        s.pantenna.pwrdba(index) = 30.f + 10.f * std::log10(s.pantenna.pwrkw(index));
    }
    if (index > a.numants) a.numants = index;
    return true;
}

// DECRED, FREQUENCY card: up to 11 frequencies (MHz), three decimals when
// column 11 holds "$". FREL(14) flags how the hour's frequencies are set.
bool ApplyFrequencies(std::string_view image, TModelState &s, std::string &error) {
    TCardFields f(image);
    TTable<float, 29> &frel = s.frq.frel;
    const bool threeDecimals = image[10] == '$';
    f.Skip(threeDecimals ? 11 : 10);
    for (int k = 1; k <= 11; ++k) {
        const bool ok = threeDecimals ? f.Real(6, 3, frel(k)) : f.Real(5, 2, frel(k));
        if (!ok) return Malformed("FREQUENCY", error);
    }
    for (int k = 12; k <= 29; ++k) frel(k) = 0.f;
    if (frel(1) == 0.f)
        frel(14) = frel(2) <= 0.f ? -1.f : -10.f;
    else
        frel(14) = 1.f;
    return true;
}

// DECRED, LABEL card: two 20-column names.
bool ApplyLabel(std::string_view image, TModelState &s) {
    TCardFields f(image);
    f.Skip(10);
    s.alpha.itran(1) = f.Text(10);
    s.alpha.itran(2) = f.Text(10);
    s.alpha.ircvr(1) = f.Text(10);
    s.alpha.ircvr(2) = f.Text(10);
    return true;
}

// DECRED, FPROB card: multipliers of the E, F1, F2 and Es critical
// frequencies, unset ones kept at their presets.
bool ApplyFprob(std::string_view image, TModelState &s, std::string &error) {
    TPscCoefficients &p = s.psca;
    if (SwitchedOff(image)) {
        p.ipsc = 0;
        for (int k = 1; k <= 4; ++k) p.psc(k) = p.pscb(k);
        return true;
    }
    p.ipsc = 1;
    TCardFields f(image);
    f.Skip(10);
    for (int k = 1; k <= 4; ++k)
        if (!f.Real(5, 2, p.psc(k))) return Malformed("FPROB", error);
    if (p.psc(1) <= 0.f) p.psc(1) = p.pscb(1);
    if (p.psc(2) < 0.f) p.psc(2) = p.pscb(2);
    if (p.psc(3) <= 0.f) p.psc(3) = p.pscb(3);
    if (p.psc(4) < 0.f) p.psc(4) = p.pscb(4);
    return true;
}

// DECRED, TOPLINES and BOTLINES cards: the lines METHOD 23 prints.
template <int N>
bool ApplyLineList(std::string_view image, int32_t &enabled, TTable<int32_t, N> &lines, std::string &error) {
    enabled = 0;
    if (SwitchedOff(image)) return true;
    enabled = 1;
    TCardFields f(image);
    f.Skip(10);
    for (int k = 1; k <= N; ++k)
        if (!f.Int(5, lines(k))) return Malformed(image.substr(0, 8), error);
    return true;
}

// DECRED, LINEMAX card.
bool ApplyLineMax(std::string_view image, TModelState &s, std::string &error) {
    TCardFields f(image);
    f.Skip(10);
    if (!f.Int(5, s.outprt.linmax)) return Malformed("LINEMAX", error);
    if (s.outprt.linmax < 30) s.outprt.linmax = 55;
    return true;
}

// DECRED, AREA card: the grid's centre, extent, size and projection.
// Its last field lands in ITYPE, as in the reference.
bool ApplyArea(std::string_view image, TModelState &s, std::string &error) {
    TGridSpec &g = s.rgrid;
    TCardFields f(image);
    f.Skip(10);
    g.nx = 0;
    g.ny = 0;
    if (!f.Real(10, 0, g.plat) || !f.Real(10, 0, g.plon) || !f.Real(10, 0, g.xmin) || !f.Real(10, 0, g.xmax) ||
        !f.Real(10, 0, g.yymin) || !f.Real(10, 0, g.ymax) || !f.Int(5, g.nx) || !f.Int(5, g.ny) ||
        !f.Int(5, s.contrl.itype))
        return Malformed("AREA", error);
    if (g.nx == 0) g.nx = 5;
    if (g.ny == 0) g.ny = 5;
    if (g.nx < 2 || g.ny < 2 || g.nx > kMaxGridSize || g.ny > kMaxGridSize) {
        error = "AREA: grid size must lie within 2.." + std::to_string(kMaxGridSize);
        return false;
    }
    g.iproj = s.contrl.itype != 0 ? 8 : 7;
    s.carea.iarea = 1;
    return true;
}

std::string CardName(std::string_view image) {
    std::string name(image.substr(0, 10));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
}

} // namespace

bool ApplyCard(std::string_view card, TModelState &s, std::string &error) {
    std::string padded(card.substr(0, kCardColumns));
    padded.resize(kCardColumns, ' ');
    const std::string_view image = padded;
    const std::string_view name = image.substr(0, 10);
    ++s.contrl.kcard;
    if (name == "METHOD    ") return ApplyMethod(image, s, error);
    if (name == "MONTH     ") return ApplyMonth(image, s, error);
    if (name == "SUNSPOT   ") return ApplySunspots(image, s, error);
    if (name == "CIRCUIT   ") return ApplyCircuit(image, s, error);
    if (name == "SYSTEM    ") return ApplySystem(image, s, error);
    if (name == "TIME      ") return ApplyTime(image, s, error);
    if (name == "ANTENNA   ") return ApplyAntenna(image, s, error);
    if (name == "FREQUENCY ") return ApplyFrequencies(image, s, error);
    if (name == "LABEL     ") return ApplyLabel(image, s);
    if (name == "FPROB     ") return ApplyFprob(image, s, error);
    if (name == "TOPLINES  ") return ApplyLineList(image, s.outprt.lintyp, s.outprt.lintp, error);
    if (name == "BOTLINES  ") return ApplyLineList(image, s.outprt.linbyp, s.outprt.linbd, error);
    if (name == "LINEMAX   ") return ApplyLineMax(image, s, error);
    if (name == "AREA      ") return ApplyArea(image, s, error);
    if (name == "COEFFS    ") {
        s.ccoeff.coeff = image.substr(10, 4);
        if (s.ccoeff.coeff.View() != "URSI") s.ccoeff.coeff = "CCIR";
        return true;
    }
    if (name == "COMMENT   " || name == "          ") return true;
    if (name == "EXECUTE   ") {
        TCardFields f(image);
        f.Skip(10);
        s.contrl.icard = 12;
        s.contrl.ired = 1;
        if (!f.Int(5, s.contrl.krun)) return Malformed("EXECUTE", error);
        return true;
    }
    error = "card " + CardName(image) + " is not supported";
    return false;
}

bool ApplyDeck(const TDeck &deck, TModelState &s, std::string &error) {
    for (std::size_t k = 0; k < deck.Cards.size(); ++k) {
        const std::string &card = deck.Cards[k];
        if (card.compare(0, 10, "QUIT      ") == 0) break;
        if (!ApplyCard(card, s, error)) {
            error = "card " + std::to_string(k + 1) + ": " + error;
            return false;
        }
        if (card.compare(0, 10, "EXECUTE   ") == 0) break;
    }
    // DECRED: a day of the month asks for the URSI maps.
    for (int m = 1; m <= 12; ++m)
        if (s.cdaily.idaily(m) != 0) s.ccoeff.coeff = "URSI";
    return true;
}

} // namespace vx::model
