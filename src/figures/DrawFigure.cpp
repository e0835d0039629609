#include "figures/DrawFigure.h"

#include "figures/ToolTable.h"

void DrawFigure(Canvas& canvas, DragGeometry& g, int toolId, const ParameterValues& params) {
  g.DragOffset.x = g.CurrentPoint.x - g.PressPoint.x;
  g.DragOffset.y = g.CurrentPoint.y - g.PressPoint.y;
  const ToolFigure& figure = ToolFigureOf(toolId);
  if (!figure.draw) return;  // the eraser, the text tool and tools without a figure
  figure.draw(canvas, g, params);
  // The freehand stroke goes on from the pointer.
  if (figure.kind == FigureKind::Stroke) g.PressPoint = g.CurrentPoint;
}
