// One step of undo and one of redo, driven through the commands as a user would.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "support/WindowDriver.h"

namespace {

void DrawRectangle(WindowDriver& d, QPointF from = {40, 30}, QPointF to = {120, 90}) {
  d.ClickTool(7);
  d.Drag(from, to);
}

}  // namespace

TEST(UndoRedo, UndoRedoUndoAlternate) {
  WindowDriver d;
  const QImage blank = d.Image();
  DrawRectangle(d);
  const QImage withRect = d.Image();
  ASSERT_NE(withRect, blank);
  EXPECT_TRUE(d.Enabled("Menu_Edit_Undo"));
  EXPECT_FALSE(d.Enabled("Menu_Edit_Redo"));

  d.Trigger("Menu_Edit_Undo");
  EXPECT_EQ(d.Image(), blank);
  EXPECT_FALSE(d.Enabled("Menu_Edit_Undo"));
  EXPECT_TRUE(d.Enabled("Menu_Edit_Redo"));
  EXPECT_TRUE(d.State().ImageChanged) << "undo leaves the changed flag alone";

  d.Trigger("Menu_Edit_Redo");
  EXPECT_EQ(d.Image(), withRect);
  EXPECT_TRUE(d.Enabled("Menu_Edit_Undo"));
  EXPECT_FALSE(d.Enabled("Menu_Edit_Redo"));

  d.Trigger("Menu_Edit_Undo");
  EXPECT_EQ(d.Image(), blank);
}

TEST(UndoRedo, UndoThenNewFigureThenRedo) {
  WindowDriver d;
  DrawRectangle(d);
  const QImage rect = d.Image();
  d.Trigger("Menu_Edit_Undo");
  d.ClickTool(9);
  d.Drag({200, 50}, {300, 150});
  const QImage ellipseOnly = d.Image();
  EXPECT_TRUE(d.Enabled("Menu_Edit_Undo"));
  EXPECT_TRUE(d.Enabled("Menu_Edit_Redo")) << "both are offered after undo and a new change";
  d.Trigger("Menu_Edit_Redo");
  EXPECT_EQ(d.Image(), rect) << "redo brings back what the undo took away";
  d.Trigger("Menu_Edit_Undo");
  EXPECT_EQ(d.Image(), ellipseOnly) << "undo right after redo brings the new figure back";
}

TEST(UndoRedo, RedoFileIsPrivateToTheRunAndIsABitmap) {
  WindowDriver d;
  DrawRectangle(d);
  d.Trigger("Menu_Edit_Undo");
  const QString path = d.View().History.RedoFilePath();
  ASSERT_FALSE(path.isEmpty());
  EXPECT_FALSE(path.startsWith(QDir::currentPath() + "/Undo_Img.tmp"));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.read(2), QByteArray("BM"));
}

TEST(UndoRedo, RedoFileThatCannotBeWrittenLeavesEverythingAsItWas) {
  WindowDriver d;
  // One undo and redo make the redo file; then a folder stands where the file must be written.
  DrawRectangle(d);
  d.Trigger("Menu_Edit_Undo");
  d.Trigger("Menu_Edit_Redo");
  const QString path = d.View().History.RedoFilePath();
  ASSERT_TRUE(QFile::remove(path));
  ASSERT_TRUE(QDir().mkdir(path));
  DrawRectangle(d, {200, 50}, {300, 150});
  const QImage withRect = d.Image();
  d.Trigger("Menu_Edit_Undo");
  EXPECT_EQ(d.Image(), withRect);
  EXPECT_TRUE(d.Enabled("Menu_Edit_Undo"));
  EXPECT_FALSE(d.Enabled("Menu_Edit_Redo"));
  ASSERT_EQ(d.dialogs.told.size(), 1);
  EXPECT_TRUE(d.dialogs.told[0].contains(QStringLiteral("重复")));
}

TEST(UndoRedo, RedoFileRemovedBeforeRedoLeavesEverythingAsItWas) {
  WindowDriver d;
  DrawRectangle(d);
  d.Trigger("Menu_Edit_Undo");
  const QImage afterUndo = d.Image();
  QFile::remove(d.View().History.RedoFilePath());
  d.Trigger("Menu_Edit_Redo");
  EXPECT_EQ(d.Image(), afterUndo);
  EXPECT_FALSE(d.Enabled("Menu_Edit_Undo"));
  EXPECT_TRUE(d.Enabled("Menu_Edit_Redo"));
  EXPECT_EQ(d.dialogs.told.size(), 1);
}
