// The solids of palette 2 in oblique projection: sphere, cuboid, tall and flat cylinders, cone, the
// two wedges and the 3-D axes. The outline of a solid is a closed body that obeys the fill style;
// visible edges follow the current line style, hidden edges are dashed whatever it is.
#include <algorithm>
#include <cmath>
#include <vector>

#include "figures/Canvas.h"
#include "figures/FigureGeometry.h"
#include "figures/FigureSteps.h"
#include "figures/library/FigureDrags.h"
#include "figures/library/FigureFamilies.h"
#include "figures/library/PatternedStrokes.h"

namespace {

using namespace figures;

// ---- Solids with straight edges ----

struct Edge {
  int from, to;
  bool hidden;
};

// The convex outline of the points, in order round it, without repeated points.
std::vector<QPointF> ConvexOutline(std::vector<QPointF> points) {
  std::sort(points.begin(), points.end(),
            [](QPointF a, QPointF b) { return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y()); });
  if (points.size() < 3) return points;
  auto cross = [](QPointF o, QPointF a, QPointF b) {
    return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
  };
  std::vector<QPointF> hull(2 * points.size());
  size_t k = 0;
  for (size_t i = 0; i < points.size(); ++i) {  // one chain
    while (k >= 2 && cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  for (size_t i = points.size() - 1, low = k + 1; i-- > 0;) {  // and back along the other
    while (k >= low && cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  hull.resize(k - 1);
  return hull;
}

// True when `p` lies within half a pixel of the outline's sides.
bool OnOutline(const std::vector<QPointF>& outline, QPointF p) {
  for (size_t i = 0; i < outline.size(); ++i) {
    const QPointF a = outline[i], b = outline[(i + 1) % outline.size()], d = b - a;
    const double len2 = QPointF::dotProduct(d, d);
    const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / len2, 0.0, 1.0) : 0;
    const QPointF n = a + d * t - p;
    if (QPointF::dotProduct(n, n) <= 0.25) return true;
  }
  return false;
}

// A solid with straight edges: its outline as a closed body, then the edges inside the outline,
// visible ones in the current style, hidden ones dashed.
void DrawPolyhedron(Canvas& canvas, const std::vector<QPointF>& corners, std::initializer_list<Edge> edges) {
  const std::vector<QPointF> outline = ConvexOutline(corners);
  ClosedBody(canvas, outline);
  for (const Edge& e : edges) {
    const QPointF a = corners[e.from], b = corners[e.to];
    if (e.hidden)
      DashedStroke(canvas, {a, b});
    else if (!OnOutline(outline, (a + b) / 2))
      canvas.Line(a.x(), a.y(), b.x(), b.y());
  }
}

// The corners of a prism whose front face has the given corners (fractions of the front face's
// box) in oblique projection: the front face at the lower left of the box, the back face shifted up
// and to the right by `depth`. Corners 0..n-1 are the front face, n..2n-1 the back face.
std::vector<QPointF> PrismCorners(const FigureBox& box, double depth, std::initializer_list<QPointF> front) {
  const double w = box.Width() - depth, h = box.Height() - depth;
  std::vector<QPointF> corners;
  for (QPointF f : front) corners.emplace_back(box.left + f.x() * w, box.top + depth + f.y() * h);
  for (QPointF f : front) corners.emplace_back(box.left + depth + f.x() * w, box.top + f.y() * h);
  return corners;
}

// Front face lower left, back face a third of the smaller side up and to the right; the three
// edges at the back's lower left corner are hidden.
void DrawCuboid(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  FigureBox box;
  if (!FigureBoxOf(g, box)) return;
  const auto c = PrismCorners(box, box.Smaller() / 3, {{0, 1}, {1, 1}, {1, 0}, {0, 0}});
  DrawPolyhedron(canvas, c,
                 {{0, 1, false}, {1, 2, false}, {2, 3, false}, {3, 0, false}, {5, 6, false}, {6, 7, false},
                  {1, 5, false}, {2, 6, false}, {3, 7, false}, {4, 5, true}, {4, 7, true}, {0, 4, true}});
}

// A wedge: a triangular prism with the right angle at the bottom and its slope facing the viewer.
// Rising to the left, the back face recedes up and to the right and the three edges at its lower
// left corner are hidden; rising to the right is the mirror image.
void DrawWedge(Canvas& canvas, const DragGeometry& g, bool risingRight) {
  FigureBox box;
  if (!FigureBoxOf(g, box)) return;
  // 0 bottom left, 1 bottom right, 2 top left of the front face; 3, 4, 5 the same of the back.
  std::vector<QPointF> c = PrismCorners(box, box.Smaller() / 4, {{0, 1}, {1, 1}, {0, 0}});
  if (risingRight)
    for (QPointF& p : c) p.setX(box.left + box.right - p.x());
  DrawPolyhedron(canvas, c,
                 {{0, 1, false}, {1, 2, false}, {2, 0, false}, {4, 5, false}, {1, 4, false},
                  {2, 5, false}, {3, 4, true}, {3, 5, true}, {0, 3, true}});
}

void DrawWedgeRisingRight(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawWedge(canvas, g, true);
}
void DrawWedgeRisingLeft(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawWedge(canvas, g, false);
}

// ---- Round solids ----

// Half an ellipse about `centre`: the far half (above the centre, from right to left) or the near
// half (below it, from left to right).
std::vector<QPointF> HalfEllipse(QPointF centre, double rx, double ry, bool farHalf) {
  return ArcPoints(centre.x(), centre.y(), rx, ry, farHalf ? 0 : kPi, farHalf ? kPi : 2 * kPi);
}

// An outline made of point runs, one after another.
std::vector<QPointF> Joined(std::initializer_list<std::vector<QPointF>> runs) {
  std::vector<QPointF> all;
  for (const auto& run : runs) all.insert(all.end(), run.begin(), run.end());
  return all;
}

// A circle of diameter min(w, h) in the middle of the box and its equator, the far half dashed.
void DrawSphere(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  FigureBox box;
  if (!FigureBoxOf(g, box)) return;
  const double r = box.Smaller() / 2;
  const QPointF c(box.CentreX(), box.CentreY());
  canvas.Circle(c.x(), c.y(), r);
  StrokePath(canvas, HalfEllipse(c, r, r / 4, false));
  DashedStroke(canvas, HalfEllipse(c, r, r / 4, true));
}

// An upright cylinder filling the box, its end ellipses `rim` pixels high: the outline (the top's
// far half, the sides, the bottom's near half) a closed body, the top's near half drawn over it and
// the bottom's far half dashed.
void DrawCylinder(Canvas& canvas, const FigureBox& box, double rim) {
  const double rx = box.Width() / 2, ry = rim / 2;
  const QPointF top(box.CentreX(), box.top + ry), bottom(box.CentreX(), box.bottom - ry);
  ClosedBody(canvas, Joined({HalfEllipse(top, rx, ry, true), HalfEllipse(bottom, rx, ry, false)}));
  StrokePath(canvas, HalfEllipse(top, rx, ry, false));
  DashedStroke(canvas, HalfEllipse(bottom, rx, ry, true));
}

void DrawTallCylinder(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  FigureBox box;
  if (!FigureBoxOf(g, box)) return;
  DrawCylinder(canvas, box, std::min(box.Height() / 4, box.Width() / 3));
}

// A disc: end ellipses half the box high, and never more than half as high as wide.
void DrawFlatCylinder(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  FigureBox box;
  if (!FigureBoxOf(g, box)) return;
  DrawCylinder(canvas, box, std::min(box.Height(), box.Width()) / 2);
}

// Apex at the top middle, the base ellipse at the bottom with its far half dashed, and the two
// generators from the apex to the ends of the base.
void DrawCone(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  FigureBox box;
  if (!FigureBoxOf(g, box)) return;
  const double rx = box.Width() / 2, ry = std::min(box.Height() / 4, box.Width() / 3) / 2;
  const QPointF base(box.CentreX(), box.bottom - ry), apex(box.CentreX(), box.top);
  ClosedBody(canvas, Joined({{apex}, HalfEllipse(base, rx, ry, false)}));
  DashedStroke(canvas, HalfEllipse(base, rx, ry, true));
}

// ---- Axes ----

// The origin inside the lower left, z up to the top, y to the right edge, x towards the viewer
// down to the lower left corner at 45°, each with a head.
void DrawAxes3D(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  FigureBox box;
  if (!FigureBoxOf(g, box)) return;
  const double k = 0.35 * box.Smaller();
  const QPointF o(box.left + k, box.bottom - k);
  const double head = std::clamp(box.Smaller() / 12, 3.0, 9.0);
  const QPointF ends[] = {QPointF(box.left, box.bottom), QPointF(box.right, o.y()), QPointF(o.x(), box.top)};
  for (QPointF end : ends) {
    canvas.Line(o.x(), o.y(), end.x(), end.y());
    SolidBarbs(canvas, end, end - o, head, 0.4 * head);
  }
}

using K = FigureKind;

const ToolFigure kSolids[] = {
    {ToolId::Sphere, K::Box, DrawSphere},
    {ToolId::Cuboid, K::Box, DrawCuboid},
    {ToolId::TallCylinder, K::Box, DrawTallCylinder},
    {ToolId::FlatCylinder, K::Box, DrawFlatCylinder},
    {ToolId::Cone, K::Box, DrawCone},
    {ToolId::WedgeRisingRight, K::Box, DrawWedgeRisingRight},
    {ToolId::WedgeRisingLeft, K::Box, DrawWedgeRisingLeft},
    {ToolId::Axes3D, K::Box, DrawAxes3D},
};

}  // namespace

std::span<const ToolFigure> SolidFigures() { return kSolids; }
