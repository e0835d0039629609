// The two-lead circuit symbols: lamp, cell, capacitor, ammeter, voltmeter, motor, ground, diode,
// inductor and electrolytic capacitor. Each lies along the drag at any angle, its body in the
// middle and straight leads to both ends; letters and signs stay upright.
#include <algorithm>
#include <cmath>
#include <vector>

#include "figures/Canvas.h"
#include "figures/FigureSteps.h"
#include "figures/Rounding.h"
#include "figures/library/CircuitSymbolLayout.h"
#include "figures/library/FigureFamilies.h"

namespace {

using figures::circuit::Leads;
using figures::circuit::Local;
using figures::circuit::LocalLine;
using figures::circuit::Plate;
using figures::circuit::SymbolLayout;
using figures::circuit::SymbolLayoutOf;

// A round body the size of the body length, with the leads reaching its rim. Returns its centre,
// on a whole pixel, so that a letter inside sits in the same place at every angle.
QPointF RoundBody(Canvas& canvas, const SymbolLayout& s) {
  Leads(canvas, s, s.bodyStart, s.bodyEnd);
  const QPointF m = s.FromMiddle(0, 0);
  const QPointF c(RoundHalfEvenReal(m.x()), RoundHalfEvenReal(m.y()));
  canvas.Circle(c.x(), c.y(), s.Body() / 2);
  return c;
}

// A lamp: a circle with a cross inside, its strokes at 45 degrees to the leads.
void DrawLamp(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const auto s = SymbolLayoutOf(g);
  if (!s) return;
  const QPointF c = RoundBody(canvas, *s);
  const double d = s->Body() / 2 * std::sqrt(0.5);
  const QPointF u = s->frame.along * d, v = s->frame.across * d;
  for (const QPointF k : {u + v, u - v}) canvas.Line(c.x() - k.x(), c.y() - k.y(), c.x() + k.x(), c.y() + k.y());
}

// A meter: a circle with its letter upright inside.
void DrawMeter(Canvas& canvas, const DragGeometry& g, const char* letter) {
  const auto s = SymbolLayoutOf(g);
  if (!s) return;
  const QPointF c = RoundBody(canvas, *s);
  figures::UprightLabel(canvas, c, letter, 0.55 * s->Body());
}

void DrawAmmeterSymbol(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawMeter(canvas, g, "A");
}

void DrawVoltmeterSymbol(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawMeter(canvas, g, "V");
}

// A motor: drawn as the meters are, with an M.
void DrawMotorSymbol(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawMeter(canvas, g, "M");
}

// Two plates across the segment, `gap` apart about the middle, the leads reaching them.
struct PlatePair {
  double first, second;  // distances from P
};
PlatePair PlatesOf(const SymbolLayout& s, double gap) {
  return {s.Middle() - gap / 2, s.Middle() + gap / 2};
}

// A cell: the long thin plate (positive) towards P, the short thick one towards Q.
void DrawCell(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const auto s = SymbolLayoutOf(g);
  if (!s) return;
  const double b = s->Body();
  const PlatePair p = PlatesOf(*s, std::max(3.0 + canvas.DrawWidth, 0.22 * b));
  Leads(canvas, *s, p.first, p.second);
  Plate(canvas, *s, p.first, 0.45 * b);
  Plate(canvas, *s, p.second, 0.22 * b, 2);
}

// A capacitor: two equal plates.
void DrawCapacitor(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const auto s = SymbolLayoutOf(g);
  if (!s) return;
  const double b = s->Body();
  const PlatePair p = PlatesOf(*s, std::max(2.0 + canvas.DrawWidth, 0.28 * b));
  Leads(canvas, *s, p.first, p.second);
  Plate(canvas, *s, p.first, 0.4 * b);
  Plate(canvas, *s, p.second, 0.4 * b);
}

// An electrolytic capacitor: a straight plate towards P with a + beside it, and a curved plate
// towards Q whose middle faces the straight one and whose ends bend away from it.
void DrawElectrolyticCapacitor(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const auto s = SymbolLayoutOf(g);
  if (!s) return;
  const double b = s->Body();
  const PlatePair p = PlatesOf(*s, std::max(2.0 + canvas.DrawWidth, 0.28 * b));
  Leads(canvas, *s, p.first, p.second);
  const double half = 0.4 * b;
  Plate(canvas, *s, p.first, half);
  std::vector<Local> curve;
  constexpr int kSteps = 24;
  for (int i = 0; i <= kSteps; ++i) {
    const double t = -half + 2 * half * i / kSteps, f = t / half;
    curve.emplace_back(p.second + 0.15 * b * f * f, t);
  }
  figures::circuit::LocalPath(canvas, *s, curve);
  const double sign = std::max(2.0, 0.1 * b);
  figures::PlusSign(canvas, s->At(p.first - sign - 0.1 * b, 0.25 * b + sign), sign);
}

// Ground: the lead from P, then three bars across the segment, each shorter than the last, the
// shortest at Q.
void DrawGround(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const auto s = SymbolLayoutOf(g);
  if (!s) return;
  // Sized as a body of at least 20 pixels, so that the shortest bar still shows on short drags.
  const double b = std::max(s->Body(), 20.0), L = s->Length();
  const double gap = std::min(std::max(2.0 + canvas.DrawWidth, 0.12 * b), L / 3);
  const QPointF a = s->At(L - 2 * gap, 0);
  canvas.Line(s->frame.start.x(), s->frame.start.y(), a.x(), a.y());
  constexpr double kHalves[] = {0.3, 0.19, 0.08};
  for (int i = 0; i < 3; ++i) {
    const double along = i == 2 ? L : L - (2 - i) * gap;
    Plate(canvas, *s, along, std::max(1.0, kHalves[i] * b));
  }
}

// A diode: a triangle pointing from P to Q (its interior obeys the fill style) and a bar at its
// tip.
void DrawDiode(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const auto s = SymbolLayoutOf(g);
  if (!s) return;
  const double b = s->Body(), m = s->Middle();
  const double a = 0.6 * b, half = a / std::sqrt(3.0);
  const double base = m - a / 2, tip = m + a / 2;
  Leads(canvas, *s, base, tip);
  figures::circuit::LocalBody(canvas, *s, {{base, -half}, {tip, 0}, {base, half}});
  Plate(canvas, *s, tip, half);
}

// An inductor: four half-circle bumps side by side on one side of the segment.
void DrawInductor(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const auto s = SymbolLayoutOf(g);
  if (!s) return;
  // The bumps fill the body, but stay at least a few pixels high on short drags.
  const double r = std::max(s->Body() / 8, std::min(3.0, s->Length() / 10));
  const double first = s->Middle() - 4 * r;
  Leads(canvas, *s, first, first + 8 * r);
  std::vector<Local> bumps;
  for (int k = 0; k < 4; ++k) {
    // ArcPoints counts angles upwards on screen; with a negative vertical semi-axis the bump
    // stands on the symbol's side (t > 0).
    const double c = first + (2 * k + 1) * r;
    for (const QPointF& p : figures::ArcPoints(c, 0, r, -r, figures::kPi, 0)) bumps.push_back(p);
  }
  figures::circuit::LocalPath(canvas, *s, bumps);
}

using K = FigureKind;

const ToolFigure kCircuitSymbols[] = {
    {ToolId::LampSymbol, K::Along, DrawLamp},
    {ToolId::CellSymbol, K::Along, DrawCell},
    {ToolId::CapacitorSymbol, K::Along, DrawCapacitor},
    {ToolId::AmmeterSymbol, K::Along, DrawAmmeterSymbol},
    {ToolId::VoltmeterSymbol, K::Along, DrawVoltmeterSymbol},
    {ToolId::MotorSymbol, K::Along, DrawMotorSymbol},
    {ToolId::Ground, K::Along, DrawGround},
    {ToolId::DiodeSymbol, K::Along, DrawDiode},
    {ToolId::Inductor, K::Along, DrawInductor},
    {ToolId::ElectrolyticCapacitor, K::Along, DrawElectrolyticCapacitor},
};

}  // namespace

std::span<const ToolFigure> CircuitSymbolFigures() { return kCircuitSymbols; }
