// Undo and redo: one step each.
#include <QAction>

#include "dialogs/DialogSeam.h"
#include "workspace/ImageDraw.h"

void ImageDraw::EnableUndo() {
  State.UndoAvailable = true;
  UpdateCommands();
}

void ImageDraw::UndoStep() {
  QString error;
  if (!History.Undo(Picture, &error)) {
    Dialogs().Tell(this, QStringLiteral("取消"), error, true);
    return;
  }
  State.UndoAvailable = false;
  State.RedoAvailable = true;
  UpdateCommands();
  // The picture now differs from what was there: it is work that closing must ask about (an
  // undo right after a new picture brings the drawing back).
  State.ImageChanged = true;
  Refresh();
}

void ImageDraw::RedoStep() {
  QString error;
  if (!History.Redo(Picture, &error)) {
    Dialogs().Tell(this, QStringLiteral("重复"), error, true);
    return;
  }
  State.UndoAvailable = true;
  State.RedoAvailable = false;
  UpdateCommands();
  State.ImageChanged = true;
  Refresh();
}
