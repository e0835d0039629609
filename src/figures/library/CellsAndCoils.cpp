// The dry cell, the storage battery, the electroscope and the coils of the induction experiment,
// drawn as they stand on the lab bench.
#include "figures/library/CellsAndCoils.h"

#include <algorithm>
#include <cmath>

#include "figures/Canvas.h"
#include "figures/FigureGeometry.h"
#include "figures/FigureSteps.h"
#include "figures/library/DeviceParts.h"

namespace figures {

// A cylinder cell lying along the box's longer side (standing up in a tall box), seen from its
// positive end: the body, a small cap on the positive end's face, + near that end and − near the
// other. Lying, the positive end faces the way the drag went.
void DrawDryCell(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const FigureBox b = BoxOf(g);
  if (!UsableDrag(g) || !DrawableBox(b)) return;
  const bool standing = b.Height() > b.Width();
  const double along = b.Larger();
  const double r = std::min(b.Smaller(), along / 2) / 2;
  const double depth = 0.22 * r;
  const double capDepth = 0.3 * depth, capLength = depth + 0.06 * along;
  const double length = along - depth - capLength - capDepth;
  PartFrame f;
  if (standing) {
    f.origin = QPointF(b.CentreX(), b.bottom - depth);
  } else {
    f.axis = QPointF(b.Forward(), 0);
    f.side = QPointF(0, 1);
    f.origin = QPointF(b.Facing(0, 0).x() + b.Forward() * depth, b.CentreY());
  }
  Cylinder(canvas, f, length, r, depth);
  PartFrame cap = f;
  cap.origin = f.At(length, 0);
  Cylinder(canvas, cap, capLength, 0.32 * r, capDepth);
  const double half = std::min(0.4 * r, 0.1 * length);
  PlusSign(canvas, f.At(0.72 * length, 0), half);
  MinusSign(canvas, f.At(0.24 * length, 0), half);
}

// A box case with a lid, two terminal posts on top, + under the post on the side the figure
// faces and − under the other.
void DrawStorageBattery(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const FigureBox b = BoxOf(g);
  if (!UsableDrag(g) || !DrawableBox(b)) return;
  constexpr double kPostTop = 0.0, kCaseTop = 0.16, kLid = 0.34;
  for (double fx : {0.22, 0.78})
    SolidPart(canvas, {b.Facing(fx - 0.05, kPostTop), b.Facing(fx + 0.05, kPostTop),
                       b.Facing(fx + 0.05, kCaseTop), b.Facing(fx - 0.05, kCaseTop)});
  BoxBody(canvas, b, 0, kCaseTop, 1, 1);
  Stroke(canvas, b.Facing(0, kLid), b.Facing(1, kLid));
  const double half = std::min(0.07 * b.Width(), 0.1 * b.Height());
  PlusSign(canvas, b.Facing(0.78, 0.58), half);
  MinusSign(canvas, b.Facing(0.22, 0.58), half);
}

// A round flask, a stopper in its neck, a rod through the stopper with a ball on top, and two
// leaves hanging apart from the rod's lower end.
void DrawElectroscope(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const FigureBox b = PlainBoxOf(g);
  if (!UsableDrag(g) || !DrawableBox(b)) return;
  const double w = b.Width(), h = b.Height(), cx = b.CentreX();
  // The flask: a round body over the lower part of the box and a neck up to the stopper.
  const double ry = 0.31 * h, rx = std::min(0.5 * w, 1.1 * ry), cy = b.bottom - ry;
  const double stopperTop = b.top + 0.27 * h, neckTop = b.top + 0.36 * h;
  const double neck = std::min(0.3 * rx, 0.1 * h);
  const double joint = std::acos(neck / rx);  // where the neck meets the body
  std::vector<QPointF> flask{QPointF(cx - neck, neckTop)};
  const std::vector<QPointF> body = ArcPoints(cx, cy, rx, ry, kPi - joint, 2 * kPi + joint);
  flask.insert(flask.end(), body.begin(), body.end());
  flask.emplace_back(cx + neck, neckTop);
  ClosedBody(canvas, flask);
  const double stopper = 1.3 * neck;
  canvas.Box(cx - stopper, stopperTop, cx + stopper, neckTop);
  // The rod, its ball and the leaves.
  const double ball = std::min(0.07 * h, 0.14 * w), rodEnd = b.top + 0.66 * h;
  Stroke(canvas, QPointF(cx, b.top + 2 * ball), QPointF(cx, rodEnd));
  canvas.Circle(cx, b.top + ball, ball);
  const double leaf = 0.2 * h, spread = 0.42;  // radians from the rod
  for (double side : {-1.0, 1.0})
    Stroke(canvas, QPointF(cx, rodEnd),
           QPointF(cx + side * leaf * std::sin(spread), rodEnd + leaf * std::cos(spread)));
}

namespace {

// A coil standing in the box: a cylinder of radius r wound with slanted turns, two terminal posts
// on its top at `terminal` radii from the middle, and, for a coil that takes another inside it, the
// opening of its hollow core.
void DrawStandingCoil(Canvas& canvas, const FigureBox& b, double r, double terminal, bool hollow) {
  const double h = b.Height();
  const double depth = std::min(0.35 * r, 0.1 * h);
  const double dot = std::clamp(0.025 * h, 0.75, std::min(0.06 * r + 0.75, 3.5));
  const double post = depth + 0.07 * h;
  const double length = h - depth - post - dot;
  PartFrame f;
  f.origin = QPointF(b.CentreX(), b.bottom - depth);
  Cylinder(canvas, f, length, r, depth);
  Windings(canvas, f, 0, length, r, depth, std::max(CloseSpacing(canvas), length / 22));
  if (hollow)
    StrokePath(canvas, SectionArc(f, length, 0.55 * r, 0.55 * depth, 0, 2 * kPi), true);
  for (double side : {-1.0, 1.0}) {
    const QPointF foot = f.At(length, side * terminal), head = f.At(length + post, side * terminal);
    Stroke(canvas, foot, head);
    SolidDot(canvas, head, dot);
  }
}

}  // namespace

// The slim coil that goes inside the other: at most two fifths as wide as it is tall.
void DrawInnerInductionCoil(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const FigureBox b = PlainBoxOf(g);
  if (!UsableDrag(g) || !DrawableBox(b)) return;
  const double r = std::min(b.Width() / 2, 0.2 * b.Height());
  DrawStandingCoil(canvas, b, r, 0.5 * r, false);
}

// The wide coil with a hollow core open at the top; its terminals stand on the rim.
void DrawOuterInductionCoil(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const FigureBox b = PlainBoxOf(g);
  if (!UsableDrag(g) || !DrawableBox(b)) return;
  const double r = std::min(b.Width() / 2, 0.8 * b.Height());
  DrawStandingCoil(canvas, b, r, 0.78 * r, true);
}

}  // namespace figures
