#pragma once
#include <QPointF>
#include <vector>

#include "figures/DrawFigure.h"

class Canvas;

// Geometry shared by the figures of the library: how a figure is fitted to the drag (a box or a
// segment), points along curves, and the small marks many figures carry (arrowheads, solid dots,
// signs, hatch rows, labels). Everything draws through the Canvas in its current colour, line
// style and width; what must look the same whatever the style (arrowheads, dots) sets it for
// itself and puts it back.
namespace figures {

// ---- Inputs ----

// True when every coordinate of the drag is finite and within the range a figure can draw.
bool UsableDrag(const DragGeometry& g);

// The farthest a point of a drag may lie from the picture's origin for a figure to be drawn: far
// beyond any picture (16384 pixels a side) and any pointer. A drag reaching farther is no figure
// a teacher drew; it would only put a stray stroke or a flood of fill across the picture, so the
// library's figures draw nothing for it.
inline constexpr double kFarthestDragPoint = 64.0 * 16384;
// True when every coordinate of the drag (of the box) is a number within that reach.
bool WithinReach(const DragGeometry& g);

// A count read from the parameter window: a whole number (rounded, halves to even) clamped to
// lo..hi; not a number gives lo.
int CountParameter(double value, int lo = 1, int hi = 200);

// A length in pixels read from the parameter window, clamped to 0..`largest` (the picture's
// larger side); not a number gives 0.
double LengthParameter(double value, double largest);

// ---- Box figures ----

// The rectangle with corners P and Q, normalised; both corner pixels belong to it. `facingLeft`
// is true when the drag went leftwards: figures that face a way are drawn mirrored then.
struct FigureBox {
  double left = 0, top = 0, right = 0, bottom = 0;
  bool facingLeft = false;

  double Width() const { return right - left; }
  double Height() const { return bottom - top; }
  double CentreX() const { return (left + right) / 2; }
  double CentreY() const { return (top + bottom) / 2; }
  double Smaller() const { return Width() < Height() ? Width() : Height(); }
  double Larger() const { return Width() > Height() ? Width() : Height(); }
  // The point at fractions (fx, fy) of the box, measured from the top-left corner.
  QPointF At(double fx, double fy) const { return {left + fx * Width(), top + fy * Height()}; }
  // The same, with fx measured from the side the figure faces away from: for a rightward drag from
  // the left edge, for a leftward drag from the right edge. A figure designed facing right is then
  // drawn mirrored for a leftward drag.
  QPointF Facing(double fx, double fy) const {
    return {facingLeft ? right - fx * Width() : left + fx * Width(), top + fy * Height()};
  }
  // A horizontal direction (1 facing right, -1 facing left).
  double Forward() const { return facingLeft ? -1 : 1; }
};
FigureBox BoxOf(const DragGeometry& g);
bool WithinReach(const FigureBox& box);

// ---- Along figures ----

// The segment from P to Q as a frame: `along` is the unit vector from P to Q, `across` the unit
// vector a quarter turn from it, to the left of the drag as seen on screen (up for a rightward
// drag). At(s, t) is the point s pixels along the segment from P and t pixels across it.
struct SegmentFrame {
  QPointF start, end;
  QPointF along{1, 0}, across{0, -1};
  double length = 0;

  QPointF At(double s, double t) const { return start + along * s + across * t; }
};
SegmentFrame FrameOf(const DragGeometry& g);

// The point at fraction t of the way from a to b.
inline QPointF PointBetween(QPointF a, QPointF b, double t) { return a + (b - a) * t; }

// For symbols in a circuit: the body sits in the middle of a segment of length L with length
// clamp(0.4 L, 10, 60), never longer than the segment; leads run from both ends to the body.
struct SymbolSpan {
  double bodyStart = 0, bodyEnd = 0;  // distances from P
};
SymbolSpan SymbolSpanOf(double length);

// ---- Points of curves ----

// How far a chord may stray from the curve it stands for, in pixels.
inline constexpr double kCurveFlatness = 0.3;

// The number of chords (4 to 4096) that follow an arc of the radius turning through `sweep`
// radians to within kCurveFlatness.
int FlatPieces(double radius, double sweep);

// Points on the ellipse arc about (cx, cy) with semi-axes rx, ry from angle a0 to a1 (radians,
// counter-clockwise as seen on screen, 0 pointing right: the point at angle a is
// (cx + rx cos a, cy - ry sin a)), as few as keep the arc within kCurveFlatness of the chords
// between them (4 to 4096 of them): a path through them is a smooth curve at any size.
std::vector<QPointF> ArcPoints(double cx, double cy, double rx, double ry, double a0, double a1);

// The vertices of the regular n-gon inscribed in the ellipse about (cx, cy) with semi-axes rx, ry,
// the first vertex at angle `start` (radians, as in ArcPoints).
std::vector<QPointF> RegularPolygon(double cx, double cy, double rx, double ry, int n, double start);

// ---- Drawing ----

// A stroke through the points in the current colour, style and width (the dash pattern runs on).
void StrokePath(Canvas& canvas, const std::vector<QPointF>& points, bool closed = false);

// A closed outline through the points (rounded to whole pixels) whose interior obeys the fill
// style and fill colour, as the rectangle's does.
void ClosedBody(Canvas& canvas, const std::vector<QPointF>& points);

// A solid dot of radius r (an axle, a terminal, a charge's centre): filled with the line colour
// whatever the fill style, outline solid.
void SolidDot(Canvas& canvas, QPointF centre, double r);

// A solid arrowhead with its tip at `tip`, pointing along `direction` (any length), `length`
// pixels long and `halfWidth` pixels to each side of its axis.
void SolidArrowhead(Canvas& canvas, QPointF tip, QPointF direction, double length, double halfWidth);

// An open arrowhead: two barbs from `tip`, back along `direction`, in the current line style.
void OpenArrowhead(Canvas& canvas, QPointF tip, QPointF direction, double length, double halfWidth);

// Short parallel strokes along the line from a to b, `spacing` pixels apart starting at a, each
// from a point of the line to that point + `stroke` (a hatched ceiling, floor or wall). Only the
// strokes that can reach the picture are drawn.
void HatchRow(Canvas& canvas, QPointF a, QPointF b, double spacing, QPointF stroke);

// A plus sign and a minus sign centred at `centre`, each arm `half` pixels long, upright at every
// angle of the figure around them, solid whatever the line style.
void PlusSign(Canvas& canvas, QPointF centre, double half);
void MinusSign(Canvas& canvas, QPointF centre, double half);

// An upright label (a letter such as A, V or G) centred at `centre`, `height` pixels tall, in the
// line colour, without smoothing.
void UprightLabel(Canvas& canvas, QPointF centre, const char* text, double height);

}  // namespace figures
