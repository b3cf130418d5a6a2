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

} // namespace

void AppendF(std::string &out, double value, int width, int decimals) {
    if (!std::isfinite(value)) {
        AppendNonFinite(out, value, width);
        return;
    }
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

int TruncateToInt(float value) {
    constexpr float kLimit = 2147483648.0f;
    if (!(value > -kLimit - 1.0f && value < kLimit)) return std::numeric_limits<int>::min();
    return int(value);
}

} // namespace vx::model::fortran
