// The function graphs of palette 2: y = (x − a)^n + c and y = C^(x − a) + c, with n (or C) the
// first value, a the second and c the third, on axes crossing at the middle of the box.
#include <algorithm>
#include <cmath>
#include <functional>

#include "figures/Canvas.h"
#include "figures/DrawingStateScope.h"
#include "figures/FigureGeometry.h"
#include "figures/library/FigureDrags.h"
#include "figures/library/FigureFamilies.h"
#include "figures/library/PatternedStrokes.h"
#include "figures/library/TracedCurves.h"

namespace {

using namespace figures;

// Five units each side of the origin on both axes, with half a unit to spare for the heads.
constexpr int kUnits = 5;

// The axes of a graph: crossing at the box's centre, one scale for both, chosen so that five
// units each side of the origin fit the box's smaller side.
struct GraphAxes {
  FigureBox box;
  QPointF origin;
  double unit = 0;  // pixels per unit
  QPointF At(double x, double y) const { return origin + QPointF(x * unit, -y * unit); }
};

// False when the drag has no room for a graph.
bool AxesOf(const DragGeometry& g, GraphAxes& axes) {
  if (!FigureBoxOf(g, axes.box)) return false;
  axes.origin = QPointF(axes.box.CentreX(), axes.box.CentreY());
  axes.unit = axes.box.Smaller() / (2 * kUnits + 1);
  return true;
}

// The axes across the whole box with heads at the right and the top, and a tick at every unit
// where the units stand apart clearly.
void DrawAxes(Canvas& canvas, const GraphAxes& axes) {
  const FigureBox& b = axes.box;
  const QPointF o = axes.origin;
  canvas.Line(b.left, o.y(), b.right, o.y());
  canvas.Line(o.x(), b.bottom, o.x(), b.top);
  const double head = std::clamp(b.Smaller() / 14, 3.0, 9.0);
  SolidBarbs(canvas, QPointF(b.right, o.y()), QPointF(1, 0), head, 0.4 * head);
  SolidBarbs(canvas, QPointF(o.x(), b.top), QPointF(0, -1), head, 0.4 * head);
  if (axes.unit < 6) return;
  // Ticks are small marks: solid and at most two pixels wide, whatever the axes' style and width.
  DrawingStateScope keep(canvas);
  canvas.DrawStyle = Canvas::kSolid;
  canvas.DrawWidth = std::min(canvas.DrawWidth, 2);
  const double tick = std::min(axes.unit / 3, 3.0);
  for (int k = -kUnits; k <= kUnits; ++k) {
    if (k == 0) continue;
    const QPointF x = axes.At(k, 0), y = axes.At(0, k);
    canvas.Line(x.x(), x.y(), x.x(), x.y() - tick);
    canvas.Line(y.x(), y.y(), y.x() + tick, y.y());
  }
}

// The graph of y = f(x) over five units each side of the origin, inside the box only. Where f is
// undefined (not a number or infinite) the graph is absent; it is never joined across such a gap
// or across the box's edge.
void DrawGraph(Canvas& canvas, const GraphAxes& axes, const std::function<double(double)>& f) {
  if (!(axes.unit > 0)) return;
  const FigureBox& b = axes.box;
  const QRectF clip = QRectF(QPointF(b.left, b.top), QPointF(b.right, b.bottom)) & PictureReach(canvas);
  const QPointF o = axes.origin;
  const double u = axes.unit;
  CurveTrace trace;
  trace.t0 = std::max(o.x() - kUnits * u, clip.left());
  trace.t1 = std::min(o.x() + kUnits * u, clip.right());
  trace.step = 2;  // two pixel columns at most; steep and bending stretches take smaller steps
  trace.speed = HUGE_VAL;
  trace.clip = clip;
  StrokeCurve(canvas, [&](double x) { return QPointF(x, o.y() - u * f((x - o.x()) / u)); }, trace);
}

bool AllFinite(const ParameterValues& p) {
  return std::isfinite(p.SP) && std::isfinite(p.SZ) && std::isfinite(p.CS);
}

// y = (x − a)^n + c. A fractional power of a negative number is undefined, so that stretch is left
// out; a negative power leaves the graph out at x = a.
void DrawPowerGraph(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  GraphAxes axes;
  if (!AxesOf(g, axes)) return;
  DrawAxes(canvas, axes);
  if (!AllFinite(params)) return;
  const double n = params.SP, a = params.SZ, c = params.CS;
  DrawGraph(canvas, axes, [=](double x) { return std::pow(x - a, n) + c; });
}

// y = C^(x − a) + c; a base C of zero or below has no such graph, and only the axes are drawn.
void DrawExponentialGraph(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  GraphAxes axes;
  if (!AxesOf(g, axes)) return;
  DrawAxes(canvas, axes);
  if (!AllFinite(params) || !(params.SP > 0)) return;
  const double base = params.SP, a = params.SZ, c = params.CS;
  DrawGraph(canvas, axes, [=](double x) { return std::pow(base, x - a) + c; });
}

constexpr uint8_t kAllThree = kReadsFirst | kReadsSecond | kReadsThird;

const ToolFigure kFunctionGraphs[] = {
    {ToolId::PowerGraph, FigureKind::Box, DrawPowerGraph, kAllThree},
    {ToolId::ExponentialGraph, FigureKind::Box, DrawExponentialGraph, kAllThree},
};

}  // namespace

std::span<const ToolFigure> FunctionGraphFigures() { return kFunctionGraphs; }
