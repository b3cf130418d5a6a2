#include "model/CardFields.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vx::model {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Splits off a leading sign; true for a minus.
bool TakeSign(std::string_view &text) {
    if (text.empty() || (text.front() != '+' && text.front() != '-')) return false;
    const bool negative = text.front() == '-';
    text.remove_prefix(1);
    return negative;
}

} // namespace

std::string TCardFields::Field(int width) {
    std::string field;
    for (int k = 0; k < width; ++k, ++Next) {
        const char c = Next < Image.size() ? Image[Next] : ' ';
        if (c != ' ') field += c;
    }
    return field;
}

std::string TCardFields::Text(int width) {
    std::string text;
    for (int k = 0; k < width; ++k, ++Next) text += Next < Image.size() ? Image[Next] : ' ';
    return text;
}

bool TCardFields::Int(int width, int32_t &value) {
    const std::string field = Field(width);
    std::string_view text = field;
    value = 0;
    const bool negative = TakeSign(text);
    if (text.empty()) return !negative;
    long long number = 0;
    for (char c : text) {
        if (!IsDigit(c)) return false;
        number = number * 10 + (c - '0');
        if (number > std::numeric_limits<int32_t>::max()) return false;
    }
    value = int32_t(negative ? -number : number);
    return true;
}

bool TCardFields::Real(int width, int decimals, float &value) {
    const std::string field = Field(width);
    std::string_view text = field;
    value = 0.f;
    if (text.empty()) return true;
    const bool negative = TakeSign(text);
    std::string mantissa;
    bool point = false;
    int digits = 0;
    while (!text.empty() && (IsDigit(text.front()) || text.front() == '.')) {
        if (text.front() == '.') {
            if (point) return false;
            point = true;
        } else {
            ++digits;
        }
        mantissa += text.front();
        text.remove_prefix(1);
    }
    if (digits == 0) return false;
    long long exponent = 0;
    if (!text.empty()) {
        const char e = text.front();
        if (e == 'e' || e == 'E' || e == 'd' || e == 'D' || e == 'q' || e == 'Q')
            text.remove_prefix(1);
        else if (e != '+' && e != '-')
            return false;
        const bool down = TakeSign(text);
        if (text.empty()) return false;
        for (char c : text) {
            if (!IsDigit(c)) return false;
            if (exponent < 100000) exponent = exponent * 10 + (c - '0');
        }
        if (down) exponent = -exponent;
    }
    if (!point) exponent -= decimals;
    const std::string number = mantissa + "e" + std::to_string(exponent);
    float parsed = 0.f;
    const auto [end, status] = std::from_chars(number.data(), number.data() + number.size(), parsed);
    if (status == std::errc::result_out_of_range) {
        // Too small rounds to zero as the library reads it; too large is refused.
        if (exponent > 0) return false;
        parsed = 0.f;
    } else if (status != std::errc() || end != number.data() + number.size() || !std::isfinite(parsed)) {
        return false;
    }
    value = negative ? -parsed : parsed;
    return true;
}

} // namespace vx::model
