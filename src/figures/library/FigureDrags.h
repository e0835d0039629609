#pragma once
#include <cmath>

#include "figures/DrawFigure.h"
#include "figures/FigureGeometry.h"

// The drags the figures of palette 2 accept.
namespace figures {

// True for a drag these figures draw: usable coordinates, and no more than ten million pixels
// across. The largest picture is 16384 pixels a side; a drag beyond that is no figure a teacher
// drew, and drawing it would only flood the picture.
inline bool FigureDragInReach(const DragGeometry& g) {
  constexpr double kLargestDrag = 1.0e7;
  return UsableDrag(g) && std::fabs(g.CurrentPoint.x - g.PressPoint.x) <= kLargestDrag &&
         std::fabs(g.CurrentPoint.y - g.PressPoint.y) <= kLargestDrag;
}

// The box of a box figure (BoxOf) when the drag is in reach and the box has room for a figure: at
// least two pixels wide and high. False for anything else, which draws nothing.
inline bool FigureBoxOf(const DragGeometry& g, FigureBox& box) {
  if (!FigureDragInReach(g)) return false;
  box = BoxOf(g);
  return box.Width() >= 2 && box.Height() >= 2;
}

}  // namespace figures
