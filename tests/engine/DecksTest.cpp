#include <gtest/gtest.h>

#include <cmath>

#include "EngineTestUtil.h"
#include "engine/Decks.h"

using namespace vx;
using vxtest::Fixture;
using vxtest::ReplaceAll;

namespace {

TAlStringList Antennas(std::initializer_list<const char*> names) {
  TAlStringList l;
  for (auto n : names) l.Add(n);
  return l;
}

int32_t Units(double degrees) { return static_cast<int32_t>(std::nearbyint(degrees * 180)); }

TVoaInputs Home44N79W() {
  TVoaInputs in;
  in.TxLat = Units(44);
  in.TxLon = Units(-79);
  in.Ssn = 50;
  in.Year = 2008;
  in.Month = 3;
  in.TxPower = 100;
  return in;
}

// The real decks name "default/isotrope" (21 characters with padding), ours
// "Vantor/ISOTROPE.ant": swap the field to compare everything else.
std::string AsFixture(std::string deck) {
  return ReplaceAll(std::move(deck), "Vantor/ISOTROPE.ant  ", "default/isotrope     ");
}

}  // namespace

TEST(PointDeck, MatchesRealDecksByteForByte) {
  auto ants = Antennas({"ISOTROPE.ant"});
  struct Case {
    const char* file;
    double txLat, txLon, rxLat, rxLon;
    bool longPath;
    int year, month, ssn;
    const char* label;  // the sample decks were written with their own labels
  } cases[] = {
      {"p2p/p2p01.dat", 44, -79, 51, 0, false, 2008, 3, 50, "HOME                DX"},
      {"p2p/p2p02.dat", 44, -79, 35.68, 139.77, true, 2014, 6, 120, "HOME                JA LONG PATH"},
      {"p2p/p2p03.dat", -33.87, 151.21, 51.50, -0.13, false, 2019, 12, 5, "SYDNEY              LONDON"},
      {"p2p/p2p07.dat", 44, -79, 10.50, -66.90, false, 2014, 10, 250, "HOME                CARACAS"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    std::string expected = Fixture(c.file);
    ASSERT_FALSE(expected.empty());
    TVoaInputs in = Home44N79W();
    in.TxLat = Units(c.txLat);
    in.TxLon = Units(c.txLon);
    in.RxLat = Units(c.rxLat);
    in.RxLon = Units(c.rxLon);
    in.LongPath = c.longPath;
    in.Year = c.year;
    in.Month = c.month;
    in.Ssn = c.ssn;
    auto deck = BuildPointDeck(in, ants);
    ASSERT_TRUE(deck);
    std::string got =
        ReplaceAll(AsFixture(*deck), "LABEL     HOME                DX", std::string("LABEL     ") + c.label);
    EXPECT_EQ(got, expected);
  }
}

TEST(PointDeck, FieldsAndSigns) {
  auto ants = Antennas({"ISOTROPE.ant", "Dipole55.N14", "A2345678901234567890"});
  TVoaInputs in = Home44N79W();
  in.TxLat = Units(-44);
  in.TxLon = Units(79);
  in.TxAntenna[0] = 1;
  in.LongPath = true;
  std::string d = *BuildPointDeck(in, ants);
  EXPECT_NE(d.find("CIRCUIT   44.00S    79.00E     0.00N     0.00E  L     1\r\n"), std::string::npos);
  EXPECT_NE(d.find("ANTENNA       1    1    2    5     0.000[Vantor/Dipole55.N14  ]  0.0    0.1000\r\n"),
            std::string::npos);
  EXPECT_NE(d.find("ANTENNA       2   16   26   30     0.000[Vantor/ISOTROPE.ant  ]  0.0\r\n"), std::string::npos);
  EXPECT_EQ(d.substr(d.size() - 6), "\r\nQUIT");  // no line end after the last line
  EXPECT_EQ(d.find("LINEMAX"), 0u);
  EXPECT_EQ(d.find("FREQUENCY  -1"), d.size() - 76);  // the fixed tail is 76 bytes
  EXPECT_EQ(d.find("CIRCUIT"), 178u);                 // after the 178-byte head

  in.RxAntenna[7] = 2;  // a name longer than its field
  EXPECT_FALSE(BuildPointDeck(in, ants));
  in.RxAntenna[7] = 0;
  in.RxAntenna[3] = 3;  // outside the list
  EXPECT_FALSE(BuildPointDeck(in, ants));
  in.RxAntenna[3] = -1;
  EXPECT_FALSE(BuildPointDeck(in, ants));
}

TEST(AreaDeck, MatchesRealDecksByteForByte) {
  TVoaInputs in = Home44N79W();
  in.Band = 3;
  in.Hour = 12;
  auto ants = Antennas({"ISOTROPE.ant"});
  EXPECT_EQ(AsFixture(*BuildAreaDeck(in, ants)), Fixture("area/x16.voa"));
  in.GridSize = 31;
  EXPECT_EQ(AsFixture(*BuildAreaDeck(in, ants)), Fixture("area/x31.voa"));
  in.GridSize = 16;
  auto dip = Antennas({"dipole10m.t14"});
  EXPECT_EQ(ReplaceAll(*BuildAreaDeck(in, dip), "Vantor/dipole10m.t14 ", "ref/dipole10m.t14    "),
            Fixture("area/d16.voa"));
}

TEST(AreaDeck, LongPathBandsAndBadInput) {
  auto ants = Antennas({"ISOTROPE.ant"});
  TVoaInputs in = Home44N79W();
  in.LongPath = true;
  in.Band = 0;
  in.Hour = 5;
  in.TxPower = 1500;
  std::string d = *BuildAreaDeck(in, ants);
  EXPECT_NE(d.find("HOME                 Long \r\n"), std::string::npos);
  EXPECT_NE(d.find("Freqs    :  3.500  0.000"), std::string::npos);
  EXPECT_NE(d.find("Hours    :      5      0"), std::string::npos);
  EXPECT_NE(d.find("  0.000   0.0     1.5000\r\n"), std::string::npos);
  EXPECT_EQ(d.substr(d.size() - 2), "\r\n");
  in.Band = 8;
  EXPECT_FALSE(BuildAreaDeck(in, ants));
  in.Band = 0;
  in.TxAntenna[0] = 1;
  EXPECT_FALSE(BuildAreaDeck(in, ants));
}

TEST(Decks, AnAntennaNameTooLongForItsFieldIsADeckError) {
  // "Vantor/" + 14 characters fill the 21-character field; one more would
  // be cut and name another file.
  auto ants = Antennas({"Dipole100.N14", "ABCDEFGHIJ.N14", "ABCDEFGHIJK.N14"});
  TVoaInputs in = Home44N79W();
  in.TxAntenna[0] = 1;
  EXPECT_TRUE(BuildPointDeck(in, ants));
  EXPECT_TRUE(BuildAreaDeck(in, ants));
  EXPECT_EQ(DeckProblem(in, ants, false), "");
  EXPECT_EQ(DeckProblem(in, ants, true), "");
  in.TxAntenna[0] = 2;
  EXPECT_FALSE(BuildPointDeck(in, ants));
  EXPECT_FALSE(BuildAreaDeck(in, ants));
  // The user is told which name and how long it may be, not that a file
  // could not be written.
  const std::string why =
      "The antenna file name \"ABCDEFGHIJK.N14\" is too long for VOACAP: it has 15 characters, "
      "VOACAP takes at most 14.";
  EXPECT_EQ(DeckProblem(in, ants, false), why);
  EXPECT_EQ(DeckProblem(in, ants, true), why);
  // The area deck names only its own band's antennas.
  in.Band = 1;
  EXPECT_TRUE(BuildAreaDeck(in, ants));
  EXPECT_EQ(DeckProblem(in, ants, true), "");
  in.RxAntenna[1] = 9;
  EXPECT_EQ(DeckProblem(in, ants, true), "The antenna chosen for 7 MHz is not in the antenna list.");
}
