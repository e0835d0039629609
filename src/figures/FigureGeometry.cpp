#include "figures/FigureGeometry.h"

#include <QFontMetricsF>
#include <QPoint>

#include <algorithm>
#include <cmath>

#include "figures/Canvas.h"
#include "figures/DrawingStateScope.h"
#include "figures/FigureSteps.h"
#include "figures/Rounding.h"

namespace figures {

bool UsableDrag(const DragGeometry& g) {
  return IsFigureCoordinate(g.PressPoint.x) && IsFigureCoordinate(g.PressPoint.y) &&
         IsFigureCoordinate(g.CurrentPoint.x) && IsFigureCoordinate(g.CurrentPoint.y);
}

namespace {
bool Near(double v) { return std::fabs(v) <= kFarthestDragPoint; }
}  // namespace

bool WithinReach(const DragGeometry& g) {
  return Near(g.PressPoint.x) && Near(g.PressPoint.y) && Near(g.CurrentPoint.x) && Near(g.CurrentPoint.y);
}

bool WithinReach(const FigureBox& box) {
  return Near(box.left) && Near(box.right) && Near(box.top) && Near(box.bottom);
}

int CountParameter(double value, int lo, int hi) {
  if (!std::isfinite(value)) return value > 0 ? hi : lo;
  return static_cast<int>(std::clamp<int64_t>(RoundHalfEven(value), lo, hi));
}

double LengthParameter(double value, double largest) {
  if (std::isnan(value)) return 0;
  return std::clamp(value, 0.0, std::max(0.0, largest));
}

FigureBox BoxOf(const DragGeometry& g) {
  FigureBox b;
  b.left = std::min(g.PressPoint.x, g.CurrentPoint.x);
  b.right = std::max(g.PressPoint.x, g.CurrentPoint.x);
  b.top = std::min(g.PressPoint.y, g.CurrentPoint.y);
  b.bottom = std::max(g.PressPoint.y, g.CurrentPoint.y);
  b.facingLeft = g.CurrentPoint.x < g.PressPoint.x;
  return b;
}

SegmentFrame FrameOf(const DragGeometry& g) {
  SegmentFrame f;
  f.start = QPointF(g.PressPoint.x, g.PressPoint.y);
  f.end = QPointF(g.CurrentPoint.x, g.CurrentPoint.y);
  const QPointF d = f.end - f.start;
  f.length = std::hypot(d.x(), d.y());
  if (f.length > 0 && std::isfinite(f.length)) {
    f.along = d / f.length;
    f.across = QPointF(f.along.y(), -f.along.x());
  }
  return f;
}

SymbolSpan SymbolSpanOf(double length) {
  const double body = std::min(std::clamp(0.4 * length, 10.0, 60.0), std::max(0.0, length));
  return {(length - body) / 2, (length + body) / 2};
}

int FlatPieces(double radius, double sweep) {
  // A chord turning through the angle a on radius r strays r (1 - cos(a / 2)) from the arc.
  const double r = std::fabs(radius);
  const double angle = r > kCurveFlatness ? 2 * std::acos(1 - kCurveFlatness / r) : kPi / 2;
  const double n = std::ceil(std::fabs(sweep) / angle);
  return std::isfinite(n) ? static_cast<int>(std::clamp(n, 4.0, 4096.0)) : 4;
}

std::vector<QPointF> ArcPoints(double cx, double cy, double rx, double ry, double a0, double a1) {
  std::vector<QPointF> points;
  if (!std::isfinite(cx + cy + rx + ry + a0 + a1)) return points;
  const int n = FlatPieces(std::max(std::fabs(rx), std::fabs(ry)), a1 - a0);
  points.reserve(n + 1);
  for (int i = 0; i <= n; ++i) {
    const double a = a0 + (a1 - a0) * i / n;
    points.emplace_back(cx + rx * std::cos(a), cy - ry * std::sin(a));
  }
  return points;
}

std::vector<QPointF> RegularPolygon(double cx, double cy, double rx, double ry, int n, double start) {
  std::vector<QPointF> points;
  if (n < 3) return points;
  points.reserve(n);
  for (int i = 0; i < n; ++i) {
    const double a = start + 2 * M_PI * i / n;
    points.emplace_back(cx + rx * std::cos(a), cy - ry * std::sin(a));
  }
  return points;
}

void StrokePath(Canvas& canvas, const std::vector<QPointF>& points, bool closed) {
  if (!points.empty()) canvas.Path(points.data(), static_cast<int>(points.size()), closed);
}

void ClosedBody(Canvas& canvas, const std::vector<QPointF>& points) {
  if (points.empty()) return;
  std::vector<QPoint> vertices;
  vertices.reserve(points.size());
  for (const QPointF& p : points) {
    if (!std::isfinite(p.x()) || !std::isfinite(p.y())) return;
    const QPoint v(RoundHalfEven32(p.x()), RoundHalfEven32(p.y()));
    if (vertices.empty() || vertices.back() != v) vertices.push_back(v);
  }
  if (vertices.size() > 1 && vertices.front() == vertices.back()) vertices.pop_back();
  canvas.Polygon(vertices.data(), static_cast<int>(vertices.size()));
}

void SolidDot(Canvas& canvas, QPointF centre, double r) {
  DrawingStateScope keep(canvas);
  canvas.FillStyle = Canvas::kFillSolid;
  canvas.FillColor = canvas.ForeColor;
  canvas.DrawStyle = Canvas::kSolid;
  canvas.DrawWidth = 1;
  canvas.Circle(centre.x(), centre.y(), std::max(0.0, r));
}

namespace {
// The unit vector of `d`, or (1, 0) for a zero or non-finite vector.
QPointF Unit(QPointF d) {
  const double n = std::hypot(d.x(), d.y());
  if (!(n > 0) || !std::isfinite(n)) return {1, 0};
  return d / n;
}
}  // namespace

void SolidArrowhead(Canvas& canvas, QPointF tip, QPointF direction, double length, double halfWidth) {
  const QPointF u = Unit(direction), n(-u.y(), u.x());
  const QPointF base = tip - u * length;
  DrawingStateScope keep(canvas);
  canvas.FillStyle = Canvas::kFillSolid;
  canvas.FillColor = canvas.ForeColor;
  canvas.DrawStyle = Canvas::kSolid;
  canvas.DrawWidth = 1;
  ClosedBody(canvas, {tip, base + n * halfWidth, base - n * halfWidth});
}

void OpenArrowhead(Canvas& canvas, QPointF tip, QPointF direction, double length, double halfWidth) {
  const QPointF u = Unit(direction), n(-u.y(), u.x());
  const QPointF base = tip - u * length;
  const QPointF a = base + n * halfWidth, b = base - n * halfWidth;
  canvas.Line(tip.x(), tip.y(), a.x(), a.y());
  canvas.Line(tip.x(), tip.y(), b.x(), b.y());
}

void HatchRow(Canvas& canvas, QPointF a, QPointF b, double spacing, QPointF stroke) {
  const QPointF d = b - a;
  const double length = std::hypot(d.x(), d.y());
  if (!(spacing > 0) || !std::isfinite(length) || !std::isfinite(spacing)) return;
  const QPointF u = length > 0 ? d / length : QPointF(1, 0);
  // Only the positions whose stroke can reach the picture: the picture's corners projected on the
  // line, widened by the stroke and the pen.
  const double margin = std::hypot(stroke.x(), stroke.y()) + StrokeMargin(canvas);
  double lo = 1e300, hi = -1e300;
  for (QPointF c : {QPointF(0, 0), QPointF(canvas.Width(), 0), QPointF(0, canvas.Height()),
                    QPointF(canvas.Width(), canvas.Height())}) {
    const double s = QPointF::dotProduct(c - a, u);
    lo = std::min(lo, s);
    hi = std::max(hi, s);
  }
  ForEachStep(0.0, spacing, length, lo - margin, hi + margin, [&](double s) {
    const QPointF p = a + u * s;
    canvas.Line(p.x(), p.y(), p.x() + stroke.x(), p.y() + stroke.y());
  });
}

namespace {
// A sign's strokes are solid and at most two pixels wide, so that a + or - stays legible.
void SignStroke(Canvas& canvas, QPointF a, QPointF b) {
  DrawingStateScope keep(canvas);
  canvas.DrawStyle = Canvas::kSolid;
  canvas.DrawWidth = std::min(canvas.DrawWidth, 2);
  canvas.Line(a.x(), a.y(), b.x(), b.y());
}
}  // namespace

void PlusSign(Canvas& canvas, QPointF centre, double half) {
  SignStroke(canvas, centre - QPointF(half, 0), centre + QPointF(half, 0));
  SignStroke(canvas, centre - QPointF(0, half), centre + QPointF(0, half));
}

void MinusSign(Canvas& canvas, QPointF centre, double half) {
  SignStroke(canvas, centre - QPointF(half, 0), centre + QPointF(half, 0));
}

void UprightLabel(Canvas& canvas, QPointF centre, const char* text, double height) {
  if (!text || !*text || !std::isfinite(centre.x()) || !std::isfinite(centre.y())) return;
  const int pixels = static_cast<int>(std::clamp(std::round(height), 6.0, 400.0));
  DrawingStateScope keep(canvas);
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(pixels);
  font.setStyleStrategy(QFont::NoAntialias);
  canvas.Font = font;
  // The letter's own outline (not the line's height) is centred on the point.
  const QFontMetricsF fm(font);
  const QRectF ink = fm.tightBoundingRect(QString::fromLatin1(text));
  const double baseline = centre.y() - ink.center().y();
  const double x = centre.x() - ink.center().x();
  canvas.TextOutA(RoundHalfEven32(x), RoundHalfEven32(baseline - fm.ascent()), QString::fromLatin1(text));
}

}  // namespace figures
