#pragma once
#include "figures/DrawFigure.h"

// The hatched surface ("画水平面、墙面或平面镜等", ToolId 13) and the two half-axis coordinate
// figures ("画半轴坐标系", ToolId 14; "画X半轴坐标系", ToolId 15).

// A floor (drag mostly horizontal) or a wall (drag mostly vertical) through the press point, with
// 45-degree strokes on the side the pointer went to. The drag's shorter extent is both the size
// of a stroke and the distance between strokes. A drag as wide as it is high draws nothing.
void DrawHatchedSurface(Canvas& canvas, const DragGeometry& g);

// Two positive half axes meeting at (x1, y2), with heads at (x1, y1) and (x2, y2).
void DrawHalfAxes(Canvas& canvas, const DragGeometry& g);

// A y axis over the drag's height and an x half axis from its middle, heads at (x1, y1) and at
// the x axis's far end.
void DrawXHalfAxes(Canvas& canvas, const DragGeometry& g);
