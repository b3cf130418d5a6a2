// The sunspot forecast: reading the published list, merging it into the
// table, and the job that puts the table in place.
#include <gtest/gtest.h>

#include "ManagerTestUtil.h"
#include "manager/Job.h"
#include "manager/SourceFormat.h"
#include "manager/Sources.h"
#include "manager/SsnForecast.h"
#include "manager/SsnMerge.h"

using namespace vx;

namespace {

// Three months as the list is published: pretty-printed, every member there.
const std::string kSample = R"([
  {
    "time-tag": "2098-11",
    "predicted_ssn": 93.4,
    "high_ssn": 101.4,
    "low_ssn": 85.4,
    "predicted_f10.7": 138.2,
    "high_f10.7": 146.2,
    "low_f10.7": 130.2
  },
  {"time-tag": "2098-12", "predicted_ssn": 90.05, "high_ssn": 98.1, "low_ssn": 82.0, "predicted_f10.7": 135.0},
  {"time-tag": "2099-01", "predicted_ssn": 0, "high_ssn": 8, "low_ssn": 0, "predicted_f10.7": 70}
]
)";

std::string RefusalOf(std::string_view body) {
  try {
    ParseSsnForecast(body);
  } catch (const ESourceFormat& e) {
    return e.what();
  }
  return "accepted";
}

int Key(int year, int month) { return year * 12 + month - 1; }

}  // namespace

TEST(SsnForecast, ReadsThePublishedShape) {
  const auto months = ParseSsnForecast(kSample);
  ASSERT_EQ(months.size(), 3u);
  EXPECT_EQ(months[0].Year, 2098);
  EXPECT_EQ(months[0].Month, 11);
  EXPECT_DOUBLE_EQ(months[0].Ssn, 93.4);
  EXPECT_EQ(months[2].Key(), Key(2099, 1));
  EXPECT_DOUBLE_EQ(months[2].Ssn, 0);

  // Members in any order, unknown ones of any kind, escapes, exponents, a BOM.
  const auto odd = ParseSsnForecast(
      "\xEF\xBB\xBF[{\"note\": {\"a\": [1, true, null, \"x\\\"\\u00e9\"]}, \"predicted_ssn\": 1.5e1,"
      " \"time-tag\": \"2030-02\", \"flag\": false}]");
  ASSERT_EQ(odd.size(), 1u);
  EXPECT_EQ(odd[0].Key(), Key(2030, 2));
  EXPECT_DOUBLE_EQ(odd[0].Ssn, 15);
}

TEST(SsnForecast, RefusesAnythingElseAndSaysWhy) {
  const struct {
    std::string Body, Says;
  } cases[] = {
      {"", "the file is empty"},
      {"<!DOCTYPE html><html><body>503 Service Unavailable</body></html>", "web page"},
      {"{\"time-tag\": \"2030-01\", \"predicted_ssn\": 5}", "expected a JSON array"},
      {"[]", "holds no month"},
      {"[{\"time-tag\": \"2030-01\", \"predicted_ssn\": 5}", "expected \",\" or \"]\""},
      {"[{\"time-tag\": \"2030-01\", \"predicted_ssn\": 5}] x", "text after the list"},
      {"[{\"time-tag\": \"2030-01\", \"predicted_ssn\": 5},]", "expected an object as entry 2"},
      {"[5]", "expected an object as entry 1"},
      {"[{\"predicted_ssn\": 5}]", "entry 1 has no \"time-tag\""},
      {"[{\"time-tag\": \"2030-01\"}]", "entry 1 has no \"predicted_ssn\""},
      {"[{\"time-tag\": \"2030-01\", \"predicted_ssn\": null}]", "\"predicted_ssn\" is not a number"},
      {"[{\"time-tag\": \"2030-01\", \"predicted_ssn\": \"5\"}]", "\"predicted_ssn\" is not a number"},
      {"[{\"time-tag\": \"2030-13\", \"predicted_ssn\": 5}]", "\"2030-13\" is not a month"},
      {"[{\"time-tag\": 203001, \"predicted_ssn\": 5}]", "is not a month"},
      {"[{\"time-tag\": \"2030-01\", \"predicted_ssn\": -0.1}]", "-0.1 is outside 0..400"},
      {"[{\"time-tag\": \"2030-01\", \"predicted_ssn\": 400.5}]", "outside 0..400"},
      {"[{\"time-tag\": \"2030-01\", \"predicted_ssn\": 1e999}]", "number out of range"},
      {"[{\"time-tag\": \"2030-01\", \"predicted_ssn\": 05}]", "expected \",\" or \"}\""},
      {"[{\"time-tag\": \"2030-01\", \"predicted_ssn\": NaN}]", "is not a number"},
      {"[{\"time-tag\": \"2030-01\", \"time-tag\": \"2030-02\", \"predicted_ssn\": 5}]", "two \"time-tag\""},
      {"[{\"time-tag\": \"2030-01\", \"predicted_ssn\": 5, \"predicted_ssn\": 6}]", "two \"predicted_ssn\""},
      {"[{\"time-tag\": \"2030-02\", \"predicted_ssn\": 5}, {\"time-tag\": \"2030-02\", \"predicted_ssn\": 6}]",
       "Feb 2030 is listed twice"},
      {"[{\"time-tag\": \"2030-02\", \"predicted_ssn\": 5}, {\"time-tag\": \"2030-01\", \"predicted_ssn\": 6}]",
       "Jan 2030 comes after a later month"},
      {"[{\"time-tag\": \"2030-01\", \"predicted_ssn\": 5, \"x\": \"cut off", "unterminated string"},
      {"[{\"time-tag\": \"2030-01\", \"predicted_ssn\": 5, \"x\": \"a\\qb\"}]", "bad escape"},
      {"[{\"time-tag\": \"2030-01\", \"predicted_ssn\": 5, \"x\": " + std::string(100, '[') + "}]",
       "nested too deeply"},
  };
  for (const auto& c : cases) {
    const std::string why = RefusalOf(c.Body);
    EXPECT_EQ(why.rfind("Not a sunspot number forecast: ", 0), 0u) << c.Body << " -> " << why;
    EXPECT_NE(why.find(c.Says), std::string::npos) << c.Body << " -> " << why;
  }
  // Every prefix of a good list is refused: a cut-off download never passes.
  for (size_t n = 0; n + 2 < kSample.size(); ++n) EXPECT_NE(RefusalOf(kSample.substr(0, n)), "accepted") << n;
}

TEST(SsnMerge, ObservedAndUncoveredMonthsStayForecastMonthsAreReplaced) {
  const std::string table =
      "Oct 2098=80.0\r\n"
      "Nov 2098=81.0\r\n"
      "Dec 2098=82.0\r\n"
      "Jan 2099=83.0\r\n"
      "Feb 2099=84.0\r\n";
  const auto forecast = ParseSsnForecast(kSample);

  // All forecast months from now on: the covered ones take its figures,
  // rounded to one decimal (halves to even), the others stay.
  const TSsnMerge ahead = MergeSsnForecast(table, forecast, Key(2098, 1));
  EXPECT_EQ(ahead.Table,
            "Oct 2098=80.0\r\n"
            "Nov 2098=93.4\r\n"
            "Dec 2098=90.0\r\n"
            "Jan 2099=0.0\r\n"
            "Feb 2099=84.0\r\n");
  EXPECT_EQ(ahead.Replaced, 3);
  EXPECT_EQ(ahead.Kept, 0);

  // Months before the current one are observed: the table's figures stay.
  const TSsnMerge later = MergeSsnForecast(table, forecast, Key(2099, 1));
  EXPECT_EQ(later.Table,
            "Oct 2098=80.0\r\n"
            "Nov 2098=81.0\r\n"
            "Dec 2098=82.0\r\n"
            "Jan 2099=0.0\r\n"
            "Feb 2099=84.0\r\n");
  EXPECT_EQ(later.Kept, 2);
  EXPECT_EQ(later.Replaced, 1);
}

TEST(SsnMerge, FillsGapsKeepsMonthOrderAndDropsWhatIsNoMonth) {
  // A table in no particular order, with a gap, a repeated month, stray text
  // and a figure the program would refuse.
  const std::string table =
      "Mar 2031=12.5\n"
      "; edited by hand\n"
      "Jan 2031=10.0\n"
      "jan 2031=99.0\n"
      "Foo 2031=3.0\n"
      "Apr 2031=nan\n"
      "May 2031=15.25\n";
  const auto forecast = ParseSsnForecast(R"([{"time-tag": "2031-02", "predicted_ssn": 11.25},
    {"time-tag": "2031-04", "predicted_ssn": 13.35}])");
  const TSsnMerge m = MergeSsnForecast(table, forecast, Key(2030, 1));
  EXPECT_EQ(m.Table,
            "Jan 2031=10.0\r\n"
            "Feb 2031=11.2\r\n"
            "Mar 2031=12.5\r\n"
            "Apr 2031=13.4\r\n"
            "May 2031=15.25\r\n");
  EXPECT_EQ(m.Added, 2);

  // Without a table the forecast alone makes one.
  EXPECT_EQ(MergeSsnForecast("", forecast, 0).Table, "Feb 2031=11.2\r\nApr 2031=13.4\r\n");
}

TEST(SsnImport, TheJobMergesIntoTheFolderTableOrLeavesItAlone) {
  const std::string dir = test::FreshFolder("ssn");
  test::TRecordingUi ui;
  auto run = [&](std::string_view body) {
    TKestrixJob job(srSsnForecast, dir, ui);
    job.LoadLookupLists();
    EXPECT_EQ(job.MissingInput(), "");
    return job.ImportDownloaded(body) ? job.ExitCode() : -job.ExitCode();
  };
  const std::string before = "Sep 2098=70.0\r\nNov 2098=71.0\r\n";
  WriteFileAtomic(dir + "SSN.dat", before);

  EXPECT_EQ(run("<html>Not Found</html>"), -1);
  EXPECT_EQ(test::Slurp(dir + "SSN.dat"), before);
  EXPECT_EQ(ui.Errors.back(),
            "Not a sunspot number forecast: it is a web page (the server may have sent an error page); the previous "
            "files are kept");

  EXPECT_EQ(run(kSample), 0);
  EXPECT_EQ(test::Slurp(dir + "SSN.dat"), "Sep 2098=70.0\r\nNov 2098=93.4\r\nDec 2098=90.0\r\nJan 2099=0.0\r\n");
  EXPECT_EQ(ui.Statuses.back(), "DONE");
  EXPECT_EQ(ui.Messages.back(),
            "Sunspot forecast imported: Nov 2098 to Jan 2099, 3 months updated, 0 observed months kept");
}
