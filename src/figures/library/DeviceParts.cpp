#include "figures/library/DeviceParts.h"

#include <algorithm>
#include <cmath>

#include "figures/Canvas.h"
#include "figures/DrawingStateScope.h"
#include "figures/FigureSteps.h"

namespace figures {

std::vector<QPointF> SectionArc(const PartFrame& f, double s, double r, double depth, double a0,
                                double a1, double slant) {
  std::vector<QPointF> points;
  if (!std::isfinite(s + r + depth + a0 + a1 + slant)) return points;
  // As few points as keep the rim within a third of a pixel of the chords.
  const int n = FlatPieces(std::max(std::fabs(r), std::fabs(depth)), a1 - a0);
  points.reserve(n + 1);
  for (int i = 0; i <= n; ++i) {
    const double a = a0 + (a1 - a0) * i / n;
    points.push_back(f.At(s + depth * std::cos(a) + slant * std::sin(a) / 2, r * std::sin(a)));
  }
  return points;
}

void Cylinder(Canvas& canvas, const PartFrame& f, double length, double r, double depth) {
  // The near end's rim bulges away from the far end; the far end's outer half closes the outline.
  std::vector<QPointF> outline = SectionArc(f, 0, r, depth, kPi / 2, 3 * kPi / 2);
  const std::vector<QPointF> farRim = SectionArc(f, length, r, depth, -kPi / 2, kPi / 2);
  outline.insert(outline.end(), farRim.begin(), farRim.end());
  ClosedBody(canvas, outline);
  StrokePath(canvas, SectionArc(f, length, r, depth, kPi / 2, 3 * kPi / 2));
}

namespace {
// The range of s at which a stroke within `reach` pixels of the point At(s, 0) can touch the
// picture: the picture's corners projected on the axis, widened by the reach and the pen.
void VisibleAlong(const Canvas& canvas, const PartFrame& f, double reach, double& lo, double& hi) {
  lo = 1e300;
  hi = -1e300;
  for (QPointF c : {QPointF(0, 0), QPointF(canvas.Width(), 0), QPointF(0, canvas.Height()),
                    QPointF(canvas.Width(), canvas.Height())}) {
    const double s = QPointF::dotProduct(c - f.origin, f.axis);
    lo = std::min(lo, s);
    hi = std::max(hi, s);
  }
  const double margin = reach + StrokeMargin(canvas);
  lo -= margin;
  hi += margin;
}
}  // namespace

void Windings(Canvas& canvas, const PartFrame& f, double s0, double s1, double r, double depth,
              double spacing) {
  if (!(spacing > 0) || !std::isfinite(s0 + s1 + r + depth + spacing)) return;
  const double slant = spacing;
  double lo = 0, hi = 0;
  VisibleAlong(canvas, f, std::fabs(depth) + slant, lo, hi);
  // A stroke is the near end's rim moved to s and tilted by a whole turn: it stays between the
  // ends of the part while its own ends, half a turn either side of s, do.
  const double first = s0 + slant / 2;
  const double last = s1 - slant / 2;
  ForEachStep(first, spacing, last, lo, hi, [&](double s) {
    StrokePath(canvas, SectionArc(f, s, r, depth, kPi / 2, 3 * kPi / 2, slant));
  });
}

double PenWidth(const Canvas& canvas) { return std::clamp(canvas.DrawWidth, 1, 8); }

double CloseSpacing(const Canvas& canvas) { return 2.0 + 1.5 * PenWidth(canvas); }

void Stroke(Canvas& canvas, QPointF a, QPointF b) { canvas.Line(a.x(), a.y(), b.x(), b.y()); }

void BoxBody(Canvas& canvas, const FigureBox& b, double fx0, double fy0, double fx1, double fy1) {
  const QPointF p = b.Facing(fx0, fy0), q = b.Facing(fx1, fy1);
  canvas.Box(p.x(), p.y(), q.x(), q.y());
}

void SolidPart(Canvas& canvas, const std::vector<QPointF>& points) {
  DrawingStateScope keep(canvas);
  canvas.FillStyle = Canvas::kFillSolid;
  canvas.FillColor = canvas.ForeColor;
  canvas.DrawStyle = Canvas::kSolid;
  canvas.DrawWidth = 1;
  ClosedBody(canvas, points);
}

}  // namespace figures
