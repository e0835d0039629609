// Switches and resistors as circuit symbols: single-pole single-throw, single-pole double-throw
// and double-pole double-throw switches, the resistor, two resistors in parallel and in series,
// and the rheostat. Each lies along the drag at any angle with straight leads to both ends; the
// blades and the slider stand above the segment.
#include <algorithm>
#include <cmath>

#include "figures/Canvas.h"
#include "figures/DrawingStateScope.h"
#include "figures/FigureSteps.h"
#include "figures/library/CircuitSymbolLayout.h"
#include "figures/library/FigureFamilies.h"

namespace {

using figures::circuit::Local;
using figures::circuit::LocalLine;
using figures::circuit::ResistorBox;
using figures::circuit::SymbolLayout;
using figures::circuit::SymbolLayoutOf;
using figures::circuit::Terminal;
using figures::circuit::TerminalRadius;

// The blade of a switch: from the rim of the terminal at `pivot` towards `towards`, `reach` of
// the way there. Returns the blade's middle.
Local Blade(Canvas& canvas, const SymbolLayout& s, Local pivot, Local towards, double reach, double r) {
  const Local d = towards - pivot;
  const double n = std::hypot(d.x(), d.y());
  if (!(n > 0)) return pivot;
  const Local u = d / n;
  const Local from = pivot + u * r, to = pivot + d * reach;
  LocalLine(canvas, s, from, to);
  return (from + to) / 2;
}

// A lead along the segment at `t` across it, from `s0` to `s1`.
void LeadAt(Canvas& canvas, const SymbolLayout& s, double s0, double s1, double t) {
  LocalLine(canvas, s, {s0, t}, {s1, t});
}

// Single pole, single throw: two terminal circles, the blade rising 30 degrees from the first
// towards the second.
void DrawSingleThrowSwitch(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const auto s = SymbolLayoutOf(g);
  if (!s) return;
  const double b = s->Body(), r = TerminalRadius(b);
  figures::circuit::Leads(canvas, *s, s->bodyStart - r, s->bodyEnd + r);
  Terminal(canvas, *s, {s->bodyStart, 0}, r);
  Terminal(canvas, *s, {s->bodyEnd, 0}, r);
  const double a = figures::kPi / 6;
  Blade(canvas, *s, {s->bodyStart, 0}, {s->bodyStart + std::cos(a), std::sin(a)}, b, r);
}

// A single-pole double-throw switch whose common terminal sits on the axis at `axis` across: the
// lead from P, the two contacts at the far end of the body `spread` to either side with leads on
// to the end of the segment, and the blade from the common terminal towards the upper contact,
// not touching it. Returns the blade's middle.
Local DoubleThrow(Canvas& canvas, const SymbolLayout& s, double axis, double spread, double r) {
  const double L = s.Length();
  LeadAt(canvas, s, 0, s.bodyStart - r, axis);
  Terminal(canvas, s, {s.bodyStart, axis}, r);
  for (double t : {axis + spread, axis - spread}) {
    Terminal(canvas, s, {s.bodyEnd, t}, r);
    LeadAt(canvas, s, s.bodyEnd + r, L, t);
  }
  return Blade(canvas, s, {s.bodyStart, axis}, {s.bodyEnd, axis + spread}, 0.7, r);
}

void DrawDoubleThrowSwitch(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const auto s = SymbolLayoutOf(g);
  if (!s) return;
  const double b = s->Body();
  DoubleThrow(canvas, *s, 0, 0.3 * b, TerminalRadius(b));
}

// Double pole, double throw: two double-throw switches side by side across the segment, their
// blades joined by a dashed bar.
void DrawDoublePoleSwitch(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const auto s = SymbolLayoutOf(g);
  if (!s) return;
  const double b = s->Body(), r = TerminalRadius(b);
  const Local upper = DoubleThrow(canvas, *s, 0.32 * b, 0.2 * b, r);
  const Local lower = DoubleThrow(canvas, *s, -0.32 * b, 0.2 * b, r);
  DrawingStateScope keep(canvas);
  canvas.DrawStyle = Canvas::kDash;
  canvas.DrawWidth = 1;
  LocalLine(canvas, *s, lower, upper);
}

// A resistor: one box the length of the body (the rheostat's box without its slider), the leads
// reaching its ends.
void DrawResistorSymbol(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const auto s = SymbolLayoutOf(g);
  if (!s) return;
  figures::circuit::Leads(canvas, *s, s->bodyStart, s->bodyEnd);
  ResistorBox(canvas, *s, {s->Middle(), 0}, s->Body());
}

// Two resistors on parallel branches: the leads meet cross wires at both ends of the body, and
// each branch carries a resistor box in its middle.
void DrawParallelResistors(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const auto s = SymbolLayoutOf(g);
  if (!s) return;
  const double b = s->Body(), m = s->Middle(), H = 0.38 * b, box = 0.6 * b;
  figures::circuit::Leads(canvas, *s, s->bodyStart, s->bodyEnd);
  for (double at : {s->bodyStart, s->bodyEnd}) LocalLine(canvas, *s, {at, -H}, {at, H});
  for (double t : {-H, H}) {
    LeadAt(canvas, *s, s->bodyStart, m - box / 2, t);
    LeadAt(canvas, *s, m + box / 2, s->bodyEnd, t);
    ResistorBox(canvas, *s, {m, t}, box);
  }
}

// Two resistors in a row with a short wire between them. Each box is as long as a branch's box in
// the parallel pair, so the pair takes more than the body's length (never more than the drag).
void DrawSeriesResistors(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const auto s = SymbolLayoutOf(g);
  if (!s) return;
  const double b = s->Body(), m = s->Middle();
  const double scale = std::min(1.0, 0.9 * s->Length() / (1.45 * b));
  const double box = 0.6 * b * scale, gap = 0.25 * b * scale;
  figures::circuit::Leads(canvas, *s, m - box - gap / 2, m + box + gap / 2);
  LeadAt(canvas, *s, m - gap / 2, m + gap / 2, 0);
  ResistorBox(canvas, *s, {m - (box + gap) / 2, 0}, box);
  ResistorBox(canvas, *s, {m + (box + gap) / 2, 0}, box);
}

// A rheostat: a resistor box the length of the body and a slider arrow pointing onto its middle
// from above.
void DrawRheostatSymbol(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const auto s = SymbolLayoutOf(g);
  if (!s) return;
  const double b = s->Body(), m = s->Middle();
  figures::circuit::Leads(canvas, *s, s->bodyStart, s->bodyEnd);
  ResistorBox(canvas, *s, {m, 0}, b);
  // The arrowhead grows with the line so that it stands out from its shaft.
  const double grow = std::clamp(canvas.DrawWidth, 1, 4) - 1;
  const double top = b / 6 + 0.5 * canvas.DrawWidth, head = std::clamp(0.2 * b, 3.0, 10.0);
  LocalLine(canvas, *s, {m, 0.58 * b}, {m, top + head / 2});
  figures::SolidArrowhead(canvas, s->At(m, top), -s->frame.across * s->side, head + 2 * grow, 0.4 * head + grow);
}

using K = FigureKind;

const ToolFigure kCircuitSwitches[] = {
    {ToolId::SingleThrowSwitch, K::Along, DrawSingleThrowSwitch},
    {ToolId::DoubleThrowSwitch, K::Along, DrawDoubleThrowSwitch},
    {ToolId::DoublePoleSwitch, K::Along, DrawDoublePoleSwitch},
    {ToolId::ResistorSymbol, K::Along, DrawResistorSymbol},
    {ToolId::ParallelResistors, K::Along, DrawParallelResistors},
    {ToolId::SeriesResistors, K::Along, DrawSeriesResistors},
    {ToolId::RheostatSymbol, K::Along, DrawRheostatSymbol},
};

}  // namespace

std::span<const ToolFigure> CircuitSwitchFigures() { return kCircuitSwitches; }
