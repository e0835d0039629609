#pragma once
#include <QPointF>
#include <vector>

#include "figures/FigureGeometry.h"

class Canvas;

// Parts shared by the drawings of lab devices and components: round parts seen obliquely (a coil,
// a dry cell, a capacitor's can), closely spaced windings, rectangles placed by fractions of the
// figure's box, and small solid parts (posts, nuts). Everything draws in the canvas's current
// colour, line style and width; solid parts set what they need and put it back.
namespace figures {

// A frame for a part drawn along an axis (a coil standing up, a cell lying along the box):
// At(s, t) is the point s pixels along the axis from the origin and t pixels to its side.
struct PartFrame {
  QPointF origin, axis{0, -1}, side{1, 0};
  QPointF At(double s, double t) const { return origin + axis * s + side * t; }
};

// The rim of a round part's cross-section at s along its axis, seen obliquely: an ellipse `r`
// pixels to either side of the axis and `depth` pixels along it. The point at angle a is
// At(s + depth cos a + slant sin a / 2, r sin a): angles from pi/2 to 3 pi/2 give the half towards
// the near end (the front of a standing part), and `slant` tilts that half into one turn of a
// helix. A bounded number of points, smooth at any size a picture can show.
std::vector<QPointF> SectionArc(const PartFrame& f, double s, double r, double depth, double a0,
                                double a1, double slant = 0);

// A cylinder from s = 0 to s = length, seen from beyond its far end: the outline (the near end's
// rim, the sides and the far end's rim) is a closed body whose interior obeys the fill style, and
// the far end shows as a whole ellipse.
void Cylinder(Canvas& canvas, const PartFrame& f, double length, double r, double depth);

// Windings round a cylinder between s0 and s1: front strokes `spacing` apart, each climbing one
// spacing from one side to the other (the turns of a helix). Only the strokes that can reach the picture are drawn.
void Windings(Canvas& canvas, const PartFrame& f, double s0, double s1, double r, double depth,
              double spacing);

// The line width the spacing of a drawing's details is measured against (1 to 8 pixels).
double PenWidth(const Canvas& canvas);

// The distance between closely spaced strokes (windings, coil turns) that still leaves clear gaps
// at the canvas's line width.
double CloseSpacing(const Canvas& canvas);

// The stroke between two points in the current colour, style and width.
void Stroke(Canvas& canvas, QPointF a, QPointF b);

// The rectangle between the points at fractions (fx0, fy0) and (fx1, fy1) of the box, measured
// from the side the figure faces away from: a closed body whose interior obeys the fill style.
void BoxBody(Canvas& canvas, const FigureBox& b, double fx0, double fy0, double fx1, double fy1);

// A small solid part (a post, a nut, a terminal): the closed outline through the points filled with
// the line colour whatever the fill style, outline solid and one pixel wide.
void SolidPart(Canvas& canvas, const std::vector<QPointF>& points);

// The box of a figure that does not face a way: fractions measured from the left whichever way
// the drag went.
inline FigureBox PlainBoxOf(const DragGeometry& g) {
  FigureBox b = BoxOf(g);
  b.facingLeft = false;
  return b;
}

// True when the box can hold a device: at least 3 pixels each way (not a click or a drag along one
// line), and within reach of the picture.
inline bool DrawableBox(const FigureBox& b) { return b.Width() >= 3 && b.Height() >= 3 && WithinReach(b); }

}  // namespace figures
