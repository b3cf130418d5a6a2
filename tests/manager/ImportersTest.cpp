#include <gtest/gtest.h>

#include "Gen.h"
#include "ManagerTestUtil.h"
#include "ZipWriter.h"
#include "common/TextUtil.h"
#include "manager/CbIndex.h"
#include "manager/IotaKml.h"
#include "manager/Job.h"
#include "manager/Sources.h"
#include "manager/SpecialCalls.h"
#include "refdata/AlStrLst.h"
#include "refdata/ClBook.h"

using namespace vx;

namespace {

std::string Placemark(const std::string& ref, const std::string& group, const std::string& coords) {
  return "<Placemark><name> " + ref + " </name><description><![CDATA[" + group +
         "<br />more]]></description><Point><coordinates>" + coords + "</coordinates></Point></Placemark>\n";
}

// A job on a fresh reference folder holding the lookup files the IOTA job reads.
struct TJobFixture {
  std::string Dir;
  test::TRecordingUi Ui;
  explicit TJobFixture(const std::string& tag) : Dir(test::FreshFolder(tag)) {
    WriteFileAtomic(Dir + "IotaDxcc.lst", "EU-005=1,3\r\nAF-001 2\r\nNA-001=99, 1\r\n");
    WriteFileAtomic(Dir + "Prefix.lst", gen::GeneratePrefixList());
    WriteFileAtomic(Dir + "ZipLst.lst", gen::GenerateZipList());
  }
  bool Run(int source, const std::string& body) {
    TKestrixJob job(source, Dir, Ui);
    job.LoadLookupLists();
    const bool ok = job.ImportDownloaded(body);
    EXPECT_EQ(job.ExitCode(), ok ? 0 : 1);
    return ok;
  }
};

}  // namespace

TEST(IotaImport, WritesBothListsFromThePlacemarks) {
  TJobFixture f("iota");
  const std::string kml = "<kml><Document>" + Placemark("EU-005", "  Great Britain &amp; Isles ", "-1.5,52.25,0") +
                          Placemark("AF-001", "Agalega", "56.6,-10.4,0") + Placemark("OC-999", "Nowhere", "1,2,0") +
                          Placemark("NA-001", "Third", "-70.1,41.3") +  // two values: scanning stops
                          Placemark("SA-001", "After", "1,2,3") + "</Document></kml>";
  ASSERT_TRUE(f.Run(srIota, gen::ZipWith("doc.kml", kml)));
  EXPECT_EQ(test::Slurp(f.Dir + "IotaRef.lst"),
            "------  <none>\r\n"
            "AF-001  (XB) Agalega\r\n"
            "EU-005  (XA, XC) Great Britain & Isles\r\n"
            "OC-999  () Nowhere\r\n");
  EXPECT_EQ(test::Slurp(f.Dir + "Islands/Iota.lst"),
            "#-------------------------------------------------------------\r\n"
            "#InternalUse|Longitude|Latitude|IOTA Group|-Prefix|+Ref #|-TZ|\r\n"
            "#-------------------------------------------------------------\r\n"
            "00|-270|9405|Great Britain & Isles|XA, XC|EU-005||\r\n"
            "00|10188|-1872|Agalega|XB|AF-001||\r\n"
            "00|180|360|Nowhere||OC-999||\r\n");
  EXPECT_TRUE(f.Ui.Messages.empty());
  EXPECT_EQ(f.Ui.Statuses.back(), "DONE");
}

TEST(IotaImport, FailuresLeaveThePreviousListsAlone) {
  TJobFixture f("iota");
  WriteFileAtomic(f.Dir + "IotaRef.lst", "old ref");
  MakeDirectories(f.Dir + "Islands");
  WriteFileAtomic(f.Dir + "Islands/Iota.lst", "old islands");
  const std::string bad = "<kml>" + Placemark("EU-005", "GB", "-1.5,5x2,0") + "</kml>";
  EXPECT_FALSE(f.Run(srIota, gen::ZipWith("doc.kml", bad)));
  EXPECT_FALSE(f.Run(srIota, "<html>not found</html>"));
  EXPECT_FALSE(f.Run(srIota, gen::TZipWriter().Build()));  // an archive without members
  EXPECT_EQ(f.Ui.Errors.size(), 3u);
  // An entity list that is there but cannot be used is not taken for an
  // absent one: the job refuses rather than drop every prefix.
  const std::string good = gen::ZipWith("doc.kml", "<kml>" + Placemark("EU-005", "GB", "1,2,0"));
  RemoveFile(f.Dir + "Prefix.lst");
  EXPECT_FALSE(f.Run(srIota, good));
  EXPECT_NE(f.Ui.Errors.back().find("Prefix.lst"), std::string::npos) << f.Ui.Errors.back();
  RemoveFile(f.Dir + "IotaDxcc.lst");
  MakeDirectories(f.Dir + "IotaDxcc.lst");
  WriteFileAtomic(f.Dir + "Prefix.lst", gen::GeneratePrefixList());
  EXPECT_FALSE(f.Run(srIota, good));
  EXPECT_NE(f.Ui.Errors.back().find("IotaDxcc.lst"), std::string::npos) << f.Ui.Errors.back();
  EXPECT_EQ(test::Slurp(f.Dir + "IotaRef.lst"), "old ref");
  EXPECT_EQ(test::Slurp(f.Dir + "Islands/Iota.lst"), "old islands");
  EXPECT_TRUE(f.Ui.Messages.empty());
}

// Nothing ships the IOTA-to-entity list: without it the job is done, every
// prefix is empty (as for a reference the list does not name), no prefix
// list is needed, and the user is told once what the list would add.
TEST(IotaImport, WithoutTheEntityListTheIslandsHaveNoPrefixes) {
  TJobFixture f("iota");
  RemoveFile(f.Dir + "IotaDxcc.lst");
  RemoveFile(f.Dir + "Prefix.lst");
  const std::string kml = "<kml>" + Placemark("EU-005", "Great Britain", "-1.5,52.25,0") +
                          Placemark("AF-001", "Agalega", "56.6,-10.4,0") + "</kml>";
  ASSERT_TRUE(f.Run(srIota, gen::ZipWith("doc.kml", kml)));
  EXPECT_EQ(test::Slurp(f.Dir + "IotaRef.lst"),
            "------  <none>\r\n"
            "AF-001  () Agalega\r\n"
            "EU-005  () Great Britain\r\n");
  EXPECT_EQ(test::Slurp(f.Dir + "Islands/Iota.lst"),
            "#-------------------------------------------------------------\r\n"
            "#InternalUse|Longitude|Latitude|IOTA Group|-Prefix|+Ref #|-TZ|\r\n"
            "#-------------------------------------------------------------\r\n"
            "00|-270|9405|Great Britain||EU-005||\r\n"
            "00|10188|-1872|Agalega||AF-001||\r\n");
  EXPECT_EQ(f.Ui.Statuses.back(), "DONE");
  EXPECT_TRUE(f.Ui.Errors.empty());
  // The whole path, where to put the list and what it brings.
  ASSERT_EQ(f.Ui.Messages.size(), 1u);
  const std::string& notice = f.Ui.Messages[0];
  EXPECT_NE(notice.find("\"" + f.Dir + "IotaDxcc.lst\""), std::string::npos) << notice;
  EXPECT_NE(notice.find("entity prefixes"), std::string::npos) << notice;
  EXPECT_NE(notice.find("EU-005="), std::string::npos) << notice;
  EXPECT_FALSE(FileExists(f.Dir + "IotaDxcc.lst"));

  // With the list in place again, the prefixes come back and nothing is said.
  WriteFileAtomic(f.Dir + "IotaDxcc.lst", "EU-005=1,3\r\n");
  WriteFileAtomic(f.Dir + "Prefix.lst", gen::GeneratePrefixList());
  ASSERT_TRUE(f.Run(srIota, gen::ZipWith("doc.kml", kml)));
  EXPECT_NE(test::Slurp(f.Dir + "IotaRef.lst").find("EU-005  (XA, XC) Great Britain"), std::string::npos);
  EXPECT_EQ(f.Ui.Messages.size(), 1u);
}

TEST(SpecialCalls, MergesLinesOfOneCall) {
  const std::string text =
      "Call Sign;Organization;Year;Event;Contact;Dates;Period\r\n"
      "VX9ABC;Club;2024-1;First event;x;24/01-24/02;\r\n"
      "vc2low;Club;2023;Lower case;x;23/05-23/06;\r\n"
      "VX9ABC;Club;2025;Second event;x;this text is far too long;25/03-25/04\r\n"
      "VC1;Club;2024;three-character call;x;24/01-24/02\r\n"
      "VX9ZZ;Club;2024;five fields;x\r\n"
      "VX9ABC;Club;2022;Third event;x;22/07;\r\n"
      "VX9ABCD;Club;2021;Longer call;x;2021;\r\n";
  EXPECT_EQ(BuildSpecialCallLines(text),
            (std::vector<std::string>{"vc2low  2023 (23/05-23/06):  Lower case",
                                      "VX9ABC  2025 (25/03-25/04):  Second event|2024 (24/01-24/02):  First "
                                      "event|2022 (22/07):  Third event",
                                      "VX9ABCD  2021 (2021):  Longer call"}));
  EXPECT_TRUE(BuildSpecialCallLines("").empty());
  EXPECT_TRUE(BuildSpecialCallLines("header only\r\n").empty());

  TJobFixture f("special");
  ASSERT_TRUE(f.Run(srCanadianSpecial, gen::ZipWith("ind.csv", text)));
  EXPECT_EQ(f.Ui.Messages, std::vector<std::string>{"Special Canadian callsigns imported: 3 calls"});
  EXPECT_EQ(SplitLines(test::Slurp(f.Dir + "CanSpec.lst")).size(), 3u);
}

TEST(CallbookImports, MissingMemberOrBrokenInputKeepsThePreviousCallbook) {
  TJobFixture f("fcc");
  WriteFileAtomic(f.Dir + "FccCB.dat", "old detail");
  WriteFileAtomic(f.Dir + "FccCB.idx", "old index");
  EXPECT_FALSE(f.Run(srFcc, gen::ZipWith("EN.txt", "EN|1|||K1ABC")));  // no "EN.dat"
  EXPECT_FALSE(f.Run(srFcc, "<html>503</html>"));
  const std::string good = gen::ZipWith("EN.dat", gen::GenerateFccEn({}));
  EXPECT_FALSE(f.Run(srFcc, good.substr(0, good.size() / 2)));  // truncated download
  RemoveFile(f.Dir + "ZipLst.lst");
  EXPECT_FALSE(f.Run(srFcc, good));  // the index cannot be built: the detail file stays too
  EXPECT_EQ(test::Slurp(f.Dir + "FccCB.dat"), "old detail");
  EXPECT_EQ(test::Slurp(f.Dir + "FccCB.idx"), "old index");
  EXPECT_TRUE(f.Ui.Messages.empty());
  EXPECT_EQ(f.Ui.Errors.size(), 4u);
  EXPECT_EQ(f.Ui.Errors[0], "The downloaded file holds no \"EN.dat\"");
  EXPECT_EQ(f.Ui.Errors[2], "Zip file corrupt");

  // An index file that cannot be replaced (a folder stands in its place).
  WriteFileAtomic(f.Dir + "ZipLst.lst", gen::GenerateZipList());
  MakeDirectories(f.Dir + "RacCB.idx/x");
  WriteFileAtomic(f.Dir + "RacCB.dat", "old rac");
  EXPECT_FALSE(f.Run(srRac, gen::ZipWith("amateur.rpt", gen::GenerateAmateurRpt(50))));
  EXPECT_EQ(test::Slurp(f.Dir + "RacCB.dat"), "old rac");
  for (const auto& e : std::filesystem::directory_iterator(f.Dir))
    EXPECT_EQ(e.path().string().find(".part"), std::string::npos) << e.path();
}

TEST(CallbookImports, GeneratedRegistriesGiveConsistentIndexes) {
  TJobFixture f("gen");
  gen::TFccOptions o;
  o.Records = 3000;
  o.SplitShare = 0.05;
  ASSERT_TRUE(f.Run(srFcc, gen::ZipWith("EN.dat", gen::GenerateFccEn(o))));
  ASSERT_TRUE(f.Run(srRac, gen::ZipWith("amateur.rpt", gen::GenerateAmateurRpt(2000))));
  ASSERT_TRUE(f.Run(srRda, gen::ZipWith("rda.txt", gen::GenerateRdaList(500))));
  EXPECT_EQ(f.Ui.Messages[0], "FCC database imported: 3000 calls");
  EXPECT_EQ(f.Ui.Messages[2], "RDA database imported: 501 calls");
  EXPECT_EQ(f.Ui.Statuses[0], "Processing data...");
  EXPECT_EQ(f.Ui.Statuses[1], "Unzipping...");

  // Every record leads to a detail line that starts with (or holds) its call.
  for (const char* name : {"FccCB", "RacCB"}) {
    const std::string detail = test::Slurp(f.Dir + name + ".dat");
    const TCallbookEntries e = DecodeCallbookIndex(test::Slurp(f.Dir + name + ".idx"));
    ASSERT_GT(e.size(), 1000u);
    size_t located = 0;
    for (size_t i = 0; i < e.size(); ++i) {
      if (i) {
        ASSERT_FALSE(CallLess(e[i], e[i - 1]));
      }
      std::string_view line = std::string_view(detail).substr(static_cast<size_t>(e[i].DatOffset));
      line = line.substr(0, line.find('\r'));
      const std::string call(e[i].CallText());
      if (name[0] == 'R') {
        ASSERT_EQ(line.substr(0, call.size()), call);
      } else {
        TAlStringList fields;
        fields.SetDelimitedItems(line);
        ASSERT_GT(fields.Count(), 4u);
        ASSERT_EQ(fields[0], "EN");
        ASSERT_EQ(UpperAscii(fields[4]), call);
      }
      located += e[i].Lat != kNoLocation16;
    }
    if (name[0] == 'F') {
      EXPECT_GT(located, e.size() / 2);
    }
  }
}

TEST(LotwImport, StoresTheBodyByteForByte) {
  TJobFixture f("lotw");
  using namespace std::string_literals;
  const std::string body = "K1ABC,2024-01-01\r\nG3XYZ,2023-05-06\r\n\0\xFF odd\nW1AW"s;
  ASSERT_TRUE(f.Run(srLotwUsers, body));
  EXPECT_EQ(test::Slurp(f.Dir + "lotw1.txt"), body);
  // Nothing at all is no user list.
  EXPECT_FALSE(f.Run(srLotwUsers, ""));
  EXPECT_EQ(test::Slurp(f.Dir + "lotw1.txt"), body);
}

TEST(KestrixSources, IndexesAndCaptions) {
  EXPECT_EQ(SourceCaption(2), "Download FCC callsign database");
  EXPECT_EQ(SourceCaption(srSsnForecast), "Download Predicted sunspot numbers");
  EXPECT_EQ(ParseSourceIndex("6"), srSsnForecast);
  EXPECT_EQ(ParseSourceIndex(" 0 "), 0);
  for (const char* bad : {"7", "-1", "x", "", "1.5", "2x"}) EXPECT_FALSE(ParseSourceIndex(bad)) << bad;
}
