// The built-in engine in memory: its figures against the report the same
// deck gives read back by the output readers, the split map against the
// whole one, and the engine's job road without a process.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "common/FileUtil.h"
#include "common/Ini.h"
#include "engine/Antennas.h"
#include "engine/Decks.h"
#include "engine/ModelFiles.h"
#include "engine/ModelRun.h"
#include "engine/VoaEng.h"
#include "engine/VoaParse.h"
#include "model/Antenna.h"
#include "model/AreaRun.h"
#include "model/Deck.h"
#include "model/PointRun.h"

using namespace vx;

namespace {

// A data folder holding the engine's antennas: the isotrope and two of the
// shipped dipoles (one of each table type).
std::string AntennaFolder(const std::string& name, TAlStringList& files) {
  const std::string folder = testing::TempDir() + "builtin-" + name + "/";
  const std::string antennas = folder + "antennas/Vantor/";
  MakeDirectories(antennas);
  for (const char* file : {"Dipole20m.N13", "Dipole55.N14"}) {
    auto bytes = ReadWholeFile(std::string(VX_SOURCE_DIR) + "/data/antennas/" + file);
    EXPECT_TRUE(bytes && WriteWholeFile(antennas + file, *bytes)) << file;
  }
  std::vector<std::string> names;
  EXPECT_TRUE(LoadAntennaList(antennas, files, names));
  return folder;
}

std::shared_ptr<const model::TModelData> Data() {
  std::string error;
  auto data = SharedModelData(std::string(VX_SOURCE_DIR) + "/data/" + model::kModelDataFileName, error);
  EXPECT_TRUE(data) << error;
  return data;
}

TVoaInputs Inputs(int txLat, int txLon, int rxLat, int rxLon, int month, int ssn, bool longPath) {
  TVoaInputs in;
  in.TxLat = txLat * 180;
  in.TxLon = txLon * 180;
  in.RxLat = rxLat * 180;
  in.RxLon = rxLon * 180;
  in.Year = 2026;
  in.Month = month;
  in.Ssn = ssn;
  in.LongPath = longPath;
  in.TxPower = 400;
  return in;
}

// The report of the deck, as vantor-voacap writes it, read back.
template <typename Result>
TVoaStatus ReportAsRead(const TModelJob& job, bool area, Result& out) {
  const auto text = area ? BuildAreaDeck(job.Inputs, job.AntennaFiles) : BuildPointDeck(job.Inputs, job.AntennaFiles);
  model::TDeck deck;
  std::string error;
  const bool read =
      area ? model::ReadAreaDeck(*text, "Vantor/Vantor.voa", deck, error) : model::ReadPointDeck(*text, deck, error);
  EXPECT_TRUE(read) << error;
  model::TAntennaLibrary library;
  EXPECT_TRUE(model::LoadDeckAntennas(job.DataFolder, deck.Cards, library, error)) << error;
  const model::TAntennaStep step = [&](model::TModelState& s, std::string& message) {
    return model::ApplyDeckAntennas(s, deck.Cards, library, message);
  };
  std::string report;
  const bool ran = area ? model::RunAreaDeck(*job.Data, deck, step, report, error)
                        : model::RunPointDeck(*job.Data, deck, step, report, error);
  EXPECT_TRUE(ran) << error;
  if constexpr (std::is_same_v<Result, TVoaGrid>)
    return ParseAreaText(report, out);
  else
    return ParsePointText(report, out);
}

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

TEST(BuiltinFigures, ChartsEqualTheReportReadBack) {
  TModelJob job;
  job.DataFolder = AntennaFolder("point", job.AntennaFiles);
  job.Data = Data();
  ASSERT_TRUE(job.Data);
  // Short, medium, long and antipodal paths; both path models; both antenna
  // table types; low and high sunspots.
  const TVoaInputs cases[] = {Inputs(44, -79, 32, 35, 12, 100, false), Inputs(51, 0, 48, 2, 6, 10, false),
                              Inputs(-34, 151, 40, -74, 3, 180, false), Inputs(40, -105, -40, 75, 9, 60, true),
                              Inputs(60, 25, 35, 139, 1, 0, true)};
  int k = 0;
  for (TVoaInputs in : cases) {
    for (int b = 0; b < kBandCount; ++b) {
      in.TxAntenna[b] = (b + k) % 3;
      in.RxAntenna[b] = (b + k + 1) % 3;
    }
    ++k;
    job.Inputs = in;
    TPointResults expected, actual;
    ASSERT_EQ(ReportAsRead(job, false, expected), vsReady);
    std::string detail;
    job.Threads = 1 + k % 3;  // the hours shared among 1, 2 or 3 threads
    ASSERT_EQ(RunModelPoint(job, nullptr, actual, detail), vsReady) << detail;
    for (int h = 0; h < TPointResults::kHours; ++h) {
      EXPECT_TRUE(SameBits(actual.Muf[h], expected.Muf[h])) << "case " << k << " hour " << h;
      for (int f = TPointResults::kMinMHz; f <= TPointResults::kMaxMHz; ++f) {
        EXPECT_TRUE(SameBits(actual.Snr[f][h], expected.Snr[f][h])) << "case " << k << " " << f << " MHz " << h;
        EXPECT_TRUE(SameBits(actual.Elevation[f][h], expected.Elevation[f][h])) << "case " << k << " " << f;
        EXPECT_EQ(actual.Mode[f][h], expected.Mode[f][h]) << "case " << k << " " << f << " MHz " << h;
      }
    }
  }
}

TEST(BuiltinFigures, MapsEqualTheReportReadBackOnAnyNumberOfThreads) {
  TModelJob job;
  job.DataFolder = AntennaFolder("area", job.AntennaFiles);
  job.Data = Data();
  ASSERT_TRUE(job.Data);
  struct Case {
    TVoaInputs In;
    int Grid, Band, Hour;
  } cases[] = {{Inputs(44, -79, 0, 0, 12, 100, false), 16, 3, 19},
               {Inputs(-34, 151, 0, 0, 6, 20, true), 31, 0, 4},
               {Inputs(89, 0, 0, 0, 3, 150, false), 16, 7, 12}};
  for (Case c : cases) {
    c.In.GridSize = c.Grid;
    c.In.Band = c.Band;
    c.In.Hour = c.Hour;
    c.In.TxAntenna[c.Band] = 2;
    c.In.RxAntenna[c.Band] = 1;
    job.Inputs = c.In;
    TVoaGrid expected;
    ASSERT_EQ(ReportAsRead(job, true, expected), vsReady);
    for (int threads : {1, 3, 8}) {
      job.Threads = threads;
      TVoaGrid actual;
      std::string detail;
      ASSERT_EQ(RunModelArea(job, nullptr, actual, detail), vsReady) << detail;
      ASSERT_EQ(actual.size(), size_t(c.Grid));
      for (int i = 0; i < c.Grid; ++i)
        for (int j = 0; j < c.Grid; ++j) {
          const TVoaGridCell& a = actual[size_t(i)][size_t(j)];
          const TVoaGridCell& e = expected[size_t(i)][size_t(j)];
          ASSERT_TRUE(SameBits(a.Snr, e.Snr) && SameBits(a.Elevation, e.Elevation) && SameBits(a.Muf, e.Muf) &&
                      a.Mode == e.Mode)
              << "grid " << c.Grid << " threads " << threads << " cell " << i << "," << j;
        }
    }
  }
}

TEST(BuiltinFigures, MapsRunAtOnceShareTheModelData) {
  // As the batch runs them: several maps at the same time, each on threads
  // of its own, all reading one copy of the model data.
  TModelJob job;
  job.DataFolder = AntennaFolder("together", job.AntennaFiles);
  job.Data = Data();
  ASSERT_TRUE(job.Data);
  job.Inputs = Inputs(44, -79, 0, 0, 12, 100, false);
  job.Threads = 2;
  std::vector<TModelJob> jobs;
  for (int band = 0; band < 4; ++band) {
    jobs.push_back(job);
    jobs.back().Inputs.Band = band * 2;
    jobs.back().Inputs.Hour = band * 5;
  }
  std::vector<TVoaGrid> together(jobs.size()), alone(jobs.size());
  std::vector<TVoaStatus> status(jobs.size(), vsExecError);
  {
    std::vector<std::thread> threads;
    for (size_t k = 0; k < jobs.size(); ++k)
      threads.emplace_back([&, k] {
        std::string detail;
        status[k] = RunModelArea(jobs[k], nullptr, together[k], detail);
      });
    for (std::thread& t : threads) t.join();
  }
  for (size_t k = 0; k < jobs.size(); ++k) {
    std::string detail;
    ASSERT_EQ(status[k], vsReady);
    ASSERT_EQ(RunModelArea(jobs[k], nullptr, alone[k], detail), vsReady) << detail;
    for (size_t i = 0; i < alone[k].size(); ++i)
      for (size_t j = 0; j < alone[k].size(); ++j)
        ASSERT_TRUE(SameBits(together[k][i][j].Snr, alone[k][i][j].Snr) &&
                    together[k][i][j].Mode == alone[k][i][j].Mode)
            << "map " << k << " cell " << i << "," << j;
  }
}

TEST(BuiltinFigures, AStopRequestEndsTheRunAsCancelled) {
  TModelJob job;
  job.DataFolder = AntennaFolder("stop", job.AntennaFiles);
  job.Data = Data();
  job.Inputs = Inputs(44, -79, 32, 35, 12, 100, false);
  job.Inputs.GridSize = 61;
  job.Threads = 2;
  std::atomic<bool> stop{true};
  std::string detail;
  TVoaGrid grid;
  TPointResults point;
  EXPECT_EQ(RunModelArea(job, &stop, grid, detail), vsCancelled);
  EXPECT_TRUE(grid.empty());
  EXPECT_EQ(RunModelPoint(job, &stop, point, detail), vsCancelled);
}

TEST(BuiltinFigures, AnEditedAntennaFileIsReadAgain) {
  TModelJob job;
  job.DataFolder = AntennaFolder("edited", job.AntennaFiles);
  job.Data = Data();
  job.Inputs = Inputs(44, -79, 32, 35, 12, 100, false);
  const int dipole = job.AntennaFiles.IndexOf("Dipole20m.N13");
  ASSERT_GE(dipole, 0);
  for (int b = 0; b < kBandCount; ++b) job.Inputs.TxAntenna[b] = dipole;
  TPointResults before, after;
  std::string detail;
  ASSERT_EQ(RunModelPoint(job, nullptr, before, detail), vsReady) << detail;
  // Ten dB more gain for the same file name.
  const std::string file = job.DataFolder + "antennas/Vantor/Dipole20m.N13";
  std::string text = ReadWholeFile(file).value_or("");
  const size_t gain = text.find("  0.00  [ 1]");
  ASSERT_NE(gain, std::string::npos) << text;
  text.replace(gain, 12, " 10.00  [ 1]");
  ASSERT_TRUE(WriteWholeFile(file, text));
  ASSERT_EQ(RunModelPoint(job, nullptr, after, detail), vsReady) << detail;
  EXPECT_NE(after.Snr[14][12], before.Snr[14][12]);
}

TEST(BuiltinFigures, AMissingAntennaFileIsNamed) {
  TModelJob job;
  job.DataFolder = AntennaFolder("missing", job.AntennaFiles);
  job.Data = Data();
  job.Inputs = Inputs(44, -79, 32, 35, 12, 100, false);
  job.Inputs.TxAntenna[0] = 1;
  ASSERT_TRUE(RemoveFile(job.DataFolder + "antennas/Vantor/" + job.AntennaFiles[1]));
  TPointResults point;
  std::string detail;
  EXPECT_EQ(RunModelPoint(job, nullptr, point, detail), vsAntennaError);
  EXPECT_NE(detail.find(job.AntennaFiles[1]), std::string::npos) << detail;
}

TEST(BuiltinFigures, AFigureTooWideForTheReportLeavesItsCellEmpty) {
  // The report reader refuses a whole chart for one "*****"; in memory only
  // that cell stays empty.
  model::TPointHourRow row;
  row.Frequency.fill(0.f);  // unused slots print 0.0
  row.Hour = 24.f;
  row.Muf = 12.5f;
  row.Frequency[0] = 2.f;
  row.Frequency[1] = 3.f;
  row.ValuedSlots = 2;
  row.Mode[0] = "2F2";
  row.Angle[0] = 7.5f;
  row.Snr[0] = std::nullopt;
  row.Mode[1] = "1F2";
  row.Angle[1] = 4.5f;
  row.Snr[1] = -12.f;
  TPointResults out;
  ASSERT_EQ(StorePointRows({row}, out), vsReady);
  EXPECT_TRUE(IsResetValue(out.Snr[2][24]));
  EXPECT_EQ(out.Snr[3][24], -12.f);
  EXPECT_EQ(out.Snr[3][0], -12.f);  // hour 0 repeats hour 24
  EXPECT_EQ(out.Muf[0], 12.5f);
  row.Muf = std::nullopt;
  EXPECT_EQ(StorePointRows({row}, out), vsOutputError);
}

TEST(BuiltinEngine, ComputesChartsAndMapsWithNothingInstalled) {
  TVoacapSetup setup;
  setup.Program = "/nonexistent/voacapl";
  setup.DataFolder = testing::TempDir() + "builtin-no-voacapl/";
  setup.Engine = TEngineChoice::Auto;
  TVoaEngine engine(nullptr, setup);
  engine.CheckInstallation();
  ASSERT_EQ(engine.Status(), vsReady) << engine.StatusMessageBox().Detail;
  EXPECT_TRUE(engine.Builtin());
  EXPECT_STREQ(engine.EngineName(), "builtin");
  EXPECT_EQ(engine.AntennaFiles()[0], "ISOTROPE.ant");

  int predicted = 0, failed = 0;
  engine.OnPredict = [&](TVoaEngine&) { ++predicted; };
  engine.OnError = [&](TVoaEngine&) { ++failed; };
  engine.SetInputs(Inputs(44, -79, 51, 0, 12, 100, false));
  engine.RunPointPrediction();
  EXPECT_EQ(predicted, 1);
  EXPECT_EQ(engine.Status(), vsReady);
  EXPECT_FALSE(engine.AreaMode());
  int valued = 0;
  for (int h = 0; h < TPointResults::kHours; ++h) valued += !IsResetValue(engine.PointResults().Snr[14][h]);
  EXPECT_EQ(valued, TPointResults::kHours);

  TVoaInputs area = engine.Inputs();
  area.GridSize = 16;
  area.Band = 3;
  engine.SetInputs(area);
  engine.RunAreaPrediction();
  EXPECT_EQ(predicted, 2);
  EXPECT_TRUE(engine.AreaMode());
  EXPECT_EQ(engine.AreaGrid().size(), 16u);
  EXPECT_EQ(engine.ReadAreaCacheKey(area).Engine, "builtin");
  EXPECT_EQ(failed, 0);

  // Nothing was written beside the antennas.
  EXPECT_FALSE(DirectoryExists(setup.DataFolder + "run"));
  EXPECT_FALSE(DirectoryExists(setup.DataFolder + "areadata"));
}

TEST(BuiltinEngine, ChosenVoacaplIsNotReplaced) {
  TVoacapSetup setup;
  setup.Program = "/nonexistent/voacapl";
  setup.DataFolder = testing::TempDir() + "builtin-chosen-voacapl/";
  setup.Engine = TEngineChoice::Voacapl;
  TVoaEngine engine(nullptr, setup);
  engine.CheckInstallation();
  EXPECT_EQ(engine.Status(), vsNotFound);
  EXPECT_FALSE(engine.Builtin());
  EXPECT_TRUE(engine.StatusMessageBox().Warning);
}

TEST(BuiltinEngine, TheEngineSettingIsReadLeniently) {
  const struct {
    const char* text;
    TEngineChoice choice;
  } cases[] = {
      {"", TEngineChoice::Auto},           {"builtin", TEngineChoice::Builtin}, {" BuiltIn ", TEngineChoice::Builtin},
      {"voacapl", TEngineChoice::Voacapl}, {"fortran", TEngineChoice::Auto},    {"auto", TEngineChoice::Auto}};
  for (const auto& c : cases) {
    TIniFile ini;
    ini.WriteString("VOACAP", "Engine", c.text);
    EXPECT_EQ(ReadVoacapSetup(ini).Engine, c.choice) << c.text;
  }
}
