// Canvas size and the viewport: resize handles, scroll bars, window size rules.
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

bool Horizontal(SurfaceHandlers::Handle h) { return h != SurfaceHandlers::Handle::Bottom; }
bool Vertical(SurfaceHandlers::Handle h) { return h != SurfaceHandlers::Handle::Right; }

}  // namespace

bool ImageDraw::SetCanvasSize(int width, int height) {
  width = std::max(width, kMinSide);
  height = std::max(height, kMinSide);
  if (width > Canvas::kMaxSide || height > Canvas::kMaxSide) return false;
  if (!Picture.Resize(width, height)) return false;
  CanvasResized();
  // Handles on show follow the new edges (a paste may grow the canvas while they are shown).
  if (rightHandle_->isVisible()) PlaceResizeHandles();
  Refresh();
  return true;
}

void ImageDraw::CanvasResized() {
  if (!surface_ || !horizontalScroll_ || !verticalScroll_) return;  // the panels are still being built
  // The surface always has the picture's size, never below the smallest canvas.
  if (Picture.Width() < kMinSide || Picture.Height() < kMinSide)
    Picture.Resize(std::max(Picture.Width(), kMinSide), std::max(Picture.Height(), kMinSide));
  if (surface_->size() != Picture.Size()) surface_->resize(Picture.Size());
  // The guide lines span the surface: repaint them at its new size.
  surface_->update();

  FitScrollBar(horizontalScroll_, Picture.Width(), viewport_->width(), verticalScroll_->width());
  FitScrollBar(verticalScroll_, Picture.Height(), viewport_->height(), horizontalScroll_->height());
  ScrollCanvas();
}

void ImageDraw::ViewportResized() {
  if (!horizontalScroll_ || !verticalScroll_) return;  // the panels are still being built
  const int W = viewport_->width(), H = viewport_->height();
  const int barWidth = verticalScroll_->sizeHint().width();
  const int barHeight = horizontalScroll_->sizeHint().height();
  verticalScroll_->setGeometry(W - barWidth, -1, barWidth, std::max(0, H - barHeight));
  horizontalScroll_->setGeometry(0, H - barHeight, W, barHeight);
  CanvasResized();
}

void ImageDraw::PlaceResizeHandles() {
  const int left = surface_->x(), top = surface_->y();
  const int width = surface_->width(), height = surface_->height();
  rightHandle_->move(left + width, Half(top + height));
  bottomHandle_->move(Half(left + width), top + height);
  cornerHandle_->move(left + width, top + height);
  for (ResizeHandle* h : {rightHandle_, bottomHandle_, cornerHandle_}) h->raise();
}

void ImageDraw::ScrollCanvas() { surface_->move(-horizontalScroll_->value(), -verticalScroll_->value()); }

void ImageDraw::HandlePress(Handle handle, QPointF pos) {
  if (!IsUsable(pos.x()) || !IsUsable(pos.y())) return;
  if (Horizontal(handle)) State.PressPoint.x = pos.x();
  if (Vertical(handle)) State.PressPoint.y = pos.y();
  for (ResizeHandle* h : {rightHandle_, bottomHandle_, cornerHandle_}) h->show();
}

void ImageDraw::HandleDrag(Handle handle, QPointF pos) {
  const int width = Horizontal(handle) ? DraggedSide(Picture.Width(), pos.x(), State.PressPoint.x) : Picture.Width();
  const int height = Vertical(handle) ? DraggedSide(Picture.Height(), pos.y(), State.PressPoint.y) : Picture.Height();
  // A new size is a change of the picture: it is work that is in no file.
  if ((width != Picture.Width() || height != Picture.Height()) && SetCanvasSize(width, height))
    State.ImageChanged = true;
  PlaceResizeHandles();
}
