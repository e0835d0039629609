#pragma once
#include "figures/DrawFigure.h"

// The dimension mark ("画表示距离的箭头", ToolId 22): two extension lines at the ends of the
// measured span and a double-headed arrow between them. A span of 30 pixels or less is marked by
// arrows outside the extension lines pointing inwards. A drag as wide as it is high draws nothing.
void DrawDimensionArrow(Canvas& canvas, const DragGeometry& g);
