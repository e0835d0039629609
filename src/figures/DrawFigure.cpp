#include "figures/DrawFigure.h"

#include <cmath>

#include "figures/AxesScaleGrid.h"
#include "figures/Canvas.h"
#include "figures/DimensionArrow.h"
#include "figures/RodBlockIncline.h"
#include "figures/Rounding.h"
#include "figures/SineWaveAndArrow.h"
#include "figures/SurfaceAndHalfAxes.h"

namespace {

// The rubber band of the rectangular selection: a dotted one-pixel frame covering exactly |dx|
// columns and |dy| rows from the drag's top-left corner, drawn without fill. The frame of an empty
// drag (no columns or no rows) is nothing.
void DrawSelectionFrame(Canvas& canvas, const DragGeometry& g) {
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y;
  const double x2 = g.CurrentPoint.x, y2 = g.CurrentPoint.y;
  const double adx = std::fabs(g.DragOffset.x), ady = std::fabs(g.DragOffset.y);
  if (adx == 0 || ady == 0) return;
  const int savedStyle = canvas.DrawStyle, savedWidth = canvas.DrawWidth;
  const int savedFill = canvas.FillStyle;
  canvas.DrawStyle = Canvas::kDot;
  canvas.DrawWidth = 1;
  canvas.FillStyle = Canvas::kFillTransparent;
  const double left = x1 < x2 ? x1 : x2;
  const double top = y1 < y2 ? y1 : y2;
  canvas.BoxRel(left, top, adx - 1, ady - 1);
  canvas.DrawStyle = savedStyle;
  canvas.DrawWidth = savedWidth;
  canvas.FillStyle = savedFill;
}

// One piece of a freehand stroke: from where the last piece ended to the pointer. The next piece
// starts here, so the press point follows the pointer.
void DrawFreehandSegment(Canvas& canvas, DragGeometry& g) {
  canvas.PSet(g.PressPoint.x, g.PressPoint.y);
  canvas.Line(g.PressPoint.x, g.PressPoint.y, g.CurrentPoint.x, g.CurrentPoint.y);
  g.PressPoint = g.CurrentPoint;
}

// Horizontal at the press point's height when the drag is wider than high, otherwise vertical
// through the press point (a drag as wide as high gives a vertical line).
void DrawAxisLine(Canvas& canvas, const DragGeometry& g) {
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y;
  if (std::fabs(g.DragOffset.x) > std::fabs(g.DragOffset.y)) {
    canvas.Line(x1, y1, g.CurrentPoint.x, y1);
  } else {
    canvas.Line(x1, y1, x1, g.CurrentPoint.y);
  }
}

void DrawStraightLine(Canvas& canvas, const DragGeometry& g) {
  canvas.Line(g.PressPoint.x, g.PressPoint.y, g.CurrentPoint.x, g.CurrentPoint.y);
}

void DrawRectangle(Canvas& canvas, const DragGeometry& g) {
  canvas.Box(g.PressPoint.x, g.PressPoint.y, g.CurrentPoint.x, g.CurrentPoint.y);
}

// The number entered is the width and height of the corner ellipse (the visible radius is half of
// it), rounded to a whole pixel.
void DrawRoundedRectangle(Canvas& canvas, const DragGeometry& g, const ParameterValues& params) {
  if (!IsUsable(params.SP)) return;
  const int r = RoundHalfEven32(params.SP);
  canvas.RoundRect(RoundHalfEven32(g.PressPoint.x), RoundHalfEven32(g.PressPoint.y),
                   RoundHalfEven32(g.CurrentPoint.x), RoundHalfEven32(g.CurrentPoint.y),
                   r > 0 ? r : 0, r > 0 ? r : 0);
}

void DrawEllipseFigure(Canvas& canvas, const DragGeometry& g) {
  canvas.Ellipse(RoundHalfEven32(g.PressPoint.x), RoundHalfEven32(g.PressPoint.y),
                 RoundHalfEven32(g.CurrentPoint.x), RoundHalfEven32(g.CurrentPoint.y));
}

// The press point is the centre, marked by a dot; the circle passes through the pointer.
void DrawCircleFigure(Canvas& canvas, const DragGeometry& g) {
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y;
  canvas.PSet(x1, y1);
  const double ax = g.CurrentPoint.x - x1, ay = g.CurrentPoint.y - y1;
  canvas.Circle(x1, y1, std::sqrt(ax * ax + ay * ay));
}

// Paints the closed area under the press point with the current fill: every pixel of the seed's
// exact colour connected to it. Any other colour bounds the area.
void FillClosedArea(Canvas& canvas, const DragGeometry& g) {
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y;
  if (!IsUsable(x1) || !IsUsable(y1)) return;
  const QRgb c = canvas.Point(x1, y1);
  if (c == Canvas::kNoPixel) return;  // off the picture
  canvas.ExtFloodFill(RoundHalfEven32(x1), RoundHalfEven32(y1), c, 1);
}

}  // namespace

void DrawFigure(Canvas& canvas, DragGeometry& g, int toolId, const ParameterValues& params) {
  g.DragOffset.x = g.CurrentPoint.x - g.PressPoint.x;
  g.DragOffset.y = g.CurrentPoint.y - g.PressPoint.y;
  switch (toolId) {
    case 1: DrawSelectionFrame(canvas, g); break;
    case 4: DrawFreehandSegment(canvas, g); break;
    case 5: DrawAxisLine(canvas, g); break;
    case 6: DrawStraightLine(canvas, g); break;
    case 7: DrawRectangle(canvas, g); break;
    case 8: DrawRoundedRectangle(canvas, g, params); break;
    case 9: DrawEllipseFigure(canvas, g); break;
    case 10: DrawCircleFigure(canvas, g); break;
    case 11: DrawSineWave(canvas, g, params); break;
    case 12: DrawArrow(canvas, g); break;
    case 13: DrawHatchedSurface(canvas, g); break;
    case 14: DrawHalfAxes(canvas, g); break;
    case 15: DrawXHalfAxes(canvas, g); break;
    case 16: DrawCoordinateAxes(canvas, g); break;
    case 17: DrawTickScale(canvas, g, params); break;
    case 18: DrawGridPaper(canvas, g, params); break;
    case 19: DrawRod(canvas, g, params); break;
    case 20: DrawSquareBlock(canvas, g); break;
    case 21: DrawIncline(canvas, g); break;
    case 22: DrawDimensionArrow(canvas, g); break;
    case 24: FillClosedArea(canvas, g); break;
    default: break;  // the eraser, the text tool and tools without a figure
  }
}
