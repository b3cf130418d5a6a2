#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "common/FileUtil.h"
#include "common/TextUtil.h"

using namespace vx;

TEST(TextUtil, RoundingTakesHalvesToEven) {
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(24.5), 24);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(-3.5), -4);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  EXPECT_EQ(RoundToInt32(1e20), 2147483647);
  EXPECT_EQ(RoundToInt32(-1e20), -2147483647 - 1);
}

TEST(TextUtil, FormattingIgnoresTheLocale) {
  // A locale with a decimal comma must not leak into deck numbers.
  // scripts/install-deps.sh generates de_DE.UTF-8 for this.
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = old ? old : "C";
  ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr) << "the locale de_DE.UTF-8 is not installed";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 1.5);
  ASSERT_STREQ(probe, "1,5");  // the C library itself now writes a comma
  EXPECT_EQ(FormatFixed(44.0f, 6, 2), " 44.00");
  EXPECT_EQ(FormatFixed(0.1f, 10, 4), "    0.1000");
  EXPECT_EQ(FormatFixed(123456.0, 3, 1), "123456.0");
  EXPECT_EQ(ParseDouble("-12.5").value(), -12.5);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(FormatInt(7, 2, true), "07");
  EXPECT_EQ(FormatInt(-7, 3, true), "-07");
  EXPECT_EQ(FormatInt(50, 3), " 50");
}

TEST(TextUtil, NumbersMustBeWhole) {
  EXPECT_FALSE(ParseDouble(""));
  EXPECT_FALSE(ParseDouble("-"));
  EXPECT_FALSE(ParseDouble("1.2x"));
  EXPECT_FALSE(ParseDouble("nan"));
  EXPECT_EQ(ParseDouble("+3").value(), 3);
  EXPECT_EQ(ParseInt("  16").value(), 16);
  EXPECT_FALSE(ParseInt("16 "));
  EXPECT_FALSE(ParseInt("1.0"));
}

TEST(TextUtil, LinesEndAtCrLfLfOrCr) {
  auto l = SplitLines("a\r\nb\nc\rd\r\n");
  ASSERT_EQ(l.size(), 4u);
  EXPECT_EQ(l[2], "c");
  EXPECT_EQ(l[3], "d");
  EXPECT_EQ(SplitLines("x\n\ny").size(), 3u);
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(TextUtil, ColumnsAreOneBasedAndCutAtTheLineEnd) {
  EXPECT_EQ(Columns("abcdef", 2, 4), "bcd");
  EXPECT_EQ(Columns("abcdef", 5, 9), "ef");
  EXPECT_EQ(Columns("abc", 5, 9), "");
  EXPECT_EQ(Trim(" \t x y \r"), "x y");
}

TEST(FileUtil, AtomicWriteReplacesWholeFilesOnly) {
  std::string dir = testing::TempDir() + "fileutil/";
  ASSERT_TRUE(MakeDirectories(dir));
  std::string f = dir + "a.bin";
  ASSERT_TRUE(WriteFileAtomic(f, "first"));
  ASSERT_TRUE(WriteFileAtomic(f, "second"));
  EXPECT_EQ(ReadWholeFile(f).value(), "second");
  EXPECT_FALSE(WriteFileAtomic(dir + "missing/sub/x", "y"));
  EXPECT_FALSE(ReadWholeFile(dir + "nothing"));
  EXPECT_EQ(JoinPath("a/", "/b"), "a/b");
  EXPECT_EQ(FolderOf("x/y/z.txt"), "x/y/");
}

TEST(TextUtil, PlainDecimalsReadExactlyAsAFullConversion) {
  // The fast path must give the very same double as the general one.
  uint32_t seed = 12345;
  for (int i = 0; i < 20000; ++i) {
    seed = seed * 1103515245u + 12345u;
    int64_t mantissa = static_cast<int64_t>(seed % 100000000u) - 50000000;
    int decimals = static_cast<int>((seed >> 8) % 8);
    std::string s = std::to_string(mantissa < 0 ? -mantissa : mantissa);
    if (decimals) {
      if (s.size() <= size_t(decimals)) s.insert(0, decimals - s.size() + 1, '0');
      s.insert(s.size() - decimals, ".");
    }
    if (mantissa < 0) s.insert(0, "-");
    double expected = std::strtod(s.c_str(), nullptr);
    ASSERT_EQ(ParseDouble(s).value(), expected) << s;
  }
  EXPECT_EQ(ParseDouble(".5").value(), 0.5);
  EXPECT_EQ(ParseDouble("1.").value(), 1.0);
  EXPECT_FALSE(ParseDouble("."));
  EXPECT_FALSE(ParseDouble("1.2.3"));
  EXPECT_EQ(ParseDouble("12345678901234567890.5").value(), 12345678901234567890.5);
}

#include "common/Paths.h"

TEST(Paths, FollowTheXdgVariablesAndCreateNothingUntilAsked) {
  const std::string root = testing::TempDir() + "xdg-root";
  std::filesystem::remove_all(root);
  setenv("HOME", (root + "/home").c_str(), 1);
  setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
  setenv("XDG_CACHE_HOME", (root + "/cache").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
  EXPECT_EQ(ReferenceFolder(), root + "/data/Vexmoor/Reference/");
  EXPECT_EQ(AreaCacheFolder(), root + "/cache/Vexmoor/Vantor/Cache/");
  EXPECT_EQ(SettingsFile("Kestrix"), root + "/config/Vexmoor/Kestrix.ini");
  EXPECT_FALSE(std::filesystem::exists(root));

  CreateProgramFolders(TProgram::pgKestrix);
  EXPECT_TRUE(DirectoryExists(root + "/data/Vexmoor/Reference"));
  EXPECT_FALSE(DirectoryExists(root + "/cache"));
  CreateProgramFolders(TProgram::pgVantor);
  EXPECT_TRUE(DirectoryExists(root + "/cache/Vexmoor/Vantor/Cache"));

  setenv("XDG_DATA_HOME", "relative/ignored", 1);  // only absolute paths count
  EXPECT_EQ(ReferenceFolder(), root + "/home/.local/share/Vexmoor/Reference/");
  unsetenv("XDG_DATA_HOME");
  unsetenv("XDG_CACHE_HOME");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(AreaCacheFolder(), root + "/home/.cache/Vexmoor/Vantor/Cache/");
  EXPECT_FALSE(DirectoryExists(root + "/home"));
  EXPECT_EQ(ProgramFolder().back(), '/');
}

#include "common/DayCount.h"

TEST(DayCount, KnownDates) {
  EXPECT_EQ(EncodeDayCount({1899, 12, 30}), 0);
  EXPECT_EQ(EncodeDayCount({1970, 1, 1}), 25569);
  EXPECT_DOUBLE_EQ(EncodeDayCount({2000, 1, 1, 12, 0, 0}), 36526.5);
  TCivilTime t = DecodeDayCount(EncodeDayCount({2024, 2, 29, 23, 59, 30}));
  EXPECT_EQ(t.Year, 2024);
  EXPECT_EQ(t.Month, 2);
  EXPECT_EQ(t.Day, 29);
  EXPECT_EQ(t.Hour, 23);
  EXPECT_EQ(t.Minute, 59);
  EXPECT_NEAR(t.Second, 30, 1e-3);
  EXPECT_GT(UtcNow(), EncodeDayCount({2020, 1, 1}));
}
