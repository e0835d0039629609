// The floating selection's glue: the frame widget, the commands that act on it, dragging the
// frame, the arrow-key nudge and the keys on the canvas. The selection itself is
// editing/FloatingSelection.
#include <QAction>
#include <QMenu>

#include "figures/Rounding.h"
#include "workspace/DrawingArea.h"
#include "workspace/ImageDraw.h"

void ImageDraw::SyncSelection() {
  const bool visible = Selection.Visible();
  area_->ShowSelectionFrame(visible, Selection.FrameRect(), Selection.Border());
  UpdateCommands();
}

void ImageDraw::HideSelection() {
  Selection.Hide();
  SyncSelection();
}

void ImageDraw::SelectAll() {
  if (State.DragActive) return;
  // As a drag over the whole picture with the selection tool: a floating selection stays in the
  // picture as last drawn, the backing copy is taken, and the whole picture is selected.
  HideSelection();
  History.Snapshot(Picture);
  Picture.Restore(History.Img_Copy);
  Selection.Make(Picture, 0, 0, Picture.Width(), Picture.Height());
  SyncSelection();
  Refresh();
}

void ImageDraw::SelectionPress(Qt::MouseButton button, double x, double y) {
  // The click landed on the frame, not on the surface: the frame stays.
  clickFocusPending_ = false;
  if (button != Qt::LeftButton || State.DragActive) return;
  if (!Selection.Press(Picture, History, QPointF(x, y), State.CopyModifier)) return;
  // The press lifts the pixels and the drag shows them moved: should the release never come (the
  // focus goes elsewhere first), closing must still ask.
  State.ImageChanged = true;
  SyncSelection();
  Refresh();
}

void ImageDraw::SelectionMove(Qt::MouseButtons buttons, double x, double y) {
  if (!(buttons & Qt::LeftButton)) return;
  if (Selection.DragTo(Picture, History, QPointF(x, y))) Refresh();
}

void ImageDraw::SelectionRelease(Qt::MouseButton button, double x, double y, QPoint globalPos) {
  if (button == Qt::RightButton) {
    // The selection's own menu opens at the pointer.
    if (Selection.Visible()) selectionMenu_->popup(globalPos);
    return;
  }
  if (button != Qt::LeftButton || !Selection.Release(Picture, History, QPointF(x, y))) return;
  // The moved pixels are in the picture now: closing without saving must ask.
  State.ImageChanged = true;
  SyncSelection();
  Refresh();
}

void ImageDraw::CanvasKeyDown(int key, Qt::KeyboardModifiers, const QString&) {
  // Ctrl+C and the other command keys reach their commands as shortcuts, before the canvas.
  if (key == Qt::Key_Control) State.CopyModifier = true;
}

namespace {
// The keypad's decimal key, whatever character it gives (a point, or a comma in some layouts):
// the X keysyms KP_Decimal and KP_Separator, or a point or comma from the keypad.
bool KeypadDecimal(int key, Qt::KeyboardModifiers mods, quint32 nativeVirtualKey) {
  if (nativeVirtualKey == 0xffae || nativeVirtualKey == 0xffac) return true;
  return (key == Qt::Key_Period || key == Qt::Key_Comma) && (mods & Qt::KeypadModifier);
}
}  // namespace

void ImageDraw::CanvasKeyUp(int key, Qt::KeyboardModifiers mods, quint32 nativeVirtualKey) {
  // Delete, Backspace and the keypad's decimal key are keys of the delete command: they run its
  // action, which does nothing while there is no selection.
  if (KeypadDecimal(key, mods, nativeVirtualKey)) {
    Action(Command::Delete)->trigger();
    return;
  }
  switch (key) {
    case Qt::Key_Control:
      State.CopyModifier = false;
      break;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
      Action(Command::Delete)->trigger();
      break;
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
      NudgeSelection(key);
      break;
    default:
      break;
  }
}

void ImageDraw::NudgeSelection(int key) {
  // A nudge in the middle of a mouse drag would fight the drag.
  if (State.DragActive) return;
  const int dx = key == Qt::Key_Left ? -1 : key == Qt::Key_Right ? 1 : 0;
  const int dy = key == Qt::Key_Up ? -1 : key == Qt::Key_Down ? 1 : 0;
  if (!Selection.Nudge(Picture, History, dx, dy, State.CopyModifier)) return;
  State.ImageChanged = true;
  SyncSelection();
  Refresh();
}
