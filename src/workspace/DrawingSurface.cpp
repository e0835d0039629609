#include "workspace/DrawingSurface.h"

#include <QBitmap>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "figures/Canvas.h"

namespace {

// The eraser's pointer at a zoom: the outline of the square of `side` x `side` device-independent
// pixels one eraser step paints, black with a white rim, hot spot at its top-left pixel.
QCursor EraserSquarePointer(int side) {
  const int size = side + 2;
  auto ink = [side](int x, int y) {
    if (x < 1 || y < 1 || x > side || y > side) return false;
    return x == 1 || y == 1 || x == side || y == side;
  };
  QImage bits(size, size, QImage::Format_Mono), mask(size, size, QImage::Format_Mono);
  for (QImage* i : {&bits, &mask}) {
    i->setColor(0, qRgb(255, 255, 255));
    i->setColor(1, qRgb(0, 0, 0));
    i->fill(0);
  }
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      if (ink(x, y)) bits.setPixel(x, y, 1);
      bool rim = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) rim = rim || ink(x + dx, y + dy);
      if (rim) mask.setPixel(x, y, 1);
    }
  return QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(mask), 1, 1);
}

// One eraser step paints a square of this many picture pixels a side.
constexpr int kEraserSide = 6;

}  // namespace

DrawingSurface::DrawingSurface(SurfaceHandlers* handlers, const Canvas& picture, const ViewTransform& view,
                               QWidget* parent)
    : QWidget(parent), handlers_(handlers), picture_(picture), view_(view) {
  setMouseTracking(true);  // guide lines follow the pointer without a button held
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

void DrawingSurface::SetToolPointer(const QCursor& pointer, bool eraserSquare) {
  toolPointer_ = pointer;
  eraserSquare_ = eraserSquare;
  RefreshPointer();
}

void DrawingSurface::RefreshPointer() {
  setCursor(eraserSquare_ && view_.zoom > 1 ? EraserSquarePointer(view_.WidgetLength(kEraserSide)) : toolPointer_);
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
  const QRect r = event->rect();  // widget units
  const ViewTransform& view = view_;
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  pictureView_.Paint(p, picture_.Raster(), view, r);
  if (backgroundVisible_ && !backgroundSize_.isEmpty()) {
    // The background pattern: a light hatch over the picture, never part of it. It covers the
    // same picture pixels at every zoom.
    QBrush hatch(QColor(0, 160, 220), Qt::CrossPattern);
    if (view.zoom > 1) {
      // Qt draws a hatch at screen size under any transform: enlarge one tile of it instead.
      QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
      tile.fill(Qt::transparent);
      QPainter t(&tile);
      t.fillRect(tile.rect(), hatch);
      t.end();
      hatch = QBrush(tile);
      hatch.setTransform(view.PatternTransform());
    }
    p.setPen(Qt::NoPen);
    p.setBrush(hatch);
    p.setOpacity(0.35);
    p.drawRect(view.WidgetRect(QRect(QPoint(0, 0), backgroundSize_)));
    p.setOpacity(1);
  }
  if (guideVisible_) {
    // Through the pointer; above 1:1 through the centre of the picture pixel under it.
    const QPointF at = view.WidgetPoint({guideX_, guideY_});
    QPen pen(QColor(255, 0, 255));
    pen.setStyle(Qt::DashLine);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.drawLine(QPointF(at.x(), 0), QPointF(at.x(), height()));
    p.drawLine(QPointF(0, at.y()), QPointF(width(), at.y()));
  }
}

QPointF DrawingSurface::PictureAt(const QMouseEvent* e) const { return view_.PicturePoint(e->position()); }

void DrawingSurface::mousePressEvent(QMouseEvent* e) {
  const QPointF pos = PictureAt(e);
  handlers_->BeginGesture(e->button(), e->modifiers(), pos.x(), pos.y());
}

void DrawingSurface::mouseMoveEvent(QMouseEvent* e) {
  const QPointF pos = PictureAt(e);
  handlers_->TrackGesture(e->buttons(), e->modifiers(), pos.x(), pos.y());
}

void DrawingSurface::mouseReleaseEvent(QMouseEvent* e) {
  const QPointF pos = PictureAt(e);
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

SelectionFrame::SelectionFrame(SurfaceHandlers* handlers, const ViewTransform& view, QWidget* parent)
    : QWidget(parent), handlers_(handlers), view_(view) {
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

QPointF SelectionFrame::PictureAt(const QMouseEvent* e) const {
  return view_.PicturePointIn(e->position(), pos());
}

void SelectionFrame::mousePressEvent(QMouseEvent* e) {
  const QPointF at = PictureAt(e);
  handlers_->SelectionPress(e->button(), at.x(), at.y());
}

void SelectionFrame::mouseMoveEvent(QMouseEvent* e) {
  const QPointF at = PictureAt(e);
  handlers_->SelectionMove(e->buttons(), at.x(), at.y());
}

void SelectionFrame::mouseReleaseEvent(QMouseEvent* e) {
  const QPointF at = PictureAt(e);
  handlers_->SelectionRelease(e->button(), at.x(), at.y(), e->globalPosition().toPoint());
}
