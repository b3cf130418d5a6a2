// The shortcuts of the fixed-field reader and of the write-and-read-back of
// gain tables must give the same float, bit for bit, as going through text
// with the C library (snprintf / strtof), which is what the reference's
// formatted I/O amounts to. Values are drawn to hit the hard cases: exact
// decimal ties, values next to a width's limit, long digit strings, signs
// of zero.
#include "model/AntennaText.h"
#include "model/FortranFormat.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

using namespace vx::model;

namespace {

// The independent route: printf's rounding, the field width, strtof.
bool RoundTripThroughText(float value, int width, int decimals, float &result) {
    std::string text;
    if (!WriteFixedReal(value, width, decimals, text)) return false;
    result = std::strtof(text.c_str(), nullptr);
    return true;
}

void ExpectSameRoundTrip(float value, int width, int decimals) {
    float fast = 12345.f, slow = 12345.f;
    const bool fastFits = FixedRoundTrip(value, width, decimals, fast);
    const bool slowFits = RoundTripThroughText(value, width, decimals, slow);
    ASSERT_EQ(fastFits, slowFits) << value << " F" << width << "." << decimals;
    if (fastFits) {
        ASSERT_EQ(std::bit_cast<uint32_t>(fast), std::bit_cast<uint32_t>(slow))
            << std::hexfloat << value << " F" << width << "." << decimals << ": " << fast << " vs " << slow;
    }
}

// F editing of a float as the C library's exact conversion gives its digits:
// no sign on a value that rounds to zero, the lone zero before the point
// dropped when the field has no room for it, stars when it does not fit.
std::string ExpectedF(float value, int width, int decimals) {
    char digits[128];
    std::snprintf(digits, sizeof digits, "%.*f", decimals, std::fabs(double(value)));
    std::string whole = digits, fraction;
    if (const std::size_t point = whole.find('.'); point != std::string::npos) {
        fraction = whole.substr(point + 1);
        whole.resize(point);
    }
    const bool zero = std::string(digits).find_first_not_of("0.") == std::string::npos;
    std::string text = std::signbit(value) && !zero ? "-" : "";
    if (!(whole == "0" && decimals > 0 && int(text.size() + whole.size() + 1 + fraction.size()) > width)) text += whole;
    text += "." + fraction;
    if (int(text.size()) > width) return std::string(std::size_t(width), '*');
    return std::string(std::size_t(width) - text.size(), ' ') + text;
}

} // namespace

TEST(FixedFieldShortcut, ReportFieldsHaveTheLibrarysDigits) {
    std::mt19937 random(2312);
    std::uniform_int_distribution<int> decimalsOf(0, 5), widthOf(3, 10), exponentOf(-20, 32);
    std::uniform_real_distribution<float> mantissa(-1.f, 1.f);
    auto check = [](float value, int width, int decimals) {
        std::string text;
        vx::model::fortran::AppendF(text, value, width, decimals);
        ASSERT_EQ(text, ExpectedF(value, width, decimals))
            << std::hexfloat << value << " F" << width << "." << decimals;
    };
    for (int i = 0; i < 200000; ++i)
        check(std::ldexp(mantissa(random), exponentOf(random)), widthOf(random), decimalsOf(random));
    for (int decimals = 0; decimals <= 5; ++decimals)
        for (int k = -3000; k <= 3000; ++k)
            for (int width : {4, 5, 7, 9}) check(std::ldexp(float(2 * k + 1), -(decimals + 1)), width, decimals);
    for (float value : {0.0f, -0.0f, -0.004f, 0.5f, -0.5f, 999.995f, -99.5f, 5.0e8f, 1.0e9f, 3.0e10f})
        for (int decimals = 0; decimals <= 5; ++decimals)
            for (int width = 1; width <= 12; ++width) check(value, width, decimals);
}

TEST(FixedFieldShortcut, RoundTripMatchesTextForDrawnValues) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> decimalsOf(0, 5), widthOf(3, 11), exponentOf(-20, 30);
    std::uniform_real_distribution<float> mantissa(-1.f, 1.f);
    for (int i = 0; i < 200000; ++i) {
        const int decimals = decimalsOf(random);
        const float value = std::ldexp(mantissa(random), exponentOf(random));
        ExpectSameRoundTrip(value, widthOf(random), decimals);
    }
}

TEST(FixedFieldShortcut, RoundTripMatchesTextAtTiesZerosAndWidthLimits) {
    // Exact binary ties at each number of decimals, both signs.
    for (int decimals = 0; decimals <= 5; ++decimals)
        for (int k = -4000; k <= 4000; ++k) {
            const float tie = std::ldexp(float(2 * k + 1), -(decimals + 1)); // odd multiples of 2^-(d+1)
            for (int width : {4, 6, 7, 8, 10}) ExpectSameRoundTrip(tie, width, decimals);
        }
    for (float value : {0.0f, -0.0f, -0.0004f, 0.0005f, -0.0005f, 0.4999f, -0.5f, 9.9995f, 99.9995f, -99.99f, 999.9995f,
                        -999.9995f, 1.0e8f, 9.99e8f, 1.5e9f, INFINITY, -INFINITY, NAN})
        for (int decimals = 0; decimals <= 5; ++decimals)
            for (int width = 2; width <= 12; ++width) ExpectSameRoundTrip(value, width, decimals);
}

TEST(FixedFieldShortcut, FieldsReadAsStrtofReadsTheirDigits) {
    std::mt19937 random(8121226);
    std::uniform_int_distribution<uint32_t> digitsOf(0, (1u << 25));
    std::uniform_int_distribution<int> decimalsOf(0, 5), placeOf(-1, 10), blankOf(0, 3);
    for (int i = 0; i < 200000; ++i) {
        const uint32_t n = digitsOf(random) >> (i % 20);
        const bool negative = i % 3 == 0;
        std::string digits = std::to_string(n);
        if (i % 7 == 0) digits.insert(0, "00");
        const int place = placeOf(random); // -1: no point, implied decimals
        const int decimals = decimalsOf(random);
        std::string field = negative ? "-" : (i % 5 == 0 ? "+" : "");
        int scale = -decimals;
        if (place >= 0 && place <= int(digits.size())) {
            scale = -int(digits.size() - std::size_t(place));
            digits.insert(std::size_t(place), ".");
        }
        field += digits;
        for (int b = blankOf(random); b > 0; --b) field.insert(std::size_t(i % (int(field.size()) + 1)), " ");
        std::string plain;
        for (char c : field)
            if (c != ' ' && c != '.' && c != '+') plain.push_back(c);
        const float expected = std::strtof((plain + "e" + std::to_string(scale)).c_str(), nullptr);
        float value = 12345.f;
        ASSERT_TRUE(ParseFixedReal(field, decimals, value)) << '"' << field << '"';
        ASSERT_EQ(std::bit_cast<uint32_t>(value), std::bit_cast<uint32_t>(expected))
            << '"' << field << "\" with " << decimals << " implied decimals: " << value << " vs " << expected;
    }
}
