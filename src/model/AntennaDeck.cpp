// A deck's antennas from its card images: antcalc's reading of the deck (the
// circuit and frequencies it needs before each ANTENNA card), then the cards
// into the state.
#include "model/Antenna.h"
#include "model/AntennaText.h"

#include <cmath>

namespace vx::model {

namespace {

// Whether a card starts with `name`; past its end a card is blank, as the
// reference reads it into a fixed-length text.
bool CardIs(std::string_view card, std::string_view name) {
    for (std::size_t k = 0; k < name.size(); ++k)
        if ((k < card.size() ? card[k] : ' ') != name[k]) return false;
    return true;
}

// A card image without the CR of a CR LF line.
std::string_view Image(const std::string &card) {
    std::string_view image = card;
    if (!image.empty() && image.back() == '\r') image.remove_suffix(1);
    return image;
}

char Column(std::string_view card, std::size_t column) { return column <= card.size() ? card[column - 1] : ' '; }

// What antcalc keeps while it reads the deck.
struct TAntcalcReading {
    float tlat = 0, tlon = 0, rlat = 0, rlon = 0;
    char path = 'S';
    bool area = false;
    bool executed = false;
    std::array<float, 11> freqarea{};
};

// antcalc's three FREQUENCY layouts (its own and those of two sibling
// programs); false on a field that is not a number.
bool ReadFrequencies(std::string_view card, TAntcalcReading &r) {
    bool ok = true;
    if (CardIs(card, "FREQUENCY $")) {
        for (int k = 0; k < 11; ++k) ok = ok && ReadRealField(card, 12 + 6 * k, 6, 3, r.freqarea[std::size_t(k)]);
    } else if (CardIs(card, "FREQUENCY")) {
        for (int k = 0; k < 11; ++k) ok = ok && ReadRealField(card, 11 + 5 * k, 5, 2, r.freqarea[std::size_t(k)]);
    } else if (CardIs(card, "FREQ     ")) {
        for (int k = 0; k < 10; ++k) ok = ok && ReadRealField(card, 11 + 7 * k, 7, 3, r.freqarea[std::size_t(k)]);
    }
    return ok;
}

bool IsFrequencyCard(std::string_view card) { return CardIs(card, "FREQUENCY") || CardIs(card, "FREQ     "); }

// A latitude or longitude and the hemisphere letter after it.
bool ReadSigned(std::string_view card, int column, int width, char negative, float &value) {
    if (!ReadRealField(card, column, width, 2, value)) return false;
    if (Column(card, std::size_t(column + width)) == negative) value = -value;
    return true;
}

bool ReadCircuit(std::string_view card, TAntcalcReading &r) {
    const bool ok = ReadSigned(card, 11, 5, 'S', r.tlat) && ReadSigned(card, 17, 9, 'W', r.tlon) &&
                    ReadSigned(card, 27, 9, 'S', r.rlat) && ReadSigned(card, 37, 9, 'W', r.rlon);
    r.path = Column(card, 49) == 'L' ? 'L' : 'S';
    return ok;
}

// TRANS and RECVR, the sibling program's end points (30X,F7.2,A1,F10.2,A1,2X,A).
bool ReadEndPoint(std::string_view card, float &lat, float &lon, char *path) {
    const bool ok = ReadSigned(card, 31, 7, 'S', lat) && ReadSigned(card, 39, 10, 'W', lon);
    if (path != nullptr) *path = Column(card, 52) == 'L' ? 'L' : 'S';
    return ok;
}

// antcalc: the bearings of both ends, turned round for the long path.
TAntennaGeometry GeometryAt(const TAntcalcReading &r) {
    TAntennaGeometry geometry;
    geometry.area = r.area;
    geometry.frequencies = {r.freqarea[0], r.freqarea[1]};
    geometry.azimuth = {GreatCircleBearing(r.tlat, r.tlon, r.rlat, r.rlon),
                        GreatCircleBearing(r.rlat, r.rlon, r.tlat, r.tlon)};
    if (r.path == 'L') {
        for (float &azimuth : geometry.azimuth) {
            azimuth += 180.0f;
            if (azimuth >= 360.0f) azimuth -= 360.0f;
        }
    }
    return geometry;
}

std::string CardError(std::string_view card) {
    return "a card antcalc cannot read: \"" + std::string(card.substr(0, 80)) + "\"";
}

// antcalc's first pass: the last frequencies of the deck, and whether it is
// an area deck.
bool FirstPass(const std::vector<std::string> &cards, TAntcalcReading &r, std::string &error) {
    for (const std::string &text : cards) {
        const std::string_view card = Image(text);
        if (CardIs(card, "AREA      ")) r.area = true;
        if (IsFrequencyCard(card) && !ReadFrequencies(card, r)) {
            error = CardError(card);
            return false;
        }
    }
    return true;
}

} // namespace

bool DeckAntennaCards(const std::vector<std::string> &cards, std::vector<TAntennaSlotCard> &antennas,
                      std::string &error) {
    antennas.clear();
    for (const std::string &text : cards) {
        const std::string_view card = Image(text);
        if (!CardIs(card, "ANTENNA   ")) continue;
        antennas.emplace_back();
        if (!ParseAntennaCard(card, antennas.back(), error)) return false;
    }
    return true;
}

bool LoadDeckAntennas(const std::string &dataFolder, const std::vector<std::string> &cards, TAntennaLibrary &library,
                      std::string &error) {
    std::vector<TAntennaSlotCard> antennas;
    return DeckAntennaCards(cards, antennas, error) && LoadAntennaModels(dataFolder, antennas, library, error);
}

bool ApplyDeckAntennas(TModelState &s, const std::vector<std::string> &cards, const TAntennaLibrary &library,
                       std::string &error) {
    TAntcalcReading r;
    if (!FirstPass(cards, r, error)) return false;
    std::vector<TAntennaSlotCard> antennas;
    std::vector<TAntennaGeometry> geometries;
    for (const std::string &text : cards) {
        const std::string_view card = Image(text);
        bool ok = true;
        if (CardIs(card, "CIRCUIT   "))
            ok = ReadCircuit(card, r);
        else if (IsFrequencyCard(card))
            ok = ReadFrequencies(card, r);
        else if (CardIs(card, "TRANS     "))
            ok = ReadEndPoint(card, r.tlat, r.tlon, nullptr);
        else if (CardIs(card, "RECVR     "))
            ok = ReadEndPoint(card, r.rlat, r.rlon, &r.path);
        else if (CardIs(card, "EXECUTE   "))
            r.executed = true;
        else if (CardIs(card, "ANTENNA   ")) {
            if (r.executed) {
                error = "an ANTENNA card after EXECUTE";
                return false;
            }
            antennas.emplace_back();
            if (!ParseAntennaCard(card, antennas.back(), error)) return false;
            geometries.push_back(GeometryAt(r));
        }
        if (!ok) {
            error = CardError(card);
            return false;
        }
    }
    return ApplyAntennaCards(s, antennas, library, geometries, error);
}

// DAZEL0 (mode 0, heights 0): computed in double precision, its single
// precision constants (the pole limits, the antipode nudge) as written there.
float GreatCircleBearing(float tlat, float tlon, float rlat, float rlon) {
    constexpr double kDegree = 0.01745329252;
    constexpr double kRadian = 57.29577951;
    double tlats = tlat, tlons = tlon, rlats = rlat, rlons = rlon;
    if (tlats <= -90.0) tlats = double(-89.999f);
    if (tlats >= 90.0) tlats = double(89.999f);
    if (rlats <= -90.0) rlats = double(-89.999f);
    if (rlats >= 90.0) rlats = double(89.999f);
    // Opposite points have no bearing: the second one moves a little.
    if (std::fabs(std::fabs(tlons - rlons) - 180.0) <= double(0.001f) && std::fabs(tlats + rlats) <= double(0.002f)) {
        rlats = rlats + double(0.1f);
        if (rlats >= 90.0) rlats = double(89.9f);
    }
    const double delat = rlats - tlats;
    const double adlat = std::fabs(delat);
    double delon = rlons - tlons;
    if (!std::isfinite(delon)) return 0.0f; // the reference would loop for ever
    while (delon < -180.0) delon += 360.0;
    while (delon > 180.0) delon -= 360.0;
    const double adlon = std::fabs(delon);
    if (adlon <= double(1.0e-5f)) {
        if (adlat <= double(1.0e-5f)) return 0.0f;
        return delat <= 0.0 ? 180.0f : 0.0f;
    }
    const double wlat = (delon <= 0.0 ? rlats : tlats) * kDegree;
    const double elat = (delon <= 0.0 ? tlats : rlats) * kDegree;
    double sdlat = std::sin(0.5 * adlat * kDegree);
    const double sdlon = std::sin(0.5 * adlon * kDegree);
    const double sadln = std::sin(adlon * kDegree);
    const double cwlat = std::cos(wlat);
    const double celat = std::cos(elat);
    const double p = 2.0 * (sdlat * sdlat + sdlon * sdlon * cwlat * celat);
    const double sgc = std::sqrt(p * (2.0 - p));
    sdlat = std::sin(elat - wlat);
    const double cwaz = (2.0 * celat * std::sin(wlat) * sdlon * sdlon + sdlat) / sgc;
    const double swaz = sadln * celat / sgc;
    const double waz = std::atan2(swaz, cwaz) * kRadian;
    const double ceaz = (2.0 * cwlat * std::sin(elat) * sdlon * sdlon - sdlat) / sgc;
    const double seaz = sadln * cwlat / sgc;
    const double eaz = 360.0 - std::atan2(seaz, ceaz) * kRadian;
    return float(delon <= 0.0 ? eaz : waz);
}

} // namespace vx::model
