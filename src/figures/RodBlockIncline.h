#pragma once
#include "figures/DrawFigure.h"

// Filled outline figures for mechanics drawings: a rod ("画任意粗细的细杆", ToolId 19) of
// thickness params.SP along the drag, a square block standing on the dragged segment
// ("画任意大小、任意放置的正方形，画放置在斜面上的物体", ToolId 20) and an incline ("画斜面体",
// ToolId 21). Outline in the current pen, interior by the current fill style and fill colour.

// A rectangle of thickness t lying on the upper side of the dragged segment (to the right of a
// vertical one).
void DrawRod(Canvas& canvas, const DragGeometry& g, const ParameterValues& params);

// The square whose one side is the dragged segment, on the left of the drag direction (above a
// left-to-right drag).
void DrawSquareBlock(Canvas& canvas, const DragGeometry& g);

// The right triangle (x1, y1), (x2, y2), (x1, y2).
void DrawIncline(Canvas& canvas, const DragGeometry& g);
