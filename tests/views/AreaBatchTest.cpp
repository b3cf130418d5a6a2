// Worker folders and the batch on a pool of workers, with the stand-in
// program and runners whose children run when the test says so.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "ViewsTestUtil.h"
#include "common/Ini.h"
#include "engine/AreaBatch.h"
#include "engine/Cache.h"
#include "engine/Locator.h"
#include "engine/WorkerFolder.h"
#include "engine/WorkerPool.h"
#include "support/Wait.h"

using namespace vx;
namespace fs = std::filesystem;

namespace {

// A data folder laid out as makeitshfbc makes it, with a little of
// everything the program reads or writes.
std::string MakeUserFolder(const std::string& name) {
  const std::string f = vxtest::FreshVoacapFolder(name);
  MakeDirectories(f + "coeffs");
  WriteWholeFile(f + "coeffs/ccir.asc", "coefficients");
  MakeDirectories(f + "antennas/Vantor");
  WriteWholeFile(f + "antennas/Vantor/ISOTROPE.ant", "isotropic\n");
  WriteWholeFile(f + "run/gain01.dat", "scratch");
  MakeDirectories(f + "areadata/default");
  WriteWholeFile(f + "areadata/default/sample.voa", "sample");
  WriteWholeFile(f + "vantor.lock", "");
  return f;
}

std::map<std::string, std::string> FilesOf(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(folder))
    files[e.path().filename().string()] = ReadWholeFile(e.path().string()).value_or("?");
  return files;
}

}  // namespace

TEST(WorkerFolders, ReadOnlyPartsAreLinkedAndWrittenOnesPrivate) {
  const std::string user = MakeUserFolder("wf-user");
  vxtest::TShortFolder root;
  const std::string set = ChooseWorkerFolderSet({root.Path}, user, 4);
  ASSERT_FALSE(set.empty());
  const std::string w = WorkerFolder(set, 3);
  std::string error;
  ASSERT_TRUE(PrepareWorkerFolder(user, w, error)) << error;

  for (const char* linked : {"database", "coeffs", "antennas"}) {
    EXPECT_TRUE(fs::is_symlink(w + linked)) << linked;
    EXPECT_TRUE(fs::equivalent(w + linked, user + linked)) << linked;
  }
  EXPECT_EQ(*ReadWholeFile(w + "database/version.w32"), "Version 16.1207W\n");
  for (const char* own : {"run", "areadata"}) {
    EXPECT_FALSE(fs::is_symlink(w + own)) << own;
    EXPECT_TRUE(fs::is_directory(w + own)) << own;
  }
  EXPECT_EQ(*ReadWholeFile(w + "run/gain01.dat"), "scratch");  // copied, not shared
  EXPECT_FALSE(fs::exists(w + "areadata/default"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(w + "vantor.lock")));  // each folder locks on its own

  // Made once: what the program left stays; a wrong or stale link is put right.
  WriteWholeFile(w + "run/gain01.dat", "the worker's own");
  fs::remove(w + "coeffs");
  fs::create_symlink(user + "database", w + "coeffs");
  fs::create_symlink(user + "gone", w + "gone");
  ASSERT_TRUE(PrepareWorkerFolder(user, w, error)) << error;
  EXPECT_EQ(*ReadWholeFile(w + "run/gain01.dat"), "the worker's own");
  EXPECT_EQ(*ReadWholeFile(w + "coeffs/ccir.asc"), "coefficients");
  EXPECT_FALSE(fs::exists(fs::symlink_status(w + "gone")));
  // The user's own folder is untouched.
  EXPECT_EQ(*ReadWholeFile(user + "run/gain01.dat"), "scratch");

  // Links only: removing the worker folders never reaches the user's files.
  fs::remove_all(root.Path);
  EXPECT_TRUE(FileExists(user + "coeffs/ccir.asc"));
}

TEST(WorkerFolders, PlacesKeepWithinThePathLimit) {
  const std::string user = "/home/someone/itshfbc/";
  const std::string longBase = "/home/someone/with/a/rather/long/path/.cache/Vexmoor/Vantor/";
  const std::string set = ChooseWorkerFolderSet({longBase, "/run/user/1000/vantor/"}, user, 12);
  EXPECT_EQ(set.rfind("/run/user/1000/vantor/voa/", 0), 0u);
  EXPECT_LE(WorkerFolder(set, 11).size(), kMaxDataFolderPath);
  EXPECT_EQ(ChooseWorkerFolderSet({longBase}, user, 2), "");
  EXPECT_EQ(ChooseWorkerFolderSet({"/tmp/a b/"}, user, 2), "");  // the program splits at blanks
  // Two installations never share worker folders; one always gets the same.
  EXPECT_NE(WorkerFolderSet("/r/", user), WorkerFolderSet("/r/", "/home/other/itshfbc/"));
  EXPECT_EQ(WorkerFolderSet("/r/", user), WorkerFolderSet("/r", "/home/someone/itshfbc"));
}

namespace {

struct PoolFixture : testing::Test {
  std::string user, cache;
  vxtest::TShortFolder root;
  vxtest::TRunnerHub hub;
  std::unique_ptr<TVoaEngine> engine;  // the user's
  std::unique_ptr<TVoaWorkerPool> pool;
  std::unique_ptr<TAreaBatch> batch;
  std::vector<int> started, progress;
  int finished = 0;

  void SetUp() override {
    const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    user = MakeUserFolder("pool-" + name);
    cache = vxtest::FreshFolder("pool-" + name + "-cache");
    engine = std::make_unique<TVoaEngine>(nullptr, TVoacapSetup{VX_FAKE_VOACAP, user});
    engine->CheckInstallation();
    ASSERT_EQ(engine->Status(), vsReady);
  }

  void MakePool(int workers, const std::string& cacheFolder) {
    batch.reset();
    pool = std::make_unique<TVoaWorkerPool>(hub.Factory(), TWorkerPoolSetup{workers, {root.Path}});
    std::string error;
    ASSERT_TRUE(pool->Prepare(*engine, error)) << error;
    ASSERT_EQ(pool->Size(), workers);
    batch = std::make_unique<TAreaBatch>(*pool, cacheFolder);
    batch->OnJobStarted = [this](int i) { started.push_back(i); };
    batch->OnJobDone = [this](int, TJobOutcome) { progress.push_back(batch->Finished()); };
    batch->OnFinished = [this] { ++finished; };
  }

  TVoaInputs Base() const {
    TVoaInputs in = engine->Inputs();
    in.TxLat = 44 * 180, in.TxLon = -79 * 180, in.Year = 2008, in.Month = 3, in.Ssn = 50, in.GridSize = 16;
    return in;
  }

  static std::vector<TAreaJob> Day(std::vector<int> bands) {
    std::vector<TAreaJob> jobs;
    for (int h = 0; h < 24; ++h)
      for (int b : bands) jobs.push_back({h, b, false});
    return jobs;
  }
};

}  // namespace

TEST_F(PoolFixture, ManyWorkersWriteWhatOneWrites) {
  const std::string one = vxtest::FreshFolder("pool-one"), many = vxtest::FreshFolder("pool-many");
  MakePool(1, one);
  ASSERT_TRUE(batch->Start(Base(), Day({0, 5}), TAreaBatch::fpStop));
  hub.Drain();
  EXPECT_EQ(batch->Computed(), 48);

  MakePool(4, many);
  ASSERT_TRUE(batch->Start(Base(), Day({0, 5}), TAreaBatch::fpStop));
  EXPECT_EQ(hub.Pending.size(), 4u);  // one child per worker
  std::set<std::string> folders;
  for (const auto& p : hub.Pending) folders.insert(p.second.Directory);
  EXPECT_EQ(folders.size(), 4u);  // each in a folder of its own
  hub.DrainNewestFirst();         // the workers finish out of order
  EXPECT_EQ(batch->Computed(), 48);
  EXPECT_EQ(finished, 2);

  const auto a = FilesOf(one), b = FilesOf(many);
  EXPECT_EQ(a.size(), 48u);
  EXPECT_TRUE(a == b) << "the same files, byte for byte";
  TVoaInputs fifth = Base();
  fifth.Hour = 5, fifth.Band = 5;
  TVoaGrid stored;
  EXPECT_TRUE(DecodeCache(a.at("05UT-21MHz-S.dat"), engine->ReadAreaCacheKey(fifth), stored));
  EXPECT_EQ(stored.size(), 16u);
  // The user's own folder saw no run.
  EXPECT_FALSE(fs::exists(user + "areadata/Vantor/Vantor.voa"));
}

TEST_F(PoolFixture, BuiltinWorkersComputeInMemoryWhatOneWorkerComputes) {
  TVoacapSetup setup;
  setup.DataFolder = vxtest::FreshFolder("builtin-user");  // the engine writes its isotrope there
  setup.Engine = TEngineChoice::Builtin;
  engine = std::make_unique<TVoaEngine>(nullptr, setup);
  engine->CheckInstallation();
  ASSERT_EQ(engine->Status(), vsReady) << engine->StatusMessageBox().Detail;
  const std::string one = vxtest::FreshFolder("builtin-one"), many = vxtest::FreshFolder("builtin-many");
  for (const auto& [workers, folder] : {std::pair{1, one}, std::pair{3, many}}) {
    MakePool(workers, folder);
    EXPECT_EQ(pool->FolderSet(), "");  // nothing to copy: the workers write no files
    ASSERT_TRUE(batch->Start(Base(), Day({3}), TAreaBatch::fpStop));
    EXPECT_EQ(hub.Started, 0);  // and start no child
    // The workers' threads finish; their ends arrive as deferred calls. The
    // bound only catches a hang: a sanitizer build on a busy machine takes
    // far longer than 30 s for these 24 maps.
    ASSERT_TRUE(vxtest::WaitFor(
        [&] {
          hub.RunDeferred();
          return !batch->Running();
        },
        300000));
    EXPECT_EQ(batch->Computed(), 24) << batch->Failed() << " failed: " << batch->FailureDetail();
  }
  const auto a = FilesOf(one), b = FilesOf(many);
  EXPECT_EQ(a.size(), 24u);
  EXPECT_TRUE(a == b) << "the same files, byte for byte";
  EXPECT_EQ(finished, 2);
}

TEST_F(PoolFixture, JobsStartInListOrderSkippingCachedOnesAndProgressCountsFinishedJobs) {
  MakePool(3, cache);
  TVoaInputs in = Base();
  for (int h : {0, 1, 7, 23}) {
    in.Hour = h, in.Band = 2;
    ASSERT_TRUE(SaveAreaCache(cache, engine->ReadAreaCacheKey(in), vxtest::GridOf(16, [](int, int) { return 1; })));
  }
  ASSERT_TRUE(batch->Start(Base(), Day({2}), TAreaBatch::fpStop));
  hub.DrainNewestFirst();
  EXPECT_EQ(batch->Cached(), 4);
  EXPECT_EQ(batch->Computed(), 20);
  EXPECT_EQ(hub.Started, 20);
  EXPECT_TRUE(std::is_sorted(started.begin(), started.end()));
  EXPECT_EQ(started.size(), 20u);
  EXPECT_EQ(std::count(started.begin(), started.end(), 7), 0);
  std::vector<int> counted(24);
  for (int i = 0; i < 24; ++i) counted[size_t(i)] = i + 1;
  EXPECT_EQ(progress, counted);  // one step per finished job, cached or not
  EXPECT_EQ(finished, 1);

  // Everything cached: nothing starts, no event, the batch is over at once.
  started.clear();
  EXPECT_FALSE(batch->Start(Base(), Day({2}), TAreaBatch::fpStop));
  EXPECT_EQ(batch->Cached(), 24);
  EXPECT_TRUE(started.empty());
  EXPECT_EQ(finished, 1);
}

TEST_F(PoolFixture, AFailingWorkerStopsTheBatchOrIsCounted) {
  MakePool(3, cache);
  ASSERT_TRUE(batch->Start(Base(), Day({1}), TAreaBatch::fpStop));
  hub.Runners[1]->Env = "VOACAP_FAKE_EXIT=1";
  hub.Complete();  // worker 0's job: hour 0
  hub.Complete();  // worker 1's job: fails
  EXPECT_FALSE(batch->Running());
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(batch->Failed(), 1);
  EXPECT_EQ(batch->FailureStatus(), vsExecError);
  EXPECT_TRUE(hub.Pending.empty()) << "the other running jobs are dropped";
  EXPECT_FALSE(pool->Running());
  EXPECT_EQ(FilesOf(cache).size(), 1u);  // what was computed stays

  // Going on past failures: every other map is computed.
  finished = 0;
  ASSERT_TRUE(batch->Start(Base(), Day({1}), TAreaBatch::fpContinue));
  hub.Drain();
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(batch->Cached(), 1);
  EXPECT_EQ(batch->Failed(), 8);  // worker 1 fails every job it gets
  EXPECT_EQ(batch->Computed(), 15);
  EXPECT_EQ(FilesOf(cache).size(), 16u);
}

TEST_F(PoolFixture, AMapThatCannotBeStoredIsAFailure) {
  const std::string notAFolder = cache + "file";
  WriteWholeFile(notAFolder, "");
  MakePool(2, notAFolder + "/");
  ASSERT_TRUE(batch->Start(Base(), Day({3}), TAreaBatch::fpStop));
  hub.Drain();
  EXPECT_EQ(batch->Computed(), 0);
  EXPECT_EQ(batch->Failed(), 1);
  EXPECT_EQ(batch->FailureStatus(), vsReady);
  EXPECT_NE(batch->FailureDetail().find("Cannot write " + notAFolder + "/00UT-14MHz-S.dat"), std::string::npos);
}

TEST_F(PoolFixture, CancelEndsEveryJobWithoutAnEvent) {
  MakePool(4, cache);
  ASSERT_TRUE(batch->Start(Base(), Day({4}), TAreaBatch::fpStop));
  hub.Complete();
  EXPECT_EQ(hub.Pending.size(), 4u);
  batch->Cancel();
  EXPECT_TRUE(hub.Pending.empty());
  EXPECT_FALSE(pool->Running());
  EXPECT_EQ(finished, 0);
  EXPECT_EQ(FilesOf(cache).size(), 1u);
}

TEST_F(PoolFixture, WithoutAShortPlaceOneWorkerRunsInTheUsersFolder) {
  pool = std::make_unique<TVoaWorkerPool>(hub.Factory(),
                                          TWorkerPoolSetup{4, {"/far/too/long/a/path/for/the/program/to/take/in/"}});
  std::string error;
  ASSERT_TRUE(pool->Prepare(*engine, error)) << error;
  EXPECT_EQ(pool->Size(), 1);
  EXPECT_EQ(pool->Wanted(), 4);  // what the front end tells the user
  EXPECT_EQ(pool->FolderSet(), "");
  EXPECT_EQ(pool->Worker(0).VoacapFolder(), user);
}

// Under cron or ssh (no runtime folder, a long home path) the workers find a
// private place under /tmp, and the folders go when the pool does.
TEST_F(PoolFixture, APrivateTemporaryFolderTakesTheWorkersWhenNothingElseIsShort) {
  const std::string temp = PrivateTempBase();
  ASSERT_FALSE(temp.empty());
  struct stat st {};
  ASSERT_EQ(::stat(temp.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  pool = std::make_unique<TVoaWorkerPool>(
      hub.Factory(), TWorkerPoolSetup{3, {"/far/too/long/a/path/for/the/program/to/take/in/", temp}});
  std::string error;
  ASSERT_TRUE(pool->Prepare(*engine, error)) << error;
  EXPECT_EQ(pool->Size(), 3);
  const std::string set = pool->FolderSet();
  EXPECT_EQ(set.rfind(temp, 0), 0u) << set;
  EXPECT_TRUE(DirectoryExists(WorkerFolder(set, 2)));
  {
    // Another process still runs in one of the folders: the set stays.
    TDataFolderLock other;
    ASSERT_EQ(other.TryLock(WorkerFolder(set, 1)), TDataFolderLock::lrLocked);
    TVoaWorkerPool second(hub.Factory(), TWorkerPoolSetup{3, {temp}});
    ASSERT_TRUE(second.Prepare(*engine, error)) << error;
  }
  EXPECT_TRUE(DirectoryExists(WorkerFolder(set, 1)));
  pool.reset();
  EXPECT_FALSE(DirectoryExists(set));
  EXPECT_TRUE(DirectoryExists(user + "run/"));  // the user's folder the links pointed into stays
}

TEST(WorkerFolders, ATemporaryBaseMustBeTheUsersOwnPrivateFolder) {
  const std::string tmp = vxtest::FreshFolder("private-temp");
  const std::string mine = PrivateTempBase(tmp);
  ASSERT_EQ(mine, tmp + "vantor-" + std::to_string(::geteuid()) + "/");
  ::chmod(mine.c_str(), 0755);
  EXPECT_EQ(PrivateTempBase(tmp), mine);  // ours: closed again
  struct stat st {};
  ::stat(mine.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(mine.c_str(), 4242, 4242), 0);  // taken by another user
    EXPECT_EQ(PrivateTempBase(tmp), "");
    std::filesystem::remove_all(mine);
    std::filesystem::create_directory_symlink(tmp, mine.substr(0, mine.size() - 1));
    EXPECT_EQ(PrivateTempBase(tmp), "");  // a link in its place
  }
}

TEST_F(PoolFixture, TheWorkerCountComesFromTheSettingUnlessGiven) {
  engine = std::make_unique<TVoaEngine>(nullptr, TVoacapSetup{VX_FAKE_VOACAP, user, 2});
  engine->CheckInstallation();
  pool = std::make_unique<TVoaWorkerPool>(hub.Factory(), TWorkerPoolSetup{0, {root.Path}});
  std::string error;
  ASSERT_TRUE(pool->Prepare(*engine, error)) << error;
  EXPECT_EQ(pool->Size(), 2);
  // Prepared again: the same engines.
  TVoaEngine* first = &pool->Worker(0);
  ASSERT_TRUE(pool->Prepare(*engine, error));
  EXPECT_EQ(&pool->Worker(0), first);
  EXPECT_EQ(CoreCount(), std::max(1, int(std::thread::hardware_concurrency())));
}

TEST(WorkerSetting, ReadFromTheVoacapSection) {
  TIniFile ini;
  EXPECT_EQ(ReadVoacapSetup(ini).Workers, 0);  // one per core
  for (auto [text, workers] :
       std::vector<std::pair<const char*, int>>{{"3", 3}, {" 1 ", 1}, {"0", 0}, {"-2", 0}, {"x", 0}}) {
    ini.WriteString("VOACAP", "Workers", text);
    EXPECT_EQ(ReadVoacapSetup(ini).Workers, workers) << text;
  }
}
