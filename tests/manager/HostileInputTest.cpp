// Downloads that are not what the source publishes must never replace good
// files or end in "DONE"; real files with small blemishes must import as
// they always did.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "Gen.h"
#include "ManagerTestUtil.h"
#include "SpecialCallsReference.h"
#include "ZipWriter.h"
#include "common/TextUtil.h"
#include "manager/CbIndex.h"
#include "manager/EntityList.h"
#include "manager/Importers.h"
#include "manager/IotaKml.h"
#include "manager/Job.h"
#include "manager/Sources.h"
#include "manager/SpecialCalls.h"
#include "manager/Staging.h"
#include "refdata/AlStrLst.h"

using namespace vx;
using vx::gen::TZipMember;
using vx::gen::TZipWriter;

namespace {

const std::vector<std::string>& OutputsOf(int source) {
  static const std::vector<std::string> kFiles[kSourceCount] = {{"IotaRef.lst", "Islands/Iota.lst"},
                                                                {"lotw1.txt"},
                                                                {"FccCB.dat", "FccCB.idx"},
                                                                {"RacCB.dat", "RacCB.idx"},
                                                                {"CanSpec.lst"},
                                                                {"RdaCB.idx"},
                                                                {"SSN.dat"}};
  return kFiles[source];
}

// The member name each source's archive uses.
const char* MemberOf(int source) {
  static const char* const kNames[kSourceCount] = {
      "doc.kml", "", "EN.dat", "amateur.rpt", "ind_speciaux.csv", "rda.txt", "predicted-solar-cycle.json"};
  return kNames[source];
}

std::string RandomBytes(size_t n, unsigned seed) {
  std::mt19937 r(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(r() & 0xFF);
  return s;
}

const std::string kErrorPage =
    "<!DOCTYPE html>\r\n<html><head><title>503 Service Unavailable</title></head>\r\n<body>\r\n"
    "<h1>Service Unavailable</h1>\r\n<p>The server is temporarily unable to service your request.</p>\r\n"
    "</body></html>\r\n";

struct TFolder {
  std::string Dir;
  test::TRecordingUi Ui;
  explicit TFolder(const std::string& tag) : Dir(test::FreshFolder(tag)) {
    WriteFileAtomic(Dir + "IotaDxcc.lst", gen::GenerateIotaDxcc(40));
    WriteFileAtomic(Dir + "Prefix.lst", gen::GeneratePrefixList());
    WriteFileAtomic(Dir + "ZipLst.lst", gen::GenerateZipList());
  }
  bool Run(int source, std::string_view body) {
    TKestrixJob job(source, Dir, Ui);
    job.LoadLookupLists();
    const bool ok = job.ImportDownloaded(body);
    EXPECT_EQ(job.ExitCode(), ok ? 0 : 1);
    return ok;
  }
  void PutPrevious(int source) {
    MakeDirectories(Dir + "Islands");
    for (const std::string& f : OutputsOf(source)) WriteFileAtomic(Dir + f, "previous " + f);
  }
  void ExpectPrevious(int source) {
    for (const std::string& f : OutputsOf(source)) EXPECT_EQ(test::Slurp(Dir + f), "previous " + f) << f;
    for (const auto& e : std::filesystem::recursive_directory_iterator(Dir))
      EXPECT_EQ(e.path().string().find(".part"), std::string::npos) << e.path();
  }
};

std::string SortedIndexOf(TCallbookEntries e) {
  SortCallbookEntries(e, 0, static_cast<ptrdiff_t>(e.size()) - 1);
  return EncodeCallbookIndex(e);
}

}  // namespace

TEST(HostileInput, ForeignDownloadsAreRefusedAndReplaceNothing) {
  TFolder f("hostile");
  for (int source = 0; source < kSourceCount; ++source) {
    SCOPED_TRACE(source);
    std::vector<std::pair<std::string, std::string>> bodies = {
        {"error page", kErrorPage}, {"random bytes", RandomBytes(300000, 7)}, {"empty", ""}};
    if (source != srLotwUsers) {
      TZipWriter other;
      other.Add("readme.txt", "This archive holds the documentation only.\r\nSee the web site.\r\n");
      bodies.emplace_back("some other file", other.Build());
      bodies.emplace_back("the right name, an error page inside", gen::ZipWith(MemberOf(source), kErrorPage));
      bodies.emplace_back("the right name, random bytes inside",
                          gen::ZipWith(MemberOf(source), RandomBytes(200000, 9)));
      // 16 MB of empty lines in a small archive.
      TZipMember blank;
      blank.Name = MemberOf(source);
      blank.Data = "\r\n";
      blank.RepeatTo = 16u << 20;
      TZipWriter w;
      w.Add(blank);
      bodies.emplace_back("empty lines", w.Build(9));
    } else {
      bodies.emplace_back("empty lines", std::string(100000, '\n'));
      bodies.emplace_back("an archive", gen::ZipWith("lotw1.txt", "K1ABC,2024\r\n"));
    }
    f.PutPrevious(source);
    for (const auto& [what, body] : bodies) {
      SCOPED_TRACE(what);
      f.Ui = {};
      EXPECT_FALSE(f.Run(source, body));
      // The reason stays in the status line, in red, and is the error shown.
      ASSERT_FALSE(f.Ui.Errors.empty());
      EXPECT_EQ(f.Ui.Statuses.back(), f.Ui.Errors.back());
      EXPECT_EQ(f.Ui.Colours.back(), TStatusColour::scRed);
      EXPECT_TRUE(f.Ui.Messages.empty());
      f.ExpectPrevious(source);
    }
  }
}

TEST(HostileInput, RefusalsSayWhatWasWrong) {
  TFolder f("reasons");
  f.Run(srRac, gen::ZipWith("amateur.rpt", std::string(1000, '\n')));
  EXPECT_EQ(f.Ui.Errors.back(),
            "Not a RAC callsign file (\"amateur.rpt\"): 0 of 1000 lines look like its records; the previous files "
            "are kept");
  f.Run(srLotwUsers, "");
  EXPECT_EQ(f.Ui.Errors.back(), "Not a LoTW user list: it is empty; the previous files are kept");
  f.Run(srRda, gen::ZipWith("readme.txt", kErrorPage));
  EXPECT_EQ(f.Ui.Errors.back(),
            "Not an RDA list: 0 of 6 lines look like its records (\"readme.txt\"); the previous files are kept");
  f.Run(srFcc, gen::ZipWith("EN.dat", std::string(2 << 20, 'x')));
  EXPECT_EQ(f.Ui.Errors.back(),
            "Not an FCC licence file (\"EN.dat\"): a line is longer than 1048576 bytes; the previous files are kept");
}

TEST(HostileInput, RealFilesWithAStrayLineAnOddByteAndNoLastLineEndImportAsBefore) {
  TFolder f("blemish");
  // A stray line, a byte that belongs to no text, and no line end at the end.
  auto blemish = [](std::string text) {
    const size_t mid = text.find('\n', text.size() / 2) + 1;
    text.insert(mid, "-- exported by the office, do not edit --\r\n");
    size_t end = text.find('\n', mid + 60);
    if (text[end - 1] == '\r') --end;
    text.insert(end, "\xFF");
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
  };

  const std::string lotw = blemish(
      "K1ABC,2024-01-01\r\nG3XYZ,2023-05-06\r\nDL1AA,2022-02-02\r\nJA1ZZZ,2021-01-01\r\n"
      "VK2AB,2020-03-03\r\nW1AW,2024-04-04\r\nZL1XX,2019-09-09\r\n");
  ASSERT_TRUE(f.Run(srLotwUsers, lotw));
  EXPECT_EQ(test::Slurp(f.Dir + "lotw1.txt"), lotw);

  gen::TFccOptions o;
  o.Records = 2000;
  const std::string en = blemish(gen::GenerateFccEn(o));
  ASSERT_TRUE(f.Run(srFcc, gen::ZipWith("EN.dat", en)));
  EXPECT_EQ(test::Slurp(f.Dir + "FccCB.dat"), en);
  TZipList zips;
  zips.LoadFromFile(f.Dir + "ZipLst.lst");
  EXPECT_EQ(test::Slurp(f.Dir + "FccCB.idx"), SortedIndexOf(BuildFccIndex(f.Dir + "FccCB.dat", zips)));

  const std::string rpt = blemish(gen::GenerateAmateurRpt(1500));
  ASSERT_TRUE(f.Run(srRac, gen::ZipWith("amateur.rpt", rpt)));
  EXPECT_EQ(test::Slurp(f.Dir + "RacCB.dat"), rpt);
  EXPECT_EQ(test::Slurp(f.Dir + "RacCB.idx"), SortedIndexOf(BuildRacIndex(f.Dir + "RacCB.dat")));

  const std::string rda = blemish(gen::GenerateRdaList(800));
  ASSERT_TRUE(f.Run(srRda, gen::ZipWith("rda.txt", rda)));
  EXPECT_EQ(test::Slurp(f.Dir + "RdaCB.idx"), SortedIndexOf(BuildRdaIndex(rda)));
  EXPECT_EQ(f.Ui.Messages.back(), "RDA database imported: 802 calls");  // header and stray line too

  const std::string special = blemish(gen::GenerateSpecialCalls(600));
  ASSERT_TRUE(f.Run(srCanadianSpecial, gen::ZipWith("ind_speciaux.csv", special)));
  EXPECT_EQ(test::Slurp(f.Dir + "CanSpec.lst"), JoinLinesCrLf(test::ReferenceSpecialCallLines(special)));

  const std::string kml = blemish(gen::GenerateIotaKml(40));
  ASSERT_TRUE(f.Run(srIota, gen::ZipWith("doc.kml", kml)));
  TAlStringList dxcc, entities;
  dxcc.SetText(gen::GenerateIotaDxcc(40));
  dxcc.Sort();
  ASSERT_TRUE(ListPrefixEntities(f.Dir + "Prefix.lst", entities));
  entities.Sort();
  const TIotaLists expected = BuildIotaLists(kml, dxcc, entities);
  EXPECT_EQ(expected.Islands, 40u);
  EXPECT_EQ(test::Slurp(f.Dir + "IotaRef.lst"), JoinLinesCrLf(expected.RefLines));
  EXPECT_EQ(test::Slurp(f.Dir + "Islands/Iota.lst"), JoinLinesCrLf(expected.IslandLines));
  EXPECT_TRUE(f.Ui.Errors.empty());
}

TEST(HostileInput, TheMemberIsFoundByWhatItHolds) {
  TFolder f("member");
  const std::string picture = RandomBytes(50000, 3);
  auto archive = [&](const std::string& name, const std::string& data) {
    TZipWriter w;
    w.Add("readme.txt", "Documentation\r\n");
    w.Add("files/logo.png", picture, false);
    w.Add(name, data);
    return w.Build();
  };
  const std::string special = gen::GenerateSpecialCalls(100);
  ASSERT_TRUE(f.Run(srCanadianSpecial, archive("data/list.csv", special)));
  EXPECT_EQ(test::Slurp(f.Dir + "CanSpec.lst"), JoinLinesCrLf(test::ReferenceSpecialCallLines(special)));

  const std::string rda = gen::GenerateRdaList(100);
  ASSERT_TRUE(f.Run(srRda, archive("RDA.TXT", rda)));
  EXPECT_EQ(test::Slurp(f.Dir + "RdaCB.idx"), SortedIndexOf(BuildRdaIndex(rda)));

  // A KMZ: the ".kml" member first, whatever its place; a document under
  // another name is found by what it holds.
  ASSERT_TRUE(f.Run(srIota, archive("doc.kml", gen::GenerateIotaKml(20))));
  EXPECT_EQ(SplitLines(test::Slurp(f.Dir + "IotaRef.lst")).size(), 21u);
  ASSERT_TRUE(f.Run(srIota, archive("iota.xml", gen::GenerateIotaKml(30))));
  EXPECT_EQ(SplitLines(test::Slurp(f.Dir + "IotaRef.lst")).size(), 31u);
  EXPECT_TRUE(f.Ui.Errors.empty());
}

TEST(HostileInput, AnIotaDocumentMostlyUnreadableOrHugeIsRefused) {
  TFolder f("iota");
  f.PutPrevious(srIota);
  // The fourth of ten placemarks has two coordinates: the scan would stop
  // there and lose the six after it.
  std::string kml = gen::GenerateIotaKml(10);
  size_t at = 0;
  for (int i = 0; i < 4; ++i) at = kml.find("<coordinates>", at + 1);
  kml.replace(kml.find(",0</coordinates>", at), 2, "");
  EXPECT_FALSE(f.Run(srIota, gen::ZipWith("doc.kml", kml)));
  EXPECT_NE(f.Ui.Errors.back().find("only 3 of 10 placemarks"), std::string::npos) << f.Ui.Errors.back();

  TZipMember big;
  big.Name = "doc.kml";
  big.Data = "<Placemark><name>EU-001</name></Placemark>\n";
  big.RepeatTo = kMaxKmlBytes + 1;
  TZipWriter w;
  w.Add(big);
  EXPECT_FALSE(f.Run(srIota, w.Build(9)));
  EXPECT_NE(f.Ui.Errors.back().find("larger than 32 MB"), std::string::npos) << f.Ui.Errors.back();
  f.ExpectPrevious(srIota);

  // Most placemarks readable: the scan stops as it always did.
  std::string most = gen::GenerateIotaKml(10);
  at = 0;
  for (int i = 0; i < 8; ++i) at = most.find("<coordinates>", at + 1);
  most.replace(most.find(",0</coordinates>", at), 2, "");
  ASSERT_TRUE(f.Run(srIota, gen::ZipWith("doc.kml", most)));
  EXPECT_EQ(SplitLines(test::Slurp(f.Dir + "IotaRef.lst")).size(), 8u);
}

TEST(HostileInput, TheFccImportNeedsItsZipListBeforeAnythingIsUnpacked) {
  TFolder f("ziplst");
  RemoveFile(f.Dir + "ZipLst.lst");
  TKestrixJob job(srFcc, f.Dir, f.Ui);
  EXPECT_NE(job.MissingInput().find("ZipLst.lst"), std::string::npos);
  EXPECT_FALSE(job.ImportDownloaded(gen::ZipWith("EN.dat", gen::GenerateFccEn({}))));
  EXPECT_NE(f.Ui.Statuses.back().find("ZipLst.lst"), std::string::npos);
  EXPECT_EQ(std::count(f.Ui.Statuses.begin(), f.Ui.Statuses.end(), "Unzipping..."), 0);
  EXPECT_FALSE(FileExists(f.Dir + "FccCB.dat"));
  TKestrixJob rac(srRac, f.Dir, f.Ui);
  EXPECT_EQ(rac.MissingInput(), "");
}

TEST(SpecialCallTable, AgreesWithTheWholeTextMerge) {
  // Long runs of one call, calls that are prefixes of others, lines without
  // a blank in the call, quoted fields holding blanks and delimiters.
  std::string text = "Call Sign;Organization;Year;Event;Contact;Dates;Period\r\n";
  std::mt19937 r(5);
  const char* const calls[] = {"VX9A", "VX9AB", "vx9a", "VX9ABC", "\"VX 9Q\"", "VC3XYZ"};
  for (int i = 0; i < 400; ++i) {
    text += std::string(calls[r() % 6]) + ";Club;" + std::to_string(2000 + r() % 30) + ";Event " +
            std::string(r() % 40, 'e') + ";x;" + (r() % 5 ? "24/01-24/02" : "far too long for the column") + ";" +
            std::to_string(r() % 100) + "\r\n";
  }
  EXPECT_EQ(BuildSpecialCallLines(text), test::ReferenceSpecialCallLines(text));
  const std::string generated = gen::GenerateSpecialCalls(2000, 11);
  EXPECT_EQ(BuildSpecialCallLines(generated), test::ReferenceSpecialCallLines(generated));
}
