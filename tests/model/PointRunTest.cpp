// The parts of the run drivers that are rules of their own: the frequency
// sweeps of FREQUENCY -1 and the choice of the short- or long-path model
// (HFMUFS and HFAREA compare the distance differently).
#include "model/PointRun.h"

#include "model/RunSetup.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vx::model;

TEST(PointRun, SweepsCoverWholeMegahertzTwoToThirty) {
    TTable<float, 29> frel;
    frel.Fill(7.f);
    SweepFrequencies(1, frel);
    EXPECT_EQ(frel(1), 2.f);
    EXPECT_EQ(frel(9), 10.f);
    EXPECT_EQ(frel(10), 0.f);
    EXPECT_EQ(frel(11), 0.f);
    EXPECT_EQ(frel(14), 7.f); // the flag slot is left alone
    SweepFrequencies(2, frel);
    EXPECT_EQ(frel(1), 11.f);
    EXPECT_EQ(frel(10), 20.f);
    EXPECT_EQ(frel(11), 0.f);
    SweepFrequencies(3, frel);
    EXPECT_EQ(frel(1), 21.f);
    EXPECT_EQ(frel(10), 30.f);
    EXPECT_EQ(frel(11), 0.f);
}

TEST(PointRun, LongPathModelFromTenThousandKilometres) {
    auto s = std::make_unique<TModelState>();
    InitialiseState(*s);
    s->ion.method = 23;
    s->don.gcdkm = 9999.f;
    EXPECT_EQ(PathModelFlag(*s, false), 100);
    s->don.gcdkm = 10000.f;
    EXPECT_EQ(PathModelFlag(*s, false), 200);
    // An area cell must lie beyond the limit.
    s->ion.method = 20;
    s->contrl.mspec = 121;
    EXPECT_EQ(PathModelFlag(*s, true), 100);
    s->don.gcdkm = 10000.5f;
    EXPECT_EQ(PathModelFlag(*s, true), 200);
    // Methods that force one model.
    s->ion.method = 22;
    EXPECT_EQ(PathModelFlag(*s, false), 100);
    s->ion.method = 21;
    s->contrl.mspec = 0;
    s->don.gcdkm = 100.f;
    EXPECT_EQ(PathModelFlag(*s, false), 200);
}
