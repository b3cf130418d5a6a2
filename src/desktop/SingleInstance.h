// One running Vantor per user and display session. The first copy listens on
// a local socket; a second start connects, asks the first to show itself and
// ends. A socket left by a crashed copy answers nobody: it is removed and the
// new start takes its place.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace vx {

// The socket's name for a user and a display session; the same inputs give
// the same name, so copies on another display or of another user never meet.
QString InstanceKey(const QString& program, unsigned uid, const QString& display, const QString& session);

// The key of the running process's user and session, as a path in a folder
// only the user can enter; "" when no such folder can be had (the program
// then runs without the guard rather than trust a shared place).
QString CurrentInstanceKey(const QString& program);

// The folder for the socket: the user's runtime folder, else tmp/vantor-<uid>
// made with mode 0700. A folder by that name that is not the user's own
// private folder (another user's, a link, open to others) is refused: "".
QString InstanceFolder(const QString& runtime, unsigned uid, const QString& tmp);

class TSingleInstance : public QObject {
  Q_OBJECT
 public:
  explicit TSingleInstance(QString key, QObject* parent = nullptr);
  ~TSingleInstance() override;

  // True: this is the first copy and now listens. False: another copy runs
  // and has been asked to show itself; this one should end (exit code 0).
  bool Claim();

 signals:
  // A later start asked this copy to show itself.
  void ActivateRequested();

 private:
  bool AskRunningCopy();
  // Whether the other end of a connection runs as this user.
  static bool SameUser(qintptr socket);
  QString Key_;
  QLocalServer* Server_ = nullptr;
};

}  // namespace vx
