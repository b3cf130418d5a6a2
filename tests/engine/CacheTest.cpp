#include <gtest/gtest.h>

#include <functional>
#include <tuple>

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

TAreaCacheKey SampleKey(int n = 16) {
  TAreaCacheKey key;
  key.Inputs.GridSize = n;
  key.Inputs.Year = 2025;
  key.Inputs.Month = 6;
  key.Inputs.Hour = 7;
  key.Inputs.Band = 4;
  key.TxAntenna = "Dipole55.N14";
  key.TxAntennaHash = ContentHash("a dipole");
  key.RxAntenna = "ISOTROPE.ant";
  key.RxAntennaHash = ContentHash("isotropic");
  return key;
}

}  // namespace

TEST(Cache, FileNames) {
  EXPECT_EQ(CacheName(5, 0, false), "05UT-03MHz-S.dat");
  EXPECT_EQ(CacheName(23, 7, true), "23UT-28MHz-L.dat");
  EXPECT_EQ(CacheName(0, 2, false), "00UT-10MHz-S.dat");
}

TEST(Cache, RoundTripsEveryGridSize) {
  std::string folder = TempFolder("cache-rt");
  for (int n : {16, 31, 61}) {
    const TAreaCacheKey key = SampleKey(n);
    TVoaGrid g = SampleGrid(n);
    ASSERT_TRUE(SaveAreaCache(folder, key, g));
    auto bytes = ReadWholeFile(CacheFileName(folder, key.Inputs));
    EXPECT_EQ(bytes->substr(0, 4), "VXAC");
    EXPECT_EQ(bytes->size(), 12u + EncodeCacheKey(key).size() + 20u * n * n);
    TVoaGrid back;
    ASSERT_TRUE(LoadAreaCache(folder, key, back));
    ASSERT_EQ(back.size(), size_t(n));
    EXPECT_EQ(back[n - 1][0].Snr, g[n - 1][0].Snr);
    EXPECT_EQ(back[3][4].Mode, "F2F2");
    EXPECT_EQ(back[3][5].Mode, "1E");
    EXPECT_EQ(back[2][9].Muf, g[2][9].Muf);
  }
}

// Every input the map depends on is in the stored key, so a file computed
// for other inputs is a miss however it got its name.
TEST(Cache, AFileAnswersOnlyTheInputsItWasComputedFor) {
  std::string folder = TempFolder("cache-key");
  const TAreaCacheKey key = SampleKey();
  ASSERT_TRUE(SaveAreaCache(folder, key, SampleGrid(16)));

  TAreaCacheKey same = key;
  same.Inputs.RxLat = 900;  // the receiver plays no part
  same.Inputs.RxLon = -900;
  same.Inputs.TxAntenna[0] = 5;  // nor do other bands' antennas, or list positions
  same.Inputs.RxAntenna[4] = 9;
  EXPECT_TRUE(AreaCacheValid(folder, same));

  const std::vector<std::pair<const char*, std::function<void(TAreaCacheKey&)>>> changes = {
      {"year", [](TAreaCacheKey& k) { k.Inputs.Year = 2026; }},
      {"month", [](TAreaCacheKey& k) { k.Inputs.Month = 7; }},
      {"ssn", [](TAreaCacheKey& k) { k.Inputs.Ssn = 1; }},
      {"power", [](TAreaCacheKey& k) { k.Inputs.TxPower = 1000; }},
      {"home", [](TAreaCacheKey& k) { k.Inputs.TxLat = 1; }},
      {"engine", [](TAreaCacheKey& k) { k.Engine = "builtin"; }},
      {"antenna name", [](TAreaCacheKey& k) { k.TxAntenna = "Vertical.N14"; }},
      {"antenna contents", [](TAreaCacheKey& k) { k.RxAntennaHash = ContentHash("edited"); }},
  };
  for (const auto& [what, change] : changes) {
    TAreaCacheKey other = key;
    change(other);
    EXPECT_FALSE(AreaCacheValid(folder, other)) << what;
    TVoaGrid untouched = SampleGrid(16);
    EXPECT_FALSE(LoadAreaCache(folder, other, untouched)) << what;
    EXPECT_EQ(untouched[1][0].Snr, 1) << what;
  }

  // Hour, band and path are in the key too: a file copied or renamed to
  // another map's name is a miss there.
  const std::string file = CacheFileName(folder, key.Inputs);
  for (auto [hour, band, longPath] : {std::tuple{0, 4, false}, {7, 3, false}, {7, 4, true}}) {
    TAreaCacheKey other = key;
    other.Inputs.Hour = hour, other.Inputs.Band = band, other.Inputs.LongPath = longPath;
    ASSERT_TRUE(CopyFileReplace(file, CacheFileName(folder, other.Inputs)));
    EXPECT_FALSE(AreaCacheValid(folder, other)) << hour << " " << band << " " << longPath;
  }
}

TEST(Cache, FilesOfTheOldLayoutAreMissesNotErrors) {
  std::string folder = TempFolder("cache-old");
  const TAreaCacheKey key = SampleKey();
  // The first layout: 92 bytes of raw key, then the cells.
  WriteWholeFile(CacheFileName(folder, key.Inputs), std::string(92 + 20 * 16 * 16, '\0'));
  TVoaGrid g = SampleGrid(16);
  EXPECT_FALSE(AreaCacheValid(folder, key));
  EXPECT_FALSE(LoadAreaCache(folder, key, g));
  EXPECT_EQ(g[1][0].Snr, 1);
  ASSERT_TRUE(SaveAreaCache(folder, key, SampleGrid(16)));  // replaced in the new layout
  EXPECT_TRUE(AreaCacheValid(folder, key));
}

TEST(Cache, DamagedFilesAreNeverLoaded) {
  std::string folder = TempFolder("cache-bad");
  const TAreaCacheKey key = SampleKey();
  ASSERT_TRUE(SaveAreaCache(folder, key, SampleGrid(16)));
  std::string file = CacheFileName(folder, key.Inputs);
  std::string good = *ReadWholeFile(file);
  const size_t header = good.size() - 20 * 16 * 16;
  TVoaGrid g = SampleGrid(16);
  for (size_t cut : {size_t(3), size_t(40), header, header + 20 * 100, good.size() - 1}) {
    WriteWholeFile(file, good.substr(0, cut));
    EXPECT_FALSE(LoadAreaCache(folder, key, g)) << cut;
    EXPECT_FALSE(AreaCacheValid(folder, key)) << cut;
  }
  EXPECT_EQ(g[1][0].Snr, 1);  // never half-replaced
  WriteWholeFile(file, good + "x");
  EXPECT_FALSE(LoadAreaCache(folder, key, g));
  // A mode length beyond four is clamped, not read past the cell.
  std::string odd = good;
  odd[header + 12] = static_cast<char>(200);
  WriteWholeFile(file, odd);
  ASSERT_TRUE(LoadAreaCache(folder, key, g));
  EXPECT_LE(g[0][0].Mode.size(), 4u);
}

TEST(Cache, UnusualGridSizeInTheKeyIsRejected) {
  TAreaCacheKey key = SampleKey(20);
  std::string bytes = EncodeCache(key, MakeGrid(20));
  TVoaGrid g;
  EXPECT_FALSE(DecodeCache(bytes, key, g));
}
