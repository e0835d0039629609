#include "workspace/DrawingArea.h"

#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "figures/Canvas.h"
#include "figures/Rounding.h"
#include "workspace/DrawingSurface.h"
#include "workspace/Viewport.h"

namespace {

// Room left beyond the canvas's far edge when scrolled to the end, so that the handles there
// stay within reach (widget units).
constexpr int kScrollMargin = 10;
// One click on a scroll bar's arrow moves the canvas this far (widget units).
constexpr int kScrollLine = 16;
// One notch of a mouse wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;

// One scroll bar: disabled when the visible extent holds the whole canvas side (widget units),
// otherwise its range lets the far edge of the canvas come into view with a small margin beyond.
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

// Half of a handle coordinate, as a whole widget unit.
int Half(int v) { return static_cast<int>(RoundHalfEven(v / 2.0)); }

bool Horizontal(SurfaceHandlers::Handle h) { return h != SurfaceHandlers::Handle::Bottom; }
bool Vertical(SurfaceHandlers::Handle h) { return h != SurfaceHandlers::Handle::Right; }

// A handle's new side: the side at the press plus the pointer's way from the press (`way`, picture
// pixels), rounded, kept between the smallest canvas and the largest picture. `present` for a way
// that is no number.
int DraggedSide(int atPress, int present, double way) {
  if (!IsUsable(way)) return present;
  return static_cast<int>(std::clamp<int64_t>(atPress + RoundHalfEven(way), DrawingArea::kMinSide, Canvas::kMaxSide));
}

}  // namespace

DrawingArea::DrawingArea(SurfaceHandlers* handlers, const Canvas& picture, QWidget* parent)
    : QWidget(parent), handlers_(handlers), picture_(picture) {
  setObjectName("F_PIC");
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(128, 128, 128));
  setPalette(pal);

  view_.devicePixelRatio = devicePixelRatio();
  surface_ = new DrawingSurface(handlers, picture, view_, this);
  surface_->setObjectName("Draw_PIC");
  frame_ = new SelectionFrame(handlers, view_, surface_);
  frame_->setObjectName("SelectIMG");
  horizontal_ = new QScrollBar(Qt::Horizontal, this);
  horizontal_->setObjectName("HScr");
  vertical_ = new QScrollBar(Qt::Vertical, this);
  vertical_->setObjectName("VScr");
  right_ = new ResizeHandle(handlers, SurfaceHandlers::Handle::Right, this);
  right_->setObjectName("RL");
  bottom_ = new ResizeHandle(handlers, SurfaceHandlers::Handle::Bottom, this);
  bottom_->setObjectName("UD");
  corner_ = new ResizeHandle(handlers, SurfaceHandlers::Handle::Corner, this);
  corner_->setObjectName("RLUD");
  for (ResizeHandle* h : {right_, bottom_, corner_}) h->hide();
  connect(horizontal_, &QScrollBar::valueChanged, this, [this] { ScrollCanvas(); });
  connect(vertical_, &QScrollBar::valueChanged, this, [this] { ScrollCanvas(); });
}

void DrawingArea::SetDevicePixelRatio(double ratio) {
  ratio_ = IsUsable(ratio) && ratio > 0 ? ratio : 0;
  RefreshRatio();
  surface_->update();
  RefreshPartlyReadOutline();
}

bool DrawingArea::RefreshRatio() {
  const double ratio = ratio_ > 0 ? ratio_ : devicePixelRatio();
  if (ratio == view_.devicePixelRatio) return false;
  view_.devicePixelRatio = ratio;
  return true;
}

bool DrawingArea::event(QEvent* e) {
  // On another screen (or the first time shown) the device pixel ratio may be another.
  if ((e->type() == QEvent::ScreenChangeInternal || e->type() == QEvent::Show) && RefreshRatio()) {
    surface_->update();
    surface_->RefreshPointer();
    RefreshPartlyReadOutline();
  }
  return QWidget::event(e);
}

QPointF DrawingArea::PicturePointAt(QPoint posInArea) const { return view_.PicturePointInArea(QPointF(posInArea)); }

void DrawingArea::SetZoom(int zoom, QPointF anchor) {
  if (std::find(std::begin(kZoomLevels), std::end(kZoomLevels), zoom) == std::end(kZoomLevels)) return;
  if (!IsUsable(anchor.x()) || !IsUsable(anchor.y())) return;
  // The picture point under the anchor (picture pixels, real: zooming back returns there).
  const QPointF point = view_.UnsnappedPointInArea(anchor);
  view_.zoom = zoom;
  PictureResized();
  ScrollTo(point, anchor);
  if (frame_->isVisible()) frame_->setGeometry(view_.WidgetRect(frameRect_));
  if (ResizeHandlesShown()) PlaceResizeHandles();
  surface_->RefreshPointer();
  surface_->update();
}

void DrawingArea::ScrollTo(QPointF point, QPointF anchor) {
  const QPoint scroll = view_.ScrollFor(point, anchor);
  horizontal_->setValue(scroll.x());
  vertical_->setValue(scroll.y());
  ScrollCanvas();
}

void DrawingArea::PictureResized() {
  const QSize shown = view_.WidgetSize(picture_.Size());
  if (surface_->size() != shown) surface_->resize(shown);
  // The guide lines span the surface: repaint them at its new size.
  surface_->update();
  FitScrollBars();
  ScrollCanvas();
}

void DrawingArea::RepaintPicture(QRect damage) {
  if (!damage.isEmpty()) surface_->update(view_.WidgetRect(damage));
}

void DrawingArea::ShowSelectionFrame(bool visible, QRect frame, bool border) {
  frame_->SetBorder(border);
  if (visible) {
    frameRect_ = frame;
    frame_->setGeometry(view_.WidgetRect(frame));
  }
  frame_->setVisible(visible);
}

void DrawingArea::ShowPartlyRead(bool partlyRead) {
  partlyRead_ = partlyRead;
  RefreshPartlyReadOutline();
}

std::array<QRectF, 4> DrawingArea::PartlyReadOutline() const {
  return view_.OutlineOutside(view_.WidgetRect(QRect(QPoint(0, 0), picture_.Size())).translated(view_.SurfaceOrigin()));
}

void DrawingArea::RefreshPartlyReadOutline() {
  QRegion now;
  if (partlyRead_)
    for (const QRectF& side : PartlyReadOutline()) now += side.toAlignedRect();
  if (now == outlineShown_) return;
  update(outlineShown_ + now);
  outlineShown_ = now;
}

void DrawingArea::paintEvent(QPaintEvent* e) {
  QWidget::paintEvent(e);
  if (!partlyRead_) return;
  // The area's own grey, darker: the picture's missing part is that grey too.
  const QColor outline = palette().color(QPalette::Window).darker(200);
  QPainter p(this);
  for (const QRectF& side : PartlyReadOutline()) p.fillRect(side, outline);
}

void DrawingArea::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  // The viewport rule: the bars along the right and bottom edges, then the canvas-resize rule.
  const int W = width(), H = height();
  const int barWidth = vertical_->sizeHint().width();
  const int barHeight = horizontal_->sizeHint().height();
  vertical_->setGeometry(W - barWidth, -1, barWidth, std::max(0, H - barHeight));
  horizontal_->setGeometry(0, H - barHeight, W, barHeight);
  PictureResized();
}

void DrawingArea::wheelEvent(QWheelEvent* e) {
  if (!(e->modifiers() & Qt::ControlModifier)) {
    e->ignore();
    return;
  }
  e->accept();
  wheelAngle_ += e->angleDelta().y();
  const int steps = wheelAngle_ / kWheelNotch;
  wheelAngle_ -= steps * kWheelNotch;
  if (steps != 0) handlers_->ZoomWheel(steps, e->position());
}

void DrawingArea::FitScrollBars() {
  FitScrollBar(horizontal_, surface_->width(), width(), vertical_->width());
  FitScrollBar(vertical_, surface_->height(), height(), horizontal_->height());
}

void DrawingArea::ScrollCanvas() {
  view_.scroll = QPoint(horizontal_->value(), vertical_->value());
  surface_->move(view_.SurfaceOrigin());
  RefreshPartlyReadOutline();
}

ResizeHandle* DrawingArea::HandleWidget(SurfaceHandlers::Handle handle) const {
  switch (handle) {
    case SurfaceHandlers::Handle::Right: return right_;
    case SurfaceHandlers::Handle::Bottom: return bottom_;
    default: return corner_;
  }
}

bool DrawingArea::ResizeHandlesShown() const { return right_->isVisible(); }

void DrawingArea::ShowResizeHandles(bool shown) {
  for (ResizeHandle* h : {right_, bottom_, corner_}) h->setVisible(shown);
}

void DrawingArea::PlaceResizeHandles() {
  const int left = surface_->x(), top = surface_->y();
  const int width = surface_->width(), height = surface_->height();
  right_->move(left + width, Half(top + height));
  bottom_->move(Half(left + width), top + height);
  corner_->move(left + width, top + height);
  for (ResizeHandle* h : {right_, bottom_, corner_}) h->raise();
}

void DrawingArea::PressHandle(SurfaceHandlers::Handle handle, QPointF onHandle) {
  if (!IsUsable(onHandle.x()) || !IsUsable(onHandle.y())) return;
  handlePress_ = QPointF(HandleWidget(handle)->pos()) + onHandle;
  sizeAtPress_ = picture_.Size();
}

QSize DrawingArea::DraggedSize(SurfaceHandlers::Handle handle, QPointF onHandle) const {
  const QSize present = picture_.Size();
  if (!sizeAtPress_.isValid()) return present;  // no press yet
  const QPointF pointer = QPointF(HandleWidget(handle)->pos()) + onHandle;
  const int width = Horizontal(handle) ? DraggedSide(sizeAtPress_.width(), present.width(),
                                                     view_.PictureLength(pointer.x() - handlePress_.x()))
                                       : present.width();
  const int height = Vertical(handle) ? DraggedSide(sizeAtPress_.height(), present.height(),
                                                    view_.PictureLength(pointer.y() - handlePress_.y()))
                                      : present.height();
  return {width, height};
}
