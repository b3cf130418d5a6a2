// Desktop services, offscreen: one running copy, the tray tip, session end.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QMenu>
#include <QTemporaryDir>

#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/shell/SafeShDown.h"
#include "app/shell/SingleInstance.h"
#include "app/shell/TrayIcon.h"

using namespace vx;

namespace {

template <class F>
bool WaitFor(F done, int ms = 5000) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

}  // namespace

TEST(SingleInstance, KeysSeparateUsersAndDisplays) {
  EXPECT_EQ(InstanceKey("Vantor", 1000, ":0", "3"), "Vantor-1000-_0-3");
  EXPECT_NE(InstanceKey("Vantor", 1000, ":0", "3"), InstanceKey("Vantor", 1001, ":0", "3"));
  EXPECT_NE(InstanceKey("Vantor", 1000, ":0", "3"), InstanceKey("Vantor", 1000, "wayland-0", "3"));
  EXPECT_EQ(InstanceKey("Vantor", 0, "../x", "").indexOf('/'), -1);  // never a path
}

TEST(SingleInstance, ASecondStartAsksTheFirstToShowItself) {
  QTemporaryDir dir;
  const QString key = dir.filePath("vantor.sock");
  TSingleInstance first(key);
  ASSERT_TRUE(first.Claim());
  int activations = 0;
  QObject::connect(&first, &TSingleInstance::ActivateRequested, [&] { ++activations; });
  TSingleInstance second(key);
  EXPECT_FALSE(second.Claim());
  EXPECT_TRUE(WaitFor([&] { return activations == 1; }));
}

TEST(SingleInstance, ASocketLeftByACrashedCopyDoesNotStopTheNextStart) {
  QTemporaryDir dir;
  const QString key = dir.filePath("vantor.sock");
  // A bound socket file nobody listens on, as a killed copy leaves it.
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", key.toLocal8Bit().constData());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ::close(fd);
  ASSERT_TRUE(QFile::exists(key));
  TSingleInstance next(key);
  EXPECT_TRUE(next.Claim());
}

TEST(TrayIcon, TipIsCutTo62CharactersAndTheMenuHasRestoreAndExit) {
  EXPECT_EQ(TrayTip(QString(70, 'x')).size(), 62);
  EXPECT_EQ(TrayTip("Vantor"), "Vantor");
  TTrayIcon tray(QIcon(), QString(70, 'y'));
  EXPECT_EQ(tray.ToolTip().size(), 62);
  const auto actions = tray.Menu()->actions();
  ASSERT_EQ(actions.size(), 3);
  EXPECT_EQ(actions[0]->text(), "&Restore");
  EXPECT_TRUE(actions[1]->isSeparator());
  EXPECT_EQ(actions[2]->text(), "E&xit");
  int restores = 0, exits = 0;
  QObject::connect(&tray, &TTrayIcon::RestoreRequested, [&] { ++restores; });
  QObject::connect(&tray, &TTrayIcon::ExitRequested, [&] { ++exits; });
  actions[0]->trigger();
  actions[2]->trigger();
  EXPECT_EQ(restores, 1);
  EXPECT_EQ(exits, 1);
}

TEST(SafeShutdown, SigtermEndsTheSessionOnceOnTheGuiThread) {
  TSafeShutdown shutdown;
  int endings = 0;
  QObject::connect(&shutdown, &TSafeShutdown::SessionEnding, [&] { ++endings; });
  ASSERT_EQ(::raise(SIGTERM), 0);  // handled: the process goes on
  EXPECT_TRUE(WaitFor([&] { return endings == 1; }));
  EXPECT_TRUE(shutdown.ShuttingDown);
  ::raise(SIGTERM);
  WaitFor([] { return false; }, 200);
  EXPECT_EQ(endings, 1);
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
