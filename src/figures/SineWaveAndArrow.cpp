#include "figures/SineWaveAndArrow.h"

#include <QPointF>

#include <cmath>

#include "figures/Canvas.h"
#include "figures/DrawingStateScope.h"
#include "figures/FigureSteps.h"

using figures::kPi;

void DrawSineWave(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y;
  const double x2 = g.CurrentPoint.x, y2 = g.CurrentPoint.y;
  if (!figures::IsFigureCoordinate(x1) || !figures::IsFigureCoordinate(x2) ||
      !std::isfinite(y1) || !std::isfinite(y2) || !std::isfinite(params.SP)) {
    return;
  }
  const double A = y2 - y1;  // signed amplitude
  const double W = x2 - x1;  // signed width: a drag to the left runs the phase backwards
  if (W == 0) return;
  const double xs = x2 < x1 ? x2 : x1;
  const double xe = x2 < x1 ? x1 : x2;
  const double K = 2 * params.SP;
  auto wave = [&](double x) { return y1 + A * std::sin(kPi * K * (x - xs) / W); };

  const double margin = figures::StrokeMargin(canvas);
  const double top = -margin, bottom = canvas.Height() + margin;

  if (canvas.DrawStyle == Canvas::kSolid) {
    // One segment per pixel column, from (x, y(x)) to (x + 1, y(x + 1)), for x = xs, xs + 1, ...
    // while x <= xe - 1. Columns whose segment cannot reach the picture are not visited: the
    // counter starts at the first column that can and stops after the last.
    const double lo = -margin - 1, hi = canvas.Width() + margin;
    double x = xs;
    if (x < lo) x = xs + std::floor(lo - xs);
    const double last = std::min(xe - 1, hi);
    if (!(x <= last)) return;
    // Runs of adjacent segments go to the canvas as one polyline (the same pixels as one Line
    // per segment, without the cost of a call per column).
    constexpr int kRun = 512;
    QPointF run[kRun];
    int n = 0;
    auto flush = [&] {
      if (n >= 2) canvas.Polyline(run, n);
      n = 0;
    };
    double ya = wave(x);
    while (x <= last) {
      const double xn = x + 1;
      if (xn == x) break;
      const double yb = wave(xn);
      // A segment wholly above or below the picture leaves it unchanged.
      if (!((ya < top && yb < top) || (ya > bottom && yb > bottom))) {
        if (n == kRun) {
          flush();
          run[n++] = QPointF(x, ya);
        }
        if (n == 0) run[n++] = QPointF(x, ya);
        run[n++] = QPointF(xn, yb);
      } else {
        flush();
      }
      x = xn;
      ya = yb;
    }
    flush();
    return;
  }

  // Patterned style: single points at x = xs, xs + 2, ... while x <= xe, drawn with the dotted
  // style that the rest of the program expects while the wave is being drawn.
  DrawingStateScope keep(canvas);
  canvas.DrawStyle = Canvas::kDot;
  const double lo = -margin, hi = canvas.Width() + margin;
  double x = xs;
  if (x < lo) x = xs + 2 * std::floor((lo - xs) / 2);
  const double last = std::min(xe, hi);
  while (x <= last) {
    const double y = wave(x);
    if (y >= top && y <= bottom) canvas.PSet(x, y);
    const double xn = x + 2;
    if (xn == x) break;
    x = xn;
  }
}

void DrawArrow(Canvas& canvas, const DragGeometry& g) {
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y;
  const double x2 = g.CurrentPoint.x, y2 = g.CurrentPoint.y;
  const double dx = g.DragOffset.x, dy = g.DragOffset.y;
  canvas.Line(x1, y1, x2, y2);  // the shaft
  double a1x, a1y, a2x, a2y;
  if (dx == 0) {
    // A vertical shaft: barbs 3 pixels across and 10 back.
    a1x = 3;
    a2x = -3;
    a1y = a2y = y2 > y1 ? 10 : -10;
  } else {
    const double theta = std::atan(dy / dx);  // between -pi/2 and pi/2
    const double s = x2 > x1 ? 10 : -10;
    a1x = s * std::cos(theta - kPi / 12);
    a1y = s * std::sin(theta - kPi / 12);
    a2x = s * std::cos(theta + kPi / 12);
    a2y = s * std::sin(theta + kPi / 12);
  }
  canvas.Line(x2, y2, x2 - a1x, y2 - a1y);
  canvas.Line(x2, y2, x2 - a2x, y2 - a2y);
}
