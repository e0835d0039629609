// Electronic parts of the electric palette: the capacitor as a part (a can on two legs) and the
// symbols of the field-effect transistor, the bipolar transistor and the operational amplifier.
// Box figures; the symbols' leads reach the edges of the box so that wires join them.
#include <algorithm>
#include <cmath>

#include "figures/Canvas.h"
#include "figures/FigureGeometry.h"
#include "figures/FigureSteps.h"
#include "figures/library/DeviceParts.h"
#include "figures/library/FigureFamilies.h"

namespace figures {
namespace {

// A can standing on two legs that reach the bottom of the box.
void DrawCapacitorPart(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const FigureBox b = PlainBoxOf(g);
  if (!UsableDrag(g) || !DrawableBox(b)) return;
  const double h = b.Height();
  const double r = std::min(b.Width() / 2, 0.3 * h), depth = std::min(0.3 * r, 0.08 * h);
  PartFrame f;
  f.origin = QPointF(b.CentreX(), b.top + 0.7 * h);
  const double length = 0.7 * h - depth;
  Cylinder(canvas, f, length, r, depth);
  // The groove rolled round the can near its sealed end.
  StrokePath(canvas, SectionArc(f, 0.14 * length, r, depth, kPi / 2, 3 * kPi / 2));
  // The legs leave the can's bottom rim two fifths of the radius either side of the middle.
  const double leg = 0.4 * r, rim = depth * std::sqrt(1 - 0.4 * 0.4);
  for (double side : {-1.0, 1.0}) {
    const QPointF foot = f.At(-rim, side * leg);
    canvas.Line(foot.x(), foot.y(), foot.x(), b.bottom);
  }
}

// The stroke through the points at fractions of the box.
void BoxPath(Canvas& canvas, const FigureBox& b, std::initializer_list<QPointF> fractions) {
  std::vector<QPointF> points;
  for (QPointF p : fractions) points.push_back(b.At(p.x(), p.y()));
  StrokePath(canvas, points);
}

// An insulated-gate field-effect transistor (n channel, enhancement): the gate plate with its lead
// from the left at the source's level, the channel in three pieces, the drain leaving upwards, the
// source downwards, and the substrate joined to the source with its arrow pointing at the channel.
void DrawFieldEffectTransistor(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const FigureBox b = PlainBoxOf(g);
  if (!UsableDrag(g) || !DrawableBox(b)) return;
  constexpr double kGate = 0.36, kChannel = 0.46, kRight = 0.78;
  constexpr double kDrain = 0.28, kBody = 0.5, kSource = 0.72;
  BoxPath(canvas, b, {{0, kSource}, {kGate, kSource}});
  BoxPath(canvas, b, {{kGate, 0.22}, {kGate, 0.78}});
  for (double y : {0.2, 0.42, 0.64}) BoxPath(canvas, b, {{kChannel, y}, {kChannel, y + 0.16}});
  BoxPath(canvas, b, {{kChannel, kDrain}, {kRight, kDrain}, {kRight, 0}});
  BoxPath(canvas, b, {{kChannel, kSource}, {kRight, kSource}, {kRight, 1}});
  BoxPath(canvas, b, {{kChannel, kBody}, {kRight, kBody}, {kRight, kSource}});
  const double room = (kRight - kChannel) * b.Width();
  const double head = std::min(0.4 * room, std::max(3.0, 0.09 * b.Width()));
  const QPointF tip = b.At(kChannel, kBody) + QPointF(1 + canvas.DrawWidth / 2.0, 0);
  SolidArrowhead(canvas, tip, QPointF(-1, 0), head, std::min(0.4 * head, 0.1 * b.Height()));
}

// A bipolar transistor without its emitter arrow (the arrow tool adds it): the circle, the base
// bar with the base lead from the left, the collector slanting up and leaving at the top, the
// emitter slanting down and leaving at the bottom.
void DrawBipolarTransistor(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const FigureBox b = PlainBoxOf(g);
  if (!UsableDrag(g) || !DrawableBox(b)) return;
  const double cx = b.CentreX(), cy = b.CentreY(), r = 0.42 * b.Smaller();
  canvas.Circle(cx, cy, r);
  const double bar = cx - 0.3 * r, lead = cx + 0.38 * r;
  canvas.Line(bar, cy - 0.5 * r, bar, cy + 0.5 * r);
  canvas.Line(b.left, cy, bar, cy);
  for (double side : {-1.0, 1.0}) {
    const QPointF from(bar, cy + side * 0.22 * r), bend(lead, cy + side * 0.62 * r);
    StrokePath(canvas, {from, bend, QPointF(lead, side < 0 ? b.top : b.bottom)});
  }
}

// An operational amplifier: a triangle pointing the way the drag went, the inverting input (−)
// above the non-inverting one (+), their leads from the trailing edge, the output lead from the
// tip to the leading edge.
void DrawOperationalAmplifier(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const FigureBox b = BoxOf(g);
  if (!UsableDrag(g) || !DrawableBox(b)) return;
  constexpr double kBase = 0.2, kTip = 0.8;
  const double cy = b.CentreY(), reach = std::min(0.46 * b.Height(), 0.35 * b.Width());
  const auto x = [&](double fx) { return b.Facing(fx, 0).x(); };
  ClosedBody(canvas, {QPointF(x(kBase), cy - reach), QPointF(x(kTip), cy), QPointF(x(kBase), cy + reach)});
  const double half = std::min(0.05 * b.Width(), 0.22 * reach);
  const double signX = x(kBase) + b.Forward() * (0.05 * b.Width() + half);
  for (double side : {-1.0, 1.0}) {
    const double y = cy + side * reach / 2;
    canvas.Line(x(0), y, x(kBase), y);
    if (side < 0)
      MinusSign(canvas, QPointF(signX, y), half);
    else
      PlusSign(canvas, QPointF(signX, y), half);
  }
  canvas.Line(x(kTip), cy, x(1), cy);
}

using K = FigureKind;
constexpr uint8_t kNone = kReadsNothing;

const ToolFigure kSemiconductors[] = {
    {ToolId::CapacitorPart, K::Box, DrawCapacitorPart},
    {ToolId::FieldEffectTransistor, K::Box, DrawFieldEffectTransistor},
    {ToolId::BipolarTransistor, K::Box, DrawBipolarTransistor},
    {ToolId::OperationalAmplifier, K::Box, DrawOperationalAmplifier, kNone, true},
};

}  // namespace
}  // namespace figures

std::span<const ToolFigure> SemiconductorFigures() { return figures::kSemiconductors; }
