#include "figures/library/PatternedStrokes.h"

#include <algorithm>
#include <cmath>

#include "figures/Canvas.h"
#include "figures/DrawingStateScope.h"
#include "figures/FigureGeometry.h"
#include "figures/FigureSteps.h"
#include "figures/library/TracedCurves.h"

namespace figures {

void PatternedStroke(Canvas& canvas, const std::vector<QPointF>& points, double on, double off) {
  if (points.size() < 2 || !(on >= 0) || !(off > 0) || !std::isfinite(on + off)) return;
  DrawingStateScope keep(canvas);
  canvas.DrawStyle = Canvas::kSolid;
  const QRectF reach = PictureReach(canvas).adjusted(-on, -on, on, on);
  const double period = on + off;
  std::vector<QPointF> dash;  // the dash being gathered across the points
  double dashStart = -1;
  auto flush = [&] {
    if (dash.size() == 2 && dash[0] == dash[1])  // a dot: a pen-wide point
      canvas.Line(dash[0].x(), dash[0].y(), dash[0].x(), dash[0].y());
    else if (!dash.empty())
      StrokePath(canvas, dash);
    dash.clear();
  };
  double s0 = 0;  // the path's length up to the segment's start
  for (size_t i = 1; i < points.size(); ++i) {
    const QPointF a = points[i - 1], b = points[i];
    const double len = std::hypot(b.x() - a.x(), b.y() - a.y());
    if (!std::isfinite(len)) return;
    double u0, u1;
    if (len > 0 && SegmentInside(a, b, reach, u0, u1)) {
      const QPointF along = (b - a) / len;
      const double lo = s0 + u0 * len, hi = s0 + u1 * len;
      ForEachStep(0.0, period, hi, lo - on, hi, [&](double d) {
        const double from = std::max(d, lo), to = std::min(d + on, hi);
        if (from > to) return;
        if (d != dashStart) {
          flush();
          dashStart = d;
          dash.push_back(a + along * (from - s0));
        }
        dash.push_back(a + along * (to - s0));
      });
    }
    s0 += len;
  }
  flush();
}

namespace {
double PenWidth(const Canvas& canvas) { return std::clamp(canvas.DrawWidth, 1, 64); }
}  // namespace

void DashedStroke(Canvas& canvas, const std::vector<QPointF>& points) {
  // Seen on paper: dashes of 2w + 2 pixels and gaps of w + 2; a wide pen's caps add w to a dash.
  const double w = PenWidth(canvas);
  PatternedStroke(canvas, points, w + 2, 2 * w + 2);
}

void DottedStroke(Canvas& canvas, const std::vector<QPointF>& points) {
  const double w = PenWidth(canvas);
  PatternedStroke(canvas, points, 0, 3 * w);
}

void SolidBarbs(Canvas& canvas, QPointF tip, QPointF direction, double length, double halfWidth) {
  DrawingStateScope keep(canvas);
  canvas.DrawStyle = Canvas::kSolid;
  OpenArrowhead(canvas, tip, direction, length, halfWidth);
}

}  // namespace figures
