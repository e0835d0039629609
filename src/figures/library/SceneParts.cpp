#include "figures/library/SceneParts.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "figures/Canvas.h"

namespace figures {


FigureBox StandingFrame(const FigureBox& box, double aspect, double give) {
  FigureBox f = box;
  const double widest = box.Height() * aspect * give;
  if (box.Width() > widest) {
    f.left = box.CentreX() - widest / 2;
    f.right = box.CentreX() + widest / 2;
  } else if (box.Width() < box.Height() * aspect) {
    f.top = box.bottom - box.Width() / aspect;
  }
  return f;
}

QPointF DesignGrid::OnCircle(double cx, double cy, double r, double a) const {
  const QPointF c = (*this)(cx, cy);
  const double px = r * Unit();
  return {c.x() + frame.Forward() * px * std::cos(a), c.y() - px * std::sin(a)};
}

void Wheel(Canvas& canvas, const DesignGrid& grid, double cx, double cy, double r, double hub) {
  const QPointF c = grid(cx, cy);
  canvas.Circle(c.x(), c.y(), r * grid.Unit());
  if (hub > 0) SolidDot(canvas, c, hub * grid.Unit());
}

DesignPath::DesignPath(const DesignGrid& grid, std::initializer_list<QPointF> points) : grid_(grid) {
  points_.reserve(points.size());
  for (QPointF p : points) points_.push_back(grid(p));
}

DesignPath& DesignPath::To(double x, double y) {
  points_.push_back(grid_(x, y));
  return *this;
}

DesignPath& DesignPath::Arc(double cx, double cy, double r, double a0, double a1) {
  // About a pixel apart, a few at least, never more than a large picture's arc needs.
  const double reach = std::fabs(a1 - a0) * r * grid_.Unit();
  const int n = std::isfinite(reach) ? static_cast<int>(std::clamp(std::ceil(reach), 4.0, 1024.0)) : 4;
  for (int i = 0; i <= n; ++i) points_.push_back(grid_.OnCircle(cx, cy, r, a0 + (a1 - a0) * i / n));
  return *this;
}

void DesignPath::Body(Canvas& canvas) const { ClosedBody(canvas, points_); }

void DesignPath::Stroke(Canvas& canvas) const { StrokePath(canvas, points_); }

}  // namespace figures
