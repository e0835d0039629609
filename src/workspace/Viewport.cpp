#include "workspace/Viewport.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
Qt::CursorShape CursorOf(SurfaceHandlers::Handle which) {
  switch (which) {
    case SurfaceHandlers::Handle::Right: return Qt::SizeHorCursor;
    case SurfaceHandlers::Handle::Bottom: return Qt::SizeVerCursor;
    default: return Qt::SizeFDiagCursor;
  }
}
}  // namespace

ResizeHandle::ResizeHandle(SurfaceHandlers* handlers, SurfaceHandlers::Handle w, QWidget* parent)
    : QWidget(parent), which(w), handlers_(handlers) {
  setFixedSize(5, 5);
  setCursor(CursorOf(w));
}

void ResizeHandle::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::black);
}

void ResizeHandle::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) handlers_->HandlePress(which, e->position());
}

void ResizeHandle::mouseMoveEvent(QMouseEvent* e) {
  if (e->buttons() & Qt::LeftButton) handlers_->HandleDrag(which, e->position());
}
