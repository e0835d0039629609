#pragma once
#include <cmath>

#include "figures/DrawFigure.h"
#include "figures/FigureGeometry.h"

// The drags the figures of palette 2 accept.
namespace figures {

// The box of a box figure (BoxOf) when the drag is in reach and the box has room for a figure: at
// least two pixels wide and high. False for anything else, which draws nothing.
inline bool FigureBoxOf(const DragGeometry& g, FigureBox& box) {
  if (!WithinReach(g)) return false;
  box = BoxOf(g);
  return box.Width() >= 2 && box.Height() >= 2;
}

}  // namespace figures
