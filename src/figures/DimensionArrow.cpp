#include "figures/DimensionArrow.h"

#include <cmath>

#include "figures/Canvas.h"

namespace {

constexpr double kHeadLength = 9;
constexpr double kHeadHalfWidth = 2;
constexpr double kTail = 12;
constexpr double kLongSpan = 30;  // a span is long when strictly longer

}  // namespace

void DrawDimensionArrow(Canvas& canvas, const DragGeometry& g) {
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y;
  const double x2 = g.CurrentPoint.x, y2 = g.CurrentPoint.y;
  const double w = g.DragOffset.x, h = g.DragOffset.y;
  const double ym = y1 + h / 2, xm = x1 + w / 2;
  const double aw = std::fabs(w), ah = std::fabs(h);
  const double L = kHeadLength, H = kHeadHalfWidth;

  if (aw > ah) {
    canvas.LineRel(x1, y1, 0, h);  // extension lines
    canvas.LineRel(x2, y1, 0, h);
    // A head at (x, ym) whose legs go `toward` (+1 right, -1 left).
    auto head = [&](double x, double toward) {
      canvas.LineRel(x, ym, toward * L, H);
      canvas.LineRel(x, ym, toward * L, -H);
    };
    const double right = w > 0 ? 1 : -1;  // direction from the press point to the pointer
    if (aw > kLongSpan) {
      canvas.LineRel(x1, ym, w, 0);  // dimension line
      head(x1, right);               // tips on the extension lines, pointing outwards
      head(x2, -right);
    } else {
      canvas.LineRel(x1, ym, -right * kTail, 0);  // tails outside
      canvas.LineRel(x2, ym, right * kTail, 0);
      head(x1, -right);  // heads outside, pointing inwards
      head(x2, right);
    }
  } else if (ah > aw) {
    canvas.LineRel(x1, y1, w, 0);  // extension lines
    canvas.LineRel(x1, y2, w, 0);
    auto head = [&](double y, double toward) {
      canvas.LineRel(xm, y, H, toward * L);
      canvas.LineRel(xm, y, -H, toward * L);
    };
    const double down = h > 0 ? 1 : -1;
    if (ah > kLongSpan) {
      canvas.LineRel(xm, y1, 0, h);
      head(y1, down);
      head(y2, -down);
    } else {
      canvas.LineRel(xm, y1, 0, -down * kTail);
      canvas.LineRel(xm, y2, 0, down * kTail);
      head(y1, -down);
      head(y2, down);
    }
  }
  // |w| = |h|: nothing.
}
