#include <gtest/gtest.h>

#include "common/QtText.h"

using namespace vx;

TEST(QtText, WindowsTextsBecomeQStringsAndBack) {
  const QString q = FromCp1252("44\xB0N \x80 \x93x\x94 \x81");
  EXPECT_EQ(q, QString::fromUtf8("44\xC2\xB0N \xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D \xEF\xBF\xBD"));
  EXPECT_EQ(ToCp1252(q), "44\xB0N \x80 \x93x\x94 ?");
  EXPECT_EQ(ToCp1252(QString::fromUtf8("\xE2\x98\x83 \xF0\x9F\x93\xA1")), "? ?");
}
