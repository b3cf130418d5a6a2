// The ionosphere of a circuit against what the reference (voacapl 16.1207W)
// computes for the same deck: the values its common blocks hold after GEOM,
// F2VAR, IONSET, CURMUF and GENION (printed to 9 digits, so the float
// literals are exact), and the hourly MUFs its output prints.
#include "model/Geometry.h"
#include "model/Ionosphere.h"
#include "model/MonthMaps.h"
#include "model/RunSetup.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using namespace vx::model;

namespace {

struct TCircuitDeck {
    const char *circuit; // CIRCUIT card
    const char *month;   // MONTH card
    const char *sunspot; // SUNSPOT card
    const char *fprob;   // FPROB card
};

// p2p01: 44N 79W to 51N 0E, 5695 km, five control points; March, SSN 50.
const TCircuitDeck kToEngland{"CIRCUIT   44.00N    79.00W    51.00N     0.00E  S     0", "MONTH      2008 3.00",
                              "SUNSPOT     50.", "FPROB      1.00 1.00 1.00 0.00"};
// p2p02: the same transmitter to Tokyo the long way round; June, SSN 120.
const TCircuitDeck kLongPathToJapan{"CIRCUIT   44.00N    79.00W    35.68N   139.77E  L     1", "MONTH      2014 6.00",
                                    "SUNSPOT    120.", "FPROB      1.00 1.00 1.00 0.00"};
// p2p03: Sydney to London, 17,000 km the short way; December, SSN 5.
const TCircuitDeck kSydneyLondon{"CIRCUIT   33.87S   151.21E    51.50N     0.13W  S     0", "MONTH      201912.00",
                                 "SUNSPOT      5.", "FPROB      1.00 1.00 1.00 0.00"};
// p2p07: to Caracas, 3900 km (three control points); October, SSN 250.
const TCircuitDeck kCaracas{"CIRCUIT   44.00N    79.00W    10.50N    66.90W  S     0", "MONTH      201410.00",
                            "SUNSPOT    250.", "FPROB      1.00 1.00 1.00 0.00"};
// 1000 km in the American midwest in June at SSN 10 (an F1 layer by day),
// with sporadic E at full weight.
const TCircuitDeck kMidwestSummer{"CIRCUIT   40.00N   100.00W    45.00N    90.00W  S     0", "MONTH      2010 6.00",
                                  "SUNSPOT     10.", "FPROB      1.00 1.00 1.00 1.00"};
// From the north pole to 60N 30E in April, SSN 60.
const TCircuitDeck kFromThePole{"CIRCUIT   90.00N     0.00E    60.00N    30.00E  S     0", "MONTH      2010 4.00",
                                "SUNSPOT     60.", "FPROB      1.00 1.00 1.00 0.00"};
// Both ends at 45N 10E.
const TCircuitDeck kOnePlace{"CIRCUIT   45.00N    10.00E    45.00N    10.00E  S     0", "MONTH      2010 5.00",
                             "SUNSPOT     70.", "FPROB      1.00 1.00 1.00 0.00"};

class Ionosphere : public testing::Test {
protected:
    static void SetUpTestSuite() {
        auto load = LoadModelData(std::string(VX_SOURCE_DIR) + "/data/" + kModelDataFileName);
        ASSERT_EQ(load.Error, "");
        Data = load.Data;
    }
    static void TearDownTestSuite() { Data.reset(); }

    // The state as the point run has it before its hour loop.
    static std::unique_ptr<TModelState> Circuit(const TCircuitDeck &deck) {
        auto s = std::make_unique<TModelState>();
        InitialiseState(*s);
        std::string error;
        for (const char *card :
             {"COEFFS    CCIR", "TIME          1   24    1    1", "SYSTEM       1. 145. 3.00  90. 67.0 3.00 0.10",
              deck.circuit, deck.month, deck.sunspot, deck.fprob})
            EXPECT_TRUE(ApplyCard(card, *s, error)) << card << ": " << error;
        s->don.ssn = s->contrl.sunsp(1);
        s->ssp.month = s->contrl.months(1);
        ReadMonthMaps(*Data, *s, s->don.ssn, s->ssp.month);
        SetMagneticPole(*s);
        ComputeGeometry(*s);
        SetSunAngles(*s);
        return s;
    }

    // The layers of hour jt, up to IONSET (withSlots) or F2VAR.
    static void Layers(TModelState &s, int jt, bool withSlots = true) {
        SetHour(s, jt);
        PrepareVirtualHeights(s);
        ApplyTimeVariation(s);
        ApplyF2Variation(s);
        ApplySporadicE(s);
        if (withSlots) SetUpIonosphere(s);
    }

    // The MUF of each hour as the output's FREQ lines print it (F5.1).
    static std::vector<std::string> PrintedMufs(TModelState &s) {
        std::vector<std::string> mufs;
        for (int jt = 1; jt <= 24; ++jt) {
            Layers(s, jt);
            ComputeCircuitMuf(s);
            char text[16];
            std::snprintf(text, sizeof text, "%.1f", double(s.mufs.allmuf(s.time.it)));
            mufs.push_back(text);
        }
        return mufs;
    }

    static std::shared_ptr<const TModelData> Data;
};

std::shared_ptr<const TModelData> Ionosphere::Data;

std::vector<std::string> Split(const char *list) {
    std::vector<std::string> out;
    std::string item;
    for (const char *p = list;; ++p) {
        if (*p == ',' || *p == 0) {
            out.push_back(item);
            item.clear();
            if (*p == 0) break;
        } else if (*p != ' ') {
            item += *p;
        }
    }
    return out;
}

} // namespace

TEST_F(Ionosphere, GeometryOfAFiveControlPointCircuit) {
    auto s = Circuit(kToEngland);
    EXPECT_EQ(s->don.gcd, 0.894089043f);
    EXPECT_EQ(s->don.gcdkm, 5695.34717f);
    EXPECT_EQ(s->don.btrd, 52.4070091f);
    EXPECT_EQ(s->don.brtd, 295.081482f);
    ASSERT_EQ(s->ron.km, 5);
    const float clat[5] = {0.855233371f, 0.921034575f, 0.954632699f, 0.964115024f, 0.942954719f};
    const float clong[5] = {-1.18884122f, -0.962393522f, -0.744371474f, -0.512786686f, -0.243460059f};
    const float glat[5] = {1.05591464f, 1.11372542f, 1.12661517f, 1.10310233f, 1.03553629f};
    const float gyz[5] = {1.39757991f, 1.34785473f, 1.29393125f, 1.24295509f, 1.19639385f};
    const float gmdip[5] = {1.02272117f, 1.0368371f, 1.03788948f, 1.02985001f, 1.00765932f};
    for (int i = 1; i <= 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(s->ron.clat(i), clat[i - 1]);
        EXPECT_EQ(s->ron.clong(i), clong[i - 1]);
        EXPECT_EQ(s->ron.glat(i), glat[i - 1]);
        EXPECT_EQ(s->geog.gyz(i), gyz[i - 1]);
        EXPECT_EQ(s->geog.gmdip(i), gmdip[i - 1]);
        // Ontario is land; the four points over the Atlantic are sea.
        EXPECT_EQ(s->geog.sigpat(i), i == 1 ? 0.001f : 5.f);
        EXPECT_EQ(s->geog.epspat(i), i == 1 ? 4.f : 80.f);
    }
}

TEST_F(Ionosphere, GeometryOfTheLongWayRound) {
    auto s = Circuit(kLongPathToJapan);
    EXPECT_EQ(s->don.gcd, 4.66196585f);
    EXPECT_EQ(s->don.gcdkm, 29696.7227f);
    EXPECT_EQ(s->don.btrd, 149.382858f);
    EXPECT_EQ(s->don.brtd, 206.809235f);
    EXPECT_EQ(s->don.dlong, -3.81825686f);
    EXPECT_EQ(s->ron.km, 5);
    EXPECT_EQ(s->ron.clat(3), -1.18711746f); // the midpoint lies far south
    EXPECT_EQ(s->ron.clong(4), 2.29130173f);
    EXPECT_EQ(s->rays.nang, 11); // beyond 14,000 km SANG scans the lowest rays only
}

TEST_F(Ionosphere, GeometryAtThePoleAndOfEndsInOnePlace) {
    auto pole = Circuit(kFromThePole);
    EXPECT_EQ(pole->don.gcdkm, 3335.32349f);
    EXPECT_EQ(pole->don.btrd, 180.f); // due south from the pole
    EXPECT_EQ(pole->don.brtd, 360.f);
    EXPECT_EQ(pole->ron.km, 3);

    auto one = Circuit(kOnePlace);
    EXPECT_EQ(one->don.rlatd, 44.9700012f); // the receiver moved 0.03 degrees south
    EXPECT_EQ(one->don.gcdkm, 3.11035156f);
    EXPECT_EQ(one->don.btrd, 180.f);
    EXPECT_EQ(one->ron.km, 1);
    EXPECT_EQ(one->rays.nang, 40);
}

TEST(LocalTime, ShiftsBetweenUniversalAndLocalTimeWithinTheDay) {
    float t = 1.f;
    ShiftTime(t, -79.f, 1); // 79 W is 5 h 16 min behind
    EXPECT_FLOAT_EQ(t, 19.733334f);
    ShiftTime(t, -79.f, -1);
    EXPECT_FLOAT_EQ(t, 1.f);
    t = 23.f;
    EXPECT_EQ(ShiftTime(t, 139.77f, 1), 1); // into the next day
    EXPECT_FLOAT_EQ(t, 23.f + 139.77f / 15.f - 24.f);
    t = 24.f; // at longitude 0 the time is left as it is, 24 included
    EXPECT_EQ(ShiftTime(t, 0.f, 1), 0);
    EXPECT_EQ(t, 24.f);
}

TEST_F(Ionosphere, LayersAtTwelveUtAndTheirSlots) {
    auto s = Circuit(kToEngland);
    Layers(*s, 12, false);
    const float fi[15] = {1.98434138f, 0.f,         5.27496195f, 2.26522493f, 0.f,
                          5.73330784f, 2.49719882f, 0.f,         6.14606714f, 2.71759725f,
                          3.90789795f, 6.59154558f, 2.95695019f, 4.07232618f, 7.17611599f};
    const float hi[15] = {110.f,       0.f,   285.311737f, 110.f,       0.f,   282.21582f,  110.f,     0.f,
                          282.327393f, 110.f, 208.516266f, 271.300049f, 110.f, 205.506744f, 276.92218f};
    const float yi[15] = {20.f,        0.f,  82.2146225f, 20.f,        0.f,  85.8209305f, 20.f,       0.f,
                          89.9609375f, 20.f, 52.1290665f, 90.4156647f, 20.f, 51.3766861f, 96.8897476f};
    for (int j = 1; j <= 15; ++j) {
        SCOPED_TRACE(j);
        EXPECT_EQ(s->ron.fi.Flat(j), fi[j - 1]);
        EXPECT_EQ(s->ron.hi.Flat(j), hi[j - 1]);
        EXPECT_EQ(s->ron.yi.Flat(j), yi[j - 1]);
    }
    EXPECT_EQ(s->geog.clck(1), 7.45896101f);
    EXPECT_EQ(s->geog.rat(5), 2.85811639f);

    // IONSET: E from the points 1000 km from the ends, F from 2000 km.
    SetUpIonosphere(*s);
    EXPECT_EQ(s->ron.kfx, 3);
    const float slots[9] = {1.98434138f, 0.f,         5.73330784f, 2.49719882f, 0.f,
                            6.14606714f, 2.95695019f, 4.07232618f, 6.59154558f};
    for (int j = 1; j <= 9; ++j) EXPECT_EQ(s->ron.fi.Flat(j), slots[j - 1]) << j;
}

TEST_F(Ionosphere, LayerMufsOfAnAfternoonWithF1) {
    auto s = Circuit(kToEngland);
    Layers(*s, 14);
    ComputeCircuitMuf(*s);
    const TMufs &m = s->mufs;
    EXPECT_EQ(m.emuf(14), 14.738163f);
    EXPECT_EQ(m.f1muf(14), 14.5175123f);
    EXPECT_EQ(m.f2muf(14), 20.4781551f);
    EXPECT_EQ(m.esmuf(14), 0.f); // FPROB weighs Es with 0
    EXPECT_EQ(m.allmuf(14), 20.4781551f);
    EXPECT_EQ(m.fot(14), 16.5873051f);
    EXPECT_EQ(m.hpf(14), 24.5737877f);
    EXPECT_EQ(m.angmuf(14), 8.27354717f);
    EXPECT_EQ(m.modmuf, 3);
}

TEST_F(Ionosphere, SporadicEMufAndItsDeciles) {
    auto s = Circuit(kMidwestSummer);
    Layers(*s, 18);
    ComputeCircuitMuf(*s);
    const TMufs &m = s->mufs;
    EXPECT_EQ(m.emuf(18), 12.0050592f);
    EXPECT_EQ(m.f1muf(18), 9.06896973f);
    EXPECT_EQ(m.f2muf(18), 8.18239403f);
    EXPECT_EQ(m.esmuf(18), 19.3141346f);
    EXPECT_EQ(m.fot(18), 10.4684114f);
    EXPECT_EQ(m.modmuf, 1); // E sets the circuit MUF
    EXPECT_EQ(m.sigl(4), 3.883509636f);
    EXPECT_EQ(m.sigu(4), 9.422467232f);
    EXPECT_EQ(m.delmuf(4), 10.20344925f);
    EXPECT_EQ(m.yfot(4), 14.34324265f);
    EXPECT_EQ(m.hpmuf(2), 243.395874f);
    EXPECT_EQ(m.hpmuf(3), 390.3321533f);
    // CURMUF lowers the Es lower decile of the point it used.
    EXPECT_EQ(s->es.fs(1, 1), 3.628188372f);
}

TEST_F(Ionosphere, ProfileAndIonogramWithAnF1Layer) {
    auto s = Circuit(kMidwestSummer);
    Layers(*s, 18);
    ComputeCircuitMuf(*s);
    BuildDensityProfile(*s, 1);
    BuildIonogram(*s, 1);
    const TControlPoints &r = s->ron;
    EXPECT_EQ(r.hi(2, 1), 178.582336f);
    EXPECT_EQ(r.yi(2, 1), 44.64558411f);
    EXPECT_EQ(s->mfac.fsecv(1), -1.f); // a parabolic F1
    const int rows[] = {1, 2, 4, 11, 14, 18, 28, 33, 50};
    const float htr[] = {70.f,        75.75f,      92.f,        110.250008f, 120.000008f,
                         133.936752f, 178.582336f, 203.466293f, 288.071747f};
    const float fnsq[] = {0.00276785484f, 0.0161082931f, 2.33744216f, 11.4402952f, 8.58155823f,
                          8.81057644f,    18.6083088f,   15.6883659f, 30.6907482f};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(r.htr(rows[i], 1), htr[i]) << rows[i];
        EXPECT_EQ(r.fnsq(rows[i], 1), fnsq[i]) << rows[i];
    }
    const int steps[] = {2, 10, 11, 17, 20, 21, 22, 27, 30};
    const float fvert[] = {0.600634277f, 3.34878874f, 3.55174542f, 4.03098106f, 4.27059793f,
                           4.35687208f,  4.48018169f, 5.09672928f, 5.48452425f};
    const float htrue[] = {84.5069885f, 107.192894f, 153.333939f, 162.84169f, 172.644501f,
                           213.332169f, 216.928528f, 240.710892f, 271.175446f};
    const float hprim[] = {87.3976135f, 140.452454f, 228.969788f, 230.116043f, 271.114563f,
                           409.161591f, 368.086487f, 382.66156f,  510.513275f};
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(steps[i]);
        EXPECT_EQ(r.fvert(steps[i], 1), fvert[i]);
        EXPECT_EQ(r.htrue(steps[i], 1), htrue[i]);
        EXPECT_EQ(r.hprim(steps[i], 1), hprim[i]);
    }
}

// GENION looks each sounding frequency up in the profile once per
// ionogram and may start its scan past the points below it; GETHP alone
// scans the whole table. Both must give the same heights, bit for bit, on
// the profile as made, with a point equal to a frequency squared (the
// interval ending there is passed over), with a flat step and with a
// value that is not a number.
TEST_F(Ionosphere, IonogramHeightsEqualGethpOnEveryProfileShape) {
    auto s = Circuit(kMidwestSummer);
    Layers(*s, 18);
    ComputeCircuitMuf(*s);
    BuildDensityProfile(*s, 1);
    BuildIonogram(*s, 1);
    TControlPoints &r = s->ron;
    const float f14 = r.fvert(14, 1), f22 = r.fvert(22, 1);
    const auto profile = r.fnsq;
    auto agree = [&](const char *shape) {
        SCOPED_TRACE(shape);
        BuildIonogram(*s, 1);
        for (int i = 1; i <= 30; ++i) {
            float hp = 0.f, ht = 0.f;
            VirtualAndTrueHeight(*s, r.fvert(i, 1), hp, ht);
            EXPECT_EQ(std::bit_cast<uint32_t>(r.hprim(i, 1)), std::bit_cast<uint32_t>(hp)) << i;
            EXPECT_EQ(std::bit_cast<uint32_t>(r.htrue(i, 1)), std::bit_cast<uint32_t>(ht)) << i;
        }
    };
    agree("as made");
    // The first row reaching a frequency squared lowered to it exactly
    // (F1 and F2 frequencies), and then the row after it made equal.
    int rows[2] = {};
    for (int n = 0; n < 2; ++n) {
        const float f = n == 0 ? f14 : f22;
        int m = 1;
        while (m < 50 && r.fnsq(m, 1) < f * f) ++m;
        ASSERT_LT(m, 50);
        r.fnsq(m, 1) = f * f;
        rows[n] = m;
    }
    agree("points at a frequency squared");
    for (int m : rows) r.fnsq(m + 1, 1) = r.fnsq(m, 1);
    agree("a flat step");
    r.fnsq = profile;
    r.fnsq(rows[1] - 1, 1) = std::numeric_limits<float>::quiet_NaN();
    agree("not a number");
}

// GENION gives the heights it made before when everything it reads is the
// same (a point run meets each hour's ionograms in all three sweeps), and
// integrates anew when any of it differs.
TEST_F(Ionosphere, IonogramRemadeWhenAnyInputDiffers) {
    auto s = Circuit(kMidwestSummer);
    Layers(*s, 18);
    ComputeCircuitMuf(*s);
    BuildDensityProfile(*s, 1);
    const TModelState before = *s;
    BuildIonogram(*s, 1);
    auto same = [](const TModelState &a, const TModelState &b) {
        return a.ron.fvert.Data == b.ron.fvert.Data && a.ron.htrue.Data == b.ron.htrue.Data &&
               a.ron.hprim.Data == b.ron.hprim.Data;
    };
    // Each change (they add up) made to the state that has ionograms in
    // store, then compared with a copy that has none.
    const std::function<void(TModelState &)> changes[] = {
        [](TModelState &t) { t.ron.fnsq(25, 1) *= 1.01f; },
        [](TModelState &t) { t.ron.htr(40, 1) += 1.f; },
        [](TModelState &t) { t.ron.yi(1, 1) += 1.f; },
        [](TModelState &t) { t.ron.fi(3, 1) += .1f; },
        [](TModelState &t) { t.mfac.iedp = 0; },
        [](TModelState &t) { t.datr.wt(7) *= 1.01f; },
    };
    int n = 0;
    for (const auto &change : changes) {
        SCOPED_TRACE(++n);
        change(*s);
        auto fresh = std::make_unique<TModelState>(*s);
        fresh->ionograms = {};
        BuildIonogram(*fresh, 1);
        BuildIonogram(*s, 1);
        EXPECT_TRUE(same(*s, *fresh));
        EXPECT_FALSE(same(*s, before));
    }
    // Back to the first inputs: the first heights again.
    auto again = std::make_unique<TModelState>(before);
    BuildIonogram(*again, 1);
    BuildIonogram(*again, 1);
    auto first = std::make_unique<TModelState>(before);
    BuildIonogram(*first, 1);
    EXPECT_TRUE(same(*again, *first));
}

TEST_F(Ionosphere, HourlyMufsAsTheOutputPrintsThem) {
    struct TCase {
        const TCircuitDeck *deck;
        const char *mufs; // hours 1..24
    } cases[] = {
        {&kToEngland,
         "10.6, 10.4, 10.2, 9.4, 8.6, 8.3, 9.1, 9.1, 10.0, 12.1, 14.9, 17.5, 19.5, 20.5, 20.5, 20.4, "
         "20.3, 20.9, 20.1, 18.4, 16.2, 14.1, 12.5, 11.3"},
        {&kLongPathToJapan,
         "25.4, 24.8, 23.9, 22.5, 20.9, 19.5, 18.4, 17.8, 18.1, 19.6, 21.7, 23.3, 23.4, 23.5, "
         "24.0, 25.0, 26.4, 24.5, 21.2, 19.9, 21.3, 24.4, 26.5, 26.0"},
        {&kSydneyLondon,
         "9.0, 8.3, 7.8, 7.8, 8.8, 10.2, 13.2, 16.3, 18.5, 19.3, 19.0, 17.6, 15.5, 13.0, 10.3, 8.8, "
         "7.6, 7.3, 7.6, 8.1, 8.6, 9.2, 9.6, 9.5"},
        {&kCaracas,
         "34.4, 29.9, 28.3, 28.9, 28.5, 26.2, 22.6, 18.6, 16.4, 19.9, 22.3, 33.0, 39.7, 40.4, 56.0, 53.8, "
         "51.4, 49.5, 48.1, 47.2, 46.1, 44.8, 43.1, 39.7"},
        {&kMidwestSummer,
         "9.7, 9.7, 9.1, 8.2, 7.2, 6.3, 5.5, 5.0, 4.9, 5.2, 5.8, 7.2, 8.5, 9.5, 10.3, 11.1, 11.7, "
         "12.0, 12.0, 11.8, 11.2, 10.3, 9.1, 9.5"},
        {&kFromThePole,
         "12.0, 12.3, 13.1, 13.9, 14.6, 15.8, 17.3, 18.2, 18.5, 18.5, 18.6, 18.7, 18.6, 18.1, 17.7, "
         "17.4, 16.7, 15.9, 14.9, 13.9, 13.2, 12.8, 12.5, 12.1"},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.deck->circuit);
        auto s = Circuit(*c.deck);
        EXPECT_EQ(PrintedMufs(*s), Split(c.mufs));
    }
}

TEST_F(Ionosphere, HourlyMufsWithTheFasterIntegration) {
    // INTEGRATE 0: a default E layer and, without F1, parabolic E and F2
    // layers instead of the integration (GENION and CURMUF with IEDP = 0).
    auto s = Circuit(kMidwestSummer);
    s->mfac.iedp = 0;
    EXPECT_EQ(PrintedMufs(*s), Split("9.8, 9.7, 9.1, 8.2, 7.1, 6.2, 5.5, 5.0, 4.9, 5.2, 5.8, 7.2, 8.5, 9.5, 10.3, "
                                     "11.1, 11.7, 12.0, 12.0, 11.8, 11.2, 10.3, 9.1, 9.5"));
}

TEST_F(Ionosphere, NightIonogramWithTheFasterIntegration) {
    auto s = Circuit(kMidwestSummer);
    s->mfac.iedp = 0;
    Layers(*s, 6);
    ComputeCircuitMuf(*s);
    BuildDensityProfile(*s, 1);
    BuildIonogram(*s, 1);
    const TControlPoints &r = s->ron;
    ASSERT_EQ(r.fi(2, 1), 0.f);
    // The E layer from GENION's table; above it the true height looked up
    // in the profile and the virtual height of parabolic layers.
    const int steps[] = {2, 10, 11, 12, 20, 27, 30};
    const float htrue[] = {84.5100021f, 107.190002f, 228.193741f, 228.769241f, 238.845154f, 264.426086f, 279.430603f};
    const float hprim[] = {87.4000015f, 140.029999f, 267.027832f, 238.721344f, 250.897919f, 315.588379f, 384.686157f};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(r.htrue(steps[i], 1), htrue[i]) << steps[i];
        EXPECT_EQ(r.hprim(steps[i], 1), hprim[i]) << steps[i];
    }
}

TEST(TableInterpolation, EitherDirectionFlatStepsAndEnds) {
    // Column 2 of a 4-row table, as the profile look-ups pass theirs.
    const float x[8] = {0, 0, 0, 0, 1.f, 3.f, 3.f, 2.f};
    const float y[8] = {0, 0, 0, 0, 10.f, 30.f, 35.f, 20.f};
    EXPECT_EQ(InterpolateTable(0.5f, x, y, 4, 2), 10.f); // below the first value
    EXPECT_EQ(InterpolateTable(2.f, x, y, 4, 2), 20.f);  // rising interval
    EXPECT_EQ(InterpolateTable(3.f, x, y, 4, 2), 30.f);  // the flat step holds it: its first value
    EXPECT_EQ(InterpolateTable(2.5f, x, y, 4, 2), 25.f); // the rising interval comes first
    EXPECT_EQ(InterpolateTable(9.f, x, y, 4, 2), 20.f);  // past every interval: the last value
    // A peak equal to x: the falling interval after it holds x at its top.
    const float peak[4] = {1.f, 3.f, 2.f, 4.f};
    const float at[4] = {10.f, 30.f, 20.f, 50.f};
    EXPECT_EQ(InterpolateTable(3.f, peak, at, 4, 1), 30.f);
    const float down[3] = {5.f, 3.f, 1.f};
    const float h[3] = {100.f, 200.f, 300.f};
    EXPECT_EQ(InterpolateTable(4.f, down, h, 3, 1), 100.f); // the first value already lies above
}

TEST(F2MufDeviation, FifteenPercentAtTheDecileWithoutTables) {
    auto s = std::make_unique<TModelState>();
    float sig = 0.f;
    F2MufDeviation(*s, 12.8155f, 50.f, 0.7f, 10.f, 12.f, sig);
    EXPECT_FLOAT_EQ(sig, 1.5f);
    F2MufDeviation(*s, 0.f, 50.f, 0.7f, 10.f, 12.f, sig);
    EXPECT_EQ(sig, 0.001f);
}
