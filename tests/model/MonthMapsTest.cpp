// The month's maps for a sunspot number, against the values the reference's
// REDMAP leaves in its common blocks for the same month, sunspot number and
// coefficient set (printed to the bit, hence the hexadecimal literals).
#include "model/MonthMaps.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vx::model;

namespace {

class MonthMaps : public testing::Test {
protected:
    static void SetUpTestSuite() {
        auto load = LoadModelData(std::string(VX_SOURCE_DIR) + "/data/" + kModelDataFileName);
        ASSERT_EQ(load.Error, "");
        Data = load.Data;
    }
    static void TearDownTestSuite() { Data.reset(); }

    std::unique_ptr<TModelState> Run(float ssn, int month, const char *coeff) {
        auto s = std::make_unique<TModelState>();
        s->ccoeff.coeff = coeff;
        ReadMonthMaps(*Data, *s, ssn, month);
        return s;
    }

    static std::shared_ptr<const TModelData> Data;
};

std::shared_ptr<const TModelData> MonthMaps::Data;

} // namespace

TEST_F(MonthMaps, MarchAtFiftySunspotsCcir) {
    auto s = Run(50.0f, 3, "CCIR");
    EXPECT_EQ(s->one.f2cof(1, 1), 0x1.feb314p+2f);
    EXPECT_EQ(s->one.f2cof(7, 40), 0x1.0c9668p-1f);
    EXPECT_EQ(s->one.eslcof(3, 20), 0x1.4aaee6p+6f);
    EXPECT_EQ(s->one.esmcof(7, 61), -0x1.c617e2p-6f);
    EXPECT_EQ(s->one.esucof(5, 55), 0x1.8ddf10p-6f);
    EXPECT_EQ(s->one.fm3cof(9, 49), 0x1.7abe3ap-8f);
    EXPECT_EQ(s->one.ercof(4, 11), 0x1.af4570p-8f);
    EXPECT_EQ(s->one.ikim(9, 6), 21);
    // /TWO/: fakp, fakmap and hmym are the three parts of p; fakabp and
    // abmap the two parts of abp.
    EXPECT_EQ(s->two.p(29, 16, 6), 0x1.cf98d4p-5f);
    EXPECT_EQ(s->two.p(10, 10, 7), 0x1.052efep-6f);
    EXPECT_EQ(s->two.p(13, 8, 8), 0x1.1d1ca0p-8f);
    EXPECT_EQ(s->two.abp(1, 1), 0x1.3a4550p+5f);
    EXPECT_EQ(s->two.abp(2, 9), 0x1.45f308p-2f);
    EXPECT_EQ(s->two.dud(5, 12, 5), 0x1.1166e4p+2f);
    EXPECT_EQ(s->two.sys(9, 16, 6), 0x1.3f7ceep+4f);
    EXPECT_EQ(s->two.perr(1, 1, 1), 0x1.666666p+2f);
    EXPECT_EQ(s->two.f2d(16, 6, 6), 0x1.a3d70ap-1f);
    EXPECT_EQ(s->fone.anew(1), 0x1.6153f4p+1f);
    EXPECT_EQ(s->fone.bchi(2), -0x1.7060b2p-5f);
}

TEST_F(MonthMaps, NovemberUrsiAtAFractionalSunspotNumber) {
    auto s = Run(137.5f, 11, "URSI");
    EXPECT_EQ(s->ccoeff.coeff.View(), "URSI");
    EXPECT_EQ(s->one.f2cof(1, 1), 0x1.54be80p+3f);
    EXPECT_EQ(s->one.f2cof(7, 40), 0x1.dc41dcp-2f);
    EXPECT_EQ(s->one.eslcof(3, 20), 0x1.557f36p+6f);
    EXPECT_EQ(s->one.esmcof(7, 61), -0x1.b9a6f4p-5f);
    // Single precision as written: the same blend in double precision,
    // rounded at the end, gives -0x1.5e3798p-4 here.
    EXPECT_EQ(s->one.esmcof(4, 1), -0x1.5e379ap-4f);
    EXPECT_EQ(s->one.esucof(5, 55), 0x1.cad2e6p-5f);
    EXPECT_EQ(s->one.fm3cof(9, 49), -0x1.1f849ep-11f);
    EXPECT_EQ(s->one.ercof(4, 11), -0x1.a6cd38p-6f);
    EXPECT_EQ(s->two.p(13, 8, 8), -0x1.cdfc28p-15f);
    EXPECT_EQ(s->two.abp(1, 1), 0x1.1769ecp+5f);
    EXPECT_EQ(s->fone.anew(1), 0x1.5e99c8p+1f);
}

TEST_F(MonthMaps, OnlyTheFoF2MapsDependOnTheSet) {
    auto ursi = Run(137.5f, 11, "URSI");
    auto ccir = Run(137.5f, 11, "CCIR");
    EXPECT_EQ(ccir->one.f2cof(7, 40), 0x1.21c548p-2f);
    EXPECT_NE(ccir->one.f2cof.Data, ursi->one.f2cof.Data);
    EXPECT_EQ(ccir->one.esmcof.Data, ursi->one.esmcof.Data);
    EXPECT_EQ(ccir->two.p.Data, ursi->two.p.Data);
}

TEST_F(MonthMaps, AnyOtherSetNameBecomesCcir) {
    auto s = Run(0.0f, 7, "");
    EXPECT_EQ(s->ccoeff.coeff.View(), "CCIR");
    EXPECT_EQ(s->one.f2cof(1, 1), 0x1.3115ccp+2f);
    EXPECT_EQ(s->two.p(13, 8, 8), 0x1.c21864p-8f);
    EXPECT_EQ(Run(0.0f, 7, "ursi")->ccoeff.coeff.View(), "CCIR");
}

TEST_F(MonthMaps, LeavesTheFixedIndexTablesAlone) {
    auto s = std::make_unique<TModelState>();
    s->one.ia(1) = 1;
    s->one.ia(6) = 2407;
    s->one.ib(4) = 13;
    ReadMonthMaps(*Data, *s, 80.0f, 1);
    EXPECT_EQ(s->one.ia(1), 1);
    EXPECT_EQ(s->one.ia(6), 2407);
    EXPECT_EQ(s->one.ib(4), 13);
}
