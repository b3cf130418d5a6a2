#include "model/AreaReport.h"

#include "model/FortranFormat.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vx::model {

namespace ff = fortran;

namespace {

// DAYINTERP (beside PWRCUT): the fraction of days on which the SNR exceeds
// `threshold`, interpolated in the table of deciles (highest first).
float DaysAbove(const std::array<float, 11> &snr, float threshold) {
    if (threshold > snr[0]) return 0.0f;
    for (int i = 1; i <= 10; ++i) {
        const float upper = snr[std::size_t(i - 1)];
        const float lower = snr[std::size_t(i)];
        if (threshold <= upper && threshold >= lower)
            return (float(i - 1) + (upper - threshold) / (upper - lower)) / 10.0f;
    }
    return 1.0f;
}

// TXPWR's trimming: drops trailing zeros before the unit, then a bare
// decimal point.
void TrimPower(std::string &text) {
    auto endsWith = [&](std::string_view tail) {
        return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
    };
    for (;;) {
        if (endsWith("0W"))
            text.erase(text.size() - 2, 1);
        else if (endsWith("0kW"))
            text.erase(text.size() - 3, 1);
        else
            break;
    }
    if (endsWith(".W"))
        text.erase(text.size() - 2, 1);
    else if (endsWith(".kW"))
        text.erase(text.size() - 3, 1);
    if (!text.empty() && text[0] == 'W') text = "0W";
}

// The antenna's bearing in the head: "45deg", or for a file name ending in
// ".mNN"/".pNN" (a slewed HFCC antenna) "(bearing,slew)deg".
std::string BearingText(const TAntennaSet &antennas) {
    const std::string_view file = antennas.antfile(1).View();
    const std::size_t used = file.find_last_not_of(' ') + 1;
    int slew = 0;
    if (used >= 4) {
        const std::string_view tail = file.substr(used - 4, 4);
        const bool minus = tail.substr(0, 2) == ".m";
        if (minus || tail.substr(0, 2) == ".p") {
            const std::string_view digits = tail.substr(2, 2);
            int value = 0;
            bool valid = true;
            bool any = false;
            for (char c : digits) {
                if (c == ' ') continue;
                if (c < '0' || c > '9')
                    valid = false;
                else
                    value = value * 10 + (c - '0'), any = true;
            }
            if (valid && any) slew = minus ? -value : value;
        }
    }
    std::string text;
    const int bearing = ff::NearestInt(antennas.beammain(1));
    if (slew == 0) {
        ff::AppendI(text, bearing, 3);
        text += "deg";
    } else {
        int mainBeam = bearing + slew;
        if (mainBeam < 0) mainBeam += 360;
        text += '(';
        ff::AppendI(text, mainBeam, 3);
        text += ',';
        ff::AppendI(text, slew, 3);
        text += ")deg";
    }
    text.resize(12, ' ');
    return text;
}

} // namespace

// XLIMIT6
float LimitToSixColumns(float value, int decimals) {
    static constexpr std::array<float, 4> kLowest{-999.9f, -99.99f, -9.999f, -0.9999f};
    static constexpr std::array<float, 4> kHighest{9999.9f, 999.99f, 99.999f, 9.9999f};
    const std::size_t k = std::size_t(decimals - 1);
    if (value < kLowest[k]) return kLowest[k];
    if (value > kHighest[k]) return kHighest[k];
    return value;
}

// PWRCUT (George Lane's power cut)
float PowerCut(float snr50, float snrLower, float snrUpper, float snr88, float snr91) {
    static constexpr std::array<float, 4> kDeviates{1.28f, 0.84f, 0.525f, 0.255f};
    std::array<float, 11> snr{};
    const float lowerDeviation = snrLower / 1.28f;
    snr[10] = snr50 - kDeviates[0] * lowerDeviation * 2.0f;
    for (int k = 0; k < 4; ++k) snr[std::size_t(9 - k)] = snr50 - kDeviates[std::size_t(k)] * lowerDeviation;
    snr[5] = snr50;
    const float upperDeviation = snrUpper / 1.28f;
    for (int k = 0; k < 4; ++k) snr[std::size_t(1 + k)] = snr50 + kDeviates[std::size_t(k)] * upperDeviation;
    snr[0] = snr50 + kDeviates[0] * upperDeviation * 2.0f;
    const float halfPowerDays = DaysAbove(snr, snr88);
    const float quarterPowerDays = DaysAbove(snr, snr91);
    return 1.0f - (1.0f - halfPowerDays) - (halfPowerDays - quarterPowerDays) / 2.0f - quarterPowerDays / 4.0f;
}

// SQUEEZ
void SqueezeBlanks(std::string &text) {
    const std::size_t used = text.find_last_not_of(' ');
    text.resize(used == std::string::npos ? 0 : used + 1);
    std::string squeezed;
    squeezed.reserve(text.size());
    for (char c : text)
        if (!(c == ' ' && !squeezed.empty() && squeezed.back() == ' ')) squeezed += c;
    text = std::move(squeezed);
}

// TXPWR
std::string PowerText(float kilowatts) {
    std::string field;
    if (kilowatts >= 10.0f) {
        ff::AppendF(field, kilowatts, 8, 2);
        field += "kW";
    } else if (kilowatts >= 1.0f) {
        ff::AppendF(field, kilowatts, 8, 4);
        field += "kW";
    } else {
        ff::AppendF(field, kilowatts * 1000.0f, 8, 4);
        field += "W";
    }
    std::string text;
    for (char c : field)
        if (c != ' ') text += c;
    TrimPower(text);
    return text;
}

TAreaReport::TAreaReport(std::string_view version) : Version(version) {}

// OUTAREA, the head (called with negative cell numbers)
void TAreaReport::WriteHead(const TModelState &s) {
    Out += "VOACAPL Version ";
    ff::AppendA(Out, Version, 8);
    Out += '\n';

    const TAntennaSet &antennas = s.cantenna;
    std::string daily = "   ";
    if (s.cdaily.idaily(1) != 0) {
        daily = ".";
        ff::AppendI(daily, s.cdaily.idaily(1), 2, 2);
    }
    const int frequencies = s.ton.nf;
    // Formats 102 and 202.
    std::string label;
    ff::AppendA(label, s.alpha.itran(1).View(), 10);
    ff::AppendA(label, s.alpha.itran(2).View(), 10);
    label += '[';
    ff::AppendA(label, antennas.antname(1).View().substr(0, 10), 10);
    label += "] ";
    label += PowerText(s.pantenna.pwrkw(1));
    label += ' ';
    label += BearingText(antennas);
    ff::AppendI(label, s.chours.ihours(1), 3, 2);
    label += "ut";
    if (frequencies == 1) {
        ff::AppendF(label, s.frq.frel(1), 7, 3);
        label += "MHz ";
    } else {
        ff::AppendI(label, frequencies, 3);
        label += "Freqs ";
    }
    const int month = s.contrl.months(1);
    ff::AppendA(label, month >= 1 && month <= 12 ? s.alpha.imon(month).View() : "   ", 3);
    ff::AppendA(label, daily, 3);
    ff::AppendI(label, ff::NearestInt(s.contrl.sunsp(1)), 4);
    label += "ssn";
    ff::AppendA(label, s.ion.npsl != 0 ? "/Long" : "     ", 5);
    label.resize(90, ' ');
    SqueezeBlanks(label);
    Out += label;
    Out += '\n';

    // Formats 103 and 104.
    ff::AppendI(Out, s.rgrid.nx, 3);
    ff::AppendI(Out, s.rgrid.ny, 3);
    Out += "  Latitude Longitude   MUF";
    if (frequencies == 1)
        Out +=
            "  MODE ANGLE DELAY VHITE MUFda  LOSS   DBU  SDBW  NDBW   SNR RPWRG   REL MPROB"
            " SPROB TGAIN RGAIN SNRxx    DU    DL SIGLW SIGUP PWRCTANGLER";
    else
        Out += "   DBU  SDBW   SNR   REL SPROB SNRxx";
    Out += '\n';
}

// OUTAREA, one cell
void FoldBestFrequency(TModelState &s) {
    TFrequencyResults &son = s.son;
    for (int k = 2; k <= s.ton.nf; ++k) {
        if (son.dbu(k) > son.dbu(1)) son.dbu(1) = son.dbu(k);
        if (son.dbw(k) > son.dbw(1)) son.dbw(1) = son.dbw(k);
        if (son.sndb(k) > son.sndb(1)) son.sndb(1) = son.sndb(k);
        if (son.reliab(k) > son.reliab(1)) son.reliab(1) = son.reliab(k);
        if (son.sprob(k) > son.sprob(1)) son.sprob(1) = son.sprob(k);
        if (s.sncom.snxx(k) > s.sncom.snxx(1)) s.sncom.snxx(1) = s.sncom.snxx(k);
    }
}

void TAreaReport::WriteCell(TModelState &s, int ix, int iy) {
    TFrequencyResults &son = s.son;
    const int frequencies = s.ton.nf;
    std::array<std::string, 24> fields;

    ff::AppendF(fields[0], s.frq.frel(12), 6, 2);
    ff::AppendX(fields[1], 2);
    if (s.contrl.jlong < 0) {
        ff::AppendI(fields[1], son.nhp(1), 2);
        ff::AppendA(fields[1], s.alpha.mode(1).View(), 2);
    } else {
        ff::AppendA(fields[1], s.alpha.mode(1).View(), 2);
        ff::AppendA(fields[1], s.alpha.moder(1).View(), 2);
    }
    FoldBestFrequency(s);
    // OUTAREA's SNR88 and SNR91.
    const float powerCut = PowerCut(son.sndb(1), son.snrlw(1), son.snrup(1), 88.0f, 91.0f);
    float receiveAngle = son.angler(1);
    if (receiveAngle <= 0.0f) receiveAngle = son.angle(1);

    struct TField {
        float value;
        int decimals;
    };
    const std::array<TField, 22> values{{
        {son.angle(1), 2},
        {son.delay(1), 2},
        {son.vhigh(1), 1},
        {son.cprob(1), 3},
        {son.dblos(1), 1},
        {son.dbu(1), 1},
        {son.dbw(1), 1},
        {son.xnynois(1) + son.rneff(1), 1},
        {son.sndb(1), 1},
        {son.snpr(1), 1},
        {son.reliab(1), 3},
        {son.probmp(1), 3},
        {son.sprob(1), 3},
        {s.cgains.gaint(1), 2},
        {s.cgains.gainr(1), 2},
        {s.sncom.snxx(1), 1},
        {s.dudl_nois.du_nois(1), 2},
        {s.dudl_nois.dl_nois(1), 2},
        {son.dblosl(1), 2},
        {son.dblosu(1), 2},
        {powerCut, 3},
        {receiveAngle, 2},
    }};
    for (std::size_t k = 0; k < values.size(); ++k)
        ff::AppendF(fields[k + 2], LimitToSixColumns(values[k].value, values[k].decimals), 6, values[k].decimals);

    // The receiver's position (a normal, not inverse, area run).
    const float latitude = s.don.rlatd;
    float longitude = s.don.rlongd;
    if (s.rgrid.iproj != 7 && s.rgrid.xmin < 0.0f && (ix == 1 || longitude > 180.0f)) longitude -= 360.0f;
    if (longitude < -359.0f) longitude = 0.0f; // the poles

    ff::AppendI(Out, ix, 3);
    ff::AppendI(Out, iy, 3);
    ff::AppendF(Out, latitude, 10, 4);
    ff::AppendF(Out, longitude, 10, 4);
    if (frequencies == 1) {
        for (const std::string &field : fields) Out += field;
    } else {
        for (int k : {0, 7, 8, 10, 12, 14, 17}) Out += fields[std::size_t(k)];
    }
    Out += '\n';
}

} // namespace vx::model
