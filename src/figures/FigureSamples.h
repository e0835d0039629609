#pragma once
#include <utility>

#include "figures/DrawFigure.h"
#include "figures/ToolTable.h"

// The drags at which the figure gallery shows the figures and at which their pictures are kept
// for comparison, in a cell of kSampleWidth x kSampleHeight around its centre.
//   usual shape: box figures span 160 x 120, along figures run 160 pixels to the right, centred
//                figures reach about 67 pixels out, vertex figures go 70 across and 55 up;
//   other shape: box figures span 80 x 140 (tall), along figures fall at about 35 degrees,
//                centred and vertex figures reach down and to the left instead.
// `scale` shrinks the drag about the cell's centre; `reversed` makes it the other way round
// horizontally (a leftward drag).
namespace figures {

inline constexpr int kSampleWidth = 200;
inline constexpr int kSampleHeight = 160;

enum class SampleShape { Usual, Other };

inline DragGeometry SampleDrag(FigureKind kind, double scale = 1, bool reversed = false,
                               SampleShape shape = SampleShape::Usual) {
  const double cx = kSampleWidth / 2.0, cy = kSampleHeight / 2.0;
  const bool other = shape == SampleShape::Other;
  DragGeometry g;
  switch (kind) {
    case FigureKind::Along: {
      const double dx = other ? 65 : 80, dy = other ? 45 : 0;
      g.PressPoint = {cx - dx * scale, cy - dy * scale};
      g.CurrentPoint = {cx + dx * scale, cy + dy * scale};
      break;
    }
    case FigureKind::CentreRadius:
      g.PressPoint = {cx, cy};
      g.CurrentPoint = other ? RealPoint{cx - 40 * scale, cy + 50 * scale} : RealPoint{cx + 60 * scale, cy - 30 * scale};
      break;
    case FigureKind::VertexPoint:
      g.PressPoint = {cx, cy};
      g.CurrentPoint = other ? RealPoint{cx - 50 * scale, cy + 60 * scale} : RealPoint{cx + 70 * scale, cy - 55 * scale};
      break;
    default: {
      const double dx = other ? 40 : 80, dy = other ? 70 : 60;
      g.PressPoint = {cx - dx * scale, cy - dy * scale};
      g.CurrentPoint = {cx + dx * scale, cy + dy * scale};
      break;
    }
  }
  if (reversed) {
    if (kind == FigureKind::CentreRadius || kind == FigureKind::VertexPoint)
      g.CurrentPoint.x = 2 * g.PressPoint.x - g.CurrentPoint.x;
    else
      std::swap(g.PressPoint.x, g.CurrentPoint.x);
  }
  g.DragOffset = {g.CurrentPoint.x - g.PressPoint.x, g.CurrentPoint.y - g.PressPoint.y};
  return g;
}

}  // namespace figures
