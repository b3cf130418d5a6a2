#include "desktop/SafeShDown.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace vx {

#ifndef _WIN32
namespace {

// The handler only writes a byte; the event loop does the work.
int gTermPipe[2] = {-1, -1};

void OnTerm(int) {
  const char b = 1;
  [[maybe_unused]] auto n = ::write(gTermPipe[1], &b, 1);
}

}  // namespace
#endif

TSafeShutdown::TSafeShutdown(QObject* parent) : QObject(parent) {
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    connect(
        app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { Begin(); }, Qt::DirectConnection);
#ifndef _WIN32
  if (gTermPipe[0] < 0 && ::pipe2(gTermPipe, O_CLOEXEC) != 0) return;
  struct sigaction sa {};
  sa.sa_handler = OnTerm;
  sigemptyset(&sa.sa_mask);
  ::sigaction(SIGTERM, &sa, nullptr);
  Notifier_ = new QSocketNotifier(gTermPipe[0], QSocketNotifier::Read, this);
  connect(Notifier_, &QSocketNotifier::activated, this, [this] {
    char b;
    [[maybe_unused]] auto n = ::read(gTermPipe[0], &b, 1);
    Begin();
  });
#endif
}

TSafeShutdown::~TSafeShutdown() {
#ifndef _WIN32
  if (Notifier_) ::signal(SIGTERM, SIG_DFL);
#endif
}

void TSafeShutdown::Begin() {
  if (ShuttingDown) return;
  ShuttingDown = true;
  emit SessionEnding();
}

}  // namespace vx
