// The orderly end of a desktop session: the session manager's request to
// save (commitDataRequest) and SIGTERM both become one SessionEnding signal,
// delivered on the GUI thread. The window then sets its ShuttingDown flag and
// closes as on a normal close, automation clients or not, saving settings.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace vx {

class TSafeShutdown : public QObject {
  Q_OBJECT
 public:
  explicit TSafeShutdown(QObject* parent = nullptr);
  ~TSafeShutdown() override;

  bool ShuttingDown = false;

 signals:
  void SessionEnding();

 private:
  void Begin();
  QSocketNotifier* Notifier_ = nullptr;
};

}  // namespace vx
