#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "ManagerTestUtil.h"
#include "manager/CbIndex.h"
#include "manager/SourceFormat.h"
#include "manager/Staging.h"
#include "refdata/DxPlace.h"

using namespace vx;

namespace {

TCallbookEntry Entry(const std::string& call, int32_t tag = 0) {
  TCallbookEntry e;
  e.SetCall(call);
  e.DatOffset = tag;
  return e;
}

// An EN.dat record with 30 fields: call at 4, state at 17, ZIP at 18.
std::string En(const std::string& call, const std::string& state, const std::string& zip,
               const std::string& street = "1 MAIN ST") {
  return "EN|1|||" + call + "|L|L1|NAME|FIRST|M|LAST|||||" + street + "|CITY|" + state + "|" + zip +
         "|||000|0012345678|I||||||\r\n";
}

const char* const kZipList =
    "06085 CT0031    41.7500    -72.8900\r\n"
    "06090 CT0032    41.8000    -72.9000\r\n"
    "10001 NY0100    40.7500    -73.9970\r\n";

TCallbookEntries ReadIndex(const std::string& file) { return DecodeCallbookIndex(test::Slurp(file)); }

}  // namespace

TEST(SortCallbookEntries, OrdersByBytesAndSurvivesHostileInput) {
  std::mt19937 rng(7);
  auto check = [](TCallbookEntries v) {
    SortCallbookEntries(v, 0, static_cast<ptrdiff_t>(v.size()) - 1);
    EXPECT_TRUE(std::is_sorted(v.begin(), v.end(), CallLess));
  };
  TCallbookEntries v;
  for (int i = 0; i < 20000; ++i) v.push_back(Entry(std::to_string(rng() % 5000), i));
  v.push_back(Entry("a"));
  v.push_back(Entry("B"));
  v.push_back(Entry("\xB0"));
  v.push_back(Entry(""));
  check(v);
  check({});
  check({Entry("X")});
  TCallbookEntries same(50000, Entry("K1ABC")), asc, desc, organ;
  check(same);
  for (int i = 0; i < 100000; ++i) asc.push_back(Entry(std::to_string(1000000 + i)));
  desc.assign(asc.rbegin(), asc.rend());
  check(asc);
  check(desc);
  for (int i = 0; i < 100000; ++i) organ.push_back(Entry(std::to_string(1000000 + std::min(i, 100000 - i))));
  check(organ);

  // Calls with NUL bytes and more than eight characters, against a plain
  // byte comparison.
  TCallbookEntries odd;
  for (int i = 0; i < 5000; ++i) {
    std::string c(rng() % 16, 'A');
    for (char& ch : c) ch = "\0AB"[rng() % 3];
    odd.push_back(Entry(c));
  }
  SortCallbookEntries(odd, 0, static_cast<ptrdiff_t>(odd.size()) - 1);
  for (size_t i = 1; i < odd.size(); ++i) ASSERT_LE(odd[i - 1].CallText(), odd[i].CallText());

  // Shorter first on a common prefix; a sub-range leaves the rest alone.
  TCallbookEntries r = {Entry("Z"), Entry("K1ABC"), Entry("K1AB"), Entry("A")};
  SortCallbookEntries(r, 1, 2);
  EXPECT_EQ(r[0].CallText(), "Z");
  EXPECT_EQ(r[1].CallText(), "K1AB");
  EXPECT_EQ(r[3].CallText(), "A");
}

TEST(FccIndex, JoinsSplitRecordsAndLocatesZipCodes) {
  const std::string dir = test::FreshFolder("fcc");
  ASSERT_TRUE(WriteFileAtomic(dir + "ZipLst.lst", kZipList));
  std::string en;
  std::vector<size_t> at;
  auto add = [&](const std::string& rec) {
    at.push_back(en.size());
    en += rec;
  };
  add(En("k1abc", "CT", "060851234"));
  add(En("W2SPLIT", "NY", "06085", "1 MAIN ST\r\nAPT 2"));  // over two lines, state disagrees
  add(En("N3NONE", "TX", "06086"));                         // not listed
  add(En("N4PART", "TX", "0608"));                          // only begins a listed code
  add(En("ABCDEFGHIJKLMNOPQRS", "LONGSTATE", ""));
  add(En("K1ABC", "NY", "10001"));
  // A quoted field may hold the delimiter; later fields keep their numbers.
  add("EN|3|||K6QUOTE|L|L3|\"SMITH|JR\"|X|X|X|||||STREET|CITY|CT|06090||\r\n");
  // A control character inside a field splits it, as the string list does.
  add("EN|4|||K7TAB|L|L4|NA\tME|X|X|X|||||STREET|CITY|CT|06090||\r\n");
  add("EN|2|||N5SHORT|L|L2|X|X|X|X|||||STREET|CITY|OK\r\n");  // 18 fields: no ZIP field
  ASSERT_TRUE(WriteFileAtomic(dir + "FccCB.dat", en));

  test::TRecordingUi ui;
  TFileStager stager;
  EXPECT_EQ(ImportFccDatabase(dir, ui, stager), 9);
  EXPECT_EQ(ui.Messages, std::vector<std::string>{"FCC database imported: 9 calls"});
  const TCallbookEntries e = ReadIndex(dir + "FccCB.idx");
  ASSERT_EQ(e.size(), 9u);
  EXPECT_TRUE(std::is_sorted(e.begin(), e.end(), CallLess));
  std::map<int32_t, TCallbookEntry> byOffset;
  for (const auto& r : e) byOffset[r.DatOffset] = r;
  ASSERT_EQ(byOffset.size(), 9u);

  auto rec = [&](size_t i) { return byOffset.at(static_cast<int32_t>(at[i])); };
  EXPECT_EQ(rec(0).CallText(), "K1ABC");
  EXPECT_EQ(rec(0).RegionText(), "CT0031");
  EXPECT_EQ(rec(0).Lat, 7515);
  EXPECT_EQ(rec(0).Lon, -13120);  // -13120.2
  EXPECT_EQ(rec(1).CallText(), "W2SPLIT");
  EXPECT_EQ(rec(1).RegionText(), "NY");
  EXPECT_EQ(rec(1).Lat, 7515);
  for (size_t i : {2, 3}) {
    EXPECT_EQ(rec(i).RegionText(), "TX");
    EXPECT_EQ(rec(i).Lat, kNoLocation16);
    EXPECT_EQ(rec(i).Lon, kNoLocation16);
  }
  EXPECT_EQ(rec(4).CallText(), "ABCDEFGHIJKLMNO");
  EXPECT_EQ(rec(4).RegionText(), "LONGSTA");
  EXPECT_EQ(rec(5).RegionText(), "NY0100");
  EXPECT_EQ(rec(6).CallText(), "K6QUOTE");
  EXPECT_EQ(rec(6).RegionText(), "CT0032");
  EXPECT_EQ(rec(7).CallText(), "K7TAB");
  EXPECT_EQ(rec(7).RegionText(), "CITY");  // fields moved on by one
  EXPECT_EQ(rec(7).Lat, kNoLocation16);
  EXPECT_EQ(rec(8).RegionText(), "OK");
  EXPECT_EQ(rec(8).Lat, kNoLocation16);
  // Both K1ABC records, next to each other.
  EXPECT_EQ(e[1].CallText(), "K1ABC");
  EXPECT_EQ(e[2].CallText(), "K1ABC");
}

// What Kestrix writes, Vantor finds: the licensee's ZIP location, and the
// ZIP code read back from the record the index points at.
TEST(FccIndex, VantorFindsTheCallsKestrixIndexed) {
  const std::string dir = test::FreshFolder("fcc-read");
  ASSERT_TRUE(WriteFileAtomic(dir + "ZipLst.lst", kZipList));
  std::string en;
  for (int i = 0; i < 300; ++i) en += En("N" + std::to_string(i) + "FILL", "TX", "99999");
  en += En("w2split", "NY", "10001", "1 MAIN ST\r\nAPT 2");
  en += En("K1ABC", "CT", "060901234");
  ASSERT_TRUE(WriteFileAtomic(dir + "FccCB.dat", en));
  test::TRecordingUi ui;
  TFileStager stager;
  ASSERT_EQ(ImportFccDatabase(dir, ui, stager), 302);

  TPrefixData us;
  us.EntityNumber = "291";
  us.Lat = 37 * 180;
  us.Lon = -92 * 180;
  TDxPlace p = ResolveDxPlace("K1ABC", {us}, dir);
  EXPECT_EQ(p.Source, "FCC licence, ZIP 06090");
  EXPECT_EQ(p.Point.Y, 7524);
  EXPECT_EQ(p.Point.X, -13122);
  p = ResolveDxPlace("W2SPLIT", {us}, dir);
  EXPECT_EQ(p.Source, "FCC licence, ZIP 10001");
  EXPECT_EQ(p.Point.Y, 7335);
  p = ResolveDxPlace("N7FILL", {us}, dir);  // listed, but no ZIP location
  EXPECT_EQ(p.Source, "country centre");
  EXPECT_TRUE(p.Notes.empty());
}

TEST(FccIndex, EmptyDetailFileAndBadZipListFailSafely) {
  const std::string dir = test::FreshFolder("fcc");
  ASSERT_TRUE(WriteFileAtomic(dir + "ZipLst.lst", kZipList));
  ASSERT_TRUE(WriteFileAtomic(dir + "FccCB.dat", ""));
  test::TRecordingUi ui;
  // An index without a record would replace a good one with nothing.
  ASSERT_TRUE(WriteFileAtomic(dir + "FccCB.idx", "previous"));
  {
    TFileStager stager;
    EXPECT_THROW(ImportFccDatabase(dir, ui, stager), ESourceFormat);
  }
  EXPECT_EQ(test::Slurp(dir + "FccCB.idx"), "previous");
  EXPECT_TRUE(ui.Messages.empty());

  // A coordinate that is not a number: an error, and the index stays.
  ASSERT_TRUE(WriteFileAtomic(dir + "FccCB.dat", En("K1ABC", "CT", "06085")));
  ASSERT_TRUE(WriteFileAtomic(dir + "ZipLst.lst", "06085 CT0031    41.7500    -72.89x0\r\n"));
  {
    TFileStager stager;
    EXPECT_THROW(ImportFccDatabase(dir, ui, stager), std::runtime_error);
  }
  EXPECT_EQ(test::Slurp(dir + "FccCB.idx"), "previous");
  RemoveFile(dir + "ZipLst.lst");
  {
    TFileStager stager;
    EXPECT_THROW(ImportFccDatabase(dir, ui, stager), std::runtime_error);
  }
  EXPECT_EQ(test::Slurp(dir + "FccCB.idx"), "previous");
  // A file that is not a licence file at all: no record ever ends.
  ASSERT_TRUE(WriteFileAtomic(dir + "ZipLst.lst", kZipList));
  ASSERT_TRUE(WriteFileAtomic(dir + "FccCB.dat", std::string(4000000, 'x') + "\r\n"));
  {
    TFileStager stager;
    EXPECT_THROW(ImportFccDatabase(dir, ui, stager), std::runtime_error);
  }
  EXPECT_EQ(test::Slurp(dir + "FccCB.idx"), "previous");
  EXPECT_TRUE(ui.Messages.empty());
}

TEST(RacIndex, TakesVLinesWithTheRightProvinceColumn) {
  const std::string dir = test::FreshFolder("rac");
  auto line = [](const std::string& call, const std::string& prov, const std::string& club) {
    std::string l = call;
    l.resize(186, ' ');
    l += prov;
    if (!club.empty()) {
      l.resize(457, ' ');
      l += club + " CLUB";
    }
    return l + "\r\n";
  };
  std::string text = "callsign;first name;surname\r\n";
  const size_t a = text.size();
  text += line("VE3ABC", "on", "");
  const size_t b = text.size();
  text += line("VA7XYZ", "BC", "qc");
  text += line("ve1low", "NS", "");  // not upper case "V": no record
  const size_t c = text.size();
  text += line("VO1AB", "NL", " ");  // column 458 blank: the home province
  ASSERT_TRUE(WriteFileAtomic(dir + "RacCB.dat", text));
  test::TRecordingUi ui;
  TFileStager stager;
  EXPECT_EQ(ImportRacDatabase(dir, ui, stager), 3);
  EXPECT_EQ(ui.Messages.back(), "RAC database imported: 3 calls");
  const TCallbookEntries e = ReadIndex(dir + "RacCB.idx");
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].CallText(), "VA7XYZ");
  EXPECT_EQ(e[0].RegionText(), "QC");
  EXPECT_EQ(e[0].DatOffset, static_cast<int32_t>(b));
  EXPECT_EQ(e[1].CallText(), "VE3ABC");
  EXPECT_EQ(e[1].RegionText(), "ON");
  EXPECT_EQ(e[1].DatOffset, static_cast<int32_t>(a));
  EXPECT_EQ(e[2].CallText(), "VO1AB");
  EXPECT_EQ(e[2].RegionText(), "NL");
  EXPECT_EQ(e[2].DatOffset, static_cast<int32_t>(c));
  EXPECT_EQ(e[2].Lat, kNoLocation16);
}

TEST(RdaIndex, EveryLineIsARecord) {
  std::string rows = "CALL      NAME" + std::string(56, ' ') + "RDA\r\n";
  rows += "UA1ABC IVANOV" + std::string(57, ' ') + "LO-01 extra\r\n";
  rows += "\r\n";
  rows += "NOBLANK\r\n";
  rows += "R0AA X" + std::string(64, ' ') + "KK\n";
  const TCallbookEntries e = BuildRdaIndex(rows);
  ASSERT_EQ(e.size(), 5u);
  EXPECT_EQ(e[0].CallText(), "CALL");
  EXPECT_EQ(e[0].RegionText(), "RDA");
  EXPECT_EQ(e[1].CallText(), "UA1ABC");
  EXPECT_EQ(e[1].RegionText(), "LO-01");
  EXPECT_EQ(e[2].CallText(), "");
  EXPECT_EQ(e[3].CallText(), "");  // no blank: no call
  EXPECT_EQ(e[4].RegionText(), "KK");
  EXPECT_EQ(e[4].DatOffset, 0);

  const std::string dir = test::FreshFolder("rda");
  test::TRecordingUi ui;
  TFileStager stager;
  EXPECT_EQ(ImportRdaDatabase(dir, rows, ui, stager), 5);
  EXPECT_EQ(ui.Messages.back(), "RDA database imported: 5 calls");
  EXPECT_EQ(test::Slurp(dir + "RdaCB.idx").size(), 5u * 32);
}
