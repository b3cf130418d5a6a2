#include "model/FortranFormat.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace vx::model::fortran {

namespace {

void AppendStars(std::string &out, int width) { out.append(std::size_t(width > 0 ? width : 0), '*'); }

void AppendRight(std::string &out, std::string_view text, int width) {
    if (int(text.size()) > width) {
        AppendStars(out, width);
        return;
    }
    out.append(std::size_t(width) - text.size(), ' ');
    out.append(text);
}

// Infinity and NaN as the library spells them in a field of w columns.
void AppendNonFinite(std::string &out, double value, int width) {
    if (std::isnan(value)) {
        AppendRight(out, "NaN", width);
        return;
    }
    const bool negative = value < 0;
    const int room = negative ? width - 1 : width;
    std::string text = negative ? "-" : "";
    text += room >= 8 ? "Infinity" : "Inf";
    AppendRight(out, text, width);
}

// AppendF for the usual value, a float's (the model's REAL) with at most
// five decimals and below 1e9: times 10^decimals it is exact in a double, so
// rounding that to an integer (ties to even) gives the digits the exact
// conversion gives. False, with nothing written, for any other value.
bool AppendFloatF(std::string &out, double value, int width, int decimals) {
    constexpr double kScale[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5};
    if (decimals < 0 || decimals > 5 || !(std::fabs(value) < 1e9) || double(float(value)) != value) return false;
    const double rounded = std::nearbyint(std::fabs(value) * kScale[decimals]);
    unsigned long long digits = static_cast<unsigned long long>(rounded);
    char text[32];
    int at = 32;
    for (int k = 0; k < decimals; ++k, digits /= 10) text[--at] = char('0' + digits % 10);
    text[--at] = '.';
    const bool wholeZero = digits == 0;
    do {
        text[--at] = char('0' + digits % 10);
        digits /= 10;
    } while (digits > 0);
    if (std::signbit(value) && rounded != 0.0) text[--at] = '-';
    // With no decimals the zero is the only digit and stays; otherwise it
    // goes when the field has no room for it.
    if (wholeZero && decimals > 0 && 32 - at > width) {
        const int zero = text[at] == '-' ? at + 1 : at;
        if (zero != at) text[zero] = '-';
        ++at;
    }
    AppendRight(out, std::string_view(text + at, std::size_t(32 - at)), width);
    return true;
}

} // namespace

void AppendF(std::string &out, double value, int width, int decimals) {
    if (!std::isfinite(value)) {
        AppendNonFinite(out, value, width);
        return;
    }
    if (AppendFloatF(out, value, width, decimals)) return;
    // The exact value with its decimals, correctly rounded (ties to even).
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                      std::chars_format::fixed, decimals);
    const std::string_view digits(buffer.data(), std::size_t(result.ptr - buffer.data()));
    const std::size_t point = digits.find('.');
    const std::string_view whole = digits.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view{} : digits.substr(point + 1);

    const bool allZero = digits.find_first_not_of("0.") == std::string_view::npos;
    const bool negative = std::signbit(value) && !allZero;

    std::string text = negative ? "-" : "";
    // With no decimals the zero is the only digit and stays.
    const bool optionalZero = whole == "0" && decimals > 0;
    const int withZero = int(text.size() + whole.size() + 1 + fraction.size());
    if (!optionalZero || withZero <= width) text += whole;
    text += '.';
    text += fraction;
    AppendRight(out, text, width);
}

void AppendI(std::string &out, long long value, int width, int minDigits) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value < 0 ? -value : value);
    std::string text(buffer.data(), result.ptr);
    if (int(text.size()) < minDigits) text.insert(0, std::size_t(minDigits) - text.size(), '0');
    if (minDigits == 0 && value == 0) text.clear();
    if (value < 0) text.insert(0, 1, '-');
    AppendRight(out, text, width);
}

void AppendA(std::string &out, std::string_view text, int width) {
    if (int(text.size()) >= width) {
        out.append(text.substr(0, std::size_t(width)));
        return;
    }
    out.append(std::size_t(width) - text.size(), ' ');
    out.append(text);
}

void AppendX(std::string &out, int count) { out.append(std::size_t(count > 0 ? count : 0), ' '); }

float NearestWhole(float value) { return std::round(value); }

int NearestInt(float value) { return TruncateToInt(NearestWhole(value)); }

} // namespace vx::model::fortran
