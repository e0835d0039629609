// The lenses of palette 2: the concave and convex lens as bodies and as symbols, lying along the
// box's longer side (upright in a tall box, as lenses stand on an optical bench).
#include <algorithm>
#include <cmath>
#include <vector>

#include "figures/Canvas.h"
#include "figures/FigureGeometry.h"
#include "figures/library/FigureDrags.h"
#include "figures/library/FigureFamilies.h"
#include "figures/library/PatternedStrokes.h"

namespace {

using namespace figures;

// The box seen along its longer side: At(s, t) is the point s of the way along that side and t of
// the way across the other, measured from the middle (-1..1 each way).
struct LensFrame {
  QPointF centre;
  QPointF along, across;  // half the box's extent in each direction
  QPointF At(double s, double t) const { return centre + along * s + across * t; }
};

LensFrame FrameOfBox(const FigureBox& box) {
  LensFrame f;
  f.centre = QPointF(box.CentreX(), box.CentreY());
  const QPointF horizontal(box.Width() / 2, 0), vertical(0, box.Height() / 2);
  const bool tall = box.Height() > box.Width();
  f.along = tall ? vertical : horizontal;
  f.across = tall ? horizontal : vertical;
  return f;
}

// A circular arc from one end of the box's long side to the other, at `tEnd` across at both ends
// and `tMiddle` across in the middle (fractions of the half width, as in LensFrame::At). `forward`
// runs it from the end at s = 1 to the end at s = -1, otherwise the other way.
std::vector<QPointF> ArcAcross(const LensFrame& f, double tEnd, double tMiddle, bool forward) {
  const double c = std::hypot(f.along.x(), f.along.y());    // half the chord
  const double w = std::hypot(f.across.x(), f.across.y());
  const double h = (tMiddle - tEnd) * w;                    // the bulge across the chord, signed
  const double from = forward ? 1 : -1;
  if (!(c > 0) || !(std::fabs(h) >= 0.5)) return {f.At(from, tEnd), f.At(-from, tEnd)};
  const QPointF v = f.along / c, u = f.across / w * (h > 0 ? 1 : -1);  // u: towards the bulge
  const double r = (h * h + c * c) / (2 * std::fabs(h));
  const double half = std::asin(std::min(1.0, c / r));  // half the angle the arc spans
  const QPointF centre = f.At(0, tEnd) + u * (std::fabs(h) - r);
  const int n = FlatPieces(r, 2 * half);
  std::vector<QPointF> points;
  points.reserve(n + 1);
  for (int i = 0; i <= n; ++i) {
    const double a = from * half * (1 - 2.0 * i / n);
    points.push_back(centre + v * (r * std::sin(a)) + u * (r * std::cos(a)));
  }
  return points;
}

// A concave lens: two arcs curving in towards the middle between short flat ends; the waist is a
// third of the ends' width.
void DrawConcaveLens(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  FigureBox box;
  if (!FigureBoxOf(g, box)) return;
  const LensFrame f = FrameOfBox(box);
  std::vector<QPointF> outline = ArcAcross(f, 1, 1.0 / 3, true);
  const std::vector<QPointF> other = ArcAcross(f, -1, -1.0 / 3, false);
  outline.insert(outline.end(), other.begin(), other.end());
  ClosedBody(canvas, outline);
}

// A convex lens: two arcs bulging out to the box's sides, meeting at the ends.
void DrawConvexLens(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  FigureBox box;
  if (!FigureBoxOf(g, box)) return;
  const LensFrame f = FrameOfBox(box);
  std::vector<QPointF> outline = ArcAcross(f, 0, 1, true);
  const std::vector<QPointF> other = ArcAcross(f, 0, -1, false);
  outline.insert(outline.end(), other.begin(), other.end());
  ClosedBody(canvas, outline);
}

// A lens symbol: a line along the box's longer side through its middle, with a head at each end:
// pointing outwards for the convex lens, reversed (pointing in, its barbs reaching the end) for
// the concave one.
void DrawLensSymbol(Canvas& canvas, const DragGeometry& g, bool convex) {
  FigureBox box;
  if (!FigureBoxOf(g, box)) return;
  const LensFrame f = FrameOfBox(box);
  const QPointF a = f.At(-1, 0), b = f.At(1, 0);
  canvas.Line(a.x(), a.y(), b.x(), b.y());
  const double half = std::hypot(f.along.x(), f.along.y());
  const double head = std::clamp(half / 4, 3.0, 10.0);
  const double spread = std::min(0.6 * head, box.Smaller() / 2 + 1);
  for (double end : {-1.0, 1.0}) {
    const QPointF tip = f.At(end, 0), out = f.along * end;
    if (convex)
      SolidBarbs(canvas, tip, out, head, spread);
    else
      SolidBarbs(canvas, tip - out / std::max(half, 1e-9) * head, -out, head, spread);
  }
}

void DrawConcaveLensSymbol(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawLensSymbol(canvas, g, false);
}
void DrawConvexLensSymbol(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawLensSymbol(canvas, g, true);
}

using K = FigureKind;

const ToolFigure kLenses[] = {
    {ToolId::ConcaveLens, K::Box, DrawConcaveLens},
    {ToolId::ConcaveLensSymbol, K::Box, DrawConcaveLensSymbol},
    {ToolId::ConvexLens, K::Box, DrawConvexLens},
    {ToolId::ConvexLensSymbol, K::Box, DrawConvexLensSymbol},
};

}  // namespace

std::span<const ToolFigure> LensFigures() { return kLenses; }
