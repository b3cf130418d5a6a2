#include "common/Cp1252.h"

namespace vx {

namespace {

constexpr char16_t k80[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                              0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

}  // namespace

char16_t Cp1252ToUnicode(unsigned char c) { return c >= 0x80 && c < 0xA0 ? k80[c - 0x80] : char16_t(c); }

std::u16string Cp1252ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (unsigned char c : s) out += Cp1252ToUnicode(c);
  return out;
}

}  // namespace vx
