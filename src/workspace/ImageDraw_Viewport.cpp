// Canvas size and the viewport: resize handles, scroll bars, window size rules.
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "figures/Rounding.h"
#include "workspace/DrawingSurface.h"
#include "workspace/ImageDraw.h"
#include "workspace/Viewport.h"

namespace {

// Smallest canvas side: a handle dragged inwards stops the canvas here.
constexpr int kMinSide = 50;
// Room left beyond the canvas's far edge when scrolled to the end, so that the handles there
// stay within reach.
constexpr int kScrollMargin = 10;
// One click on a scroll bar's arrow moves the canvas this far (pixels).
constexpr int kScrollLine = 16;

// A handle's new side: the old side plus the pointer's displacement from the press point,
// rounded to a whole pixel and kept between the smallest canvas and the largest picture.
// Returns the old side for a displacement that is not a number.
int DraggedSide(int side, double pointer, double pressed) {
  const double next = side + (pointer - pressed);
  if (!IsUsable(next)) return side;
  return static_cast<int>(std::clamp<int64_t>(RoundHalfEven(next), kMinSide, Canvas::kMaxSide));
}

// Half of a handle coordinate, as a whole pixel.
int Half(int v) { return static_cast<int>(RoundHalfEven(v / 2.0)); }

// One scroll bar: disabled when the visible extent holds the whole canvas side, otherwise its
// range lets the far edge of the canvas come into view with a small margin beyond it.
void FitScrollBar(QScrollBar* bar, int canvasSide, int outer, int otherBar) {
  const int visible = outer - otherBar;
  if (visible >= canvasSide) {
    bar->setRange(0, 0);  // the canvas goes back to the near edge
    bar->setEnabled(false);
    return;
  }
  bar->setEnabled(true);
  bar->setRange(0, canvasSide - outer + otherBar + kScrollMargin);
  bar->setSingleStep(kScrollLine);
  bar->setPageStep(std::max(kScrollLine, visible));
}

}  // namespace

Viewport::Viewport(ImageDraw* owner, QWidget* parent) : QWidget(parent), owner_(owner) {
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(128, 128, 128));
  setPalette(pal);
}

void Viewport::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  owner_->ViewportResized();
}

ResizeHandle::ResizeHandle(ImageDraw* owner, QWidget* parent, Qt::CursorShape shape, bool h, bool v)
    : QWidget(parent), horizontal(h), vertical(v), owner_(owner) {
  setFixedSize(5, 5);
  setCursor(shape);
}

void ResizeHandle::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::black);
}

void ResizeHandle::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) owner_->HandlePress(this, e->position());
}

void ResizeHandle::mouseMoveEvent(QMouseEvent* e) {
  if (e->buttons() & Qt::LeftButton) owner_->HandleDrag(this, e->position());
}

bool ImageDraw::SetCanvasSize(int width, int height) {
  width = std::max(width, kMinSide);
  height = std::max(height, kMinSide);
  if (width > Canvas::kMaxSide || height > Canvas::kMaxSide) return false;
  if (!Picture.Resize(width, height)) return false;
  CanvasResized();
  // Handles on show follow the new edges (a paste may grow the canvas while they are shown).
  if (RL->isVisible()) PlaceResizeHandles();
  Refresh();
  return true;
}

void ImageDraw::CanvasResized() {
  if (!Draw_PIC || !HScr || !VScr) return;  // the panels are still being built
  // The surface always has the picture's size, never below the smallest canvas.
  if (Picture.Width() < kMinSide || Picture.Height() < kMinSide)
    Picture.Resize(std::max(Picture.Width(), kMinSide), std::max(Picture.Height(), kMinSide));
  if (Draw_PIC->size() != Picture.Size()) Draw_PIC->resize(Picture.Size());
  // The guide lines span the surface: repaint them at its new size.
  Draw_PIC->update();

  FitScrollBar(HScr, Picture.Width(), F_PIC->width(), VScr->width());
  FitScrollBar(VScr, Picture.Height(), F_PIC->height(), HScr->height());
  ScrollCanvas();
}

void ImageDraw::ViewportResized() {
  if (!HScr || !VScr) return;  // the panels are still being built
  const int W = F_PIC->width(), H = F_PIC->height();
  const int barWidth = VScr->sizeHint().width();
  const int barHeight = HScr->sizeHint().height();
  VScr->setGeometry(W - barWidth, -1, barWidth, std::max(0, H - barHeight));
  HScr->setGeometry(0, H - barHeight, W, barHeight);
  CanvasResized();
}

void ImageDraw::PlaceResizeHandles() {
  const int left = Draw_PIC->x(), top = Draw_PIC->y();
  const int width = Draw_PIC->width(), height = Draw_PIC->height();
  RL->move(left + width, Half(top + height));
  UD->move(Half(left + width), top + height);
  RLUD->move(left + width, top + height);
  for (ResizeHandle* h : {RL, UD, RLUD}) h->raise();
}

void ImageDraw::ScrollCanvas() { Draw_PIC->move(-HScr->value(), -VScr->value()); }

void ImageDraw::HandlePress(ResizeHandle* handle, QPointF pos) {
  if (!IsUsable(pos.x()) || !IsUsable(pos.y())) return;
  if (handle->horizontal) State.PressPoint.x = pos.x();
  if (handle->vertical) State.PressPoint.y = pos.y();
  for (ResizeHandle* h : {RL, UD, RLUD}) h->show();
}

void ImageDraw::HandleDrag(ResizeHandle* handle, QPointF pos) {
  const int width = handle->horizontal ? DraggedSide(Picture.Width(), pos.x(), State.PressPoint.x)
                                       : Picture.Width();
  const int height = handle->vertical ? DraggedSide(Picture.Height(), pos.y(), State.PressPoint.y)
                                      : Picture.Height();
  if (width != Picture.Width() || height != Picture.Height()) SetCanvasSize(width, height);
  PlaceResizeHandles();
}

QPointF ImageDraw::CanvasPoint(QPointF position, double devicePixelRatio) {
  if (!(devicePixelRatio > 1) || !IsUsable(devicePixelRatio)) return position;
  // The pointer stands on the top-left corner of a screen pixel; that pixel shows the picture
  // pixel under its centre, half a screen pixel further on. A centre that falls exactly on the
  // border of two picture pixels shows the first of them; the tiny term keeps it there despite
  // rounding noise.
  const double half = 0.5 / devicePixelRatio - 1e-9;
  auto pixel = [half](double v) { return IsUsable(v) ? std::floor(v + half) : v; };
  return {pixel(position.x()), pixel(position.y())};
}
