// The scenery of mechanics problems in palette 0: the cart, the table, the boat, the block with a
// semicircular groove, the quarter-circle track, and the horizontal and inclined conveyors. Bodies
// (the cart, the table, the hull, the blocks, wheels and rollers) are closed outlines whose
// interior obeys the fill style; axles are solid dots.
#include <algorithm>
#include <cmath>
#include <vector>

#include "figures/Canvas.h"
#include "figures/FigureGeometry.h"
#include "figures/FigureSteps.h"
#include "figures/library/CommonFigureParts.h"
#include "figures/library/FigureFamilies.h"

namespace {

using namespace figures::common;
using figures::BoxOf;
using figures::WithinReach;
using figures::FigureBox;
using figures::kPi;

// A wheel or roller of radius r about `centre` with its solid axle (a wheel too small to show an
// axle beside its rim has none).
void Wheel(Canvas& canvas, QPointF centre, double r) {
  canvas.Circle(centre.x(), centre.y(), r);
  if (r >= 5) figures::SolidDot(canvas, centre, std::clamp(r / 5, 1.0, 3.0));
}

// The point `x` pixels from the side the figure faces away from, at height y: for a rightward drag
// from the left edge, for a leftward one from the right edge.
QPointF Faced(const FigureBox& b, double x, double y) {
  return {b.facingLeft ? b.right - x : b.left + x, y};
}

// A cart facing the drag's direction: the body over the upper part, two wheels touching the bottom
// at a quarter and three quarters of the width, and a handle sticking out of the trailing side.
void DrawCart(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!WithinReach(g)) return;
  const FigureBox b = BoxOf(g);
  const double w = b.Width(), h = b.Height();
  const double r = std::min(0.2 * h, w / 9);
  const double bodyTop = b.top, bodyBottom = b.bottom - 2 * r, rear = 0.1 * w;
  SharpBody(canvas, {Faced(b, rear, bodyTop), Faced(b, w, bodyTop), Faced(b, w, bodyBottom), Faced(b, rear, bodyBottom)});
  // The handle: a bar out of the rear at a third of the body's height, ending in an upright grip.
  const double y = bodyTop + (bodyBottom - bodyTop) / 3, grip = (bodyBottom - bodyTop) / 6;
  Segment(canvas, Faced(b, rear, y), Faced(b, 0, y));
  Segment(canvas, Faced(b, 0, y - grip), Faced(b, 0, y + grip));
  Wheel(canvas, Faced(b, 0.25 * w, b.bottom - r), r);
  Wheel(canvas, Faced(b, 0.75 * w, b.bottom - r), r);
}

// A table: a top of thickness max(3, h / 10) across the box and two legs a little thinner than
// the top, inset by a tenth of the width, reaching the bottom.
void DrawTable(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!WithinReach(g)) return;
  const FigureBox b = BoxOf(g);
  const double w = b.Width();
  const double top = std::min(std::max(3.0, b.Height() / 10), b.Height());
  const double leg = std::min(std::max(3.0, 0.6 * top), w / 8), inset = w / 10;
  canvas.Box(b.left + inset, b.top + top, b.left + inset + leg, b.bottom);
  canvas.Box(b.right - inset - leg, b.top + top, b.right - inset, b.bottom);
  canvas.Box(b.left, b.top, b.right, b.top + top);
}

// A boat: the hull a trapezoid over the lower half (the deck across the box, the keel the middle
// three fifths of the bottom) and a cabin standing on the deck. The water line is left to the user.
void DrawBoat(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!WithinReach(g)) return;
  const FigureBox b = BoxOf(g);
  SharpBody(canvas, {b.At(0.3, 0.5), b.At(0.3, 0.15), b.At(0.7, 0.15), b.At(0.7, 0.5)});
  SharpBody(canvas, {b.At(0, 0.5), b.At(1, 0.5), b.At(0.8, 1), b.At(0.2, 1)});
}

// A block with a half-circle groove cut from the middle of its top edge, 0.8 of the width across
// (narrower when the block is too low for it, so that the groove keeps a floor under it).
void DrawSemicircularGroove(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!WithinReach(g)) return;
  const FigureBox b = BoxOf(g);
  const double r = std::min(0.4 * b.Width(), 0.8 * b.Height());
  std::vector<QPointF> outline{{b.left, b.top}};
  for (QPointF p : figures::ArcPoints(b.CentreX(), b.top, r, r, kPi, 2 * kPi)) outline.push_back(p);
  outline.insert(outline.end(), {{b.right, b.top}, {b.right, b.bottom}, {b.left, b.bottom}});
  SharpBody(canvas, outline);
}

// A block whose top corner on the side the drag went to is a concave quarter circle of radius
// min(w, h): a smooth track starting steep at the top and ending level at the front face. In a
// box wider than high it runs down to the bottom; in a taller box it ends level on top of the
// front face, as a track that launches the body off its edge.
void DrawQuarterCircleTrack(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!WithinReach(g)) return;
  const FigureBox b = BoxOf(g);
  const double w = b.Width(), r = std::min(w, b.Height());
  std::vector<QPointF> outline{Faced(b, 0, b.top), Faced(b, w - r, b.top)};
  for (QPointF p : figures::ArcPoints(0, 0, r, r, kPi, 1.5 * kPi)) outline.push_back(Faced(b, w + p.x(), b.top + p.y()));
  outline.insert(outline.end(), {Faced(b, w, b.bottom), Faced(b, 0, b.bottom)});
  SharpBody(canvas, outline);
}

// The belt between two rollers of radius r about a and b: the two lines tangent to both.
void Belt(Canvas& canvas, QPointF a, QPointF b, double r) {
  const QPointF d = b - a;
  const double n = std::hypot(d.x(), d.y());
  if (!(n > 0)) return;
  const QPointF across(d.y() / n * r, -d.x() / n * r);
  Segment(canvas, a + across, b + across);
  Segment(canvas, a - across, b - across);
}

// A horizontal conveyor: two rollers at the ends (as high as three quarters of the box), the belt
// round them, and above the belt a small arrow pointing the way the drag went.
void DrawHorizontalConveyor(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!WithinReach(g)) return;
  const FigureBox b = BoxOf(g);
  const double w = b.Width(), h = b.Height();
  const double r = std::min(0.75 * h, 0.4 * w) / 2;
  const QPointF rear = Faced(b, r, b.bottom - r), front = Faced(b, w - r, b.bottom - r);
  Wheel(canvas, rear, r);
  Wheel(canvas, front, r);
  Belt(canvas, rear, front, r);
  const double room = h - 2 * r;  // above the belt
  if (room < 5 || w < 16) return;
  const double y = b.top + room - std::min(room / 2, std::max(6.0, 0.6 * r));  // just above the belt
  const double head = std::clamp(std::min(0.08 * w, 0.9 * room), 3.0, 10.0);
  const QPointF tail = Faced(b, 0.38 * w, y), tip = Faced(b, 0.62 * w, y);
  const QPointF forward(b.facingLeft ? -1 : 1, 0);
  Segment(canvas, tail, tip - forward * head);
  figures::SolidArrowhead(canvas, tip, forward, head, 0.4 * head);
}

// An inclined conveyor: rollers of diameter d centred on the press point and on the pointer, the
// belt round them. The rollers are never wider than the figure's reach across the belt.
void DrawInclinedConveyor(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  if (!WithinReach(g)) return;
  const figures::SegmentFrame f = figures::FrameOf(g);
  if (!(f.length >= 1)) return;
  const double r = std::min(figures::LengthParameter(params.SP, LargestSide(canvas)), 2 * ReachAcross(f.length)) / 2;
  if (r < 1) {
    Segment(canvas, f.start, f.end);
    return;
  }
  Wheel(canvas, f.start, r);
  Wheel(canvas, f.end, r);
  Belt(canvas, f.start, f.end, r);
}

using K = FigureKind;

const ToolFigure kMechanicsScenery[] = {
    {ToolId::Cart, K::Box, DrawCart, kReadsNothing, true},
    {ToolId::Table, K::Box, DrawTable},
    {ToolId::Boat, K::Box, DrawBoat},
    {ToolId::SemicircularGroove, K::Box, DrawSemicircularGroove},
    {ToolId::QuarterCircleTrack, K::Box, DrawQuarterCircleTrack, kReadsNothing, true},
    {ToolId::HorizontalConveyor, K::Box, DrawHorizontalConveyor, kReadsNothing, true},
    {ToolId::InclinedConveyor, K::Along, DrawInclinedConveyor, kReadsFirst},
};

}  // namespace

std::span<const ToolFigure> MechanicsSceneryFigures() { return kMechanicsScenery; }
