// The floating selection: dragging the frame, the arrow-key nudge, keys on the canvas.
//
// While a selection floats, the canvas is the backing copy (the picture without the floating
// pixels) with the pixel buffer combined over it by AND at the frame's place. Every step of a move
// puts the backing copy back and draws the buffer again, so the canvas always holds the picture as
// last drawn and hiding the frame simply leaves it there.
#include <QMenu>
#include <algorithm>

#include "figures/Rounding.h"
#include "workspace/DrawingSurface.h"
#include "workspace/ImageDraw.h"

namespace {
constexpr QRgb kClearWhite = 0xFFFFFFFFu;
}  // namespace

void ImageDraw::ShowSelectionFrame(bool visible, bool border) {
  Sel.visible = visible;
  Sel.border = border;
  SelectIMG->border = border;
  SelectIMG->setVisible(visible);
  SelectIMG->update();
}

void ImageDraw::SyncSelectionFrame() {
  // The frame lies on whole pixels, rounded the way the canvas rounds the buffer's place.
  SelectIMG->setGeometry(static_cast<int>(RoundHalfEven(Sel.left)), static_cast<int>(RoundHalfEven(Sel.top)),
                         static_cast<int>(RoundHalfEven(std::max(0.0, Sel.width))),
                         static_cast<int>(RoundHalfEven(std::max(0.0, Sel.height))));
  SelectIMG->update();
}

// Puts the backing copy back and draws the pixel buffer at (left, top) with size width x height,
// combined with AND: white pixels of the selection let the picture show through.
static void DrawFloating(ImageDraw& w, double left, double top, double width, double height) {
  w.Picture.Restore(w.History.Img_Copy);
  const QImage& buffer = w.Sel.IMG_Select;
  if (!buffer.isNull())
    w.Picture.PaintPicture(buffer, RoundHalfEvenReal(left), RoundHalfEvenReal(top), width, height, 0, 0,
                           buffer.width(), buffer.height(), Canvas::RasterOp::And);
}

void ImageDraw::SelectionPress(Qt::MouseButton button, double x, double y) {
  if (button != Qt::LeftButton) return;
  if (State.DragActive || State.SelectionDragging) return;
  if (!IsUsable(x) || !IsUsable(y)) return;
  State.PressPoint = {x, y};
  State.SelectionOrigin.left = Sel.left;
  State.SelectionOrigin.top = Sel.top;
  State.SelectionOrigin.width = Sel.width;
  State.SelectionOrigin.height = static_cast<int16_t>(RoundHalfEven32(std::clamp(Sel.height, 0.0, 32767.0)));
  ShowSelectionFrame(Sel.visible, false);
  if (!State.SelectionLifted) {
    // The first press lifts the selection: its old area is cleared (a box includes both corner
    // points, so the box ends one pixel short of left + width), unless Ctrl makes the drag a copy.
    const double w = RoundHalfEvenReal(Sel.width), h = RoundHalfEvenReal(Sel.height);
    if (!State.CopyModifier && w >= 1 && h >= 1)
      Picture.FilledBoxRel(Sel.left, Sel.top, w - 1, h - 1, kClearWhite);
    History.Snapshot(Picture);
    Picture.Restore(History.Img_Copy);  // canvas and backing copy agree: later restores start clean
  }
  State.SelectionDragging = true;
  Refresh();
}

void ImageDraw::SelectionMove(Qt::MouseButtons buttons, double x, double y) {
  if (!(buttons & Qt::LeftButton) || !State.SelectionDragging) return;
  if (!IsUsable(x) || !IsUsable(y)) return;
  State.DragOffset = {RoundHalfEvenReal(x - State.PressPoint.x), RoundHalfEvenReal(y - State.PressPoint.y)};
  DrawFloating(*this, State.SelectionOrigin.left + State.DragOffset.x, State.SelectionOrigin.top + State.DragOffset.y,
               State.SelectionOrigin.width, State.SelectionOrigin.height);
  Refresh();
}

void ImageDraw::SelectionRelease(Qt::MouseButton button, double x, double y, QPoint globalPos) {
  if (button == Qt::RightButton) {
    // The selection's own menu opens at the pointer.
    PM->popup(globalPos);
    return;
  }
  if (button != Qt::LeftButton || !State.SelectionDragging) return;
  if (!IsUsable(x) || !IsUsable(y)) {
    x = State.PressPoint.x + State.DragOffset.x;
    y = State.PressPoint.y + State.DragOffset.y;
  }
  State.DragOffset = {RoundHalfEvenReal(x - State.PressPoint.x), RoundHalfEvenReal(y - State.PressPoint.y)};
  State.SelectionLifted = true;
  ShowSelectionFrame(Sel.visible, true);
  const double left = State.SelectionOrigin.left + State.DragOffset.x;
  const double top = State.SelectionOrigin.top + State.DragOffset.y;
  DrawFloating(*this, left, top, State.SelectionOrigin.width, State.SelectionOrigin.height);
  Sel.left = left;
  Sel.top = top;
  SyncSelectionFrame();
  State.SelectionMoved = true;
  State.SelectionDragging = false;
  // The moved pixels are in the picture now: closing without saving must ask.
  State.ImageChanged = true;
  Refresh();
}

void ImageDraw::CanvasKeyDown(int key, Qt::KeyboardModifiers mods, const QString& text) {
  if (key == Qt::Key_Control) {
    State.CopyModifier = true;
    return;
  }
  // Ctrl+C typed on the canvas (character code 3).
  if (text == QString(QChar(3)) || (key == Qt::Key_C && (mods & Qt::ControlModifier))) CopySelection();
}

void ImageDraw::CanvasKeyUp(int key, Qt::KeyboardModifiers mods) {
  switch (key) {
    case Qt::Key_Control:
      State.CopyModifier = false;
      break;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
      DeleteSelection();
      break;
    case Qt::Key_Period:
      // Only the keypad's decimal point deletes; the period of the main keys does nothing here.
      if (mods & Qt::KeypadModifier) DeleteSelection();
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
  if (!Sel.visible) return;
  // A nudge in the middle of a mouse drag would fight the drag.
  if (State.DragActive || State.SelectionDragging) return;
  // A press and release without movement: lifts the selection on the first nudge (clearing its
  // old area unless Ctrl is held) and marks it lifted and moved.
  SelectionPress(Qt::LeftButton, 0, 0);
  SelectionRelease(Qt::LeftButton, 0, 0, QPoint());
  switch (key) {
    case Qt::Key_Left:
      Sel.left -= 1;
      break;
    case Qt::Key_Up:
      Sel.top -= 1;
      break;
    case Qt::Key_Right:
      Sel.left += 1;
      break;
    case Qt::Key_Down:
      Sel.top += 1;
      break;
    default:
      return;
  }
  DrawFloating(*this, Sel.left, Sel.top, Sel.width, Sel.height);
  SyncSelectionFrame();
  Refresh();
}
