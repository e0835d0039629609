// Undo and redo: one step each.
#include "dialogs/DialogSeam.h"
#include "workspace/ImageDraw.h"

void ImageDraw::EnableUndo() { Menu_Edit_Undo->setEnabled(true); }

void ImageDraw::UndoStep() {
  QString error;
  if (!History.Undo(Picture, &error)) {
    Dialogs().Tell(this, QStringLiteral("取消"), error, true);
    return;
  }
  Menu_Edit_Undo->setEnabled(false);
  Menu_Edit_Redo->setEnabled(true);
  Refresh();
}

void ImageDraw::RedoStep() {
  QString error;
  if (!History.Redo(Picture, &error)) {
    Dialogs().Tell(this, QStringLiteral("重复"), error, true);
    return;
  }
  Menu_Edit_Undo->setEnabled(true);
  Menu_Edit_Redo->setEnabled(false);
  Refresh();
}
