#include "workspace/DrawingSurface.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "workspace/ImageDraw.h"

DrawingSurface::DrawingSurface(ImageDraw* owner, QWidget* parent) : QWidget(parent), owner_(owner) {
  setMouseTracking(true);  // guide lines follow the pointer without a button held
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

void DrawingSurface::RefreshDamage() {
  const QRect damage = owner_->Picture.TakeScreenDamage();
  if (!damage.isEmpty()) update(damage);
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
  const QImage& image = owner_->Picture.Raster();
  // One picture pixel to one device-independent pixel, never smoothed: at 200 % each pixel is a
  // 2 x 2 block of the screen.
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.drawImage(r, image, r);
  if (bgVisible && !bgSize.isEmpty()) {
    // The background pattern: a light hatch over the picture, never part of it.
    QBrush hatch(QColor(0, 160, 220), Qt::CrossPattern);
    p.setPen(Qt::NoPen);
    p.setBrush(hatch);
    p.setOpacity(0.35);
    p.drawRect(QRect(QPoint(0, 0), bgSize));
    p.setOpacity(1);
  }
  if (guideVisible) {
    QPen pen(QColor(255, 0, 255));
    pen.setStyle(Qt::DashLine);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.drawLine(QPointF(szX, 0), QPointF(szX, height()));
    p.drawLine(QPointF(0, spY), QPointF(width(), spY));
  }
}

void DrawingSurface::mousePressEvent(QMouseEvent* e) {
  const QPointF pos = ImageDraw::CanvasPoint(e->position(), devicePixelRatio());
  owner_->BeginGesture(e->button(), e->modifiers(), pos.x(), pos.y());
}

void DrawingSurface::mouseMoveEvent(QMouseEvent* e) {
  const QPointF pos = ImageDraw::CanvasPoint(e->position(), devicePixelRatio());
  owner_->TrackGesture(e->buttons(), e->modifiers(), pos.x(), pos.y());
}

void DrawingSurface::mouseReleaseEvent(QMouseEvent* e) {
  const QPointF pos = ImageDraw::CanvasPoint(e->position(), devicePixelRatio());
  owner_->EndGesture(e->button(), e->modifiers(), pos.x(), pos.y());
}

void DrawingSurface::keyPressEvent(QKeyEvent* e) {
  owner_->CanvasKeyDown(e->key(), e->modifiers(), e->text());
}

void DrawingSurface::keyReleaseEvent(QKeyEvent* e) {
  if (e->isAutoRepeat()) return;  // holding a key acts once, at the real release
  owner_->CanvasKeyUp(e->key(), e->modifiers());
}

void DrawingSurface::focusInEvent(QFocusEvent* e) {
  QWidget::focusInEvent(e);
  owner_->ShowResizeHandles();
}

void DrawingSurface::focusOutEvent(QFocusEvent* e) {
  QWidget::focusOutEvent(e);
  // A pop-up (the selection's menu) takes the focus only for a moment: keep the handles then.
  if (e->reason() != Qt::PopupFocusReason) owner_->HideResizeHandles();
}

SelectionFrame::SelectionFrame(ImageDraw* owner, QWidget* parent) : QWidget(parent), owner_(owner) {
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(false);
  setCursor(Qt::SizeAllCursor);
}

void SelectionFrame::paintEvent(QPaintEvent*) {
  if (!border) return;
  QPainter p(this);
  QPen pen(Qt::black);
  pen.setWidth(0);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, std::max(0.0, width() - 1.0), std::max(0.0, height() - 1.0)));
}

void SelectionFrame::mousePressEvent(QMouseEvent* e) {
  const QPointF pos = ImageDraw::CanvasPoint(e->position(), devicePixelRatio());
  owner_->SelectionPress(e->button(), pos.x(), pos.y());
}

void SelectionFrame::mouseMoveEvent(QMouseEvent* e) {
  const QPointF pos = ImageDraw::CanvasPoint(e->position(), devicePixelRatio());
  owner_->SelectionMove(e->buttons(), pos.x(), pos.y());
}

void SelectionFrame::mouseReleaseEvent(QMouseEvent* e) {
  const QPointF pos = ImageDraw::CanvasPoint(e->position(), devicePixelRatio());
  owner_->SelectionRelease(e->button(), pos.x(), pos.y(), e->globalPosition().toPoint());
}
