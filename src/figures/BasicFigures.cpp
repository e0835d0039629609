// The basic figures of palette 0: the selection frame, the freehand stroke, lines, rectangles,
// ellipses and circles, and the entries of every basic tool for the tool table (the figures of the
// other basic families are drawn in their own files).
#include <array>
#include <cmath>

#include "figures/AxesScaleGrid.h"
#include "figures/Canvas.h"
#include "figures/DimensionArrow.h"
#include "figures/DrawingStateScope.h"
#include "figures/RodBlockIncline.h"
#include "figures/Rounding.h"
#include "figures/SineWaveAndArrow.h"
#include "figures/SurfaceAndHalfAxes.h"
#include "figures/library/FigureFamilies.h"

namespace {

// The rubber band of the rectangular selection: a dotted one-pixel frame covering exactly |dx|
// columns and |dy| rows from the drag's top-left corner, drawn without fill. The frame of an empty
// drag (no columns or no rows) is nothing.
void DrawSelectionFrame(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y;
  const double x2 = g.CurrentPoint.x, y2 = g.CurrentPoint.y;
  const double adx = std::fabs(g.DragOffset.x), ady = std::fabs(g.DragOffset.y);
  if (adx == 0 || ady == 0) return;
  DrawingStateScope keep(canvas);
  canvas.DrawStyle = Canvas::kDot;
  canvas.DrawWidth = 1;
  canvas.FillStyle = Canvas::kFillTransparent;
  const double left = x1 < x2 ? x1 : x2;
  const double top = y1 < y2 ? y1 : y2;
  canvas.BoxRel(left, top, adx - 1, ady - 1);
}

// One piece of a freehand stroke: from where the last piece ended to the pointer. DrawFigure then
// moves the press point to the pointer, so the next piece starts here.
void DrawFreehandSegment(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  canvas.PSet(g.PressPoint.x, g.PressPoint.y);
  canvas.Line(g.PressPoint.x, g.PressPoint.y, g.CurrentPoint.x, g.CurrentPoint.y);
}

// Horizontal at the press point's height when the drag is wider than high, otherwise vertical
// through the press point (a drag as wide as high gives a vertical line).
void DrawAxisLine(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y;
  if (std::fabs(g.DragOffset.x) > std::fabs(g.DragOffset.y)) {
    canvas.Line(x1, y1, g.CurrentPoint.x, y1);
  } else {
    canvas.Line(x1, y1, x1, g.CurrentPoint.y);
  }
}

void DrawStraightLine(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  canvas.Line(g.PressPoint.x, g.PressPoint.y, g.CurrentPoint.x, g.CurrentPoint.y);
}

void DrawRectangle(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
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

void DrawEllipseFigure(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  canvas.Ellipse(RoundHalfEven32(g.PressPoint.x), RoundHalfEven32(g.PressPoint.y),
                 RoundHalfEven32(g.CurrentPoint.x), RoundHalfEven32(g.CurrentPoint.y));
}

// The press point is the centre, marked by a dot; the circle passes through the pointer.
void DrawCircleFigure(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y;
  canvas.PSet(x1, y1);
  const double ax = g.CurrentPoint.x - x1, ay = g.CurrentPoint.y - y1;
  canvas.Circle(x1, y1, std::sqrt(ax * ax + ay * ay));
}

// Paints the closed area under the press point with the current fill: every pixel of the seed's
// exact colour connected to it. Any other colour bounds the area.
void FillClosedArea(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  const double x1 = g.PressPoint.x, y1 = g.PressPoint.y;
  if (!IsUsable(x1) || !IsUsable(y1)) return;
  const QRgb c = canvas.Point(x1, y1);
  if (c == Canvas::kNoPixel) return;  // off the picture
  canvas.ExtFloodFill(RoundHalfEven32(x1), RoundHalfEven32(y1), c, 1);
}

// The families' routines that read no parameter, in the table's shape.
template <void (*Figure)(Canvas&, const DragGeometry&)>
void WithoutParameters(Canvas& canvas, const DragGeometry& g, const ParameterValues&) {
  Figure(canvas, g);
}

using K = FigureKind;
constexpr uint8_t kFirst = kReadsFirst, kBoth = kReadsFirst | kReadsSecond;

const ToolFigure kBasic[] = {
    {ToolId::Selection, K::Box, DrawSelectionFrame, 0, false, Gesture::Selection},
    {ToolId::Eraser, K::None, nullptr, 0, false, Gesture::Eraser},
    {ToolId::Text, K::None, nullptr, 0, false, Gesture::Text},
    {ToolId::Freehand, K::Stroke, DrawFreehandSegment, 0, false, Gesture::Freehand},
    {ToolId::AxisLine, K::Box, DrawAxisLine},
    {ToolId::StraightLine, K::Along, DrawStraightLine},
    {ToolId::Rectangle, K::Box, DrawRectangle},
    {ToolId::RoundedRectangle, K::Box, DrawRoundedRectangle, kFirst},
    {ToolId::Ellipse, K::Box, DrawEllipseFigure},
    {ToolId::Circle, K::CentreRadius, DrawCircleFigure},
    {ToolId::SineWave, K::Box, DrawSineWave, kFirst},
    {ToolId::Arrow, K::Along, WithoutParameters<DrawArrow>},
    {ToolId::HatchedSurface, K::Box, WithoutParameters<DrawHatchedSurface>},
    {ToolId::HalfAxes, K::Box, WithoutParameters<DrawHalfAxes>},
    {ToolId::XHalfAxes, K::Box, WithoutParameters<DrawXHalfAxes>},
    {ToolId::CoordinateAxes, K::Box, WithoutParameters<DrawCoordinateAxes>},
    {ToolId::TickScale, K::Box, DrawTickScale, kBoth},
    {ToolId::GridPaper, K::Box, DrawGridPaper, kBoth},
    {ToolId::Rod, K::Along, DrawRod, kFirst},
    {ToolId::SquareBlock, K::Along, WithoutParameters<DrawSquareBlock>},
    {ToolId::Incline, K::Box, WithoutParameters<DrawIncline>},
    {ToolId::DimensionArrow, K::Box, WithoutParameters<DrawDimensionArrow>},
    {ToolId::Fill, K::Seed, FillClosedArea, 0, false, Gesture::Fill},
};

}  // namespace

std::span<const ToolFigure> BasicFigures() { return kBasic; }
