// The meters of the electric palette: ammeter, voltmeter and galvanometer as they stand on the lab
// bench. Box figures: the case fills the box, the dial window in its upper part with an arc scale
// and the needle, the meter's letter under the needle's pivot, terminals along the bottom edge.
#include <algorithm>
#include <cmath>

#include "figures/Canvas.h"
#include "figures/FigureGeometry.h"
#include "figures/FigureSteps.h"
#include "figures/library/DeviceParts.h"
#include "figures/library/FigureFamilies.h"

namespace figures {
namespace {

// What tells the meters apart.
struct MeterFace {
  const char* letter;
  bool zeroInMiddle;  // the needle rests in the middle of the scale (else at its left end)
  int terminals;
};

// The scale spans a quarter turn, from 135 degrees on the left to 45 degrees on the right.
constexpr double kScaleLeft = 3 * kPi / 4, kScaleSweep = kPi / 2;
// Ticks stand outwards from the arc: every tenth of the scale, the ends and the middle longer.
constexpr double kLongTick = 0.16, kShortTick = 0.09;

QPointF Polar(QPointF centre, double radius, double angle) {
  return centre + QPointF(radius * std::cos(angle), -radius * std::sin(angle));
}

// The arc of the scale about the pivot and its ticks: ten divisions where they stay apart at the
// line width, only the ends and the middle where they would crowd, none on a tiny dial.
void Scale(Canvas& canvas, QPointF pivot, double radius) {
  StrokePath(canvas, ArcPoints(pivot.x(), pivot.y(), radius, radius, kScaleLeft - kScaleSweep, kScaleLeft));
  const double room = radius * kScaleSweep;
  const double apart = 2.5 + 1.5 * PenWidth(canvas);
  const int divisions = room / 10 >= apart ? 10 : room / 2 >= 2 * apart ? 2 : 0;
  for (int i = 0; i <= divisions && divisions > 0; ++i) {
    const double a = kScaleLeft - kScaleSweep * i / divisions;
    const double tick = (2 * i) % divisions == 0 ? kLongTick : kShortTick;
    const QPointF inner = Polar(pivot, radius, a), outer = Polar(pivot, radius * (1 + tick), a);
    canvas.Line(inner.x(), inner.y(), outer.x(), outer.y());
  }
}

void DrawMeter(Canvas& canvas, const DragGeometry& g, const MeterFace& face) {
  const FigureBox b = BoxOf(g);
  if (!UsableDrag(g) || !DrawableBox(b)) return;
  const double w = b.Width(), cx = b.CentreX();
  // Terminals sit on the case's bottom edge, half below it.
  const double terminal = std::clamp(std::min(0.05 * b.Height(), 0.04 * w), std::min(1.5, 0.05 * b.Height()), 6.0);
  const double caseBottom = b.bottom - terminal, caseHeight = caseBottom - b.top;
  canvas.Box(b.left, b.top, b.right, caseBottom);
  // The scale in the dial window; the window is left out where its frame would crowd the case's.
  const double windowTop = b.top + 0.08 * caseHeight, windowBottom = b.top + 0.64 * caseHeight;
  const QPointF pivot(cx, b.top + 0.58 * caseHeight);
  const double radius = std::min((pivot.y() - windowTop - 0.04 * caseHeight) / (1 + kLongTick),
                                 (0.42 - 0.03) * w / ((1 + kLongTick) * std::cos(kPi / 4)));
  const double windowHalf = std::min(0.42 * w, 1.2 * radius);
  if (std::min(0.08 * caseHeight, 0.5 * w - windowHalf) >= 2 * PenWidth(canvas) + 1)
    StrokePath(canvas, {QPointF(cx - windowHalf, windowTop), QPointF(cx + windowHalf, windowTop),
                        QPointF(cx + windowHalf, windowBottom), QPointF(cx - windowHalf, windowBottom)}, true);
  Scale(canvas, pivot, radius);
  // The needle at rest on the scale's zero, and its pivot.
  const QPointF tip = Polar(pivot, 0.96 * radius, face.zeroInMiddle ? kPi / 2 : kScaleLeft);
  canvas.Line(pivot.x(), pivot.y(), tip.x(), tip.y());
  SolidDot(canvas, pivot, std::max(0.75, 0.035 * radius));
  // The letter below the pivot, left out where it would not fit.
  const double letter = std::min(0.24 * caseHeight, 0.35 * w);
  if (letter >= 6) UprightLabel(canvas, QPointF(cx, pivot.y() + 0.2 * caseHeight), face.letter, letter);
  for (int i = 0; i < face.terminals; ++i) {
    const double fx = face.terminals == 3 ? 0.25 + 0.25 * i : 0.3 + 0.4 * i;
    SolidDot(canvas, QPointF(b.left + fx * w, caseBottom), terminal);
  }
}

// The ammeter and the voltmeter of the lab have three terminals (one common, two ranges), the
// galvanometer two.
void DrawAmmeter(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawMeter(canvas, g, {"A", false, 3});
}
void DrawVoltmeter(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawMeter(canvas, g, {"V", false, 3});
}
void DrawGalvanometer(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawMeter(canvas, g, {"G", true, 2});
}

using K = FigureKind;

const ToolFigure kInstruments[] = {
    {ToolId::Ammeter, K::Box, DrawAmmeter},
    {ToolId::Voltmeter, K::Box, DrawVoltmeter},
    {ToolId::Galvanometer, K::Box, DrawGalvanometer},
};

}  // namespace
}  // namespace figures

std::span<const ToolFigure> InstrumentFigures() { return figures::kInstruments; }
