#pragma once
#include <QPointF>

#include <optional>
#include <vector>

#include "figures/FigureGeometry.h"

class Canvas;

// How a circuit symbol lies on the drag: the segment from P to Q, the body in the middle of it
// (its length follows the drag within bounds, so symbols drawn one after another join into a
// circuit of even proportions), and the side of the segment on which the one-sided parts stand (a
// switch blade, the bumps of a coil, a slider, a + sign). That side is above the segment, so a
// leftward drag gives the same upright drawing as a rightward one; on a vertical drag it is the
// side a rightward drag turned a quarter would put it on (right of a downward drag).
//
// Points of a symbol are given in its own coordinates: s pixels along the segment from P, t pixels
// across it towards that side.
namespace figures::circuit {

struct SymbolLayout {
  SegmentFrame frame;
  double side = 1;  // +1: the frame's left; -1: its right
  double bodyStart = 0, bodyEnd = 0;

  double Length() const { return frame.length; }
  double Body() const { return bodyEnd - bodyStart; }
  double Middle() const { return (bodyStart + bodyEnd) / 2; }
  // The point s along, t across (towards the symbol's side). At the full length the point is
  // taken from Q itself, so a mark at the end lands on Q's pixel exactly.
  QPointF At(double s, double t) const {
    if (s == frame.length) return frame.end + frame.across * (side * t);
    return frame.At(s, side * t);
  }
  // The same, s measured from the middle of the body.
  QPointF FromMiddle(double s, double t) const { return At(Middle() + s, t); }
};

// The layout of a symbol on the drag; nothing for a drag of no length or out of reach.
std::optional<SymbolLayout> SymbolLayoutOf(const DragGeometry& g);

// A point in the symbol's own coordinates (s along, t across).
using Local = QPointF;

// The two leads: straight from P to `from` and from `to` to Q (distances from P along the axis).
// The outer ends are P and Q themselves, so symbols drawn end to end share that pixel.
void Leads(Canvas& canvas, const SymbolLayout& s, double from, double to);

// A stroke between two local points, in the current colour, style and width.
void LocalLine(Canvas& canvas, const SymbolLayout& s, Local a, Local b);

// A stroke through local points (one continuous dash pattern).
void LocalPath(Canvas& canvas, const SymbolLayout& s, const std::vector<Local>& points,
               bool closed = false);

// A closed outline through local points whose interior obeys the fill style.
void LocalBody(Canvas& canvas, const SymbolLayout& s, const std::vector<Local>& points);

// A plate across the segment at `along`, reaching `half` pixels to each side of the axis,
// `thickness` times as thick as the line (a cell's short plate is twice as thick, and so solid).
void Plate(Canvas& canvas, const SymbolLayout& s, double along, double half, int thickness = 1);

// A resistor: a 3 : 1 box centred at local `centre`, `length` pixels along the segment.
void ResistorBox(Canvas& canvas, const SymbolLayout& s, Local centre, double length);

// A terminal of a switch: a small open circle, never filled, solid.
void Terminal(Canvas& canvas, const SymbolLayout& s, Local centre, double r);

// The radius of a switch's terminal circles for a body of length `body`.
double TerminalRadius(double body);

}  // namespace figures::circuit
