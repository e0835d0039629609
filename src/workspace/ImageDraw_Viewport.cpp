// Canvas size and the viewport: resize handles, scroll bars, window size rules.
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "workspace/DrawingSurface.h"
#include "workspace/ImageDraw.h"
#include "workspace/Viewport.h"

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
  width = std::max(width, 50);
  height = std::max(height, 50);
  if (!Picture.Resize(width, height)) return false;
  Draw_PIC->resize(width, height);
  CanvasResized();
  return true;
}

void ImageDraw::CanvasResized() {}
void ImageDraw::ViewportResized() { CanvasResized(); }
void ImageDraw::PlaceResizeHandles() {}
void ImageDraw::ScrollCanvas() {}
void ImageDraw::HandlePress(ResizeHandle*, QPointF) {}
void ImageDraw::HandleDrag(ResizeHandle*, QPointF) {}
