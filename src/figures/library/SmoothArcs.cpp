#include "figures/library/SmoothArcs.h"

#include <algorithm>
#include <cmath>

#include "figures/FigureSteps.h"

namespace figures {

int FlatPieces(double radius, double sweep) {
  // A chord turning through the angle a on radius r strays r (1 - cos(a / 2)) from the arc.
  const double r = std::fabs(radius);
  const double angle = r > kCurveFlatness ? 2 * std::acos(1 - kCurveFlatness / r) : kPi / 2;
  const double n = std::ceil(std::fabs(sweep) / angle);
  return std::isfinite(n) ? static_cast<int>(std::clamp(n, 4.0, 4096.0)) : 4;
}

std::vector<QPointF> SmoothArc(double cx, double cy, double rx, double ry, double a0, double a1) {
  std::vector<QPointF> points;
  if (!std::isfinite(cx + cy + rx + ry + a0 + a1)) return points;
  const int n = FlatPieces(std::max(std::fabs(rx), std::fabs(ry)), a1 - a0);
  points.reserve(n + 1);
  for (int i = 0; i <= n; ++i) {
    const double a = a0 + (a1 - a0) * i / n;
    points.emplace_back(cx + rx * std::cos(a), cy - ry * std::sin(a));
  }
  return points;
}

}  // namespace figures
