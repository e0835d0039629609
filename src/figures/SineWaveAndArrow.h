#pragma once
#include "figures/DrawFigure.h"

// The wave ("画正、余弦波形", ToolId 11) and the arrow ("画任意方向的箭头", ToolId 12), fitted to
// the drag from PressPoint to CurrentPoint.

// N = params.SP whole periods of a sine over the drag's width, its axis the horizontal through the
// press point and its crests at the pointer's height. A patterned line style gives single points
// two pixels apart instead of a line.
void DrawSineWave(Canvas& canvas, const DragGeometry& g, const ParameterValues& params);

// A shaft from the press point to the pointer, with a head of two 10-pixel barbs opening 15
// degrees each side at the pointer end.
void DrawArrow(Canvas& canvas, const DragGeometry& g);
