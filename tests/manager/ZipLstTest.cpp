// The shipped ZIP list: made from the committed Census inputs, read by the
// FCC builder's loader.
#include <gtest/gtest.h>

#include <cmath>

#include "ManagerTestUtil.h"
#include "ZipLstGen.h"
#include "common/TextUtil.h"
#include "manager/CbIndex.h"

using namespace vx;
using namespace vx::ziplstgen;

namespace {

const std::string kInputs = std::string(VX_SOURCE_DIR) + "/data/ziplst/";
constexpr size_t kShippedCodes = 33791;

const char* kLocHeader = "zcta\tlatitude\tlongitude\n";
const char* kRelHeader = "zcta\tstate\tcounty\n";
const char* kCodeHeader = "state,statefp,countyfp,countyname,classfp\r\n";

std::string Generate(const std::string& loc, const std::string& rel, const std::string& codes) {
  return GenerateZipList({loc, rel, codes}).Text;
}

}  // namespace

TEST(ZipListGenerator, RebuildsTheShippedListByteForByte) {
  const auto loc = ReadWholeFile(kInputs + "zcta2021-locations.tsv");
  const auto rel = ReadWholeFile(kInputs + "zcta2010-counties.tsv");
  const auto codes = ReadWholeFile(kInputs + "county-codes2010.csv");
  ASSERT_TRUE(loc && rel && codes);
  const TGeneratedZipList list = GenerateZipList({*loc, *rel, *codes});
  EXPECT_EQ(list.Codes, kShippedCodes);
  // Every county name of the relationship file found its code.
  EXPECT_EQ(list.WithCounty + list.StateByTerritory + list.StateByPrefix, list.Codes);
  EXPECT_EQ(list.WithCounty, SplitLines(*rel).size() - 1 - 197);  // 197 codes have no location any more
  const auto shipped = ReadWholeFile(std::string(VX_SOURCE_DIR) + "/data/ZipLst.lst");
  ASSERT_TRUE(shipped);
  EXPECT_TRUE(list.Text == *shipped) << "data/ZipLst.lst differs from what tools/ziplstgen makes of data/ziplst/";
}

TEST(ZipListGenerator, FixedColumnsInAscendingOrder) {
  const std::string text =
      Generate(std::string(kLocHeader) +
                   "88001\t32.290212\t-106.753138\n"
                   "00601\t18.180555\t-66.749961\n"
                   "96799\t-14.322923\t-170.752349\n"
                   "96950\t15.186894\t145.754396\n"
                   "10002\t40.715969\t-73.986895\n",
               std::string(kRelHeader) + "00601\tPR\tUtuado Municipio\n" +
                   "88001\tNM\tDo\xC3\xB1"
                   "a Ana County\n"  // UTF-8 here, ASCII in the code list
                   "10001\tNY\tNew York County\n",
               std::string(kCodeHeader) + "NM,35,013,Dona Ana County,H1\r\n" + "PR,72,141,Utuado Municipio,H1\r\n");
  EXPECT_EQ(text,
            "00601 PR0141  18.180555  -66.749961\r\n"
            "10002 NY0000  40.715969  -73.986895\r\n"  // state from 10001, the same first three digits
            "88001 NM0013  32.290212 -106.753138\r\n"
            "96799 AS0000 -14.322923 -170.752349\r\n"  // not Hawaii, whose prefix it shares
            "96950 MP0000  15.186894  145.754396\r\n");
}

TEST(ZipListGenerator, RefusesInputItCannotPlace) {
  const std::string rel = std::string(kRelHeader) + "10001\tNY\tNew York County\n";
  const std::string codes = kCodeHeader;
  auto fails = [&](const std::string& loc, const std::string& r, const std::string& what) {
    try {
      Generate(loc, r, codes);
      ADD_FAILURE() << "accepted: " << what;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(what), std::string::npos) << e.what();
    }
  };
  fails(std::string(kLocHeader) + "55555\t45.0\t-93.0\n", rel, "no state known for ZIP code 55555");
  fails(std::string(kLocHeader) + "10001\t40.7\t-74.0\n10001\t40.7\t-74.0\n", rel, "line 3: ZIP code listed twice");
  fails(std::string(kLocHeader) + "10001\t40.7\t-740.0\n", rel,
        "line 2: latitude or longitude is not a number in range");
  fails(std::string(kLocHeader) + "10001\t40,7\t-74.0\n", rel, "not a number in range");
  fails(std::string(kLocHeader) + "1001\t40.7\t-74.0\n", rel, "not \"zcta");
  fails("zip\tlat\tlon\n", rel, "the first line is not");
  fails(kLocHeader, rel + "10001\tNY\tKings County\n", "ZIP code listed twice");
}

TEST(ZipListGenerator, FoldsAccentedLetters) {
  EXPECT_EQ(FoldAccents("Mayag\xC3\xBC"
                        "ez Ca\xC3\xB1o R\xC3\xADo \xC3\x81"
                        "A"),
            "Mayaguez Cano Rio AA");
  EXPECT_EQ(FoldAccents("plain \xE2\x82\xAC"), "plain \xE2\x82\xAC");  // other characters unchanged
}

TEST(ShippedZipList, LoadsBesideTheProgramsWithKnownCodes) {
  // The copy the build puts beside the programs, as Kestrix finds it.
  const std::string file = std::string(VX_BIN_DIR) + "/ZipLst.lst";
  EXPECT_EQ(test::Slurp(file), test::Slurp(std::string(VX_SOURCE_DIR) + "/data/ZipLst.lst"));
  TZipList zips;
  zips.LoadFromFile(file);
  EXPECT_EQ(zips.Count(), kShippedCodes);

  struct TKnown {
    const char *Zip, *State;
    double Lat, Lon;  // the town's centre, roughly
  };
  for (const TKnown& k : {TKnown{"90210", "CA", 34.09, -118.41}, TKnown{"10001", "NY", 40.75, -73.99},
                          TKnown{"99501", "AK", 61.22, -149.86}, TKnown{"00802", "VI", 18.34, -64.93},
                          TKnown{"96910", "GU", 13.47, 144.75}, TKnown{"96799", "AS", -14.28, -170.70},
                          TKnown{"00601", "PR", 18.18, -66.75}, TKnown{"02134", "MA", 42.36, -71.13}}) {
    TCallbookEntry e;
    zips.Locate(k.Zip, k.State, e);
    EXPECT_EQ(e.RegionText().substr(0, 2), k.State) << k.Zip;
    EXPECT_EQ(e.RegionText().size(), 6u) << k.Zip;
    ASSERT_NE(e.Lat, kNoLocation16) << k.Zip;
    EXPECT_NEAR(e.Lat / 180.0, k.Lat, 0.25) << k.Zip;
    EXPECT_NEAR(e.Lon / 180.0, k.Lon, 0.25) << k.Zip;
  }
  // Beverly Hills lies in Los Angeles County (code 037).
  TCallbookEntry e;
  zips.Locate("90210", "CA", e);
  EXPECT_EQ(e.RegionText(), "CA0037");
  // Not every number is a ZIP code with a location.
  zips.Locate("00000", "CA", e);
  EXPECT_EQ(e.Lat, kNoLocation16);
  EXPECT_EQ(e.RegionText(), "CA");
}
