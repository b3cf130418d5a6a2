#include <gtest/gtest.h>

#include "common/FileUtil.h"
#include "engine/Cache.h"

using namespace vx;

namespace {

TVoaGrid SampleGrid(int n) {
  TVoaGrid g = MakeGrid(n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) g[i][j] = {float(i - j), float(i) / 2, float(j) + 0.25f, (i + j) % 2 ? "F2F2" : "1E"};
  return g;
}

std::string TempFolder(const char* name) {
  std::string f = testing::TempDir() + name + "/";
  MakeDirectories(f);
  return f;
}

}  // namespace

TEST(Cache, FileNames) {
  EXPECT_EQ(CacheName(5, 0, false), "05UT-03MHz-S.dat");
  EXPECT_EQ(CacheName(23, 7, true), "23UT-28MHz-L.dat");
  EXPECT_EQ(CacheName(0, 2, false), "00UT-10MHz-S.dat");
}

TEST(Cache, KeyLayout) {
  TVoaInputs in;
  in.TxLon = -14220;
  in.TxAntenna[7] = 3;
  in.GridSize = 61;
  TEngineKey k = EngineKey(in);
  EXPECT_EQ(k[0], 0x74);  // -14220 little-endian
  EXPECT_EQ(k[3], 0xFF);
  EXPECT_EQ(k[4 * 12], 3);   // TxAntenna[7] is the 13th integer
  EXPECT_EQ(k[88], 61);      // GridSize is the last
}

TEST(Cache, RoundTripsEveryGridSize) {
  std::string folder = TempFolder("cache-rt");
  for (int n : {16, 31, 61}) {
    TVoaInputs in;
    in.GridSize = n;
    in.Hour = 7;
    in.Band = 4;
    TVoaGrid g = SampleGrid(n);
    ASSERT_TRUE(SaveAreaCache(folder, in, g));
    auto bytes = ReadWholeFile(CacheFileName(folder, in));
    EXPECT_EQ(bytes->size(), 92u + 20u * n * n);
    TVoaGrid back;
    ASSERT_TRUE(LoadAreaCache(folder, in, back));
    ASSERT_EQ(back.size(), size_t(n));
    EXPECT_EQ(back[n - 1][0].Snr, g[n - 1][0].Snr);
    EXPECT_EQ(back[3][4].Mode, "F2F2");
    EXPECT_EQ(back[3][5].Mode, "1E");
    EXPECT_EQ(back[2][9].Muf, g[2][9].Muf);
  }
}

TEST(Cache, KeyDecidesWhatMatches) {
  std::string folder = TempFolder("cache-key");
  TVoaInputs in;
  in.Year = 2025;
  in.Month = 6;
  ASSERT_TRUE(SaveAreaCache(folder, in, SampleGrid(16)));
  TVoaInputs other = in;
  other.RxLat = 900;  // the receiver is not part of the key
  other.RxLon = -900;
  EXPECT_TRUE(AreaCacheValid(folder, other));
  other.Year = 2026;  // the year is
  EXPECT_FALSE(AreaCacheValid(folder, other));
  TVoaGrid untouched = SampleGrid(16);
  EXPECT_FALSE(LoadAreaCache(folder, other, untouched));
  EXPECT_EQ(untouched[1][0].Snr, 1);
  other = in;
  other.RxAntenna[5] = 1;
  EXPECT_FALSE(AreaCacheValid(folder, other));
  other = in;
  other.LongPath = true;  // another file
  EXPECT_FALSE(AreaCacheValid(folder, other));
}

TEST(Cache, DamagedFilesAreNeverLoaded) {
  std::string folder = TempFolder("cache-bad");
  TVoaInputs in;
  ASSERT_TRUE(SaveAreaCache(folder, in, SampleGrid(16)));
  std::string file = CacheFileName(folder, in);
  std::string good = *ReadWholeFile(file);
  TVoaGrid g = SampleGrid(16);
  for (size_t cut : {size_t(40), size_t(92), size_t(92 + 20 * 100), good.size() - 1}) {
    WriteWholeFile(file, good.substr(0, cut));
    EXPECT_FALSE(LoadAreaCache(folder, in, g)) << cut;
    EXPECT_FALSE(AreaCacheValid(folder, in)) << cut;
  }
  EXPECT_EQ(g[1][0].Snr, 1);  // never half-replaced
  WriteWholeFile(file, good + "x");
  EXPECT_FALSE(LoadAreaCache(folder, in, g));
  // A mode length beyond four is clamped, not read past the cell.
  std::string odd = good;
  odd[92 + 12] = static_cast<char>(200);
  WriteWholeFile(file, odd);
  ASSERT_TRUE(LoadAreaCache(folder, in, g));
  EXPECT_LE(g[0][0].Mode.size(), 4u);
}

TEST(Cache, UnusualGridSizeInTheKeyIsRejected) {
  TVoaInputs in;
  in.GridSize = 20;
  std::string bytes = EncodeCache(in, MakeGrid(20));
  TVoaGrid g;
  EXPECT_FALSE(DecodeCache(bytes, EngineKey(in), g));
}
