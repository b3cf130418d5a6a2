#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <fstream>

#include <QCoreApplication>
#include <QDir>
#include <QThread>

#include "engine/Process.h"
#include "support/QtWait.h"

using namespace vx;
using vxtest::WaitUntil;

namespace {

struct Recorder {
  int calls = 0;
  uint32_t code = 0;
  bool onMainThread = false;
  void Attach(TProcess& p) {
    p.OnFinished = [this](uint32_t c) {
      ++calls;
      code = c;
      onMainThread = QThread::currentThread() == QCoreApplication::instance()->thread();
    };
  }
};

TProcessCommand Shell(const std::string& script) { return {"/bin/sh", {"-c", script}, ""}; }

}  // namespace

TEST(Process, ReportsTheExitCodeOnTheOwnersThread) {
  TProcess p;
  Recorder r;
  r.Attach(p);
  p.Run(Shell("exit 3"));
  ASSERT_TRUE(WaitUntil([&] { return r.calls > 0; }));
  EXPECT_EQ(r.code, 3u);
  EXPECT_TRUE(r.onMainThread);
  // Once: a second run's end comes after any second report of the first.
  p.Run(Shell("exit 0"));
  ASSERT_TRUE(WaitUntil([&] { return r.calls > 1; }));
  EXPECT_EQ(r.calls, 2);
  EXPECT_EQ(r.code, 0u);
}

TEST(Process, TerminateKillsSilentlyAndRunStartsAfresh) {
  TProcess p;
  Recorder r;
  r.Attach(p);
  p.Run(Shell("sleep 30"));
  ASSERT_TRUE(WaitUntil([&] { return p.Running(); }));
  p.Terminate();
  EXPECT_FALSE(p.Running());
  ASSERT_TRUE(vxtest::DeliverPosted());
  EXPECT_EQ(r.calls, 0);
  EXPECT_TRUE(p.Cancelled());

  // The next run's end is the only report: the killed child made none.
  p.Run(Shell("exit 0"));
  EXPECT_FALSE(p.Cancelled());
  ASSERT_TRUE(WaitUntil([&] { return r.calls > 0; }));
  EXPECT_EQ(r.calls, 1);
  EXPECT_EQ(r.code, 0u);
  p.Terminate();  // nothing runs: no effect
}

TEST(Process, StandardInputIsTheNullDevice) {
  // A child that reads its input to the end must not wait forever.
  TProcess p;
  Recorder r;
  r.Attach(p);
  p.Run(Shell("cat >/dev/null; read x; exit 4"));
  ASSERT_TRUE(WaitUntil([&] { return r.calls > 0; }, 5000));
  EXPECT_EQ(r.code, 4u);
}

TEST(Process, WorkingFolderAndBlankFolder) {
  std::string dir = testing::TempDir() + "proc-wd";
  QDir().mkpath(QString::fromStdString(dir));
  TProcess p;
  Recorder r;
  r.Attach(p);
  p.Run({"/bin/sh", {"-c", "test \"$(pwd)\" = \"$0\"", dir}, "  " + dir + " \t"});
  ASSERT_TRUE(WaitUntil([&] { return r.calls > 0; }));
  EXPECT_EQ(r.code, 0u);
  r.calls = 0;
  p.Run({"/bin/sh", {"-c", "exit 0"}, "   "});
  ASSERT_TRUE(WaitUntil([&] { return r.calls > 0; }));
  EXPECT_EQ(r.code, 0u);
}

TEST(Process, AProgramThatCannotStartIsReportedAsFailed) {
  TProcess p;
  Recorder r;
  r.Attach(p);
  p.Run({"/nonexistent/voacapl", {}, ""});
  ASSERT_TRUE(WaitUntil([&] { return r.calls > 0; }));
  EXPECT_EQ(r.code, kExitCodeNotStarted);
  p.Run(Shell("exit 0"));
  ASSERT_TRUE(WaitUntil([&] { return r.calls > 1; }));
  EXPECT_EQ(r.calls, 2);  // one report for the program that never started
  EXPECT_EQ(r.code, 0u);
}

TEST(Process, ADeadlyStepIsNotASuccess) {
  TProcess p;
  Recorder r;
  r.Attach(p);
  p.Run(Shell("kill -SEGV $$"));
  ASSERT_TRUE(WaitUntil([&] { return r.calls > 0; }));
  EXPECT_NE(r.code, 0u);
}

namespace {

// A kill signal that does not land, as for a child stuck in the kernel.
class TStuckChildProcess : public TProcess {
 public:
  using TProcess::TProcess;

 protected:
  void Kill(QProcess&) override {}
};

bool Alive(pid_t pid) { return ::kill(pid, 0) == 0; }

}  // namespace

TEST(Process, AChildThatCannotBeReapedBoundsTheWaitAndFailsTheNextRun) {
  const std::string pidFile = testing::TempDir() + "proc-stuck.pid";
  std::remove(pidFile.c_str());
  TStuckChildProcess p(nullptr, 200);
  Recorder r;
  r.Attach(p);
  p.Run(Shell("echo $$ > " + pidFile + ".tmp && mv " + pidFile + ".tmp " + pidFile + " && exec sleep 30"));
  pid_t pid = 0;
  ASSERT_TRUE(WaitUntil([&] {
    std::ifstream in(pidFile);
    return bool(in >> pid);
  }));
  p.Terminate();  // returns after the limit, not when the child ends
  EXPECT_TRUE(Alive(pid));
  EXPECT_FALSE(p.Running());
  ASSERT_TRUE(vxtest::DeliverPosted());
  EXPECT_EQ(r.calls, 0);

  // The stuck child still holds the outside program's files: no second one.
  p.Run(Shell("exit 0"));
  ASSERT_TRUE(WaitUntil([&] { return r.calls > 0; }));
  EXPECT_EQ(r.calls, 1);  // the refusal alone: the stuck child reported nothing
  EXPECT_EQ(r.code, kExitCodeNotReaped);
  EXPECT_FALSE(p.Running());

  // Once it is gone, runs work again.
  ::kill(pid, SIGKILL);
  ASSERT_TRUE(WaitUntil([&] {
    r.calls = 0;
    p.Run(Shell("exit 5"));
    return WaitUntil([&] { return r.calls > 0; }) && r.code == 5u;
  }));
}
