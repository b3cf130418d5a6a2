// Antenna model files: reading them from the data folder, and their text
// into a TAntennaModel as the reference's readant holds it.
#include "model/Antenna.h"
#include "model/AntennaText.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace vx::model {

namespace {

constexpr int kElevations = 91;
constexpr int kAzimuths = 360;
constexpr int kTableFrequencies = 30;
// Far above any real file (a type-13 table is about 300 kB).
constexpr std::uintmax_t kMaxAntennaFileBytes = 16u << 20;

std::string Quoted(const std::string &name) { return "\"" + name + "\""; }

// The gains of one record: 91 F7.3 fields from column 10, ten to a line
// (readant's 9X,10F7.3 and the T10 group of type 14). The first line's
// fields are already known to start at column 10 in both layouts.
bool ReadGainRecord(const std::vector<std::string_view> &lines, std::size_t &at, const std::string &name, float *gains,
                    std::string &error) {
    for (int first = 0; first < kElevations; first += 10) {
        if (at >= lines.size()) {
            error = "antenna file " + Quoted(name) + " ends inside its gain table";
            return false;
        }
        const std::string_view line = lines[at];
        for (int k = 0; k < 10 && first + k < kElevations; ++k) {
            if (!ReadRealField(line, 10 + 7 * k, 7, 3, gains[first + k])) {
                error =
                    "antenna file " + Quoted(name) + ", line " + std::to_string(at + 1) + ": a gain is not a number";
                return false;
            }
        }
        ++at;
    }
    return true;
}

bool ReadType13Table(const std::vector<std::string_view> &lines, std::size_t at, const std::string &name,
                     TAntennaModel &model, std::string &error) {
    model.gains.assign(std::size_t(kAzimuths * kElevations), 0.0f);
    for (int azimuth = 0; azimuth < kAzimuths; ++azimuth)
        if (!ReadGainRecord(lines, at, name, &model.gains[std::size_t(azimuth * kElevations)], error)) return false;
    return true;
}

bool ReadType14Table(const std::vector<std::string_view> &lines, std::size_t at, const std::string &name,
                     TAntennaModel &model, std::string &error) {
    model.gains.assign(std::size_t(kTableFrequencies * kElevations), 0.0f);
    model.efficiency.assign(std::size_t(kTableFrequencies), 0.0f);
    for (int mhz = 1; mhz <= kTableFrequencies; ++mhz) {
        // The efficiency in columns 3-8 of the record's first line (2X,F6.1).
        if (at < lines.size() && !ReadRealField(lines[at], 3, 6, 1, model.efficiency[std::size_t(mhz - 1)])) {
            error = "antenna file " + Quoted(name) + ", line " + std::to_string(at + 1) +
                    ": the efficiency is not a number";
            return false;
        }
        if (!ReadGainRecord(lines, at, name, &model.gains[std::size_t((mhz - 1) * kElevations)], error)) return false;
    }
    return true;
}

// NINT of a parameter, for the antenna type; false when out of any range.
bool NearestType(float value, int32_t &type) {
    if (!(std::fabs(value) < 1.0e9f)) return false;
    type = int32_t(std::lround(value));
    return true;
}

} // namespace

bool ReadAntennaFile(const std::string &dataFolder, const std::string &name, std::string &bytes, std::string &error) {
    const std::filesystem::path path = std::filesystem::path(dataFolder) / "antennas" / name;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = "cannot open antenna file " + Quoted(path.string());
        return false;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxAntennaFileBytes) {
        error = "antenna file " + Quoted(path.string()) + " is too large";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read antenna file " + Quoted(path.string());
        return false;
    }
    return true;
}

bool ParseAntennaModel(std::string_view bytes, const std::string &name, TAntennaModel &model, std::string &error) {
    model = TAntennaModel{};
    const std::vector<std::string_view> lines = SplitTextLines(bytes);
    if (lines.empty()) {
        error = "antenna file " + Quoted(name) + " is empty";
        return false;
    }
    model.description = FieldText(lines[0], 1, 70);
    std::size_t at = 1;
    std::string_view item;
    int32_t count = 0;
    if (!NextListItem(lines, at, item) || !ParseListInteger(item, count) || count < 0 || count > 20) {
        error = "antenna file " + Quoted(name) + ": no parameter count (0 to 20) after the description";
        return false;
    }
    for (int32_t i = 0; i < count; ++i) {
        if (!NextListItem(lines, at, item) || !ParseListReal(item, model.parm[std::size_t(i)])) {
            error = "antenna file " + Quoted(name) + ": parameter " + std::to_string(i + 1) + " is not a number";
            return false;
        }
    }
    if (!NearestType(model.parm[1], model.type)) {
        error = "antenna file " + Quoted(name) + ": the antenna type is not a number";
        return false;
    }
    switch (model.type) {
    case 0: return true;
    case 13: return ReadType13Table(lines, at, name, model, error);
    case 14: return ReadType14Table(lines, at, name, model, error);
    default:
        error = "antenna file " + Quoted(name) + " is of type " + std::to_string(model.type) +
                "; only types 0, 13 and 14 are supported";
        return false;
    }
}

bool LoadAntennaModels(const std::string &dataFolder, const std::vector<TAntennaSlotCard> &cards,
                       TAntennaLibrary &library, std::string &error) {
    for (const TAntennaSlotCard &card : cards) {
        const std::string name = AntennaFileName(card);
        if (name.empty() || library.count(name) != 0) continue;
        std::string bytes;
        TAntennaModel model;
        if (!ReadAntennaFile(dataFolder, name, bytes, error) || !ParseAntennaModel(bytes, name, model, error))
            return false;
        library.emplace(name, std::move(model));
    }
    return true;
}

} // namespace vx::model
