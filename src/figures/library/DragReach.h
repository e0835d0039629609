#pragma once
#include <cmath>

#include "figures/DrawFigure.h"

namespace figures {

// The farthest a drag's point may lie from the picture's origin for a figure to be drawn: far
// beyond any picture and any pointer. A drag reaching farther is absurd, and its figure would be
// nothing but a stray stroke across the picture, so it draws nothing.
inline constexpr double kFarthestDragPoint = 1.0e6;

// True when every coordinate of the drag is a number within that reach.
inline bool WithinReach(const DragGeometry& g) {
  for (double v : {g.PressPoint.x, g.PressPoint.y, g.CurrentPoint.x, g.CurrentPoint.y})
    if (!(std::fabs(v) <= kFarthestDragPoint)) return false;
  return true;
}

}  // namespace figures
