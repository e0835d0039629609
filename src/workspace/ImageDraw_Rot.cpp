// Flip and rotation of the floating selection.
//
// Rotation always starts again from the rotation base IMG_Slt (the selection as it was made) with
// the accumulated angle, so repeated small steps do not blur the picture. A flip mirrors the
// floating pixels, mirrors the base too and negates the angle, so flips and rotations mix in any
// order.
#include <algorithm>

#include "dialogs/DialogSeam.h"
#include "editing/Rotation.h"
#include "figures/Rounding.h"
#include "workspace/ImageDraw.h"

namespace {
constexpr QRgb kClearWhite = 0xFFFFFFFFu;

// Clears to white the box of w x h pixels at (left, top). A box includes both corner points, so it
// ends at left + w - 1 and top + h - 1: nothing beside the selected pixels is erased.
void ClearBox(Canvas& canvas, double left, double top, double w, double h) {
  w = RoundHalfEvenReal(w);
  h = RoundHalfEvenReal(h);
  if (w >= 1 && h >= 1) canvas.FilledBoxRel(left, top, w - 1, h - 1, kClearWhite);
}
}  // namespace

void ImageDraw::SetRotateMenus(bool enabled) {
  // Menu_Rot_Sp, Menu_Rot_Sz, Menu_Rot_S and Menu_Rot_Z are also Tbar buttons 12-15 (平翻, 竖翻,
  // 顺转, 逆转): the same actions, so they switch together.
  for (QAction* a : {Menu_Rot_Nll, Menu_Rot_Nls, Menu_Rot_Nsl, Menu_Rot_Nss, Menu_Rot_S, Menu_Rot_Sp,
                     Menu_Rot_Sz, Menu_Rot_Z, Menu_Rot_Njs, Menu_Rot_Nlj, Menu_Rot_Nlw, Menu_Rot_Nsw})
    a->setEnabled(enabled);
}

void ImageDraw::SetSelectionCommands(bool enabled) {
  SetRotateMenus(enabled);
  if (!enabled) return;
  State.RotationAngle = 0;
  Sel.baseLeft = Sel.left;
  Sel.baseTop = Sel.top;
  Sel.IMG_Slt = Sel.IMG_Select;
  // The rotation buffer is made at the first rotation (a large selection must not cost a square
  // of its diagonal every time it is made); only its side is needed now.
  const int side = RotationSide(Sel.IMG_Slt.width(), Sel.IMG_Slt.height());
  Sel.Rot = QImage();
  // The top-left of the rotation square centred on the selection.
  State.SelectionOrigin.left = Sel.width / 2 + Sel.left - side / 2.0;
  State.SelectionOrigin.top = Sel.height / 2 + Sel.top - side / 2.0;
}

void ImageDraw::RotateSelection(double degrees) {
  // The turned selection must fit on a canvas: its square may not exceed the largest side.
  const int side = RotationSide(Sel.IMG_Slt.width(), Sel.IMG_Slt.height());
  if (side > Canvas::kMaxSide) {
    Dialogs().Tell(this, QStringLiteral("旋转"),
                   QStringLiteral("选区太大：旋转后的图像边长为 %1 像素，超过了 %2 像素，无法旋转。")
                       .arg(side)
                       .arg(Canvas::kMaxSide),
                   true);
    return;
  }
  State.RotationAngle += degrees;
  RenderSelectionRotation();
  PlaceRotation();
}

void ImageDraw::RenderSelectionRotation() { RenderRotation(Sel.IMG_Slt, State.RotationAngle, Sel.Rot); }

void ImageDraw::PlaceRotation() {
  Picture.Restore(History.Img_Copy);
  // The place where the selection was made is cleared (it matters when the selection was copied
  // with Ctrl and moved, or was never lifted).
  ClearBox(Picture, Sel.baseLeft, Sel.baseTop, Sel.IMG_Slt.width(), Sel.IMG_Slt.height());
  const int side = Sel.Rot.isNull() ? 0 : Sel.Rot.width();
  Sel.width = side;
  Sel.height = side;
  if (!State.SelectionMoved) {
    // An unmoved selection turns about its centre; a moved one keeps its top-left corner.
    Sel.left = RoundHalfEvenReal(State.SelectionOrigin.left);
    Sel.top = RoundHalfEvenReal(State.SelectionOrigin.top);
  }
  Sel.IMG_Select = Sel.Rot;
  if (side > 0)
    Picture.PaintPicture(Sel.Rot, Sel.left, Sel.top, Sel.width, Sel.height, 0, 0, side, side,
                         Canvas::RasterOp::And);
  SyncSelectionFrame();
  State.ImageChanged = true;
  Refresh();
}

namespace {
// The pixel buffer as the frame shows it: w x h, scaled when (unusually) its own size differs.
QImage BufferAtFrameSize(const QImage& buffer, int w, int h) {
  if (buffer.isNull() || (buffer.width() == w && buffer.height() == h)) return buffer;
  if (w <= 0 || h <= 0) return QImage();
  return buffer.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}
}  // namespace

// Both flips: put the backing copy back, clear the frame's box, draw the pixel buffer mirrored with
// AND. The floating pixels become the mirrored buffer itself (what the cleared box then shows), so
// parts of the selection beyond the canvas edge are kept too.
static void Flip(ImageDraw& w, bool horizontal) {
  if (!w.Sel.visible) return;
  const double L = RoundHalfEvenReal(w.Sel.left), T = RoundHalfEvenReal(w.Sel.top);
  const int W = static_cast<int>(RoundHalfEven(std::max(0.0, w.Sel.width)));
  const int H = static_cast<int>(RoundHalfEven(std::max(0.0, w.Sel.height)));
  w.Picture.Restore(w.History.Img_Copy);
  ClearBox(w.Picture, L, T, W, H);
  const QImage& buffer = w.Sel.IMG_Select;
  if (!buffer.isNull()) {
    if (horizontal)
      w.Picture.PaintPicture(buffer, L + W, T, -W, H, 0, 0, buffer.width(), buffer.height(), Canvas::RasterOp::And);
    else
      w.Picture.PaintPicture(buffer, L, T + H, W, -H, 0, 0, buffer.width(), buffer.height(), Canvas::RasterOp::And);
    const QImage shown = BufferAtFrameSize(buffer, W, H);
    QImage mirrored = shown.mirrored(horizontal, !horizontal);
    // Back at the buffer's own size (normally the same).
    w.Sel.IMG_Select = BufferAtFrameSize(mirrored, buffer.width(), buffer.height());
  }
  if (!w.Sel.IMG_Slt.isNull()) w.Sel.IMG_Slt = w.Sel.IMG_Slt.mirrored(horizontal, !horizontal);
  if (!w.Sel.Rot.isNull()) w.Sel.Rot.fill(kClearWhite);
  w.State.RotationAngle = -w.State.RotationAngle;
  w.State.ImageChanged = true;
  w.Refresh();
}

void ImageDraw::FlipHorizontal() { Flip(*this, true); }
void ImageDraw::FlipVertical() { Flip(*this, false); }
