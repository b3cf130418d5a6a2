// TProcess: the Qt process runner. The child runs with its standard input on
// the null device (the outside program waits on a prompt otherwise) and its
// output discarded; its end is reported on the thread that owns the runner.
#pragma once

#include <QObject>
#include <QProcess>
#include <QTimer>

#include <memory>

#include "engine/ProcessRunner.h"

namespace vx {

class TProcess : public QObject, public IProcessRunner {
  Q_OBJECT
 public:
  // How long Terminate waits for a killed child to be gone.
  static constexpr int kDefaultReapLimitMs = 5000;

  explicit TProcess(QObject* parent = nullptr, int reapLimitMs = kDefaultReapLimitMs);
  ~TProcess() override;

  // A child that is still there when a killed one could not be reaped makes
  // the run fail at once (kExitCodeNotReaped), reported like any other end:
  // a second copy of the outside program would share its files.
  void Run(const TProcessCommand& command) override;
  // Waits at most the reap limit; a child that outlives it is kept watched
  // until it is gone, and Running() is false meanwhile.
  void Terminate() override;
  bool Running() const override;
  void Defer(int ms, std::function<void()> fn) override;

  bool Cancelled() const { return Cancelled_; }

 protected:
  // Sends the kill signal (tests stand in a signal that does not land, as for
  // a child stuck in the kernel).
  virtual void Kill(QProcess& child);

 private:
  void Finished(int exitCode, QProcess::ExitStatus status);
  void Failed(QProcess::ProcessError error);
  void Report(uint32_t exitCode);

  QProcess* Child_ = nullptr;
  QTimer* Deferred_ = nullptr;
  QProcess* Unreaped_ = nullptr;  // killed, but not gone within the limit
  int ReapLimitMs_;
  unsigned RunNumber_ = 0;
  bool Cancelled_ = false;
  bool Reported_ = false;
};

// A runner per worker of the batch (engine/WorkerPool.h).
inline std::unique_ptr<IProcessRunner> MakeProcessRunner() { return std::make_unique<TProcess>(); }

}  // namespace vx
