// Flip and rotation of the floating selection: the commands' glue.
#include <QAction>

#include "dialogs/DialogSeam.h"
#include "workspace/ImageDraw.h"

void ImageDraw::RotateSelection(double degrees) {
  if (!Selection.Visible()) return;
  if (!Selection.Rotate(Picture, History, degrees)) {
    Dialogs().Tell(this, QStringLiteral("旋转"),
                   QStringLiteral("选区太大：旋转后的图像边长为 %1 像素，超过了 %2 像素，无法旋转。")
                       .arg(Selection.RotationSquareSide())
                       .arg(Canvas::kMaxSide),
                   true);
    return;
  }
  State.ImageChanged = true;
  SyncSelection();
  Refresh();
}

void ImageDraw::FlipSelection(bool horizontal) {
  if (!Selection.Flip(Picture, History, horizontal)) return;
  State.ImageChanged = true;
  SyncSelection();
  Refresh();
}
