// Plane shapes of palette 0: isosceles triangles, the regular pentagon and hexagon, half and
// quarter arcs, concentric circles, a ring, horizontal and vertical planes seen obliquely, and the
// rhombus. Closed shapes are closed bodies whose interior obeys the fill style; the arcs are open
// strokes.
#include <algorithm>
#include <cmath>

#include "figures/Canvas.h"
#include "figures/DrawingStateScope.h"
#include "figures/FigureGeometry.h"
#include "figures/FigureSteps.h"
#include "figures/Rounding.h"
#include "figures/library/CommonFigureParts.h"
#include "figures/library/FigureFamilies.h"

namespace {

using namespace figures::common;
using figures::BoxOf;
using figures::WithinReach;
using figures::FigureBox;
using figures::kPi;

// The apex sits in the middle of the press row; the base runs across the box on the pointer's
// row, so a downward drag points the apex up and an upward one points it down.
void DrawIsoscelesTriangle(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!WithinReach(g)) return;
  const FigureBox b = BoxOf(g);
  const double apexY = g.PressPoint.y, baseY = g.CurrentPoint.y;
  SharpBody(canvas, {{b.CentreX(), apexY}, {b.right, baseY}, {b.left, baseY}});
}

// The same turned a quarter: the base down the pointer's column, the apex on the press column
// half way down.
void DrawUprightIsoscelesTriangle(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!WithinReach(g)) return;
  const FigureBox b = BoxOf(g);
  const double apexX = g.PressPoint.x, baseX = g.CurrentPoint.x;
  SharpBody(canvas, {{apexX, b.CentreY()}, {baseX, b.top}, {baseX, b.bottom}});
}

// A regular polygon inscribed in the ellipse of the box: a square box gives a regular one.
void DrawInscribedPolygon(Canvas& canvas, const DragGeometry& g, int corners, double firstAngle) {
  if (!WithinReach(g)) return;
  const FigureBox b = BoxOf(g);
  SharpBody(canvas, figures::RegularPolygon(b.CentreX(), b.CentreY(), b.Width() / 2, b.Height() / 2,
                                             corners, firstAngle));
}

// A vertex at the top.
void DrawPentagon(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawInscribedPolygon(canvas, g, 5, kPi / 2);
}

// Flat top and bottom: vertices at the left and right ends of the box's middle row.
void DrawHexagon(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawInscribedPolygon(canvas, g, 6, 0);
}

// Half an ellipse: its diameter lies on the press row from one side of the box to the other, and
// it bulges to the pointer's row.
void DrawHalfArc(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!WithinReach(g)) return;
  const FigureBox b = BoxOf(g);
  const double rise = g.PressPoint.y - g.CurrentPoint.y;  // up is positive in the arc's angles
  figures::StrokePath(canvas, figures::ArcPoints(b.CentreX(), g.PressPoint.y, b.Width() / 2, rise, 0, kPi));
}

// A quarter ellipse about the press point, from the pointer's column on the press row round to
// the press column on the pointer's row.
void DrawQuarterArc(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!WithinReach(g)) return;
  const double dx = g.CurrentPoint.x - g.PressPoint.x, dy = g.CurrentPoint.y - g.PressPoint.y;
  figures::StrokePath(canvas, figures::ArcPoints(g.PressPoint.x, g.PressPoint.y, dx, -dy, 0, kPi / 2));
}

// The circles' radius: the distance from the press point to the pointer, or a negative value when
// the drag cannot be drawn.
double RadiusOf(const DragGeometry& g) {
  if (!WithinReach(g)) return -1;
  const double r = std::hypot(g.CurrentPoint.x - g.PressPoint.x, g.CurrentPoint.y - g.PressPoint.y);
  return std::isfinite(r) ? r : -1;
}

// N circles about the press point with radii k R / N, the outermost through the pointer, and the
// centre marked as the circle tool marks it. Circles closer than two pixels would run together,
// so no more are drawn than keep them two pixels apart. The largest is drawn first, so that with a
// fill style every circle's outline stays visible.
void DrawConcentricCircles(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  const double r = RadiusOf(g);
  if (r < 0) return;
  const int most = static_cast<int>(std::clamp(std::floor(r / 2), 1.0, 200.0));
  const int n = std::min(figures::CountParameter(params.SP), most);
  canvas.PSet(g.PressPoint.x, g.PressPoint.y);
  for (int k = n; k >= 1; --k) canvas.Circle(g.PressPoint.x, g.PressPoint.y, r * k / n);
}

// The 8 x 8 tile of the current fill style (fill patterns repeat every 8 pixels from the picture's
// origin): true where the fill paints.
struct FillTile {
  static constexpr QRgb kMark = 0xFF000000u;
  bool on[8][8] = {};
  explicit FillTile(const Canvas& canvas) {
    Canvas tile(8, 8);
    tile.FillStyle = canvas.FillStyle;
    tile.FillColor = kMark;
    tile.ForeColor = kMark;
    tile.Box(-4, -4, 11, 11);  // the outline lies off the tile; the interior covers it
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) on[y][x] = tile.GetPixel(x, y) == kMark;
  }
};

// Paints the fill of the region between two circles about `centre` (pixel centres farther than
// `inner` and nearer than `outer`) with the fill style and fill colour, without outlines: the two
// circles drawn afterwards bound it. Only the rows and columns of the picture are visited.
void FillBetweenCircles(Canvas& canvas, QPointF centre, double outer, double inner) {
  if (canvas.FillStyle == Canvas::kFillTransparent || !(outer > inner)) return;
  const FillTile tile(canvas);
  const double cx = RoundHalfEvenReal(centre.x()), cy = RoundHalfEvenReal(centre.y());
  // Whole pixels of [from, to] within 0..last (an empty range when they miss it).
  auto within = [](double from, double to, int last, int& lo, int& hi) {
    lo = static_cast<int>(std::clamp(std::ceil(from), 0.0, last + 1.0));
    hi = static_cast<int>(std::clamp(std::floor(to), -1.0, static_cast<double>(last)));
  };
  int y0 = 0, y1 = -1;
  within(cy - outer, cy + outer, canvas.Height() - 1, y0, y1);
  auto span = [&](int y, double from, double to) {
    int x0 = 0, x1 = -1;
    within(from, to, canvas.Width() - 1, x0, x1);
    if (x0 > x1) return;
    if (canvas.FillStyle == Canvas::kFillSolid) {
      canvas.FilledBoxRel(x0, y, x1 - x0, 0, canvas.FillColor);
      return;
    }
    for (int x = x0; x <= x1; ++x)
      if (tile.on[y & 7][x & 7]) canvas.SetPixel(x, y, canvas.FillColor);
  };
  for (int y = y0; y <= y1; ++y) {
    const double dy = y - cy;
    const double o = std::sqrt(std::max(0.0, outer * outer - dy * dy));
    if (std::fabs(dy) >= inner) {
      span(y, cx - o, cx + o);
      continue;
    }
    const double i = std::sqrt(inner * inner - dy * dy);
    span(y, cx - o, std::nextafter(cx - i, -1e300));
    span(y, std::nextafter(cx + i, 1e300), cx + o);
  }
}

// A circle through the pointer about the press point and a second one t pixels inside it. The
// ring between them obeys the fill style; the hole shows what lies beneath. A ring thicker than
// the radius is a disc.
void DrawRing(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  const double r = RadiusOf(g);
  if (r < 0) return;
  const double t = figures::LengthParameter(params.SP, LargestSide(canvas));
  const QPointF c(g.PressPoint.x, g.PressPoint.y);
  const double inner = r - t;
  if (inner < 1) {
    canvas.Circle(c.x(), c.y(), r);
    return;
  }
  FillBetweenCircles(canvas, c, r, inner);
  DrawingStateScope keep(canvas);
  canvas.FillStyle = Canvas::kFillTransparent;
  canvas.Circle(c.x(), c.y(), r);
  if (t > 0) canvas.Circle(c.x(), c.y(), inner);
}

// A horizontal plane seen obliquely: a parallelogram with horizontal edges whose top edge is moved
// to the right by the box height (by at most half the width, so the plane keeps some depth of
// edge to stand things on).
void DrawHorizontalPlane(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!WithinReach(g)) return;
  const FigureBox b = BoxOf(g);
  const double shift = std::min(b.Height(), b.Width() / 2);
  SharpBody(canvas, {{b.left, b.bottom}, {b.right - shift, b.bottom}, {b.right, b.top}, {b.left + shift, b.top}});
}

// A wall seen obliquely: a parallelogram with vertical edges whose right edge is moved up by half
// the width (by at most half the height).
void DrawVerticalPlane(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!WithinReach(g)) return;
  const FigureBox b = BoxOf(g);
  const double shift = std::min(b.Width() / 2, b.Height() / 2);
  SharpBody(canvas, {{b.left, b.bottom}, {b.left, b.top + shift}, {b.right, b.top}, {b.right, b.bottom - shift}});
}

// The vertices at the midpoints of the box's sides.
void DrawRhombus(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!WithinReach(g)) return;
  const FigureBox b = BoxOf(g);
  SharpBody(canvas, {b.At(0.5, 0), b.At(1, 0.5), b.At(0.5, 1), b.At(0, 0.5)});
}

using K = FigureKind;

const ToolFigure kPlaneShapes[] = {
    {ToolId::IsoscelesTriangle, K::Box, DrawIsoscelesTriangle},
    {ToolId::IsoscelesTriangleUpright, K::Box, DrawUprightIsoscelesTriangle},
    {ToolId::Pentagon, K::Box, DrawPentagon},
    {ToolId::Hexagon, K::Box, DrawHexagon},
    {ToolId::HalfArc, K::Box, DrawHalfArc},
    {ToolId::QuarterArc, K::Box, DrawQuarterArc},
    {ToolId::ConcentricCircles, K::CentreRadius, DrawConcentricCircles, kReadsFirst},
    {ToolId::Ring, K::CentreRadius, DrawRing, kReadsFirst},
    {ToolId::HorizontalPlane, K::Box, DrawHorizontalPlane},
    {ToolId::VerticalPlane, K::Box, DrawVerticalPlane},
    {ToolId::Rhombus, K::Box, DrawRhombus},
};

}  // namespace

std::span<const ToolFigure> PlaneShapeFigures() { return kPlaneShapes; }
