// Formatted output edited as the reference's compiler library edits it
// (gfortran, built with -fno-sign-zero): the F, I and A edit descriptors,
// and the rounding intrinsics the report routines apply before printing.
// Every function appends to a string; numbers always use "." whatever the
// locale.
#pragma once

#include <limits>
#include <string>
#include <string_view>

namespace vx::model::fortran {

// Fw.d: the exact binary value rounded to d decimals (ties to even, as the
// decimal conversion of the library does), right-justified in w columns.
// A zero integer part is printed as "0" only when the field has room for
// it (always with d = 0). No minus sign when every printed digit is zero (-fno-sign-zero).
// A number too wide for the field fills it with asterisks. A float argument
// is widened exactly, so REAL and DOUBLE PRECISION print alike.
void AppendF(std::string &out, double value, int width, int decimals);

// Iw and Iw.m: right-justified, at least m digits (zero-filled), asterisks
// when the number does not fit.
void AppendI(std::string &out, long long value, int width, int minDigits = 1);

// Aw: text longer than w keeps its leftmost w characters; shorter text is
// preceded by blanks.
void AppendA(std::string &out, std::string_view text, int width);

// nX within a record: n blanks.
void AppendX(std::string &out, int count);

// ANINT on a REAL: the nearest whole number, halves away from zero.
float NearestWhole(float value);

// NINT on a REAL: ANINT converted to an integer.
int NearestInt(float value);

// A REAL stored into an INTEGER (truncation), as the compiled code does it
// on x86-64: a value out of range, or NaN, becomes the most negative
// integer, which then prints as asterisks. Inline: FOBBY's table calls it
// for every ray and height.
inline int TruncateToInt(float value) {
    constexpr float kLimit = 2147483648.0f;
    if (!(value > -kLimit - 1.0f && value < kLimit)) return std::numeric_limits<int>::min();
    return int(value);
}

} // namespace vx::model::fortran
