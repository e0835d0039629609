// Undo and redo: one step each.
#include <QAction>

#include "dialogs/DialogSeam.h"
#include "workspace/ImageDraw.h"

void ImageDraw::EnableUndo() { undo_->setEnabled(true); }

void ImageDraw::UndoStep() {
  QString error;
  if (!History.Undo(Picture, &error)) {
    Dialogs().Tell(this, QStringLiteral("取消"), error, true);
    return;
  }
  undo_->setEnabled(false);
  redo_->setEnabled(true);
  Refresh();
}

void ImageDraw::RedoStep() {
  QString error;
  if (!History.Redo(Picture, &error)) {
    Dialogs().Tell(this, QStringLiteral("重复"), error, true);
    return;
  }
  undo_->setEnabled(true);
  redo_->setEnabled(false);
  Refresh();
}
