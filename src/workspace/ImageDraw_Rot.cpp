// Flip and rotation of the floating selection: the commands' glue.
#include <QAction>

#include "dialogs/DialogSeam.h"
#include "workspace/ImageDraw.h"

void ImageDraw::SetRotateMenus(bool enabled) {
  // Menu_Rot_Sp, Menu_Rot_Sz, Menu_Rot_S and Menu_Rot_Z are also Tbar buttons 12-15 (平翻, 竖翻,
  // 顺转, 逆转): the same actions, so they switch together.
  for (QAction* a : RotateCommands()) a->setEnabled(enabled);
}

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
