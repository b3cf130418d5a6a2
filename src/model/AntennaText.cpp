#include "model/AntennaText.h"

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
        if (c == 'e' || c == 'd' || c == 'q') ++at;
        else if (c != '+' && c != '-') return false;
        if (!ReadExponent(text, at, exponent) || at != text.size()) return false;
    }
    if (digits.empty()) {  // "", "-", "." read as zero
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
    return ParseFixedReal(FieldText(line, column, width), decimals, value);
}

bool ReadIntegerField(std::string_view line, int column, int width, int32_t &value) {
    return ParseFixedInteger(FieldText(line, column, width), value);
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
            if (text.rfind("0.", 0) == 0) text.erase(0, 1);
            else if (text.rfind("-0.", 0) == 0) text.erase(1, 1);
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
    std::string text;
    return WriteFixedReal(value, width, decimals, text) && ParseFixedReal(text, decimals, result);
}

bool NextListItem(const std::vector<std::string_view> &lines, std::size_t &at, std::string_view &item) {
    for (; at < lines.size(); ++at) {
        const std::string_view line = lines[at];
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string_view::npos) continue;  // a blank record holds no item
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
