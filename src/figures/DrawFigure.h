#pragma once

class Canvas;

// A real point in canvas pixels.
struct RealPoint {
  double x = 0;
  double y = 0;
};

// The drag a figure is fitted to. The main window's WorkspaceState holds these same fields.
// PressPoint: where the left button went down (the freehand figure moves it along the stroke).
// CurrentPoint: the latest pointer position, x real, y rounded to a whole pixel by the caller.
// DragOffset: CurrentPoint - PressPoint, recomputed by DrawFigure on every call.
struct DragGeometry {
  RealPoint PressPoint;
  RealPoint CurrentPoint;
  RealPoint DragOffset;
};

// The values of the parameter window that the figures read when they draw: the leading numbers of
// its boxes SP (first value), SZ (second value) and CS (third value). While the window is closed
// the figures read the window's design values, 5 each.
struct ParameterValues {
  double SP = 5;
  double SZ = 5;
  double CS = 5;
};

// Draws the figure of `toolId` for the drag `g` on `canvas`: stores DragOffset, then routes on the
// tool. Tools without a figure only store DragOffset. Leaves the canvas's drawing state as it was.
void DrawFigure(Canvas& canvas, DragGeometry& g, int toolId, const ParameterValues& params);
