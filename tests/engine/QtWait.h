#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <functional>

namespace vxtest {

// Runs the event loop until done() holds or the time is up.
inline bool WaitUntil(const std::function<bool()>& done, int ms = 10000) {
  QDeadlineTimer deadline(ms);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(1);
  }
  return true;
}

// Runs the event loop for a while (to see that nothing more arrives).
inline void Pump(int ms) {
  WaitUntil([] { return false; }, ms);
}

}  // namespace vxtest
