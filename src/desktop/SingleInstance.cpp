#include "desktop/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <cerrno>

#ifndef _WIN32
#include <sys/socket.h>
#include <sys/stat.h>
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
  // A bare name would land in a folder every user shares, where another
  // user could listen first and be asked to show "our" window.
  const QString folder = InstanceFolder(qEnvironmentVariable("XDG_RUNTIME_DIR"), uid, QDir::tempPath());
  return folder.isEmpty() ? QString() : QDir(folder).filePath(key);
}

QString InstanceFolder(const QString& runtime, unsigned uid, const QString& tmp) {
  if (!runtime.isEmpty()) return runtime;
#ifdef _WIN32
  (void)uid;
  return QDir(tmp).filePath("vantor");
#else
  const QString folder = QDir(tmp).filePath("vantor-" + QString::number(uid));
  const QByteArray path = QFile::encodeName(folder);
  if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return {};
  struct stat st {};
  if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != uid) return {};
  if ((st.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0) return {};
  return folder;
#endif
}

bool TSingleInstance::SameUser(qintptr socket) {
#if defined(__linux__)
  ucred cred{};
  socklen_t len = sizeof cred;
  if (::getsockopt(int(socket), SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0) return false;
  return cred.uid == ::geteuid();
#else
  (void)socket;
  return true;
#endif
}

TSingleInstance::TSingleInstance(QString key, QObject* parent) : QObject(parent), Key_(std::move(key)) {}

TSingleInstance::~TSingleInstance() {
  if (Server_) Server_->close();
}

bool TSingleInstance::AskRunningCopy() {
  QLocalSocket socket;
  socket.connectToServer(Key_);
  if (!socket.waitForConnected(kTimeoutMs)) return false;
  // Only a copy of our own user is asked; another user's listener is no
  // copy of ours, whatever its name.
  if (!SameUser(socket.socketDescriptor())) {
    socket.abort();
    return false;
  }
  socket.write(kActivate);
  socket.waitForBytesWritten(kTimeoutMs);
  socket.disconnectFromServer();
  return true;
}

bool TSingleInstance::Claim() {
  if (Key_.isEmpty()) return true;  // no private place: run unguarded
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
      if (!SameUser(s->socketDescriptor())) {
        s->abort();
        s->deleteLater();
        continue;
      }
      connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
      connect(s, &QLocalSocket::readyRead, this, [this, s] {
        if (s->canReadLine() && s->readLine(64) == kActivate) emit ActivateRequested();
      });
    }
  });
  return true;
}

}  // namespace vx
