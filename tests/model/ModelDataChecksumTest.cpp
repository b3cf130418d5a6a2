// The model file's checksum, taken eight bytes at a time, must be the plain
// bit-by-bit CRC-32 for every length and alignment (the tail bytes, blocks
// that straddle, a whole model file's size).
#include "model/ModelData.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

using namespace vx::model;

namespace {

uint32_t BitwiseCrc32(std::string_view bytes) {
    uint32_t c = 0xFFFFFFFFu;
    for (char ch : bytes) {
        c ^= static_cast<unsigned char>(ch);
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return c ^ 0xFFFFFFFFu;
}

} // namespace

TEST(ModelDataChecksum, EightBytesAtATimeIsTheBitwiseCrc) {
    std::mt19937 random(651492);
    std::string bytes(651492 + 16, '\0');
    for (char &b : bytes) b = char(random());
    for (std::size_t offset = 0; offset < 8; ++offset)
        for (std::size_t length = 0; length <= 70; ++length) {
            const std::string_view part(bytes.data() + offset, length);
            ASSERT_EQ(Crc32(part), BitwiseCrc32(part)) << "offset " << offset << ", length " << length;
        }
    const std::string_view whole(bytes.data() + 3, 651492);
    EXPECT_EQ(Crc32(whole), BitwiseCrc32(whole));
}
