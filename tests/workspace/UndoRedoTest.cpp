// One step of undo and one of redo, driven through the commands as a user would.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "support/WindowDriver.h"

namespace {
bool Enabled(ImageDraw& w, QAction* a) { return a->isEnabled() && w.Tbar->widgetForAction(a)->isEnabled(); }
}  // namespace

TEST(UndoRedo, UndoRedoUndoAlternate) {
  WindowDriver d;
  ImageDraw& w = d.w();
  const QImage blank = d.Image();
  d.ClickTool(7);
  d.Drag({40, 30}, {120, 90});
  const QImage withRect = d.Image();
  ASSERT_NE(withRect, blank);
  EXPECT_TRUE(Enabled(w, w.Menu_Edit_Undo));
  EXPECT_FALSE(Enabled(w, w.Menu_Edit_Redo));

  w.Menu_Edit_Undo->trigger();
  EXPECT_EQ(d.Image(), blank);
  EXPECT_FALSE(Enabled(w, w.Menu_Edit_Undo));
  EXPECT_TRUE(Enabled(w, w.Menu_Edit_Redo));
  EXPECT_TRUE(w.State.ImageChanged) << "undo leaves the changed flag alone";

  w.Menu_Edit_Redo->trigger();
  EXPECT_EQ(d.Image(), withRect);
  EXPECT_TRUE(Enabled(w, w.Menu_Edit_Undo));
  EXPECT_FALSE(Enabled(w, w.Menu_Edit_Redo));

  w.Menu_Edit_Undo->trigger();
  EXPECT_EQ(d.Image(), blank);
}

TEST(UndoRedo, UndoThenNewFigureThenRedo) {
  WindowDriver d;
  ImageDraw& w = d.w();
  d.ClickTool(7);
  d.Drag({40, 30}, {120, 90});
  const QImage rect = d.Image();
  w.Menu_Edit_Undo->trigger();
  d.ClickTool(9);
  d.Drag({200, 50}, {300, 150});
  const QImage ellipseOnly = d.Image();
  EXPECT_TRUE(Enabled(w, w.Menu_Edit_Undo));
  EXPECT_TRUE(Enabled(w, w.Menu_Edit_Redo)) << "both are offered after undo and a new change";
  w.Menu_Edit_Redo->trigger();
  EXPECT_EQ(d.Image(), rect) << "redo brings back what the undo took away";
  w.Menu_Edit_Undo->trigger();
  EXPECT_EQ(d.Image(), ellipseOnly) << "undo right after redo brings the new figure back";
}

TEST(UndoRedo, RedoFileIsPrivateToTheRunAndIsABitmap) {
  WindowDriver d;
  ImageDraw& w = d.w();
  d.ClickTool(7);
  d.Drag({40, 30}, {120, 90});
  w.Menu_Edit_Undo->trigger();
  const QString path = w.History.RedoFilePath();
  ASSERT_FALSE(path.isEmpty());
  EXPECT_FALSE(path.startsWith(QDir::currentPath() + "/Undo_Img.tmp"));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.read(2), QByteArray("BM"));
}

TEST(UndoRedo, RedoFileThatCannotBeWrittenLeavesEverythingAsItWas) {
  WindowDriver d;
  ImageDraw& w = d.w();
  QTemporaryDir dir;
  QFile blocker(dir.filePath("not-a-folder"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  w.History.SetRedoFilePathForTests(dir.filePath("not-a-folder/Undo_Img.tmp"));
  d.ClickTool(7);
  d.Drag({40, 30}, {120, 90});
  const QImage withRect = d.Image();
  w.Menu_Edit_Undo->trigger();
  EXPECT_EQ(d.Image(), withRect);
  EXPECT_TRUE(Enabled(w, w.Menu_Edit_Undo));
  EXPECT_FALSE(Enabled(w, w.Menu_Edit_Redo));
  ASSERT_EQ(d.dialogs.told.size(), 1);
  EXPECT_TRUE(d.dialogs.told[0].contains(QStringLiteral("重复")));
}

TEST(UndoRedo, RedoFileRemovedBeforeRedoLeavesEverythingAsItWas) {
  WindowDriver d;
  ImageDraw& w = d.w();
  d.ClickTool(7);
  d.Drag({40, 30}, {120, 90});
  w.Menu_Edit_Undo->trigger();
  const QImage afterUndo = d.Image();
  QFile::remove(w.History.RedoFilePath());
  w.Menu_Edit_Redo->trigger();
  EXPECT_EQ(d.Image(), afterUndo);
  EXPECT_FALSE(Enabled(w, w.Menu_Edit_Undo));
  EXPECT_TRUE(Enabled(w, w.Menu_Edit_Redo));
  EXPECT_EQ(d.dialogs.told.size(), 1);
}
