// Positions typed where a home or a DX point is asked for, against the call
// lists the build ships.
#include <gtest/gtest.h>

#include "app/PositionLookup.h"
#include "app/Session.h"
#include "geo/Maidenhead.h"
#include "refdata/CallParser.h"
#include "refdata/DxPlace.h"

using namespace vx;

namespace {

class PositionLookupTest : public testing::Test {
 protected:
  void SetUp() override { LoadCallLists(Parser, std::string(VX_BIN_DIR) + "/"); }
  TCallParser Parser{TCallParserVariant::pvMain};
};

}  // namespace

TEST_F(PositionLookupTest, CallsArePlacedAsTheCallBoxPlacesThem) {
  ASSERT_GT(Parser.PrefixList.Count, 0) << "the shipped Prefix.lst did not load";
  TPositionText r = LookUpPosition(" JA1ABC ", Parser);
  ASSERT_TRUE(r.Ok()) << r.Error;
  EXPECT_EQ(r.Form, TPositionForm::pfCall);
  Parser.Parse("JA1ABC");
  const TLocation expected = ResolveDxPlace("JA1ABC", Parser.Results, std::string()).Point;
  ASSERT_TRUE(HasLocation(expected));
  EXPECT_EQ(r.Point.X, expected.X);
  EXPECT_EQ(r.Point.Y, expected.Y);
  // Japan lies east and north: somewhere in the PM squares.
  EXPECT_EQ(FormatLocator(r.Point, 4).substr(0, 2), "PM");

  // Shaped like a locator but past its letters: still a call.
  r = LookUpPosition("ZS6ABC", Parser);
  EXPECT_TRUE(r.Ok()) << r.Error;
  EXPECT_EQ(r.Form, TPositionForm::pfCall);
  EXPECT_LT(r.Point.Y, 0);  // South Africa
}

TEST_F(PositionLookupTest, LocatorsAndDegreesAreNeverLookedUp) {
  // A special-event call shaped like a valid locator reads as the locator.
  TPositionText r = LookUpPosition("GB20WW", Parser);
  EXPECT_EQ(r.Form, TPositionForm::pfLocator);
  EXPECT_EQ(FormatLocator(r.Point), "GB20ww");
  r = LookUpPosition("95,0", Parser);
  EXPECT_EQ(r.Form, TPositionForm::pfDegrees);
  EXPECT_NE(r.Error.find("latitude 95"), std::string::npos) << r.Error;
}

TEST_F(PositionLookupTest, TextThatIsNothingSaysWhatWasExpected) {
  for (const char* text : {"44", "", "Q1", "QZ00aa"}) {
    TPositionText r = LookUpPosition(text, Parser);
    EXPECT_FALSE(r.Ok()) << text;
    EXPECT_FALSE(HasLocation(r.Point)) << text;
    EXPECT_NE(r.Error.find("locator"), std::string::npos) << text << ": " << r.Error;
  }
  // The locator's own complaint for a text shaped like one.
  EXPECT_NE(LookUpPosition("QZ00aa", Parser).Error.find("no locator"), std::string::npos);
}
