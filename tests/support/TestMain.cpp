// The tests' main(): one QApplication on the offscreen platform for the whole test program, so
// that tests can build the real windows and drive them with Qt Test events. Listing the tests
// (as ctest does to learn their names) starts no application.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

#include "dialogs/ChineseInterface.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                  : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  QApplication::setFont(QFont("WenQuanYi Micro Hei", 9));
  InstallChineseInterface();  // as the program does: Qt's own buttons and dialogs in Chinese
  return RUN_ALL_TESTS();
}
