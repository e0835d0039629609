#include "figures/AxesScaleGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "figures/Canvas.h"
#include "figures/FigureSteps.h"
#include "figures/Rounding.h"

namespace {

struct Drag {
  double x1, y1, x2, y2, w, h;
};

bool ReadDrag(const DragGeometry& g, Drag& d) {
  d = {g.PressPoint.x, g.PressPoint.y, g.CurrentPoint.x, g.CurrentPoint.y, g.DragOffset.x,
       g.DragOffset.y};
  return figures::IsFigureCoordinate(d.x1) && figures::IsFigureCoordinate(d.y1) &&
         figures::IsFigureCoordinate(d.x2) && figures::IsFigureCoordinate(d.y2) &&
         std::isfinite(d.w) && std::isfinite(d.h);
}

// A number of divisions the counters can use: the parameter window keeps it above 0; anything
// else draws nothing in that direction.
bool IsDivisionCount(double n) { return std::isfinite(n) && n > 0; }

// The horizontal counter: x from x1 towards x2 by hs = w / n, accumulated in double precision and
// compared on the accumulated value, so the last mark at x2 may be lost to rounding. Visits only
// the positions within [lo, hi]. `mark(x, k)` gets the position and its index k = (x - x1) / hs,
// rounded.
template <class Mark>
void ForEachColumnMark(const Drag& d, double n, double lo, double hi, Mark&& mark) {
  const double hs = d.w / n;
  figures::ForEachStep(d.x1, hs, d.x2, lo, hi,
                       [&](double x) { mark(x, RoundHalfEven((x - d.x1) / hs)); });
}

// The vertical counter over whole numbers: s = vs rounded, y from y1 rounded to y2 in steps of s.
// The index k divides by the unrounded vs.
template <class Mark>
void ForEachRowMark(const Drag& d, double n, double lo, double hi, Mark&& mark) {
  const double vs = d.h / n;
  const int64_t s = RoundHalfEven(vs);
  figures::ForEachWholeStep(RoundHalfEven(d.y1), s, d.y2, lo, hi, [&](int64_t y) {
    const double yy = static_cast<double>(y);
    mark(yy, RoundHalfEven((yy - d.y1) / vs));
  });
}

// The lines of one set of grid paper: `n` divisions of the signed `span` from `from`, line k at
// from + k * span / n for k = 0 .. n (a fractional count leaves its last part open). Each line's
// place is taken from its index, not accumulated, and the last line of a whole count lies on the
// far side itself: the rows (or columns) are equal within a pixel and the grid is closed. Visits
// only the lines within [lo, hi]; the caller keeps |span| >= n, so lines are a pixel apart or more.
template <class Visit>
void ForEachGridLine(double from, double span, double n, double lo, double hi, Visit&& visit) {
  const double step = span / n;
  double k0 = (lo - from) / step, k1 = (hi - from) / step;
  if (k0 > k1) std::swap(k0, k1);
  const double first = std::max(0.0, std::ceil(k0)), last = std::min(std::floor(n), std::floor(k1));
  // k * span / n, not k * step: the step is already rounded, and a line that lies on a half would
  // land a column off.
  for (double k = first; k <= last; ++k) visit(k == n ? from + span : from + k * span / n);
}

}  // namespace

void DrawCoordinateAxes(Canvas& canvas, const DragGeometry& g) {
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y;
  const double x2 = g.CurrentPoint.x, y2 = g.CurrentPoint.y;
  const double xm = (x1 + x2) / 2, ym = (y1 + y2) / 2;
  canvas.Line(xm, y1, xm, y2);  // vertical axis
  canvas.Line(x1, ym, x2, ym);  // horizontal axis
  const double up = y2 > y1 ? 8 : -8;  // head at (xm, y1): up when the axis runs down from it
  canvas.LineRel(xm, y1, 2, up);
  canvas.LineRel(xm, y1, -2, up);
  const double back = x2 > x1 ? -8 : 8;  // head at (x2, ym)
  canvas.LineRel(x2, ym, back, 2);
  canvas.LineRel(x2, ym, back, -2);
}

void DrawTickScale(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  Drag d;
  if (!ReadDrag(g, d)) return;
  const double margin = figures::StrokeMargin(canvas);
  const double width = canvas.Width(), height = canvas.Height();
  const double nH = params.SP, nV = params.SZ;
  const double aw = std::fabs(d.w), ah = std::fabs(d.h);
  if (aw > ah) {
    if (!IsDivisionCount(nH) || !(aw >= nH)) return;
    if (d.y1 < -margin || d.y1 - 6 > height + margin) return;  // ticks stand 6 above y1 at most
    ForEachColumnMark(d, nH, -margin, width + margin, [&](double x, int64_t k) {
      canvas.LineRel(x, d.y1, 0, k % 5 == 0 ? -6 : -3);
    });
  } else if (aw < ah) {
    if (!IsDivisionCount(nV) || !(ah >= nV)) return;
    if (d.x1 + 6 < -margin || d.x1 > width + margin) return;  // ticks reach 6 right of x1
    ForEachRowMark(d, nV, -margin, height + margin, [&](double y, int64_t k) {
      canvas.LineRel(d.x1, y, k % 5 == 0 ? 6 : 3, 0);
    });
  }
  // |w| = |h|: nothing.
}

void DrawGridPaper(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  Drag d;
  if (!ReadDrag(g, d)) return;
  const double margin = figures::StrokeMargin(canvas);
  const double width = canvas.Width(), height = canvas.Height();
  const double nH = params.SP, nV = params.SZ;
  const double top = std::min(d.y1, d.y2), bottom = std::max(d.y1, d.y2);
  const double left = std::min(d.x1, d.x2), right = std::max(d.x1, d.x2);
  const bool rowsVisible = bottom >= -margin && top <= height + margin;
  const bool columnsVisible = right >= -margin && left <= width + margin;
  if (IsDivisionCount(nH) && std::fabs(d.w) >= nH && rowsVisible) {
    ForEachGridLine(d.x1, d.w, nH, -margin, width + margin, [&](double x) { canvas.Line(x, d.y1, x, d.y2); });
  }
  if (IsDivisionCount(nV) && std::fabs(d.h) >= nV && columnsVisible) {
    ForEachGridLine(d.y1, d.h, nV, -margin, height + margin, [&](double y) { canvas.Line(d.x1, y, d.x2, y); });
  }
}
