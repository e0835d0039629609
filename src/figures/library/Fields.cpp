// Charges and fields: the positive and negative point charge, the field out of and into the page
// as a grid of marks, parallel field lines, the solenoid, and the radial field lines of a positive
// and a negative charge. All are fitted to the box of the drag.
#include <QRectF>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "figures/Canvas.h"
#include "figures/DrawingStateScope.h"
#include "figures/FigureGeometry.h"
#include "figures/FigureSteps.h"
#include "figures/Rounding.h"
#include "figures/library/FigureFamilies.h"

namespace {

using figures::BoxOf;
using figures::FigureBox;
using figures::kPi;

// The box of a drag that can be drawn, or nothing for a drag out of reach.
std::optional<FigureBox> UsableBox(const DragGeometry& g) {
  if (!figures::WithinReach(g)) return std::nullopt;
  return BoxOf(g);
}

// A charge: a circle (interior by the fill style) with its sign upright inside.
void ChargeBody(Canvas& canvas, QPointF c, double r, bool positive) {
  canvas.Circle(c.x(), c.y(), r);
  const double half = std::max(1.0, 0.55 * r);
  if (positive)
    figures::PlusSign(canvas, c, half);
  else
    figures::MinusSign(canvas, c, half);
}

// A point charge filling the box: a circle of diameter the box's smaller side, centred.
void DrawPointCharge(Canvas& canvas, const DragGeometry& g, bool positive) {
  const auto box = UsableBox(g);
  if (!box || box->Smaller() < 1) return;
  ChargeBody(canvas, {box->CentreX(), box->CentreY()}, box->Smaller() / 2, positive);
}

void DrawPositiveCharge(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawPointCharge(canvas, g, true);
}
void DrawNegativeCharge(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawPointCharge(canvas, g, false);
}

// ---- The field across the page ----

// A mark of the field through the page centred at c: a small circle with a solid centre dot (out
// of the page) or a cross (into it). Marks are solid and at most two pixels wide whatever the line
// style, and their circles are never filled, so they stay legible.
void FieldMark(Canvas& canvas, QPointF c, double r, bool outOfPage) {
  canvas.DrawStyle = Canvas::kSolid;
  canvas.FillStyle = Canvas::kFillTransparent;
  if (outOfPage) {
    canvas.Circle(c.x(), c.y(), r);
    // A dot a third of the circle, or its centre pixel in the smallest circles.
    if (r >= 2.5) {
      figures::SolidDot(canvas, c, std::max(1.0, r / 3));
    } else {
      canvas.DrawWidth = 1;
      canvas.PSet(c.x(), c.y());
    }
  } else {
    const double a = 0.75 * r;
    canvas.Line(c.x() - a, c.y() - a, c.x() + a, c.y() + a);
    canvas.Line(c.x() - a, c.y() + a, c.x() + a, c.y() - a);
  }
}

// The pixels of one mark as runs along its rows (offsets from its centre): the mark is drawn
// once on a small scratch canvas, in black, and then filled in run by run at every place of the
// grid in the line colour, which keeps a grid of thousands of marks as quick as a few lines.
struct MarkRun {
  int dx, dy, length;
};
std::vector<MarkRun> MarkRuns(int drawWidth, double r, bool outOfPage) {
  const int half = static_cast<int>(std::ceil(r)) + 4;
  Canvas scratch(2 * half + 1, 2 * half + 1);
  scratch.DrawWidth = std::clamp(drawWidth, 1, 2);
  FieldMark(scratch, QPointF(half, half), r, outOfPage);
  std::vector<MarkRun> runs;
  for (int y = 0; y < scratch.Height(); ++y)
    for (int x = 0; x < scratch.Width(); ++x) {
      if (scratch.GetPixel(x, y) == qRgb(255, 255, 255)) continue;
      if (!runs.empty() && runs.back().dy == y - half && runs.back().dx + runs.back().length == x - half)
        ++runs.back().length;
      else
        runs.push_back({x - half, y - half, 1});
    }
  return runs;
}

// An nH x nV grid of marks, one in the middle of each cell of the box (on the nearest whole
// pixel, so that all marks look alike). Only the marks that can reach the picture are drawn.
void DrawFieldGrid(Canvas& canvas, const DragGeometry& g, const ParameterValues& params, bool outOfPage) {
  const auto box = UsableBox(g);
  if (!box || box->Width() < 1 || box->Height() < 1) return;
  const int nH = figures::CountParameter(params.SP), nV = figures::CountParameter(params.SZ);
  const double cw = box->Width() / nH, ch = box->Height() / nV;
  const double r = std::clamp(0.25 * std::min(cw, ch), 1.0, 7.0);
  const std::vector<MarkRun> mark = MarkRuns(canvas.DrawWidth, r, outOfPage);
  const double m = r + figures::StrokeMargin(canvas);
  auto visit = [&](int count, double start, double cell, double limit, auto&& each) {
    // Cells whose middle lies within m of the picture, in index order.
    const double lo = std::max(0.0, std::floor((-m - start) / cell - 0.5));
    const double hi = std::min(count - 1.0, std::ceil((limit + m - start) / cell - 0.5));
    for (double i = lo; i <= hi; ++i) each(static_cast<int>(RoundHalfEvenReal(start + (i + 0.5) * cell)));
  };
  visit(nV, box->top, ch, canvas.Height(), [&](int y) {
    visit(nH, box->left, cw, canvas.Width(), [&](int x) {
      for (const MarkRun& run : mark) canvas.FilledBoxRel(x + run.dx, y + run.dy, run.length - 1, 0, canvas.ForeColor);
    });
  });
}

void DrawFieldOutOfPage(Canvas& canvas, const DragGeometry& g, const ParameterValues& p) {
  DrawFieldGrid(canvas, g, p, true);
}
void DrawFieldIntoPage(Canvas& canvas, const DragGeometry& g, const ParameterValues& p) {
  DrawFieldGrid(canvas, g, p, false);
}

// ---- Lines in the page ----

// An arrowhead `length` pixels long on a one-pixel line; on wider lines it grows with the line, so
// that it always stands out from the line it sits on.
struct ArrowSize {
  double length, half;
};
ArrowSize ArrowFor(double length, int lineWidth) {
  const double grow = std::clamp(lineWidth, 1, 4) - 1;
  return {length + 2 * grow, 0.4 * length + grow};
}

// The box's long axis as a frame from the middle of one short side to the middle of the other:
// left to right for a box wider than high, top to bottom otherwise; `reversed` turns it round.
figures::SegmentFrame LongAxisOf(const FigureBox& box, bool reversed) {
  figures::SegmentFrame f;
  const bool wide = box.Width() >= box.Height();
  f.start = wide ? QPointF(box.left, box.CentreY()) : QPointF(box.CentreX(), box.top);
  f.end = wide ? QPointF(box.right, box.CentreY()) : QPointF(box.CentreX(), box.bottom);
  if (reversed) std::swap(f.start, f.end);
  f.length = wide ? box.Width() : box.Height();
  const QPointF d = f.end - f.start;
  f.along = f.length > 0 ? d / f.length : QPointF(1, 0);
  f.across = QPointF(f.along.y(), -f.along.x());
  return f;
}

// N evenly spaced lines along the box's longer side, each with a solid arrowhead at its middle
// pointing the way the drag went along that side.
void DrawParallelField(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  const auto box = UsableBox(g);
  if (!box || box->Larger() < 1) return;
  const bool wide = box->Width() >= box->Height();
  const bool backwards = wide ? g.CurrentPoint.x < g.PressPoint.x : g.CurrentPoint.y < g.PressPoint.y;
  const figures::SegmentFrame f = LongAxisOf(*box, backwards);
  const int n = figures::CountParameter(params.SP);
  const double breadth = wide ? box->Height() : box->Width(), gap = breadth / n;
  const ArrowSize arrow = ArrowFor(std::clamp(0.06 * f.length, 4.0, 10.0), canvas.DrawWidth);
  const double head = arrow.length, halfHead = std::min(arrow.half, std::max(1.0, 0.45 * gap));
  // At most 200 lines, each clipped by the canvas.
  for (int k = 0; k < n; ++k) {
    const double t = -breadth / 2 + (k + 0.5) * gap;
    const QPointF a = f.At(0, t), b = f.At(f.length, t);
    canvas.Line(a.x(), a.y(), b.x(), b.y());
    figures::SolidArrowhead(canvas, f.At(f.length / 2 + head / 2, t), f.along, head, halfHead);
  }
}

// A solenoid of N turns along the box's longer side: a helix seen slightly from the side, so each
// turn is a loop leaning forward; its front strokes are in the current style and its back strokes
// dashed and thin (they are behind). Straight leads run from the first and the last turn along
// the box's edge to its short sides.
void DrawSolenoid(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  const auto box = UsableBox(g);
  if (!box || box->Smaller() < 2) return;
  const figures::SegmentFrame f = LongAxisOf(*box, false);
  const int n = figures::CountParameter(params.SP);
  const double R = 0.48 * box->Smaller();
  const double lead = std::min(0.12 * f.length, 30.0);
  // Each turn leans forward by `lean` pitches from its bottom to its top, and its front swings
  // out by `bulge` pitches: the turns read as loops.
  constexpr double kLean = 0.7, kBulge = 0.4;
  // The top of the last turn is the coil's far end: half a pitch and the lean beyond its bottom.
  const double pitch = (f.length - 2 * lead) / (n - 0.5 + kLean);
  const double bulge = kBulge * pitch;
  // The point at angle phi of the helix: phi = 0 is the bottom of the first turn, phi = pi its top.
  auto at = [&](double phi) {
    const double up = 1 - std::cos(phi);  // 0 at the bottom, 2 at the top
    return f.At(lead + pitch * phi / (2 * kPi) + bulge * std::sin(phi) + kLean * pitch * up / 2, -R * std::cos(phi));
  };
  const QPointF first = at(0), last = at(2 * kPi * n), a = f.At(0, -R), b = f.At(f.length, -R);
  canvas.Line(a.x(), a.y(), first.x(), first.y());
  canvas.Line(last.x(), last.y(), b.x(), b.y());
  // Each half turn as one stroke, about a point per pixel of it (bounded), and only the half turns
  // near the picture.
  const int steps = static_cast<int>(std::clamp(std::ceil(kPi * R / 2), 6.0, 64.0));
  const double span = pitch + bulge + R + figures::StrokeMargin(canvas);
  const QRectF picture(-span, -span, canvas.Width() + 2 * span, canvas.Height() + 2 * span);
  std::vector<QPointF> stroke(steps + 1);
  for (int k = 0; k < 2 * n; ++k) {
    const double a0 = k * kPi;
    if (!picture.contains(at(a0 + kPi / 2))) continue;
    for (int i = 0; i <= steps; ++i) stroke[i] = at(a0 + kPi * i / steps);
    DrawingStateScope keep(canvas);
    if (k % 2 == 1) {  // behind the coil
      canvas.DrawStyle = Canvas::kDash;
      canvas.DrawWidth = 1;
    }
    figures::StrokePath(canvas, stroke);
  }
}

// ---- Field lines of a point charge ----

// The charge in the middle of the box and eight lines from it to the box's ellipse, each with a
// solid arrowhead at its middle pointing away from a positive charge and towards a negative one.
void DrawChargeField(Canvas& canvas, const DragGeometry& g, bool positive) {
  const auto box = UsableBox(g);
  if (!box || box->Smaller() < 1) return;
  const QPointF c(box->CentreX(), box->CentreY());
  const double rc = std::min(std::clamp(0.12 * box->Smaller(), 3.0, 14.0), box->Smaller() / 2);
  const ArrowSize arrow = ArrowFor(std::clamp(0.08 * box->Smaller(), 3.0, 9.0), canvas.DrawWidth);
  const double head = arrow.length;
  for (int k = 0; k < 8; ++k) {
    const double a = k * kPi / 4;
    const QPointF end(c.x() + box->Width() / 2 * std::cos(a), c.y() - box->Height() / 2 * std::sin(a));
    const QPointF d = end - c;
    const double len = std::hypot(d.x(), d.y());
    if (len < rc + head + 2) continue;
    const QPointF u = d / len, from = c + u * (rc + 2), mid = (from + end) / 2;
    canvas.Line(from.x(), from.y(), end.x(), end.y());
    const QPointF tip = positive ? mid + u * (head / 2) : mid - u * (head / 2);
    figures::SolidArrowhead(canvas, tip, positive ? u : -u, head, arrow.half);
  }
  ChargeBody(canvas, c, rc, positive);
}

void DrawPositiveChargeField(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawChargeField(canvas, g, true);
}
void DrawNegativeChargeField(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  DrawChargeField(canvas, g, false);
}

using K = FigureKind;
constexpr uint8_t kFirst = kReadsFirst, kBoth = kReadsFirst | kReadsSecond;

const ToolFigure kFields[] = {
    {ToolId::PositiveCharge, K::Box, DrawPositiveCharge},
    {ToolId::NegativeCharge, K::Box, DrawNegativeCharge},
    {ToolId::FieldOutOfPage, K::Box, DrawFieldOutOfPage, kBoth},
    {ToolId::FieldIntoPage, K::Box, DrawFieldIntoPage, kBoth},
    {ToolId::UniformField, K::Box, DrawParallelField, kFirst, true},
    {ToolId::Solenoid, K::Box, DrawSolenoid, kFirst},
    {ToolId::PositiveChargeField, K::Box, DrawPositiveChargeField},
    {ToolId::NegativeChargeField, K::Box, DrawNegativeChargeField},
};

}  // namespace

std::span<const ToolFigure> FieldFigures() { return kFields; }
