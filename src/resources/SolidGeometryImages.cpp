// Pictures of the buttons of palette 2 — 立体几何: curves, solids and lenses.
#include <cmath>

#include "resources/PaletteMotifs.h"

namespace Pictures {
namespace {

void HalfParabolaH(Pad& d) {
  d.Pen(1, Light).Line(3, 19, 21, 19);
  d.RoundPen(1.2).Param(0, 1, [](qreal t) { return 3 + 18 * t * t; }, [](qreal t) { return 19 - 16 * t; });
}

void HalfParabolaV(Pad& d) {
  d.Pen(1, Light).Line(3, 3, 3, 21);
  d.RoundPen(1.2).Curve(3, 21, [](qreal x) { qreal t = (x - 3) / 18; return 20 - 17 * t * t; });
}

void ParabolaV(Pad& d) {
  d.RoundPen(1.2).Curve(2, 21, [](qreal x) { qreal t = (x - 11.5) / 9.5; return 20 - 17 * t * t; });
  d.Pen().Dot(11.5, 20, 1.2);
}

void ParabolaH(Pad& d) {
  d.RoundPen(1.2).Param(-1, 1, [](qreal t) { return 3 + 18 * t * t; }, [](qreal t) { return 11.5 + 9.5 * t; });
  d.Pen().Dot(3, 11.5, 1.2);
}

void Hyperbola(Pad& d) {
  d.Pen(1, Light, Qt::DashLine);
  d.Line(3, 3, 20, 20);
  d.Line(3, 20, 20, 3);
  d.RoundPen(1.2);
  auto branch = [&](qreal sign) {
    d.Param(-1.6, 1.6, [=](qreal t) { return 11.5 + sign * 3 * std::cosh(t); },
            [](qreal t) { return 11.5 + 3 * std::sinh(t) * 1.05; });
  };
  branch(1);
  branch(-1);
}

void Spiral(Pad& d) {
  d.RoundPen(1.1).Param(0, 6 * Pi, [](qreal t) { return 11.5 + t / (6 * Pi) * 9.5 * std::cos(t); },
                        [](qreal t) { return 11.5 + t / (6 * Pi) * 9.5 * std::sin(t); }, 120);
}

void SineVertical(Pad& d) {
  d.Pen(1, Light).Line(12, 2, 12, 21);
  d.RoundPen(1.2).Param(2, 21, [](qreal y) { return 12 + 7 * std::sin(2 * Pi * (y - 2) / 9.5); },
                        [](qreal y) { return y; }, 60);
}

void Sphere(Pad& d) {
  d.Pen().Fill(Tint).Circle(11.5, 11.5, 9.5);
  d.NoFill().Arc(11.5, 11.5, 9.5, 3, 180, 180);
  d.Pen(1, Grey, Qt::DashLine).Arc(11.5, 11.5, 9.5, 3, 0, 180);
  d.Pen().Dot(11.5, 11.5, 1);
}

void Cuboid(Pad& d) {
  d.Pen().Fill(Tint);
  d.Polygon({{2, 9}, {14, 9}, {14, 21}, {2, 21}});
  d.Fill(Tint.darker(108)).Polygon({{2, 9}, {9, 2}, {21, 2}, {14, 9}});
  d.Fill(Tint.darker(120)).Polygon({{14, 9}, {21, 2}, {21, 14}, {14, 21}});
  d.Pen(1, Grey, Qt::DashLine);
  d.Line(9, 3, 9, 14);
  d.Line(9, 14, 3, 20);
  d.Line(9, 14, 20, 14);
}

void CylinderTall(Pad& d) { Cylinder(d, 11.5, 4, 19, 6, 2.2); }
void CylinderFlat(Pad& d) { Cylinder(d, 11.5, 8, 15, 9.5, 3.2); }

void Cone(Pad& d) {
  d.Pen().Fill(Tint);
  QPainterPath path(QPointF(11.5, 2));
  path.lineTo(2.5, 18);
  path.arcTo(QRectF(2.5, 15, 18, 6), 180, 180);
  path.closeSubpath();
  d.Path(path);
  d.Pen(1, Grey, Qt::DashLine).NoFill().Arc(11.5, 18, 9, 3, 0, 180);
  d.Line(11.5, 2, 11.5, 18);
}

void WedgeRight(Pad& d) { Wedge(d, true); }
void WedgeLeft(Pad& d) { Wedge(d, false); }

void Axes3D(Pad& d) {
  d.Pen();
  const qreal ox = 9, oy = 14;
  d.Line(ox, oy, ox, 2);
  d.Head(ox, 2, ox, oy, 3.5, 1.8);
  d.Line(ox, oy, 21, oy);
  d.Head(22, oy, ox, oy, 3.5, 1.8);
  d.Line(ox, oy, 3, 20);
  d.Head(2.3, 20.7, ox, oy, 3.5, 1.8);
}

void EasedCurve(Pad& d) {
  // A curve that bends ever more tightly (its curvature grows along it), fitted into the button.
  QPolygonF pts;
  qreal x = 0, y = 0, heading = 0;
  for (int i = 0; i < 90; ++i) {
    pts << QPointF(x, y);
    heading += i * 0.0011;
    x += std::cos(heading);
    y -= std::sin(heading);
  }
  const QRectF box = pts.boundingRect();
  const qreal k = std::min(18 / box.width(), 17 / box.height());
  QPainterPath path;
  for (int i = 0; i < pts.size(); ++i) {
    const QPointF q(3 + (pts[i].x() - box.left()) * k, 20 - (box.bottom() - pts[i].y()) * k);
    if (i == 0)
      path.moveTo(q);
    else
      path.lineTo(q);
  }
  d.RoundPen(1.2).NoFill().Path(path);
}

void PowerGraph(Pad& d) {
  SmallAxes(d, 5, 18);
  d.RoundPen(1.2, Blue).Curve(7, 21, [](qreal x) { qreal t = (x - 14) / 7; return 18 - 15 * t * t; });
}

void ExponentialGraph(Pad& d) {
  SmallAxes(d, 9, 19);
  d.RoundPen(1.2, Blue).Curve(2, 19, [](qreal x) { return 19 - 3 * std::pow(2.0, (x - 9) / 3.0); });
}

QPainterPath LensPath(bool converging) {
  QPainterPath path;
  if (converging) {
    path.moveTo(11.5, 2);
    path.quadTo(18, 11.5, 11.5, 21);
    path.quadTo(5, 11.5, 11.5, 2);
  } else {
    path.moveTo(7, 2);
    path.lineTo(16, 2);
    path.quadTo(11, 11.5, 16, 21);
    path.lineTo(7, 21);
    path.quadTo(12, 11.5, 7, 2);
  }
  return path;
}
void ConcaveLens(Pad& d) { d.Pen().Fill(Tint).Path(LensPath(false)); }
void ConcaveLensSymbol(Pad& d) { LensSymbol(d, false); }
void ConvexLens(Pad& d) { d.Pen().Fill(Tint).Path(LensPath(true)); }
void ConvexLensSymbol(Pad& d) { LensSymbol(d, true); }

constexpr PaletteEntry kEntries[] = {
    {102, &HalfParabolaH}, {103, &HalfParabolaV}, {104, &ParabolaV}, {105, &ParabolaH},
    {106, &Hyperbola},    {107, &Spiral},      {108, &SineVertical}, {109, &Sphere},      {110, &Cuboid},
    {111, &CylinderTall}, {112, &CylinderFlat}, {113, &Cone},       {114, &WedgeRight},   {115, &WedgeLeft},
    {116, &Axes3D},       {117, &EasedCurve},  {118, &PowerGraph},  {119, &ExponentialGraph}, {126, &ConcaveLens},
    {127, &ConcaveLensSymbol}, {128, &ConvexLens}, {129, &ConvexLensSymbol},
};

}  // namespace

std::span<const PaletteEntry> SolidGeometryPictures() { return kEntries; }

}  // namespace Pictures
