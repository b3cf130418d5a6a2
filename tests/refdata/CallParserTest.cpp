#include <gtest/gtest.h>

#include "common/FileUtil.h"
#include "common/Paths.h"
#include "refdata/CallParser.h"
#include "refdata/LookupText.h"

using namespace vx;

namespace {

// Kind, level, lon, lat, name, entity number, masks.
std::string Entry(const std::string& type, const std::string& lon, const std::string& lat, const std::string& name,
                  const std::string& number, const std::string& masks) {
  return type + "|" + lon + "|" + lat + "|" + name + "|pfx-" + name + "|||||" + number + "||||" + masks + "|\n";
}

const std::string kList =
    "h\nh\nh\n" + Entry("0100", "-17820", "6840", "United States", "291", "K,N,W") +
    Entry("0201", "-14400", "6300", "Fourth area", "", "K4???") + Entry("0902", "", "", "Region nine", "", "K4???") +
    Entry("0302", "-14000", "6200", "Region three", "", "K4???") + Entry("0100", "bad", "", "Broken", "abc", "XX") +
    Entry("0100", "-28346", "3802", "Hawaii", "110", "KH6,KH7") +
    Entry("0100", "-24300", "11700", "Alaska", "6", "KL") + Entry("0100", "450", "8460", "France", "227", "F") +
    Entry("0100", "-7920", "9360", "Canada", "1", "VE") + Entry("0100", "0", "-16200", "Antarctica", "13", "CE9") +
    Entry("0100", "1800", "9000", "Italy", "248", "I") + Entry("0100", "-900", "9540", "England", "223", "G,M") +
    Entry("0600", "-100", "9900", "Portable", "500", "G/P");

class CallParserTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(p.PrefixList.LoadFromText(kList), TLoadStatus::lsOk);
    p.CallList.SetText("K1XYZ 291\nDL1ZZZ=KH6\nAA1AA=9999\n");
    p.CallList.SetSorted(true);
  }
  // The lookup string(s) the typed text is reduced to, or "fail".
  std::string Norm(const std::string& text) {
    p.Call = text;
    if (!p.NormalizeCall()) return "fail";
    return p.AltCall.empty() ? p.Call : p.Call + " + " + p.AltCall;
  }
  std::string First(const std::string& text) {
    p.Parse(text);
    return p.Results.empty() ? "-" : p.Results[0].Name;
  }
  TCallParser p{TCallParserVariant::pvMain};
};

}  // namespace

TEST_F(CallParserTest, PortableForms) {
  EXPECT_EQ(Norm("K1ABC"), "K1ABC");
  EXPECT_EQ(Norm(" k1 abc "), "K1ABC");
  EXPECT_EQ(Norm("K1ABC/QRP"), "K1ABC");
  EXPECT_EQ(Norm("K1ABC/BCN"), "K1ABC");
  EXPECT_EQ(Norm("K1ABC/"), "K1ABC");
  EXPECT_EQ(Norm("QRP/K1ABC"), "QRP");
  EXPECT_EQ(Norm("K1ABC/MM"), "fail");
  EXPECT_EQ(Norm("K1ABC/MM/P"), "K1ABC/P");
  EXPECT_EQ(Norm("K1ABC/4"), "K4");
  EXPECT_EQ(Norm("VE3ABC/4"), "VE4");
  EXPECT_EQ(Norm("VE3ABC/4/P"), "VE4/P");
  EXPECT_EQ(Norm("G3ABC/4"), "fail");
  EXPECT_EQ(Norm("K1ABC/4/2"), "fail");
  EXPECT_EQ(Norm("F/K1ABC"), "F0");
  EXPECT_EQ(Norm("K1ABC/M"), "K1ABC/M");
  EXPECT_EQ(Norm("K1ABC/F/P"), "F0/P");
  EXPECT_EQ(Norm("K1ABC/M/P"), "M0/P");
  EXPECT_EQ(Norm("K1ABC/F"), "F0");
  EXPECT_EQ(Norm("KH6/K1ABC"), "KH6");
  EXPECT_EQ(Norm("K1ABC/KH6"), "KH6");
  EXPECT_EQ(Norm("K1AB/K2CD"), "K1AB + K2CD");
  EXPECT_EQ(Norm("K1AB/K2CD/P"), "K1AB/P + K2CD/P");
  EXPECT_EQ(Norm("K1ABC/P/Q"), "fail");
  EXPECT_EQ(Norm("K1ABC/X/Y/Z"), "fail");
  EXPECT_EQ(Norm("K1ABC/A/KH6"), "KH6");
  EXPECT_EQ(Norm("HK0ABC/0M"), "HK0ABC/0M");
  EXPECT_EQ(Norm("FR5AB/G"), "FR5AB/G");
  EXPECT_EQ(Norm("X/Y"), "fail");
}

// A single letter left when the trailing "/" is cut still gets its zero.
TEST_F(CallParserTest, ASingleLetterWithATrailingSlash) {
  EXPECT_EQ(Norm("K/"), "K0");
  EXPECT_EQ(Norm("W/"), "W0");
  EXPECT_EQ(Norm("R/"), "R0");
  EXPECT_EQ(Norm("F/"), "F0");
  EXPECT_EQ(Norm("X/"), "fail");  // no zero rule for X: too short
  EXPECT_EQ(Norm("K"), "fail");   // without the "/" it was never long enough
  EXPECT_EQ(First("K/"), "United States");
  EXPECT_EQ(First("W/"), "United States");
  EXPECT_EQ(First("F/"), "France");
}

TEST_F(CallParserTest, RejectedText) {
  for (const char* bad : {"", "K", "/K1ABC", "K1//P", "K1AB?", "K1-AB",
                          "K1\xC4"
                          "B"})
    EXPECT_EQ(Norm(bad), "fail") << bad;
}

TEST_F(CallParserTest, ExceptionsAndEntityNumbers) {
  EXPECT_EQ(Norm("K1XYZ"), "ADIF291");
  EXPECT_EQ(Norm("DL1ZZZ"), "KH6");         // any other value replaces the call
  EXPECT_EQ(Norm("DL1ZZZ/P"), "DL1ZZZ/P");  // the key is the whole call
  EXPECT_EQ(Norm("K1XYZ/4"), "K4");         // second look with the reduced call
  EXPECT_EQ(Norm("K1XYZ/"), "ADIF291");
  EXPECT_EQ(Norm("ZZ9/ANT"), "ADIF013");
  EXPECT_EQ(First("K1XYZ"), "United States");
  EXPECT_EQ(First("DL1ZZZ"), "Hawaii");
  EXPECT_EQ(First("XX1/ANT"), "Antarctica");
  ASSERT_EQ(p.Results.size(), 1u);
  EXPECT_EQ(p.Results[0].EntityNumber, "13");
}

// A country whose entity number is not a number must not stop the search,
// and an unknown number is no place at all (not 0 N 0 E).
TEST_F(CallParserTest, BadAndUnknownEntityNumbers) {
  TPrefixData d;
  EXPECT_NO_THROW(EXPECT_TRUE(p.FindByEntityNumber(110, d)));
  EXPECT_EQ(d.Name, "Hawaii");
  EXPECT_FALSE(p.FindByEntityNumber(9999, d));
  p.Parse("AA1AA");
  EXPECT_TRUE(p.Results.empty());
}

TEST_F(CallParserTest, MaskMatching) {
  auto m = [](const char* call, const char* mask) { return TCallParser::MatchMask(call, CompileMask(mask)); };
  EXPECT_EQ(m("K", "K#@"), 1);
  EXPECT_EQ(m("K1A", "K#@"), 2);
  EXPECT_EQ(m("K1AB", "K#@"), 2);
  EXPECT_EQ(m("1K", "K#@"), 0);
  EXPECT_EQ(m("K1", "K##."), 1);
  EXPECT_EQ(m("K", "K##."), 0);
  EXPECT_EQ(m("K12", "K##."), 2);
  EXPECT_EQ(m("K123", "K##."), 0);
  EXPECT_EQ(m("K1/P", "K#@/X"), 1);  // only the parts before "/" count
  EXPECT_EQ(m("/P", "K"), 0);
  EXPECT_EQ(m("K", "/P"), 0);
  auto s = [](const char* call, const char* mask) { return TCallParser::SuffixClass(call, CompileMask(mask)); };
  EXPECT_EQ(s("K1", "K"), 3);
  EXPECT_EQ(s("K1", "K/P"), 2);
  EXPECT_EQ(s("K1/P", "K"), 3);
  EXPECT_EQ(s("K1/M", "K"), 3);
  EXPECT_EQ(s("K1/PP", "K"), 1);
  EXPECT_EQ(s("K1/Q", "K"), 1);
  EXPECT_EQ(s("K1/P", "K/P"), 3);
  EXPECT_EQ(s("K1/Q", "K/P"), 0);
}

TEST_F(CallParserTest, ResultsMergeTheTree) {
  p.Parse("K1ABC/4");  // looks up K4: the area and its regions match
  ASSERT_EQ(p.Results.size(), 1u);
  const TPrefixData& r = p.Results[0];
  EXPECT_EQ(r.Name, "United States");
  EXPECT_EQ(r.AreaNames, "Fourth area");
  EXPECT_EQ(r.RegionName, "Region three");
  EXPECT_EQ(r.SubNames, (std::vector<std::string>{"Region nine"}));  // no coordinates of its own
  EXPECT_EQ(r.Lon, -14000);                                          // the most specific place
  EXPECT_EQ(r.EntityNumber, "291");                                  // inherited from the country
  EXPECT_EQ(r.Column4, "pfx-Region three");
  EXPECT_TRUE(p.Hits.empty());

  p.Parse("K4ABC");  // a whole call matches no area mask (child masks need M = 1)
  ASSERT_EQ(p.Results.size(), 1u);
  EXPECT_EQ(p.Results[0].AreaNames, "");
  EXPECT_EQ(p.Results[0].Lon, -17820);
}

TEST_F(CallParserTest, LaterCountryComesFirst) {
  p.Parse("KH6/K1ABC");
  ASSERT_EQ(p.Results.size(), 2u);
  EXPECT_EQ(p.Results[0].Name, "Hawaii");
  EXPECT_EQ(p.Results[1].Name, "United States");
  p.Parse("K1AB/KL7X");  // both parts are looked up; the alternative's hits come later
  ASSERT_EQ(p.Results.size(), 3u);
  EXPECT_EQ(p.Results[0].Name, "Alaska");
  // A mask whose second position is "/" is indexed nowhere: no call can
  // begin with "G/", so the portable entry is never reached.
  EXPECT_EQ(First("G3ABC/P"), "England");
  EXPECT_EQ(First("G/P"), "England");
  EXPECT_EQ(First("G3ABC/M"), "England");
  EXPECT_EQ(First("G3ABC/Q"), "-");  // a whole call with a suffix other than /M or /P
  EXPECT_EQ(First("F/K1ABC"), "France");
  EXPECT_EQ(First("I/K1ABC"), "Italy");
  EXPECT_EQ(First("Q1ABC"), "-");
  EXPECT_EQ(First("K1ABC/MM"), "-");
}

TEST_F(CallParserTest, LookupTextLines) {
  p.Parse("K1ABC/4");
  EXPECT_EQ(FormatLookupResults("K1ABC/4", p.Results),
            "K1ABC/4\t291\tUnited States\t34.44\t-77.78\tFourth area\tRegion three\tRegion nine\n");
  EXPECT_EQ(FormatLookupResults("Q1", {}), "Q1\t-\n");
  TPrefixData none;
  none.Name = "Nowhere";
  EXPECT_EQ(FormatLookupResults("X", {none}), "X\t\tNowhere\t-\t-\t\t\t\n");
  EXPECT_EQ(FormatDxPlace("K1ABC/4", ResolveDxPlace("K1ABC/4", p.Results, "")),
            "K1ABC/4\tDX\t34.44\t-77.78\tcountry centre\n");
  EXPECT_EQ(FormatDxPlace("Q1", {}), "");
}

TEST(CallParser, FilesAndVariants) {
  std::string dir = testing::TempDir() + "callparser-files/";
  MakeDirectories(dir);
  ASSERT_TRUE(WriteWholeFile(dir + "Prefix.lst", kList));
  ASSERT_TRUE(WriteWholeFile(dir + "Bad.lst", "h\nh\nh\n0100|1|2|short\n"));
  ASSERT_TRUE(WriteWholeFile(dir + "Call.lst", "W1AW 6\nAB1CD=1\n"));

  TCallParser p(TCallParserVariant::pvMain);
  EXPECT_EQ(p.SetPrefixFile(dir + "Prefix.lst"), TLoadStatus::lsOk);
  EXPECT_EQ(p.SetPrefixFile(dir + "Missing.lst"), TLoadStatus::lsUnreadable);
  EXPECT_GT(p.PrefixList.Count, 0);  // a missing file keeps the list
  EXPECT_TRUE(p.SetCallFile(dir + "Call.lst"));
  EXPECT_TRUE(p.CallList.Sorted());
  p.Parse("W1AW");
  ASSERT_FALSE(p.Results.empty());
  EXPECT_EQ(p.Results[0].Name, "Alaska");
  EXPECT_FALSE(p.SetCallFile(dir + "Missing.lst"));
  EXPECT_EQ(p.CallList.Count(), 0u);  // a failed load leaves no exceptions
  EXPECT_EQ(p.SetPrefixFile(dir + "Bad.lst"), TLoadStatus::lsMalformed);
  p.Parse("K1ABC");
  EXPECT_TRUE(p.Results.empty());

  TCallParser m(TCallParserVariant::pvManager);
  m.SetPrefixFile(dir + "Prefix.lst");
  m.SetCallFile(dir + "Call.lst");
  EXPECT_FALSE(m.CallList.Sorted());
  EXPECT_EQ(m.CallList[0], "W1AW 6");
  TAlStringList entities;
  m.ListEntities(entities);
  ASSERT_EQ(entities.Count(), 9u);  // kind 1 only, file order
  EXPECT_EQ(entities[0], "291=-|pfx-United States|United States");
  EXPECT_EQ(entities[1], "abc=-|pfx-Broken|Broken");

  EXPECT_EQ(TCallParser::ResolvePath("/a//b/Prefix.lst"), "/a/b/Prefix.lst");
  EXPECT_EQ(TCallParser::ResolvePath("Prefix.lst"), ShippedDataFolder() + "Prefix.lst");
}

TEST(CallParser, BeepsOnLP) {
  TCallParser p(TCallParserVariant::pvMain);
  int beeps = 0;
  p.OnBeep = [&] { ++beeps; };
  p.Parse("L/P");
  p.Parse("L/PP");
  EXPECT_EQ(beeps, 1);
}

TEST(CallParser, LoadsNothingUntilAsked) {
  const std::string data = testing::TempDir() + "callparser-defaults/";
  const std::string ref = data + "Vexmoor/Reference/";
  MakeDirectories(ref);
  ASSERT_TRUE(WriteWholeFile(ref + "Prefix.lst", kList));
  ASSERT_TRUE(WriteWholeFile(ref + "CallDxcc.lst", "W1AW 6\n"));
  setenv("XDG_DATA_HOME", data.c_str(), 1);

  TCallParser p;
  EXPECT_EQ(p.PrefixList.Count, 0);
  EXPECT_EQ(p.CallList.Count(), 0u);
  EXPECT_TRUE(p.PrefixFile().empty());
  p.LoadDefaultFiles();
  EXPECT_EQ(p.PrefixFile(), ref + "Prefix.lst");
  EXPECT_GT(p.PrefixList.Count, 0);
  EXPECT_EQ(p.CallFile(), ref + "CallDxcc.lst");
  p.Parse("W1AW");
  ASSERT_FALSE(p.Results.empty());
  EXPECT_EQ(p.Results[0].Name, "Alaska");
  unsetenv("XDG_DATA_HOME");
}
