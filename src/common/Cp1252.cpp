#include "common/Cp1252.h"

namespace vx {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// 0x80..0x9F; everything else is the Latin-1 character of the same number.
constexpr char32_t kHigh[32] = {
    0x20AC,       kReplacement, 0x201A, 0x0192, 0x201E, 0x2026,       0x2020, 0x2021,        // 80..87
    0x02C6,       0x2030,       0x0160, 0x2039, 0x0152, kReplacement, 0x017D, kReplacement,  // 88..8F
    kReplacement, 0x2018,       0x2019, 0x201C, 0x201D, 0x2022,       0x2013, 0x2014,        // 90..97
    0x02DC,       0x2122,       0x0161, 0x203A, 0x0153, kReplacement, 0x017E, 0x0178,        // 98..9F
};

// The next code point of UTF-8 text from i (moved past it); nothing for a
// byte sequence that is not valid UTF-8 (then i moves by one byte).
std::optional<char32_t> NextUtf8(std::string_view s, size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i++]);
  if (b0 < 0x80) return b0;
  int more;
  char32_t u;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    more = 1;
    u = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    more = 2;
    u = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    more = 3;
    u = b0 & 0x07;
  } else {
    return std::nullopt;
  }
  size_t k = i;
  for (int n = 0; n < more; ++n, ++k) {
    if (k >= s.size()) return std::nullopt;
    const auto b = static_cast<unsigned char>(s[k]);
    if ((b & 0xC0) != 0x80) return std::nullopt;
    u = (u << 6) | (b & 0x3F);
  }
  // Overlong forms, surrogates and values beyond Unicode are not characters.
  static constexpr char32_t kLeast[4] = {0, 0x80, 0x800, 0x10000};
  if (u < kLeast[more] || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) return std::nullopt;
  i = k;
  return u;
}

}  // namespace

char32_t Cp1252ToCodePoint(unsigned char c) { return c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c; }

std::optional<unsigned char> CodePointToCp1252(char32_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<unsigned char>(u);
  if (u == kReplacement) return std::nullopt;
  for (unsigned k = 0; k < 32; ++k)
    if (kHigh[k] == u) return static_cast<unsigned char>(0x80 + k);
  return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t u) {
  if (u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) u = kReplacement;
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (u >> 18));
    out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

std::string Cp1252ToUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (unsigned char c : s) AppendUtf8(out, Cp1252ToCodePoint(c));
  return out;
}

char16_t Cp1252ToUnicode(unsigned char c) { return static_cast<char16_t>(Cp1252ToCodePoint(c)); }

std::u16string Cp1252ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (unsigned char c : s) out += Cp1252ToUnicode(c);
  return out;
}

std::string Utf8ToCp1252(std::string_view s, char replacement) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const auto u = NextUtf8(s, i);
    const auto c = u ? CodePointToCp1252(*u) : std::nullopt;
    out += c ? static_cast<char>(*c) : replacement;
  }
  return out;
}

}  // namespace vx
