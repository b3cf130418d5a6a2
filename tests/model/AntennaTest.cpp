// Antennas of a run: the formatted fields the reference reads and writes,
// antenna model files, the deck's cards, and the gains and powers the model
// gets. Expected values were printed (as bit patterns) by voacapl 16.1207W
// running the same cards on the same two synthetic tables generated below.
#include "model/Antenna.h"
#include "model/AntennaText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace vx::model;

namespace {

float Bits(uint32_t bits) { return std::bit_cast<float>(bits); }

// A file name in its 21 columns of a card or an area deck line.
std::string Field21(std::string name) {
    name.resize(21, ' ');
    return name;
}

std::string Milli(int milli) {
    char text[16];
    std::snprintf(text, sizeof text, "%7.3f", milli / 1000.0);
    return text;
}

// One record of 91 gains, ten F7.3 fields to a line from column 10.
void AppendRecord(std::string &text, const std::string &lead, std::vector<std::string> gains, const char *eol) {
    for (int k = 0; k < 10; ++k) {
        text += k == 0 ? lead : std::string(9, ' ');
        for (int e = k * 10; e < std::min(91, k * 10 + 10); ++e) text += gains[std::size_t(e)];
        text += eol;
    }
}

// A type-13 table: max gain 1.25, efficiency -2.5, gains -30..10 dB.
std::string Synthetic13() {
    std::string text =
        "Synthetic 3-D table\n  4    4 parameters\n  1.25  [ 1] Max Gain dBi\n"
        "  13    [ 2] Antenna Type\n -2.5   [ 3] Efficiency\n14.100  [ 4] Frequency\n";
    for (int az = 0; az < 360; ++az) {
        std::vector<std::string> gains;
        for (int e = 0; e < 91; ++e) gains.push_back(Milli((az * 7919 + e * 104729) % 40000 - 30000));
        char lead[16];
        std::snprintf(lead, sizeof lead, "%5d    ", az);
        AppendRecord(text, lead, gains, "\n");
    }
    return text;
}

// A type-14 table with CR LF ends: max gain -0.5, a gain below the gain
// file's floor (3 MHz, 0 degrees) and one without a decimal point (5 MHz,
// 10 degrees).
std::string Synthetic14() {
    std::string text =
        "Synthetic 2-D table\r\n  3    3 parameters\r\n -0.50  [ 1] Max Gain dBi\r\n"
        "  14    [ 2] Antenna Type\r\n 10.00  [ 3] Frequency\r\n";
    for (int f = 1; f <= 30; ++f) {
        std::vector<std::string> gains;
        for (int e = 0; e < 91; ++e) gains.push_back(Milli((f * 31337 + e * 2713) % 60000 - 45000));
        if (f == 3) gains[0] = "-99.999";
        if (f == 5) gains[10] = "  12345";
        char lead[16];
        std::snprintf(lead, sizeof lead, "%2d%6.1f ", f, ((f * 13) % 50 - 25) / 10.0);
        AppendRecord(text, lead, gains, "\r\n");
    }
    return text;
}

const char *kIsotrope =
    "ISOTROPE\r\n 2     2 parameters\r\n  0.00  [ 1] Max Gain dBi..:\r\n"
    "   0    [ 2] Antenna Type..:\r\n";

TAntennaModel Parsed(const std::string &bytes, const std::string &name) {
    TAntennaModel model;
    std::string error;
    EXPECT_TRUE(ParseAntennaModel(bytes, name, model, error)) << error;
    return model;
}

TAntennaLibrary SyntheticLibrary() {
    TAntennaLibrary library;
    library["syn/syn13"] = Parsed(Synthetic13(), "syn/syn13");
    library["syn/syn14"] = Parsed(Synthetic14(), "syn/syn14");
    library["default/isotrope"] = Parsed(kIsotrope, "default/isotrope");
    return library;
}

std::vector<TAntennaSlotCard> Cards(const std::vector<std::string> &lines) {
    std::vector<TAntennaSlotCard> cards;
    for (const std::string &line : lines) {
        TAntennaSlotCard card;
        std::string error;
        EXPECT_TRUE(ParseAntennaCard(line, card, error)) << error;
        cards.push_back(card);
    }
    return cards;
}

// The circuit 44N 79W -> 51N 0E: bearings as antcalc computed them.
TAntennaGeometry PointGeometry() {
    TAntennaGeometry geometry;
    geometry.azimuth = {Bits(0x4251A0C5), Bits(0x43938A6E)};
    return geometry;
}

struct TGainCase {
    int itr;
    uint32_t delta, fmc, rain, eff;
};

void ExpectGains(TModelState &s, const std::vector<TGainCase> &cases) {
    for (const TGainCase &c : cases) {
        float rain = -1, eff = -1;
        AntennaGain(s, c.itr, Bits(c.delta), Bits(c.fmc), rain, eff);
        EXPECT_EQ(std::bit_cast<uint32_t>(rain), c.rain)
            << "itr " << c.itr << " at " << Bits(c.fmc) << " MHz: " << rain;
        EXPECT_EQ(std::bit_cast<uint32_t>(eff), c.eff) << "itr " << c.itr << " at " << Bits(c.fmc) << " MHz: " << eff;
    }
}

} // namespace

TEST(AntennaText, FieldsReadAsTheReferenceReadsThem) {
    float value = -1;
    EXPECT_TRUE(ParseFixedReal("  1 2 5", 3, value)); // blanks ignored, 3 implied decimals
    EXPECT_EQ(value, 0.125f);
    EXPECT_TRUE(ParseFixedReal("  12345", 3, value));
    EXPECT_EQ(value, 12.345f);
    EXPECT_TRUE(ParseFixedReal("    1e2", 3, value)); // the implied decimals come first
    EXPECT_EQ(value, 0.1f);
    EXPECT_TRUE(ParseFixedReal("    1+2", 3, value));
    EXPECT_EQ(value, 0.1f);
    EXPECT_TRUE(ParseFixedReal("  1.5d0", 3, value));
    EXPECT_EQ(value, 1.5f);
    for (const char *zero : {"       ", "      -", "      .", "  +.   "}) {
        EXPECT_TRUE(ParseFixedReal(zero, 3, value)) << zero;
        EXPECT_EQ(value, 0.0f) << zero;
    }
    EXPECT_FALSE(ParseFixedReal(" 1.5e  ", 3, value));
    EXPECT_FALSE(ParseFixedReal(" [ 1]  ", 3, value));

    int32_t number = -1;
    EXPECT_TRUE(ParseFixedInteger("  1 2 ", number));
    EXPECT_EQ(number, 12);
    EXPECT_FALSE(ParseFixedInteger("    - ", number));
    EXPECT_FALSE(ParseFixedInteger(" 1.0  ", number));
    // Past the end of a short line the field is blank.
    EXPECT_TRUE(ReadRealField("ANTENNA", 64, 5, 1, value));
    EXPECT_EQ(value, 0.0f);
}

TEST(AntennaText, FieldsWrittenAsTheReferenceWritesThem) {
    std::string text;
    EXPECT_TRUE(WriteFixedReal(0.0625f, 7, 3, text)); // a tie goes to even
    EXPECT_EQ(text, "  0.062");
    EXPECT_TRUE(WriteFixedReal(2.5f, 5, 0, text));
    EXPECT_EQ(text, "   2.");
    EXPECT_TRUE(WriteFixedReal(3.5f, 5, 0, text));
    EXPECT_EQ(text, "   4.");
    EXPECT_TRUE(WriteFixedReal(-0.0001f, 7, 3, text)); // no sign on a zero (-fno-sign-zero)
    EXPECT_EQ(text, "  0.000");
    EXPECT_TRUE(WriteFixedReal(0.5f, 4, 3, text)); // no room for the leading zero
    EXPECT_EQ(text, ".500");
    EXPECT_TRUE(WriteFixedReal(-0.5f, 5, 3, text));
    EXPECT_EQ(text, "-.500");
    EXPECT_FALSE(WriteFixedReal(1000.0f, 7, 3, text));

    float back = 0;
    EXPECT_TRUE(FixedRoundTrip(-5.0625f, 7, 3, back));
    EXPECT_EQ(back, -5.062f);
    EXPECT_TRUE(FixedRoundTrip(-0.0001f, 7, 3, back));
    EXPECT_FALSE(std::signbit(back));
}

TEST(AntennaText, ListDirectedItemsPassOverBlankLines) {
    const std::vector<std::string_view> lines = SplitTextLines("A\r\n\r\n  3,  rest\n\n14.100  [ 4]");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "A");
    std::size_t at = 1;
    std::string_view item;
    int32_t count = 0;
    ASSERT_TRUE(NextListItem(lines, at, item));
    EXPECT_TRUE(ParseListInteger(item, count));
    EXPECT_EQ(count, 3);
    ASSERT_TRUE(NextListItem(lines, at, item));
    float value = 0;
    EXPECT_TRUE(ParseListReal(item, value));
    EXPECT_EQ(value, 14.1f);
    EXPECT_FALSE(NextListItem(lines, at, item));
}

TEST(AntennaFile, TablesOfBothTypes) {
    const TAntennaModel t14 = Parsed(Synthetic14(), "syn14");
    EXPECT_EQ(t14.type, 14);
    EXPECT_EQ(t14.description, std::string("Synthetic 2-D table") + std::string(51, ' '));
    EXPECT_EQ(t14.parm[0], -0.5f);
    EXPECT_EQ(t14.parm[2], 10.0f);
    EXPECT_EQ(t14.parm[3], 0.0f);
    ASSERT_EQ(t14.gains.size(), 30u * 91u);
    EXPECT_EQ(t14.efficiency[2], 1.4f);
    EXPECT_EQ(t14.gains[2 * 91], -99.999f);
    EXPECT_EQ(t14.gains[4 * 91 + 10], 12.345f);
    EXPECT_EQ(t14.gains[29 * 91 + 90], -0.72f); // the last field, alone on its line

    const TAntennaModel t13 = Parsed(Synthetic13(), "syn13");
    EXPECT_EQ(t13.type, 13);
    EXPECT_EQ(t13.parm[0], 1.25f);
    EXPECT_EQ(t13.parm[3], 14.1f);
    ASSERT_EQ(t13.gains.size(), 360u * 91u);
    EXPECT_EQ(t13.gains[0], -30.0f);
    EXPECT_EQ(t13.gains[359 * 91 + 90], -1.469f);

    const TAntennaModel isotrope = Parsed(kIsotrope, "isotrope");
    EXPECT_EQ(isotrope.type, 0);
    EXPECT_TRUE(isotrope.gains.empty());
}

TEST(AntennaFile, FilesTheReferenceCannotReadAreErrorsNamingThem) {
    const std::string t14 = Synthetic14();
    const struct {
        std::string bytes;
        const char *message;
    } cases[] = {
        {"", "\"f\" is empty"},
        {"Dipole\n", "no parameter count"},
        {"Dipole\n 21  parameters\n", "no parameter count"},
        {"Dipole\n 2\n 0.0\n", "parameter 2 is not a number"},
        {"Dipole\n 2\n 0.0\n [ 2]\n", "parameter 2 is not a number"},
        {"Dipole\n 3\n 0.0\n 11\n 0.0\n", "\"f\" is of type 11; only types 0, 13 and 14"},
        {"Dipole\n 2\n 0.0\n 1e12\n", "the antenna type is not a number"},
        {t14.substr(0, t14.size() / 2), "\"f\" ends inside its gain table"},
        {t14.substr(0, 135) + "x" + t14.substr(136), "\"f\", line 6: a gain is not a number"},
        {t14.substr(0, 124) + "x" + t14.substr(125), "\"f\", line 6: the efficiency is not a number"},
    };
    for (const auto &c : cases) {
        TAntennaModel model;
        std::string error;
        EXPECT_FALSE(ParseAntennaModel(c.bytes, "f", model, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
    std::string bytes, error;
    EXPECT_FALSE(ReadAntennaFile("/nonexistent-folder", "default/isotrope", bytes, error));
    EXPECT_NE(error.find("/nonexistent-folder/antennas/default/isotrope"), std::string::npos) << error;
}

TEST(AntennaCards, PointCardsAndAreaLines) {
    const TAntennaSlotCard tx =
        Cards({"ANTENNA       1    8   26   30     3.500[default/isotrope     ]-12.5    0.1000\r"})[0];
    EXPECT_EQ(tx.itr, 1);
    EXPECT_EQ(tx.idx, 8);
    EXPECT_EQ(tx.minfreq, 26);
    EXPECT_EQ(tx.maxfreq, 30);
    EXPECT_EQ(tx.designfreq, 3.5f);
    EXPECT_EQ(tx.antfile, "default/isotrope     ");
    EXPECT_EQ(tx.beammain, -12.5f);
    EXPECT_EQ(tx.power, 0.1f);
    const std::string receive = "ANTENNA       2    9    2    5     0.000[";
    EXPECT_EQ(AntennaFileName(Cards({receive + Field21(" a b/c d") + "]"})[0]), "ab/cd");
    for (const char *none : {"  ab", "Vantor/", ""})
        EXPECT_EQ(AntennaFileName(Cards({receive + Field21(none) + "]"})[0]), "") << none;

    TAntennaSlotCard bad;
    std::string error;
    EXPECT_FALSE(ParseAntennaCard("ANTENNA       1    x    2    5     0.000[default/isotrope     ]", bad, error));
    EXPECT_NE(error.find("not a number"), std::string::npos);

    // AREAMAP: only the first "\" turns into "/", blanks go, and the receive
    // line's gain lands in the power field, its bearing in the beam field.
    std::vector<TAntennaSlotCard> cards;
    ASSERT_TRUE(AreaAntennaCards("Rec Ants :[" + Field21("ref\\dipole 10m.t14") + "]  gain=   2.5  77.0",
                                 "Tx Ants  :[" + Field21("a\\b\\c") + "]  7.125 -45.0     1.5000", cards, error))
        << error;
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[0].itr, 1);
    EXPECT_EQ(cards[0].idx, 1);
    EXPECT_EQ(cards[0].antfile, "a/b\\c                ");
    EXPECT_EQ(cards[0].designfreq, 7.125f);
    EXPECT_EQ(cards[0].beammain, -45.0f);
    EXPECT_EQ(cards[0].power, 1.5f);
    EXPECT_EQ(cards[1].itr, 2);
    EXPECT_EQ(cards[1].idx, 2);
    EXPECT_EQ(cards[1].minfreq, 2);
    EXPECT_EQ(cards[1].maxfreq, 30);
    EXPECT_EQ(cards[1].antfile, "ref/dipole10m.t14    ");
    EXPECT_EQ(cards[1].beammain, 77.0f);
    EXPECT_EQ(cards[1].power, 2.5f);
    // A bearing too wide for F5.1 is written F5.0.
    ASSERT_TRUE(AreaAntennaCards("", "Tx Ants  :[" + Field21("x") + "]  0.000-999.0     1.0000", cards, error));
    EXPECT_EQ(cards[0].beammain, -999.0f);
    EXPECT_EQ(AntennaFileName(cards[1]), "");
}

TEST(AntennaRun, PointDeckGainsAndPowersAsTheReference) {
    auto s = std::make_unique<TModelState>();
    s->con.r2d = Bits(0x42652EE1);
    const auto cards = Cards({"ANTENNA       1    1    2   16     0.000[syn/syn13            ] 30.0    0.2500",
                              "ANTENNA       1    2   17   30     3.500[default/isotrope     ]  0.0    2.0000",
                              "ANTENNA       2    3    2   30     0.000[syn/syn14            ]  0.0"});
    std::string error;
    ASSERT_TRUE(ApplyAntennaCards(*s, cards, SyntheticLibrary(), PointGeometry(), error)) << error;

    const TAntennaSet &a = s->cantenna;
    EXPECT_EQ(a.numants, 3);
    EXPECT_EQ(a.offazim(1), Bits(0x41B347AE)); // 22.41 through F7.2
    EXPECT_EQ(a.cond(1), 14.1f);
    EXPECT_EQ(a.diel(1), -2.5f);
    EXPECT_EQ(s->pantenna.pwrdba(1), Bits(0x41BFD5D0));
    EXPECT_EQ(a.anttype(1).View(), "3-D Table ");
    EXPECT_EQ(a.anttype(2).View(), "+  3.5 dBi");
    EXPECT_EQ(a.antname(2).View().substr(0, 10), "ISOTROPE  ");
    EXPECT_EQ(a.offazim(2), Bits(0x4251A3D7));
    EXPECT_EQ(s->pantenna.pwrdba(2), Bits(0x42040A8C));
    EXPECT_EQ(a.offazim(3), Bits(0x43938A3D));
    EXPECT_EQ(a.array(2, 1, 1), Bits(0xC134F1AA));
    EXPECT_EQ(a.array(17, 1, 1), 0.0f);   // outside the card's band
    EXPECT_EQ(a.array(1, 1, 3), 0.0f);    // the file's 1 MHz row is not taken
    EXPECT_EQ(a.array(3, 1, 3), -99.99f); // the gain file's floor
    EXPECT_EQ(a.array(5, 11, 3), Bits(0x413D851F));
    EXPECT_EQ(a.aeff(3, 3), Bits(0x3FB33333));

    ExpectGains(*s, {
                        {1, 0x3E3BA6C3, 0x4129C03B, 0xC13A6277, 0xC0200000},
                        {1, 0x3E0290CB, 0x40000000, 0xC037C98E, 0xC0200000},
                        {1, 0x3E193563, 0x41818E83, 0x00000000, 0x00000000}, // 16.19 MHz: between the bands
                        {1, 0x3E193563, 0x41A00000, 0x40600000, 0x00000000}, // the isotrope's +3.5 dBi
                        {2, 0x00000000, 0x4129C03B, 0xC150841C, 0x3FA568CC},
                        {2, 0x00000000, 0x40000000, 0xC22B4DD3, 0x3DCCCCCD},
                        {2, 0x3E88328C, 0x41400000, 0x413E4C3D, 0xBFF33333},
                    });
    EXPECT_EQ(TransmitPowerDb(*s, 5.0f), Bits(0x41BFD5D0));
    EXPECT_EQ(TransmitPowerDb(*s, 45.0f), Bits(0x42040A8C)); // taken as 30 MHz
    EXPECT_EQ(TransmitPowerDb(*s, 16.5f), 30.0f);
}

TEST(AntennaRun, AreaDeckPatternsAsTheReference) {
    auto s = std::make_unique<TModelState>();
    s->con.r2d = Bits(0x42652EE1);
    std::vector<TAntennaSlotCard> cards;
    std::string error;
    ASSERT_TRUE(AreaAntennaCards("Rec Ants :[syn/syn14            ]  gain=   0.0   0.0",
                                 "Tx Ants  :[syn/syn13            ]  0.000 -45.0     0.2500", cards, error));
    TAntennaGeometry geometry;
    geometry.area = true;
    geometry.frequencies = {Bits(0x4155EB85), 0.0f}; // 13.37 MHz
    geometry.azimuth = {Bits(0x42C3614A), Bits(0x439D43FA)};
    ASSERT_TRUE(ApplyAntennaCards(*s, cards, SyntheticLibrary(), geometry, error)) << error;

    EXPECT_EQ(s->cantenna.offazim(1), -999.0f);
    EXPECT_EQ(s->cantenna.beammain(1), -45.0f);
    EXPECT_EQ(s->cantenna.aeff(1, 1), -2.5f);
    EXPECT_EQ(s->cantenna.aeff(1, 2), Bits(0xBDF3B660));
    const struct {
        TGainCase gain;
        uint32_t btrd, brtd;
    } cases[] = {
        {{1, 0x3D567750, 0x4155EB85, 0xC0B00000, 0xC0200000}, 0x43340000, 0x43B40000},
        {{1, 0x3E05CFEF, 0x412A7699, 0xC137CA09, 0xC0200000}, 0x4391C141, 0x42292C7A},
        {{1, 0x3D8EFA35, 0x4173BFB2, 0xC0C05838, 0xC0200000}, 0x434A116E, 0x4318A043},
        {{2, 0x00000000, 0x4155EB85, 0xC10B851F, 0xBDF3B660}, 0x43340000, 0x43B40000},
        {{2, 0x3D567750, 0x418D82D8, 0xBF170A3D, 0xBDF3B660}, 0x4338801B, 0x406F2A59},
    };
    for (const auto &c : cases) {
        s->don.btrd = Bits(c.btrd);
        s->don.brtd = Bits(c.brtd);
        ExpectGains(*s, {c.gain});
    }
}

TEST(AntennaRun, GroundReflectionLossAsTheReference) {
    auto s = std::make_unique<TModelState>();
    s->geog.sigpat(1) = Bits(0x3A83126F); // land: 0.001 S/m, 4
    s->geog.epspat(1) = 4.0f;
    s->geog.sigpat(5) = 5.0f; // sea
    s->geog.epspat(5) = 80.0f;
    ExpectGains(*s, {
                        {-1, 0x3E3BA6C3, 0x4129C03B, 0x406CF826, 0},
                        {-1, 0x3ED2D30A, 0x41200000, 0x40CFB126, 0},
                        {-5, 0x3E3BA6C3, 0x4129C03B, 0x3EBADAAE, 0},
                        {-5, 0x3E06FF5F, 0x41500000, 0x3F09AF12, 0},
                        {-1, 0x00000000, 0x41200000, 0x40C00000, 0}, // grazing: 6 dB
                        {-2, 0x3E3BA6C3, 0x41200000, 0x00000000, 0}, // no ground constants there
                    });
}

TEST(AntennaRun, TheBuiltInAntennaKeepsTheLastFileParameters) {
    // readant sets only parameters 1 and 2 for a card naming no file, so the
    // gain file gets the previous file's 3 and 4 (seen in the reference).
    auto s = std::make_unique<TModelState>();
    const auto cards = Cards({"ANTENNA       1    1    2   30     0.000[syn/syn13            ]  0.0    1.0000",
                              "ANTENNA       2    6   11   30     1.000[                     ]  0.0"});
    std::string error;
    ASSERT_TRUE(ApplyAntennaCards(*s, cards, SyntheticLibrary(), PointGeometry(), error)) << error;
    EXPECT_EQ(s->cantenna.cond(6), 14.1f);
    EXPECT_EQ(s->cantenna.diel(6), -2.5f);
    EXPECT_EQ(s->cantenna.anttype(6).View(), "+  1.0 dBi");
    EXPECT_EQ(s->cantenna.antname(6).View().substr(0, 10), "0 dB gain ");
    EXPECT_EQ(s->cantenna.array(11, 45, 6), 1.0f);
    EXPECT_EQ(s->pantenna.pwrdba(1), 30.0f);
}

TEST(AntennaRun, CardsTheReferenceCannotComputeAreErrors) {
    const TAntennaLibrary library = SyntheticLibrary();
    TAntennaGeometry area;
    area.area = true;
    area.frequencies = {14.0f, 0.0f};
    TAntennaGeometry lowArea = area;
    lowArea.frequencies = {0.5f, 0.0f};
    TAntennaGeometry beyond = PointGeometry();
    beyond.azimuth = {400.0f, 0.0f};
    const struct {
        const char *card;
        TAntennaGeometry geometry;
        const char *message;
    } cases[] = {
        {"ANTENNA       1   21    2   30     0.000[syn/syn13            ]", PointGeometry(), "slot 21 is outside 1-20"},
        {"ANTENNA       3    1    2   30     0.000[syn/syn13            ]", PointGeometry(), "1 (transmit) or 2"},
        {"ANTENNA       1    1    0   30     0.000[syn/syn13            ]", PointGeometry(), "outside 1-30 MHz"},
        {"ANTENNA       1    1    2   31     0.000[syn/syn14            ]", PointGeometry(), "outside 1-30 MHz"},
        {"ANTENNA       1    1    2   30     0.000[syn/other            ]", PointGeometry(),
         "\"syn/other\" was not loaded"},
        {"ANTENNA       1    1    2   30     0.000[syn/syn13            ]", beyond, "outside 0-360 degrees"},
        {"ANTENNA       1    3    2   30     0.000[syn/syn13            ]", area, "only slots 1 (transmit) and 2"},
        {"ANTENNA       1    1    2   30     0.000[syn/syn14            ]", lowArea, "no gains at 0.5"},
        {"ANTENNA       1    1    2   30  9999.000[default/isotrope     ]", PointGeometry(),
         "too large for the gain table"},
    };
    for (const auto &c : cases) {
        auto s = std::make_unique<TModelState>();
        std::string error;
        EXPECT_FALSE(ApplyAntennaCards(*s, Cards({c.card}), library, c.geometry, error)) << c.card;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
    // An empty band is no error: the slot serves no frequency.
    auto s = std::make_unique<TModelState>();
    std::string error;
    EXPECT_TRUE(ApplyAntennaCards(*s, Cards({"ANTENNA       1    1    0   -1     0.000[syn/syn13            ]"}),
                                  library, PointGeometry(), error));
    float rain = 1, eff = 1;
    AntennaGain(*s, 1, 0.1f, 0.0f, rain, eff);
    EXPECT_EQ(rain, 0.0f);
}

TEST(AntennaDeck, BearingsAsAntcalcHasThem) {
    const struct {
        float tlat, tlon, rlat, rlon;
        uint32_t forward, back;
    } cases[] = {
        {44.0f, -79.0f, 51.0f, 0.0f, 0x4251A0C5, 0x43938A6E},
        {-33.87f, 151.21f, 51.5f, -0.13f, 0x439F9430, 0x4272E50D},
        {44.0f, -79.0f, 0.0f, 0.0f, 0x42C3614A, 0x439D43FA},
        {-31.36f, -125.69f, 31.36f, 54.31f, 0x43B3FFC3, 0x3AF4D9D1}, // antipodes: the receiver moved 0.1 degree
        {-74.43f, -71.91f, -74.43f, -71.91f, 0, 0},                  // one point
        {-38.34f, -41.12f, 30.02f, -41.12f, 0, 0x43340000},          // one meridian
    };
    for (const auto &c : cases) {
        EXPECT_EQ(std::bit_cast<uint32_t>(GreatCircleBearing(c.tlat, c.tlon, c.rlat, c.rlon)), c.forward) << c.tlat;
        EXPECT_EQ(std::bit_cast<uint32_t>(GreatCircleBearing(c.rlat, c.rlon, c.tlat, c.tlon)), c.back) << c.tlat;
    }
}

TEST(AntennaDeck, DeckCardsGiveWhatTheSeparateStepsGive) {
    // The deck the reference runs for an area deck (AREAMAP), as card images.
    const std::vector<std::string> area = {
        "COMMENT   VOACAP    ant/syn2.voa",
        "AREA          0.0000    0.0000   -180.00    180.00    -90.00     90.00   16   16    1",
        "FREQUENCY $13.370",
        "CIRCUIT   44.00N    79.00W     0.00N     0.00E  S     0",
        "ANTENNA       1    1    2   30     0.000[syn/syn13            ]-45.0    0.2500",
        "ANTENNA       2    2    2   30     0.000[syn/syn14            ]  0.0    0.0000",
        "METHOD      130    0",
        "EXECUTE",
        "QUIT"};
    const TAntennaLibrary library = SyntheticLibrary();
    auto s = std::make_unique<TModelState>();
    s->con.r2d = Bits(0x42652EE1);
    std::string error;
    ASSERT_TRUE(ApplyDeckAntennas(*s, area, library, error)) << error;
    s->don.btrd = Bits(0x4391C141);
    ExpectGains(*s, {{1, 0x3E05CFEF, 0x412A7699, 0xC137CA09, 0xC0200000}});
    EXPECT_EQ(s->careaant.iarray360(200, 30, 2), s->careaant.iarray360(1, 30, 2)); // one pattern all round

    // A point deck on the long path; the CIRCUIT card may come after the
    // FREQUENCY card, the ANTENNA cards must come after the CIRCUIT card.
    const std::vector<std::string> point = {
        "FREQUENCY  -1", "CIRCUIT   44.00N    79.00W    35.68N   139.77E  L     1\r",
        "ANTENNA       1    1    2   30     0.000[syn/syn13            ] 30.0    0.2500\r",
        "ANTENNA       2    2    2   30     0.000[syn/syn13            ]300.0", "EXECUTE"};
    s = std::make_unique<TModelState>();
    ASSERT_TRUE(ApplyDeckAntennas(*s, point, library, error)) << error;
    float offazim = 0;
    ASSERT_TRUE(FixedRoundTrip(Bits(0x43156206) - 30.0f, 7, 2, offazim));
    EXPECT_EQ(s->cantenna.offazim(1), offazim);
    ASSERT_TRUE(FixedRoundTrip(Bits(0x434ECF27) - 300.0f + 360.0f, 7, 2, offazim));
    EXPECT_EQ(s->cantenna.offazim(2), offazim);

    std::vector<TAntennaSlotCard> cards;
    ASSERT_TRUE(DeckAntennaCards(point, cards, error));
    EXPECT_EQ(cards.size(), 2u);
    std::vector<std::string> late = point;
    late.push_back("ANTENNA       2    3    2   30     0.000[syn/syn13            ]  0.0");
    EXPECT_FALSE(ApplyDeckAntennas(*s, late, library, error));
    EXPECT_NE(error.find("after EXECUTE"), std::string::npos);
    EXPECT_FALSE(ApplyDeckAntennas(*s, {"CIRCUIT   44.00N    7x.00W    35.68N   139.77E  L     1"}, library, error));
    EXPECT_NE(error.find("CIRCUIT"), std::string::npos);
    EXPECT_FALSE(LoadDeckAntennas("/nonexistent-folder", point, *std::make_unique<TAntennaLibrary>(), error));
    EXPECT_NE(error.find("syn/syn13"), std::string::npos);
}
