#include "model/ModelData.h"

#include "common/FileUtil.h"
#include "common/LittleEndian.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace vx::model {

namespace {

constexpr char kMagic[8] = {'V', 'X', 'M', 'O', 'D', 'E', 'L', '\x1A'};
constexpr std::size_t kSectionCount = 4;
constexpr std::size_t kHeaderSize = 8 + 4 + 4 + 4 * kSectionCount;
constexpr std::size_t kFoF2Count = TFoF2Map::kSize * kMonthCount;
constexpr std::array<std::size_t, kSectionCount> kSectionValues = {
    decltype(TMonthCoefficients::ikim)::kSize * kMonthCount, kMonthFloatCount *kMonthCount, kFoF2Count, kFoF2Count};
constexpr std::size_t kFileSize = [] {
    std::size_t values = 0;
    for (std::size_t n : kSectionValues) values += n;
    return kHeaderSize + 4 * values + 4;
}();

// No coefficient of the published tables comes near this (the largest, of
// the sporadic-E maps, is about 5,100): a larger one means a broken writer.
constexpr float kLargestCoefficient = 1.0e5f;
// ikim holds term counts of the coefficient series, which have at most 76
// terms (the foF2 maps) (VERSY, VIRTIM).
constexpr int32_t kLargestTermCount = 76;

// CRC-32 tables for eight bytes at a time: kCrcTables[0] is the usual
// byte table, kCrcTables[k] the effect of a byte followed by k zero bytes.
constexpr std::array<std::array<uint32_t, 256>, 8> kCrcTables = [] {
    std::array<std::array<uint32_t, 256>, 8> tables{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        tables[0][n] = c;
    }
    for (std::size_t k = 1; k < 8; ++k)
        for (uint32_t n = 0; n < 256; ++n) tables[k][n] = (tables[k - 1][n] >> 8) ^ tables[0][tables[k - 1][n] & 0xFF];
    return tables;
}();

void AppendFloat(std::string &out, float v) { AppendLE32(out, std::bit_cast<uint32_t>(v)); }

template <typename Table>
void AppendFloats(std::string &out, const Table &table) {
    for (float v : table.Data) AppendFloat(out, v);
}

// Reads consecutive little-endian values from the payload.
class TReader {
public:
    explicit TReader(const char *at) : At(at) {}
    int32_t Int() { return static_cast<int32_t>(Next()); }
    float Float() { return std::bit_cast<float>(Next()); }

private:
    uint32_t Next() {
        uint32_t v = GetLE32(At);
        At += 4;
        return v;
    }
    const char *At;
};

std::string MonthText(std::size_t m) { return "month " + std::to_string(m + 1); }

// Reads a float table and checks its values; the error names the first bad one.
template <typename Table>
std::string ReadFloats(TReader &reader, Table &table, const std::string &where) {
    for (std::size_t k = 0; k < table.size(); ++k) {
        float v = reader.Float();
        if (!std::isfinite(v) || std::fabs(v) > kLargestCoefficient) {
            return where + ", value " + std::to_string(k + 1) + " is out of range";
        }
        table.Data[k] = v;
    }
    return {};
}

std::string ReadPayload(const char *payload, TModelData &data) {
    TReader reader(payload);
    for (std::size_t m = 0; m < kMonthCount; ++m) {
        for (int32_t &v : data.months[m].ikim.Data) {
            v = reader.Int();
            if (v < 0 || v > kLargestTermCount) return "ikim of " + MonthText(m) + " is out of range";
        }
    }
    for (std::size_t m = 0; m < kMonthCount; ++m) {
        std::string error;
        data.months[m].ForEachFloatTable([&](const char *name, auto &table) {
            if (error.empty()) error = ReadFloats(reader, table, std::string(name) + " of " + MonthText(m));
        });
        if (!error.empty()) return error;
    }
    for (std::size_t set = 0; set < 2; ++set) {
        for (std::size_t m = 0; m < kMonthCount; ++m) {
            std::string where = std::string(set == 0 ? "CCIR" : "URSI") + " foF2 of " + MonthText(m);
            std::string error = ReadFloats(reader, data.fof2[set][m], where);
            if (!error.empty()) return error;
        }
    }
    return {};
}

} // namespace

uint32_t Crc32(std::string_view bytes) {
    const auto &t = kCrcTables;
    uint32_t c = 0xFFFFFFFFu;
    const char *at = bytes.data();
    std::size_t left = bytes.size();
    for (; left >= 8; left -= 8, at += 8) {
        const uint32_t lo = c ^ GetLE32(at);
        const uint32_t hi = GetLE32(at + 4);
        c = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^ t[3][hi & 0xFF] ^
            t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
    }
    for (; left > 0; --left, ++at) c = t[0][(c ^ static_cast<unsigned char>(*at)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::string SerializeModelData(const TModelData &data) {
    std::string out(kMagic, sizeof kMagic);
    out.reserve(kFileSize);
    AppendLE32(out, kModelDataVersion);
    AppendLE32(out, kSectionCount);
    for (std::size_t n : kSectionValues) AppendLE32(out, static_cast<uint32_t>(n));
    for (const TMonthCoefficients &month : data.months) {
        for (int32_t v : month.ikim.Data) AppendLE32(out, static_cast<uint32_t>(v));
    }
    for (const TMonthCoefficients &month : data.months) {
        month.ForEachFloatTable([&](const char *, const auto &table) { AppendFloats(out, table); });
    }
    for (const auto &set : data.fof2) {
        for (const TFoF2Map &map : set) AppendFloats(out, map);
    }
    AppendLE32(out, Crc32(out));
    return out;
}

TModelDataLoad ParseModelData(std::string_view bytes) {
    auto fail = [](std::string why) { return TModelDataLoad{nullptr, std::move(why)}; };
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        return fail("not a model coefficient file");
    }
    const uint32_t version = GetLE32(bytes.data() + 8);
    if (version != kModelDataVersion) {
        return fail("format version " + std::to_string(version) + " (this program reads version " +
                    std::to_string(kModelDataVersion) + ")");
    }
    if (GetLE32(bytes.data() + 12) != kSectionCount) return fail("unexpected number of sections");
    for (std::size_t k = 0; k < kSectionCount; ++k) {
        if (GetLE32(bytes.data() + 16 + 4 * k) != kSectionValues[k]) {
            return fail("section " + std::to_string(k + 1) + " has an unexpected size");
        }
    }
    if (bytes.size() != kFileSize) {
        return fail("file is " + std::to_string(bytes.size()) + " bytes, expected " + std::to_string(kFileSize) +
                    (bytes.size() < kFileSize ? " (truncated)" : ""));
    }
    const std::string_view body = bytes.substr(0, kFileSize - 4);
    if (Crc32(body) != GetLE32(bytes.data() + kFileSize - 4)) return fail("checksum mismatch (damaged file)");
    auto data = std::make_shared<TModelData>();
    std::string error = ReadPayload(bytes.data() + kHeaderSize, *data);
    if (!error.empty()) return fail(error);
    return {std::move(data), {}};
}

TModelDataLoad LoadModelData(const std::string &path) {
    auto bytes = ReadWholeFile(path, 2 * kFileSize);
    if (!bytes) return {nullptr, path + ": cannot read the file (missing, unreadable or far too large)"};
    TModelDataLoad load = ParseModelData(*bytes);
    if (!load.Error.empty()) load.Error = path + ": " + load.Error;
    return load;
}

} // namespace vx::model
