// Clipping of segments and polygons to the raster's neighbourhood.
#include <algorithm>
#include <cmath>

#include "figures/Raster.h"

namespace raster {

QRect Around(double x0, double y0, double x1, double y1, int margin) {
  auto c = [](double v) { return static_cast<int>(std::clamp(v, -1.0e8, 1.0e8)); };
  return QRect(QPoint(c(std::floor(std::min(x0, x1))) - margin, c(std::floor(std::min(y0, y1))) - margin),
               QPoint(c(std::ceil(std::max(x0, x1))) + margin, c(std::ceil(std::max(y0, y1))) + margin));
}

bool ClipSegment(double& x1, double& y1, double& x2, double& y2, double xmin, double ymin,
                 double xmax, double ymax, double& t0) {
  const double dx = x2 - x1, dy = y2 - y1;
  double a = 0, b = 1;
  auto edge = [&](double p, double q) {
    if (p == 0) return q >= 0;
    const double r = q / p;
    if (p < 0) {
      if (r > b) return false;
      if (r > a) a = r;
    } else {
      if (r < a) return false;
      if (r < b) b = r;
    }
    return true;
  };
  if (!edge(-dx, x1 - xmin) || !edge(dx, xmax - x1) || !edge(-dy, y1 - ymin) || !edge(dy, ymax - y1))
    return false;
  const double ox = x1, oy = y1;
  x1 = ox + a * dx;
  y1 = oy + a * dy;
  x2 = ox + b * dx;
  y2 = oy + b * dy;
  t0 = a;
  return true;
}

QPolygonF ClipPolygon(const QPolygonF& in, double xmin, double ymin, double xmax, double ymax) {
  QPolygonF poly = in;
  for (int side = 0; side < 4 && !poly.isEmpty(); ++side) {
    auto inside = [&](const QPointF& p) {
      switch (side) {
        case 0: return p.x() >= xmin;
        case 1: return p.x() <= xmax;
        case 2: return p.y() >= ymin;
        default: return p.y() <= ymax;
      }
    };
    auto cross = [&](const QPointF& a, const QPointF& b) {
      double t;
      switch (side) {
        case 0: t = (xmin - a.x()) / (b.x() - a.x()); return QPointF(xmin, a.y() + t * (b.y() - a.y()));
        case 1: t = (xmax - a.x()) / (b.x() - a.x()); return QPointF(xmax, a.y() + t * (b.y() - a.y()));
        case 2: t = (ymin - a.y()) / (b.y() - a.y()); return QPointF(a.x() + t * (b.x() - a.x()), ymin);
        default: t = (ymax - a.y()) / (b.y() - a.y()); return QPointF(a.x() + t * (b.x() - a.x()), ymax);
      }
    };
    QPolygonF out;
    out.reserve(poly.size() + 4);
    for (qsizetype i = 0; i < poly.size(); ++i) {
      const QPointF& cur = poly[i];
      const QPointF& prev = poly[(i + poly.size() - 1) % poly.size()];
      const bool ci = inside(cur), pi = inside(prev);
      if (ci) {
        if (!pi) out << cross(prev, cur);
        out << cur;
      } else if (pi) {
        out << cross(prev, cur);
      }
    }
    poly = out;
  }
  return poly;
}

}  // namespace raster
