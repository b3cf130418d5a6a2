// The edit descriptors against what gfortran 12 (-O2 -fno-sign-zero, the
// reference's build) printed for the same REAL values. (Beyond these cases
// the formatter matched gfortran on 300,000 random values in 20 formats.)
#include "model/FortranFormat.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <string>

namespace ff = vx::model::fortran;

namespace {

std::string F(float value, int width, int decimals) {
    std::string out;
    ff::AppendF(out, value, width, decimals);
    return out;
}

std::string I(long long value, int width, int minDigits = 1) {
    std::string out;
    ff::AppendI(out, value, width, minDigits);
    return out;
}

float Bits(std::uint32_t bits) { return std::bit_cast<float>(bits); }

} // namespace

TEST(FortranFormat, ExactTiesRoundToEven) {
    EXPECT_EQ(F(0.25f, 5, 1), "  0.2");
    EXPECT_EQ(F(0.75f, 5, 1), "  0.8");
    EXPECT_EQ(F(2.5f, 5, 0), "   2.");
    EXPECT_EQ(F(3.5f, 5, 0), "   4.");
    EXPECT_EQ(F(12.25f, 5, 1), " 12.2");
    EXPECT_EQ(F(-12.25f, 6, 1), " -12.2");
    EXPECT_EQ(F(0.0625f, 5, 2), " 0.06");
    EXPECT_EQ(F(0.0625f, 6, 3), " 0.062");
}

TEST(FortranFormat, TheBinaryValueDecidesNotTheDecimalLiteral) {
    // 0.05f is 0.0500000007..., 99.95f is 99.9499969...
    EXPECT_EQ(F(0.05f, 5, 1), "  0.1");
    EXPECT_EQ(F(0.15f, 5, 1), "  0.2");
    EXPECT_EQ(F(99.95f, 5, 1), " 99.9");
    EXPECT_EQ(F(999.95f, 10, 4), "  999.9500");
    EXPECT_EQ(F(9999.9f, 10, 4), " 9999.9004");
    EXPECT_EQ(F(Bits(0x40AAF0AF), 6, 3), " 5.342");
    EXPECT_EQ(F(Bits(0xC272AEEE), 10, 4), "  -60.6708");
}

TEST(FortranFormat, NoMinusSignOnAZeroResult) {
    EXPECT_EQ(F(-0.0f, 5, 1), "  0.0");
    EXPECT_EQ(F(-0.04f, 5, 1), "  0.0");
    EXPECT_EQ(F(-0.5f, 5, 0), "   0.");
    EXPECT_EQ(F(-0.3f, 3, 0), " 0.");
    EXPECT_EQ(F(-0.0004f, 6, 3), " 0.000");
    EXPECT_EQ(F(-0.05f, 5, 1), " -0.1");
    EXPECT_EQ(F(-0.25f, 5, 2), "-0.25");
}

TEST(FortranFormat, LeadingZeroOnlyWhenThereIsRoom) {
    EXPECT_EQ(F(0.5f, 4, 3), ".500");
    EXPECT_EQ(F(-0.5f, 5, 3), "-.500");
    EXPECT_EQ(F(0.5f, 3, 1), "0.5");
    EXPECT_EQ(F(0.3f, 2, 0), "0.");
    EXPECT_EQ(F(0.25f, 4, 0), "  0.");
    EXPECT_EQ(F(0.3486f, 1, 0), "*");
    EXPECT_EQ(F(Bits(0x3A091DBB), 3, 1), "0.0");
}

TEST(FortranFormat, InfinityAndNaN) {
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(F(std::numeric_limits<float>::quiet_NaN(), 5, 1), "  NaN");
    EXPECT_EQ(F(std::numeric_limits<float>::quiet_NaN(), 2, 0), "**");
    EXPECT_EQ(F(inf, 5, 1), "  Inf");
    EXPECT_EQ(F(-inf, 5, 1), " -Inf");
    EXPECT_EQ(F(inf, 9, 1), " Infinity");
    EXPECT_EQ(F(-inf, 10, 1), " -Infinity");
    EXPECT_EQ(F(inf, 3, 0), "Inf");
    EXPECT_EQ(F(-inf, 4, 1), "-Inf");
}

TEST(FortranFormat, TooWideFillsTheFieldWithAsterisks) {
    EXPECT_EQ(F(999.95f, 5, 1), "*****");
    EXPECT_EQ(F(-99.95f, 5, 2), "*****");
    EXPECT_EQ(F(-99.96f, 5, 1), "*****");
    EXPECT_EQ(F(-9.96f, 5, 1), "-10.0");
    EXPECT_EQ(F(9.96f, 4, 1), "10.0");
    EXPECT_EQ(F(1.0e10f, 10, 4), "**********");
    EXPECT_EQ(F(-12.25f, 4, 1), "****");
    EXPECT_EQ(F(99999.0f, 6, 1), "******");
}

TEST(FortranFormat, Integers) {
    EXPECT_EQ(I(100, 2), "**");
    EXPECT_EQ(I(5, 2, 2), "05");
    EXPECT_EQ(I(5, 3, 2), " 05");
    EXPECT_EQ(I(-5, 3, 2), "-05");
    EXPECT_EQ(I(-5, 2), "-5");
    EXPECT_EQ(I(-1, 1), "*");
    EXPECT_EQ(I(-10000, 5), "*****");
    EXPECT_EQ(I(-2189, 5), "-2189");
}

TEST(FortranFormat, TextFields) {
    std::string out;
    ff::AppendA(out, "default/isotrope", 21);
    ff::AppendA(out, "TANGLE", 4);
    ff::AppendX(out, 2);
    EXPECT_EQ(out, "     default/isotropeTANG  ");
}

TEST(FortranFormat, RoundingToWholeNumbers) {
    EXPECT_EQ(ff::NearestWhole(2.5f), 3.0f);
    EXPECT_EQ(ff::NearestWhole(-2.5f), -3.0f);
    EXPECT_EQ(ff::NearestInt(-0.5f), -1);
    EXPECT_EQ(ff::NearestInt(0.49999997f), 0);
    EXPECT_EQ(ff::TruncateToInt(1.0e10f), std::numeric_limits<int>::min());
    EXPECT_EQ(I(ff::TruncateToInt(-3.0e9f), 5), "*****");
    EXPECT_EQ(ff::TruncateToInt(-7.9f), -7);
}
