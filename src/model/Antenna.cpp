// The deck's antenna cards into the run's state (antcalc, then DECRED), and
// the gain and power the model asks for (GAIN, PWRDB).
#include "model/Antenna.h"
#include "model/AntennaText.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>

namespace vx::model {

namespace {

constexpr int kElevations = 91;
constexpr int kTableFrequencies = 30;
// Marks a slot whose pattern is the area run's 360-azimuth table (antcalc).
constexpr float kAreaPatternMark = -999.0f;

// What antcalc leaves for DECRED in the scratch file gainNN.dat of a slot:
// the header line and, for point-to-point, 30 lines of efficiency and gains,
// every value already passed through the file's formats.
struct TGainFile {
    bool written = false;
    bool area = false;
    std::string anttype;
    std::string description;
    float xfqs = 0, xfqe = 0, beammain = 0, offazim = 0, cond = 0, diel = 0;
    std::array<float, kTableFrequencies> efficiency{};
    TTable<float, kTableFrequencies, kElevations> gains{};
};

struct TCardContext {
    const TAntennaSlotCard &card;
    const TAntennaModel &model;
    std::string name;
};

std::string SlotText(const TAntennaSlotCard &card) { return "ANTENNA card of slot " + std::to_string(card.idx); }

// antmodel: the type label of the gain file's first line.
std::string TypeLabel(int32_t type, float gain) {
    if (type == 13) return "3-D Table ";
    if (type == 14) return "2-D P-to-P";
    std::string number;
    if (!WriteFixedReal(gain, 5, 1, number)) number = "*****";
    return "+" + number + " dBi";
}

// antsave: one azimuth of an area pattern, kept in hundredths of a dB.
void SaveAreaAzimuth(TModelState &s, int slot, int azimuth, const float *gains) {
    for (int e = 1; e <= kElevations; ++e) {
        float gain = gains[e - 1];
        if (gain > 300.0f) gain = 300.0f;
        if (gain < -300.0f) gain = -300.0f;
        const float hundredths = gain * 100.0f;
        s.careaant.iarray360(azimuth + 1, e, slot) =
            std::isnan(hundredths) ? int16_t(0) : int16_t(std::lround(hundredths));
    }
}

// antcalc's area method: one pattern of 360 azimuths at the first frequency.
bool ComputeAreaPattern(TModelState &s, const TCardContext &c, float frequency, const std::array<float, 20> &parm,
                        std::string &error) {
    const int slot = c.card.idx;
    if (slot != 1 && slot != 2) {
        error = SlotText(c.card) + ": an area run has only slots 1 (transmit) and 2 (receive)";
        return false;
    }
    std::array<float, kElevations> pattern{};
    float eff = 0.0f;
    if (c.model.type == 0) {
        pattern.fill(parm[0]);
        for (int azimuth = 0; azimuth < 360; ++azimuth) SaveAreaAzimuth(s, slot, azimuth, pattern.data());
    } else if (c.model.type == 13) {
        eff = parm[2];
        for (int azimuth = 0; azimuth < 360; ++azimuth) {
            for (int e = 0; e < kElevations; ++e)
                pattern[std::size_t(e)] = c.model.gains[std::size_t(azimuth * kElevations + e)] + parm[0];
            SaveAreaAzimuth(s, slot, azimuth, pattern.data());
        }
    } else {
        const int mhz = int(frequency);
        if (!(frequency >= 1.0f) || mhz > kTableFrequencies) {
            error = SlotText(c.card) + ": antenna file \"" + c.name + "\" has no gains at " +
                    std::to_string(frequency) + " MHz";
            return false;
        }
        const int next = std::min(mhz + 1, kTableFrequencies);
        const float fract = frequency - float(mhz);
        const float eff1 = c.model.efficiency[std::size_t(mhz - 1)];
        const float eff2 = c.model.efficiency[std::size_t(next - 1)];
        eff = eff1 + (eff2 - eff1) * fract;
        const float *g1 = &c.model.gains[std::size_t((mhz - 1) * kElevations)];
        const float *g2 = &c.model.gains[std::size_t((next - 1) * kElevations)];
        for (int e = 0; e < kElevations; ++e) pattern[std::size_t(e)] = parm[0] + g1[e] + (g2[e] - g1[e]) * fract;
        for (int azimuth = 0; azimuth < 360; ++azimuth) SaveAreaAzimuth(s, slot, azimuth, pattern.data());
    }
    s.cantenna.aeff(1, slot) = eff;
    return true;
}

// antcalc's point-to-point method: gains 1..30 MHz (zero outside the card's
// band) toward the other end of the circuit.
bool ComputePointGains(const TCardContext &c, float offazim, const std::array<float, 20> &parm, TGainFile &file,
                       std::string &error) {
    const TAntennaSlotCard &card = c.card;
    if (card.minfreq <= card.maxfreq && (card.minfreq < 1 || card.maxfreq > kTableFrequencies)) {
        error = SlotText(card) + ": the band " + std::to_string(card.minfreq) + "-" + std::to_string(card.maxfreq) +
                " MHz is outside 1-30 MHz";
        return false;
    }
    if (c.model.type == 0) {
        for (int f = card.minfreq; f <= card.maxfreq; ++f)
            for (int e = 1; e <= kElevations; ++e) file.gains(f, e) = parm[0];
    } else if (c.model.type == 13) {
        const int azimuth = int(offazim);
        if (azimuth < 0 || azimuth > 359) {
            error = SlotText(card) + ": the bearing off the main beam is outside 0-360 degrees";
            return false;
        }
        const int next = azimuth + 1 == 360 ? 0 : azimuth + 1;
        const float fract = offazim - float(azimuth);
        for (int e = 1; e <= kElevations; ++e) {
            const float g1 = c.model.gains[std::size_t(azimuth * kElevations + e - 1)];
            const float g2 = c.model.gains[std::size_t(next * kElevations + e - 1)];
            const float g = g1 + (g2 - g1) * fract + parm[0];
            for (int f = card.minfreq; f <= card.maxfreq; ++f) file.gains(f, e) = g;
        }
        for (int f = card.minfreq; f <= card.maxfreq; ++f) file.efficiency[std::size_t(f - 1)] = parm[2];
    } else {
        for (int f = card.minfreq; f <= card.maxfreq; ++f) {
            file.efficiency[std::size_t(f - 1)] = c.model.efficiency[std::size_t(f - 1)];
            for (int e = 1; e <= kElevations; ++e)
                file.gains(f, e) = c.model.gains[std::size_t((f - 1) * kElevations + e - 1)] + parm[0];
        }
    }
    return true;
}

// The gain file's table as DECRED reads it back: gains below -99.99 raised to
// it, then every value through F6.2 (efficiency) and F7.3 (gains).
bool PassTableThroughFile(const TAntennaSlotCard &card, TGainFile &file, std::string &error) {
    for (int f = 1; f <= kTableFrequencies; ++f) {
        bool fits = FixedRoundTrip(file.efficiency[std::size_t(f - 1)], 6, 2, file.efficiency[std::size_t(f - 1)]);
        for (int e = 1; e <= kElevations && fits; ++e) {
            float &gain = file.gains(f, e);
            if (gain < -99.99f) gain = -99.99f;
            fits = FixedRoundTrip(gain, 7, 3, gain);
        }
        if (!fits) {
            error = SlotText(card) + ": a gain or efficiency at " + std::to_string(f) +
                    " MHz is too large for the gain table";
            return false;
        }
    }
    return true;
}

// The header line of the gain file (2F5.0, 2F7.2, 2F10.5), read back.
bool PassHeaderThroughFile(const TAntennaSlotCard &card, float beam, float offazim, const std::array<float, 20> &parm,
                           TGainFile &file, std::string &error) {
    const bool fits = FixedRoundTrip(float(card.minfreq), 5, 0, file.xfqs) &&
                      FixedRoundTrip(float(card.maxfreq), 5, 0, file.xfqe) &&
                      FixedRoundTrip(beam, 7, 2, file.beammain) && FixedRoundTrip(offazim, 7, 2, file.offazim) &&
                      FixedRoundTrip(parm[3], 10, 5, file.cond) && FixedRoundTrip(parm[2], 10, 5, file.diel);
    if (!fits) error = SlotText(card) + ": the band, bearing or a parameter is too large for the gain file";
    return fits;
}

// readant: the model's parameters replace the running ones (parameters past
// its count become 0); the built-in 0 dB antenna sets only the first two.
void LoadParameters(const TCardContext &c, std::array<float, 20> &parm) {
    if (c.name.empty()) {
        parm[0] = 0.0f;
        parm[1] = 0.0f;
    } else {
        parm = c.model.parm;
    }
}

// antcalc for one card: the slot's gain file.
bool ComputeCard(TModelState &s, const TCardContext &c, const TAntennaGeometry &geometry, TGainFile &file,
                 std::string &error) {
    const TAntennaSlotCard &card = c.card;
    std::array<float, 20> parm{};
    for (int i = 1; i <= 20; ++i) parm[std::size_t(i - 1)] = s.ccirparm.parm(i);
    LoadParameters(c, parm);
    // antcalc: a receive card's last field, when set, is the isotrope's gain.
    const float design = (card.itr == 2 && card.power != 0.0f) ? card.power : card.designfreq;
    if (c.model.type == 0) parm[0] = design;
    s.designfreq.freqdesign = design;

    file = TGainFile{};
    file.written = true;
    file.anttype = TypeLabel(c.model.type, design);
    file.description = c.name.empty() ? std::string("0 dB gain") : c.model.description;
    file.description.resize(70, ' ');
    bool ok = true;
    if (geometry.area && geometry.frequencies[1] == 0.0f) {
        file.area = true;
        ok = ComputeAreaPattern(s, c, geometry.frequencies[0], parm, error) &&
             PassHeaderThroughFile(card, card.beammain, kAreaPatternMark, parm, file, error);
    } else {
        float offazim = geometry.azimuth[std::size_t(card.itr - 1)] - card.beammain;
        if (offazim < 0.0f) offazim += 360.0f;
        ok = ComputePointGains(c, offazim, parm, file, error) &&
             PassHeaderThroughFile(card, card.beammain, offazim, parm, file, error) &&
             PassTableThroughFile(card, file, error);
    }
    for (int i = 1; i <= 20; ++i) s.ccirparm.parm(i) = parm[std::size_t(i - 1)];
    return ok;
}

// DECRED for one card: the card's own fields, then its slot's gain file.
void ReadCard(TModelState &s, const TAntennaSlotCard &card, const TGainFile &file) {
    TAntennaSet &a = s.cantenna;
    const int slot = card.idx;
    a.iats(slot) = card.itr;
    a.designfreq(slot) = card.designfreq;
    a.antfile(slot) = card.antfile;
    s.pantenna.pwrkw(slot) = card.power;
    if (card.itr == 1) {
        if (s.pantenna.pwrkw(slot) <= 0.0f) s.pantenna.pwrkw(slot) = 1.0f;
        s.pantenna.pwrdba(slot) = 30.0f + 10.0f * std::log10(s.pantenna.pwrkw(slot));
    }
    a.numants = std::max(a.numants, slot);
    a.anttype(slot) = file.anttype;
    a.antname(slot) = file.description;
    a.xfqs(slot) = file.xfqs;
    a.xfqe(slot) = file.xfqe;
    a.beammain(slot) = file.beammain;
    a.offazim(slot) = file.offazim;
    a.cond(slot) = file.cond;
    a.diel(slot) = file.diel;
    if (file.area) return;
    for (int f = 1; f <= kTableFrequencies; ++f) {
        a.aeff(f, slot) = file.efficiency[std::size_t(f - 1)];
        for (int e = 1; e <= kElevations; ++e) a.array(f, e, slot) = file.gains(f, e);
    }
}

bool CheckCard(const TAntennaSlotCard &card, std::string &error) {
    if (card.idx < 1 || card.idx > 20) {
        error = "ANTENNA card: slot " + std::to_string(card.idx) + " is outside 1-20";
        return false;
    }
    if (card.itr != 1 && card.itr != 2) {
        error = SlotText(card) + ": the first field must be 1 (transmit) or 2 (receive)";
        return false;
    }
    return true;
}

// The antenna serving fmc among the slots of one end; 0 when none does.
int ServingSlot(const TAntennaSet &a, int itr, float fmc) {
    for (int slot = 1; slot <= std::min(a.numants, 20); ++slot)
        if (a.iats(slot) == itr && a.xfqs(slot) <= fmc && fmc <= a.xfqe(slot)) return slot;
    return 0;
}

// GAIN's elevation cell: the row below delta (degrees) and the fraction.
void ElevationCell(float deltd, int &j, int &jp1, float &xdelta) {
    j = int(deltd + 1.0f);
    j = std::min(j, kElevations);
    j = std::max(j, 1); // below the horizon the reference reads outside its table
    jp1 = std::min(kElevations, j + 1);
    xdelta = deltd - float(j - 1);
}

// An element by its indices as the reference's memory holds it: a frequency
// row past the table's 30 (a band card reaching above 30 MHz, read at the
// MUF) lands in the next column, as there; outside the whole table, 0.
template <typename Table, typename... Index>
float ColumnMajorAt(const Table &table, Index... index) {
    const int at[] = {int(index)...};
    std::size_t offset = 0, stride = 1;
    for (std::size_t d = 0; d < sizeof...(Index); ++d) {
        offset += std::size_t(std::max(at[d], 1) - 1) * stride;
        stride *= std::size_t(Table::Extent(d));
    }
    return offset < Table::size() ? table.Flat(offset + 1) : 0.0f;
}

// GAIN on a point-to-point table: bilinear in frequency and elevation.
void TableGain(const TModelState &s, int slot, float delta, float fmc, float &rain, float &eff) {
    const TAntennaSet &a = s.cantenna;
    const int i = int(fmc);
    const int ip1 = std::min(kTableFrequencies, i + 1);
    const float xfmc = fmc - float(i);
    const float deltd = delta * s.con.r2d;
    int j = 0, jp1 = 0;
    float xdelta = 0;
    ElevationCell(deltd, j, jp1, xdelta);
    const float xx = ColumnMajorAt(a.array, i, j, slot);
    const float yx = ColumnMajorAt(a.array, ip1, j, slot);
    const float xy = ColumnMajorAt(a.array, i, jp1, slot);
    const float yy = ColumnMajorAt(a.array, ip1, jp1, slot);
    const float rx = xx + xfmc * (yx - xx);
    const float ry = xy + xfmc * (yy - xy);
    rain = rx + xdelta * (ry - rx);
    const float effI = ColumnMajorAt(a.aeff, i, slot);
    eff = effI + xfmc * (ColumnMajorAt(a.aeff, ip1, slot) - effI);
}

// GAIN on an area run's pattern: bilinear in azimuth off the beam and
// elevation, at the bearing of this cell's path (BTRD / BRTD).
void AreaPatternGain(const TModelState &s, int slot, float delta, float &rain, float &eff) {
    const TAntennaSet &a = s.cantenna;
    eff = a.aeff(1, slot);
    if (slot != 1 && slot != 2) return; // ApplyAntennaCards allows no other
    // A negative transmit bearing marks a non-terminated rhombic (GAIN).
    float ofaz = slot == 1 ? s.don.btrd - std::fabs(a.beammain(1)) : s.don.brtd - a.beammain(2);
    if (ofaz < 0.0f) ofaz += 360.0f;
    int i = int(ofaz + 1.0f);
    if (i > 360) i = 1;
    i = std::max(i, 1);
    int ip1 = i + 1;
    if (ip1 > 360) ip1 = 1;
    const float xazim = ofaz - float(i - 1);
    const float deltd = delta * s.con.r2d;
    int j = 0, jp1 = 0;
    float xdelta = 0;
    ElevationCell(deltd, j, jp1, xdelta);
    const float xx = s.careaant.iarray360(i, j, slot);
    const float yx = s.careaant.iarray360(ip1, j, slot);
    const float xy = s.careaant.iarray360(i, jp1, slot);
    const float yy = s.careaant.iarray360(ip1, jp1, slot);
    const float rx = xx + xazim * (yx - xx);
    const float ry = xy + xazim * (yy - xy);
    rain = (rx + xdelta * (ry - rx)) / 100.0f;
}

// GAIN with itr < 0: the loss of a ground reflection at a control point, from
// the Fresnel coefficients (IONCAP report, volume 1).
void GroundReflectionLoss(const TModelState &s, int point, float delta, float fmc, float &rain) {
    if (point < 1 || point > 5) return;
    const float sigma = s.geog.sigpat(point);
    const float er = s.geog.epspat(point);
    if (sigma <= 0.0f) return;
    const float x = 18000.0f * sigma / fmc;
    const float t = std::cos(delta);
    const float q = std::sin(delta);
    const float r = q * q;
    const float s4 = r * r;
    const float ert = er - t * t;
    const float rho = std::sqrt(ert * ert + x * x);
    const float rho12 = std::sqrt(rho);
    const float alpha = -std::atan(x / ert);
    const float u = er * er + x * x;
    const float v = std::sqrt(u);
    const float asxv = std::asin(x / v);
    const float cv = std::sqrt(rho * rho + u * u * s4 - 2.0f * rho * u * r * std::cos(alpha + 2.0f * asxv)) /
                     (rho + u * r + 2.0f * rho12 * v * q * std::cos(alpha * 0.5f + asxv));
    const float ch = std::sqrt(rho * rho + s4 - 2.0f * rho * r * std::cos(alpha)) /
                     (rho + r + 2.0f * rho12 * q * std::cos(alpha * 0.5f));
    rain = std::fabs(4.3429f * std::log(0.5f * (ch * ch + cv * cv)));
    if (delta <= 0.00000001f) rain = 6.0f;
}

// areamap's antfile_name: blanks out, the first "\" made "/".
std::string AreaFileField(std::string_view field) {
    std::string name;
    for (char c : field)
        if (c != ' ') name.push_back(c);
    const std::size_t slash = name.find('\\');
    if (slash != std::string::npos) name[slash] = '/';
    name.resize(21, ' ');
    return name;
}

std::string Fixed(float value, int width, int decimals) {
    std::string text;
    if (!WriteFixedReal(value, width, decimals, text)) text.assign(std::size_t(width), '*');
    return text;
}

std::string Integer5(int32_t value) {
    std::string text;
    WriteFixedInteger(value, 5, text);
    return text;
}

} // namespace

bool ParseAntennaCard(std::string_view line, TAntennaSlotCard &card, std::string &error) {
    card = TAntennaSlotCard{};
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1); // a CR LF deck
    const bool ok = ReadIntegerField(line, 11, 5, card.itr) && ReadIntegerField(line, 16, 5, card.idx) &&
                    ReadIntegerField(line, 21, 5, card.minfreq) && ReadIntegerField(line, 26, 5, card.maxfreq) &&
                    ReadRealField(line, 31, 10, 3, card.designfreq) && ReadRealField(line, 64, 5, 1, card.beammain) &&
                    ReadRealField(line, 69, 10, 4, card.power);
    card.antfile = FieldText(line, 42, 21);
    if (!ok) error = "ANTENNA card with a field that is not a number: \"" + std::string(line) + "\"";
    return ok;
}

bool AreaAntennaCards(std::string_view receiveLine, std::string_view transmitLine, std::vector<TAntennaSlotCard> &cards,
                      std::string &error) {
    // areamap reads "Rec Ants :" as 11X,A21,8X,2F6.1 and "Tx Ants  :" as
    // 11X,A21,1X,F7.3,F6.1,1X,F10.4.
    if (!receiveLine.empty() && receiveLine.back() == '\r') receiveLine.remove_suffix(1);
    if (!transmitLine.empty() && transmitLine.back() == '\r') transmitLine.remove_suffix(1);
    float receiveGain = 0, receiveBearing = 0, designFreq = 0, beam = 0, power = 0;
    const bool ok = ReadRealField(receiveLine, 41, 6, 1, receiveGain) &&
                    ReadRealField(receiveLine, 47, 6, 1, receiveBearing) &&
                    ReadRealField(transmitLine, 34, 7, 3, designFreq) && ReadRealField(transmitLine, 41, 6, 1, beam) &&
                    ReadRealField(transmitLine, 48, 10, 4, power);
    if (!ok) {
        error = "area deck antenna line with a field that is not a number";
        return false;
    }
    // The two cards areamap writes into the deck it runs; a bearing too wide
    // for F5.1 is written F5.0 there.
    std::string beamText = Fixed(beam, 5, 1);
    if (beamText[0] == '*') beamText = Fixed(beam, 5, 0);
    const std::string transmit = "ANTENNA   " + Integer5(1) + Integer5(1) + Integer5(2) + Integer5(30) +
                                 Fixed(designFreq, 10, 3) + "[" + AreaFileField(FieldText(transmitLine, 12, 21)) + "]" +
                                 beamText + Fixed(power, 10, 4);
    const std::string receive = "ANTENNA   " + Integer5(2) + Integer5(2) + Integer5(2) + Integer5(30) +
                                Fixed(0.0f, 10, 3) + "[" + AreaFileField(FieldText(receiveLine, 12, 21)) + "]" +
                                Fixed(receiveBearing, 5, 1) + Fixed(receiveGain, 10, 4);
    cards.assign(2, TAntennaSlotCard{});
    return ParseAntennaCard(transmit, cards[0], error) && ParseAntennaCard(receive, cards[1], error);
}

std::string AntennaFileName(const TAntennaSlotCard &card) {
    std::string name;
    for (char c : card.antfile)
        if (c != ' ') name.push_back(c);
    // readant: two characters or fewer, or a folder, is "no file".
    if (name.size() <= 2 || name.back() == '/') return {};
    return name;
}

bool ApplyAntennaCards(TModelState &s, const std::vector<TAntennaSlotCard> &cards, const TAntennaLibrary &library,
                       const TAntennaGeometry &geometry, std::string &error) {
    return ApplyAntennaCards(s, cards, library, std::vector<TAntennaGeometry>(cards.size(), geometry), error);
}

bool ApplyAntennaCards(TModelState &s, const std::vector<TAntennaSlotCard> &cards, const TAntennaLibrary &library,
                       const std::vector<TAntennaGeometry> &geometries, std::string &error) {
    static const TAntennaModel kBuiltIn{}; // the 0 dB antenna: type 0, no table (immutable)
    if (geometries.size() != cards.size()) {
        error = "one antenna geometry per card is needed";
        return false;
    }
    auto files = std::make_unique<std::array<TGainFile, 21>>();
    for (std::size_t k = 0; k < cards.size(); ++k) {
        const TAntennaSlotCard &card = cards[k];
        const TAntennaGeometry &geometry = geometries[k];
        if (!CheckCard(card, error)) return false;
        const std::string name = AntennaFileName(card);
        const TAntennaModel *model = &kBuiltIn;
        if (!name.empty()) {
            const auto found = library.find(name);
            if (found == library.end()) {
                error = SlotText(card) + ": antenna file \"" + name + "\" was not loaded";
                return false;
            }
            model = &found->second;
        }
        if (!ComputeCard(s, TCardContext{card, *model, name}, geometry, (*files)[std::size_t(card.idx)], error))
            return false;
    }
    for (const TAntennaSlotCard &card : cards) ReadCard(s, card, (*files)[std::size_t(card.idx)]);
    return true;
}

// GAIN
void AntennaGain(TModelState &s, int itr, float delta, float fmc, float &rain, float &eff) {
    rain = 0.0f;
    eff = 0.0f;
    if (itr < 0) {
        GroundReflectionLoss(s, -itr, delta, fmc, rain);
        return;
    }
    const int slot = ServingSlot(s.cantenna, itr, fmc);
    if (slot == 0) return;
    if (s.cantenna.offazim(slot) == kAreaPatternMark)
        AreaPatternGain(s, slot, delta, rain, eff);
    else
        TableGain(s, slot, delta, fmc, rain, eff);
}

// PWRDB
float TransmitPowerDb(const TModelState &s, float freq) {
    const float f = std::clamp(freq, 2.0f, 30.0f);
    const int slot = ServingSlot(s.cantenna, 1, f);
    return slot == 0 ? 30.0f : s.pantenna.pwrdba(slot);
}

// GAIN's ground reflection loss depends on the point only through its
// ground constants: a point with the same constants (bit for bit) as the
// one before it has the same loss.
static bool SameGroundAsPrevious(const TModelState &s, int ig) {
    return ig > 1 && std::bit_cast<uint32_t>(s.geog.sigpat(ig)) == std::bit_cast<uint32_t>(s.geog.sigpat(ig - 1)) &&
           std::bit_cast<uint32_t>(s.geog.epspat(ig)) == std::bit_cast<uint32_t>(s.geog.epspat(ig - 1));
}

float MeanGroundReflectionLoss(TModelState &s, float del, float freq) {
    float y = 0.0f;
    float yg = 0.0f;
    for (int ig = 1; ig <= s.ron.km; ++ig) {
        if (!SameGroundAsPrevious(s, ig)) {
            float geff = 0.0f;
            yg = 0.0f;
            AntennaGain(s, -ig, del, freq, yg, geff);
        }
        y = y + yg;
    }
    const float xkm = float(s.ron.km);
    return y / xkm;
}

} // namespace vx::model
