// The motifs shared by the palettes' button pictures.
#include "resources/PaletteMotifs.h"

#include <cmath>

namespace Pictures {

// Lead wires of a two-terminal symbol on the middle row.
void Leads(Pad& d, qreal left, qreal right, qreal y) {
  d.Pen();
  d.Line(2, y, left, y);
  d.Line(right, y, 21, y);
}

// A round meter face with a letter, with leads (symbol form).
void MeterSymbol(Pad& d, char letter) {
  Leads(d, 5, 18);
  d.Pen().Fill(Paper).Circle(11.5, 12, 6.5);
  d.Pen(1.3).Glyph(letter, 11.5, 12, 7);
}

// A box meter with a dial, a needle and a letter, terminals on top (apparatus form).
void MeterBox(Pad& d, char letter, bool centreZero) {
  d.Pen().Fill(Metal).RoundRect(2, 5, 19, 16, 2);
  d.Pen().Fill(Paper).Rect(4, 7, 15, 5);
  d.Pen(1, Red);
  if (centreZero)
    d.Line(11.5, 12, 11.5, 8);
  else
    d.Line(11.5, 12, 8, 8.5);
  d.Pen(1.3).Glyph(letter, 11.5, 16.5, 6);
  d.Pen().Fill(Ink);
  d.Rect(5, 3, 2, 2);
  d.Rect(16, 3, 2, 2);
}

// A stick figure's drawing.
void Person(Pad& d, const Limbs& l) {
  d.RoundPen(1.4).NoFill();
  d.Line(l.neck.x(), l.neck.y(), l.hip.x(), l.hip.y());
  auto limb = [&](QPointF a, QPointF mid, QPointF b) {
    if (mid.x() < 0)
      d.Line(a.x(), a.y(), b.x(), b.y());
    else
      d.Polyline({a, mid, b});
  };
  limb(l.neck, l.elbow1, l.hand1);
  limb(l.neck, l.elbow2, l.hand2);
  limb(l.hip, l.knee1, l.foot1);
  limb(l.hip, l.knee2, l.foot2);
  d.Pen().Fill(Ink).Circle(l.head.x(), l.head.y(), 2.2);
}

// A wheel: a rim with a hub.
void Wheel(Pad& d, qreal x, qreal y, qreal r) {
  d.Pen().Fill(Ink).Circle(x, y, r);
  d.Pen(1, Paper).Dot(x, y, r * 0.35);
}

// A pair of lens arrowheads on a vertical line: pointing outwards for a converging lens.
void LensSymbol(Pad& d, bool converging) {
  d.Pen(1.2).Line(11.5, 3, 11.5, 20);
  d.Pen(1.2).NoFill();
  if (converging) {
    d.Polyline({{8.5, 6}, {11.5, 3}, {14.5, 6}});
    d.Polyline({{8.5, 17}, {11.5, 20}, {14.5, 17}});
  } else {
    d.Polyline({{8.5, 1}, {11.5, 4}, {14.5, 1}});
    d.Polyline({{8.5, 22}, {11.5, 19}, {14.5, 22}});
  }
  d.Pen(1, Grey, Qt::DashLine).Line(2, 11.5, 21, 11.5);
}

// Two slim axes meeting at (ox, oy) with arrowheads.
void SmallAxes(Pad& d, qreal ox, qreal oy) {
  d.Pen(1, Grey);
  d.Arrow(ox, 21, ox, 2, 3, 1.8);
  d.Arrow(2, oy, 21, oy, 3, 1.8);
}

// A coil drawn as a row of loops along the middle row from x1 to x2.
void Loops(Pad& d, qreal x1, qreal x2, int n, qreal y, qreal ry) {
  const qreal step = (x2 - x1) / n;
  d.NoFill();
  for (int i = 0; i < n; ++i) d.Arc(x1 + step * (i + 0.5), y, step / 2, ry, 0, 180);
}

// A knife switch on a base board: blade hinged at the left.
void KnifeSwitch(Pad& d, bool twoWay) {
  d.Pen().Fill(Wood).Rect(2, 16, 19, 4);
  d.Pen().Fill(Metal);
  d.Rect(3, 13, 3, 3);
  d.Rect(16, 13, 3, 3);
  if (twoWay) d.Rect(9, 13, 3, 3);
  d.RoundPen(1.6).Line(4.5, 13, 14, 5);
  d.Pen().Fill(Ink).Circle(14.5, 4.5, 1.6);
}

// A cylinder of height h standing at (cx, bottom) with radii rx, ry.
void Cylinder(Pad& d, qreal cx, qreal top, qreal bottom, qreal rx, qreal ry) {
  d.Pen().Fill(Tint);
  QPainterPath body;
  body.moveTo(cx - rx, top);
  body.lineTo(cx - rx, bottom);
  body.arcTo(QRectF(cx - rx, bottom - ry, 2 * rx, 2 * ry), 180, 180);
  body.lineTo(cx + rx, top);
  body.closeSubpath();
  d.Path(body);
  d.Fill(Tint.lighter(108)).Ellipse(cx, top, rx, ry);
  d.Pen(1, Grey, Qt::DashLine).NoFill().Arc(cx, bottom, rx, ry, 0, 180);
}

// A regular polygon of n corners about (cx, cy), first corner straight up.
void Regular(Pad& d, int n, qreal cx, qreal cy, qreal r) {
  QPolygonF poly;
  for (int i = 0; i < n; ++i) {
    const qreal a = -Pi / 2 + 2 * Pi * i / n;
    poly << QPointF(cx + r * std::cos(a), cy + r * std::sin(a));
  }
  d.NoFill().p.drawPolygon(poly);
}

// A 3-D wedge: right-triangle faces joined by depth lines; the slope rises to the right or left.
void Wedge(Pad& d, bool risesRight) {
  d.p.save();
  if (!risesRight) {
    d.p.translate(23, 0);
    d.p.scale(-1, 1);
  }
  d.Pen().Fill(Wood.lighter(110));
  d.Polygon({{2, 20}, {14, 20}, {14, 10}});
  d.Fill(Wood).Polygon({{14, 10}, {14, 20}, {20, 15}, {20, 5}});
  d.Fill(Wood.lighter(120)).Polygon({{2, 20}, {14, 10}, {20, 5}, {8, 15}});
  d.Pen(1, Grey, Qt::DashLine);
  d.Line(8, 15, 20, 15);
  d.p.restore();
}

// Radial field lines around a charge; arrows point out or in.
void ChargeField(Pad& d, bool positive) {
  const QColor c = positive ? Red : Blue;
  d.Pen(1, Ink);
  for (int i = 0; i < 6; ++i) {
    const qreal a = i * Pi / 3 + Pi / 6;
    const qreal ca = std::cos(a), sa = std::sin(a);
    const qreal r1 = 4.5, r2 = 11.5;
    d.Line(11.5 + r1 * ca, 11.5 + r1 * sa, 11.5 + r2 * ca, 11.5 + r2 * sa);
    if (positive)
      d.Barbs(11.5 + 10 * ca, 11.5 + 10 * sa, 11.5, 11.5, 3, 2);
    else
      d.Barbs(11.5 + 6.5 * ca, 11.5 + 6.5 * sa, 11.5 + 12 * ca, 11.5 + 12 * sa, 3, 2);
  }
  d.Pen(1, c).Fill(positive ? PinkTint : Tint).Circle(11.5, 11.5, 3.5);
  d.Pen(1.2, c).Glyph(positive ? '+' : '-', 11.5, 11.5, 5);
}

// A person's stick figure shortcuts.
Limbs Standing(qreal x) {
  return {{x, 4}, {x, 7}, {x, 14}, {x - 3, 13}, {x + 3, 13}, {x - 1.5, 17.5}, {x - 2, 21}, {x + 1.5, 17.5}, {x + 2, 21}};
}

}  // namespace Pictures
