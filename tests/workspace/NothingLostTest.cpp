// Nothing is lost by dismissing a question or by minimising the window: the real question box
// dismissed with Esc or its close button leaves the picture, the caption and the changed flag as
// they were and opens no dialog; the colour chooser hides and returns with the main window.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

#include "support/WindowDriver.h"

namespace {

// While the next modal window is open: records its title and dismisses it (Esc or its close
// button); any further modal window is recorded and closed too.
struct Dismisser {
  QStringList seen;
  bool byEsc = true;
  QObject alive;  // the watch ends with the dismisser: no timer of it outlives the test
  void Arm() {
    QTimer::singleShot(0, &alive, [this] {
      QWidget* box = QApplication::activeModalWidget();
      if (!box) return Arm();
      seen << box->windowTitle();
      if (byEsc) {
        QTest::keyClick(box, Qt::Key_Escape);
      } else {
        box->close();
      }
      Arm();
    });
  }
};

TEST(NothingLost, DismissingTheRealQuestionChangesNothing) {
  struct Case {
    const char* command;
    bool byEsc;
  };
  for (const Case c : {Case{"Menu_File_New", true}, Case{"Menu_File_New", false}, Case{"Menu_File_Open", true},
                       Case{"Menu_File_Open", false}}) {
    WindowDriver d;
    d.ClickTool(7);
    d.Drag({20, 20}, {120, 80});
    const QImage drawn = d.Image();
    const QString caption = d.w().windowTitle();
    SetDialogSeam(nullptr);  // the real question box
    Dismisser dismiss;
    dismiss.byEsc = c.byEsc;
    dismiss.Arm();
    d.Trigger(c.command);
    SetDialogSeam(&d.dialogs);
    // Only the question showed: no file dialog followed it.
    EXPECT_EQ(dismiss.seen, QStringList{QStringLiteral("是否保存改变")}) << c.command;
    EXPECT_EQ(d.Image(), drawn) << c.command;
    EXPECT_EQ(d.w().windowTitle(), caption) << c.command;
    EXPECT_TRUE(d.State().ImageChanged) << c.command;
    EXPECT_TRUE(d.dialogs.dialogs.isEmpty()) << c.command;
  }
}

TEST(NothingLost, TheColourChooserHidesAndReturnsWithTheMinimisedWindow) {
  WindowDriver d;
  d.Trigger("Menu_Tools_Forcolor");
  QWidget* chooser = d.Find<QWidget>("ColorSlt");
  ASSERT_TRUE(chooser->isVisible());
  d.w().showMinimized();
  QApplication::processEvents();
  EXPECT_FALSE(chooser->isVisible());
  EXPECT_TRUE(d.Action("Menu_Tools_Forcolor")->isChecked());
  d.w().showNormal();
  QApplication::processEvents();
  EXPECT_TRUE(chooser->isVisible());
  EXPECT_TRUE(d.Action("Menu_Tools_Forcolor")->isChecked());
  // Its own close box still closes it and clears the check mark.
  chooser->close();
  EXPECT_FALSE(d.Action("Menu_Tools_Forcolor")->isChecked());
}

}  // namespace
