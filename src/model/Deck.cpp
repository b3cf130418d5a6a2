#include "model/Deck.h"

#include "model/CardFields.h"
#include "model/RunSetup.h"
#include "model/State.h"

#include <array>
#include <charconv>
#include <cmath>
#include <memory>
#include <set>

namespace vx::model {

namespace {

// Lines of a text: LF or CR LF ends, the last line may have none.
bool SplitLines(std::string_view text, std::vector<std::string_view> &lines, std::string &error) {
    if (text.size() > kMaxDeckBytes) {
        error = "the deck is larger than " + std::to_string(kMaxDeckBytes) + " bytes";
        return false;
    }
    while (!text.empty()) {
        if (lines.size() >= kMaxDeckLines) {
            error = "the deck has more than " + std::to_string(kMaxDeckLines) + " lines";
            return false;
        }
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return true;
}

std::string Image(std::string_view line) {
    std::string image(line.substr(0, kCardColumns));
    image.resize(kCardColumns, ' ');
    return image;
}

std::string Trimmed(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.remove_suffix(1);
    return std::string(text);
}

std::string AtLine(std::size_t line) { return "line " + std::to_string(line + 1) + ": "; }

// Fw.d as the reference writes it: rounded, right-justified, a leading
// zero dropped when the field is too narrow, no sign on a printed zero,
// asterisks when the number does not fit.
std::string Fixed(float value, int width, int decimals) {
    std::array<char, 64> buffer{};
    const auto [end, status] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), double(value), std::chars_format::fixed, decimals);
    std::string text = status == std::errc() ? std::string(buffer.data(), end) : std::string();
    if (decimals == 0) text += '.';
    if (text.find_first_of("123456789") == std::string::npos && !text.empty() && text[0] == '-') text.erase(0, 1);
    if (int(text.size()) > width && text.rfind("0.", 0) == 0) text.erase(0, 1);
    if (int(text.size()) > width && text.rfind("-0.", 0) == 0) text.erase(1, 1);
    if (text.empty() || int(text.size()) > width) return std::string(std::size_t(width), '*');
    return std::string(std::size_t(width) - text.size(), ' ') + text;
}

std::string Whole(long long value, int width) {
    std::string text = std::to_string(value);
    if (int(text.size()) > width) return std::string(std::size_t(width), '*');
    return std::string(std::size_t(width) - text.size(), ' ') + text;
}

// The card names of the reference (BLKDAT), and the ones our decks use.
const std::set<std::string_view> &KnownCards() {
    static const std::set<std::string_view> names{
        "METHOD",   "MONTH",     "MONTHLOOP", "SUNSPOT",  "CIRCUIT",   "SYSTEM", "TIME", "ANTENNA", "FREQUENCY",
        "LABEL",    "INTEGRATE", "EXECUTE",   "SAMPLE",   "EFVAR",     "ESVAR",  "EDP",  "AUXIN",   "AUXOUT",
        "ANTOUT",   "OUTGRAPH",  "COMMENT",   "FREEFORM", "PROCEDURE", "END",    "NEXT", "QUIT",    "FPROB",
        "TOPLINES", "BOTLINES",  "INFORM",    "AREA",     "LINEMAX",   "COEFFS", "ZONES"};
    return names;
}
const std::set<std::string_view> &UsedCards() {
    static const std::set<std::string_view> names{"METHOD",  "MONTH",     "SUNSPOT",  "CIRCUIT", "SYSTEM",  "TIME",
                                                  "ANTENNA", "FREQUENCY", "LABEL",    "EXECUTE", "COMMENT", "QUIT",
                                                  "FPROB",   "TOPLINES",  "BOTLINES", "LINEMAX", "COEFFS",  ""};
    return names;
}
// Cards that, given twice, make the reference run early (DECRED's IWCRD).
const std::set<std::string_view> &OnceCards() {
    static const std::set<std::string_view> names{"METHOD", "MONTH", "SUNSPOT",   "CIRCUIT",
                                                  "SYSTEM", "TIME",  "FREQUENCY", "LABEL"};
    return names;
}

// What the run needs once the cards are applied.
bool CheckRunnable(const TModelState &s, std::string &error) {
    if (s.contrl.months(1) == 0) {
        error = "no month to compute (MONTH card)";
        return false;
    }
    for (int m = 1; m <= 12 && s.contrl.months(m) != 0; ++m) {
        if (s.contrl.months(m) < 1 || s.contrl.months(m) > 12) {
            error = "MONTH: month " + std::to_string(s.contrl.months(m)) + " does not exist";
            return false;
        }
        if (s.cdaily.idaily(m) != 0) {
            error = "MONTH: days of the month (daily maps) are not supported";
            return false;
        }
    }
    if (s.chours.nhours < 1) {
        error = "no hour to compute (TIME card)";
        return false;
    }
    if (s.frq.frel(1) == 0.f) {
        error = "FREQUENCY: give -1 or a list of frequencies";
        return false;
    }
    const TCircuit &d = s.don;
    if (std::fabs(d.tlatd) > 90.f || std::fabs(d.rlatd) > 90.f || std::fabs(d.tlongd) > 360.f ||
        std::fabs(d.rlongd) > 360.f) {
        error = "CIRCUIT: a latitude or longitude out of range";
        return false;
    }
    if (s.ion.npsl != 0 && s.ion.npsl != 1) {
        error = "CIRCUIT: the path flag must be 0 (short) or 1 (long)";
        return false;
    }
    return true;
}

// CHARDEG as AREAMAP's GETTRA calls it on a field without blanks:
// "ddd.dddX" or "dddXmm'ss\"" with X = N/S or E/W.
bool CoordinateDegrees(std::string field, bool longitude, float &degrees) {
    std::string compact;
    for (char c : field)
        if (c != ' ') compact += c;
    float value = 0.f;
    int minutes = 0, seconds = 0, sign = 1, decimal = 0, delimiters = 0;
    bool any = false;
    for (std::size_t i = 0; i < compact.size() && compact[i] != ','; ++i) {
        const char c = compact[i];
        if (delimiters == 3) return false;
        if (c == '-') {
            if (any) return false;
            sign = -1;
        } else if (c == '.') {
            if (decimal != 0 || delimiters != 0) return false;
            decimal = 1;
        } else if (c >= '0' && c <= '9') {
            const int n = c - '0';
            if (delimiters == 0 && decimal == 0)
                value = value * 10.f + float(n);
            else if (delimiters == 0)
                value = value + float(n) / std::pow(10.f, float(decimal++));
            else if (delimiters == 1 && (minutes = minutes * 10 + n) >= 60)
                return false;
            else if (delimiters == 2 && (seconds = seconds * 10 + n) >= 60)
                return false;
            if (value > 1.e4f) return false;
        } else if (++delimiters == 1) {
            const char x = char(c & ~0x20);
            if (!longitude && x != 'N' && x != 'S') return false;
            if (longitude && x != 'E' && x != 'W') return false;
            if (x == 'S' || x == 'W') sign = -sign;
        }
        any = true;
    }
    if (!any) return false;
    value = value + float(minutes) / 60.f + float(seconds) / 3600.f;
    if (value > (longitude ? 360.f : 90.f)) return false;
    if (longitude && value > 180.f) value -= 360.f;
    degrees = value * float(sign);
    return true;
}

// ANTFILE_NAME: the file field without its blanks, "\" turned into "/".
std::string AntennaFileName(std::string_view field) {
    std::string name;
    for (char c : field)
        if (c != ' ') name += c;
    const std::size_t slash = name.find('\\');
    if (slash != std::string::npos) name[slash] = '/';
    name.resize(21, ' ');
    return name;
}

// The values of an area deck, as AREAMAP reads them.
struct TAreaValues {
    std::string Model;
    bool HaveTransmitter = false;
    std::string TxLat, TxLon, TxName, Path;
    float XMin = 0.f, XMax = 0.f, YMin = 0.f, YMax = 0.f;
    int32_t Grid = 0, GridType = 0, Method = 0;
    std::string Coeffs = "    ";
    std::vector<float> Months;
    std::vector<int32_t> Ssns, Hours;
    std::vector<float> Freqs;
    int32_t Noise = 0, LufProb = 0, Rsn = 0;
    float MinAngle = 0.f, Pmp = 0.f, Dmp = 0.f;
    std::array<float, 4> Fprob{};
    std::string RxFile, TxFile;
    float RxGain = 0.f, RxBearing = 0.f, DesignFreq = 0.f, Beam = 0.f, TxPower = 0.f;
    bool HaveRx = false, HaveTx = false, HaveSystem = false;
};

constexpr int kAreaMonths = 25; // MAX_AREA_MONTHS of the Linux build
constexpr std::size_t kAreaColumns = 12 + kAreaMonths * 7;

bool ReadAreaLine(std::string_view line, TAreaValues &v, std::string &error) {
    std::string card(line.substr(0, kAreaColumns));
    card.resize(kAreaColumns, ' ');
    const std::string_view label = std::string_view(card).substr(0, 10);
    TCardFields f(card);
    f.Skip(10);
    bool ok = true;
    auto list = [&](auto &values, auto read) {
        values.assign(kAreaMonths, {});
        for (auto &value : values) ok = ok && read(value);
    };
    if (label == "Model    :") {
        v.Model = card.substr(10, 6);
    } else if (label == "Transmit :") {
        v.TxLat = card.substr(10, 10);
        v.TxLon = card.substr(20, 10);
        v.TxName = card.substr(30, 20);
        v.Path = card[51] == 'L' ? "Long " : "Short";
        v.HaveTransmitter = true;
    } else if (label == "Area     :") {
        ok = f.Real(10, 1, v.XMin) && f.Real(10, 1, v.XMax) && f.Real(10, 1, v.YMin) && f.Real(10, 1, v.YMax);
    } else if (label == "Gridsize :") {
        ok = f.Int(5, v.Grid) && f.Int(5, v.GridType);
    } else if (label == "Method   :") {
        ok = f.Int(5, v.Method);
    } else if (label == "Coeffs   :") {
        v.Coeffs = card.substr(10, 4);
    } else if (label == "Months   :") {
        list(v.Months, [&](float &x) { return f.Real(7, 2, x); });
        for (float &m : v.Months)
            if (m > 0.f && m < 1.f) m *= 100.f;
    } else if (label == "Ssns     :") {
        list(v.Ssns, [&](int32_t &x) { return f.Int(7, x); });
    } else if (label == "Hours    :") {
        list(v.Hours, [&](int32_t &x) { return f.Int(7, x); });
    } else if (label == "Freqs    :") {
        list(v.Freqs, [&](float &x) { return f.Real(7, 3, x); });
    } else if (label == "System   :") {
        if (v.Model != "VOACAP") {
            error = "the System line needs a Model line naming VOACAP before it";
            return false;
        }
        ok = f.Int(5, v.Noise) && f.Real(10, 3, v.MinAngle) && f.Int(5, v.LufProb) && f.Int(5, v.Rsn) &&
             f.Real(10, 3, v.Pmp) && f.Real(10, 3, v.Dmp);
        v.HaveSystem = true;
    } else if (label == "Fprob    :") {
        for (float &x : v.Fprob) ok = ok && f.Real(5, 2, x);
    } else if (label == "Rec Ants :") {
        f.Skip(1);
        v.RxFile = f.Text(21);
        f.Skip(8);
        ok = f.Real(6, 1, v.RxGain) && f.Real(6, 1, v.RxBearing);
        v.HaveRx = true;
    } else if (label == "Tx Ants  :") {
        f.Skip(1);
        v.TxFile = f.Text(21);
        f.Skip(1);
        ok = f.Real(7, 3, v.DesignFreq) && f.Real(6, 1, v.Beam);
        f.Skip(1);
        ok = ok && f.Real(10, 4, v.TxPower);
        v.HaveTx = true;
    } else if (label == "Colors   :" || label == "Nparms   :" || label == "Receive  :" || label == "Pcenter  :" ||
               label == "Qindexs  :" || label == "Zones    :") {
        error = "the " + Trimmed(label.substr(0, 9)) + " line is not supported";
        return false;
    } else if (Trimmed(card).empty()) {
        return true;
    } else {
        error = "unknown line \"" + Trimmed(label) + "\"";
        return false;
    }
    if (!ok) error = "malformed number on the " + Trimmed(label.substr(0, 9)) + " line";
    return ok;
}

bool CheckAreaValues(const TAreaValues &v, std::string &error) {
    auto fail = [&](std::string message) {
        error = std::move(message);
        return false;
    };
    if (v.Model != "VOACAP") return fail("the Model line must name VOACAP");
    if (v.Method != 30) return fail("Method " + std::to_string(v.Method) + ": only Method 30 is supported");
    if (!v.HaveTransmitter) return fail("no Transmit line");
    if (!v.HaveSystem) return fail("no System line");
    if (!v.HaveRx || !v.HaveTx) return fail("the deck needs a Rec Ants and a Tx Ants line");
    if (v.Grid < 2 || v.Grid > kMaxGridSize) return fail("Gridsize must lie within 2.." + std::to_string(kMaxGridSize));
    if (v.Months.empty() || v.Months[0] == 0.f) return fail("no month to compute (Months line)");
    if (v.Months[1] != 0.f) return fail("only one month per area deck is supported");
    if (v.Months[0] < 1.f || v.Months[0] >= 13.f) return fail("Months: the month must lie within 1..12");
    if (v.Freqs.empty() || v.Freqs[0] <= .5f || v.Freqs[0] >= 100.f)
        return fail("Freqs: the frequency must lie above 0.5 MHz and below 100 MHz");
    if (v.Ssns.empty() || v.Ssns[0] < 0 || v.Ssns[0] > 9999) return fail("Ssns: the sunspot number is out of range");
    if (v.Hours.empty()) return fail("no Hours line");
    return true;
}

// AREAMAP: the point-style deck the reference writes for the first month
// of an area deck and then computes from.
std::vector<std::string> AreaCards(const TAreaValues &v, std::string_view name, float tlat, float tlon) {
    std::vector<std::string> cards;
    auto add = [&](std::string card) { cards.push_back(Image(card)); };
    const std::string nul20(20, '\0');
    add("COMMENT   " + v.Model + "    " + std::string(name));
    // Six unset colour layers and an unset city file name.
    add("COMMENT      -1   -1   -1   -1   -1   -1 " + std::string(12, '\0'));
    add("COMMENT   " + Fixed(tlat, 10, 4) + Fixed(tlon, 10, 4) + " " + v.TxName + " " + Fixed(v.Beam, 6, 1) + " " +
        v.Path);
    add("AREA      " + Fixed(0.f, 10, 4) + Fixed(0.f, 10, 4) + Fixed(v.XMin, 10, 2) + Fixed(v.XMax, 10, 2) +
        Fixed(v.YMin, 10, 2) + Fixed(v.YMax, 10, 2) + Whole(v.Grid, 5) + Whole(v.Grid, 5) + Whole(v.GridType, 5));
    add("COMMENT   Parameters:" + Whole(0, 5));
    // The default cards of database/voacap.def as installed.
    add("COMMENT    Any VOACAP default cards may be placed in the file: VOACAP.DEF");
    add("LINEMAX      55       number of lines-per-page");
    add("COEFFS    " + v.Coeffs);
    add("TIME      " + Whole(v.Hours[0], 5) + Whole(v.Hours[0], 5) + Whole(1, 5) + Whole(1, 5));
    add("MONTH     " + Whole(1993, 5) + Fixed(v.Months[0], 5, 2));
    add("SUNSPOT   " + Fixed(float(v.Ssns[0]), 5, 0));
    add("FREQUENCY $" + Fixed(v.Freqs[0], 6, 3));
    add("LABEL     " + v.TxName + nul20);
    const float tlond = tlon > 180.f ? tlon - 360.f : tlon;
    const int npsl = v.Path[0] == 'L' ? 1 : 0;
    add("CIRCUIT   " + Fixed(std::fabs(tlat), 5, 2) + (tlat < 0.f ? "S" : "N") + Fixed(std::fabs(tlond), 9, 2) +
        (tlond < 0.f ? "W" : "E") + Fixed(0.f, 9, 2) + "N" + Fixed(0.f, 9, 2) + "E" + "  " + v.Path.substr(0, 1) + " " +
        Whole(npsl, 5));
    // Noise categories 1..6 are written as negative levels.
    const float noise = v.Noise >= 1 && v.Noise <= 6 ? float(-v.Noise) : float(v.Noise);
    add("SYSTEM    " + Fixed(1.f, 5, 0) + Fixed(noise, 5, 0) + Fixed(v.MinAngle, 5, 2) + Fixed(float(v.LufProb), 5, 0) +
        Fixed(float(v.Rsn), 5, 1) + Fixed(v.Pmp, 5, 2) + Fixed(v.Dmp, 5, 2));
    add("FPROB     " + Fixed(v.Fprob[0], 5, 2) + Fixed(v.Fprob[1], 5, 2) + Fixed(v.Fprob[2], 5, 2) +
        Fixed(v.Fprob[3], 5, 2));
    std::string beam = Fixed(v.Beam, 5, 1);
    if (beam == "*****") beam = Fixed(v.Beam, 5, 0);
    add("ANTENNA   " + Whole(1, 5) + Whole(1, 5) + Whole(2, 5) + Whole(30, 5) + Fixed(v.DesignFreq, 10, 3) + "[" +
        AntennaFileName(v.TxFile) + "]" + beam + Fixed(v.TxPower, 10, 4));
    add("ANTENNA   " + Whole(2, 5) + Whole(2, 5) + Whole(2, 5) + Whole(30, 5) + Fixed(0.f, 10, 3) + "[" +
        AntennaFileName(v.RxFile) + "]" + Fixed(v.RxBearing, 5, 1) + Fixed(v.RxGain, 10, 4));
    add("METHOD    " + Whole(100 + v.Method, 5) + Whole(0, 5));
    add("EXECUTE");
    add("QUIT");
    return cards;
}

// Applies the cards to a scratch state: what DECRED would refuse or the
// engine cannot run is found before any computation.
bool TryCards(const TDeck &deck, std::string &error) {
    auto scratch = std::make_unique<TModelState>();
    InitialiseState(*scratch);
    if (!ApplyDeck(deck, *scratch, error)) return false;
    return CheckRunnable(*scratch, error);
}

} // namespace

std::string TDeckAntenna::Path() const {
    std::string path;
    for (char c : File)
        if (c != ' ') path += c;
    return path;
}

bool DecodeAntennaCard(std::string_view image, TDeckAntenna &card, std::string &error) {
    TCardFields f(image);
    f.Skip(10);
    bool ok = f.Int(5, card.Role) && f.Int(5, card.Index) && f.Int(5, card.MinFreq) && f.Int(5, card.MaxFreq) &&
              f.Real(10, 3, card.DesignFreq);
    f.Skip(1);
    card.File = f.Text(21);
    f.Skip(1);
    ok = ok && f.Real(5, 1, card.Beam) && f.Real(10, 4, card.Power);
    if (!ok) {
        error = "malformed number on the ANTENNA card";
        return false;
    }
    if (card.Index < 1 || card.Index > kMaxAntennas) {
        error = "ANTENNA: slot " + std::to_string(card.Index) + " (1 to " + std::to_string(kMaxAntennas) +
                " allowed: too many antennas)";
        return false;
    }
    if (card.Role != 1 && card.Role != 2) {
        error = "ANTENNA: the first field must be 1 (transmitter) or 2 (receiver)";
        return false;
    }
    if (card.MinFreq < 1 || card.MaxFreq > 30 || card.MinFreq > card.MaxFreq) {
        error = "ANTENNA: the frequency range must lie within 1..30 MHz";
        return false;
    }
    if (card.Path().empty()) {
        error = "ANTENNA: no antenna file named";
        return false;
    }
    return true;
}

bool ReadPointDeck(std::string_view text, TDeck &deck, std::string &error) {
    deck = TDeck{};
    std::vector<std::string_view> lines;
    if (!SplitLines(text, lines, error)) return false;
    std::set<std::string> seen;
    std::set<int32_t> slots;
    bool executed = false, circuit = false, quit = false;
    for (std::size_t k = 0; k < lines.size() && !quit; ++k) {
        std::string image = Image(lines[k]);
        const std::string name = Trimmed(std::string_view(image).substr(0, 10));
        if (!KnownCards().count(name) && !name.empty()) {
            error = AtLine(k) + "unknown card \"" + name + "\"";
            return false;
        }
        if (!UsedCards().count(name)) {
            error = AtLine(k) + "the " + name + " card is not supported";
            return false;
        }
        if (executed && name != "QUIT" && name != "COMMENT" && !name.empty()) {
            error = AtLine(k) + "only QUIT may follow EXECUTE";
            return false;
        }
        if (OnceCards().count(name) && !seen.insert(name).second) {
            error = AtLine(k) + "a second " + name + " card";
            return false;
        }
        if (name == "CIRCUIT") circuit = true;
        if (name == "ANTENNA") {
            TDeckAntenna card;
            if (!DecodeAntennaCard(image, card, error)) {
                error = AtLine(k) + error;
                return false;
            }
            if (!circuit) {
                error = AtLine(k) + "ANTENNA cards must follow the CIRCUIT card";
                return false;
            }
            if (!slots.insert(card.Index).second) {
                error = AtLine(k) + "antenna slot " + std::to_string(card.Index) + " given twice";
                return false;
            }
            deck.Antennas.push_back(std::move(card));
        }
        executed = executed || name == "EXECUTE";
        quit = name == "QUIT";
        deck.Cards.push_back(std::move(image));
    }
    if (!quit) {
        error = "the deck ends without a QUIT card";
        return false;
    }
    if (!executed) {
        error = "the deck has no EXECUTE card";
        return false;
    }
    if (!seen.count("METHOD")) {
        error = "the deck has no METHOD card";
        return false;
    }
    for (std::size_t k = 0; k < deck.Cards.size(); ++k) {
        if (deck.Cards[k].compare(0, 10, "METHOD    ") != 0) continue;
        auto scratch = std::make_unique<TModelState>();
        InitialiseState(*scratch);
        if (!ApplyCard(deck.Cards[k], *scratch, error)) {
            error = AtLine(k) + error;
            return false;
        }
        if (scratch->carea.iarea != 0 || scratch->ion.method != 23) {
            error = AtLine(k) + "only METHOD 23 is supported in a point-to-point deck";
            return false;
        }
    }
    return TryCards(deck, error);
}

bool ReadAreaDeck(std::string_view text, std::string_view name, TDeck &deck, std::string &error) {
    deck = TDeck{};
    std::vector<std::string_view> lines;
    if (!SplitLines(text, lines, error)) return false;
    TAreaValues v;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (!ReadAreaLine(lines[k], v, error)) {
            error = AtLine(k) + error;
            return false;
        }
    }
    if (!CheckAreaValues(v, error)) return false;
    float tlat = 0.f, tlon = 0.f;
    if (!CoordinateDegrees(v.TxLat, false, tlat) || !CoordinateDegrees(v.TxLon, true, tlon)) {
        error = "Transmit: the coordinates cannot be read";
        return false;
    }
    deck.Kind = TDeckKind::dkArea;
    deck.GridSize = v.Grid;
    deck.Cards = AreaCards(v, name.substr(0, 64), tlat, tlon);
    for (const std::string &card : deck.Cards) {
        if (card.compare(0, 10, "ANTENNA   ") != 0) continue;
        TDeckAntenna antenna;
        if (!DecodeAntennaCard(card, antenna, error)) return false;
        deck.Antennas.push_back(std::move(antenna));
    }
    return TryCards(deck, error);
}

} // namespace vx::model

namespace vx::model {

// set_magnetic_pole: READ(*) of two reals, from as many lines as it takes;
// a value that is no number, or a pole out of range, counts as no file.
std::optional<std::pair<float, float>> ParseMagneticPole(std::string_view text) {
    float values[2] = {};
    int found = 0;
    std::size_t at = 0;
    while (found < 2 && at < text.size()) {
        const char c = text[at];
        if (c == ' ' || c == ',' || c == '\t' || c == '\r' || c == '\n') {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < text.size() && text[end] != ' ' && text[end] != ',' && text[end] != '\t' && text[end] != '\r' &&
               text[end] != '\n')
            ++end;
        const std::string_view token = text.substr(at, end - at);
        const char *first = token.data();
        if (!token.empty() && token.front() == '+') ++first;
        const auto [ptr, ec] = std::from_chars(first, token.data() + token.size(), values[found]);
        if (ec != std::errc() || ptr != token.data() + token.size()) return std::nullopt;
        ++found;
        at = end;
    }
    if (found < 2) return std::nullopt;
    const float glat = values[0], glon = values[1];
    if (glat < 60.0f || glat > 90.0f || glon < -180.0f || glon > 180.0f) return std::nullopt;
    return std::pair{glat, glon};
}

} // namespace vx::model
