#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "FakeModel.h"
#include "common/FileUtil.h"
#include "engine/Process.h"
#include "engine/VoaEng.h"
#include "support/CountingRunner.h"
#include "support/QtWait.h"
#include "support/VoacapFolder.h"

using namespace vx;
using vxtest::WaitUntil;

namespace {

// A data folder as makeitshfbc lays it out, antenna folder included, in a
// fresh temporary place.
std::string MakeDataFolder(const std::string& name, const std::string& version = vxtest::kVoacapVersion) {
  return vxtest::FreshVoacapFolder(name, version, true);
}

struct EngineFixture : testing::Test {
  std::string root, folder;       // the case's own folder, and the data folder in it
  vxtest::TRunnerCounts counted;  // the engine's children and retries
  std::unique_ptr<TVoaEngine> engine;
  int predicts = 0, errors = 0;

  void Make(const std::string& name, const std::string& program = VX_FAKE_VOACAP) {
    folder = MakeDataFolder(name);
    root = folder.substr(0, folder.size() - std::string("itshfbc/").size());
    engine =
        std::make_unique<TVoaEngine>(std::make_unique<vxtest::TCountingRunner>(counted, std::make_unique<TProcess>()),
                                     TVoacapSetup{program, folder});
    engine->CheckInstallation();
    engine->OnPredict = [this](TVoaEngine&) { ++predicts; };
    engine->OnError = [this](TVoaEngine&) { ++errors; };
    Edit([](TVoaInputs& in) {
      in.TxLat = 44 * 180;
      in.TxLon = -79 * 180;
      in.RxLat = 51 * 180;
      in.RxLon = 0;
      in.Year = 2008;
      in.Month = 3;
      in.Ssn = 50;
    });
  }
  template <class F>
  void Edit(F change) {
    TVoaInputs in = engine->Inputs();
    change(in);
    engine->SetInputs(in);
  }
  bool WaitForEvent() {
    return WaitUntil([&] { return predicts + errors > 0; });
  }

  void TearDown() override {
    engine.reset();
    for (const char* v : {"VOACAP_FAKE_EXIT", "VOACAP_FAKE_DELAY_MS", "VOACAP_FAKE_OUTPUT", "VOACAP_FAKE_LOG"})
      unsetenv(v);
  }
};

}  // namespace

TEST(EngineInstall, VersionCheck) {
  struct Case {
    const char* text;
    TVoaStatus status;
  } cases[] = {{"Version 08.1123W", vsTooOld}, {"Version 08.1124W", vsReady},  {"Version 09.0001W", vsReady},
               {"Version 07.9999W", vsTooOld}, {"Version ab.1207W", vsTooOld}, {"Version 16.1207W\n", vsReady}};
  for (const auto& c : cases) {
    std::string f = MakeDataFolder("version", c.text);
    TVoaEngine e(std::make_unique<TProcess>(), {VX_FAKE_VOACAP, f, 0, TEngineChoice::Voacapl});
    e.CheckInstallation();
    EXPECT_EQ(e.Status(), c.status) << c.text;
  }
}

TEST(EngineInstall, MissingPiecesAreNotFound) {
  {
    TVoaEngine e(std::make_unique<TProcess>(),
                 {VX_FAKE_VOACAP, testing::TempDir() + "no-such-itshfbc", 0, TEngineChoice::Voacapl});
    e.CheckInstallation();
    EXPECT_EQ(e.Status(), vsNotFound);
    auto box = e.StatusMessageBox();
    EXPECT_TRUE(box.Warning);
    EXPECT_EQ(box.Text, "VOACAP v.08.1124W is required for this program to run.\rOpen the VOACAP download page?");
    EXPECT_NE(box.Detail.find("makeitshfbc"), std::string::npos);
  }
  {
    TVoaEngine e(std::make_unique<TProcess>(),
                 {"/nonexistent/voacapl", MakeDataFolder("noexe"), 0, TEngineChoice::Voacapl});
    e.CheckInstallation();
    EXPECT_EQ(e.Status(), vsNotFound);
  }
  {
    TVoaEngine e(std::make_unique<TProcess>(),
                 {VX_FAKE_VOACAP, MakeDataFolder("nover", ""), 0, TEngineChoice::Voacapl});
    e.CheckInstallation();
    EXPECT_EQ(e.Status(), vsNotFound);
  }
  {
    TVoaEngine e(std::make_unique<TProcess>(),
                 {VX_FAKE_VOACAP, MakeDataFolder("old", "Version 08.0001W"), 0, TEngineChoice::Voacapl});
    e.CheckInstallation();
    EXPECT_EQ(e.Status(), vsTooOld);
    EXPECT_EQ(e.StatusMessageBox().Text,
              "Your version of VOACAP is too old, please upgrade.\rOpen the VOACAP download page?");
  }
}

TEST_F(EngineFixture, CreatesItsFoldersAndTheIsotropicAntenna) {
  Make("folders");
  ASSERT_EQ(engine->Status(), vsReady);
  EXPECT_TRUE(DirectoryExists(folder + "areadata/Vantor"));
  EXPECT_EQ(engine->AntennaFolder(), folder + "antennas/Vantor/");
  ASSERT_EQ(engine->AntennaFiles().Count(), 1u);
  EXPECT_EQ(engine->AntennaFiles()[0], "ISOTROPE.ant");
  EXPECT_EQ(engine->AntennaNames()[0], "ISOTROPE");
  EXPECT_EQ(*ReadWholeFile(engine->AntennaFolder() + "ISOTROPE.ant"),
            "ISOTROPE\r\n 2     2 parameters\r\n  0.00  [ 1] Max Gain dBi..:\r\n   0    [ 2] Antenna Type..:\r\n");
}

TEST_F(EngineFixture, AntennaNamesAndImport) {
  Make("antennas");
  std::string backup = root + "AntBkup/";
  MakeDirectories(backup);
  WriteWholeFile(backup + "Dipole.ant", "Half-wave dipole\nrest");
  WriteWholeFile(backup + "ISOTROPE.ant", "must not replace the existing one\r\n");
  WriteWholeFile(backup + "Long.ant", std::string(100, 'x'));
  engine->ImportAntennas(backup);
  ASSERT_EQ(engine->Status(), vsReady);
  ASSERT_EQ(engine->AntennaFiles().Count(), 3u);
  EXPECT_EQ(engine->AntennaFiles()[0], "Dipole.ant");
  EXPECT_EQ(engine->AntennaNames()[0], "Half-wave dipole");
  EXPECT_EQ(engine->AntennaNames()[1], "ISOTROPE");
  EXPECT_EQ(engine->AntennaNames()[2], std::string(80, 'x'));
}

TEST_F(EngineFixture, PointPredictionReadsWhatTheProgramWrote) {
  Make("point");
  std::string log = root + "log.txt";
  RemoveFile(log);
  setenv("VOACAP_FAKE_LOG", log.c_str(), 1);
  engine->RunPointPrediction();
  ASSERT_TRUE(WaitForEvent());
  ASSERT_EQ(predicts, 1) << engine->StatusText();
  EXPECT_EQ(engine->Status(), vsReady);
  for (int f = 2; f <= 30; ++f)
    for (int h = 1; h <= 24; ++h) {
      ASSERT_FLOAT_EQ(engine->PointResults().Snr[f][h], fake::Snr(f, h, false)) << f << " " << h;
      ASSERT_FLOAT_EQ(engine->PointResults().Elevation[f][h], float(fake::Angle(f, h)));
    }
  EXPECT_FLOAT_EQ(engine->PointResults().Muf[7], float(fake::Muf(7, 50)));
  EXPECT_EQ(engine->PointResults().Mode[3][1], "2F2");
  EXPECT_EQ(engine->PointResults().Snr[9][0], engine->PointResults().Snr[9][24]);
  // The deck and the output are gone; the command line had the port's form.
  EXPECT_FALSE(FileExists(folder + "run/Vantor.dat"));
  EXPECT_FALSE(FileExists(folder + "run/Vantor.out"));
  EXPECT_EQ(*ReadWholeFile(log),
            "-s " + folder + " Vantor.dat Vantor.out | " + folder.substr(0, folder.size() - 1) + "\n");
}

TEST_F(EngineFixture, LongPathRunsTheLongModel) {
  Make("long");
  Edit([](TVoaInputs& in) { in.LongPath = true; });
  engine->RunPointPrediction();
  ASSERT_TRUE(WaitForEvent());
  ASSERT_EQ(predicts, 1);
  EXPECT_FLOAT_EQ(engine->PointResults().Snr[3][5], float(fake::Snr(3, 5, true)));
  EXPECT_LT(engine->PointResults().Snr[3][5], -1000);
  EXPECT_EQ(engine->PointResults().Mode[4][1], "F2 E");  // touching mode strings read by column
}

TEST_F(EngineFixture, AreaPrediction) {
  Make("area");
  Edit([](TVoaInputs& in) { in.GridSize = 31; });
  Edit([](TVoaInputs& in) { in.Band = 3; });
  Edit([](TVoaInputs& in) { in.Hour = 12; });
  engine->RunAreaPrediction();
  ASSERT_TRUE(WaitForEvent());
  ASSERT_EQ(predicts, 1) << engine->StatusText();
  ASSERT_EQ(engine->AreaGrid().size(), 31u);
  for (int i = 1; i <= 31; ++i)
    for (int j = 1; j <= 31; ++j) {
      const auto& c = engine->AreaGrid()[i - 1][j - 1];
      ASSERT_NEAR(c.Snr, fake::AreaSnr(i, j, 12), 0.051) << i << " " << j;
      ASSERT_EQ(c.Mode, fake::AreaMode(i, j));
    }
  EXPECT_FALSE(FileExists(folder + "areadata/Vantor/Vantor.voa"));
  EXPECT_FALSE(FileExists(folder + "areadata/Vantor/Vantor.vg1"));
}

TEST_F(EngineFixture, FailuresAreReportedWithTheirStatus) {
  Make("fail");
  struct Case {
    const char* exit;
    const char* output;
    TVoaStatus status;
  } cases[] = {{"1", "", vsExecError},
               {"0", "missing", vsExecError},
               {"0", "malformed", vsOutputError},
               {"0", "truncated", vsOutputError}};
  for (bool area : {false, true})
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.exit) + c.output + (area ? " area" : " point"));
      setenv("VOACAP_FAKE_EXIT", c.exit, 1);
      setenv("VOACAP_FAKE_OUTPUT", c.output, 1);
      predicts = errors = 0;
      area ? engine->RunAreaPrediction() : engine->RunPointPrediction();
      ASSERT_TRUE(WaitForEvent());
      EXPECT_EQ(errors, 1);
      EXPECT_EQ(engine->Status(), c.status);
      EXPECT_FALSE(FileExists(engine->DeckFileName()));
      EXPECT_FALSE(FileExists(engine->OutputFileName()));
    }
  EXPECT_STREQ(StatusMessage(vsExecError), "Error executing voacapl");
}

TEST_F(EngineFixture, MissingAntennaFileDoesNotHang) {
  Make("pause");
  // Listed when the list was read, deleted since.
  WriteWholeFile(folder + "antennas/Vantor/Gone.ant", "Gone\r\n");
  engine->LoadAntennaList();
  const int gone = engine->AntennaFiles().IndexOf("Gone.ant");
  ASSERT_GE(gone, 0);
  RemoveFile(folder + "antennas/Vantor/Gone.ant");
  Edit([gone](TVoaInputs& in) { in.TxAntenna[2] = gone; });
  engine->RunPointPrediction();
  ASSERT_TRUE(WaitUntil([&] { return predicts + errors > 0; }, 5000));
  EXPECT_EQ(engine->Status(), vsExecError);
}

TEST_F(EngineFixture, DeckErrorsAreReportedAtOnce) {
  Make("deck");
  Edit([](TVoaInputs& in) { in.RxAntenna[4] = 7; });
  engine->RunPointPrediction();
  EXPECT_EQ(errors, 1);  // synchronously, no child started
  EXPECT_EQ(engine->Status(), vsDeckError);
  EXPECT_STREQ(engine->StatusText(), "Unable to create parameter file");
}

TEST_F(EngineFixture, AnAntennaFileNameTooLongForVoacapIsNamedAsTheCause) {
  Make("longname");
  const std::string name = "TwentyCharacters.ant";
  ASSERT_EQ(name.size(), 20u);
  WriteWholeFile(folder + "antennas/Vantor/" + name, "Long name\r\n");
  engine->LoadAntennaList();
  const int index = engine->AntennaFiles().IndexOf(name);
  ASSERT_GE(index, 0);
  Edit([index](TVoaInputs& in) { in.RxAntenna[3] = index; });
  for (bool area : {false, true}) {
    errors = 0;
    Edit([](TVoaInputs& in) { in.Band = 3; });
    area ? engine->RunAreaPrediction() : engine->RunPointPrediction();
    EXPECT_EQ(errors, 1) << area;
    EXPECT_EQ(engine->Status(), vsDeckError);
    const std::string& detail = engine->FailureDetail();
    EXPECT_NE(detail.find("\"" + name + "\" is too long for VOACAP"), std::string::npos) << detail;
    EXPECT_NE(detail.find("at most 14"), std::string::npos) << detail;
    EXPECT_EQ(detail.find("Cannot write"), std::string::npos) << detail;
    // The message box of a failed batch says it as well.
    EXPECT_EQ(engine->StatusMessageBox().Detail, detail);
  }
}

TEST_F(EngineFixture, CancelRaisesNothing) {
  Make("cancel");
  setenv("VOACAP_FAKE_DELAY_MS", "20000", 1);
  engine->RunPointPrediction();
  ASSERT_TRUE(WaitUntil([&] { return engine->Running(); }));
  engine->CancelPrediction();
  EXPECT_FALSE(engine->Running());
  ASSERT_TRUE(vxtest::DeliverPosted());
  EXPECT_EQ(predicts + errors, 0);
  EXPECT_EQ(engine->Status(), vsCancelled);
  EXPECT_STREQ(engine->StatusText(), "Computations cancelled");
  // The next job's event is the first: the cancelled one raised none.
  unsetenv("VOACAP_FAKE_DELAY_MS");
  engine->RunPointPrediction();
  ASSERT_TRUE(WaitForEvent());
  EXPECT_EQ(predicts, 1);
  EXPECT_EQ(errors, 0);
}

TEST_F(EngineFixture, ANewStartReplacesTheRunningJob) {
  Make("restart");
  setenv("VOACAP_FAKE_DELAY_MS", "20000", 1);
  engine->RunPointPrediction();
  ASSERT_TRUE(WaitUntil([&] { return engine->Running(); }));
  setenv("VOACAP_FAKE_DELAY_MS", "0", 1);
  Edit([](TVoaInputs& in) { in.Band = 1; });
  engine->RunAreaPrediction();
  ASSERT_TRUE(WaitForEvent());
  EXPECT_EQ(predicts, 1);
  EXPECT_EQ(errors, 0);
  EXPECT_TRUE(engine->AreaMode());
  EXPECT_EQ(engine->AreaGrid().size(), 16u);
  // One more job's event comes after anything the replaced one could raise.
  engine->RunPointPrediction();
  ASSERT_TRUE(WaitUntil([&] { return predicts + errors > 1; }));
  EXPECT_EQ(predicts, 2);
  EXPECT_EQ(errors, 0);
}

TEST_F(EngineFixture, StaleOutputOfACancelledJobIsNotTakenForANewResult) {
  Make("stale");
  WriteWholeFile(folder + "run/Vantor.out", "  leftover\n");
  setenv("VOACAP_FAKE_OUTPUT", "missing", 1);
  engine->RunPointPrediction();
  ASSERT_TRUE(WaitForEvent());
  EXPECT_EQ(engine->Status(), vsExecError);
}

TEST_F(EngineFixture, AProgramThatCannotStartEndsTheJob) {
  Make("nostart");
  std::filesystem::remove_all(root + "bin");
  // The program vanishes after the installation check.
  std::string copy = root + "bin/voacapl";
  MakeDirectories(FolderOf(copy));
  CopyFileReplace(VX_FAKE_VOACAP, copy);
  std::filesystem::permissions(copy, std::filesystem::perms::owner_all);
  engine = std::make_unique<TVoaEngine>(std::make_unique<TProcess>(), TVoacapSetup{copy, folder});
  engine->CheckInstallation();
  engine->OnError = [this](TVoaEngine&) { ++errors; };
  ASSERT_EQ(engine->Status(), vsReady);
  RemoveFile(copy);
  engine->RunPointPrediction();
  ASSERT_TRUE(WaitForEvent());
  EXPECT_EQ(engine->Status(), vsExecError);
}

TEST(DataFolderLock, OneHolderAtATimeEvenInOneProcess) {
  std::string f = MakeDataFolder("lock");
  TDataFolderLock a, b;
  EXPECT_EQ(a.TryLock(f), TDataFolderLock::lrLocked);
  EXPECT_EQ(b.TryLock(f), TDataFolderLock::lrBusy);
  a.Unlock();
  EXPECT_EQ(b.TryLock(f), TDataFolderLock::lrLocked);
  EXPECT_EQ(a.TryLock(f + "no-such-folder/"), TDataFolderLock::lrFailed);
}

TEST_F(EngineFixture, AJobWaitsForTheDataFolderThenRuns) {
  Make("waits");
  int waits = 0;
  engine->OnWaiting = [&](TVoaEngine&) { ++waits; };
  TDataFolderLock other;  // another run holds the folder
  ASSERT_EQ(other.TryLock(folder), TDataFolderLock::lrLocked);
  engine->RunPointPrediction();
  // Told once, however often it tries again.
  ASSERT_TRUE(WaitUntil([&] { return counted.DeferredCalls >= 2; }));
  EXPECT_EQ(waits, 1);
  EXPECT_TRUE(engine->Running());
  EXPECT_TRUE(engine->Waiting());
  EXPECT_FALSE(FileExists(engine->DeckFileName()));  // nothing written meanwhile
  other.Unlock();
  ASSERT_TRUE(WaitForEvent());
  EXPECT_EQ(predicts, 1) << engine->StatusText();
  EXPECT_EQ(waits, 1);
  // The folder is free again once the job is done.
  EXPECT_EQ(other.TryLock(folder), TDataFolderLock::lrLocked);
}

TEST_F(EngineFixture, CancelWhileWaitingRaisesNothing) {
  Make("waitcancel");
  TDataFolderLock other;
  ASSERT_EQ(other.TryLock(folder), TDataFolderLock::lrLocked);
  engine->RunAreaPrediction();
  EXPECT_TRUE(engine->Waiting());
  engine->CancelPrediction();
  EXPECT_FALSE(engine->Running());
  EXPECT_FALSE(counted.DeferredWaits);  // no try left to start it later
  other.Unlock();
  ASSERT_TRUE(vxtest::DeliverPosted());
  EXPECT_EQ(predicts + errors, 0);
  EXPECT_EQ(counted.Runs, 0);
}

// The cache answers a map request only with a map of the same antennas: a
// file added to the antenna list shifts every index, and an edited file
// keeps its name, yet neither may serve the old maps.
TEST_F(EngineFixture, CachedMapsFollowTheAntennaFilesNotTheirPositions) {
  Make("cache-antennas");
  const std::string cache = testing::TempDir() + "engine-cache-antennas-maps/";
  MakeDirectories(cache);
  const std::string antennas = engine->AntennaFolder();
  WriteWholeFile(antennas + "Vertical.N14", "Vertical\nits table");
  engine->LoadAntennaList();
  ASSERT_EQ(engine->AntennaFiles().Count(), 2u);
  const int iso = engine->AntennaFiles().IndexOf("ISOTROPE.ant");
  Edit([&](TVoaInputs& in) {
    in.Band = 3;
    in.Hour = 12;
    in.TxAntenna[3] = in.RxAntenna[3] = iso;
  });
  engine->RunAreaPrediction();
  ASSERT_TRUE(WaitForEvent());
  ASSERT_TRUE(engine->SaveAreaCache(cache));
  EXPECT_TRUE(engine->AreaCacheValid(cache));

  // AAA.N14 now sorts first: the index that named the isotropic antenna names
  // the vertical, and its map is not in the cache.
  WriteWholeFile(antennas + "AAA.N14", "Another\ntable");
  engine->LoadAntennaList();
  EXPECT_NE(engine->AntennaFiles()[size_t(iso)], "ISOTROPE.ant");
  EXPECT_FALSE(engine->AreaCacheValid(cache));
  EXPECT_FALSE(engine->LoadAreaCache(cache));
  // At its new index the isotropic antenna's map is found again.
  const int isoNow = engine->AntennaFiles().IndexOf("ISOTROPE.ant");
  Edit([&](TVoaInputs& in) { in.TxAntenna[3] = in.RxAntenna[3] = isoNow; });
  EXPECT_TRUE(engine->AreaCacheValid(cache));
  // An edit of the file's contents makes it a miss as well.
  std::string iso_text = *ReadWholeFile(antennas + "ISOTROPE.ant");
  WriteWholeFile(antennas + "ISOTROPE.ant", iso_text + " ");
  EXPECT_FALSE(engine->AreaCacheValid(cache));
}

// The built-in engine under the Qt runner, as the window and vantor-cli run
// it: the figures arrive on the owner's thread, and a cancelled map ends at
// once without an event.
TEST(BuiltinEngineJobs, FiguresArriveThroughTheEventLoopAndCancelEndsAMap) {
  TVoacapSetup setup;
  setup.DataFolder = testing::TempDir() + "builtin-jobs/";
  setup.Engine = TEngineChoice::Builtin;
  TVoaEngine e(std::make_unique<TProcess>(), setup);
  e.CheckInstallation();
  ASSERT_EQ(e.Status(), vsReady) << e.StatusMessageBox().Detail;
  int predicts = 0, errors = 0;
  e.OnPredict = [&](TVoaEngine&) { ++predicts; };
  e.OnError = [&](TVoaEngine&) { ++errors; };
  TVoaInputs in = e.Inputs();
  in.TxLat = 44 * 180;
  in.TxLon = -79 * 180;
  in.Year = 2026;
  in.Month = 12;
  in.Ssn = 100;
  in.GridSize = 61;
  in.Band = 3;
  e.SetInputs(in);

  e.RunAreaPrediction();
  EXPECT_TRUE(e.Running());
  EXPECT_EQ(predicts, 0);  // never from inside the call
  e.CancelPrediction();
  EXPECT_FALSE(e.Running());
  EXPECT_EQ(e.Status(), vsCancelled);
  ASSERT_TRUE(vxtest::DeliverPosted());
  EXPECT_EQ(predicts + errors, 0);

  in.GridSize = 16;
  e.SetInputs(in);
  e.RunAreaPrediction();
  ASSERT_TRUE(WaitUntil([&] { return predicts + errors > 0; }));
  EXPECT_EQ(predicts, 1);
  EXPECT_EQ(e.Status(), vsReady);
  EXPECT_EQ(e.AreaGrid().size(), 16u);
  EXPECT_FALSE(e.Running());
}
