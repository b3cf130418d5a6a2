// Any bytes as an antenna model file, then as the cards that would use it,
// point to point and area: a model or a message, never a crash; an accepted
// model always applies, and every gain the model could ask for is read
// inside the tables.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/Antenna.h"

namespace {

using namespace vx::model;

void CheckShape(const TAntennaModel &model) {
    const std::size_t rows = model.type == 13 ? 360 : model.type == 14 ? 30 : 0;
    if (model.gains.size() != rows * 91) std::abort();
    if (model.efficiency.size() != (model.type == 14 ? 30u : 0u)) std::abort();
    if (model.description.size() != 70) std::abort();
}

// The gains of both ends over the band, below and above it, as GAIN is asked.
void AskGains(TModelState &s, float bearing) {
    s.con.r2d = 57.29578f;
    s.don.btrd = bearing;
    s.don.brtd = 360.0f - bearing;
    s.geog.sigpat(1) = 0.001f;
    s.geog.epspat(1) = 4.0f;
    for (int itr : {-1, 1, 2})
        for (float f = 0.5f; f < 32.0f; f += 1.37f)
            for (float delta = -0.02f; delta < 1.7f; delta += 0.11f) {
                float rain = 0, eff = 0;
                AntennaGain(s, itr, delta, f, rain, eff);
            }
    (void)TransmitPowerDb(s, bearing / 10.0f);
}

void Run(const std::vector<TAntennaSlotCard> &cards, const TAntennaLibrary &library, const TAntennaGeometry &geometry,
         float bearing) {
    auto s = std::make_unique<TModelState>();
    std::string error;
    if (ApplyAntennaCards(*s, cards, library, geometry, error))
        AskGains(*s, bearing);
    else if (error.empty())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    // The first line also serves as an ANTENNA card and as area deck lines.
    const std::string_view first = bytes.substr(0, bytes.find('\n'));
    TAntennaSlotCard card;
    std::string error;
    std::vector<TAntennaSlotCard> cards;
    if (!ParseAntennaCard(first, card, error) && error.empty()) std::abort();
    if (!AreaAntennaCards(first, first, cards, error) && error.empty()) std::abort();

    // The bytes as a deck's card images too, with only the built-in antenna.
    std::vector<std::string> images;
    for (std::size_t at = 0; at < bytes.size() && images.size() < 200;) {
        const std::size_t end = std::min(bytes.find('\n', at), bytes.size());
        images.emplace_back(bytes.substr(at, end - at));
        at = end + 1;
    }
    {
        auto s = std::make_unique<TModelState>();
        if (!ApplyDeckAntennas(*s, images, TAntennaLibrary{}, error) && error.empty()) std::abort();
    }

    TAntennaModel model;
    if (!ParseAntennaModel(bytes, "fuzz", model, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    CheckShape(model);
    TAntennaLibrary library;
    library.emplace("fuzz/model", model);
    const float bearing = float(size % 3600) / 10.0f;
    const auto cardFor = [](int itr, int idx, int lo, int hi, float beam) {
        TAntennaSlotCard c;
        c.itr = itr;
        c.idx = idx;
        c.minfreq = lo;
        c.maxfreq = hi;
        c.designfreq = 2.0f;
        c.antfile = "fuzz/model           ";
        c.beammain = beam;
        c.power = 1.0f;
        return c;
    };
    TAntennaGeometry point;
    point.azimuth = {bearing, 360.0f - bearing};
    Run({cardFor(1, 1, 2, 15, 30.0f), cardFor(1, 2, 16, 30, -10.0f), cardFor(2, 3, 2, 30, 359.9f)}, library, point,
        bearing);
    TAntennaGeometry area;
    area.area = true;
    area.frequencies = {1.0f + float(size % 300) / 10.0f, 0.0f};
    Run({cardFor(1, 1, 2, 30, -45.0f), cardFor(2, 2, 2, 30, 0.0f)}, library, area, bearing);
    return 0;
}
