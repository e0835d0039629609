// The canvas's circles, ellipses, rounded rectangles and polygons.
#include "figures/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "figures/Raster.h"

using namespace raster;

namespace {
// A painter clips a path to the image before it lays the dash pattern along it, so a dashed
// outline that leaves the raster would start its pattern elsewhere, and the dashes would shift as
// the figure crosses the edge. Such a figure is drawn on a scratch picture that holds it whole and
// copied back. Beyond this many scratch pixels it is drawn directly.
constexpr int64_t kScratchPixels = int64_t{1} << 22;

// Calls paint(painter, dx, dy), which draws the figure moved by (dx, dy), for a figure within
// (l, t)-(r, b) plus `margin`: straight on the raster, or through a scratch picture for a dashed
// outline that leaves the raster. The scratch picture's origin is a multiple of 8 pixels from the
// raster's, so the hatch brushes keep their alignment.
template <class Paint>
void PaintWhole(QImage& raster, double l, double t, double r, double b, int margin, bool dashed, Paint&& paint) {
  const double W = raster.width(), H = raster.height();
  const bool inside = l - margin >= 0 && t - margin >= 0 && r + margin <= W - 1 && b + margin <= H - 1;
  const double area = (r - l + 2 * margin + 16) * (b - t + 2 * margin + 16);
  if (dashed && !inside && area <= static_cast<double>(kScratchPixels)) {
    auto down8 = [](double v) { return static_cast<int>(std::floor(v / 8) * 8); };
    const int ox = down8(std::floor(l) - margin), oy = down8(std::floor(t) - margin);
    const int sw = static_cast<int>(std::ceil(r)) + margin + 1 - ox;
    const int sh = static_cast<int>(std::ceil(b)) + margin + 1 - oy;
    QImage scratch(sw, sh, QImage::Format_RGB32);
    if (!scratch.isNull()) {
      const QRect shared = QRect(ox, oy, sw, sh) & raster.rect();
      auto copyRows = [&](const QImage& from, QImage& to, int fx, int fy, int tx, int ty) {
        for (int y = 0; y < shared.height(); ++y)
          std::memcpy(reinterpret_cast<uint32_t*>(to.scanLine(ty + y)) + tx,
                      reinterpret_cast<const uint32_t*>(from.constScanLine(fy + y)) + fx,
                      static_cast<size_t>(shared.width()) * 4);
      };
      scratch.fill(kWhite);
      copyRows(raster, scratch, shared.x(), shared.y(), shared.x() - ox, shared.y() - oy);
      {
        QPainter p(&scratch);
        Prepare(p);
        paint(p, -static_cast<double>(ox), -static_cast<double>(oy));
      }
      copyRows(scratch, raster, shared.x() - ox, shared.y() - oy, shared.x(), shared.y());
      return;
    }
  }
  QPainter p(&raster);
  Prepare(p);
  paint(p, 0.0, 0.0);
}

// Draws the ellipse centred at (cx, cy) with semi-axes a, b (whole or half pixels) with the
// canvas's pen and brush; returns the rectangle that may have changed.
QRect EllipseShape(QImage& raster, const Canvas& c, double cx, double cy, double a, double b) {
  const int pw = PenWidthOf(c.DrawWidth);
  const double m = pw + 2, W = raster.width(), H = raster.height();
  if (cx + a < -m || cx - a > W - 1 + m || cy + b < -m || cy - b > H - 1 + m) return QRect();
  if (a > kBigShape || b > kBigShape)
    return BigEllipse(raster, cx, cy, a, b, pw, c.ForeColor, c.FillStyle, c.FillColor);
  const QPen pen = MakePen(c.ForeColor, c.DrawWidth, c.DrawStyle);
  PaintWhole(raster, cx - a, cy - b, cx + a, cy + b, pw + 2, pen.style() != Qt::SolidLine,
             [&](QPainter& p, double dx, double dy) {
               p.setPen(pen);
               p.setBrush(MakeBrush(c.FillStyle, c.FillColor));
               p.drawEllipse(QRectF(cx - a + dx, cy - b + dy, 2 * a, 2 * b));
             });
  return Around(cx - a, cy - b, cx + a, cy + b, pw + 2);
}
}  // namespace

void Canvas::Circle(double cx, double cy, double r) {
  if (Recording()) companion_->Record(State(), call::Circle{cx, cy, r});
  Nest nest(*this);
  if (!OwnPixels(raster_)) return;
  if (!Finite({cx, cy, r})) return;
  const double rr = Px(r);
  if (rr < 0) return;
  Touch(EllipseShape(raster_, *this, Px(cx), Px(cy), rr, rr));
}

void Canvas::Ellipse(int left, int top, int right, int bottom) {
  if (Recording()) companion_->Record(State(), call::Ellipse{left, top, right, bottom});
  Nest nest(*this);
  if (!OwnPixels(raster_)) return;
  const double l = std::min(left, right), r = std::max(left, right);
  const double t = std::min(top, bottom), b = std::max(top, bottom);
  Touch(EllipseShape(raster_, *this, (l + r) / 2, (t + b) / 2, (r - l) / 2, (b - t) / 2));
}

void Canvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
  if (Recording()) companion_->Record(State(), call::RoundRect{left, top, right, bottom, cornerWidth, cornerHeight});
  Nest nest(*this);
  if (!OwnPixels(raster_)) return;
  double l = std::min(left, right), r = std::max(left, right);
  double t = std::min(top, bottom), b = std::max(top, bottom);
  const int pw = PenWidthOf(DrawWidth);
  const double W = Width(), H = Height();
  const double m0 = pw + 2;
  if (r < -m0 || l > W - 1 + m0 || b < -m0 || t > H - 1 + m0) return;
  // Corner radii: at most half the box, and never absurd.
  double rx = std::min({std::abs(static_cast<double>(cornerWidth)) / 2, (r - l) / 2, kBigShape});
  double ry = std::min({std::abs(static_cast<double>(cornerHeight)) / 2, (b - t) / 2, kBigShape});
  // Edges far beyond the raster move in, keeping the corners off the raster (and the dash
  // pattern of a rectangle near the raster where it is).
  const double mx = m0 + 2 * rx + 2 + kNear, my = m0 + 2 * ry + 2 + kNear;
  l = std::max(l, -mx);
  r = std::min(r, W - 1 + mx);
  t = std::max(t, -my);
  b = std::min(b, H - 1 + my);
  const QPen pen = MakePen(ForeColor, DrawWidth, DrawStyle);
  PaintWhole(raster_, l, t, r, b, pw + 2, pen.style() != Qt::SolidLine, [&](QPainter& p, double dx, double dy) {
    p.setPen(pen);
    p.setBrush(MakeBrush(FillStyle, FillColor));
    if (rx <= 0 || ry <= 0)
      p.drawRect(QRectF(l + dx, t + dy, r - l, b - t));
    else
      p.drawRoundedRect(QRectF(l + dx, t + dy, r - l, b - t), rx, ry, Qt::AbsoluteSize);
  });
  Touch(Around(l, t, r, b, pw + 2));
}

void Canvas::Polygon(const QPoint* points, int count) {
  if (Recording()) companion_->Record(State(), call::Polygon{companion_->RecordPoints(points, count)});
  Nest nest(*this);
  if (!OwnPixels(raster_)) return;
  if (!points || count < 1) return;
  const int pw = PenWidthOf(DrawWidth);
  const double m = pw + 2, W = Width(), H = Height();
  QPolygonF poly;
  poly.reserve(count);
  bool far = false;
  double x0 = 1e18, y0 = 1e18, x1 = -1e18, y1 = -1e18;
  for (int i = 0; i < count; ++i) {
    const double x = points[i].x(), y = points[i].y();
    poly << QPointF(x, y);
    far = far || x < -kNear || y < -kNear || x > W + kNear || y > H + kNear;
    x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
  }
  if (x1 < -m || x0 > W - 1 + m || y1 < -m || y0 > H - 1 + m) return;
  if (far) {
    const double e = m + 16;
    poly = ClipPolygon(poly, -e, -e, W - 1 + e, H - 1 + e);
    if (poly.isEmpty()) return;
    const QRectF br = poly.boundingRect();
    x0 = br.left(), y0 = br.top(), x1 = br.right(), y1 = br.bottom();
  }
  if (pw == 1) {
    // The one-pixel outline is walked here (a painter's stroke can miss a vertex pixel, or a
    // pixel where the outline leaves the raster). The outline's pixels are centred on the
    // vertices, so the interior is the set of pixels whose centres lie inside the same polygon:
    // the polygon moved by half a pixel, filled without a pen, brush aligned to the origin.
    const QBrush brush = MakeBrush(FillStyle, FillColor);
    // Under a patterned pen the outline's gaps show what lay beneath, as a box's do, not the fill.
    QImage beneath;
    QPoint beneathAt;
    if (brush.style() != Qt::NoBrush && poly.size() >= 3) {
      if (PatternOf(DrawStyle).on) {
        const QRect area = Around(x0, y0, x1, y1, 1) & raster_.rect();
        beneath = raster_.copy(area);
        beneathAt = area.topLeft();
      }
      QPainter p(&raster_);
      Prepare(p);
      p.setPen(Qt::NoPen);
      p.setBrush(brush);
      p.drawPolygon(poly.translated(0.5, 0.5));
    }
    // A closed chain: each side leaves its end pixel to the next, so the dash pattern runs on
    // round the outline from the first vertex.
    bool single = true;
    for (int i = 1; i < count && single; ++i) single = points[i] == points[0];
    QRect touched;
    if (single) {
      touched = ThinLine(raster_, points[0].x(), points[0].y(), points[0].x(), points[0].y(), ForeColor, DrawStyle);
    } else {
      int phase = 0;
      for (int i = 0; i < count; ++i) {
        const QPoint& a = points[i];
        const QPoint& b = points[(i + 1) % count];
        touched |= ThinLine(raster_, a.x(), a.y(), b.x(), b.y(), ForeColor, DrawStyle, phase, false, &phase,
                            beneath.isNull() ? nullptr : &beneath, beneathAt);
      }
    }
    Touch(touched);
  } else {
    QPainter p(&raster_);
    Prepare(p);
    p.setPen(MakePen(ForeColor, DrawWidth, DrawStyle));
    p.setBrush(MakeBrush(FillStyle, FillColor));
    if (poly.size() == 1)
      p.drawPoint(poly[0]);
    else
      p.drawPolygon(poly);
  }
  // Mitred joins of sharp angles stick out up to the miter limit (2 pen widths) past a vertex.
  Touch(Around(x0, y0, x1, y1, 3 * pw + 2));
}
