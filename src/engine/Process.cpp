#include "engine/Process.h"

#include <QStringList>

#ifdef __linux__
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>
#endif

namespace vx {

TProcess::TProcess(QObject* parent, int reapLimitMs) : QObject(parent), ReapLimitMs_(reapLimitMs) {}

TProcess::~TProcess() {
  OnFinished = nullptr;
  Terminate();
}

void TProcess::Run(const TProcessCommand& command) {
  // Only one child is watched at a time; a leftover one is killed silently.
  Terminate();
  Cancelled_ = false;
  Reported_ = false;
  ++RunNumber_;
  if (Unreaped_) {
    // Reported from the event loop, as every end is, never from inside Run.
    QMetaObject::invokeMethod(
        this,
        [this, run = RunNumber_] {
          if (run == RunNumber_) Report(kExitCodeNotReaped);
        },
        Qt::QueuedConnection);
    return;
  }

  auto* child = new QProcess(this);
  Child_ = child;
  child->setProgram(QString::fromLocal8Bit(command.Program.c_str()));
  QStringList args;
  for (const auto& a : command.Arguments) args << QString::fromLocal8Bit(a.c_str());
  child->setArguments(args);
  QString dir = QString::fromLocal8Bit(command.Directory.c_str()).trimmed();
  if (!dir.isEmpty()) child->setWorkingDirectory(dir);
  child->setStandardInputFile(QProcess::nullDevice());
  child->setStandardOutputFile(QProcess::nullDevice());
  child->setStandardErrorFile(QProcess::nullDevice());
#ifdef __linux__
  // The child must not outlive us: a killed front end would otherwise leave
  // it writing into the data folder beside the next run.
  const pid_t parent = ::getpid();
  child->setChildProcessModifier([parent] {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(127);  // the parent died before prctl
  });
#endif

  connect(child, &QProcess::finished, this, [this, child](int code, QProcess::ExitStatus st) {
    if (child == Child_) Finished(code, st);
  });
  connect(child, &QProcess::errorOccurred, this, [this, child](QProcess::ProcessError e) {
    if (child == Child_) Failed(e);
  });
  child->start(QIODevice::NotOpen);
}

void TProcess::Defer(int ms, std::function<void()> fn) {
  if (!Deferred_) {
    Deferred_ = new QTimer(this);
    Deferred_->setSingleShot(true);
  }
  Deferred_->disconnect();
  connect(Deferred_, &QTimer::timeout, this, [fn = std::move(fn)] { fn(); });
  Deferred_->start(ms);
}

void TProcess::Terminate() {
  Cancelled_ = true;
  if (Deferred_) Deferred_->stop();
  QProcess* child = Child_;
  if (!child) return;
  Child_ = nullptr;  // late signals of this child are ignored from here on
  child->disconnect(this);
  if (child->state() != QProcess::NotRunning) {
    Kill(*child);
    if (!child->waitForFinished(ReapLimitMs_) && child->state() != QProcess::NotRunning) {
      // Stuck (in the kernel, say): keep watching it rather than block here.
      Unreaped_ = child;
      connect(child, &QProcess::finished, this, [this, child] {
        if (Unreaped_ == child) Unreaped_ = nullptr;
        child->deleteLater();
      });
      return;
    }
  }
  child->deleteLater();
}

void TProcess::Kill(QProcess& child) { child.kill(); }

bool TProcess::Running() const { return Child_ && Child_->state() != QProcess::NotRunning; }

void TProcess::Finished(int exitCode, QProcess::ExitStatus status) {
  Report(status == QProcess::NormalExit ? static_cast<uint32_t>(exitCode) : kExitCodeCrashed);
}

void TProcess::Failed(QProcess::ProcessError error) {
  // A child that could not be started never sends "finished".
  if (error == QProcess::FailedToStart) Report(kExitCodeNotStarted);
}

void TProcess::Report(uint32_t exitCode) {
  if (Reported_) return;
  Reported_ = true;
  QProcess* child = Child_;
  Child_ = nullptr;
  if (child) child->deleteLater();
  if (!Cancelled_ && OnFinished) OnFinished(exitCode);
}

}  // namespace vx
