#include "model/PointReport.h"

#include "model/FortranFormat.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace vx::model {

namespace ff = fortran;

namespace {

// The columns of one hour block: the value at the MUF, then the frequencies.
constexpr int kMufColumn = 12; // OUTBOD2, IMUF
constexpr int kLastSlot = 11;  // OUTBOD, ND

// Names of the printed lines, indexed by line number (BLKDAT, /OUTFMT/).
constexpr std::array<std::string_view, 26> kLineNames = {
    "MODE  ", "TANGLE", "DELAY ", "V HITE", "MUFday", "LOSS  ", "DBU   ", "S DBW ", "N DBW ",
    "SNR   ", "RPWRG ", "REL   ", "MPROB ", "S PRB ", "SIG LW", "SIG UP", "SNR LW", "SNR UP",
    "TGAIN ", "RGAIN ", "SNRxx ", "DBM   ", "RANGLE", "N dl  ", "N du  ", "      "};
constexpr int kReceiveAngleLine = 23;

// The card names the reference knows (BLKDAT, /NAMEX/); the other 66 of its
// 100 entries are blank, so a card with blank columns 1-10 is known too.
constexpr std::array<std::string_view, 34> kCardNames = {
    "METHOD    ", "MONTH     ", "MONTHLOOP ", "SUNSPOT   ", "CIRCUIT   ", "SYSTEM    ", "TIME      ",
    "ANTENNA   ", "FREQUENCY ", "LABEL     ", "INTEGRATE ", "EXECUTE   ", "SAMPLE    ", "EFVAR     ",
    "ESVAR     ", "EDP       ", "AUXIN     ", "AUXOUT    ", "ANTOUT    ", "OUTGRAPH  ", "COMMENT   ",
    "FREEFORM  ", "PROCEDURE ", "END       ", "NEXT      ", "QUIT      ", "FPROB     ", "TOPLINES  ",
    "BOTLINES  ", "INFORM    ", "AREA      ", "LINEMAX   ", "COEFFS    ", "ZONES     "};

constexpr char kFormFeed = '\f'; // OUTTOP, MFORM
constexpr int kCardLength = 85;  // MONITR, INPUT

void NewLine(std::string &out) { out += '\n'; }

// The card as MONITR holds it: 85 columns, blank padded. The compiler's
// library ends a record at LF or CR LF alike.
std::string CardImage(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string card(line.substr(0, kCardLength));
    card.resize(kCardLength, ' ');
    return card;
}

bool IsKnownCard(std::string_view card) {
    const std::string_view name = card.substr(0, 10);
    if (name == "          ") return true;
    for (std::string_view known : kCardNames)
        if (known == name) return true;
    return false;
}

// LCOUNT: the text up to its last non-blank character.
std::string_view TrimRight(std::string_view text) {
    const std::size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

// How one hour block's lines are laid out (OUTBOD's run-time format): the
// MUF column and the first `valued` frequency slots carry values, `dashes`
// slots after them show a dash, then the line's name.
struct TRowLayout {
    int valued = 0;
    int dashes = 0;
};

// A row of numbers: column 12 first, then slots 1..valued, then the dashes
// and the name; `field` appends one value.
template <typename Field>
void AppendRow(std::string &out, const TRowLayout &layout, int line, Field field) {
    ff::AppendX(out, 6);
    field(kMufColumn);
    for (int slot = 1; slot <= layout.valued; ++slot) field(slot);
    for (int d = 0; d < layout.dashes; ++d) {
        ff::AppendX(out, 1);
        ff::AppendA(out, "  - ", 4);
    }
    ff::AppendX(out, 1);
    ff::AppendA(out, kLineNames[std::size_t(line - 1)], 6);
    NewLine(out);
}

// FLOLIN: a line of REAL values with 0, 1 or 2 decimals.
void AppendFloatRow(std::string &out, const TRowLayout &layout, const TTable<float, 13> &values, int decimals,
                    int line) {
    AppendRow(out, layout, line, [&](int slot) { ff::AppendF(out, values(slot), 5, decimals); });
}

// FIXLIN after the caller's ANINT: a line of whole numbers.
template <typename Value>
void AppendWholeRow(std::string &out, const TRowLayout &layout, int line, Value value) {
    AppendRow(out, layout, line,
              [&](int slot) { ff::AppendI(out, ff::TruncateToInt(ff::NearestWhole(value(slot))), 5); });
}

// OUTBOD2: one of the lines BOTLINES names.
void AppendBodyLine(std::string &out, const TModelState &s, const TRowLayout &layout, int line) {
    const TFrequencyResults &son = s.son;
    switch (line) {
    case 2:
        AppendFloatRow(out, layout, son.angle, 1, 2);
        if (s.contrl.jlong > 0) AppendFloatRow(out, layout, son.angler, 1, kReceiveAngleLine);
        return;
    case 3: AppendFloatRow(out, layout, son.delay, 1, 3); return;
    case 4: AppendWholeRow(out, layout, 4, [&](int k) { return son.vhigh(k); }); return;
    case 5: AppendFloatRow(out, layout, son.cprob, 2, 5); return;
    case 6: AppendWholeRow(out, layout, 6, [&](int k) { return son.dblos(k); }); return;
    case 7: AppendWholeRow(out, layout, 7, [&](int k) { return son.dbu(k); }); return;
    case 8: AppendWholeRow(out, layout, 8, [&](int k) { return son.dbw(k); }); return;
    case 9: AppendWholeRow(out, layout, 9, [&](int k) { return son.xnynois(k) + son.rneff(k); }); return;
    case 10: AppendWholeRow(out, layout, 10, [&](int k) { return son.sndb(k); }); return;
    case 11: AppendWholeRow(out, layout, 11, [&](int k) { return son.snpr(k); }); return;
    case 12: AppendFloatRow(out, layout, son.reliab, 2, 12); return;
    case 13: AppendFloatRow(out, layout, son.probmp, 2, 13); return;
    case 14: AppendFloatRow(out, layout, son.sprob, 2, 14); return;
    case 15: AppendFloatRow(out, layout, son.dblosl, 1, 15); return;
    case 16: AppendFloatRow(out, layout, son.dblosu, 1, 16); return;
    case 17: AppendFloatRow(out, layout, son.snrlw, 1, 17); return;
    case 18: AppendFloatRow(out, layout, son.snrup, 1, 18); return;
    case 19: AppendFloatRow(out, layout, s.cgains.gaint, 1, 19); return;
    case 20: AppendFloatRow(out, layout, s.cgains.gainr, 1, 20); return;
    case 21: AppendWholeRow(out, layout, 21, [&](int k) { return s.sncom.snxx(k); }); return;
    case 22: AppendWholeRow(out, layout, 22, [&](int k) { return s.son.dbw(k) + 30.0f; }); return;
    default: break;
    }
    // Line 1, and any number outside 2..22: OUTBOD2's computed GO TO falls
    // through to the MODE line.
    if (s.contrl.jlong < 0) {
        AppendRow(out, layout, 1, [&](int k) {
            ff::AppendX(out, 1);
            ff::AppendI(out, son.nhp(k), 2);
            ff::AppendA(out, s.alpha.mode(k).View(), 2);
        });
    } else {
        AppendRow(out, layout, 1, [&](int k) {
            ff::AppendX(out, 1);
            ff::AppendA(out, s.alpha.mode(k).View(), 2);
            ff::AppendA(out, s.alpha.moder(k).View(), 2);
        });
    }
}

} // namespace

// OUTBOD: what the column at the MUF shows when the MUF is beyond 30 MHz,
// the highest frequency the antennas are given for.
void MarkMufBeyondAntennas(TModelState &s) {
    TFrequencyResults &son = s.son;
    son.nhp(kMufColumn) = 0;
    s.alpha.mode(kMufColumn) = "NA";
    s.alpha.moder(kMufColumn) = "NA";
    son.angle(kMufColumn) = 99.9f;
    son.delay(kMufColumn) = 99.9f;
    son.vhigh(kMufColumn) = 1000.0f;
    son.dblos(kMufColumn) = 1000.0f;
    son.dbu(kMufColumn) = -999.0f;
    son.dbw(kMufColumn) = -999.0f;
    son.sndb(kMufColumn) = -999.0f;
    son.snpr(kMufColumn) = -999.0f;
    son.reliab(kMufColumn) = 0.0f;
    son.probmp(kMufColumn) = 0.0f;
    son.sprob(kMufColumn) = 0.0f;
    s.sncom.snxx(kMufColumn) = -999.0f;
}

int MarkValuedSlots(TModelState &s) {
    TRunControl &contrl = s.contrl;
    int lastFrequency = 1;
    for (int slot = 2; slot <= kLastSlot; ++slot)
        if (s.frq.frel(slot) > 0.0f) lastFrequency = slot;
    contrl.jfreq = -1;
    for (int slot = 1; slot <= lastFrequency; ++slot)
        if (s.son.nhp(slot) > 0) contrl.jfreq = slot;
    contrl.jfreq = std::min(kLastSlot + 1, contrl.jfreq);
    if (contrl.jfreq > 0) contrl.jdash = contrl.jfreq >= kLastSlot ? -1 : kLastSlot - contrl.jfreq;
    return contrl.jfreq;
}

// SETOUT
void SetOutputLines(TModelState &s) {
    TMufs &mufs = s.mufs;
    for (int h = 1; h <= 24; ++h) {
        s.time.utime(h) = -1.0f;
        mufs.emuf(h) = -1.0f;
        mufs.f1muf(h) = -1.0f;
        mufs.f2muf(h) = -1.0f;
        mufs.esmuf(h) = -1.0f;
        mufs.allmuf(h) = -1.0f;
        mufs.fot(h) = -1.0f;
        mufs.xluf(h) = -1.0f;
        mufs.hpf(h) = -1.0f;
        mufs.angmuf(h) = -1.0f;
    }
    TOutputLines &out = s.outprt;
    out.grptyp = 1.0f;
    out.lines = out.linmax;
    out.nline = out.linmax;
    out.lintop.Fill(-1);
    out.linbot.Fill(-1);

    const int method = s.ion.method;
    if (method != 23) {
        // The lines each method prints by itself.
        int top = 3;
        int body = 1;
        const int run = s.metset.itrun;
        if (run == 3 || run == 4)
            top = 3;
        else if (run == 8)
            top = 6;
        else if (method == 16) {
            top = 7;
            body = 13;
        } else if (method == 17)
            top = 7;
        else if (method == 18)
            top = 6;
        else if (method == 19) {
            top = 3;
            body = 5;
        } else if (method >= 20 && method <= 22) {
            top = 7;
            body = 21;
        } else if (method == 24)
            top = 6;
        else if (method == 25) {
            top = 6;
            body = 22;
        }
        for (int k = 1; k <= top; ++k) out.lintop(k) = 1;
        if (method == 17 || method == 18) {
            body = 6;
            for (int k : {1, 2, 5, 7, 10}) out.linbot(k) = 1;
            out.linbot(method == 17 ? 12 : 14) = 1;
        } else if (method == 24) {
            body = 1;
            out.linbot(12) = 1;
        } else {
            for (int k = 1; k <= body; ++k) out.linbot(k) = 1;
        }
        out.lintop(15) = top;
        out.linbot(26) = body;
    }
    // TOPLINES and BOTLINES override the method's choice.
    if (out.lintyp > 0) {
        out.lintop.Fill(-1);
        int top = 0;
        for (int k = 1; k <= 14; ++k) {
            const int line = out.lintp(k);
            if (line <= 0 || line > 14) continue;
            out.lintop(line) = 1;
            ++top;
        }
        out.lintop(15) = top;
    }
    if (out.linbyp > 0) {
        out.linbot.Fill(-1);
        int body = 0;
        for (int k = 1; k <= 14; ++k) {
            const int line = out.linbd(k);
            if (line <= 0 || line > 25) continue;
            out.linbot(line) = 1;
            ++body;
        }
        out.linbot(26) = body;
    }
}

TPointReport::TPointReport(std::string_view version) : Version(version) {}

// LISTIN
bool TPointReport::WriteListing(std::span<const std::string> cards) {
    // The title (format 1500; the leading character is blank for a new
    // output file) and the column ruler (format 1502).
    Out += "  IONOSPHERIC COMMUNICATIONS ANALYSIS AND PREDICTION PROGRAM\n";
    ff::AppendX(Out, 20);
    Out += " VOACAP   VERSION ";
    ff::AppendA(Out, Version, 8);
    Out += "\n\n\n ";
    for (int k = 1; k <= 7; ++k) {
        ff::AppendX(Out, 9);
        ff::AppendI(Out, k, 1);
    }
    Out += "\n ";
    for (int k = 0; k < 7; ++k) Out += "1234567890";
    Out += "12345\n\n";

    int unknown = 0;
    for (const std::string &line : cards) {
        const std::string card = CardImage(line);
        if (!IsKnownCard(card)) {
            // Format 1512.
            Out += ' ';
            Out.append(card, 0, 80);
            Out += "****NAME IDENTIFIER ERROR****\n";
            ++unknown;
            continue;
        }
        if (card.compare(0, 15, "COMMENT   GROUP") != 0) {
            Out += ' ';
            Out += TrimRight(card);
            NewLine(Out);
        }
        if (card.compare(0, 10, "QUIT      ") == 0) break;
    }
    if (unknown > 0) {
        // Format 1516.
        Out += "\n\n\n ";
        ff::AppendI(Out, unknown, 5);
        Out += " NAME IDENTIFIER ERRORS\n\n CAUSED BY (1) A SPELLING ERROR IN THE IDENTIFIER NAME\n";
        ff::AppendX(Out, 8);
        Out += "OR (2) A REFERENCE TO AN UNDEFINED PROCEDURE\n";
    }
    return unknown == 0;
}

// DECRED, the COMMENT card
void TPointReport::WriteCommentGroup(std::string_view card) {
    Out += " COMMENT   ";
    Out += CardImage(card).substr(10);
    NewLine(Out);
}

// OUTLIN
void TPointReport::WriteHour(TModelState &s) {
    // The reference sends the heads of a METHOD 23 run with a negative
    // BOTLINES switch to other files; DECRED never makes it negative.
    if (s.outprt.linbot(26) + s.outprt.lines >= s.outprt.linmax) WritePageHead(s);
    WriteHourBody(s);
}

// OUTTOP
void TPointReport::WritePageHead(TModelState &s) {
    TOutputLines &outprt = s.outprt;
    TCircuit &don = s.don;
    int extra = 0;
    ++outprt.lpages;
    const char pageMark = s.time.jtx == 1 ? '~' : ' ';
    const int method = s.contrl.mspec == 121 ? 30 : s.ion.method;
    Out += kFormFeed;
    ff::AppendX(Out, 5);
    if (s.cday.iday == 0) {
        ff::AppendA(Out, s.ccoeff.coeff.View(), 4);
        Out += " Coefficients";
    } else {
        Out += "URSI Coeff(Daily)";
    }
    ff::AppendX(Out, 8);
    Out += pageMark;
    Out += "METHOD";
    ff::AppendI(Out, method, 3);
    ff::AppendX(Out, 1);
    ff::AppendA(Out, s.cmodel.model.View(), 8);
    Out += " L ";
    ff::AppendA(Out, Version, 8);
    Out += "  PAGE";
    ff::AppendI(Out, outprt.lpages, 4);
    Out += "\n\n";

    const int month = s.ssp.month;
    if (outprt.lintop(1) > 0 && month > 0) {
        ff::AppendX(Out, 2);
        ff::AppendA(Out, s.alpha.imon(month).View(), 3);
        if (s.cday.iday <= 0) {
            ff::AppendX(Out, 3);
        } else {
            Out += ',';
            ff::AppendI(Out, s.cday.iday, 2, 2);
        }
        ff::AppendA(Out, s.alpha.nyear.View(), 5);
        ff::AppendX(Out, 10);
        Out += "SSN = ";
        ff::AppendF(Out, don.ssn, 4, 0);
        ff::AppendX(Out, 16);
        Out += "Minimum Angle=";
        ff::AppendF(Out, don.amind, 6, 3);
        Out += " degrees\n";
    }
    if (outprt.lintop(2) > 0) {
        ff::AppendX(Out, 2);
        for (const auto *name : {&s.alpha.itran(1), &s.alpha.itran(2), &s.alpha.ircvr(1), &s.alpha.ircvr(2)})
            ff::AppendA(Out, name->View(), 10);
        ff::AppendX(Out, 2);
        Out += "AZIMUTHS";
        ff::AppendX(Out, 2);
        ff::AppendA(Out, s.ion.npsl != 0 ? "<Long>" : "      ", 6);
        ff::AppendX(Out, 2);
        Out += "N. MI.";
        ff::AppendX(Out, 6);
        Out += "KM\n";
    }
    if (outprt.lintop(3) > 0) {
        const float nauticalMiles = don.gcdkm * 0.54f;
        TLabels &alpha = s.alpha;
        alpha.itlat = don.tlatd < 0.0f ? "S" : "N";
        alpha.itlong = don.tlongd < 0.0f ? "W" : "E";
        alpha.irlat = don.rlatd < 0.0f ? "S" : "N";
        alpha.irlong = don.rlongd < 0.0f ? "W" : "E";
        // Format 1506.
        ff::AppendF(Out, std::fabs(don.tlatd), 7, 2);
        ff::AppendX(Out, 1);
        ff::AppendA(Out, alpha.itlat.View(), 1);
        ff::AppendF(Out, std::fabs(don.tlongd), 8, 2);
        ff::AppendX(Out, 1);
        ff::AppendA(Out, alpha.itlong.View(), 1);
        Out += " - ";
        ff::AppendF(Out, std::fabs(don.rlatd), 5, 2);
        ff::AppendX(Out, 1);
        ff::AppendA(Out, alpha.irlat.View(), 1);
        ff::AppendF(Out, std::fabs(don.rlongd), 8, 2);
        ff::AppendX(Out, 1);
        ff::AppendA(Out, alpha.irlong.View(), 1);
        ff::AppendF(Out, don.btrd, 10, 2);
        ff::AppendF(Out, don.brtd, 8, 2);
        ff::AppendF(Out, nauticalMiles, 10, 1);
        ff::AppendF(Out, don.gcdkm, 9, 1);
        NewLine(Out);
    }
    // Format 1520: one line per transmitting (with its power) and receiving
    // antenna.
    const TAntennaSet &antennas = s.cantenna;
    for (int end = 1; end <= 2; ++end) {
        if (outprt.lintop(3 + end) <= 0) continue;
        for (int k = 1; k <= antennas.numants; ++k) {
            if (antennas.iats(k) != end) continue;
            ff::AppendX(Out, 2);
            Out += end == 1 ? "XMTR" : "RCVR";
            ff::AppendI(Out, ff::NearestInt(antennas.xfqs(k)), 3);
            Out += '-';
            ff::AppendI(Out, ff::NearestInt(antennas.xfqe(k)), 2);
            ff::AppendX(Out, 1);
            ff::AppendA(Out, antennas.anttype(k).View(), 10);
            Out += '[';
            ff::AppendA(Out, antennas.antfile(k).View().substr(0, 21), 21);
            Out += "] Az=";
            ff::AppendF(Out, antennas.beammain(k), 5, 1);
            Out += " OFFaz=";
            ff::AppendF(Out, antennas.offazim(k), 5, 1);
            if (end == 1) {
                ff::AppendF(Out, s.pantenna.pwrkw(k), 8, 3);
                Out += "kW";
            }
            NewLine(Out);
            ++extra;
        }
    }
    if (outprt.lintop(6) > 0) {
        // Format 1514.
        ff::AppendX(Out, 2);
        Out += "3 MHz NOISE = ";
        ff::AppendF(Out, -s.ton.znoise, 6, 1);
        Out += " dBW     REQ. REL = ";
        ff::AppendI(Out, s.ion.lufp, 2);
        Out += "%    REQ. SNR =";
        ff::AppendF(Out, don.rsn, 5, 1);
        Out += " dB\n";
    }
    if (outprt.lintop(7) > 0) {
        // Format 1516.
        ff::AppendX(Out, 2);
        Out += "MULTIPATH POWER TOLERANCE = ";
        ff::AppendF(Out, don.pmp, 4, 1);
        Out += " dB   MULTIPATH DELAY TOLERANCE = ";
        ff::AppendF(Out, don.dmp, 6, 3);
        Out += " ms\n";
    }
    outprt.lines = outprt.lintop(15) + extra;
}

// OUTBOD
void TPointReport::WriteHourBody(TModelState &s) {
    TOutputLines &outprt = s.outprt;
    TRunControl &contrl = s.contrl;
    const int hour = s.time.it;

    // The FREQ line (format 1502), after a blank line.
    Out += "\n ";
    ff::AppendX(Out, 1);
    ff::AppendF(Out, s.time.gmt, 4, 1);
    ff::AppendF(Out, s.mufs.allmuf(hour), 5, 1);
    for (int slot = 1; slot <= kLastSlot; ++slot) ff::AppendF(Out, s.frq.frel(slot), 5, 1);
    Out += " FREQ\n";

    if (s.mufs.allmuf(hour) > 30.0f) MarkMufBeyondAntennas(s);

    if (MarkValuedSlots(s) <= 0) {
        // No frequency has a mode: nothing but the FREQ line.
        outprt.lines += 3;
        return;
    }
    TRowLayout layout;
    layout.valued = contrl.jfreq;
    if (contrl.jdash > 0) layout.dashes = contrl.jdash;

    if (s.ion.method == 23 || outprt.linbyp != 0) {
        // In the order of the BOTLINES card.
        outprt.linbot(26) = 0;
        for (int k = 1; k <= 14; ++k) {
            const int line = outprt.linbd(k);
            if (line <= 0) continue;
            AppendBodyLine(Out, s, layout, line);
            ++outprt.linbot(26);
        }
    } else {
        for (int line = 1; line <= 22; ++line)
            if (outprt.linbot(line) > 0) AppendBodyLine(Out, s, layout, line);
    }
    outprt.lines += outprt.linbot(26) + 2;
}

// HFMUFS, format 1504
void TPointReport::WriteEndOfRun() {
    Out += " *****END OF RUN*****";
    ff::AppendX(Out, 5);
    Out += "VOACAP ";
    ff::AppendA(Out, Version, 8);
    NewLine(Out);
}

} // namespace vx::model
