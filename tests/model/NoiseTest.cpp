// Noise at the receiver, checked against what voacapl 16.1207W computed for
// point-to-point decks (the inputs each case sets, and the figures expected,
// were printed by the reference in the middle of its runs). The figures are
// compared exactly: single precision as the reference does it gives the same
// bits, and one bit can change a printed figure.
#include "model/Noise.h"

#include "model/MonthMaps.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using namespace vx::model;

// The maps of the month (the shipped coefficients, as the run reads them).
class NoiseMaps : public testing::Test {
protected:
    static void SetUpTestSuite() {
        auto load = LoadModelData(std::string(VX_SOURCE_DIR) + "/data/" + kModelDataFileName);
        ASSERT_EQ(load.Error, "");
        Data = load.Data;
    }
    static void TearDownTestSuite() { Data.reset(); }

    std::unique_ptr<TModelState> Month(int month, float ssn) {
        auto s = std::make_unique<TModelState>();
        s->ccoeff.coeff = "CCIR";
        s->con.r2d = 57.295779513f;
        ReadMonthMaps(*Data, *s, ssn, month);
        return s;
    }

    static std::shared_ptr<const TModelData> Data;
};

std::shared_ptr<const TModelData> NoiseMaps::Data;

// What GENOIS reads besides the tables, and what it leaves.
struct TCase {
    float freq, rlat;
    int kj, jk;
    float atnu, atny, cc, tm, fof2;
    int noise;
};
struct TResult {
    float rcnse, du, dl, sigm, sygu, sygl;
    int method;
};

void ExpectCombined(TModelState &s, const TCase &c, const TResult &r) {
    SCOPED_TRACE(testing::Message() << "freq " << c.freq << " cc " << c.cc << " noise " << c.noise);
    s.frq.freq = c.freq;
    s.don.rlat = c.rlat;
    s.anois.kj = c.kj;
    s.anois.jk = c.jk;
    s.anois.atnu = c.atnu;
    s.anois.atny = c.atny;
    s.anois.cc = c.cc;
    s.anois.tm = c.tm;
    s.ron.kfx = 2;
    s.ron.fi(3, 2) = c.fof2;
    s.ion.noise = c.noise;
    CombineNoise(s);
    EXPECT_EQ(s.anois.rcnse, r.rcnse);
    EXPECT_EQ(s.anois.du, r.du);
    EXPECT_EQ(s.anois.dl, r.dl);
    EXPECT_EQ(s.anois.sigm, r.sigm);
    EXPECT_EQ(s.anois.sxgu, r.sygu);
    EXPECT_EQ(s.anois.sxgl, r.sygl);
    EXPECT_EQ(s.c_method_used.method_used, r.method);
}

// Toronto to a receiver at 51 N 0 E, March, -145 dBW man-made noise: at and
// between the blocks' middles, with and without galactic noise, above the
// 10 and 20 MHz where the curves of the deciles and errors stop, and one
// hour where the power-sum limit holds.
TEST_F(NoiseMaps, CombinedAtAMidLatitudeReceiverInMarch) {
    auto state = Month(3, 50.f);
    TModelState &s = *state;
    const float lat = 0.890117884f;
    ExpectCombined(s, {2.f, lat, 4, 4, 36.8913918f, 36.8913918f, 14.f, 14.f, 7.01605463f, 145},
                   {-140.106598f, 9.69593525f, 5.99822807f, 5.38518381f, 1.49729896f, 1.4964993f, 2});
    ExpectCombined(s, {8.f, lat, 4, 5, 36.8913918f, 51.7385406f, 15.f, 14.f, 7.0943923f, 145},
                   {-156.355377f, 9.54583549f, 5.7912879f, 4.88112116f, 1.42502129f, 1.45135617f, 2});
    ExpectCombined(s, {5.f, lat, 4, 4, 36.8913918f, 36.8913918f, 14.f, 14.f, 7.01605463f, 145},
                   {-151.111572f, 9.68936729f, 5.99221659f, 5.3629632f, 1.49348128f, 1.49244773f, 2});
    ExpectCombined(s, {11.f, lat, 4, 4, 36.8913918f, 36.8913918f, 14.f, 14.f, 7.01605463f, 145},
                   {-159.900604f, 9.44292259f, 5.64673376f, 4.58104944f, 1.40315008f, 1.44909549f, 2});
    ExpectCombined(s, {2.f, lat, 5, 4, 51.7385406f, 36.8913918f, 17.f, 18.f, 7.05512094f, 145},
                   {-140.105347f, 9.84628391f, 6.07895851f, 5.3836484f, 1.45931292f, 1.4746381f, 1});
    ExpectCombined(s, {20.8756523f, lat, 5, 5, 51.7385406f, 51.7385406f, 18.f, 18.f, 6.95047426f, 145},
                   {-168.224609f, 9.66066933f, 5.89267826f, 5.26580477f, 1.47702265f, 1.50518763f, 2});
}

// Singapore in July with a quiet site (-160 dBW): atmospheric noise rules,
// its deciles pass 12 dB at 2 MHz and the spread is limited by the power sum.
TEST_F(NoiseMaps, CombinedWhereAtmosphericNoiseRules) {
    auto state = Month(7, 150.f);
    TModelState &s = *state;
    const float lat = 0.0226892792f;
    ExpectCombined(s, {2.f, lat, 4, 5, 70.2753754f, 82.5152283f, 14.9200001f, 14.f, 13.7154646f, 160},
                   {-145.904449f, 17.2949104f, 13.812088f, 6.4718833f, 5.61514044f, 5.16552448f, 1});
    ExpectCombined(s, {2.f, lat, 5, 4, 82.5152283f, 70.2753754f, 16.9200001f, 18.f, 13.4575377f, 160},
                   {-138.154968f, 16.5548573f, 14.5260658f, 5.62821054f, 5.28466845f, 4.80117273f, 1});
    ExpectCombined(s, {5.f, lat, 4, 5, 70.2753754f, 82.5152283f, 14.9200001f, 14.f, 13.7154646f, 160},
                   {-159.392426f, 13.6411819f, 9.7741375f, 4.56659508f, 4.4379077f, 3.53432584f, 1});
    ExpectCombined(s, {6.f, lat, 5, 4, 82.5152283f, 70.2753754f, 17.9200001f, 18.f, 13.2684784f, 160},
                   {-149.467529f, 11.8769531f, 10.5190563f, 4.52471542f, 3.27970219f, 3.0128901f, 2});
    ExpectCombined(s, {15.4307938f, lat, 5, 4, 82.5152283f, 70.2753754f, 16.9200001f, 18.f, 13.4575377f, 160},
                   {-165.23143f, 7.02575207f, 5.40172291f, 4.665236f, 2.21642065f, 1.65945816f, 2});
    ExpectCombined(s, {16.5200348f, lat, 4, 5, 70.2753754f, 82.5152283f, 15.9200001f, 14.f, 13.6753321f, 160},
                   {-167.642151f, 6.86307955f, 4.99635029f, 4.0360837f, 2.19464755f, 1.56846571f, 2});
    ExpectCombined(s, {21.f, lat, 4, 5, 70.2753754f, 82.5152283f, 14.9200001f, 14.f, 13.7154646f, 160},
                   {-175.253693f, 6.6813674f, 3.82335901f, 2.87266588f, 1.55012584f, 1.61655021f, 2});
}

// A receiver at 77.8 S in February (residential, index -2): the southern
// hemisphere's blocks.
TEST_F(NoiseMaps, CombinedAtASouthernReceiver) {
    auto state = Month(2, 30.f);
    TModelState &s = *state;
    const float lat = -1.35786617f;
    ExpectCombined(s, {3.f, lat, 4, 5, 11.8682652f, 25.4576855f, 14.1133327f, 14.f, 5.66130638f, -2},
                   {-144.715515f, 9.69974041f, 5.999897f, 5.39907074f, 1.49983144f, 1.49977732f, 2});
    ExpectCombined(s, {6.f, lat, 4, 5, 11.8682652f, 25.4576855f, 14.1133327f, 14.f, 5.66130638f, -2},
                   {-152.964127f, 9.65345097f, 5.95373726f, 5.28844309f, 1.48596561f, 1.48583841f, 1});
    ExpectCombined(s, {21.f, lat, 5, 4, 25.4576855f, 11.8682652f, 16.1133327f, 18.f, 5.31947136f, -2},
                   {-168.050903f, 9.67321491f, 5.92118788f, 5.30810404f, 1.48402822f, 1.50465178f, 2});
}

// The man-made level at the frequency (dBW) and the 3 MHz level reported
// (dB below 1 W) for levels given in dBW and for the environment indices
// 1..4 (industrial, residential, rural, remote: remote slopes 28.6 dB).
TEST(Noise, ManMadeNoiseFromTheSystemCard) {
    struct TManMade {
        int noise;
        float freq, xnoise, znoise;
    };
    const TManMade cases[] = {
        {-4, 4.19999981f, -168.22493f, 164.045654f}, {-3, 17.3604088f, -171.135818f, 150.016266f},
        {-2, 26.f, -170.694763f, 144.716263f},       {-1, 11.2506552f, -156.317627f, 140.41626f},
        {130, 21.0616856f, -153.440765f, 130.f},     {145, 14.f, -163.52774f, 145.f},
        {150, 7.68813133f, -161.31723f, 150.f},      {164, 12.463686f, -181.12941f, 164.f},
    };
    TModelState s;
    s.two.f2d(1, 1, 1) = 1.f;
    s.anois.kj = s.anois.jk = 1;
    s.ron.kfx = 1;
    for (const TManMade &c : cases) {
        SCOPED_TRACE(testing::Message() << "noise " << c.noise << " freq " << c.freq);
        s.ion.noise = c.noise;
        s.frq.freq = c.freq;
        CombineNoise(s);
        EXPECT_EQ(s.ton.xnoise, c.xnoise);
        EXPECT_EQ(s.c_noises.xn_mmn, c.xnoise);
        EXPECT_EQ(s.ton.znoise, c.znoise);
    }
}

// Galactic noise counts only above the F2 critical frequency of the
// receiver's control point; below it the part is -204 dBW and left out.
TEST(Noise, GalacticNoiseOnlyAboveTheF2CriticalFrequency) {
    TModelState s;
    s.two.f2d(1, 1, 1) = 1.f;
    s.anois.kj = s.anois.jk = 1;
    s.ion.noise = 145;
    s.ron.kfx = 1;
    s.ron.fi(3, 1) = 7.f;
    const float above[][2] = {{11.7886801f, -176.643692f}, {14.2436266f, -178.533279f}};
    for (const auto &[freq, gnos] : above) {
        s.frq.freq = freq;
        CombineNoise(s);
        EXPECT_EQ(s.ton.gnos, gnos);
        EXPECT_EQ(s.c_noises.xn_galactic, gnos);
        EXPECT_EQ(s.c_noise.mode_n2, 1);
    }
    for (const float freq : {7.f, 2.f}) {
        s.frq.freq = freq;
        CombineNoise(s);
        EXPECT_EQ(s.ton.gnos, -204.f);
        EXPECT_EQ(s.c_noise.mode_n2, 0);
    }
}

// The two 4-hour blocks around the receiver's local time: the one holding it
// and its neighbour on the side of the local time from the block's middle
// (the same block exactly at the middle), wrapping around midnight.
TEST(Noise, AtmosphericNoiseAtHourPicksTheBlocks) {
    struct TBlocks {
        float gmtr;
        int kj, jk;
        float tm;
    };
    const TBlocks cases[] = {
        {0.f, 1, 6, 2.f},         {2.f, 1, 1, 2.f},          {2.00000191f, 1, 2, 2.f},
        {5.99133301f, 2, 1, 6.f}, {11.991333f, 3, 4, 10.f},  {16.f, 5, 4, 18.f},
        {22.f, 6, 6, 22.f},       {22.0000019f, 6, 1, 22.f}, {24.f, 6, 1, 22.f},
    };
    TModelState s;
    s.two.f2d(1, 1, 1) = 1.f;
    s.con.r2d = 57.2957802f;
    for (const TBlocks &c : cases) {
        SCOPED_TRACE(testing::Message() << "local time " << c.gmtr);
        s.time.gmtr = c.gmtr;
        AtmosphericNoiseAtHour(s);
        EXPECT_EQ(s.anois.kj, c.kj);
        EXPECT_EQ(s.anois.jk, c.jk);
        EXPECT_EQ(s.anois.tm, c.tm);
        EXPECT_EQ(s.anois.cc, c.gmtr);
    }
    // Without the month's maps there is no atmospheric noise.
    s.two.f2d(1, 1, 1) = 0.f;
    s.anois.atnu = s.anois.atny = 50.f;
    AtmosphericNoiseAtHour(s);
    EXPECT_EQ(s.anois.atnu, 0.f);
    EXPECT_EQ(s.anois.atny, 0.f);
}

// The efficiency the modes get is the receiving antenna's at the frequency,
// not the transmitting one's; the noise itself does not depend on it.
TEST_F(NoiseMaps, ComputeNoiseGivesTheModesTheReceivingAntennasEfficiency) {
    auto state = Month(3, 50.f);
    TModelState &s = *state;
    auto &a = s.cantenna;
    a.numants = 2;
    for (int slot = 1; slot <= 2; ++slot) {
        a.iats(slot) = slot;
        a.xfqs(slot) = 2.f;
        a.xfqe(slot) = 30.f;
        for (int mhz = 1; mhz <= 30; ++mhz) a.aeff(mhz, slot) = slot == 1 ? -1.f : -0.25f * float(mhz);
    }
    const TCase march{8.f, 0.890117884f, 4, 5, 36.8913918f, 51.7385406f, 15.f, 14.f, 7.0943923f, 145};
    ExpectCombined(s, march, {-156.355377f, 9.54583549f, 5.7912879f, 4.88112116f, 1.42502129f, 1.45135617f, 2});
    ComputeNoise(s);
    EXPECT_EQ(s.anois.rcnse, -156.355377f);
    for (int mode = 1; mode <= 6; ++mode) EXPECT_EQ(s.zon.eff(mode), -2.f);
    EXPECT_EQ(s.zon.eff(7), 0.f);
}

// The 1 MHz atmospheric noise of both blocks at receivers north and south,
// east and west (a western one's longitude taken from radians), as the
// reference's ANOIS1 left it.
TEST_F(NoiseMaps, AtmosphericNoiseAtTheReceiver) {
    struct TReceiver {
        int month;
        float ssn, gmtr, rlat, rlong, rlongd;
        int kj, jk;
        float atnu, atny;
    };
    const TReceiver cases[] = {
        {3, 50.f, 3.f, 0.890117884f, 0.f, 0.f, 1, 2, 68.2292023f, 44.8171082f},
        {1, 80.f, 18.0806675f, -0.591143012f, 2.63911247f, 151.210007f, 5, 6, 73.427803f, 79.2576599f},
        {10, 250.f, 3.54000092f, 0.183259577f, -1.16762531f, -66.9000015f, 1, 2, 91.2481842f, 82.0522156f},
        {8, 60.f, 18.4799995f, 0.371755123f, -2.75412965f, -157.800003f, 5, 6, 38.1840248f, 63.6771889f},
    };
    for (const TReceiver &c : cases) {
        SCOPED_TRACE(testing::Message() << "month " << c.month << " local time " << c.gmtr);
        auto s = Month(c.month, c.ssn);
        s->time.gmtr = c.gmtr;
        s->don.rlat = c.rlat;
        s->don.rlong = c.rlong;
        s->don.rlongd = c.rlongd;
        AtmosphericNoiseAtHour(*s);
        EXPECT_EQ(s->anois.kj, c.kj);
        EXPECT_EQ(s->anois.jk, c.jk);
        EXPECT_EQ(s->anois.atnu, c.atnu);
        EXPECT_EQ(s->anois.atny, c.atny);
    }
}

// The other two maps the series serves: land or sea (7) and the F2 ratio of
// height of maximum to semi-thickness (8, a shorter series, sunspot
// dependent), at control points of two circuits.
TEST_F(NoiseMaps, LandAndF2RatioMaps) {
    struct TPoint {
        int kj;
        float xla, ceg, value;
    };
    const TPoint june[] = {{7, 51.5269356f, 273.647003f, 1.00643373f},
                           {7, 68.0168533f, 200.599487f, 0.821700275f},
                           {8, 17.3222885f, 263.8078f, 3.26160526f},
                           {8, 20.2518387f, 231.048035f, 2.42101359f}};
    const TPoint april[] = {{7, 49.5191116f, 359.26297f, 0.292188168f},
                            {7, 16.4324512f, 331.024261f, -1.28768837f},
                            {8, 10.8595123f, 63.2678604f, 4.7570076f},
                            {8, -19.9353714f, 335.117981f, 3.89571261f}};
    auto check = [](TModelState &s, const TPoint &p) {
        SCOPED_TRACE(testing::Message() << "map " << p.kj << " at " << p.xla << ", " << p.ceg);
        float value = 0.f;
        NoiseAtLocation(s, p.kj, p.xla, p.ceg, value);
        EXPECT_EQ(value, p.value);
    };
    auto s = Month(6, 120.f);
    for (const TPoint &p : june) check(*s, p);
    s = Month(4, 10.f);
    for (const TPoint &p : april) check(*s, p);
}

} // namespace
