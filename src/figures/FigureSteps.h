#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "figures/Canvas.h"
#include "figures/Rounding.h"

// Helpers shared by the figure families: the constant pi of the figure geometry, and loops over a
// row of strokes (ticks, grid lines, hatch strokes) that visit only the strokes that can touch the
// picture, so a figure never costs more than the picture's size, whatever the drag or the
// parameters.

namespace figures {

// The figures take pi as 3.1416.
inline constexpr double kPi = 3.1416;

// Beyond this magnitude a coordinate no longer has whole-pixel precision for a counter that adds
// one pixel at a time; a figure with such a coordinate draws nothing.
inline constexpr double kFigureCoordinateLimit = 1.0e12;

inline bool IsFigureCoordinate(double v) {
  return std::isfinite(v) && std::fabs(v) <= kFigureCoordinateLimit;
}

// How far beyond the raster a stroke can start and still reach it: the pen's half width and the
// square caps of wide pens, with a pixel to spare.
inline double StrokeMargin(const Canvas& canvas) {
  return static_cast<double>(std::clamp(canvas.DrawWidth, 1, Canvas::kMaxSide)) + 2.0;
}

// Visits start, start + step, start + 2 step, ... (the value accumulated by adding `step` each
// time) while the value has not passed `end` (x <= end for a positive step, x >= end for a
// negative one), but only the values inside [lo, hi]. Values before the range are jumped over by
// one multiplication, and the loop ends as soon as it leaves the range, so the cost is bounded by
// (hi - lo) / |step| whatever start and end are. A step of zero, a non-finite value, or a step
// too small to change the counter visits nothing more than it can reach.
template <class Visit>
void ForEachStep(double start, double step, double end, double lo, double hi, Visit&& visit) {
  if (!std::isfinite(start) || std::isnan(step) || !std::isfinite(end) || step == 0) return;
  if (!(lo <= hi)) return;
  if (std::isinf(step)) {  // the second value is already out of reach
    if ((step > 0 ? start <= end : start >= end) && start >= lo && start <= hi) visit(start);
    return;
  }
  const bool up = step > 0;
  double x = start;
  const double gap = up ? lo - x : x - hi;  // distance still to travel before the range
  if (gap > 0) {
    const double k = std::floor(gap / std::fabs(step));
    if (k > 1) x = start + (k - 1) * step;  // lands just short of the range
  }
  while (up ? x <= end : x >= end) {
    if (up ? x > hi : x < lo) break;
    if (x >= lo && x <= hi) visit(x);
    const double next = x + step;
    if (next == x) break;
    x = next;
  }
}

// The same over whole numbers: start, start + step, ... while within `end` (inclusive), visiting
// only values inside [lo, hi]. `step` must not be 0 (nothing is visited then).
template <class Visit>
void ForEachWholeStep(int64_t start, int64_t step, double end, double lo, double hi,
                      Visit&& visit) {
  if (step == 0 || !std::isfinite(end) || !(lo <= hi)) return;
  const bool up = step > 0;
  const int64_t first = static_cast<int64_t>(std::ceil(lo));
  const int64_t last = static_cast<int64_t>(std::floor(hi));
  int64_t y = start;
  if (up && y < first) {
    y += (first - y) / step * step;
  } else if (!up && y > last) {
    y -= (y - last) / -step * -step;
  }
  while (up ? static_cast<double>(y) <= end : static_cast<double>(y) >= end) {
    if (up ? y > last : y < first) break;
    if (y >= first && y <= last) visit(y);
    y += step;
  }
}

}  // namespace figures
