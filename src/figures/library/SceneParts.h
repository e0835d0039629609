#pragma once
#include <QPointF>
#include <initializer_list>
#include <vector>

#include "figures/FigureGeometry.h"

class Canvas;

// Parts shared by the figures of everyday things (vehicles, people, instruments): fitting a figure
// of a natural shape into the drag's box, a grid of design units to draw it in, outlines with
// arcs, and wheels.
namespace figures {

// The part of the box a figure of natural shape `aspect` (width / height) takes: the whole box as
// long as it is no narrower than that shape and no wider than `give` times it, otherwise the
// widest such part centred across the box, or the tallest, standing on the box's bottom edge. So
// round parts drawn at the upright scale stay inside. The facing is kept.
FigureBox StandingFrame(const FigureBox& box, double aspect, double give = 1.25);

// A figure designed facing right in a grid of `w` x `h` units, placed on the frame: (x, y) units
// from the top-left of the design become a point of the frame, mirrored when the frame faces left.
// Round things keep their shape: a radius of r units is r times the vertical scale in pixels.
struct DesignGrid {
  FigureBox frame;
  double w = 1, h = 1;

  DesignGrid(const FigureBox& box, double designWidth, double designHeight, double give = 1.25)
      : frame(StandingFrame(box, designWidth / designHeight, give)), w(designWidth), h(designHeight) {}

  QPointF operator()(double x, double y) const { return frame.Facing(x / w, y / h); }
  QPointF operator()(QPointF p) const { return (*this)(p.x(), p.y()); }
  // Pixels per unit, measured upright.
  double Unit() const { return frame.Height() / h; }
  // The point at angle `a` (radians, counter-clockwise, 0 pointing forward) on the circle of
  // radius r units about the design point (cx, cy).
  QPointF OnCircle(double cx, double cy, double r, double a) const;
  // Too small to hold a figure: nothing is drawn then.
  bool Empty() const { return !(frame.Width() >= 2 && frame.Height() >= 2 && WithinReach(frame)); }
  // Small for a pen of this width: a figure leaves out its fine parts (windows, saddle, cranks).
  bool Sparse(int penWidth) const { return frame.Height() < 12.0 * (penWidth > 1 ? penWidth : 1); }
};

// A wheel about the design point (cx, cy) of radius r units: a rim whose interior obeys the fill
// style and a solid hub of radius `hub` units (none for 0).
void Wheel(Canvas& canvas, const DesignGrid& grid, double cx, double cy, double r, double hub);

// An outline gathered in design units, with arcs (wheel arches, hooks), drawn as a closed body
// whose interior obeys the fill style or as one stroke in the current line style.
class DesignPath {
 public:
  explicit DesignPath(const DesignGrid& grid) : grid_(grid) {}
  DesignPath(const DesignGrid& grid, std::initializer_list<QPointF> points);
  DesignPath& To(double x, double y);
  // Points on the circle of radius r units about (cx, cy) from angle a0 to a1 (radians,
  // counter-clockwise, 0 pointing forward), about a pixel apart.
  DesignPath& Arc(double cx, double cy, double r, double a0, double a1);
  void Body(Canvas& canvas) const;
  void Stroke(Canvas& canvas) const;

 private:
  const DesignGrid& grid_;
  std::vector<QPointF> points_;  // pixels
};

}  // namespace figures
