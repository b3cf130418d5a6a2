// Desktop services, offscreen: one running copy, the tray tip, session end.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLocalServer>
#include <QMenu>
#include <QTemporaryDir>

#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "desktop/SafeShDown.h"
#include "desktop/SingleInstance.h"
#include "desktop/TrayIcon.h"
#include "support/QtWait.h"

using namespace vx;

namespace {

using vxtest::WaitUntil;

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
  EXPECT_TRUE(WaitUntil([&] { return activations == 1; }));
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

// Without a runtime folder the socket goes into a private folder of the
// user's; a folder by that name that others could use is refused.
TEST(SingleInstance, TheSocketFolderIsTheUsersOwnAndPrivate) {
  QTemporaryDir tmp;
  EXPECT_EQ(InstanceFolder("/run/user/1000", ::getuid(), tmp.path()), "/run/user/1000");
  const QString mine = InstanceFolder("", ::getuid(), tmp.path());
  ASSERT_EQ(mine, tmp.filePath("vantor-" + QString::number(::getuid())));
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(mine).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  // One we made too open is closed again.
  ::chmod(QFile::encodeName(mine).constData(), 0777);
  EXPECT_EQ(InstanceFolder("", ::getuid(), tmp.path()), mine);
  ::stat(QFile::encodeName(mine).constData(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  // A link in its place, or another user's folder, is never used.
  const unsigned other = ::getuid() + 4242;
  ASSERT_EQ(::symlink("/tmp", QFile::encodeName(tmp.filePath("vantor-" + QString::number(other))).constData()), 0);
  EXPECT_EQ(InstanceFolder("", other, tmp.path()), "");
  if (::geteuid() == 0) {
    const QString taken = tmp.filePath("vantor-7777");
    ASSERT_EQ(::mkdir(QFile::encodeName(taken).constData(), 0777), 0);
    ASSERT_EQ(::chown(QFile::encodeName(taken).constData(), 4243, 4243), 0);
    EXPECT_EQ(InstanceFolder("", 7777, tmp.path()), "");
  }
  // With no key at all the program runs, unguarded.
  TSingleInstance unguarded{QString()};
  EXPECT_TRUE(unguarded.Claim());
}

// A listener of another user at our socket's name is not asked to show
// anything, and our start is not given up for it.
TEST(SingleInstance, AnotherUsersListenerIsNotTakenForTheRunningCopy) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to listen as another user";
  QTemporaryDir dir;
  ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 01777), 0);
  const QString key = dir.filePath("vantor.sock");
  const QByteArray path = QFile::encodeName(key);
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t squatter = ::fork();
  ASSERT_GE(squatter, 0);
  if (squatter == 0) {
    // Another user listens at the name and reports what it is sent.
    if (::setgid(4242) != 0 || ::setuid(4242) != 0) ::_exit(3);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.constData());
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 4) != 0) ::_exit(4);
    (void)!::write(ready[1], "r", 1);
    const int c = ::accept(fd, nullptr, nullptr);
    char buf[16] = {};
    const ssize_t n = ::read(c, buf, sizeof buf - 1);
    ::_exit(n > 0 && std::string(buf).find("activate") == 0 ? 1 : 0);
  }
  char r = 0;
  ASSERT_EQ(::read(ready[0], &r, 1), 1);
  TSingleInstance ours(key);
  EXPECT_TRUE(ours.Claim());
  int status = 0;
  ASSERT_EQ(::waitpid(squatter, &status, 0), squatter);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the other user's listener was sent activate";
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
  EXPECT_TRUE(WaitUntil([&] { return endings == 1; }));
  EXPECT_TRUE(shutdown.ShuttingDown);
  ::raise(SIGTERM);  // its note to the GUI thread is written before raise returns
  ASSERT_TRUE(vxtest::DeliverPosted());
  EXPECT_EQ(endings, 1);
}
