// The vantor program's start on a terminal: --help and --version answer
// even while another copy runs, and without a display it says so in one
// line instead of aborting.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "app/Version.h"
#include "desktop/SingleInstance.h"

using namespace vx;

namespace {

struct TRun {
  int Code = -1;
  QString Out, Err;
};

TRun RunVantor(const QStringList& args, const QProcessEnvironment& env) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(VX_VANTOR, args);
  p.closeWriteChannel();
  TRun r;
  if (!p.waitForFinished(60000)) {
    p.kill();
    p.waitForFinished();
    return r;
  }
  r.Code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
  r.Out = QString::fromLocal8Bit(p.readAllStandardOutput());
  r.Err = QString::fromLocal8Bit(p.readAllStandardError());
  return r;
}

}  // namespace

TEST(VantorStart, WithoutADisplayItSaysSoInOneLine) {
  QTemporaryDir runtime;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(v);
  env.insert("XDG_RUNTIME_DIR", runtime.path());
  const TRun r = RunVantor({}, env);
  EXPECT_EQ(r.Code, 1);
  EXPECT_TRUE(r.Err.startsWith("vantor: no display found")) << r.Err.toStdString();
  EXPECT_TRUE(r.Err.contains("vantor-cli"));
  EXPECT_EQ(r.Err.count('\n'), 1) << r.Err.toStdString();
  // Help needs no display either.
  const TRun help = RunVantor({"--help"}, env);
  EXPECT_EQ(help.Code, 0);
  EXPECT_TRUE(help.Out.startsWith("Usage: vantor")) << help.Out.toStdString();
}

TEST(VantorStart, HelpAndVersionAnswerWhileAnotherCopyRuns) {
  QTemporaryDir runtime;
  qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  qputenv("DISPLAY", ":97");
  TSingleInstance first(CurrentInstanceKey(kVantorName));
  ASSERT_TRUE(first.Claim());
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");

  const TRun help = RunVantor({"--help"}, env);
  EXPECT_EQ(help.Code, 0);
  EXPECT_TRUE(help.Out.startsWith("Usage: vantor")) << help.Out.toStdString();
  EXPECT_TRUE(help.Out.contains("--automation"));
  const TRun version = RunVantor({"--version"}, env);
  EXPECT_EQ(version.Code, 0);
  EXPECT_EQ(version.Out, QString("vantor ") + kVantorVersion + "\n");
  qunsetenv("DISPLAY");
}
