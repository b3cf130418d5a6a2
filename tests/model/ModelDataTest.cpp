// The shipped coefficient file and its loader: the committed file loads with
// the published tables' values, and every kind of damage is refused with a
// text that says what is wrong.
#include "model/ModelData.h"

#include "common/FileUtil.h"
#include "common/LittleEndian.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

using namespace vx::model;

namespace {

std::string ShippedPath() { return std::string(VX_SOURCE_DIR) + "/data/" + kModelDataFileName; }

const std::string &ShippedBytes() {
    static const std::string bytes = vx::ReadWholeFile(ShippedPath()).value_or("");
    return bytes;
}

// Rewrites the trailing CRC so that only the damage under test remains.
std::string WithFreshCrc(std::string bytes) {
    bytes.resize(bytes.size() - 4);
    vx::AppendLE32(bytes, Crc32(bytes));
    return bytes;
}

constexpr std::size_t kHeader = 32;
constexpr std::size_t kIkimBytes = 4 * 60 * 12;

} // namespace

TEST(ModelData, Crc32IsTheIeeeChecksum) {
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(Crc32(""), 0u);
}

TEST(ModelData, ShippedFileLoadsWithThePublishedValues) {
    TModelDataLoad load = LoadModelData(ShippedPath());
    ASSERT_EQ(load.Error, "");
    ASSERT_TRUE(load.Data);
    const TModelData &d = *load.Data;
    // First and last values of tables as printed in coeff01.asc, coeff12.asc
    // and the foF2 files (E15.8 text, read to the nearest float).
    EXPECT_EQ(d.Month(1).ikim(1, 1), 10);
    EXPECT_EQ(d.Month(1).ikim(10, 1), 2);
    EXPECT_EQ(d.FoF2(TFoF2Set::fsCcir, 1)(1, 1, 1), 5.2396593f);
    EXPECT_EQ(d.FoF2(TFoF2Set::fsCcir, 1)(2, 1, 1), -0.056523629f);
    // The correction recorded in REDMAP: SYS(9,2,6) and SYS(9,10,6) of the
    // spring and autumn months are 11.52, not 115.2.
    for (int month : {3, 4, 5, 9, 10, 11}) {
        EXPECT_EQ(d.Month(month).sys(9, 2, 6), 11.52f) << month;
        EXPECT_EQ(d.Month(month).sys(9, 10, 6), 11.52f) << month;
    }
    // The two foF2 sets differ; the months differ.
    EXPECT_NE(d.FoF2(TFoF2Set::fsCcir, 6)(1, 1, 2), d.FoF2(TFoF2Set::fsUrsi, 6)(1, 1, 2));
    EXPECT_NE(d.Month(1).xesmcf(1, 1, 1), d.Month(7).xesmcf(1, 1, 1));
}

TEST(ModelData, SerializingTheLoadedDataGivesTheSameBytes) {
    TModelDataLoad load = ParseModelData(ShippedBytes());
    ASSERT_TRUE(load.Data) << load.Error;
    EXPECT_TRUE(SerializeModelData(*load.Data) == ShippedBytes());
    EXPECT_EQ(ShippedBytes().size(), kHeader + 4 * (720 + 12 * kMonthFloatCount + 2 * 12 * 1976) + 4);
}

TEST(ModelData, DamagedHeaderIsRefused) {
    const std::string &good = ShippedBytes();
    ASSERT_FALSE(good.empty());
    std::string magic = good;
    magic[0] = 'W';
    EXPECT_EQ(ParseModelData(magic).Error, "not a model coefficient file");
    EXPECT_EQ(ParseModelData("").Error, "not a model coefficient file");

    std::string version = good;
    vx::PutLE32(version.data() + 8, 2);
    EXPECT_EQ(ParseModelData(WithFreshCrc(version)).Error, "format version 2 (this program reads version 1)");

    std::string sections = good;
    vx::PutLE32(sections.data() + 12, 5);
    EXPECT_EQ(ParseModelData(WithFreshCrc(sections)).Error, "unexpected number of sections");

    std::string size = good;
    vx::PutLE32(size.data() + 16 + 4 * 2, 1976 * 11);
    EXPECT_EQ(ParseModelData(WithFreshCrc(size)).Error, "section 3 has an unexpected size");
}

TEST(ModelData, TruncatedOrLongerFileIsRefused) {
    const std::string &good = ShippedBytes();
    const std::string expected = " bytes, expected " + std::to_string(good.size());
    for (std::size_t length : {kHeader, kHeader + 1000, good.size() / 2, good.size() - 4, good.size() - 1}) {
        TModelDataLoad load = ParseModelData(std::string_view(good).substr(0, length));
        EXPECT_FALSE(load.Data);
        EXPECT_EQ(load.Error, "file is " + std::to_string(length) + expected + " (truncated)") << length;
    }
    EXPECT_EQ(ParseModelData(std::string_view(good).substr(0, 20)).Error, "not a model coefficient file");
    EXPECT_EQ(ParseModelData(good + "x").Error, "file is " + std::to_string(good.size() + 1) + expected);
}

TEST(ModelData, FlippedByteAnywhereFailsTheChecksum) {
    const std::string &good = ShippedBytes();
    for (std::size_t at : {kHeader, kHeader + kIkimBytes + 5, good.size() / 2, good.size() - 5, good.size() - 1}) {
        std::string bad = good;
        bad[at] = static_cast<char>(bad[at] ^ 0x10);
        TModelDataLoad load = ParseModelData(bad);
        EXPECT_FALSE(load.Data) << at;
        EXPECT_EQ(load.Error, "checksum mismatch (damaged file)") << at;
    }
}

// A writer that got the values wrong makes a file whose checksum is right:
// the values themselves are checked too.
TEST(ModelData, ImplausibleValuesAreRefusedByName) {
    auto loaded = ParseModelData(ShippedBytes());
    ASSERT_TRUE(loaded.Data);
    auto withNaN = std::make_unique<TModelData>(*loaded.Data);
    withNaN->months[2].xesmcf(3, 1, 1) = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(ParseModelData(SerializeModelData(*withNaN)).Error, "xesmcf of month 3, value 3 is out of range");

    auto huge = std::make_unique<TModelData>(*loaded.Data);
    huge->fof2[1][11](1, 1, 2) = 3.0e5f;
    EXPECT_EQ(ParseModelData(SerializeModelData(*huge)).Error, "URSI foF2 of month 12, value 989 is out of range");

    auto infinite = std::make_unique<TModelData>(*loaded.Data);
    infinite->months[0].fakp(1, 1, 1) = -std::numeric_limits<float>::infinity();
    EXPECT_EQ(ParseModelData(SerializeModelData(*infinite)).Error, "fakp of month 1, value 1 is out of range");

    auto terms = std::make_unique<TModelData>(*loaded.Data);
    terms->months[4].ikim(2, 3) = -1;
    EXPECT_EQ(ParseModelData(SerializeModelData(*terms)).Error, "ikim of month 5 is out of range");
}

TEST(ModelData, LoadNamesTheFile) {
    const std::string missing = testing::TempDir() + "/no-such-folder/" + kModelDataFileName;
    TModelDataLoad load = LoadModelData(missing);
    EXPECT_FALSE(load.Data);
    EXPECT_EQ(load.Error, missing + ": cannot read the file (missing, unreadable or far too large)");

    const std::string cut = testing::TempDir() + "/ModelDataTest-cut.dat";
    ASSERT_TRUE(vx::WriteFileAtomic(cut, ShippedBytes().substr(0, 1000)));
    load = LoadModelData(cut);
    EXPECT_EQ(load.Error,
              cut + ": file is 1000 bytes, expected " + std::to_string(ShippedBytes().size()) + " (truncated)");
    std::filesystem::remove(cut);
}
