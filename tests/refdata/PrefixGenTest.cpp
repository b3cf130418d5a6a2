#include <gtest/gtest.h>

#include <fstream>
#include <iostream>

#include "CtyConvert.h"
#include "common/FileUtil.h"
#include "common/TextUtil.h"
#include "refdata/CallParser.h"
#include "refdata/EntityClock.h"

using namespace vx;
using namespace vx::prefixgen;

namespace {

const char* kCtyCsv = "/usr/share/hamradio-files/cty.csv";
const char* kMasterScp = "/usr/share/hamradio-files/MASTER.SCP";

const char* kSample =
    "K,United States,291,NA,05,08,37.53,91.67,5.0,AA K N W =KH6ABC =K1ABC/P;\n"
    "KH6,Hawaii,110,OC,31,61,21.12,157.48,10.0,AH6 KH6 KH6A(31)[61] NH6 WH6;\n"
    "*KH6X,Test Only,110,OC,31,61,21.00,157.00,10.0,KH6XX =KH6XYZ;\n"
    "UA,European Russia,54,EU,16,29,53.65,-41.37,-4.0,R U UA9F<55/-60>;\n"
    "UA9,Asiatic Russia,15,AS,17,30,55.88,-84.08,-7.0,R9 UA9 R9X;\n"
    "3Y/b,Bouvet,24,AF,38,67,-54.42,-3.38,-1.0,=3Y0J;\n"
    "broken line\n";

// Loads generated lists into a parser the way the main program does.
void LoadInto(TCallParser& p, const TGeneratedLists& lists, const std::string& tag) {
  std::string dir = testing::TempDir() + "prefixgen-" + tag + "/";
  MakeDirectories(dir);
  ASSERT_TRUE(WriteWholeFile(dir + "Prefix.lst", lists.PrefixLst));
  ASSERT_TRUE(WriteWholeFile(dir + "Call.lst", lists.CallLst));
  ASSERT_EQ(p.SetPrefixFile(dir + "Prefix.lst"), TLoadStatus::lsOk);
  ASSERT_TRUE(p.SetCallFile(dir + "Call.lst"));
}

}  // namespace

TEST(PrefixGen, ReadsTheCountryFile) {
  auto e = ParseCountryFile(kSample);
  ASSERT_EQ(e.size(), 6u);
  EXPECT_EQ(e[1].Prefixes, (std::vector<std::string>{"AH6", "KH6", "KH6A", "NH6", "WH6"}));  // overrides cut
  EXPECT_EQ(e[0].Calls, (std::vector<std::string>{"KH6ABC", "K1ABC/P"}));
  EXPECT_TRUE(e[2].ContestOnly());
  EXPECT_EQ(e[3].LonWest, -41.37);

  TCountryRule rule(e);
  EXPECT_EQ(rule.Resolve("KH6ABC"), 0);  // the exact call first
  EXPECT_EQ(rule.Resolve("KH6ABD"), 1);
  EXPECT_EQ(rule.Resolve("KH6XXA"), 2);
  EXPECT_EQ(rule.Resolve("UA9FAA"), 3);  // longest prefix
  EXPECT_EQ(rule.Resolve("UA9AA"), 4);
  EXPECT_EQ(rule.Resolve("QQ1"), -1);
}

TEST(PrefixGen, GeneratedListsFollowTheRule) {
  auto e = ParseCountryFile(kSample);
  TGeneratedLists lists = GenerateLists(e);
  EXPECT_EQ(lists.CountryEntries, 5);  // contest-only entities are no countries
  EXPECT_EQ(lists.ExactCalls, 4);
  EXPECT_NE(lists.CallLst.find("K1ABC/P=291\r\n"), std::string::npos);
  EXPECT_EQ(lists.PrefixLst.find("KH6A"), std::string::npos);  // KH6 already says Hawaii

  TCallParser p(TCallParserVariant::pvMain);
  LoadInto(p, lists, "sample");
  TAlStringList countries;
  p.ListEntities(countries);
  EXPECT_EQ(countries[0], "24=-|3Y/b|Bouvet");
  struct {
    const char* call;
    const char* number;
  } cases[] = {{"K1ABC", "291"}, {"KH6ABC", "291"},  {"KH6ABD", "110"},   {"KH6XXA", "110"},
               {"UA9FAA", "54"}, {"UA9AA", "15"},    {"R9XAA", "15"},     {"R1AA", "54"},
               {"3Y0J", "24"},   {"K1ABC/P", "291"}, {"AA1AA/KH6", "110"}};
  for (auto& c : cases) {
    p.Parse(c.call);
    ASSERT_FALSE(p.Results.empty()) << c.call;
    EXPECT_EQ(p.Results[0].EntityNumber, c.number) << c.call;
  }
  p.Parse("KH6ABD");
  EXPECT_EQ(p.Results[0].Name, "Hawaii");
  EXPECT_EQ(p.Results[0].Lat, RoundToInt32(21.12 * 180));
  EXPECT_EQ(p.Results[0].Lon, RoundToInt32(-157.48 * 180));  // the country file counts west positive
  EXPECT_EQ(p.Results[0].Column4, "KH6");
}

// The generated list carries the country file's clock, west positive; a
// looked-up call reads it east positive.
TEST(PrefixGen, LookedUpCallsCarryTheirClock) {
  TCallParser p(TCallParserVariant::pvMain);
  LoadInto(p, GenerateLists(ParseCountryFile(kSample)), "clock");
  struct {
    const char* call;
    double hours;
  } cases[] = {{"KH6ABD", -10.0}, {"UA9AA", 7.0}, {"R1AA", 4.0}, {"3Y0J", 1.0}};
  for (auto& c : cases) {
    p.Parse(c.call);
    ASSERT_FALSE(p.Results.empty()) << c.call;
    EXPECT_EQ(ListedUtcOffset(p.Results[0]), c.hours) << c.call;
  }
  TPrefixData d;
  for (const char* text : {"", "EU", "15", "-14.5", "5.3", "nan", "inf"}) {
    d.Column8 = text;
    EXPECT_FALSE(ListedUtcOffset(d)) << text;
  }
  d.Column8 = " -5.75 ";
  EXPECT_EQ(ListedUtcOffset(d), 5.75);
  d.Column8 = "0.0";
  EXPECT_EQ(ListedUtcOffset(d), 0.0);
}

// Every plain call of the contest call list must land on the entity the
// country file itself gives it.
TEST(PrefixGen, MasterCallListAgreesWithTheCountryFile) {
  auto csv = ReadWholeFile(kCtyCsv);
  auto scp = ReadWholeFile(kMasterScp);
  if (!csv || !scp) GTEST_SKIP() << "hamradio-files is not installed";
  auto entities = ParseCountryFile(*csv);
  TCountryRule rule(entities);
  TCallParser p(TCallParserVariant::pvMain);
  LoadInto(p, GenerateLists(entities), "cty");

  size_t total = 0, agree = 0;
  std::vector<std::string> differ;
  for (std::string_view line : SplitLines(*scp)) {
    std::string_view call = Trim(line);
    if (call.empty() || call[0] == '#' || call.find('/') != std::string_view::npos) continue;
    ++total;
    int want = rule.Resolve(call);
    p.Parse(call);
    std::string got = p.Results.empty() ? "-" : p.Results[0].EntityNumber;
    std::string expected = want < 0 ? "-" : entities[want].Number;
    if (got == expected) {
      ++agree;
    } else {
      differ.push_back(std::string(call) + ": country file " + expected + ", lookup " + got);
    }
  }
  std::cout << "MASTER.SCP plain calls: " << agree << " of " << total << " agree\n";
  for (const auto& d : differ) std::cout << "  " << d << "\n";
  EXPECT_GT(total, 80000u);
  EXPECT_EQ(agree, total);
}
