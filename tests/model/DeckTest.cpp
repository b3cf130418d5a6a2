// Reading the two deck kinds: what the reference reads from them, and what
// the engine refuses with a message instead of running something else.
#include "model/Deck.h"

#include "DeckTestDecks.h"

#include <gtest/gtest.h>

#include <string>

using vx::model::ReadAreaDeck;
using vx::model::ReadPointDeck;
using vx::model::TDeck;
using vx::model::TDeckKind;
using vx::model::test::DipoleAreaDeck;
using vx::model::test::SydneyLondonDeck;

namespace {

std::string Trim(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// The deck with one line replaced (by its card name), or removed.
std::string WithLine(std::string deck, const std::string &start, const std::string &line) {
    const std::size_t at = deck.find(start);
    const std::size_t end = deck.find('\n', at);
    deck.replace(at, end == std::string::npos ? std::string::npos : end + 1 - at,
                 line.empty() ? "" : line + (end == std::string::npos ? "" : "\r\n"));
    return deck;
}

std::string PointError(const std::string &text) {
    TDeck deck;
    std::string error;
    EXPECT_FALSE(ReadPointDeck(text, deck, error));
    return error;
}

std::string AreaError(const std::string &text) {
    TDeck deck;
    std::string error;
    EXPECT_FALSE(ReadAreaDeck(text, "ref/x.voa", deck, error));
    return error;
}

} // namespace

TEST(PointDeck, ReadsOurDeckCardForCard) {
    TDeck deck;
    std::string error;
    ASSERT_TRUE(ReadPointDeck(SydneyLondonDeck(), deck, error)) << error;
    EXPECT_EQ(deck.Kind, TDeckKind::dkPoint);
    ASSERT_EQ(deck.Cards.size(), 30u);
    for (const std::string &card : deck.Cards) EXPECT_EQ(card.size(), vx::model::kCardColumns);
    EXPECT_EQ(Trim(deck.Cards[6]), "CIRCUIT   33.87S   151.21E    51.50N     0.13W  S     0");
    EXPECT_EQ(Trim(deck.Cards.back()), "QUIT");
    ASSERT_EQ(deck.Antennas.size(), 16u);
    const auto &tx = deck.Antennas[3];
    EXPECT_EQ(tx.Role, 1);
    EXPECT_EQ(tx.Index, 4);
    EXPECT_EQ(tx.MinFreq, 12);
    EXPECT_EQ(tx.MaxFreq, 16);
    EXPECT_EQ(tx.Power, 0.1f);
    EXPECT_EQ(tx.Path(), "default/isotrope");
    EXPECT_EQ(deck.Antennas[15].Role, 2);
    EXPECT_EQ(deck.Antennas[15].Power, 0.f);
}

TEST(PointDeck, LineEndsDoNotMatter) {
    std::string lf = SydneyLondonDeck();
    for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
    TDeck a, b;
    std::string error;
    ASSERT_TRUE(ReadPointDeck(lf + "\n", a, error)) << error;
    ASSERT_TRUE(ReadPointDeck(SydneyLondonDeck(), b, error)) << error;
    EXPECT_EQ(a.Cards, b.Cards);
}

TEST(PointDeck, RefusesWhatItCannotRun) {
    const std::string deck = SydneyLondonDeck();
    EXPECT_NE(PointError(WithLine(deck, "LINEMAX", "LINEMIX      99")).find("unknown card \"LINEMIX\""),
              std::string::npos);
    EXPECT_NE(PointError(WithLine(deck, "LINEMAX", "INTEGRATE     1")).find("INTEGRATE card is not supported"),
              std::string::npos);
    EXPECT_NE(PointError(WithLine(deck, "METHOD", "METHOD       25    0")).find("only METHOD 23"), std::string::npos);
    EXPECT_NE(PointError(WithLine(deck, "METHOD", "METHOD      123    0")).find("only METHOD 23"), std::string::npos);
    EXPECT_NE(PointError(WithLine(deck, "METHOD", "METHOD       31    0")).find("does not exist"), std::string::npos);
    EXPECT_NE(PointError(WithLine(deck, "METHOD", "")).find("no METHOD"), std::string::npos);
    EXPECT_NE(PointError(WithLine(deck, "SUNSPOT", "SUNSPOT     5x.")).find("malformed number on the SUNSPOT"),
              std::string::npos);
    EXPECT_NE(PointError(WithLine(deck, "MONTH", "MONTH      2019 3.15")).find("daily"), std::string::npos);
    EXPECT_NE(PointError(WithLine(deck, "MONTH", "MONTH      201913.00")).find("does not exist"), std::string::npos);
    EXPECT_NE(PointError(WithLine(deck, "FREQUENCY", "FREQUENCY  0.00")).find("FREQUENCY"), std::string::npos);
    EXPECT_NE(PointError(WithLine(deck, "TIME", "TIME          1   25    1    1")).find("TIME"), std::string::npos);
    EXPECT_NE(PointError(WithLine(deck, "QUIT", "")).find("without a QUIT"), std::string::npos);
    EXPECT_NE(PointError(WithLine(deck, "EXECUTE", "")).find("no EXECUTE"), std::string::npos);
    EXPECT_NE(PointError(WithLine(deck, "EXECUTE", "EXECUTE\r\nSUNSPOT     50.")).find("only QUIT may follow"),
              std::string::npos);
    EXPECT_NE(PointError(WithLine(deck, "BOTLINES", "SUNSPOT     50.")).find("a second SUNSPOT"), std::string::npos);
}

TEST(PointDeck, RefusesAntennasItCannotPlace) {
    const std::string deck = SydneyLondonDeck();
    const std::string slot21 = "ANTENNA       2   21   26   30     0.000[default/isotrope     ]  0.0";
    EXPECT_NE(PointError(WithLine(deck, "ANTENNA       2   16", slot21)).find("too many antennas"), std::string::npos);
    const std::string twice = "ANTENNA       2   15   26   30     0.000[default/isotrope     ]  0.0";
    EXPECT_NE(PointError(WithLine(deck, "ANTENNA       2   16", twice)).find("given twice"), std::string::npos);
    const std::string band = "ANTENNA       2   16   26   31     0.000[default/isotrope     ]  0.0";
    EXPECT_NE(PointError(WithLine(deck, "ANTENNA       2   16", band)).find("1..30"), std::string::npos);
    const std::string noFile = "ANTENNA       2   16   26   30     0.000[                     ]  0.0";
    EXPECT_NE(PointError(WithLine(deck, "ANTENNA       2   16", noFile)).find("no antenna file"), std::string::npos);
    // The reference computes antenna patterns from the circuit read so far.
    std::string early = WithLine(deck, "CIRCUIT", "");
    early = WithLine(early, "FREQUENCY", "CIRCUIT   33.87S   151.21E    51.50N     0.13W  S     0\r\nFREQUENCY  -1");
    EXPECT_NE(PointError(early).find("follow the CIRCUIT"), std::string::npos);
}

TEST(PointDeck, SurvivesHostileBytes) {
    TDeck deck;
    std::string error;
    EXPECT_FALSE(ReadPointDeck(std::string("\0\xff\r\n\r\r\n", 7), deck, error));
    EXPECT_FALSE(ReadPointDeck("", deck, error));
    EXPECT_FALSE(ReadPointDeck(std::string(vx::model::kMaxDeckBytes + 1, '\n'), deck, error));
    EXPECT_NE(error.find("larger"), std::string::npos);
    // Exponents, signs and blanks where numbers go.
    const std::string deck0 = SydneyLondonDeck();
    EXPECT_FALSE(ReadPointDeck(WithLine(deck0, "SUNSPOT", "SUNSPOT   1e999"), deck, error));
    EXPECT_FALSE(ReadPointDeck(WithLine(deck0, "TIME", "TIME      99999999999999"), deck, error));
    EXPECT_FALSE(ReadPointDeck(WithLine(deck0, "TIME", "TIME          -"), deck, error));
    EXPECT_TRUE(ReadPointDeck(WithLine(deck0, "SUNSPOT", "SUNSPOT    5 0."), deck, error)) << error;
}

TEST(AreaDeck, BecomesThePointStyleDeckTheReferenceWrites) {
    TDeck deck;
    std::string error;
    ASSERT_TRUE(ReadAreaDeck(DipoleAreaDeck(), "ref/d16.voa", deck, error)) << error;
    EXPECT_EQ(deck.Kind, TDeckKind::dkArea);
    EXPECT_EQ(deck.GridSize, 16);
    // Cards of the reference's run file for this deck (voaareax.da1).
    const char *expected[] = {"COMMENT   VOACAP    ref/d16.voa",
                              "COMMENT      44.0000  -79.0000 HOME                    0.0 Short",
                              "AREA          0.0000    0.0000   -180.00    180.00    -90.00     90.00   16   16    1",
                              "COMMENT   Parameters:    0",
                              "COMMENT    Any VOACAP default cards may be placed in the file: VOACAP.DEF",
                              "LINEMAX      55       number of lines-per-page",
                              "COEFFS    CCIR",
                              "TIME         12   12    1    1",
                              "MONTH      1993 3.00",
                              "SUNSPOT     50.",
                              "FREQUENCY $14.000",
                              "CIRCUIT   44.00N    79.00W     0.00N     0.00E  S     0",
                              "SYSTEM       1. 145. 3.00  90. 67.0 3.00 0.10",
                              "FPROB      1.00 1.00 1.00 0.00",
                              "ANTENNA       1    1    2   30     0.000[ref/dipole10m.t14    ]  0.0    0.1000",
                              "ANTENNA       2    2    2   30     0.000[ref/dipole10m.t14    ]  0.0    0.0000",
                              "METHOD      130    0",
                              "EXECUTE",
                              "QUIT"};
    std::size_t next = 0;
    for (const std::string &card : deck.Cards)
        if (next < std::size(expected) && Trim(card) == expected[next]) ++next;
    EXPECT_EQ(next, std::size(expected));
    EXPECT_EQ(deck.Cards.size(), 21u);
    ASSERT_EQ(deck.Antennas.size(), 2u);
    EXPECT_EQ(deck.Antennas[1].Path(), "ref/dipole10m.t14");
}

TEST(AreaDeck, WritesTheTransmitterAsTheReferenceRoundsIt) {
    TDeck deck;
    std::string error;
    const std::string south =
        WithLine(DipoleAreaDeck(), "Transmit", "Transmit : 33.87S   151.21E   SYDNEY               Long ");
    ASSERT_TRUE(ReadAreaDeck(south, "s.voa", deck, error)) << error;
    bool found = false;
    for (const std::string &card : deck.Cards)
        found = found || Trim(card) == "CIRCUIT   33.87S   151.21E     0.00N     0.00E  L     1";
    EXPECT_TRUE(found);
    // Backslashes in antenna names become slashes, blanks go.
    const std::string dos =
        WithLine(DipoleAreaDeck(), "Rec Ants", "Rec Ants :[ref\\dipole 10m.t14   ]  gain=   0.0   0.0");
    ASSERT_TRUE(ReadAreaDeck(dos, "s.voa", deck, error)) << error;
    EXPECT_EQ(deck.Antennas[1].Path(), "ref/dipole10m.t14");
}

TEST(AreaDeck, RefusesWhatItCannotRun) {
    const std::string deck = DipoleAreaDeck();
    EXPECT_NE(AreaError(WithLine(deck, "Method", "Method   :   20")).find("only Method 30"), std::string::npos);
    EXPECT_NE(AreaError(WithLine(deck, "Months", "Months   :   3.00   4.00")).find("one month"), std::string::npos);
    EXPECT_NE(AreaError(WithLine(deck, "Freqs", "Freqs    :  0.000")).find("Freqs"), std::string::npos);
    EXPECT_NE(AreaError(WithLine(deck, "Gridsize", "Gridsize :    1    1")).find("Gridsize"), std::string::npos);
    EXPECT_NE(AreaError(WithLine(deck, "Coeffs", "Zones    :1 2 3")).find("Zones line is not supported"),
              std::string::npos);
    EXPECT_NE(AreaError(WithLine(deck, "Coeffs", "Colour   :red")).find("unknown line"), std::string::npos);
    EXPECT_NE(AreaError(WithLine(deck, "Transmit", "Transmit : 44.00X    79.00W   HOME                 Short"))
                  .find("coordinates"),
              std::string::npos);
    EXPECT_NE(AreaError(WithLine(deck, "Transmit", "Transmit : 94.00N    79.00W   HOME                 Short"))
                  .find("coordinates"),
              std::string::npos);
    EXPECT_NE(AreaError(WithLine(deck, "Tx Ants", "")).find("Tx Ants"), std::string::npos);
    EXPECT_NE(AreaError(WithLine(deck, "System", "System   :  145     3.0x0   90   67     3.000     0.100"))
                  .find("malformed number on the System"),
              std::string::npos);
    EXPECT_NE(AreaError(WithLine(deck, "Model", "Model    :ICEPAC")).find("VOACAP"), std::string::npos);
}

TEST(MagneticPole, ReadAsTheReferenceReadsItsFile) {
    using vx::model::ParseMagneticPole;
    const auto pole = ParseMagneticPole("79.5 -69.0\nglat glon\nThis file specifies ...\n");
    ASSERT_TRUE(pole);
    EXPECT_EQ(pole->first, 79.5f);
    EXPECT_EQ(pole->second, -69.0f);
    EXPECT_EQ(ParseMagneticPole("  80,\r\n -70.25 \n")->second, -70.25f); // values may span lines
    EXPECT_FALSE(ParseMagneticPole("glat glon\n79.5 -69.0\n"));           // no number first: a read error
    EXPECT_FALSE(ParseMagneticPole("59.9 -69.0"));                        // out of range
    EXPECT_FALSE(ParseMagneticPole("79.5 180.5"));
    EXPECT_FALSE(ParseMagneticPole("79.5"));
    EXPECT_FALSE(ParseMagneticPole(""));
}
