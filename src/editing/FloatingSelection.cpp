#include "editing/FloatingSelection.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "editing/Rotation.h"
#include "editing/UndoHistory.h"
#include "figures/Canvas.h"
#include "figures/Rounding.h"

namespace {

constexpr QRgb kClearWhite = 0xFFFFFFFFu;

bool Usable(QPointF p) { return IsUsable(p.x()) && IsUsable(p.y()); }

// A side of the frame as a whole number of pixels.
int WholeSide(double v) { return static_cast<int>(RoundHalfEven(std::max(0.0, v))); }

// Clears to white the box of w x h pixels at (left, top). A box includes both corner points, so it
// ends at left + w - 1 and top + h - 1: nothing beside the selected pixels is erased.
void ClearBox(Canvas& canvas, double left, double top, double w, double h) {
  w = RoundHalfEvenReal(w);
  h = RoundHalfEvenReal(h);
  if (w >= 1 && h >= 1) canvas.FilledBoxRel(left, top, w - 1, h - 1, kClearWhite);
}

// `picture` as the frame shows it: w x h, scaled when (unusually) its own size differs.
QImage AtSize(const QImage& picture, int w, int h) {
  if (picture.isNull() || (picture.width() == w && picture.height() == h)) return picture;
  if (w <= 0 || h <= 0) return QImage();
  return picture.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

}  // namespace

QRect FloatingSelection::FrameRect() const {
  // The frame lies on whole pixels, rounded the way the canvas rounds the pixels' place.
  return QRect(static_cast<int>(RoundHalfEven(left_)), static_cast<int>(RoundHalfEven(top_)), WholeSide(width_),
               WholeSide(height_));
}

void FloatingSelection::Make(const Canvas& canvas, double left, double top, double width, double height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  visible_ = border_ = true;
  lifted_ = moved_ = dragging_ = false;
  fromCanvas_ = true;
  // The selected rectangle; a rectangle of no width or height gives no pixels.
  const PicturePair taken = canvas.CapturePair(QRect(static_cast<int>(RoundHalfEven(left)),
                                                     static_cast<int>(RoundHalfEven(top)), WholeSide(width),
                                                     WholeSide(height)));
  pixels_ = taken.image;
  pixelsK_ = taken.companion;
  base_ = pixels_;
  baseK_ = pixelsK_;
  baseLeft_ = left;
  baseTop_ = top;
  angle_ = 0;
  // The square for turning is made at the first turn: a large selection must not cost a square of
  // its diagonal every time it is made.
  turned_ = turnedK_ = QImage();
}

void FloatingSelection::Paste(const QImage& picture, QPoint at) {
  left_ = at.x();
  top_ = at.y();
  width_ = picture.width();
  height_ = picture.height();
  visible_ = border_ = true;
  lifted_ = true;
  moved_ = dragging_ = false;
  fromCanvas_ = false;
  pixels_ = picture;
  base_ = picture;
  pixelsK_ = baseK_ = QImage();
  baseLeft_ = left_;
  baseTop_ = top_;
  angle_ = 0;
  turned_ = turnedK_ = QImage();
}

void FloatingSelection::Hide() {
  visible_ = border_ = false;
  dragging_ = false;
}

void FloatingSelection::Clear() {
  pixels_ = pixelsK_ = QImage();
  base_ = baseK_ = QImage();
  turned_ = turnedK_ = QImage();
}

void FloatingSelection::DrawAt(Canvas& canvas, const UndoHistory& history, double left, double top, double width,
                               double height) const {
  canvas.Restore(history.Img_Copy);
  if (!pixels_.isNull())
    canvas.PaintPicture(PicturePair{pixels_, pixelsK_}, RoundHalfEvenReal(left), RoundHalfEvenReal(top), width, height, 0, 0,
                        pixels_.width(), pixels_.height(), Canvas::RasterOp::And);
}

bool FloatingSelection::Press(Canvas& canvas, UndoHistory& history, QPointF at, bool copy) {
  if (!visible_ || dragging_ || !Usable(at)) return false;
  pressAt_ = at;
  offset_ = QPointF();
  originLeft_ = left_;
  originTop_ = top_;
  originWidth_ = width_;
  originHeight_ = RoundHalfEvenReal(std::clamp(height_, 0.0, 32767.0));
  border_ = false;
  if (!lifted_) {
    // The first press lifts the selection: its old area is cleared, unless Ctrl makes the drag a
    // copy; the backing copy then holds the picture without the floating pixels.
    if (!copy) ClearBox(canvas, left_, top_, width_, height_);
    history.Snapshot(canvas);
    canvas.Restore(history.Img_Copy);  // canvas and backing copy agree: later restores start clean
  }
  dragging_ = true;
  return true;
}

bool FloatingSelection::DragTo(Canvas& canvas, const UndoHistory& history, QPointF at) {
  if (!dragging_ || !Usable(at)) return false;
  offset_ = QPointF(RoundHalfEvenReal(at.x() - pressAt_.x()), RoundHalfEvenReal(at.y() - pressAt_.y()));
  DrawAt(canvas, history, originLeft_ + offset_.x(), originTop_ + offset_.y(), originWidth_, originHeight_);
  return true;
}

bool FloatingSelection::Release(Canvas& canvas, const UndoHistory& history, QPointF at) {
  if (!dragging_) return false;
  if (!Usable(at)) at = pressAt_ + offset_;
  offset_ = QPointF(RoundHalfEvenReal(at.x() - pressAt_.x()), RoundHalfEvenReal(at.y() - pressAt_.y()));
  lifted_ = true;
  border_ = true;
  left_ = originLeft_ + offset_.x();
  top_ = originTop_ + offset_.y();
  DrawAt(canvas, history, left_, top_, originWidth_, originHeight_);
  moved_ = true;
  dragging_ = false;
  return true;
}

bool FloatingSelection::Nudge(Canvas& canvas, UndoHistory& history, int dx, int dy, bool copy) {
  if (!visible_ || dragging_) return false;
  // A press and release without movement lift the selection on the first nudge and mark it moved.
  Press(canvas, history, QPointF(0, 0), copy);
  Release(canvas, history, QPointF(0, 0));
  left_ += dx;
  top_ += dy;
  DrawAt(canvas, history, left_, top_, width_, height_);
  return true;
}

bool FloatingSelection::Flip(Canvas& canvas, const UndoHistory& history, bool horizontal) {
  if (!visible_) return false;
  const double L = RoundHalfEvenReal(left_), T = RoundHalfEvenReal(top_);
  const int W = WholeSide(width_), H = WholeSide(height_);
  canvas.Restore(history.Img_Copy);
  ClearBox(canvas, L, T, W, H);
  if (!pixels_.isNull()) {
    const PicturePair pair{pixels_, pixelsK_};
    if (horizontal)
      canvas.PaintPicture(pair, L + W, T, -W, H, 0, 0, pixels_.width(), pixels_.height(), Canvas::RasterOp::And);
    else
      canvas.PaintPicture(pair, L, T + H, W, -H, 0, 0, pixels_.width(), pixels_.height(), Canvas::RasterOp::And);
    // The companion half mirrors with it while it is at the frame's size (else it is enlarged anew).
    if (!pixelsK_.isNull() && pixels_.width() == W && pixels_.height() == H)
      pixelsK_ = pixelsK_.mirrored(horizontal, !horizontal);
    else
      pixelsK_ = QImage();
    // The floating pixels become the mirrored ones (what the cleared box shows now), so parts of
    // the selection beyond the picture's edge are kept too; back at their own size.
    pixels_ = AtSize(AtSize(pixels_, W, H).mirrored(horizontal, !horizontal), pixels_.width(), pixels_.height());
  }
  if (!base_.isNull()) base_ = base_.mirrored(horizontal, !horizontal);
  if (!baseK_.isNull()) baseK_ = baseK_.mirrored(horizontal, !horizontal);
  if (!turned_.isNull()) turned_.fill(kClearWhite);
  if (!turnedK_.isNull()) turnedK_.fill(kClearWhite);
  angle_ = -angle_;
  return true;
}

int FloatingSelection::RotationSquareSide() const { return RotationSide(base_.width(), base_.height()); }

bool FloatingSelection::Rotate(Canvas& canvas, const UndoHistory& history, double degrees) {
  // The turned selection must fit on a picture: its square may not exceed the largest side.
  if (RotationSquareSide() > Canvas::kMaxSide) return false;
  angle_ += degrees;
  RenderRotation(base_, angle_, turned_);
  if (canvas.k() > 1 && !turned_.isNull()) {
    // The companion turns the same way: its square is k times the picture's, each of its pixels
    // sampled through the same mapping at its own place.
    const QImage baseK = baseK_.size() == base_.size() * canvas.k() ? baseK_ : Enlarged(base_, canvas.k());
    RenderRotationAt(baseK, base_.size(), angle_, canvas.k(), turned_.width(), turnedK_);
  } else {
    turnedK_ = QImage();
  }
  canvas.Restore(history.Img_Copy);
  // The place where the selection was made is cleared (it matters when it was copied with Ctrl and
  // moved, or never lifted). A pasted picture has no place of its own on the picture.
  if (fromCanvas_) ClearBox(canvas, baseLeft_, baseTop_, base_.width(), base_.height());
  const int side = turned_.isNull() ? 0 : turned_.width();
  if (!moved_) {
    // An unmoved selection turns about its centre: the square's centre pixel (side div 2) lands on
    // the base's centre pixel (width div 2, height div 2), the same halves the rendering maps, so
    // at angle 0 every pixel comes back to where it was.
    left_ = RoundHalfEvenReal(baseLeft_) + base_.width() / 2 - side / 2;
    top_ = RoundHalfEvenReal(baseTop_) + base_.height() / 2 - side / 2;
  }
  width_ = height_ = side;
  pixels_ = turned_;
  pixelsK_ = turnedK_;
  if (side > 0)
    canvas.PaintPicture(PicturePair{turned_, turnedK_}, left_, top_, side, side, 0, 0, side, side,
                        Canvas::RasterOp::And);
  return true;
}

QImage FloatingSelection::CopyOut() {
  const int w = WholeSide(width_), h = WholeSide(height_);
  if (w <= 0 || h <= 0 || pixels_.isNull()) return QImage();
  if (pixels_.width() != w || pixels_.height() != h) {
    QImage sized(w, h, QImage::Format_RGB32);
    if (sized.isNull()) return QImage();
    sized.fill(kClearWhite);
    QPainter p(&sized);
    p.drawImage(0, 0, pixels_);
    p.end();
    pixels_ = sized;
  }
  return pixels_.convertToFormat(QImage::Format_RGB32);
}

PicturePair FloatingSelection::PixelPair() {
  PicturePair out{CopyOut(), QImage()};
  if (out.image.isNull()) return out;
  const int k = pixelsK_.isNull() || pixels_.width() == 0 ? 1 : pixelsK_.width() / pixels_.width();
  if (k > 1 && pixelsK_.size() == out.image.size() * k)
    out.companion = pixelsK_.convertToFormat(QImage::Format_RGB32);
  return out;
}

bool FloatingSelection::Delete(Canvas& canvas, const UndoHistory& history) {
  if (!visible_) return false;
  if (moved_ || lifted_ || dragging_) {
    // The floating pixels vanish (also in the middle of a drag, which has lifted them); the old
    // area stays as the lift left it.
    canvas.Restore(history.Img_Copy);
  } else {
    // The selected pixels are cleared, exactly the frame's box.
    ClearBox(canvas, left_, top_, WholeSide(width_), WholeSide(height_));
  }
  Hide();
  return true;
}
