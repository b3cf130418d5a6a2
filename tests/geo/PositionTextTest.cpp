#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geo/Maidenhead.h"
#include "geo/PositionText.h"

using namespace vx;

namespace {

// 1/180 degree of a value in degrees, as the parser rounds it.
int32_t Units(double degrees) { return int32_t(std::lround(degrees * 180)); }

}  // namespace

TEST(Locator, KnownSquaresHaveTheirCentres) {
  struct Known {
    const char* Locator;
    double Lat, Lon;
  } known[] = {
      {"FN31pr", 41.729167, -72.708333},   {"FN31", 41.5, -73.0},
      {"FN31pr45", 41.73125, -72.7125},    {"JJ00aa", 0.020833, 0.041667},
      {"AA00aa", -89.979167, -179.958333}, {"RR99xx", 89.979167, 179.958333},
      {"QF56od", -33.854167, 151.208333},  {"RR99xx99", 89.997917, 179.995833},
  };
  for (const Known& k : known) {
    auto c = LocatorCentre(k.Locator);
    ASSERT_TRUE(c) << k.Locator;
    EXPECT_NEAR(c->Lat, k.Lat, 1e-6) << k.Locator;
    EXPECT_NEAR(c->Lon, k.Lon, 1e-6) << k.Locator;
    EXPECT_EQ(FormatLocator(*c, int(std::string(k.Locator).size())), k.Locator);
  }
  // Either case in; the canonical form out.
  auto lower = LocatorCentre("fn31PR");
  ASSERT_TRUE(lower);
  EXPECT_EQ(FormatLocator(*lower), "FN31pr");
  // A point somewhere in a square, not only its centre.
  EXPECT_EQ(FormatLocator(TDegrees{41.714775, -72.727260}), "FN31pr");
  EXPECT_EQ(FormatLocator(TDegrees{-33.87, 151.21}, 8), "QF56od51");
}

TEST(Locator, EveryFourAndSixCharacterSquareSurvivesTheUnitGrid) {
  // The window and the settings hold 1/180 degree: the centre of every
  // square down to the subsquare must still name that square.
  const std::string letters = "ABCDEFGHIJKLMNOPQR", sub = "abcdefghijklmnopqrstuvwx";
  int checked = 0;
  for (char fx : letters)
    for (char fy : letters)
      for (char sx = '0'; sx <= '9'; ++sx)
        for (char sy = '0'; sy <= '9'; ++sy) {
          const std::string square{fx, fy, sx, sy};
          auto p = LocatorLocation(square);
          ASSERT_TRUE(p) << square;
          ASSERT_EQ(FormatLocator(*p, 4), square);
          // Every subsquare of a few squares, the globe's corners among them.
          if ((fx == 'A' || fx == 'R' || fx == 'J') && fy == fx && sx == sy && (sx == '0' || sx == '9'))
            for (char ux : sub)
              for (char uy : sub) {
                const std::string six = square + ux + uy;
                auto q = LocatorLocation(six);
                ASSERT_TRUE(q) << six;
                ASSERT_EQ(FormatLocator(*q, 6), six);
                ++checked;
              }
        }
  EXPECT_EQ(checked, 6 * 24 * 24);
}

TEST(Locator, EdgesBelongToTheSquareEastAndNorth) {
  EXPECT_EQ(FormatLocator(TLocation{0, 0}, 4), "JJ00");
  EXPECT_EQ(FormatLocator(TLocation{-1, -1}, 4), "II99");
  // 5 minutes of longitude are 15 units; 2.5 minutes of latitude 7.5 units.
  EXPECT_EQ(FormatLocator(TLocation{15, 8}), "JJ00bb");
  EXPECT_EQ(FormatLocator(TLocation{14, 7}), "JJ00aa");
  EXPECT_EQ(FormatLocator(TLocation{-180 * 180, -90 * 180}, 8), "AA00aa00");
  EXPECT_EQ(FormatLocator(TLocation{180 * 180, 90 * 180}, 8), "RR99xx99");
  EXPECT_EQ(FormatLocator(TDegrees{90, 180}, 8), "RR99xx99");
  EXPECT_EQ(FormatLocator(TDegrees{-90, -180}, 4), "AA00");
}

TEST(Locator, JunkIsRefused) {
  for (const char* junk : {"", "FN", "FN3", "FN31p", "FN31prx", "FN31pr4", "FN31pr4a", "FN31pr456", "SN31", "FS31",
                           "FN3a", "F131", "FN31py", "FN31 pr", " FN31pr", "FN31pr\n",
                           "FN\xB0"
                           "1"})
    EXPECT_FALSE(LocatorCentre(junk)) << junk;
  EXPECT_EQ(FormatLocator(TDegrees{90.0001, 0}), "");
  EXPECT_EQ(FormatLocator(TDegrees{0, -180.0001}), "");
  EXPECT_EQ(FormatLocator(TDegrees{std::nan(""), 0}), "");
  EXPECT_EQ(FormatLocator(TDegrees{0, 0}, 5), "");
  EXPECT_EQ(FormatLocator(kNoLocationPoint), "");
  EXPECT_EQ(FormatLocator(TLocation{0, 90 * 180 + 1}), "");
  EXPECT_EQ(FormatLocator(TLocation{-180 * 180 - 1, 0}), "");
}

TEST(PositionText, LocatorsAndDegreesInTheirUsualForms) {
  const TLocation w1 = TLocation{Units(-72.708), Units(41.729)};
  for (const char* text :
       {"41.729,-72.708", " 41.729 , -72.708 ", "41.729 -72.708", "41.729N 72.708W", "41.729 n, 72.708 w",
        "72.708 W, 41.729 N", "41.729\xB0N 72.708\xB0W", "41.729\xC2\xB0 N 72.708\xC2\xB0 W", "+41.729\t-72.708"}) {
    TPositionText r = ParsePositionText(text);
    EXPECT_TRUE(r.Ok()) << text << ": " << r.Error;
    EXPECT_EQ(r.Form, TPositionForm::pfDegrees) << text;
    EXPECT_EQ(r.Point.X, w1.X) << text;
    EXPECT_EQ(r.Point.Y, w1.Y) << text;
  }
  TPositionText r = ParsePositionText("-33.87,151.21");
  EXPECT_EQ(r.Point.X, Units(151.21));
  EXPECT_EQ(r.Point.Y, Units(-33.87));
  r = ParsePositionText("33.87S 151.21E");
  EXPECT_EQ(r.Point.Y, Units(-33.87));

  r = ParsePositionText(" fn31PR ");
  EXPECT_TRUE(r.Ok()) << r.Error;
  EXPECT_EQ(r.Form, TPositionForm::pfLocator);
  EXPECT_EQ(FormatLocator(r.Point), "FN31pr");
  r = ParsePositionText("90,180");
  EXPECT_TRUE(r.Ok());
  EXPECT_EQ(r.Point.X, 180 * 180);
}

TEST(PositionText, MistakesAreNamed) {
  struct Case {
    const char* Text;
    TPositionForm Form;
    const char* Says;
  } cases[] = {
      {"95,0", TPositionForm::pfDegrees, "latitude 95 is out of range"},
      {"51,-200", TPositionForm::pfDegrees, "longitude -200 is out of range"},
      {"41N 72S", TPositionForm::pfDegrees, "one hemisphere twice"},
      {"72E 41W", TPositionForm::pfDegrees, "one hemisphere twice"},
      {"-41N 72W", TPositionForm::pfDegrees, "negative"},
      {"1e3,5", TPositionForm::pfDegrees, "not two decimal numbers"},
      {"41,72,3", TPositionForm::pfDegrees, "not two decimal numbers"},
      {"41, ", TPositionForm::pfDegrees, "not two decimal numbers"},
      {"41.7 x", TPositionForm::pfDegrees, "not two decimal numbers"},
      {"SS00aa", TPositionForm::pfLocator, "no locator"},
      {"FN31py", TPositionForm::pfLocator, "no locator"},
      {"44", TPositionForm::pfNone, "not a locator"},
      {"JA1ABC", TPositionForm::pfNone, "not a locator"},
      {"", TPositionForm::pfNone, "not a locator"},
      {"nan,5", TPositionForm::pfNone, "not a locator"},
  };
  for (const Case& c : cases) {
    TPositionText r = ParsePositionText(c.Text);
    EXPECT_FALSE(r.Ok()) << c.Text;
    EXPECT_EQ(r.Form, c.Form) << c.Text;
    EXPECT_FALSE(HasLocation(r.Point)) << c.Text;
    EXPECT_NE(r.Error.find(c.Says), std::string::npos) << c.Text << ": " << r.Error;
  }
}
