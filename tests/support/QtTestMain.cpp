// The main() of the test programs that need a Qt application object: a
// QApplication where VX_TEST_WIDGETS is defined (widget tests), a
// QCoreApplication otherwise (event loop and child processes only). Without
// a display, widgets draw offscreen; ctest also lists the cases before it
// sets the environment.
#include <gtest/gtest.h>

#ifdef VX_TEST_WIDGETS
#include <QApplication>
using TTestApplication = QApplication;
#else
#include <QCoreApplication>
using TTestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TTestApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
