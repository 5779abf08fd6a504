// The widget tests need one QApplication for the whole run.

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  // No screen needed, also when CTest lists the tests; QT_QPA_PLATFORM=xcb shows them on one.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
