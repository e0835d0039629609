// The tests' main(): one QApplication on the offscreen platform for the whole test program, so
// that tests can build the real windows and drive them with Qt Test events. Listing the tests
// (as ctest does to learn their names) starts no application.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QTemporaryDir>

#include "dialogs/ChineseInterface.h"
#include "dialogs/ProgramStyle.h"
#include "support/OffscreenScreen.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  // The plain offscreen platform gets a desktop's screen (its own is 800 x 800), as a teacher's
  // would be; a platform given with options of its own keeps them.
  // The tests neither read nor write the user's settings (Qt's file dialogs keep theirs in the
  // configuration folder): each test program has a folder of its own.
  const QTemporaryDir configFolder;
  if (configFolder.isValid()) qputenv("XDG_CONFIG_HOME", configFolder.path().toLocal8Bit());
  // Nor do their windows' recovery copies reach the user's: a copy left by one test program is
  // never offered to another, nor to the user.
  const QTemporaryDir stateFolder;
  if (stateFolder.isValid()) qputenv("XDG_STATE_HOME", stateFolder.path().toLocal8Bit());
  const QTemporaryDir screenFolder;
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.isEmpty() || platform == "offscreen")
    qputenv("QT_QPA_PLATFORM", OffscreenPlatform(screenFolder, QSize(1920, 1080)).toLocal8Bit());
  QApplication app(argc, argv);
  QApplication::setFont(QFont("WenQuanYi Micro Hei", 9));
  InstallChineseInterface();  // as the program does: Qt's own buttons and dialogs in Chinese
  InstallProgramStyle();
  return RUN_ALL_TESTS();
}
