// The point-to-point report against real output of the reference: each
// output is read back into the state fields the report prints, the run is
// replayed through the writer, and the text must come out byte for byte.
// Fixtures: the four point runs of the shared set, and four runs made for
// the report (every TOPLINES line and BOTLINES 1-14 with MUFs above 30 MHz;
// the long model with BOTLINES 15-24 and out-of-range numbers; LINEMAX 30
// with a card wider than 85 columns and a comment group; unknown card names).
#include "model/PointReport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace vx::model;

namespace {

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> SplitLines(const std::string &text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Columns first..last (1-based, inclusive) of a line, blank beyond its end.
std::string Columns(const std::string &line, int first, int last) {
    std::string field =
        first <= int(line.size()) ? line.substr(std::size_t(first - 1), std::size_t(last - first + 1)) : "";
    field.resize(std::size_t(last - first + 1), ' ');
    return field;
}

float Number(const std::string &field) { return std::stof(field); }

// An integer field as the reference's list of Iw fields reads it: blanks
// are ignored (BN), so "  1 2" is 12.
int Integer(const std::string &field) {
    std::string digits;
    for (char c : field)
        if (c != ' ') digits += c;
    return digits.empty() ? 0 : std::stoi(digits);
}

std::string FirstDifference(const std::string &expected, const std::string &actual) {
    const auto want = SplitLines(expected);
    const auto got = SplitLines(actual);
    for (std::size_t k = 0; k < std::max(want.size(), got.size()); ++k) {
        const std::string a = k < want.size() ? want[k] : "<none>";
        const std::string b = k < got.size() ? got[k] : "<none>";
        if (a != b) return "line " + std::to_string(k + 1) + "\nreference: [" + a + "]\nours:      [" + b + "]";
    }
    return "same lines, different line ends";
}

// The cards of the deck the report's lines depend on, read as DECRED does.
void ApplyOutputCards(const std::vector<std::string> &cards, TModelState &s) {
    s.outprt.linmax = 55;
    s.outprt.lpages = 0;
    s.cmodel.model = "  VOACAP";
    for (const std::string &card : cards) {
        const std::string name = Columns(card, 1, 10);
        if (name == "METHOD    ") s.ion.method = Integer(Columns(card, 11, 15));
        if (name == "LINEMAX   ") {
            s.outprt.linmax = Integer(Columns(card, 11, 15));
            if (s.outprt.linmax < 30) s.outprt.linmax = 55;
        }
        auto lineList = [&](TTable<int32_t, 14> &lines) {
            for (int k = 1; k <= 14; ++k) lines(k) = Integer(Columns(card, 11 + 5 * (k - 1), 15 + 5 * (k - 1)));
        };
        if (name == "BOTLINES  ") {
            s.outprt.linbyp = 1;
            lineList(s.outprt.linbd);
        }
        if (name == "TOPLINES  ") {
            s.outprt.lintyp = 1;
            lineList(s.outprt.lintp);
        }
    }
}

// The lines of a page head after its title, back into the state.
void ReadPageHead(const std::vector<std::string> &head, TModelState &s) {
    for (const std::string &line : head) {
        if (line.find("SSN = ") != std::string::npos) {
            s.ssp.month = 1;
            s.alpha.imon(1) = Columns(line, 3, 5);
            s.alpha.nyear = Columns(line, 9, 13);
            s.don.ssn = Number(Columns(line, 30, 33));
            s.don.amind = Number(Columns(line, 64, 69));
        } else if (line.find("AZIMUTHS") != std::string::npos) {
            s.alpha.itran(1) = Columns(line, 3, 12);
            s.alpha.itran(2) = Columns(line, 13, 22);
            s.alpha.ircvr(1) = Columns(line, 23, 32);
            s.alpha.ircvr(2) = Columns(line, 33, 42);
            s.ion.npsl = Columns(line, 55, 60) == "<Long>" ? 1 : 0;
        } else if (Columns(line, 20, 22) == " - ") {
            auto signedBy = [&](int first, int last, int letter, char negative) {
                const float value = Number(Columns(line, first, last));
                return line[std::size_t(letter - 1)] == negative ? -value : value;
            };
            s.don.tlatd = signedBy(1, 7, 9, 'S');
            s.don.tlongd = signedBy(10, 17, 19, 'W');
            s.don.rlatd = signedBy(23, 27, 29, 'S');
            s.don.rlongd = signedBy(30, 37, 39, 'W');
            s.don.btrd = Number(Columns(line, 40, 49));
            s.don.brtd = Number(Columns(line, 50, 57));
            // The distance is printed in km and, from it, in nautical miles:
            // find a distance that prints as both.
            const float km = Number(Columns(line, 68, 76));
            for (int step = 0; step <= 100; ++step) {
                const float candidate = km + float((step % 2 ? 1 : -1) * (step / 2)) * 0.001f;
                char miles[32];
                std::snprintf(miles, sizeof miles, "%10.1f", double(candidate * 0.54f));
                if (Columns(line, 58, 67) == miles) {
                    s.don.gcdkm = candidate;
                    break;
                }
            }
        } else if (Columns(line, 3, 6) == "XMTR" || Columns(line, 3, 6) == "RCVR") {
            const int k = ++s.cantenna.numants;
            s.cantenna.iats(k) = Columns(line, 3, 6) == "XMTR" ? 1 : 2;
            s.cantenna.xfqs(k) = float(Integer(Columns(line, 7, 9)));
            s.cantenna.xfqe(k) = float(Integer(Columns(line, 11, 12)));
            s.cantenna.anttype(k) = Columns(line, 14, 23);
            s.cantenna.antfile(k) = Columns(line, 25, 45);
            s.cantenna.beammain(k) = Number(Columns(line, 51, 55));
            s.cantenna.offazim(k) = Number(Columns(line, 63, 67));
            if (s.cantenna.iats(k) == 1) s.pantenna.pwrkw(k) = Number(Columns(line, 68, 75));
        } else if (line.find("3 MHz NOISE") != std::string::npos) {
            s.ton.znoise = -Number(Columns(line, 17, 22));
            s.ion.lufp = Integer(Columns(line, 43, 44));
            s.don.rsn = Number(Columns(line, 60, 64));
        } else if (line.find("MULTIPATH POWER") != std::string::npos) {
            s.don.pmp = Number(Columns(line, 31, 34));
            s.don.dmp = Number(Columns(line, 69, 74));
        }
    }
}

// One hour block: the FREQ line and its tagged lines, back into the state.
void ReadHourBlock(const std::string &freqLine, const std::vector<std::string> &rows, TModelState &s) {
    s.time.gmt = Number(Columns(freqLine, 3, 6));
    s.time.it = int(std::lround(s.time.gmt));
    s.mufs.allmuf(s.time.it) = Number(Columns(freqLine, 7, 11));
    for (int slot = 1; slot <= 11; ++slot) s.frq.frel(slot) = Number(Columns(freqLine, 7 + 5 * slot, 11 + 5 * slot));

    // A field per column: the MUF column (12) first, then slots 1..11.
    auto field = [](const std::string &row, int column) {
        const int position = column == 12 ? 0 : column;
        return Columns(row, 7 + 5 * position, 11 + 5 * position);
    };
    s.son.nhp.Fill(0);
    if (!rows.empty()) {
        for (int column = 1; column <= 12; ++column)
            if (field(rows.front(), column) != "   - ") s.son.nhp(column) = 1;
    }
    for (const std::string &row : rows) {
        const std::string tag = Columns(row, 68, 73);
        for (int k = 1; k <= 12; ++k) {
            const std::string text = field(row, k);
            if (text == "   - ") continue;
            if (tag == "MODE  ") {
                if (s.contrl.jlong < 0) {
                    s.son.nhp(k) = Integer(text.substr(1, 2));
                    s.alpha.mode(k) = text.substr(3, 2);
                } else {
                    s.alpha.mode(k) = text.substr(1, 2);
                    s.alpha.moder(k) = text.substr(3, 2);
                }
                continue;
            }
            const float value = Number(text);
            if (tag == "TANGLE")
                s.son.angle(k) = value;
            else if (tag == "RANGLE")
                s.son.angler(k) = value;
            else if (tag == "DELAY ")
                s.son.delay(k) = value;
            else if (tag == "V HITE")
                s.son.vhigh(k) = value;
            else if (tag == "MUFday")
                s.son.cprob(k) = value;
            else if (tag == "LOSS  ")
                s.son.dblos(k) = value;
            else if (tag == "DBU   ")
                s.son.dbu(k) = value;
            else if (tag == "S DBW ")
                s.son.dbw(k) = value;
            else if (tag == "N DBW ")
                s.son.xnynois(k) = value;
            else if (tag == "SNR   ")
                s.son.sndb(k) = value;
            else if (tag == "RPWRG ")
                s.son.snpr(k) = value;
            else if (tag == "REL   ")
                s.son.reliab(k) = value;
            else if (tag == "MPROB ")
                s.son.probmp(k) = value;
            else if (tag == "S PRB ")
                s.son.sprob(k) = value;
            else if (tag == "SIG LW")
                s.son.dblosl(k) = value;
            else if (tag == "SIG UP")
                s.son.dblosu(k) = value;
            else if (tag == "SNR LW")
                s.son.snrlw(k) = value;
            else if (tag == "SNR UP")
                s.son.snrup(k) = value;
            else if (tag == "TGAIN ")
                s.cgains.gaint(k) = value;
            else if (tag == "RGAIN ")
                s.cgains.gainr(k) = value;
            else if (tag == "SNRxx ")
                s.sncom.snxx(k) = value;
            else if (tag == "DBM   ")
                s.son.dbw(k) = value - 30.0f;
            else
                ADD_FAILURE() << "unknown line " << row;
        }
    }
}

// Replays a reference run through the writer; returns our text.
std::string ReplayPointRun(const std::string &deckPath, const std::string &outPath) {
    const std::vector<std::string> cards = SplitLines(ReadFile(deckPath));
    const std::vector<std::string> lines = SplitLines(ReadFile(outPath));
    TModelState s{};
    ApplyOutputCards(cards, s);
    s.ccoeff.coeff = "CCIR";
    s.contrl.jlong = ReadFile(outPath).find("RANGLE\n") != std::string::npos ? 1 : -1;

    TPointReport report;
    report.WriteListing(cards);
    for (const std::string &card : cards)
        if (Columns(card, 1, 14) == "COMMENT   GROU") report.WriteCommentGroup(card);

    std::size_t k = 0;
    while (k < lines.size() && (lines[k].empty() || lines[k][0] != '\f')) ++k;
    // The first page's head lines carry the circuit, antennas and system.
    std::vector<std::string> head;
    for (std::size_t h = k + 2; h < lines.size() && !lines[h].empty(); ++h) head.push_back(lines[h]);
    ReadPageHead(head, s);

    float lastHour = 1e9f;
    float lastFirstFrequency = -1.0f;
    int hourOfSweep = 0;
    for (; k < lines.size(); ++k) {
        const std::string &line = lines[k];
        if (Columns(line, 67, 71) != " FREQ") continue;
        std::vector<std::string> rows;
        for (std::size_t r = k + 1; r < lines.size() && lines[r].size() >= 73 && lines[r][0] != '\f'; ++r)
            rows.push_back(lines[r]);
        const float hour = Number(Columns(line, 3, 6));
        const float firstFrequency = Number(Columns(line, 12, 16));
        if (hour <= lastHour || firstFrequency != lastFirstFrequency) {
            SetOutputLines(s);
            hourOfSweep = 0;
        }
        lastHour = hour;
        lastFirstFrequency = firstFrequency;
        s.time.jtx = ++hourOfSweep;
        ReadHourBlock(line, rows, s);
        report.WriteHour(s);
    }
    report.WriteEndOfRun();
    return report.TakeText();
}

void ExpectSameAsReference(const std::string &folder, const std::string &name) {
    const std::string base = std::string(VX_FIXTURES) + folder + name;
    const std::string expected = ReadFile(base + ".out");
    ASSERT_FALSE(expected.empty()) << base;
    const std::string ours = ReplayPointRun(base + ".dat", base + ".out");
    EXPECT_TRUE(ours == expected) << name << ": " << FirstDifference(expected, ours);
}

} // namespace

TEST(PointReport, SharedRunsComeOutByteForByte) {
    for (const char *name : {"p2p01", "p2p02", "p2p03", "p2p07"}) ExpectSameAsReference("/voacap/p2p/", name);
}

TEST(PointReport, EveryHeadAndBodyLineComesOutByteForByte) {
    ExpectSameAsReference("/model/report/", "allines");
    ExpectSameAsReference("/model/report/", "longlines");
    ExpectSameAsReference("/model/report/", "shortpages");
}

TEST(PointReport, UnknownCardsAreMarkedAndCounted) {
    const std::string base = std::string(VX_FIXTURES) + "/model/report/badcards";
    const std::vector<std::string> cards = SplitLines(ReadFile(base + ".dat"));
    TPointReport report;
    EXPECT_FALSE(report.WriteListing(cards));
    report.WriteEndOfRun();
    const std::string expected = ReadFile(base + ".out");
    EXPECT_TRUE(report.Text() == expected) << FirstDifference(expected, report.Text());
}

// OUTBOD: an hour in which no frequency has a mode prints its FREQ line
// alone, but counts three lines towards the page.
TEST(PointReport, AnHourWithoutModesPrintsItsFrequencyLineOnly) {
    TModelState s{};
    s.ion.method = 23;
    s.outprt.linmax = 99;
    s.outprt.linbyp = 1;
    s.outprt.linbd(1) = 1;
    s.outprt.linbd(2) = 10;
    s.ccoeff.coeff = "CCIR";
    s.cmodel.model = "  VOACAP";
    SetOutputLines(s);
    s.time.jtx = 1;
    s.time.it = 5;
    s.time.gmt = 5.0f;
    s.mufs.allmuf(5) = 8.25f;
    for (int k = 1; k <= 9; ++k) s.frq.frel(k) = float(k + 1);
    TPointReport report;
    report.WriteHour(s);
    EXPECT_EQ(report.Text(),
              "\f     CCIR Coefficients        ~METHOD 23   VOACAP L 16.1207W  PAGE   1\n\n"
              "\n   5.0  8.2  2.0  3.0  4.0  5.0  6.0  7.0  8.0  9.0 10.0  0.0  0.0 FREQ\n");
    EXPECT_EQ(s.contrl.jfreq, -1);
    EXPECT_EQ(s.outprt.lines, -1 + 3);
}
