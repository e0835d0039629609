// Unsaved work: ImageChanged says "the picture holds work that is in no file", and the question
// "是否保存改变" follows it. Opening and starting a new picture never throw work away.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <functional>

#include "document/PictureFiles.h"
#include "support/WindowDriver.h"

namespace {
const QString kQuestion = QStringLiteral("是否保存改变|图像已经改变，是否保存图像？");

void Figure(WindowDriver& d) {
  d.ClickTool(7);
  d.Drag({40, 30}, {120, 90});
}

void Selected(WindowDriver& d) {
  if (d.State().ToolId != ToolId::Selection) d.ClickTool(1);
  d.Drag({30, 20}, {90, 70});
}

// Everything of the window that Open or New must leave alone when they do not go on.
struct Snapshot {
  QImage picture, backing;
  QString caption;
  bool changed, undo, redo;
  explicit Snapshot(const WindowDriver& d)
      : picture(d.Image()),
        backing(d.View().History.Img_Copy.image),
        caption(d.window->windowTitle()),
        changed(d.State().ImageChanged),
        undo(d.Enabled("Menu_Edit_Undo")),
        redo(d.Enabled("Menu_Edit_Redo")) {}
  void ExpectSame(const WindowDriver& d, const char* what) const {
    EXPECT_EQ(d.Image(), picture) << what;
    EXPECT_EQ(d.View().History.Img_Copy.image, backing) << what;
    EXPECT_EQ(d.window->windowTitle(), caption) << what;
    EXPECT_EQ(d.State().ImageChanged, changed) << what;
    EXPECT_EQ(d.Enabled("Menu_Edit_Undo"), undo) << what;
    EXPECT_EQ(d.Enabled("Menu_Edit_Redo"), redo) << what;
  }
};

}  // namespace

// One window through a day's steps: after each, whether the picture holds unsaved work and how many
// questions were asked so far.
TEST(UnsavedWork, ChangedFollowsEveryStepAndTheQuestionFollowsIt) {
  WindowDriver d;
  QTemporaryDir dir;
  QImage opened(320, 200, QImage::Format_RGB32);
  opened.fill(qRgb(250, 250, 250));
  QGuiApplication::clipboard()->setImage(QImage(8, 8, QImage::Format_RGB32));
  struct Step {
    const char* what;
    std::function<void()> run;
    bool changed;
    int questions;
  };
  // Each save writes a new file: replacing one would ask first.
  int saves = 0;
  auto saved = [&] { return dir.filePath(QStringLiteral("saved-%1.png").arg(++saves)); };
  const Step steps[] = {
      {"start-up", [] {}, false, 0},
      {"New on the picture of start-up does nothing", [&] { d.Trigger("Menu_File_New"); }, false, 0},
      {"a figure", [&] { Figure(d); }, true, 0},
      {"a cancelled save", [&] { d.Trigger("Menu_File_Save"); }, true, 0},
      {"a failed save", [&] { d.dialogs.saveNames = {dir.filePath("no/such/folder.bmp")};
                              d.Trigger("Menu_File_Save"); }, true, 0},
      {"a save", [&] { d.dialogs.saveNames = {saved()}; d.Trigger("Menu_File_Save"); }, false, 0},
      {"a cancelled save of saved work", [&] { d.Trigger("Menu_File_Save"); }, false, 0},
      {"making a selection", [&] { Selected(d); }, false, 0},
      {"全选", [&] { d.Trigger("Menu_Edit_SelectAll"); }, false, 0},
      {"a flip", [&] { d.Trigger("Menu_Rot_Sp"); }, true, 0},
      {"New asks", [&] { d.dialogs.answers = {QMessageBox::No}; d.Trigger("Menu_File_New"); }, false, 1},
      {"New on a picture cleared by New asks nothing", [&] { d.Trigger("Menu_File_New"); }, false, 1},
      {"undo", [&] { d.Trigger("Menu_Edit_Undo"); }, true, 1},
      {"an open asks and reads the file whole", [&] {
         d.dialogs.answers = {QMessageBox::No};
         d.OpenPicture(opened);
       }, false, 2},
      {"New right after an open clears without asking", [&] { d.Trigger("Menu_File_New"); }, false, 2},
      {"redo", [&] { d.Trigger("Menu_Edit_Redo"); }, true, 2},
      {"save", [&] { d.dialogs.saveNames = {saved()}; d.Trigger("Menu_File_Save"); }, false, 2},
      {"paste", [&] { d.Trigger("Menu_Edit_Paster"); }, true, 2},
      {"save", [&] { d.dialogs.saveNames = {saved()}; d.Trigger("Menu_File_Save"); }, false, 2},
      {"a rotation", [&] { Selected(d); d.Trigger("Menu_Rot_Nss"); }, true, 2},
      {"save", [&] { d.dialogs.saveNames = {saved()}; d.Trigger("Menu_File_Save"); }, false, 2},
      {"delete", [&] { Selected(d); d.Trigger("Menu_Edit_Del"); }, true, 2},
      {"save", [&] { d.dialogs.saveNames = {saved()}; d.Trigger("Menu_File_Save"); }, false, 2},
      {"a fill", [&] { d.ClickTool(24); d.Drag({200, 100}, {200, 100}, 0); }, true, 2},
      {"save", [&] { d.dialogs.saveNames = {saved()}; d.Trigger("Menu_File_Save"); }, false, 2},
      {"the eraser", [&] { d.ClickTool(2); d.Drag({60, 60}, {70, 60}); }, true, 2},
      {"save", [&] { d.dialogs.saveNames = {saved()}; d.Trigger("Menu_File_Save"); }, false, 2},
      {"a resize", [&] { d.ResizePicture(640, 240); }, true, 2},
      {"save", [&] { d.dialogs.saveNames = {saved()}; d.Trigger("Menu_File_Save"); }, false, 2},
      {"a stamped text", [&] {
         d.ClickTool(3);
         d.Press({50, 50});
         d.Release({50, 50});
         d.Find<QComboBox>("Txt")->setEditText(QStringLiteral("F"));
         QTest::mouseClick(d.Find<QPushButton>("Command1"), Qt::LeftButton);
       }, true, 2},
      {"a moved selection", [&] {
         d.dialogs.saveNames = {saved()};
         d.Trigger("Menu_File_Save");
         Selected(d);
         d.FramePress({5, 5});
         d.FrameRelease({25, 5});
       }, true, 2},
  };
  for (const Step& step : steps) {
    step.run();
    EXPECT_EQ(d.State().ImageChanged, step.changed) << step.what;
    EXPECT_EQ(d.dialogs.asked.size(), step.questions) << step.what;
  }
  EXPECT_EQ(d.Picture().Size(), QSize(640, 240));
  // Closing a picture whose work is saved asks nothing.
  d.dialogs.saveNames = {saved()};
  d.Trigger("Menu_File_Save");
  EXPECT_TRUE(d.w().close());
  EXPECT_EQ(d.dialogs.asked.size(), 2);
}

TEST(UnsavedWork, OpenAndNewThatDoNotGoOnLeaveEverythingAsItWas) {
  QTemporaryDir dir;
  QFile broken(dir.filePath("broken.bmp"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("BM not a picture");
  broken.close();
  struct Case {
    const char* what;
    QList<QMessageBox::StandardButton> answers;
    QStringList openNames;
    int fileDialogs;  // the open or save dialogs shown
    const char* command = "Menu_File_Open";
  };
  const Case cases[] = {
      {"否, then the open dialog is cancelled", {QMessageBox::No}, {}, 1},
      {"否, then an unreadable file", {QMessageBox::No}, {broken.fileName()}, 1},
      {"the question dismissed", {QMessageBox::Cancel}, {}, 0},
      {"是, then the save dialog is cancelled: no open dialog", {QMessageBox::Yes}, {}, 1},
      {"New: 是, then the save dialog is cancelled", {QMessageBox::Yes}, {}, 1, "Menu_File_New"},
      {"New: the question dismissed", {QMessageBox::Cancel}, {}, 0, "Menu_File_New"},
  };
  for (const Case& c : cases) {
    WindowDriver d;
    Figure(d);
    Figure(d);  // undo would bring back the first figure only
    const Snapshot before(d);
    d.dialogs.answers.assign(c.answers.begin(), c.answers.end());
    d.dialogs.openNames.assign(c.openNames.begin(), c.openNames.end());
    d.Trigger(c.command);
    before.ExpectSame(d, c.what);
    EXPECT_EQ(d.dialogs.dialogs.size(), c.fileDialogs) << c.what;
    EXPECT_EQ(d.dialogs.asked, QStringList{kQuestion}) << c.what;
  }
}

TEST(UnsavedWork, AnOpenedFileGivesTheCanvasItsSize) {
  WindowDriver d;
  d.ResizePicture(900, 400);
  const std::pair<QSize, QSize> sizes[] = {
      {QSize(320, 200), QSize(320, 200)},  // smaller than the canvas: the canvas shrinks to it
      {QSize(700, 30), QSize(700, 50)},    // a side below the smallest canvas keeps the minimum
      {QSize(1000, 500), QSize(1000, 500)},
  };
  for (const auto& [file, canvas] : sizes) {
    QImage picture(file, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    ASSERT_TRUE(d.OpenPicture(picture));
    EXPECT_EQ(d.Picture().Size(), canvas);
    EXPECT_EQ(d.Pixel(file.width() - 1, file.height() - 1), qRgb(10, 20, 30));
    if (canvas != file) {
      EXPECT_EQ(d.Pixel(0, canvas.height() - 1), kWhite);
    }
  }
}

// A label typed and not yet stamped is unsaved work: 新建, 打开 and closing the window ask about it
// before anything is stamped. Dismissed, the question leaves the label showing and everything as it
// was; 是 stamps it and saves it; 否 lets the command go on without it.
TEST(UnsavedWork, ALabelOnShowIsAskedAboutAndStampedOnlyByYes) {
  using B = QMessageBox;
  struct Case {
    const char* command;  // nullptr: closing the window
    B::StandardButton answer;
    bool labelShows;      // still on show afterwards, not stamped
    bool blank;           // the picture is cleared
  };
  const Case cases[] = {
      {"Menu_File_New", B::Cancel, true, false},  {"Menu_File_New", B::Yes, false, false},
      {"Menu_File_New", B::No, false, true},      {"Menu_File_Open", B::Cancel, true, false},
      {"Menu_File_Open", B::Yes, false, false},   {"Menu_File_Open", B::No, true, false},  // the open dialog cancelled
      {nullptr, B::Cancel, true, false},          {nullptr, B::Yes, false, false},
      {nullptr, B::No, false, false},
  };
  for (const Case& c : cases) {
    const std::string what = std::string(c.command ? c.command : "closing") + " answered " +
                             (c.answer == B::Yes ? "是" : c.answer == B::No ? "否" : "Esc");
    QTemporaryDir dir;
    WindowDriver d;
    d.ClickTool(3);
    d.Press({40, 40});
    d.Release({40, 40});
    d.Find<QComboBox>("Txt")->setEditText(QStringLiteral("F=ma"));
    QWidget* textWindow = d.Find<QWidget>("TypeTxt");
    const QImage blank = d.View().History.Img_Copy.image, preview = d.Image();
    ASSERT_NE(preview, blank);
    const QString caption = d.w().windowTitle();
    d.dialogs.answers = {c.answer};
    d.dialogs.saveNames = {dir.filePath("label.png")};  // an open dialog that follows is cancelled
    const bool closed = c.command ? (d.Trigger(c.command), false) : d.w().close();
    EXPECT_EQ(d.dialogs.asked, QStringList{kQuestion}) << what;
    const PictureRead saved = ReadPictureFile(dir.filePath("label.png"));
    EXPECT_EQ(saved.ok(), c.answer == B::Yes) << what;
    if (saved.ok()) {
      EXPECT_EQ(saved.image, preview.convertToFormat(QImage::Format_RGB32)) << what << ": the label is saved";
    }
    EXPECT_EQ(closed, !c.command && c.answer != B::Cancel) << what;
    if (closed) continue;
    EXPECT_EQ(textWindow->isVisible(), c.labelShows) << what;
    EXPECT_EQ(d.Image(), c.blank ? blank : preview) << what;
    if (c.answer == B::Cancel) {
      EXPECT_FALSE(d.State().ImageChanged) << what;
      EXPECT_FALSE(d.Enabled("Menu_Edit_Undo")) << what;
      EXPECT_EQ(d.w().windowTitle(), caption) << what;
      EXPECT_TRUE(d.dialogs.dialogs.isEmpty()) << what << ": no file dialog after a dismissed question";
    }
  }
}
