#pragma once
#include <QPointF>
#include <vector>

#include "figures/DrawFigure.h"

class Canvas;

// What the plane shapes and the mechanics figures of palette 0 share: which drags they draw at
// all, their bodies with sharp corners, and their straight strokes.
namespace figures::common {

// True when the drag can be drawn: every coordinate finite and within a million pixels or so of
// the picture's origin. No pointer reaches farther on a picture of at most 16384 pixels a side; a
// drag beyond that (a figure wider than a thousand pictures) draws nothing rather than paint
// the whole picture with a sliver of a gigantic body.


// A closed body through the points whose interior obeys the fill style, as ClosedBody draws it;
// with a line wider than a pixel its outline is stroked with round corners, so that a sharp
// corner (a triangle's apex, a bullet's tip, a flattened box) never sticks out of the figure by
// more than half the line's width.
void SharpBody(Canvas& canvas, const std::vector<QPointF>& points);

// A straight stroke from a to b in the current line style and width.
void Segment(Canvas& canvas, QPointF a, QPointF b);

// How far an along figure may reach across its segment: ten pixels for short drags, a quarter
// of the length for long ones.
double ReachAcross(double length);

// The picture's larger side: the most a length read from the parameter window can be.
double LargestSide(const Canvas& canvas);

}  // namespace figures::common
