#include <gtest/gtest.h>

#include "common/Cp1252.h"
#include "common/LittleEndian.h"

using namespace vx;

TEST(Cp1252, TheHighControlRangeHoldsTheWindowsCharacters) {
  EXPECT_EQ(Cp1252ToCodePoint(0x80), U'\u20AC');  // euro sign
  EXPECT_EQ(Cp1252ToCodePoint(0x8A), U'\u0160');
  EXPECT_EQ(Cp1252ToCodePoint(0x93), U'\u201C');
  EXPECT_EQ(Cp1252ToCodePoint(0x9F), U'\u0178');
  for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(Cp1252ToCodePoint(undefined), U'\uFFFD');
  EXPECT_EQ(Cp1252ToCodePoint('A'), U'A');
  EXPECT_EQ(Cp1252ToCodePoint(0xB0), U'\u00B0');  // the degree sign
  EXPECT_EQ(Cp1252ToCodePoint(0xFF), U'\u00FF');
}

TEST(Cp1252, EveryDefinedByteComesBackThroughUtf8) {
  std::string all;
  for (int c = 1; c < 256; ++c)
    if (c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D) all += char(c);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("\xB0\x80"), "\xC2\xB0\xE2\x82\xAC");
  EXPECT_EQ(Cp1252ToUtf8("\x81"), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToCp1252("\xEF\xBF\xBD"), "?");  // no byte stands for the replacement character
}

TEST(Cp1252, Utf8ThatDoesNotFitBecomesTheReplacementByte) {
  EXPECT_EQ(Utf8ToCp1252("a\xE2\x98\x83z"), "a?z");  // a snowman
  EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x93\xA1"), "?");  // outside the basic plane
  EXPECT_EQ(Utf8ToCp1252("\xC3"
                         "A"),
            "?A");                                 // cut short
  EXPECT_EQ(Utf8ToCp1252("\xC0\xB0"), "??");       // overlong
  EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "???");  // a surrogate
  EXPECT_EQ(Utf8ToCp1252("x\xE2\x82", '_'), "x__");
  EXPECT_EQ(CodePointToCp1252(U'\u2122'), std::optional<unsigned char>(0x99));
  EXPECT_FALSE(CodePointToCp1252(U'\u0081'));  // a C1 control is not the byte 0x81
  std::string s;
  AppendUtf8(s, 0x1F4E1);
  AppendUtf8(s, 0xD800);
  EXPECT_EQ(s, "\xF0\x9F\x93\xA1\xEF\xBF\xBD");
}

TEST(Cp1252, ToUtf16) {
  EXPECT_EQ(Cp1252ToUtf16("A\xB0\xE9"), u"A\u00B0\u00E9");  // ASCII and Latin-1 stay
  EXPECT_EQ(Cp1252ToUtf16("\x80\x8A\x99\x9F"), u"\u20AC\u0160\u2122\u0178");
  EXPECT_EQ(Cp1252ToUnicode(0x81), u'\uFFFD');  // undefined: the replacement character
  EXPECT_EQ(Cp1252ToUnicode(0x9D), u'\uFFFD');
  EXPECT_EQ(Cp1252ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(LittleEndian, FieldsReadAndWriteByteByByte) {
  std::string s = "x";
  AppendLE16(s, 0xBEEF);
  AppendLE32(s, 0x12345678u);
  EXPECT_EQ(s, std::string("x\xEF\xBE\x78\x56\x34\x12"));
  EXPECT_EQ(GetLE16(s.data() + 1), 0xBEEF);  // at an odd address
  EXPECT_EQ(GetLE32(s.data() + 3), 0x12345678u);
  unsigned char b[8] = {};
  PutLE16(b + 1, 0x8001);
  PutLE32(b + 3, 0xFFFFFFFEu);
  EXPECT_EQ(static_cast<int16_t>(GetLE16(b + 1)), -32767);
  EXPECT_EQ(static_cast<int32_t>(GetLE32(b + 3)), -2);
  EXPECT_EQ(b[1], 0x01);
  EXPECT_EQ(b[3], 0xFE);
  EXPECT_EQ(b[6], 0xFF);
}
