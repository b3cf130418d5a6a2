#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "common/FileUtil.h"
#include "refdata/CbReader.h"
#include "refdata/DxPlace.h"

using namespace vx;

namespace {

TCallbookEntry Record(const std::string& call, int lat = kNoLocation16, int lon = kNoLocation16, int32_t offset = 0,
                      const std::string& region = "") {
  TCallbookEntry e;
  e.SetCall(call);
  e.SetRegion(region);
  e.Lat = static_cast<int16_t>(lat);
  e.Lon = static_cast<int16_t>(lon);
  e.DatOffset = offset;
  return e;
}

// The file image as Kestrix writes it: records sorted by call as bytes.
std::string SortedImage(TCallbookEntries e) {
  std::stable_sort(e.begin(), e.end(), [](const auto& a, const auto& b) { return a.CallText() < b.CallText(); });
  return EncodeCallbookIndex(e);
}

std::string FreshFolder() {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string f = testing::TempDir() + "callbook-" + info->name() + "/";
  std::filesystem::remove_all(f);
  MakeDirectories(f);
  return f;
}

// Lookups on an image in memory, counting the reads.
struct TImage {
  std::string Bytes;
  int Reads = 0;
  TCallbookLookup Find(std::string_view call) {
    return FindInIndex(
        Bytes.size(),
        [this](uint64_t at, char* out, size_t n) -> size_t {
          ++Reads;
          if (at >= Bytes.size()) return 0;
          const size_t got = std::min<size_t>(n, Bytes.size() - at);
          std::copy_n(Bytes.data() + at, got, out);
          return got;
        },
        call, "Test.idx");
  }
};

TPrefixData CountryCentre(const std::string& entity, int lat, int lon) {
  TPrefixData r;
  r.EntityNumber = entity;
  r.Lat = lat;
  r.Lon = lon;
  return r;
}

// An EN.dat licence record: call at field 4, state at 17, ZIP at 18.
std::string En(const std::string& call, const std::string& state, const std::string& zip,
               const std::string& street = "1 MAIN ST") {
  return "EN|1|||" + call + "|L|L1|NAME|FIRST|M|LAST|||||" + street + "|CITY|" + state + "|" + zip + "|||000|\r\n";
}

}  // namespace

TEST(CallbookEntry, RecordLayoutIs32LittleEndianBytes) {
  TCallbookEntry e;
  e.SetCall("VERYLONGCALLSIGN1");
  e.SetRegion("ABCDEFGHIJ");
  e.Lat = -2;
  e.Lon = 0x1234;
  e.DatOffset = 0x01020304;
  const std::string b = EncodeCallbookIndex({e});
  ASSERT_EQ(b.size(), 32u);
  EXPECT_EQ(b[0], 15);
  EXPECT_EQ(b.substr(1, 15), "VERYLONGCALLSIG");
  EXPECT_EQ(b[16], 7);
  EXPECT_EQ(b.substr(17, 7), "ABCDEFG");
  EXPECT_EQ(b.substr(24), std::string("\xFE\xFF\x34\x12\x04\x03\x02\x01", 8));
  TCallbookEntry s;
  s.SetCall("AB");
  EXPECT_EQ(EncodeCallbookIndex({s}).substr(0, 16), std::string("\x02"
                                                                "AB",
                                                                3) +
                                                        std::string(13, '\0'));
  const TCallbookEntries back = DecodeCallbookIndex(b + "partial");
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0].Lat, -2);
  EXPECT_EQ(back[0].DatOffset, 0x01020304);
}

TEST(CallbookIndex, BinarySearchFindsEveryCallAndOnlyThoseReadingFewRecords) {
  // Calls whose byte order differs from a case-blind or length-first order.
  TCallbookEntries all;
  std::mt19937 rng(7);
  const std::string letters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZab\xE9";
  for (int i = 0; i < 20000; ++i) {
    std::string call;
    const int len = 1 + static_cast<int>(rng() % 8);
    for (int k = 0; k < len; ++k) call += letters[rng() % letters.size()];
    all.push_back(Record(call, 0, 0, i));
  }
  TImage image{SortedImage(all)};
  for (int i = 0; i < 20000; i += 97) {
    const std::string call(all[i].CallText());
    image.Reads = 0;
    const TCallbookLookup r = image.Find(call);
    ASSERT_EQ(r.Status, TCallbookStatus::cbFound) << call;
    EXPECT_EQ(r.Entry->CallText(), call);
    EXPECT_TRUE(r.Note.empty());
    // log2(20000) probes and a few duplicates, not the file.
    EXPECT_LE(image.Reads, 15 + 16) << call;
  }
  // A call's prefix, a call with one more character, and calls before the
  // first and after the last record are not listed.
  TImage small{SortedImage({Record("K1AB", 0, 0, 1), Record("K1ABCD", 0, 0, 2), Record("VE3XYZ", 0, 0, 3)})};
  for (const char* absent : {"K1A", "K1ABC", "K1ABCDE", "A", "ZZ", "k1ab"}) {
    const TCallbookLookup r = small.Find(absent);
    EXPECT_EQ(r.Status, TCallbookStatus::cbNotListed) << absent;
    EXPECT_FALSE(r.Entry) << absent;
  }
  EXPECT_EQ(small.Find("K1AB").Entry->DatOffset, 1);
  EXPECT_EQ(small.Find("VE3XYZ").Entry->DatOffset, 3);
  EXPECT_EQ(TImage{}.Find("K1AB").Status, TCallbookStatus::cbNotListed);  // an empty index is sound
}

TEST(CallbookIndex, TakesTheDuplicateWithALocationAndNoImpossibleOnes) {
  TImage image{SortedImage({Record("K1DUP", kNoLocation16, kNoLocation16, 1), Record("K1DUP", 7515, -13120, 2),
                            Record("K1DUP", 100, 100, 3), Record("K1HALF", 7515, kNoLocation16),
                            Record("K1FAR", 90 * 180 + 1, 0), Record("K1EDGE", -90 * 180, 180 * 180)})};
  const TCallbookLookup dup = image.Find("K1DUP");
  ASSERT_TRUE(dup.Entry);
  EXPECT_EQ(dup.Entry->DatOffset, 2);
  const auto at = CallbookLocation(*dup.Entry);
  ASSERT_TRUE(at);
  EXPECT_EQ(at->X, -13120);
  EXPECT_EQ(at->Y, 7515);
  EXPECT_FALSE(CallbookLocation(*image.Find("K1HALF").Entry));
  EXPECT_FALSE(CallbookLocation(*image.Find("K1FAR").Entry));
  EXPECT_TRUE(CallbookLocation(*image.Find("K1EDGE").Entry));
}

TEST(CallbookIndex, RefusesFilesThatAreNotSoundIndexesWithANote) {
  const std::string sound = SortedImage({Record("A1A"), Record("K1ABC", 1, 1), Record("N2XY"), Record("W3ZZ")});
  auto refusal = [](std::string bytes, std::string_view call) {
    TCallbookLookup r = TImage{std::move(bytes)}.Find(call);
    EXPECT_EQ(r.Status, TCallbookStatus::cbRefused) << call;
    EXPECT_FALSE(r.Entry);
    return r.Note;
  };
  EXPECT_NE(refusal(sound + "x", "K1ABC").find("Test.idx"), std::string::npos);
  EXPECT_NE(refusal(sound.substr(0, 100), "K1ABC").find("32-byte"), std::string::npos);

  std::string reversed;
  for (int i = 3; i >= 0; --i) reversed += sound.substr(i * 32, 32);
  EXPECT_NE(refusal(reversed, "A1A").find("out of order"), std::string::npos);
  EXPECT_NE(refusal(reversed, "W3ZZ").find("out of order"), std::string::npos);

  // Disorder the search steps into on its way, though it ends past the end.
  const std::string swapped =
      EncodeCallbookIndex({Record("A"), Record("B"), Record("C"), Record("M"), Record("X"), Record("D"), Record("E")});
  EXPECT_NE(refusal(swapped, "Y").find("out of order"), std::string::npos);

  std::string longCall = sound;
  longCall[32] = 16;  // a call longer than its field
  EXPECT_NE(refusal(longCall, "K1ABC").find("damaged"), std::string::npos);
  std::string dirty = sound;
  dirty[32 + 16 + 3] = 'Q';  // a byte after the region's text
  refusal(dirty, "K1ABC");
  std::string negative = sound;
  negative[32 + 31] = '\x80';  // an offset before the detail file's start
  refusal(negative, "K1ABC");

  // A file that cannot be read after its size was taken.
  const TCallbookLookup cut = FindInIndex(
      sound.size(), [](uint64_t, char*, size_t) -> size_t { return 0; }, "K1ABC", "Cut.idx");
  EXPECT_EQ(cut.Status, TCallbookStatus::cbRefused);

  const std::string dir = FreshFolder();
  EXPECT_EQ(FindInCallbook(dir + "FccCB.idx", "K1ABC").Status, TCallbookStatus::cbMissing);
  EXPECT_TRUE(FindInCallbook(dir + "FccCB.idx", "K1ABC").Note.empty());
  ASSERT_TRUE(WriteWholeFile(dir + "FccCB.idx", sound));
  EXPECT_EQ(FindInCallbook(dir + "FccCB.idx", "K1ABC").Entry->Lat, 1);
  EXPECT_EQ(FindInCallbook(dir + "FccCB.idx", "N2XZ").Status, TCallbookStatus::cbNotListed);
  ASSERT_TRUE(WriteWholeFile(dir + "FccCB.idx", sound + "1234"));
  EXPECT_EQ(FindInCallbook(dir + "FccCB.idx", "K1ABC").Note,
            "FccCB.idx: 132 bytes are not whole 32-byte records; callbook not used");
}

TEST(DxPlace, ACallbookLocationReplacesTheCountryCentreAndNamesItsSource) {
  const std::string dir = FreshFolder();
  std::string en = En("K1OLD", "CT", "06085");
  const auto splitAt = static_cast<int32_t>(en.size());
  en += En("W2SPLIT", "NY", "10001", "1 MAIN ST\r\nAPT 2");
  const auto staleAt = static_cast<int32_t>(en.size());
  en += En("N3OTHER", "CA", "94043");
  ASSERT_TRUE(WriteWholeFile(dir + "FccCB.dat", en));
  ASSERT_TRUE(WriteWholeFile(dir + "FccCB.idx", SortedImage({
                                                    Record("K1OLD", 7515, -13120, 0, "CT0031"),
                                                    Record("W2SPLIT", 7335, -13319, splitAt, "NY0100"),
                                                    Record("K6STALE", 6700, -21966, staleAt, "CA"),
                                                    Record("N0LOC", kNoLocation16, kNoLocation16, 0, "TX"),
                                                })));
  const std::vector<TPrefixData> us = {CountryCentre("291", 37 * 180, -92 * 180)};

  TDxPlace p = ResolveDxPlace(" k1old ", us, dir);
  EXPECT_EQ(p.Point.X, -13120);
  EXPECT_EQ(p.Point.Y, 7515);
  EXPECT_EQ(p.Source, "FCC licence, ZIP 06085");
  EXPECT_TRUE(p.Notes.empty());
  // A record over two lines of the detail file still shows its ZIP code.
  EXPECT_EQ(ResolveDxPlace("W2SPLIT", us, dir).Source, "FCC licence, ZIP 10001");
  // A detail file that no longer matches the index: the index's region.
  p = ResolveDxPlace("K6STALE", us, dir);
  EXPECT_EQ(p.Source, "FCC licence, CA");
  EXPECT_EQ(p.Point.Y, 6700);

  // No location, a portable call, a call no callbook lists: the prefix.
  for (const char* call : {"N0LOC", "K1OLD/P", "KH6/K1OLD", "K1NEW"}) {
    p = ResolveDxPlace(call, us, dir);
    EXPECT_EQ(p.Source, "country centre") << call;
    EXPECT_EQ(p.Point.Y, 37 * 180) << call;
  }
  // No folder: no callbook at all.
  EXPECT_EQ(ResolveDxPlace("K1OLD", us, "").Source, "country centre");
  // An unresolved call has no point, whatever a callbook says.
  p = ResolveDxPlace("K1OLD", {}, dir);
  EXPECT_FALSE(HasLocation(p.Point));
  EXPECT_TRUE(p.Source.empty());
  // A result without coordinates is passed over for the next one.
  TPrefixData bare;
  bare.EntityNumber = "291";
  p = ResolveDxPlace("K1NEW", {bare, us[0]}, dir);
  EXPECT_EQ(p.Point.Y, 37 * 180);
}

TEST(DxPlace, CanadianAndRdaCallbooksAndBrokenOnesBeside) {
  const std::string dir = FreshFolder();
  std::string rac(500, ' ');
  rac.replace(0, 6, "VE3ABC");
  rac.replace(186, 2, "ON");
  std::string lateProvince(500, ' ');
  lateProvince.replace(0, 6, "VA7XY ");
  lateProvince.replace(186, 2, "ON");
  lateProvince.replace(457, 2, "bc");
  const auto lateAt = static_cast<int32_t>(rac.size() + 2);
  ASSERT_TRUE(WriteWholeFile(dir + "RacCB.dat", rac + "\r\n" + lateProvince + "\r\n"));
  ASSERT_TRUE(WriteWholeFile(dir + "RacCB.idx", SortedImage({Record("VE3ABC", 7830, -13608, 0, "ON"),
                                                             Record("VA7XY", 8900, -22300, lateAt, "BC")})));
  ASSERT_TRUE(
      WriteWholeFile(dir + "RdaCB.idx", SortedImage({Record("UA3ABC", 10080, 6750, 0, "MO-01"),
                                                     Record("UA9XX", kNoLocation16, kNoLocation16, 0, "NS-02")})));
  // The FCC index is damaged: the others are still tried, and it is named.
  ASSERT_TRUE(WriteWholeFile(dir + "FccCB.idx", std::string(40, 'x')));

  TDxPlace p = ResolveDxPlace("VE3ABC", {CountryCentre("1", 60 * 180, -96 * 180)}, dir);
  EXPECT_EQ(p.Source, "Canadian licence, VE3 ON");
  EXPECT_EQ(p.Point.Y, 7830);
  EXPECT_EQ(ResolveDxPlace("VA7XY", {CountryCentre("1", 60 * 180, -96 * 180)}, dir).Source, "Canadian licence, VA7 BC");
  p = ResolveDxPlace("UA3ABC", {CountryCentre("54", 55 * 180, 37 * 180)}, dir);
  EXPECT_EQ(p.Source, "RDA district MO-01");
  EXPECT_EQ(p.Point.X, 6750);
  // A call the prefix list puts elsewhere is looked for in every callbook,
  // past the broken one, which is named.
  p = ResolveDxPlace("UA3ABC", {CountryCentre("", 0, 0)}, dir);
  EXPECT_EQ(p.Source, "RDA district MO-01");
  ASSERT_EQ(p.Notes.size(), 1u);
  EXPECT_NE(p.Notes[0].find("FccCB.idx"), std::string::npos);
  EXPECT_EQ(ResolveDxPlace("UA9XX", {CountryCentre("15", 60 * 180, 90 * 180)}, dir).Source, "country centre");
}

TEST(DxPlace, CallbookKeysAndSourceTexts) {
  EXPECT_EQ(CallbookKey(" w1 aw "), "W1AW");
  EXPECT_EQ(CallbookKey("K1ABC/P"), "");
  EXPECT_EQ(CallbookKey("K1"), "");
  EXPECT_EQ(CallbookKey("K1ABCDEFGHIJKLMN"), "");
  TCallbookEntry e = Record("K1ABC", 0, 0, 0, "C\tT");
  // The index's region stands in when the detail line cannot be used, and
  // text from the files never carries control characters onto the screen.
  EXPECT_EQ(CallbookSource(TCallbookKind::ckFcc, e, ""), "FCC licence, C?T");
  EXPECT_EQ(CallbookSource(TCallbookKind::ckFcc, e, En("K1ABC", "CT", "0608X")), "FCC licence, C?T");
  EXPECT_EQ(CallbookSource(TCallbookKind::ckFcc, e, En("k1abc", "CT", "060851234")), "FCC licence, ZIP 06085");
  EXPECT_EQ(CallbookSource(TCallbookKind::ckFcc, Record("K1ABC"), "garbage"), "FCC licence");
  EXPECT_EQ(CallbookSource(TCallbookKind::ckRac, Record("VE3ABC", 0, 0, 0, "ON"), "VE9ZZZ"),
            "Canadian licence, VE3 ON");
  EXPECT_EQ(CallbookSource(TCallbookKind::ckRda, Record("UA3A"), ""), "RDA list");
}
