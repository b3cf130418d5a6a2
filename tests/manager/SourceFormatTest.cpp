#include <gtest/gtest.h>

#include "Gen.h"
#include "common/TextUtil.h"
#include "manager/SourceFormat.h"

using namespace vx;

namespace {

// The lines a splitter delivers when the text arrives cut at the given places.
std::vector<std::string> SplitInPieces(std::string_view text, const std::vector<size_t>& cuts) {
  std::vector<std::string> lines;
  TLineSplitter split([&](std::string_view l) { lines.emplace_back(l); }, 1 << 20, "a test file");
  size_t at = 0;
  for (size_t cut : cuts) {
    split.Feed(text.substr(at, cut - at));
    at = cut;
  }
  split.Feed(text.substr(at));
  split.Finish();
  return lines;
}

}  // namespace

TEST(SourceFormat, CallSigns) {
  for (const char* call : {"K1ABC", "ve3xyz", "4U1ITU", "VP2E/K1ABC", "R0A", "K1ABC/QRP"})
    EXPECT_TRUE(LooksLikeCallSign(call)) << call;
  for (const char* junk : {"", "K1", "<html>", "ABCDEF", "12345", "K1 ABC", "Not", "K1ABC,2024", "\xFF\xFE"})
    EXPECT_FALSE(LooksLikeCallSign(junk)) << junk;
}

TEST(SourceFormat, SplitterCutsLikeTheWholeTextWhereverThePiecesEnd) {
  const std::string text = "a\r\nbb\rccc\n\n\r\r\ndd\n\reee\r";
  std::vector<std::string> whole;
  for (std::string_view l : SplitLines(text)) whole.emplace_back(l);
  for (size_t a = 0; a <= text.size(); ++a)
    for (size_t b = a; b <= text.size(); ++b) ASSERT_EQ(SplitInPieces(text, {a, b}), whole) << a << " " << b;
  EXPECT_EQ(SplitInPieces("last line without end", {4}), std::vector<std::string>{"last line without end"});
  EXPECT_TRUE(SplitInPieces("", {}).empty());

  TLineSplitter tight([](std::string_view) {}, 8, "a test file");
  tight.Feed("12345678\r\n");
  EXPECT_THROW(tight.Feed("123456789"), ESourceFormat);
}

TEST(SourceFormat, TallyWantsMostLinesAndGivesUpEarlyOnJunk) {
  TRecordTally fine("a test file");
  for (int i = 0; i < 10; ++i) fine.Add(i != 3);
  EXPECT_NO_THROW(fine.Finish());

  TRecordTally half("a test file");
  half.Add(true);
  half.Add(false);
  EXPECT_THROW(half.Finish(), ESourceFormat);

  TRecordTally empty("a test file");
  try {
    empty.Finish();
    ADD_FAILURE();
  } catch (const ESourceFormat& e) {
    EXPECT_STREQ(e.what(), "Not a test file: it is empty");
  }

  // Junk is refused after a glance, not after the whole file.
  TRecordTally junk("a test file");
  for (size_t i = 0; i < 5; ++i) junk.Add(true);
  size_t fed = 0;
  try {
    for (;; ++fed) junk.Add(false);
  } catch (const ESourceFormat& e) {
    EXPECT_STREQ(e.what(), "Not a test file: 5 of the first 1011 lines look like its records");
  }
  EXPECT_EQ(fed, TRecordTally::kLead + 5);
}

TEST(SourceFormat, GeneratedRecordsPassAndForeignTextsDoNot) {
  auto share = [](const std::string& text, bool (*is)(std::string_view), bool skipHeader) {
    size_t good = 0, all = 0;
    for (std::string_view l : SplitLines(text)) {
      if (skipHeader && all == 0 && good == 0) {
        skipHeader = false;
        continue;
      }
      ++all;
      good += is(l);
    }
    return all ? static_cast<double>(good) / static_cast<double>(all) : 0.0;
  };
  gen::TFccOptions o;
  o.Records = 500;
  EXPECT_GT(share(gen::GenerateFccEn(o), IsFccEnLine, false), 0.9);
  EXPECT_GT(share(gen::GenerateAmateurRpt(500), IsRacLine, false), 0.9);
  EXPECT_GT(share(gen::GenerateRdaList(500), IsRdaLine, false), 0.9);
  EXPECT_GT(share(gen::GenerateSpecialCalls(500), IsSpecialCallRow, true), 0.8);  // one in ten is dropped
  EXPECT_TRUE(IsLotwLine("K1ABC,2024-01-01,12:00:00"));
  EXPECT_TRUE(IsLotwLine("DL1XYZ"));
  EXPECT_TRUE(IsRacLine("VE3AB  JOHN"));
  EXPECT_TRUE(IsRacLine("VE3AB;JOHN;SMITH"));
  EXPECT_FALSE(IsRacLine("ve3ab  JOHN"));
  EXPECT_FALSE(IsRacLine("VERSION 2"));

  const std::string html =
      "<!DOCTYPE html>\n<html><head><title>404 Not Found</title></head>\n<body>\n"
      "<h1>Not Found</h1>\n<p>The requested URL was not found on this server.</p>\n</body></html>\n";
  for (auto is : {IsFccEnLine, IsRacLine, IsRdaLine, IsSpecialCallRow, IsLotwLine})
    EXPECT_EQ(share(html, is, false), 0.0);
}
