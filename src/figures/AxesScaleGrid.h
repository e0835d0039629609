#pragma once
#include "figures/DrawFigure.h"

// Measuring aids for graphs: crossed coordinate axes ("画坐标系", ToolId 16), a horizontal or
// vertical tick scale ("画水平或竖直方向的坐标刻度线", ToolId 17) and grid paper ("画方格纸",
// ToolId 18). The scale and the grid take the horizontal divisions from params.SP and the
// vertical ones from params.SZ.

// Axes crossing at the middle of the drag; the y head at the press point's height, the x head at
// the pointer's side.
void DrawCoordinateAxes(Canvas& canvas, const DragGeometry& g);

// Ticks along the drag's longer direction, every fifth one major. A horizontal scale stands up
// from the press point's height; a vertical one points right from the press point's x.
void DrawTickScale(Canvas& canvas, const DragGeometry& g, const ParameterValues& params);

// Vertical lines dividing the drag's width into SP equal parts and horizontal lines dividing its
// height into SZ equal parts, each within a pixel, the outermost lines on the drag's sides.
void DrawGridPaper(Canvas& canvas, const DragGeometry& g, const ParameterValues& params);
