#include "figures/SurfaceAndHalfAxes.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "figures/Canvas.h"
#include "figures/FigureSteps.h"
#include "figures/Rounding.h"

namespace {

// Strokes along a floor, x = start, start + step, ... while x <= end, each from (x, y1) by
// (-dy, dy). Strokes whose ends round to the same pixels as the stroke before paint the same
// pixels, so only the first of them is drawn. Down to a sixteenth of a pixel the counter is
// accumulated one step at a time (at most sixteen strokes per pixel of the picture); below that
// it jumps from one pair of rounded ends to the next (positions start + k * step), so the cost
// follows the number of pixels, not the number of strokes.
void DrawFloorStrokes(Canvas& canvas, double start, double step, double end, double lo,
                      double hi, double y1, double dy) {
  int64_t lastA = std::numeric_limits<int64_t>::min(), lastB = lastA;
  auto stroke = [&](double x) {
    const int64_t a = RoundHalfEven(x), b = RoundHalfEven(x - dy);
    if (a == lastA && b == lastB) return;
    canvas.LineRel(x, y1, -dy, dy);
    lastA = a;
    lastB = b;
  };
  if (step >= 1.0 / 16) {
    figures::ForEachStep(start, step, end, lo, hi, stroke);
    return;
  }
  double k = 0;
  double x = start;
  if (x < lo) {
    k = std::floor((lo - start) / step);
    if (!std::isfinite(k)) return;
    x = start + k * step;
  }
  // Each pair of rounded ends is reached within a few turns, and the visible part of the floor
  // holds at most two pairs per pixel; the budget only guards against a step too small to move
  // the counter at all.
  int64_t budget = 8 * static_cast<int64_t>(hi - lo + 2);
  while (x <= end && x <= hi && budget-- > 0) {
    if (x >= lo) stroke(x);
    // The next position at which either end may round to another pixel.
    const double bound =
        std::min(std::floor(x + 0.5) + 0.5, std::floor(x - dy + 0.5) + 0.5 + dy);
    k = std::max(k + 1, std::floor((bound - start) / step) - 1);
    x = start + k * step;
  }
}

// Head of a vertical axis at (x, y): two barbs 8 back and 2 to each side, opening downwards when
// the axis runs down from the head, upwards otherwise.
void VerticalAxisHead(Canvas& canvas, double x, double y, bool axisRunsDown) {
  const double back = axisRunsDown ? 8 : -8;
  canvas.LineRel(x, y, 2, back);
  canvas.LineRel(x, y, -2, back);
}

// Head of a horizontal axis at (x, y), pointing right or left.
void HorizontalAxisHead(Canvas& canvas, double x, double y, bool pointsRight) {
  const double back = pointsRight ? -8 : 8;
  canvas.LineRel(x, y, back, 2);
  canvas.LineRel(x, y, back, -2);
}

}  // namespace

void DrawHatchedSurface(Canvas& canvas, const DragGeometry& g) {
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y;
  const double x2 = g.CurrentPoint.x, y2 = g.CurrentPoint.y;
  const double dx = g.DragOffset.x, dy = g.DragOffset.y;
  if (!figures::IsFigureCoordinate(x1) || !figures::IsFigureCoordinate(y1) ||
      !figures::IsFigureCoordinate(x2) || !figures::IsFigureCoordinate(y2) ||
      !std::isfinite(dx) || !std::isfinite(dy)) {
    return;
  }
  const double adx = std::fabs(dx), ady = std::fabs(dy);
  const double margin = figures::StrokeMargin(canvas);
  const double width = canvas.Width(), height = canvas.Height();

  if (adx > ady) {
    // Floor or mirror: the line at the press point's height, strokes below (y2 > y1) or above.
    canvas.Line(x1, y1, x2, y1);
    if (dy == 0) return;
    // Strokes reach |dy| to the side and |dy| up or down from the line.
    if (y1 + ady < -margin || y1 - ady > height + margin) return;
    const double xs = x2 < x1 ? x2 : x1;
    const double xe = x2 < x1 ? x1 : x2;
    const double lo = -ady - margin, hi = width + ady + margin;
    DrawFloorStrokes(canvas, xs + 5, ady, xe, lo, hi, y1, dy);
  } else if (ady > adx) {
    // Wall: the line through the press point, strokes to the side the pointer went to, each
    // running down and away from the wall.
    canvas.Line(x1, y1, x1, y2);
    if (dx == 0) return;
    if (x1 + adx < -margin || x1 - adx > width + margin) return;
    const double ys = y2 < y1 ? y2 : y1;
    const double ye = y2 < y1 ? y1 : y2;
    // The wall counts in whole pixels. A stroke size below half a pixel would round the step to
    // nothing and never end the loop: the step is at least one pixel.
    const int64_t start = RoundHalfEven(ys + 5);
    const double end = static_cast<double>(RoundHalfEven(ye));
    const int64_t step = std::max<int64_t>(1, RoundHalfEven(adx));
    const double b = dx > 0 ? dx : -dx;  // the stroke always runs downwards
    figures::ForEachWholeStep(start, step, end, -adx - margin, height + margin, [&](int64_t y) {
      canvas.LineRel(x1, static_cast<double>(y), dx, b);
    });
  }
  // |dx| = |dy|, a click included: nothing.
}

void DrawHalfAxes(Canvas& canvas, const DragGeometry& g) {
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y;
  const double x2 = g.CurrentPoint.x, y2 = g.CurrentPoint.y;
  canvas.Line(x1, y1, x1, y2);  // y axis
  canvas.Line(x1, y2, x2, y2);  // x axis, from the origin (x1, y2)
  VerticalAxisHead(canvas, x1, y1, y2 > y1);
  HorizontalAxisHead(canvas, x2, y2, x2 > x1);
}

void DrawXHalfAxes(Canvas& canvas, const DragGeometry& g) {
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y;
  const double x2 = g.CurrentPoint.x, y2 = g.CurrentPoint.y;
  canvas.Line(x1, y1, x1, y2);  // y axis over the whole drag height
  const double ym = (y1 + y2) / 2;
  canvas.Line(x1, ym, x2, ym);  // x axis from mid-height
  VerticalAxisHead(canvas, x1, y1, y2 > y1);
  HorizontalAxisHead(canvas, x2, ym, x2 > x1);
}
