// TProcess: the Qt process runner. The child runs with its standard input on
// the null device (the outside program waits on a prompt otherwise) and its
// output discarded; its end is reported on the thread that owns the runner.
#pragma once

#include <QObject>
#include <QProcess>
#include <QTimer>

#include "engine/ProcessRunner.h"

namespace vx {

class TProcess : public QObject, public IProcessRunner {
  Q_OBJECT
 public:
  explicit TProcess(QObject* parent = nullptr);
  ~TProcess() override;

  void Run(const TProcessCommand& command) override;
  void Terminate() override;
  bool Running() const override;
  void Defer(int ms, std::function<void()> fn) override;

  bool Cancelled() const { return Cancelled_; }

 private:
  void Finished(int exitCode, QProcess::ExitStatus status);
  void Failed(QProcess::ProcessError error);
  void Report(uint32_t exitCode);

  QProcess* Child_ = nullptr;
  QTimer* Deferred_ = nullptr;
  bool Cancelled_ = false;
  bool Reported_ = false;
};

}  // namespace vx
