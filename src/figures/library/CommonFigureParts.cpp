#include "figures/library/CommonFigureParts.h"

#include <algorithm>
#include <cmath>

#include "figures/Canvas.h"
#include "figures/DrawingStateScope.h"
#include "figures/FigureGeometry.h"

namespace figures::common {

void SharpBody(Canvas& canvas, const std::vector<QPointF>& points) {
  if (canvas.DrawWidth <= 1) {
    ClosedBody(canvas, points);
    return;
  }
  {
    // The interior and a one-pixel outline, which the wide stroke then covers.
    DrawingStateScope keep(canvas);
    canvas.DrawWidth = 1;
    ClosedBody(canvas, points);
  }
  StrokePath(canvas, points, true);
}

void Segment(Canvas& canvas, QPointF a, QPointF b) { canvas.Line(a.x(), a.y(), b.x(), b.y()); }

double ReachAcross(double length) { return std::max(10.0, length / 4); }

double LargestSide(const Canvas& canvas) { return std::max(canvas.Width(), canvas.Height()); }

}  // namespace figures::common
