// The window fits the screen it starts on, at device pixel ratios 1, 1.5 and 2, on small screens
// as on large ones: the whole window, its frame included, lies in the screen's free area, and on a
// screen too low for the tool panel the panel scrolls, every control of it within reach.
//
// Each screen runs in a program of its own (the screen and the ratio are fixed when a program
// starts): the test below starts this test program again on an offscreen screen of the given size
// with QT_SCALE_FACTOR set, and there the one test that looks at the window runs.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include "support/OffscreenScreen.h"
#include "support/WindowDriver.h"

namespace {

// Set in the program started for one screen: "WIDTHxHEIGHT@RATIO".
constexpr const char* kScreenVariable = "QM_WINDOW_FIT_SCREEN";

}  // namespace

TEST(WindowFitOnOneScreen, TheWindowAndItsToolPanelFitTheScreen) {
  const QString screen = qEnvironmentVariable(kScreenVariable);
  if (screen.isEmpty()) GTEST_SKIP() << "runs in the program WindowFit starts for one screen";
  WindowDriver d;
  ImageDraw& w = d.w();
  QApplication::processEvents();
  ASSERT_EQ(QStringLiteral("@%1").arg(w.devicePixelRatioF()), screen.mid(screen.indexOf('@')));
  const QRect free = w.screen()->availableGeometry();
  EXPECT_TRUE(free.contains(w.frameGeometry())) << "frame " << w.frameGeometry().width() << "x"
                                                << w.frameGeometry().height() << " on " << free.width() << "x"
                                                << free.height();
  // The usual size where there is room for it; else close to the screen's.
  EXPECT_GE(w.width(), std::min(980, free.width() - 16));
  EXPECT_GE(w.height(), std::min(660, free.height() - 48));
  // The tool panel scrolls exactly when its column is taller than its room, and brings every
  // control into view, whole; the picture keeps most of the window.
  auto* panel = w.findChild<QScrollArea*>(QStringLiteral("ToolPanel"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->verticalScrollBar()->isVisible(),
            panel->widget()->minimumSizeHint().height() > panel->viewport()->height());
  for (const char* name : {"Tools1", "Tools50", "FStay8", "ToolHint"}) {
    QWidget* control = d.Find(name);
    panel->ensureWidgetVisible(control, 0, 0);
    QApplication::processEvents();
    EXPECT_TRUE(panel->viewport()->rect().contains(QRect(control->mapTo(panel->viewport(), QPoint()), control->size())))
        << name << " cannot be brought into view";
  }
  EXPECT_GE(d.Drawing()->width(), w.width() / 2);
}

TEST(WindowFit, StartsWithinTheScreenAtEveryRatio) {
  if (!qEnvironmentVariableIsEmpty(kScreenVariable)) GTEST_SKIP() << "starts the programs; not from inside one";
  struct Case {
    QSize pixels;
    const char* ratio;
  };
  const Case cases[] = {
      {{1024, 600}, "1"},    // a small laptop
      {{1366, 768}, "1.5"},  // 911 x 512 at the ratio
      {{1600, 1000}, "2"},   // 800 x 500
      {{1280, 800}, "2"},    // 640 x 400: less than the window's own least size
      {{2560, 1600}, "2"},   // room for the usual size
  };
  for (const Case& c : cases) {
    const QString screen = QStringLiteral("%1x%2@%3").arg(c.pixels.width()).arg(c.pixels.height()).arg(c.ratio);
    QTemporaryDir folder;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), OffscreenPlatform(folder, c.pixels));
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(c.ratio));
    env.insert(QString::fromLatin1(kScreenVariable), screen);
    env.remove(QStringLiteral("GTEST_FILTER"));
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=WindowFitOnOneScreen.*")});
    ASSERT_TRUE(child.waitForStarted(30000));
    ASSERT_TRUE(child.waitForFinished(120000));
    const QString out = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << screen.toStdString() << "\n" << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("[  PASSED  ] 1 test"))) << screen.toStdString() << "\n" << out.toStdString();
    EXPECT_FALSE(out.contains(QStringLiteral("SKIPPED"))) << screen.toStdString();
  }
}
