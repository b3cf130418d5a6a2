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
  QTimer::singleShot(0, QCoreApplication::instance(), [&] { delivered = true; });
  return WaitUntil([&] { return delivered; });
}

}  // namespace vxtest
