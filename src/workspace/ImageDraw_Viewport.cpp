// Canvas size, the viewport and the zoom: the resize handles' drags, the canvas-resize rule and
// the zoom commands. Where the picture sits on screen is the drawing area's.
#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <algorithm>

#include "figures/Rounding.h"
#include "workspace/DrawingArea.h"
#include "workspace/ImageDraw.h"

bool ImageDraw::SetCanvasSize(int width, int height) {
  width = std::max(width, DrawingArea::kMinSide);
  height = std::max(height, DrawingArea::kMinSide);
  if (width > Canvas::kMaxSide || height > Canvas::kMaxSide) return false;
  if (!Picture.Resize(width, height)) return false;
  CanvasResized();
  // Handles on show follow the new edges (a paste may grow the canvas while they are shown).
  if (area_->ResizeHandlesShown()) area_->PlaceResizeHandles();
  Refresh();
  return true;
}

void ImageDraw::CanvasResized() {
  if (!area_) return;  // the panels are still being built
  // The surface always shows the whole picture, never below the smallest canvas.
  const int least = DrawingArea::kMinSide;
  if (Picture.Width() < least || Picture.Height() < least)
    Picture.Resize(std::max(Picture.Width(), least), std::max(Picture.Height(), least));
  area_->PictureResized();
}

void ImageDraw::HandlePress(Handle handle, QPointF pos) {
  if (!IsUsable(pos.x()) || !IsUsable(pos.y())) return;
  area_->PressHandle(handle, pos);
  area_->ShowResizeHandles(true);
}

void ImageDraw::HandleDrag(Handle handle, QPointF pos) {
  const QSize size = area_->DraggedSize(handle, pos);
  // A new size is a change of the picture: it is work that is in no file.
  if (size != Picture.Size() && SetCanvasSize(size.width(), size.height())) State.ImageChanged = true;
  area_->PlaceResizeHandles();
}

void ImageDraw::ZoomTo(int zoom, QPointF anchor) {
  // A zoom in the middle of a drag would move the picture under the pointer.
  if (MouseButtonHeld()) return;
  if (zoom != area_->Zoom()) area_->SetZoom(zoom, anchor);
  zoomReadout_->setText(QStringLiteral("%1%").arg(area_->Zoom() * 100));
  UpdateCommands();
}

void ImageDraw::ZoomIn() { ZoomTo(ZoomStep(area_->Zoom(), 1), QPointF(0, 0)); }

void ImageDraw::ZoomOut() { ZoomTo(ZoomStep(area_->Zoom(), -1), QPointF(0, 0)); }

void ImageDraw::ZoomActual() { ZoomTo(1, QPointF(0, 0)); }

void ImageDraw::ZoomWheel(int steps, QPointF anchor) { ZoomTo(ZoomStep(area_->Zoom(), steps), anchor); }
