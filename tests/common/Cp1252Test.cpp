#include <gtest/gtest.h>

#include "common/Cp1252.h"

using namespace vx;

TEST(Cp1252, ToUnicode) {
  EXPECT_EQ(Cp1252ToUtf16("A\xB0\xE9"), u"A\u00B0\u00E9");  // ASCII and Latin-1 stay
  EXPECT_EQ(Cp1252ToUtf16("\x80\x8A\x99\x9F"), u"\u20AC\u0160\u2122\u0178");
  EXPECT_EQ(Cp1252ToUnicode(0x81), u'\u0081');  // undefined: the control character
  EXPECT_EQ(Cp1252ToUnicode(0x9D), u'\u009D');
  EXPECT_EQ(Cp1252ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}
