#include "workspace/DrawingSurface.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

#include "figures/Canvas.h"
#include "figures/Rounding.h"

QPointF CanvasPoint(QPointF position, double devicePixelRatio) {
  if (!(devicePixelRatio > 1) || !IsUsable(devicePixelRatio)) return position;
  // The pointer stands on the top-left corner of a screen pixel; that pixel shows the picture
  // pixel under its centre, half a screen pixel further on. A centre that falls exactly on the
  // border of two picture pixels shows the first of them; the tiny term keeps it there despite
  // rounding noise.
  const double half = 0.5 / devicePixelRatio - 1e-9;
  auto pixel = [half](double v) { return IsUsable(v) ? std::floor(v + half) : v; };
  return {pixel(position.x()), pixel(position.y())};
}

DrawingSurface::DrawingSurface(SurfaceHandlers* handlers, const Canvas& picture, QWidget* parent)
    : QWidget(parent), handlers_(handlers), picture_(picture) {
  setMouseTracking(true);  // guide lines follow the pointer without a button held
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

void DrawingSurface::ShowGuideLines(bool visible) {
  guideVisible_ = visible;
  update();
}

void DrawingSurface::MoveGuideLines(double x, double y) {
  guideX_ = x;
  guideY_ = y;
  if (guideVisible_) update();
}

void DrawingSurface::ShowBackground(bool visible, QSize size) {
  backgroundVisible_ = visible;
  if (visible) backgroundSize_ = size;
  update();
}

bool DrawingSurface::event(QEvent* e) {
  // Delete on the canvas acts once, at the key's release: keep the menu's Del shortcut from acting
  // on the press as well.
  if (e->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(e);
    if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
      e->accept();
      return true;
    }
  }
  return QWidget::event(e);
}

void DrawingSurface::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QRect r = event->rect();
  // One picture pixel to one device-independent pixel, never smoothed: at 200 % each pixel is a
  // 2 x 2 block of the screen.
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.drawImage(r, picture_.Raster(), r);
  if (backgroundVisible_ && !backgroundSize_.isEmpty()) {
    // The background pattern: a light hatch over the picture, never part of it.
    QBrush hatch(QColor(0, 160, 220), Qt::CrossPattern);
    p.setPen(Qt::NoPen);
    p.setBrush(hatch);
    p.setOpacity(0.35);
    p.drawRect(QRect(QPoint(0, 0), backgroundSize_));
    p.setOpacity(1);
  }
  if (guideVisible_) {
    QPen pen(QColor(255, 0, 255));
    pen.setStyle(Qt::DashLine);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.drawLine(QPointF(guideX_, 0), QPointF(guideX_, height()));
    p.drawLine(QPointF(0, guideY_), QPointF(width(), guideY_));
  }
}

void DrawingSurface::mousePressEvent(QMouseEvent* e) {
  const QPointF pos = CanvasPoint(e->position(), devicePixelRatio());
  handlers_->BeginGesture(e->button(), e->modifiers(), pos.x(), pos.y());
}

void DrawingSurface::mouseMoveEvent(QMouseEvent* e) {
  const QPointF pos = CanvasPoint(e->position(), devicePixelRatio());
  handlers_->TrackGesture(e->buttons(), e->modifiers(), pos.x(), pos.y());
}

void DrawingSurface::mouseReleaseEvent(QMouseEvent* e) {
  const QPointF pos = CanvasPoint(e->position(), devicePixelRatio());
  handlers_->EndGesture(e->button(), e->modifiers(), pos.x(), pos.y());
}

void DrawingSurface::keyPressEvent(QKeyEvent* e) { handlers_->CanvasKeyDown(e->key(), e->modifiers(), e->text()); }

void DrawingSurface::keyReleaseEvent(QKeyEvent* e) {
  if (e->isAutoRepeat()) return;  // holding a key acts once, at the real release
  handlers_->CanvasKeyUp(e->key(), e->modifiers(), e->nativeVirtualKey());
}

void DrawingSurface::focusInEvent(QFocusEvent* e) {
  QWidget::focusInEvent(e);
  handlers_->ShowResizeHandles(e->reason() == Qt::MouseFocusReason);
}

void DrawingSurface::focusOutEvent(QFocusEvent* e) {
  QWidget::focusOutEvent(e);
  // A pop-up (the selection's menu) takes the focus only for a moment: keep the handles then.
  if (e->reason() != Qt::PopupFocusReason) handlers_->HideResizeHandles();
}

SelectionFrame::SelectionFrame(SurfaceHandlers* handlers, QWidget* parent) : QWidget(parent), handlers_(handlers) {
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(false);
  setCursor(Qt::SizeAllCursor);
}

void SelectionFrame::SetBorder(bool border) {
  if (border == border_) return;
  border_ = border;
  update();
}

void SelectionFrame::paintEvent(QPaintEvent*) {
  if (!border_) return;
  QPainter p(this);
  QPen pen(Qt::black);
  pen.setWidth(0);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, std::max(0.0, width() - 1.0), std::max(0.0, height() - 1.0)));
}

void SelectionFrame::mousePressEvent(QMouseEvent* e) {
  const QPointF pos = CanvasPoint(e->position(), devicePixelRatio());
  handlers_->SelectionPress(e->button(), pos.x(), pos.y());
}

void SelectionFrame::mouseMoveEvent(QMouseEvent* e) {
  const QPointF pos = CanvasPoint(e->position(), devicePixelRatio());
  handlers_->SelectionMove(e->buttons(), pos.x(), pos.y());
}

void SelectionFrame::mouseReleaseEvent(QMouseEvent* e) {
  const QPointF pos = CanvasPoint(e->position(), devicePixelRatio());
  handlers_->SelectionRelease(e->button(), pos.x(), pos.y(), e->globalPosition().toPoint());
}
