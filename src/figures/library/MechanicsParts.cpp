// Parts of mechanics set-ups in palette 0: the pendulum, the zigzag spring, the slotted mass, the
// movable pulley with its hook, the bullet (or pencil) and the chain.
#include <algorithm>
#include <cmath>
#include <vector>

#include "figures/Canvas.h"
#include "figures/DrawingStateScope.h"
#include "figures/FigureGeometry.h"
#include "figures/FigureSteps.h"
#include "figures/library/CommonFigureParts.h"
#include "figures/library/FigureFamilies.h"

namespace {

using namespace figures::common;
using figures::BoxOf;
using figures::WithinReach;
using figures::FigureBox;
using figures::FrameOf;
using figures::kPi;
using figures::SegmentFrame;

// A hook's curl: the arc of radius r about `centre` from angle a0 to a1 (radians, counter-clockwise
// on screen).
void Curl(Canvas& canvas, QPointF centre, double r, double a0, double a1) {
  figures::StrokePath(canvas, figures::ArcPoints(centre.x(), centre.y(), r, r, a0, a1));
}

// A short horizontal ceiling centred on the press point, hatched on the side away from the bob, the
// string down to the bob, and a ball of diameter d centred on the pointer (its fill obeys the fill
// style, its outline is always drawn). The ceiling stays horizontal whatever the swing, and the
// ball is never wider than the figure's reach across the string.
void DrawPendulum(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  if (!WithinReach(g)) return;
  const SegmentFrame f = FrameOf(g);
  if (!(f.length >= 1)) return;
  const double reach = ReachAcross(f.length);
  const double stroke = std::clamp(f.length / 20, 3.0, 6.0);
  // The hatch strokes' far ends stay within the reach of the pivot.
  const double halfWidth = std::sqrt(reach * reach - stroke * stroke);
  const QPointF pivot = f.start;
  const double away = g.CurrentPoint.y >= g.PressPoint.y ? -1 : 1;  // up, unless the bob is above
  Segment(canvas, pivot - QPointF(halfWidth, 0), pivot + QPointF(halfWidth, 0));
  {
    // The hatch is texture: at most two pixels wide, so that it stays a row of strokes.
    DrawingStateScope keep(canvas);
    canvas.DrawWidth = std::clamp(canvas.DrawWidth, 1, 2);
    figures::HatchRow(canvas, pivot - QPointF(halfWidth, 0), pivot + QPointF(halfWidth - stroke, 0),
                      std::max(3.0, stroke * 0.8) + canvas.DrawWidth - 1, QPointF(stroke, away * stroke));
  }
  const double d = std::min(figures::LengthParameter(params.SP, LargestSide(canvas)), 2 * reach);
  const double r = d / 2;
  if (f.length > r) Segment(canvas, f.start, f.At(f.length - r, 0));
  if (d >= 1) canvas.Circle(f.end.x(), f.end.y(), r);
}

// Straight leads of a tenth of the length at both ends and between them a zigzag of N coils, each
// a stroke to one side and a stroke to the other. Coils closer than two pixels more than twice
// the line width would run together, so no more are drawn than keep them that far apart; wide
// lines also get a wider zigzag.
void DrawZigzagSpring(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  if (!WithinReach(g)) return;
  const SegmentFrame f = FrameOf(g);
  if (!(f.length >= 1)) return;
  const double lead = f.length / 10, span = f.length - 2 * lead;
  const int pen = std::clamp(canvas.DrawWidth, 1, 4);
  const double breadth = std::max(std::clamp(f.length / 10, 3.0, 12.0), 1.5 * pen);
  const int most = static_cast<int>(std::clamp(std::floor(span / (2 + 2 * pen)), 1.0, 200.0));
  const int n = std::min(figures::CountParameter(params.SP), most);
  const double halfPitch = span / n / 2;
  std::vector<QPointF> points{f.start, f.At(lead, 0)};
  for (int i = 0; i < 2 * n; ++i)
    points.push_back(f.At(lead + (i + 0.5) * halfPitch, i % 2 == 0 ? breadth : -breadth));
  points.push_back(f.At(f.length - lead, 0));
  points.push_back(f.end);
  figures::StrokePath(canvas, points);
}

// A slotted mass: a hook over the top quarter (a stem up from the body curling over to the right)
// and below it the body with two groove lines across it.
void DrawSlottedMass(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!WithinReach(g)) return;
  const FigureBox b = BoxOf(g);
  const double bodyTop = b.top + b.Height() / 4;
  const double r = std::min(0.4 * (bodyTop - b.top), b.Width() / 4);
  const double cx = b.CentreX();
  Segment(canvas, {cx, bodyTop}, {cx, b.top + r});
  Curl(canvas, {cx + r, b.top + r}, r, kPi, -0.3 * kPi);
  canvas.Box(b.left, bodyTop, b.right, b.bottom);
  const double third = (b.bottom - bodyTop) / 3;
  for (double y : {bodyTop + third, bodyTop + 2 * third}) Segment(canvas, {b.left, y}, {b.right, y});
}

// A movable pulley: the wheel (as wide as the box, at most a little over half its height) in the
// upper part with a solid axle, two rope lines from its sides up to the top of the box, and a
// strap from the axle down to a hook at the bottom.
void DrawMovablePulley(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!WithinReach(g)) return;
  const FigureBox b = BoxOf(g);
  const double h = b.Height(), cx = b.CentreX();
  const double r = std::min(b.Width(), 0.55 * h) / 2;
  const QPointF axle(cx, b.top + 0.15 * h + r);
  Segment(canvas, axle - QPointF(r, 0), {cx - r, b.top});
  Segment(canvas, axle + QPointF(r, 0), {cx + r, b.top});
  canvas.Circle(axle.x(), axle.y(), r);
  // The hook hangs below the strap: a J whose bowl touches the bottom of the box.
  const double strapEnd = axle.y() + r + 0.08 * h;
  const double hook = std::min(0.3 * (b.bottom - strapEnd), b.Width() / 4);
  Segment(canvas, axle, {cx, b.bottom - hook});
  Curl(canvas, {cx - hook, b.bottom - hook}, hook, 0, -1.25 * kPi);
  figures::SolidDot(canvas, axle, std::clamp(r / 6, 1.0, 3.0));
}

// A bullet or a pencil: a body of breadth clamp(L / 6, 4, 16) from the press point and a pointed tip
// to the pointer, a fifth of the length but never longer than two and a half breadths (a long
// drag would otherwise make a needle), with a line across where the tip begins.
void DrawBulletOrPencil(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!WithinReach(g)) return;
  const SegmentFrame f = FrameOf(g);
  if (!(f.length >= 1)) return;
  const double half = std::clamp(f.length / 6, 4.0, 16.0) / 2;
  const double tipStart = f.length - std::min(f.length / 5, 5 * half);
  SharpBody(canvas, {f.At(0, half), f.At(tipStart, half), f.end, f.At(tipStart, -half), f.At(0, -half)});
  Segment(canvas, f.At(tipStart, half), f.At(tipStart, -half));
}

// The stretch [lo, hi] of distances along the frame's line from which something reaching `reach`
// pixels around it can touch the picture.
void VisibleStretch(const Canvas& canvas, const SegmentFrame& f, double reach, double& lo, double& hi) {
  lo = 1e300;
  hi = -1e300;
  for (QPointF c : {QPointF(0, 0), QPointF(canvas.Width(), 0), QPointF(0, canvas.Height()),
                    QPointF(canvas.Width(), canvas.Height())}) {
    const double s = QPointF::dotProduct(c - f.start, f.along);
    lo = std::min(lo, s);
    hi = std::max(hi, s);
  }
  lo -= reach + figures::StrokeMargin(canvas);
  hi += reach + figures::StrokeMargin(canvas);
}

// A chain: links about 12 x 6 pixels (larger for wide lines), alternately face-on (an oval) and
// edge-on (a bar), each overlapping the next by a quarter of its length, as many as fit between the
// press point and the pointer.
void DrawChain(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  if (!WithinReach(g)) return;
  const SegmentFrame f = FrameOf(g);
  if (!(f.length >= 2)) return;
  double link = std::min(f.length, 12.0 * std::max(1.0, canvas.DrawWidth / 2.0));
  const double gaps = std::floor((f.length - link) / (0.75 * link) + 0.5);
  if (gaps < 1) link = f.length;  // one link from end to end
  const double pitch = gaps >= 1 ? (f.length - link) / gaps : 1;
  double lo = 0, hi = 0;
  VisibleStretch(canvas, f, link, lo, hi);
  figures::ForEachStep(link / 2, pitch, f.length - link / 2 + pitch / 4, lo, hi, [&](double s) {
    const bool faceOn = static_cast<int64_t>(std::floor((s - link / 2) / pitch + 0.5)) % 2 == 0;
    if (!faceOn) {
      Segment(canvas, f.At(s - link / 2, 0), f.At(s + link / 2, 0));
      return;
    }
    std::vector<QPointF> oval = figures::ArcPoints(s, 0, link / 2, link / 4, 0, 2 * kPi);
    for (QPointF& p : oval) p = f.At(p.x(), p.y());
    figures::StrokePath(canvas, oval, true);
  });
}

using K = FigureKind;

const ToolFigure kMechanicsParts[] = {
    {ToolId::Pendulum, K::Along, DrawPendulum, kReadsFirst},
    {ToolId::ZigzagSpring, K::Along, DrawZigzagSpring, kReadsFirst},
    {ToolId::SlottedMass, K::Box, DrawSlottedMass},
    {ToolId::MovablePulley, K::Box, DrawMovablePulley},
    {ToolId::BulletOrPencil, K::Along, DrawBulletOrPencil},
    {ToolId::Chain, K::Along, DrawChain},
};

}  // namespace

std::span<const ToolFigure> MechanicsPartFigures() { return kMechanicsParts; }
