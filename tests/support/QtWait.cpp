#include "support/QtWait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

namespace vxtest {

testing::AssertionResult WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired())
      return testing::AssertionFailure() << "the condition did not hold within " << timeoutMs << " ms";
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(1);  // a condition outside the loop (a file, a child) is polled, not spun on
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult DeliverPosted() {
  bool delivered = false;
  QObject sentinel;  // should the wait give up, the event dies with it, not later on a gone frame
  QTimer::singleShot(0, &sentinel, [&] { delivered = true; });
  return WaitUntil([&] { return delivered; });
}

}  // namespace vxtest
