#include "model/AntennaText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace vx::model {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

std::string WithoutBlanks(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (char c : field)
        if (c != ' ') text.push_back(c);
    return text;
}

// Infinity and NaN, which gfortran accepts in a real field.
bool ParseSpecialReal(std::string_view text, float &value) {
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (EqualsNoCase(text, "inf") || EqualsNoCase(text, "infinity")) {
        value = negative ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
        return true;
    }
    if (EqualsNoCase(text, "nan")) {
        value = std::numeric_limits<float>::quiet_NaN();
        return true;
    }
    return false;
}

// Reads an optional sign and the digits after it; false when there are none.
bool ReadExponent(std::string_view text, std::size_t &at, long &exponent) {
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    if (at >= text.size() || !IsDigit(text[at])) return false;
    exponent = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at)
        if (exponent < 100000) exponent = exponent * 10 + (text[at] - '0');
    if (negative) exponent = -exponent;
    return true;
}

// Powers of ten that a float (to 1e10) and a double (to 1e5 here) hold
// exactly.
constexpr float kFloatPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
constexpr double kDoublePowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5};
constexpr long long kIntegerPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000};

// The usual field, an optional sign then digits with at most one point
// (blanks anywhere), read without building text: its digits as an integer
// n < 2^24 and 10^k with k <= 10 are exact floats, so n / 10^k rounds once,
// as the library's decimal conversion does. False, with value untouched,
// for anything else (exponents, special values, empty fields, long digit
// strings), which the general reader handles.
bool ParseSimpleReal(std::string_view field, int decimals, float &value) {
    bool negative = false, started = false, point = false;
    uint32_t n = 0;
    int digits = 0, fraction = 0;
    for (char c : field) {
        if (c == ' ') continue;
        if (c == '+' || c == '-') {
            if (started) return false;
            negative = c == '-';
        } else if (c == '.') {
            if (point) return false;
            point = true;
        } else if (IsDigit(c)) {
            if (n >= 100000000u) return false;
            n = n * 10u + uint32_t(c - '0');
            ++digits;
            if (point) ++fraction;
        } else {
            return false;
        }
        started = true;
    }
    const int k = point ? fraction : decimals;
    if (digits == 0 || n > (1u << 24) || k < 0 || k > 10) return false;
    const float magnitude = float(n) / kFloatPowersOfTen[k];
    value = negative ? -magnitude : magnitude;
    return true;
}

// Columns [column, column + width) of a line as far as the line has them:
// the missing ones would be blanks, which the readers pass over.
std::string_view FieldColumns(std::string_view line, int column, int width) {
    const long first = std::max(long(column) - 1, 0L);
    const long end = std::min(long(column) - 1 + long(width), long(line.size()));
    if (end <= first) return {};
    return line.substr(std::size_t(first), std::size_t(end - first));
}

} // namespace

std::vector<std::string_view> SplitTextLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = next;
    }
    return lines;
}

std::string FieldText(std::string_view line, int column, int width) {
    std::string field(std::size_t(width), ' ');
    for (int k = 0; k < width; ++k) {
        const std::size_t at = std::size_t(column - 1 + k);
        if (at < line.size()) field[std::size_t(k)] = line[at];
    }
    return field;
}

bool ParseFixedReal(std::string_view field, int decimals, float &value) {
    if (ParseSimpleReal(field, decimals, value)) return true;
    const std::string text = WithoutBlanks(field);
    if (ParseSpecialReal(text, value)) return true;
    std::size_t at = 0;
    std::string number;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        if (text[at] == '-') number.push_back('-');
        ++at;
    }
    std::string digits;
    bool point = false;
    for (; at < text.size() && IsDigit(text[at]); ++at) digits.push_back(text[at]);
    const std::size_t integerDigits = digits.size();
    if (at < text.size() && text[at] == '.') {
        point = true;
        for (++at; at < text.size() && IsDigit(text[at]); ++at) digits.push_back(text[at]);
    }
    long exponent = 0;
    if (at < text.size()) {
        const char c = Lower(text[at]);
        if (c == 'e' || c == 'd' || c == 'q')
            ++at;
        else if (c != '+' && c != '-')
            return false;
        if (!ReadExponent(text, at, exponent) || at != text.size()) return false;
    }
    if (digits.empty()) { // "", "-", "." read as zero
        value = 0.0f;
        return true;
    }
    // The digits as an integer, scaled by the point's place and the exponent.
    const long scale = exponent - long(point ? digits.size() - integerDigits : std::size_t(decimals));
    number += digits;
    number += 'e';
    number += std::to_string(scale);
    value = std::strtof(number.c_str(), nullptr);
    return true;
}

bool ParseFixedInteger(std::string_view field, int32_t &value) {
    const std::string text = WithoutBlanks(field);
    if (text.empty()) {
        value = 0;
        return true;
    }
    std::size_t at = 0;
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') negative = text[at++] == '-';
    if (at >= text.size()) return false;
    long long result = 0;
    for (; at < text.size(); ++at) {
        if (!IsDigit(text[at])) return false;
        result = result * 10 + (text[at] - '0');
        if (result > std::numeric_limits<int32_t>::max()) return false;
    }
    value = int32_t(negative ? -result : result);
    return true;
}

bool ReadRealField(std::string_view line, int column, int width, int decimals, float &value) {
    return ParseFixedReal(FieldColumns(line, column, width), decimals, value);
}

bool ReadIntegerField(std::string_view line, int column, int width, int32_t &value) {
    return ParseFixedInteger(FieldColumns(line, column, width), value);
}

bool WriteFixedReal(float value, int width, int decimals, std::string &text) {
    if (std::isnan(value)) {
        text = "NaN";
    } else if (std::isinf(value)) {
        text = width >= 8 + (value < 0) ? "Infinity" : "Inf";
        if (value < 0) text.insert(text.begin(), '-');
    } else {
        char buffer[400];
        std::snprintf(buffer, sizeof buffer, "%#.*f", decimals, double(value));
        text = buffer;
        // Built with -fno-sign-zero, the reference writes no sign on a value
        // that rounds to zero.
        if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
        // Without room for it, the zero before the point is left out.
        if (int(text.size()) > width) {
            if (text.rfind("0.", 0) == 0)
                text.erase(0, 1);
            else if (text.rfind("-0.", 0) == 0)
                text.erase(1, 1);
        }
    }
    if (int(text.size()) > width) return false;
    text.insert(text.begin(), std::size_t(width) - text.size(), ' ');
    return true;
}

bool WriteFixedInteger(int32_t value, int width, std::string &text) {
    text = std::to_string(value);
    if (int(text.size()) > width) return false;
    text.insert(text.begin(), std::size_t(width) - text.size(), ' ');
    return true;
}

bool FixedRoundTrip(float value, int width, int decimals, float &result) {
    // Up to 5 decimals a float times 10^decimals is exact in a double, so
    // rounding it to an integer is the library's rounding of the printed
    // value (ties to even), and the quotient rounded through a double is the
    // nearest float to the printed text, as reading it gives.
    if (decimals >= 0 && decimals <= 5 && std::fabs(value) < 1.0e9f) {
        const double n = std::nearbyint(double(value) * kDoublePowersOfTen[decimals]);
        const long long whole = std::llabs((long long)n) / kIntegerPowersOfTen[decimals];
        int wholeDigits = 0;
        for (long long w = whole; w > 0; w /= 10) ++wholeDigits;
        // Text: sign (not on a zero), the whole part or "0", point, decimals;
        // the "0" goes when there is no room for it.
        int length = (n < 0.0 ? 1 : 0) + std::max(wholeDigits, 1) + 1 + decimals;
        if (length > width && wholeDigits == 0) --length;
        if (length > width) return false;
        result = n == 0.0 ? 0.0f : float(n / kDoublePowersOfTen[decimals]);
        return true;
    }
    std::string text;
    return WriteFixedReal(value, width, decimals, text) && ParseFixedReal(text, decimals, result);
}

bool NextListItem(const std::vector<std::string_view> &lines, std::size_t &at, std::string_view &item) {
    for (; at < lines.size(); ++at) {
        const std::string_view line = lines[at];
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string_view::npos) continue; // a blank record holds no item
        const std::size_t end = line.find_first_of(" \t,/", start);
        item = line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        ++at;
        return !item.empty();
    }
    return false;
}

bool ParseListReal(std::string_view item, float &value) {
    return !item.empty() && item.find(' ') == std::string_view::npos && ParseFixedReal(item, 0, value);
}

bool ParseListInteger(std::string_view item, int32_t &value) {
    return !item.empty() && item.find(' ') == std::string_view::npos && ParseFixedInteger(item, value);
}

} // namespace vx::model
