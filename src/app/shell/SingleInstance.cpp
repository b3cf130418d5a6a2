#include "app/shell/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace vx {

namespace {

// What a second start sends; anything else on the socket is ignored.
constexpr char kActivate[] = "activate\n";
constexpr int kTimeoutMs = 2000;

}  // namespace

QString InstanceKey(const QString& program, unsigned uid, const QString& display, const QString& session) {
  QString tail = display + "-" + session;
  for (QChar& c : tail)
    if (!c.isLetterOrNumber() && c != '-' && c != '.') c = '_';
  return program + "-" + QString::number(uid) + "-" + tail;
}

QString CurrentInstanceKey(const QString& program) {
#ifdef _WIN32
  const unsigned uid = 0;
#else
  const unsigned uid = ::getuid();
#endif
  QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (display.isEmpty()) display = qEnvironmentVariable("DISPLAY");
  const QString key = InstanceKey(program, uid, display, qEnvironmentVariable("XDG_SESSION_ID"));
  // In the user's runtime folder the socket is private to the user.
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return runtime.isEmpty() ? key : QDir(runtime).filePath(key);
}

TSingleInstance::TSingleInstance(QString key, QObject* parent) : QObject(parent), Key_(std::move(key)) {}

TSingleInstance::~TSingleInstance() {
  if (Server_) Server_->close();
}

bool TSingleInstance::AskRunningCopy() {
  QLocalSocket socket;
  socket.connectToServer(Key_);
  if (!socket.waitForConnected(kTimeoutMs)) return false;
  socket.write(kActivate);
  socket.waitForBytesWritten(kTimeoutMs);
  socket.disconnectFromServer();
  return true;
}

bool TSingleInstance::Claim() {
  if (AskRunningCopy()) return false;
  // Nobody answered: whatever is left at the name is a dead copy's.
  QLocalServer::removeServer(Key_);
  Server_ = new QLocalServer(this);
  Server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!Server_->listen(Key_)) {
    // Another start won the race between our two steps: let it serve.
    if (AskRunningCopy()) return false;
    return true;  // no socket at all: run without the guard rather than not at all
  }
  connect(Server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* s = Server_->nextPendingConnection()) {
      connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
      connect(s, &QLocalSocket::readyRead, this, [this, s] {
        if (s->canReadLine() && s->readLine(64) == kActivate) emit ActivateRequested();
      });
    }
  });
  return true;
}

}  // namespace vx
