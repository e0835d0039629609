// The curves of palette 2: half and whole parabolas about a vertex, the hyperbola with its
// asymptotes, the spiral, the upright sine wave and the clothoid. Every curve is traced in short
// straight pieces and stroked as one path, so steep stretches keep no gaps and a dashed line style
// runs on along the curve.
#include <algorithm>
#include <cmath>

#include "figures/Canvas.h"
#include "figures/DrawingStateScope.h"
#include "figures/FigureGeometry.h"
#include "figures/FigureSteps.h"
#include "figures/library/FigureDrags.h"
#include "figures/library/FigureFamilies.h"
#include "figures/library/PatternedStrokes.h"
#include "figures/library/TracedCurves.h"

namespace {

using namespace figures;

// The trace of a curve drawn whole from t0 to t1, in steps of at most `step` (see CurveTrace),
// moving at most `speed` pixels per unit of t.
CurveTrace TraceOf(Canvas& canvas, double t0, double t1, double step, double speed) {
  CurveTrace trace;
  trace.t0 = t0;
  trace.t1 = t1;
  trace.step = step;
  trace.speed = speed;
  trace.clip = PictureReach(canvas);
  return trace;
}

// A parabola with its vertex at the press point through the pointer, its axis vertical or
// horizontal. t = 0 is the vertex, t = 1 the pointer, t = -1 its mirror image across the axis.
void DrawParabola(Canvas& canvas, const DragGeometry& g, bool verticalAxis, bool bothBranches) {
  if (!WithinReach(g)) return;
  const QPointF v(g.PressPoint.x, g.PressPoint.y);
  const QPointF d(g.CurrentPoint.x - v.x(), g.CurrentPoint.y - v.y());
  const CurvePoint curve = [=](double t) {
    return verticalAxis ? QPointF(v.x() + t * d.x(), v.y() + t * t * d.y())
                        : QPointF(v.x() + t * t * d.x(), v.y() + t * d.y());
  };
  const double speed = verticalAxis ? std::hypot(d.x(), 2 * d.y()) : std::hypot(2 * d.x(), d.y());
  StrokeCurve(canvas, curve, TraceOf(canvas, bothBranches ? -1 : 0, 1, 0.125, speed));
}

void DrawHorizontalHalfParabola(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawParabola(canvas, g, false, false);
}
void DrawVerticalHalfParabola(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawParabola(canvas, g, true, false);
}
void DrawVerticalParabola(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawParabola(canvas, g, true, true);
}
void DrawHorizontalParabola(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawParabola(canvas, g, false, true);
}

// Both branches centred in the box, opening along its longer side, with the box's diagonals as
// dotted asymptotes. The vertices sit at 0.4 of the half length from the centre, and each branch
// runs out to the box's end, close to the corners.
void DrawHyperbola(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  FigureBox box;
  if (!FigureBoxOf(g, box)) return;
  const bool wide = box.Width() >= box.Height();
  const double along = (wide ? box.Width() : box.Height()) / 2;
  const double across = (wide ? box.Height() : box.Width()) / 2;
  const double a = 0.4 * along, b = 0.4 * across;
  const double reach = std::acosh(along / a);
  const QPointF centre(box.CentreX(), box.CentreY());
  for (double side : {-1.0, 1.0}) {
    const CurvePoint branch = [=](double s) {
      const double u = side * a * std::cosh(s), w = b * std::sinh(s);
      return centre + (wide ? QPointF(u, w) : QPointF(w, u));
    };
    const double speed = std::hypot(a, b) * std::cosh(reach);
    StrokeCurve(canvas, branch, TraceOf(canvas, -reach, reach, reach / 8, speed));
  }
  // The asymptotes are fine guide lines: at most two pixels wide.
  DrawingStateScope keep(canvas);
  canvas.DrawWidth = std::min(canvas.DrawWidth, 2);
  DottedStroke(canvas, {box.At(0, 0), box.At(1, 1)});
  DottedStroke(canvas, {box.At(0, 1), box.At(1, 0)});
}

// An Archimedean spiral of N turns (N from the first value) about the press point, widening
// counter-clockwise to its outer end at the pointer.
void DrawSpiral(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  if (!WithinReach(g)) return;
  const QPointF c(g.PressPoint.x, g.PressPoint.y);
  const double dx = g.CurrentPoint.x - c.x(), dy = g.CurrentPoint.y - c.y();
  const double radius = std::hypot(dx, dy);
  if (!(radius > 0)) return;
  const double end = std::atan2(-dy, dx);  // the pointer's angle, counter-clockwise on screen
  const double turns = 2 * kPi * CountParameter(params.SP);
  auto at = [&](double a) {
    const double r = radius * a / turns, angle = end + a - turns;
    return c + QPointF(r * std::cos(angle), -r * std::sin(angle));
  };
  // Only the turns whose radius can reach the picture: between the distances from the centre to
  // the picture's nearest and farthest points, widened by the pen.
  const QRectF picture = PictureReach(canvas);
  const double nx = std::max({picture.left() - c.x(), 0.0, c.x() - picture.right()});
  const double ny = std::max({picture.top() - c.y(), 0.0, c.y() - picture.bottom()});
  const double fx = std::max(std::fabs(c.x() - picture.left()), std::fabs(c.x() - picture.right()));
  const double fy = std::max(std::fabs(c.y() - picture.top()), std::fabs(c.y() - picture.bottom()));
  double a = std::max(0.0, std::hypot(nx, ny) / radius * turns);
  const double last = std::min(turns, std::hypot(fx, fy) / radius * turns);
  if (!(a <= last)) return;
  // Chords that stay within a third of a pixel of the curve: as many per turn as its radius needs.
  std::vector<QPointF> points;
  while (a < last) {
    points.push_back(at(a));
    a += std::min(0.25, 2 * kPi / FlatPieces(radius * a / turns, 2 * kPi));
  }
  points.push_back(at(last));
  StrokePath(canvas, points);
}

// The sine wave turned upright: N periods (N from the first value) from the press row to the
// pointer's row about the box's middle, half the box's width to each side. It starts towards the
// side the drag went, so a leftward drag mirrors it.
void DrawUprightSineWave(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  FigureBox box;
  if (!FigureBoxOf(g, box)) return;
  const double amplitude = box.Forward() * box.Width() / 2, cx = box.CentreX();
  const double y0 = g.PressPoint.y, height = g.CurrentPoint.y - y0;
  const double k = 2 * kPi * CountParameter(params.SP);
  const CurvePoint wave = [=](double t) {
    return QPointF(cx + amplitude * std::sin(k * t), y0 + t * height);
  };
  StrokeCurve(canvas, wave, TraceOf(canvas, 0, 1, kPi / 4 / k, std::hypot(k * amplitude, height)));
}

// The clothoid: a curve whose curvature grows evenly with its length, x = ∫cos(u²/2), y = ∫sin(u²/2)
// from 0 to s, followed until it has turned three quarters of a circle. Its power series converge
// quickly over that length.
constexpr double kClothoidLength = 3.0700;  // √(2 · 3π/2)
QPointF ClothoidAt(double s) {
  const double z = s * s / 2;
  double term = s, x = 0, y = 0;  // term = s · z^k / k!
  for (int k = 0; k < 40; ++k) {
    const double v = term / (2 * k + 1);
    if (k % 4 == 0) x += v;
    if (k % 4 == 1) y += v;
    if (k % 4 == 2) x -= v;
    if (k % 4 == 3) y -= v;
    term *= z / (k + 1);
    // Once the terms fall, and fall below a quarter of the last place of both sums, no later
    // term changes either: the sums are final (to the last bit, as with every term added).
    if (k + 1 > z && std::abs(term) * 0x1p55 < std::min(std::abs(x), std::abs(y))) break;
  }
  return {x, y};
}

// How far the clothoid reaches from its start, right and up, over its whole length.
QPointF ClothoidReach() {
  double right = 0, top = 0;
  for (int i = 0; i <= 256; ++i) {
    const QPointF p = ClothoidAt(kClothoidLength * i / 256);
    right = std::max(right, p.x());
    top = std::max(top, p.y());
  }
  return {right, top};
}

// The clothoid scaled evenly into the box and centred in it, lying on its straight beginning at
// the box's bottom and curling up and back over it. It starts on the side the drag started from.
void DrawClothoid(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  FigureBox box;
  if (!FigureBoxOf(g, box)) return;
  static const QPointF reach = ClothoidReach();  // the same for every drag
  const double right = reach.x(), top = reach.y();
  const double scale = std::min(box.Width() / right, box.Height() / top);
  const double fx = (1 - scale * right / box.Width()) / 2, fy = (1 + scale * top / box.Height()) / 2;
  const QPointF start = box.Facing(std::isfinite(fx) ? fx : 0.5, std::isfinite(fy) ? fy : 0.5);
  const double forward = box.Forward();
  const CurvePoint curve = [=](double s) {
    const QPointF p = ClothoidAt(s);
    return start + QPointF(forward * scale * p.x(), -scale * p.y());
  };
  StrokeCurve(canvas, curve, TraceOf(canvas, 0, kClothoidLength, kClothoidLength / 32, scale));
}

using K = FigureKind;

const ToolFigure kCurves[] = {
    {ToolId::HorizontalHalfParabola, K::VertexPoint, DrawHorizontalHalfParabola},
    {ToolId::VerticalHalfParabola, K::VertexPoint, DrawVerticalHalfParabola},
    {ToolId::VerticalParabola, K::VertexPoint, DrawVerticalParabola},
    {ToolId::HorizontalParabola, K::VertexPoint, DrawHorizontalParabola},
    {ToolId::Hyperbola, K::Box, DrawHyperbola},
    {ToolId::Spiral, K::CentreRadius, DrawSpiral, kReadsFirst},
    {ToolId::UprightSineWave, K::Box, DrawUprightSineWave, kReadsFirst, true},
    {ToolId::Clothoid, K::Box, DrawClothoid, kReadsNothing, true},
};

}  // namespace

std::span<const ToolFigure> CurveFigures() { return kCurves; }
