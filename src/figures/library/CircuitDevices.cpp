// The wires and lab devices of the electric palette: the right-angled wire, the transformer symbol,
// the resistance wire on its board, the knife switches and the slide rheostat (the cells, the
// electroscope and the coils are drawn in CellsAndCoils.cpp), and the family's entries.
#include <algorithm>
#include <cmath>
#include <vector>

#include "figures/Canvas.h"
#include "figures/FigureGeometry.h"
#include "figures/FigureSteps.h"
#include "figures/library/CellsAndCoils.h"
#include "figures/library/DeviceParts.h"
#include "figures/library/FigureFamilies.h"

namespace figures {
namespace {

// From the press point along the drag's main direction to the corner, then to the pointer; a
// drag as wide as high starts vertically.
void DrawCircuitWire(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!UsableDrag(g)) return;
  const QPointF p(g.PressPoint.x, g.PressPoint.y), q(g.CurrentPoint.x, g.CurrentPoint.y);
  if (p == q) return;
  const bool across = std::fabs(q.x() - p.x()) > std::fabs(q.y() - p.y());
  const QPointF corner = across ? QPointF(q.x(), p.y()) : QPointF(p.x(), q.y());
  StrokePath(canvas, {p, corner, q});
}

// One coil of the transformer: a lead from the box's edge to the coil's upper end, `bumps` turns
// down to its lower end, each a half circle bulging `bulge` pixels (towards the core), and a lead
// back to the edge. One stroke, so that a dashed coil stays dashed.
void TransformerCoil(Canvas& canvas, double edge, double base, double bulge, double y0, double y1,
                     int bumps) {
  const double pitch = (y1 - y0) / bumps, half = pitch / 2;
  const int n = static_cast<int>(std::clamp(std::ceil(kPi * std::max(std::fabs(bulge), half)), 6.0, 64.0));
  std::vector<QPointF> path{QPointF(edge, y0)};
  path.reserve(2 + bumps * (n + 1));
  for (int k = 0; k < bumps; ++k) {
    const double centre = y0 + (k + 0.5) * pitch;
    for (int i = 0; i <= n; ++i) {
      const double a = -kPi / 2 + kPi * i / n;
      path.emplace_back(base + bulge * std::cos(a), centre + half * std::sin(a));
    }
  }
  path.emplace_back(edge, y1);
  StrokePath(canvas, path);
}

// The primary coil of N1 turns on the left, the secondary of N2 on the right, both bulging
// towards two core lines in the middle, leads out to the sides. A coil shows as many turns as
// stay apart at the line width (in a small box fewer than asked).
void DrawTransformer(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  const FigureBox b = PlainBoxOf(g);
  if (!UsableDrag(g) || !DrawableBox(b)) return;
  const double w = b.Width(), h = b.Height(), cx = b.CentreX();
  // The core's lines and the gap to the coils stay open at the line width, within the box.
  const double pen = PenWidth(canvas);
  const double core = std::min(std::max(std::min(0.03 * w, 4.0), pen / 2 + 1), w / 2);
  const double clearance = std::max(std::min(0.04 * w, 6.0), pen + 1);
  const double y0 = b.top + 0.08 * h, y1 = b.bottom - 0.08 * h;
  const double narrowest = 3 + 1.75 * pen;
  const int fit = static_cast<int>(std::clamp(std::floor((y1 - y0) / narrowest), 1.0, 200.0));
  const int turns[2] = {std::min(CountParameter(params.SP), fit), std::min(CountParameter(params.SZ), fit)};
  for (int side = 0; side < 2; ++side) {
    const double out = side == 0 ? -1 : 1;  // away from the core
    const double bulge = std::min(std::max((y1 - y0) / turns[side] / 2, 2.0), 0.16 * w);
    const double base = cx + out * std::min(core + clearance + bulge, w / 2);
    TransformerCoil(canvas, side == 0 ? b.left : b.right, base, -out * bulge, y0, y1, turns[side]);
  }
  for (double x : {cx - core, cx + core}) canvas.Line(x, b.top, x, b.bottom);
}

// A board with two binding posts near its ends (a column under a nut) and the wire stretched
// between them.
void DrawResistanceWire(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const FigureBox b = PlainBoxOf(g);
  if (!UsableDrag(g) || !DrawableBox(b)) return;
  BoxBody(canvas, b, 0, 0.62, 1, 1);
  for (double fx : {0.12, 0.88}) {
    BoxBody(canvas, b, fx - 0.025, 0.3, fx + 0.025, 0.62);
    SolidPart(canvas, {b.At(fx - 0.05, 0.16), b.At(fx + 0.05, 0.16), b.At(fx + 0.05, 0.3),
                       b.At(fx - 0.05, 0.3)});
  }
  Stroke(canvas, b.At(0.145, 0.38), b.At(0.855, 0.38));
}

// ---- Knife switches (side view on their base plate, the handle towards the way they face) ----

// The base plate along the bottom of the box.
void KnifeBase(Canvas& canvas, const FigureBox& b) { BoxBody(canvas, b, 0, 0.8, 1, 1); }

// A clip: a low block with two prongs rising from it, the blade's slot between them.
void KnifeClip(Canvas& canvas, const FigureBox& b, double fx0, double fx1) {
  BoxBody(canvas, b, fx0, 0.68, fx1, 0.8);
  for (double fx : {fx0, fx1}) Stroke(canvas, b.Facing(fx, 0.5), b.Facing(fx, 0.68));
}

// The hinge post between fx0 and fx1 with its pin, and the blade raised from the pin to a round
// handle at handleFx that touches the top of the box (fractions of the box, from the side the
// switch faces away from).
void KnifeBlade(Canvas& canvas, const FigureBox& b, double fx0, double fx1, double handleFx) {
  BoxBody(canvas, b, fx0, 0.55, fx1, 0.8);
  const double s = b.Smaller();
  const double knob = std::max(1.0, 0.08 * s), halfBlade = std::clamp(0.02 * s, 0.5, 3.0);
  const QPointF pin = b.Facing((fx0 + fx1) / 2, 0.62);
  const QPointF handle(b.Facing(handleFx, 0).x(), b.top + knob);
  const QPointF d = handle - pin;
  const double length = std::hypot(d.x(), d.y());
  if (length > knob) {
    // A blade narrower than two line widths shows as one stroke.
    const QPointF u = d / length, n(-u.y(), u.x());
    const QPointF end = handle - u * knob;
    if (halfBlade > PenWidth(canvas))
      ClosedBody(canvas, {pin + n * halfBlade, end + n * halfBlade, end - n * halfBlade, pin - n * halfBlade});
    else
      Stroke(canvas, pin, end);
  }
  canvas.Circle(handle.x(), handle.y(), knob);
  SolidDot(canvas, pin, std::max(0.5, 0.025 * s));
}

void DrawKnifeSwitch(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const FigureBox b = BoxOf(g);
  if (!UsableDrag(g) || !DrawableBox(b)) return;
  KnifeBase(canvas, b);
  KnifeClip(canvas, b, 0.8, 0.9);
  KnifeBlade(canvas, b, 0.1, 0.2, 0.78);
}

// The double-throw knife switch: the hinge in the middle, a clip on either side, the blade raised
// and leaning the way the switch faces.
void DrawDoubleKnifeSwitch(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const FigureBox b = BoxOf(g);
  if (!UsableDrag(g) || !DrawableBox(b)) return;
  KnifeBase(canvas, b);
  KnifeClip(canvas, b, 0.06, 0.16);
  KnifeClip(canvas, b, 0.84, 0.94);
  KnifeBlade(canvas, b, 0.45, 0.55, 0.7);
}

// Two end supports, between them the drum wound with close turns, the rod above it with a
// slider whose contact touches the drum, terminal nuts on the supports' tops and terminals on
// their sides.
void DrawSlideRheostat(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const FigureBox b = PlainBoxOf(g);
  if (!UsableDrag(g) || !DrawableBox(b)) return;
  constexpr double kRod = 0.22, kDrumTop = 0.5, kDrumBottom = 0.86;
  for (double fx : {0.02, 0.9}) BoxBody(canvas, b, fx, 0.16, fx + 0.08, 1);
  BoxBody(canvas, b, 0.1, kDrumTop, 0.9, kDrumBottom);
  // The turns: short strokes across the drum slanting by half a gap, as close as the line width
// allows on a small drum, a fiftieth of the box apart on a large one.
  const double gap = std::max(CloseSpacing(canvas), 0.02 * b.Width()), slant = gap / 2;
  const double y0 = b.At(0, kDrumTop).y(), y1 = b.At(0, kDrumBottom).y();
  const double x0 = b.At(0.1, 0).x() + gap, x1 = b.At(0.9, 0).x() - gap - slant;
  ForEachStep(x0, gap, x1, -StrokeMargin(canvas) - slant, canvas.Width() + StrokeMargin(canvas),
              [&](double x) { canvas.Line(x, y0, x + slant, y1); });
  Stroke(canvas, b.At(0.1, kRod), b.At(0.9, kRod));
  BoxBody(canvas, b, 0.55, 0.14, 0.69, 0.3);
  Stroke(canvas, b.At(0.57, 0.3), b.At(0.62, kDrumTop));
  Stroke(canvas, b.At(0.67, 0.3), b.At(0.62, kDrumTop));
  const double dot = std::max(0.5, 0.025 * b.Smaller());
  for (double fx : {0.06, 0.94}) {
    SolidPart(canvas, {b.At(fx - 0.03, 0.08), b.At(fx + 0.03, 0.08), b.At(fx + 0.03, 0.16),
                       b.At(fx - 0.03, 0.16)});
    SolidDot(canvas, b.At(fx, 0.68), dot);
  }
}

using K = FigureKind;
constexpr uint8_t kNone = kReadsNothing, kBothCounts = kReadsFirst | kReadsSecond;

const ToolFigure kDevices[] = {
    {ToolId::CircuitWire, K::Box, DrawCircuitWire},
    {ToolId::Transformer, K::Box, DrawTransformer, kBothCounts},
    {ToolId::DryCell, K::Box, DrawDryCell, kNone, true},
    {ToolId::StorageBattery, K::Box, DrawStorageBattery, kNone, true},
    {ToolId::ResistanceWire, K::Box, DrawResistanceWire},
    {ToolId::KnifeSwitch, K::Box, DrawKnifeSwitch, kNone, true},
    {ToolId::DoubleKnifeSwitch, K::Box, DrawDoubleKnifeSwitch, kNone, true},
    {ToolId::SlideRheostat, K::Box, DrawSlideRheostat},
    {ToolId::Electroscope, K::Box, DrawElectroscope},
    {ToolId::InnerInductionCoil, K::Box, DrawInnerInductionCoil},
    {ToolId::OuterInductionCoil, K::Box, DrawOuterInductionCoil},
};

}  // namespace
}  // namespace figures

std::span<const ToolFigure> CircuitDeviceFigures() { return figures::kDevices; }
