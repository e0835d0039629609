#include "figures/RodBlockIncline.h"

#include <QPoint>
#include <algorithm>
#include <cmath>

#include "figures/Canvas.h"
#include "figures/Rounding.h"

namespace {

constexpr double kThickestRod = 1.0e6;

// Vertex coordinates are rounded halves to even and clamped to the 32-bit range of a vertex, so a
// huge thickness or drag clips instead of wrapping around.
QPoint Vertex(double x, double y) { return QPoint(RoundHalfEven32(x), RoundHalfEven32(y)); }

bool IsUsableDrag(const DragGeometry& g) {
  return IsUsable(g.PressPoint.x) && IsUsable(g.PressPoint.y) && IsUsable(g.CurrentPoint.x) &&
         IsUsable(g.CurrentPoint.y) && IsUsable(g.DragOffset.x) && IsUsable(g.DragOffset.y);
}

}  // namespace

void DrawRod(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y;
  const double x2 = g.CurrentPoint.x, y2 = g.CurrentPoint.y;
  const double w = g.DragOffset.x, h = g.DragOffset.y;
  if (!IsUsableDrag(g) || !IsUsable(params.SP)) return;
  // A rod thicker than any picture's diagonal covers the same pixels as one of that thickness;
  // limiting it keeps the far vertices pointing the true way instead of being clamped into
  // another direction.
  const double t = std::clamp(params.SP, -kThickestRod, kThickestRod);
  if (w == 0 && h == 0) return;
  if (w == 0) {
    canvas.Box(x1, y1, x2 + t, y2);  // t wide, to the right of a vertical drag
    return;
  }
  if (h == 0) {
    canvas.Box(x1, y1, x2, y2 - t);  // t high, above a horizontal drag
    return;
  }
  const double theta = std::atan(h / w);  // in (-90, 90) degrees
  const double dx = -t * std::sin(theta);
  const double dy = t * std::cos(theta);
  const QPoint v[4] = {Vertex(x1, y1), Vertex(x2, y2), Vertex(x2 - dx, y2 - dy),
                       Vertex((x2 - dx) - w, (y2 - dy) - h)};
  canvas.Polygon(v, 4);
}

void DrawSquareBlock(Canvas& canvas, const DragGeometry& g) {
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y;
  const double x2 = g.CurrentPoint.x, y2 = g.CurrentPoint.y;
  const double w = g.DragOffset.x, h = g.DragOffset.y;
  if (!IsUsableDrag(g) || w == 0) return;
  // The opposite side is the dragged segment moved by (h, -w): the drag turned by a right angle.
  const QPoint v[4] = {Vertex(x1, y1), Vertex(x2, y2), Vertex(x2 + h, y2 - w),
                       Vertex((x2 + h) - w, (y2 - w) - h)};
  canvas.Polygon(v, 4);
}

void DrawIncline(Canvas& canvas, const DragGeometry& g) {
  if (!IsUsableDrag(g)) return;
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y;
  const double x2 = g.CurrentPoint.x, y2 = g.CurrentPoint.y;
  const QPoint v[3] = {Vertex(x1, y1), Vertex(x2, y2), Vertex(x1, y2)};
  canvas.Polygon(v, 3);
}
