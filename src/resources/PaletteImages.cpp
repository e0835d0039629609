// Pictures of the 200 palette buttons: each shows the figure its tool draws.
#include <array>
#include <cmath>

#include "resources/PictureTables.h"

namespace Pictures {
namespace {

constexpr qreal Pi = M_PI;

// ---- Shared motifs ------------------------------------------------------------------------

// Lead wires of a two-terminal symbol on the middle row.
void Leads(Pad& d, qreal left, qreal right, qreal y = 12) {
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

// A stick figure: head at (hx, hy), body to the hip, arms and legs as given end points.
struct Limbs {
  QPointF head, neck, hip, hand1, hand2, knee1, foot1, knee2, foot2;
  QPointF elbow1{-1, -1}, elbow2{-1, -1};
};
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

// ---- Palette 0: common figures ------------------------------------------------------------

void Select(Pad& d) {
  d.Pen(1, Ink, Qt::DotLine).NoFill();
  QPen pen = d.p.pen();
  pen.setDashPattern({1, 1});
  pen.setCapStyle(Qt::FlatCap);
  d.p.setPen(pen);
  d.Rect(3, 4, 17, 15);
}

void Eraser(Pad& d) {
  d.Pen().Fill(PinkTint);
  d.Polygon({{3, 15}, {11, 7}, {17, 13}, {9, 21}});
  d.Fill(Paper).Polygon({{11, 7}, {15, 3}, {21, 9}, {17, 13}});
  d.Pen(1, Grey).Line(11, 21, 21, 21);
}

void Text(Pad& d) {
  d.Pen(1.6).Glyph('A', 9, 12, 14);
  d.Pen(1, Blue);
  d.Line(18, 5, 18, 19);
  d.Line(16, 5, 20, 5);
  d.Line(16, 19, 20, 19);
}

void Freehand(Pad& d) {
  QPainterPath path(QPointF(3, 16));
  path.cubicTo(QPointF(5, 4), QPointF(10, 4), QPointF(11, 12));
  path.cubicTo(QPointF(12, 20), QPointF(17, 20), QPointF(20, 6));
  d.RoundPen(1.3).NoFill().Path(path);
}

void AxisLine(Pad& d) {
  d.Pen();
  d.Line(3, 6, 20, 6);
  d.Line(14, 10, 14, 21);
  d.Pen(1, Grey).Fill(Paper);
  d.Rect(2, 5, 2, 2);
  d.Rect(19, 5, 2, 2);
  d.Rect(13, 9, 2, 2);
  d.Rect(13, 20, 2, 2);
}

void StraightLine(Pad& d) {
  d.Pen().Line(4, 19, 19, 4);
  d.Pen(1, Grey).Fill(Paper);
  d.Rect(3, 18, 2, 2);
  d.Rect(18, 3, 2, 2);
}

void Rectangle(Pad& d) { d.Pen().NoFill().Rect(3, 5, 17, 13); }
void RoundedRectangle(Pad& d) { d.Pen().NoFill().RoundRect(3, 5, 17, 13, 4); }
void EllipseFigure(Pad& d) { d.Pen().NoFill().Ellipse(11.5, 11.5, 9.5, 6); }

void CircleFigure(Pad& d) {
  d.Pen().NoFill().Circle(11.5, 11.5, 9);
  d.Pen(1, Grey).Line(11.5, 11.5, 17.9, 5.1);
  d.Pen().Dot(11.5, 11.5, 1.3);
}

void Sine(Pad& d) {
  d.Pen(1, Light).Line(2, 12, 21, 12);
  d.RoundPen(1.2).Curve(2, 21, [](qreal x) { return 12 - 7 * std::sin(2 * Pi * (x - 2) / 9.5); }, 60);
}

void ArrowFigure(Pad& d) {
  d.Pen().Line(4, 19, 19, 4);
  d.RoundPen(1).Barbs(19, 4, 4, 19, 6, 3);
}

void Surface(Pad& d) { d.Pen().Floor(2, 21, 9, true, 3, 4); }

void HalfAxes(Pad& d) {
  d.Pen();
  d.Line(5, 19, 5, 3);
  d.Line(5, 19, 21, 19);
  d.Head(5, 2, 5, 19, 4, 2);
  d.Head(22, 19, 5, 19, 4, 2);
}

void XHalfAxes(Pad& d) {
  d.Pen();
  d.Line(5, 21, 5, 3);
  d.Line(5, 12, 21, 12);
  d.Head(5, 2, 5, 21, 4, 2);
  d.Head(22, 12, 5, 12, 4, 2);
}

void Axes(Pad& d) {
  d.Pen();
  d.Line(11, 21, 11, 3);
  d.Line(2, 12, 21, 12);
  d.Head(11, 2, 11, 21, 4, 2);
  d.Head(22, 12, 2, 12, 4, 2);
}

void TickScale(Pad& d) {
  d.Pen(1, Light).Line(2, 15, 22, 15);
  d.Pen();
  for (int i = 0; i <= 10; ++i) {
    const qreal x = 2 + i * 2;
    d.Line(x, 15, x, i % 5 == 0 ? 8 : 12);
  }
}

void Grid(Pad& d) {
  d.Pen();
  for (int i = 0; i <= 4; ++i) {
    d.Line(3 + i * 4.25, 3, 3 + i * 4.25, 20);
    d.Line(3, 3 + i * 4.25, 20, 3 + i * 4.25);
  }
}

void Rod(Pad& d) {
  d.Pen().Fill(Wood);
  d.Polygon({{3, 18}, {18, 3}, {21, 6}, {6, 21}});
}

void Block(Pad& d) {
  d.Pen().Fill(Wood.lighter(110)).Polygon({{2, 21}, {21, 21}, {21, 8}});
  // A square of side 6 standing on the slope.
  const qreal ux = 19 / std::hypot(19, 13), uy = -13 / std::hypot(19, 13);
  const QPointF a(2 + ux * 8, 21 + uy * 8), b(2 + ux * 15, 21 + uy * 15);
  const QPointF n(uy * 7, -ux * 7);
  d.Pen().Fill(Tint).Polygon({a, b, b + n, a + n});
}

void Incline(Pad& d) { d.Pen().Fill(Wood).Polygon({{3, 5}, {20, 19}, {3, 19}}); }

void Dimension(Pad& d) {
  d.Pen();
  d.Line(3, 5, 3, 19);
  d.Line(20, 5, 20, 19);
  d.Line(3, 12, 20, 12);
  d.Pen(1).Head(3, 12, 12, 12, 4.5, 2);
  d.Head(20, 12, 11, 12, 4.5, 2);
}

void Bucket(Pad& d) {
  d.p.save();
  d.p.translate(13, 12);
  d.p.rotate(-35);
  d.Pen(1, Grey).NoFill().Arc(0, -4, 5, 6, 0, 180);
  d.Pen().Fill(Metal).Polygon({{-5, -4}, {5, -4}, {4, 7}, {-4, 7}});
  d.Pen().Fill(Blue).Ellipse(0, -4, 5, 1.6);
  d.p.restore();
  // Paint runs from the lower lip.
  QPainterPath stream(QPointF(7.5, 12.5));
  stream.cubicTo(QPointF(5, 14), QPointF(4, 16), QPointF(4, 17));
  d.RoundPen(1.4, Blue).NoFill().Path(stream);
  d.Pen(1, Blue).Fill(Blue).Ellipse(4, 19.5, 1.8, 2);
}

void TriangleUp(Pad& d) { d.Pen().NoFill().Polygon({{11.5, 3}, {21, 20}, {2, 20}}); }
void TriangleSide(Pad& d) { d.Pen().NoFill().Polygon({{3, 2}, {20, 11.5}, {3, 21}}); }
void Pentagon(Pad& d) { d.Pen(); Regular(d, 5, 11.5, 12.5, 9.5); }
void Hexagon(Pad& d) {
  d.Pen().NoFill().Polygon({{2, 11.5}, {7, 3}, {16, 3}, {21, 11.5}, {16, 20}, {7, 20}});
}
void HalfArc(Pad& d) { d.Pen().NoFill().Arc(11.5, 16, 9.5, 9.5, 0, 180); }
void QuarterArc(Pad& d) { d.Pen().NoFill().Arc(3, 20, 17, 17, 0, 90); }

void Concentric(Pad& d) {
  d.Pen().NoFill();
  d.Circle(11.5, 11.5, 9.5);
  d.Circle(11.5, 11.5, 6);
  d.Circle(11.5, 11.5, 2.5);
}

void Ring(Pad& d) {
  QPainterPath ring;
  ring.addEllipse(QPointF(11.5, 11.5), 9.5, 9.5);
  ring.addEllipse(QPointF(11.5, 11.5), 5.5, 5.5);
  d.Pen().Fill(Grey.lighter(140)).Path(ring);
}

void Pendulum(Pad& d) {
  d.Pen().Floor(4, 19, 3, false, 3, 2);
  d.Pen(1, Grey, Qt::DashLine).Line(11.5, 3, 11.5, 20);
  d.Pen().Line(11.5, 3, 17, 16);
  d.Pen().Fill(Ink).Circle(17.8, 17.8, 2.4);
}

void Cart(Pad& d) {
  d.Pen().Fill(Tint).Rect(3, 8, 17, 7);
  Wheel(d, 7, 17.5, 2.5);
  Wheel(d, 16, 17.5, 2.5);
  d.Pen(1, Grey).Line(1, 20, 22, 20);
}

void Table(Pad& d) {
  d.Pen().Fill(Wood).Rect(2, 7, 19, 3);
  d.Pen(1.4);
  d.Line(5, 10, 5, 20);
  d.Line(18, 10, 18, 20);
}

void Boat(Pad& d) {
  d.Pen().Fill(Wood).Polygon({{2, 12}, {21, 12}, {18, 17}, {5, 17}});
  d.Pen().Fill(Paper).Polygon({{12, 11}, {12, 2}, {18, 11}});
  d.Pen(1, Blue, Qt::DashLine).Line(1, 16, 22, 16);
}

void Spring(Pad& d) {
  d.Pen().NoFill();
  d.Line(2, 12, 5, 12);
  d.Line(18, 12, 21, 12);
  d.Zigzag(5, 12, 18, 12, 4, 4);
}

void Groove(Pad& d) {
  QPainterPath path(QPointF(2, 8));
  path.lineTo(5, 8);
  path.arcTo(QRectF(5, 1, 13, 14), 180, 180);
  path.lineTo(21, 8);
  path.lineTo(21, 20);
  path.lineTo(2, 20);
  path.closeSubpath();
  d.Pen().Fill(Wood).Path(path);
}

void QuarterTrack(Pad& d) {
  QPainterPath path(QPointF(3, 3));
  path.arcTo(QRectF(3, -13, 34, 34), 180, 90);
  path.lineTo(20, 21);
  path.lineTo(3, 21);
  path.closeSubpath();
  d.Pen().Fill(Wood).Path(path);
}

void ConveyorShape(Pad& d) {
  d.Pen().NoFill();
  d.Circle(5, 14, 3.5);
  d.Circle(18, 14, 3.5);
  d.Line(5, 10.5, 18, 10.5);
  d.Line(5, 17.5, 18, 17.5);
  d.Pen().Dot(5, 14, 0.9);
  d.Dot(18, 14, 0.9);
}

void Conveyor(Pad& d) {
  ConveyorShape(d);
  d.Pen().Fill(Tint).Rect(9, 5, 5, 5);
}

void ConveyorTilted(Pad& d) {
  d.p.save();
  d.p.translate(11.5, 12);
  d.p.rotate(-30);
  d.p.translate(-11.5, -12);
  ConveyorShape(d);
  d.Pen().Fill(Tint).Rect(9, 5, 5, 5);
  d.p.restore();
}

void PlaneFlat(Pad& d) { d.Pen().Fill(Tint).Polygon({{2, 18}, {8, 6}, {21, 6}, {15, 18}}); }
void PlaneUpright(Pad& d) { d.Pen().Fill(Tint).Polygon({{5, 8}, {18, 2}, {18, 15}, {5, 21}}); }
void Rhombus(Pad& d) { d.Pen().NoFill().Polygon({{11.5, 2}, {20, 11.5}, {11.5, 21}, {3, 11.5}}); }

void HookWeight(Pad& d) {
  d.Pen().NoFill();
  d.Arc(11.5, 4, 2.5, 2.5, 180, 270);
  d.Line(11.5, 6.5, 11.5, 9);
  Cylinder(d, 11.5, 10, 19, 5.5, 1.8);
}

void Pulley(Pad& d) {
  d.Pen().Line(6, 2, 6, 11);
  d.Line(17, 2, 17, 11);
  d.Pen().Fill(Metal).Circle(11.5, 11, 5.5);
  d.Pen().Fill(Ink).Dot(11.5, 11, 1.2);
  d.Pen().Line(11.5, 11, 11.5, 18);
  d.NoFill().Arc(11.5, 19.5, 2, 2, 90, 270);
}

void Bullet(Pad& d) {
  d.p.save();
  d.p.translate(11.5, 11.5);
  d.p.rotate(-35);
  QPainterPath path(QPointF(-10, -3));
  path.lineTo(3, -3);
  path.cubicTo(QPointF(7, -3), QPointF(10, -1), QPointF(11, 0));
  path.cubicTo(QPointF(10, 1), QPointF(7, 3), QPointF(3, 3));
  path.lineTo(-10, 3);
  path.closeSubpath();
  d.Pen().Fill(Yellow).Path(path);
  d.Pen().Line(-7, -3, -7, 3);
  d.p.restore();
}

void Chain(Pad& d) {
  d.Pen(1.2).NoFill();
  for (int i = 0; i < 4; ++i) {
    d.p.save();
    d.p.translate(5 + i * 4.5, 18 - i * 4.5);
    d.p.rotate(-45);
    if (i % 2 == 0)
      d.Ellipse(0, 0, 4, 2.2);
    else
      d.Line(-3.5, 0, 3.5, 0);
    d.p.restore();
  }
}

// ---- Palette 1: electric and magnetic fields -----------------------------------------------

void Lamp(Pad& d) {
  Leads(d, 6, 17);
  d.Pen().NoFill().Circle(11.5, 12, 5.5);
  d.Line(7.6, 8.1, 15.4, 15.9);
  d.Line(15.4, 8.1, 7.6, 15.9);
}

void Source(Pad& d) {
  Leads(d, 10, 13);
  d.Pen().Line(10, 5, 10, 19);
  d.Pen(2.5).Line(14, 8.5, 14, 15.5);
}

void CapacitorSymbol(Pad& d) {
  Leads(d, 10, 13);
  d.Pen(1.5);
  d.Line(10, 5, 10, 19);
  d.Line(14, 5, 14, 19);
}

void Positive(Pad& d) {
  d.Pen(1.2, Red).Fill(PinkTint).Circle(11.5, 11.5, 8);
  d.Pen(2, Red).Glyph('+', 11.5, 11.5, 11);
}

void Negative(Pad& d) {
  d.Pen(1.2, Blue).Fill(Tint).Circle(11.5, 11.5, 8);
  d.Pen(2, Blue).Glyph('-', 11.5, 11.5, 11);
}

void AmmeterSymbol(Pad& d) { MeterSymbol(d, 'A'); }
void VoltmeterSymbol(Pad& d) { MeterSymbol(d, 'V'); }

void Ground(Pad& d) {
  d.Pen();
  d.Line(11.5, 2, 11.5, 11);
  d.Line(3, 11, 20, 11);
  d.Line(6, 15, 17, 15);
  d.Line(9, 19, 14, 19);
}

void SwitchSymbol(Pad& d) {
  d.Pen();
  d.Line(2, 15, 6, 15);
  d.Line(17, 15, 21, 15);
  d.Line(7, 14, 17, 7);
  d.Pen().Fill(Paper);
  d.Circle(6.5, 15, 1.4);
  d.Circle(17, 15, 1.4);
}

void Diode(Pad& d) {
  Leads(d, 8, 15);
  d.Pen().Fill(Ink).Polygon({{8, 6}, {15, 12}, {8, 18}});
  d.Pen(1.5).Line(15, 6, 15, 18);
}

void TwoWaySymbol(Pad& d, qreal y) {
  d.Pen();
  d.Line(2, y, 6, y);
  d.Line(17, y - 4, 21, y - 4);
  d.Line(17, y + 4, 21, y + 4);
  d.Line(7, y - 0.5, 16, y - 4);
  d.Pen().Fill(Paper);
  d.Circle(6.5, y, 1.3);
  d.Circle(17, y - 4, 1.3);
  d.Circle(17, y + 4, 1.3);
}
void SpdtSymbol(Pad& d) { TwoWaySymbol(d, 12); }
void DpdtSymbol(Pad& d) {
  // Two poles whose blades move together (dashed link), each with two throws.
  for (qreal y : {7.0, 17.0}) {
    d.Pen();
    d.Line(2, y, 4, y);
    d.Line(18, y - 3, 21, y - 3);
    d.Line(18, y + 3, 21, y + 3);
    d.Line(6, y - 0.7, 15.5, y - 3);
    d.Pen().Fill(Paper);
    d.Circle(5, y, 1.3);
    d.Circle(17, y - 3, 1.3);
    d.Circle(17, y + 3, 1.3);
  }
  QPen link(Grey, 1, Qt::SolidLine, Qt::FlatCap);
  link.setDashPattern({1.5, 1.5});
  d.p.setPen(link);
  d.Line(11, 5.5, 11, 15.5);
}

void ParallelResistors(Pad& d) {
  d.Pen();
  d.Line(2, 12, 4, 12);
  d.Line(19, 12, 21, 12);
  d.Line(4, 6, 4, 18);
  d.Line(19, 6, 19, 18);
  d.Line(4, 6, 7, 6);
  d.Line(16, 6, 19, 6);
  d.Line(4, 18, 7, 18);
  d.Line(16, 18, 19, 18);
  d.Fill(Paper);
  d.Rect(7, 4, 9, 4);
  d.Rect(7, 16, 9, 4);
}

void SeriesResistors(Pad& d) {
  d.Pen();
  d.Line(2, 12, 21, 12);
  d.Fill(Paper);
  d.Rect(3, 10, 7, 4);
  d.Rect(13, 10, 7, 4);
}

void RheostatSymbol(Pad& d) {
  Leads(d, 5, 18, 15);
  d.Pen().Fill(Paper).Rect(5, 13, 13, 4);
  d.Pen().Line(11.5, 5, 18, 5);
  d.Line(18, 5, 18, 9);
  d.Arrow(11.5, 5, 11.5, 12, 3.5, 2);
}

void FieldOut(Pad& d) {
  d.Pen();
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) d.Dot(4 + i * 7.5, 4 + j * 7.5, 1.5);
}

void FieldIn(Pad& d) {
  d.Pen(1.2);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      const qreal x = 4 + i * 7.5, y = 4 + j * 7.5;
      d.Line(x - 1.8, y - 1.8, x + 1.8, y + 1.8);
      d.Line(x + 1.8, y - 1.8, x - 1.8, y + 1.8);
    }
}

void ParallelField(Pad& d) {
  d.Pen();
  for (int i = 0; i < 4; ++i) {
    const qreal y = 4 + i * 5;
    d.Line(2, y, 21, y);
    d.Barbs(14, y, 9, y, 3, 2);
  }
}

void Solenoid(Pad& d) {
  d.Pen();
  d.Line(2, 18, 4, 18);
  d.Line(19, 18, 21, 18);
  // A helix seen from the side: five turns along the axis.
  d.RoundPen(1.1).Param(0, 10 * Pi, [](qreal t) { return 4 + t * 15 / (10 * Pi) - 1.6 * std::sin(t); },
                        [](qreal t) { return 12 + 6 * std::cos(t); }, 160);
}

void Wiring(Pad& d) {
  d.Pen();
  d.Polyline({{3, 19}, {3, 5}, {20, 5}, {20, 19}, {3, 19}});
  d.Line(11.5, 5, 11.5, 19);
  d.Dot(11.5, 5, 1.6);
  d.Dot(11.5, 19, 1.6);
}

void Transformer(Pad& d) {
  d.Pen().NoFill();
  for (int i = 0; i < 4; ++i) d.Arc(7, 4.5 + i * 4.5, 2.25, 2.25, 90, -180);
  for (int i = 0; i < 3; ++i) d.Arc(16, 6.75 + i * 4.5, 2.25, 2.25, 90, 180);
  d.Pen(1.2);
  d.Line(10.5, 2, 10.5, 21);
  d.Line(12.5, 2, 12.5, 21);
  d.Pen();
  d.Line(2, 2.25, 7, 2.25);
  d.Line(2, 20.25, 7, 20.25);
  d.Line(16, 4.5, 21, 4.5);
  d.Line(16, 18, 21, 18);
}

void PositiveField(Pad& d) { ChargeField(d, true); }
void NegativeField(Pad& d) { ChargeField(d, false); }

void DryCell(Pad& d) {
  d.Pen().Fill(Ink).Rect(10, 2, 3, 2);
  d.Pen().Fill(Green).RoundRect(6, 4, 11, 17, 1.5);
  d.Pen(1.3, Paper).Glyph('+', 11.5, 8.5, 4);
  d.Glyph('-', 11.5, 16.5, 4);
}

void Accumulator(Pad& d) {
  d.Pen().Fill(Ink);
  d.Rect(5, 4, 3, 3);
  d.Rect(15, 4, 3, 3);
  d.Pen().Fill(Grey.lighter(130)).Rect(2, 7, 19, 13);
  d.Pen(1.2, Red).Glyph('+', 6.5, 12, 4);
  d.Pen(1.2, Blue).Glyph('-', 16.5, 12, 4);
}

void ResistanceWire(Pad& d) {
  d.Pen().Fill(Wood).Rect(2, 16, 19, 4);
  d.Pen().Fill(Metal);
  d.Rect(2, 11, 3, 5);
  d.Rect(18, 11, 3, 5);
  d.Pen(1, Red).Zigzag(5, 12, 18, 12, 6, 1.5);
}

void KnifeSwitch1(Pad& d) { KnifeSwitch(d, false); }
void KnifeSwitch2(Pad& d) { KnifeSwitch(d, true); }
void Ammeter(Pad& d) { MeterBox(d, 'A', false); }
void Voltmeter(Pad& d) { MeterBox(d, 'V', false); }
void Galvanometer(Pad& d) { MeterBox(d, 'G', true); }

void Rheostat(Pad& d) {
  d.Pen().Fill(Metal).Rect(2, 12, 19, 7);
  d.Pen(1, Grey);
  for (int x = 4; x <= 19; x += 2) d.Line(x, 12, x - 1, 19);
  d.Pen(1.2).Line(2, 5, 21, 5);
  d.Pen().Fill(Blue).Polygon({{12, 4}, {16, 4}, {16, 7}, {14, 11}, {12, 7}});
}

void Inductor(Pad& d) {
  d.Pen();
  d.Line(2, 14, 4, 14);
  d.Line(19, 14, 21, 14);
  Loops(d, 4, 19, 4, 14, 4.5);
}

void Electroscope(Pad& d) {
  d.Pen().Fill(Paper).Circle(11.5, 14, 7.5);
  d.Pen().Line(11.5, 4, 11.5, 14);
  d.Pen().Fill(Metal).Circle(11.5, 3.5, 2);
  d.Pen(1, Ink).Line(11.5, 14, 9, 18);
  d.Line(11.5, 14, 14, 18);
  d.Pen().Fill(Ink).Rect(9, 5.5, 5, 1.5);
}

void CoilInner(Pad& d) {
  d.Pen().Fill(Tint).Rect(8, 2, 7, 19);
  d.Pen(1, Red);
  for (int y = 4; y <= 19; y += 2) d.Line(8, y, 15, y - 1);
  d.Pen().Line(9, 21, 9, 22);
}

void CoilOuter(Pad& d) {
  d.Pen().Fill(Tint).Rect(3, 4, 17, 17);
  d.Pen().Fill(Paper).Rect(8, 4, 7, 17);
  d.Pen(1, Red);
  for (int y = 6; y <= 20; y += 2) {
    d.Line(3, y, 8, y - 1);
    d.Line(15, y, 20, y - 1);
  }
}

void ElectrolyticCapacitor(Pad& d) {
  Leads(d, 10, 13);
  d.Pen(1.5).Line(10, 5, 10, 19);
  d.Pen(1.3).NoFill().Arc(19, 12, 5, 7, 140, 80);
  d.Pen(1).Glyph('+', 6, 6, 4);
}

void CapacitorPart(Pad& d) {
  d.Pen();
  d.Line(9, 15, 9, 22);
  d.Line(14, 15, 14, 22);
  d.Pen().Fill(Blue.lighter(140)).RoundRect(5, 2, 13, 13, 3);
  d.Pen(1, Ink).Glyph('+', 9, 8, 3);
}

void Fet(Pad& d) {
  d.Pen();
  d.Line(2, 17, 8, 17);
  d.Line(8, 7, 8, 17);
  d.Pen(1.6).Line(11, 5, 11, 19);
  d.Pen();
  d.Line(11, 7, 18, 7);
  d.Line(18, 7, 18, 2);
  d.Line(11, 17, 18, 17);
  d.Line(18, 17, 18, 21);
  d.Head(12, 12, 17, 12, 3.5, 2);
  d.Line(13, 12, 18, 12);
  d.Line(18, 12, 18, 17);
}

void Transistor(Pad& d) {
  d.Pen().NoFill().Circle(12.5, 12, 8.5);
  d.Pen();
  d.Line(2, 12, 9, 12);
  d.Pen(1.8).Line(9, 6, 9, 18);
  d.Pen();
  d.Line(9, 9, 15, 4);
  d.Line(15, 4, 15, 2);
  d.Line(9, 15, 15, 20);
  d.Line(15, 20, 15, 22);
}

void OpAmp(Pad& d) {
  d.Pen().Fill(Paper).Polygon({{5, 3}, {19, 12}, {5, 21}});
  d.Pen();
  d.Line(2, 8, 5, 8);
  d.Line(2, 16, 5, 16);
  d.Line(19, 12, 22, 12);
  d.Glyph('-', 8.5, 8, 4);
  d.Glyph('+', 8.5, 16, 4);
}

// ---- Palette 2: curves and solids -----------------------------------------------------------

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

// ---- Palette 3: miscellaneous ----------------------------------------------------------------

void Escalator(Pad& d) {
  d.Pen().Fill(Metal);
  d.Polygon({{2, 21}, {2, 18}, {6, 18}, {6, 15}, {10, 15}, {10, 12}, {14, 12}, {14, 9}, {18, 9}, {18, 6},
             {21, 6}, {21, 21}});
  d.Pen(1.2, Blue).Line(2, 14, 19, 2);
}

void TickerTape(Pad& d) {
  d.Pen().Fill(Paper).Rect(1, 8, 21, 7);
  d.Pen();
  const qreal xs[] = {3, 5.5, 9, 13.5, 19};
  for (qreal x : xs) d.Dot(x, 11.5, 0.9);
}

void Caliper(Pad& d) {
  d.Pen().Fill(Metal);
  d.Rect(2, 5, 20, 4);
  d.Polygon({{2, 9}, {6, 9}, {6, 15}, {3, 20}, {2, 20}});
  d.Fill(Metal.darker(112)).Rect(10, 4, 7, 7);
  d.Fill(Metal.darker(112)).Polygon({{10, 11}, {14, 11}, {11, 20}, {10, 20}});
  d.Pen(1, Ink);
  for (int x = 7; x <= 21; x += 2) d.Line(x, 5, x, 6);
  d.Pen(1, Ink).Line(11, 11, 16, 11);
}

void Sedan(Pad& d) {
  d.Pen().Fill(Tint);
  d.Polygon({{1, 16}, {1, 12}, {5, 11}, {8, 6}, {16, 6}, {19, 11}, {22, 12}, {22, 16}});
  d.Pen().Fill(Paper).Polygon({{7, 11}, {9, 8}, {15, 8}, {17, 11}});
  d.Pen().Line(12, 8, 12, 11);
  Wheel(d, 6, 16.5, 2.8);
  Wheel(d, 17, 16.5, 2.8);
}

void Truck(Pad& d) {
  d.Pen().Fill(Wood).Rect(1, 5, 13, 10);
  d.Pen().Fill(Tint).Polygon({{14, 8}, {19, 8}, {22, 12}, {22, 15}, {14, 15}});
  d.Pen().Fill(Paper).Polygon({{16, 9.5}, {18.5, 9.5}, {20.5, 12}, {16, 12}});
  Wheel(d, 5, 17, 2.6);
  Wheel(d, 18, 17, 2.6);
}

void PersonStanding(Pad& d) { Person(d, Standing(11.5)); }

void PersonSitting(Pad& d) {
  d.Pen(1.2, Grey);
  d.Line(11, 15, 19, 15);
  d.Line(18, 15, 18, 21);
  d.Line(12, 15, 12, 21);
  Person(d, {{16, 4}, {16, 7}, {16, 14}, {11, 12}, {12, 13}, {9, 14}, {9, 21}, {8, 14.5}, {8, 21}});
}

void PersonWalking(Pad& d) {
  Person(d, {{12, 3.5}, {12, 6.5}, {11.5, 13.5}, {8, 12}, {15, 12}, {13.5, 17}, {16, 21}, {10, 17}, {7, 21},
             {10, 9.5}, {13.8, 9.5}});
}

void PersonRunning(Pad& d) {
  Person(d, {{15, 3.5}, {14, 6.5}, {11, 13}, {8, 9}, {18.5, 8.5}, {15, 15}, {14, 20}, {7, 15}, {4, 19},
             {10, 9}, {17, 10.5}});
}

void PersonPulling(Pad& d) {
  d.Pen().Fill(Wood).Rect(16, 14, 6, 6);
  d.Pen(1, Grey).Line(1, 21, 23, 21);
  d.Pen().Line(9, 10, 16, 16);
  Person(d, {{5, 5}, {6, 8}, {5, 14}, {9, 10}, {9, 10.5}, {8, 17}, {9, 20.5}, {5, 17.5}, {3, 20.5}});
}

void PersonPushing(Pad& d) {
  d.Pen().Fill(Wood).Rect(15, 12, 7, 8);
  d.Pen(1, Grey).Line(1, 21, 23, 21);
  Person(d, {{11, 4.5}, {10, 7.5}, {6.5, 13}, {15, 12}, {15, 14}, {8.5, 17}, {8, 20.5}, {4, 16}, {2, 20.5},
             {13, 9}, {12.5, 11}});
}

void PersonCycling(Pad& d) {
  d.Pen().NoFill();
  d.Circle(5, 17, 4);
  d.Circle(18, 17, 4);
  d.Polyline({{5, 17}, {9, 11}, {16, 11}, {18, 17}});
  d.Line(9, 11, 11.5, 17);
  d.Line(11.5, 17, 16, 11);
  Person(d, {{12.5, 2.5}, {11.5, 5}, {9, 10}, {16, 9}, {16, 9.5}, {12.5, 13}, {11.5, 17}, {11, 13}, {12, 16.5},
             {14, 7}, {14, 7.2}});
}

void SpringBalance(Pad& d) {
  d.Pen().NoFill().Circle(11.5, 2.5, 1.6);
  d.Pen().Fill(Metal).RoundRect(8, 4, 7, 14, 1.5);
  d.Pen(1, Grey);
  for (int y = 6; y <= 15; y += 2) d.Line(12, y, 14, y);
  d.Pen(1, Red).Line(9, 12, 12, 12);
  d.Pen().Line(11.5, 18, 11.5, 19.5);
  d.NoFill().Arc(11.5, 21, 1.5, 1.5, 90, 270);
}

// ---- The table ----------------------------------------------------------------------------

struct Entry {
  int index;
  DrawFn draw;
};

constexpr Entry kEntries[] = {
    {1, &Select},         {2, &Eraser},        {3, &Text},          {4, &Freehand},       {5, &AxisLine},
    {6, &StraightLine},   {7, &Rectangle},     {8, &RoundedRectangle}, {9, &EllipseFigure}, {10, &CircleFigure},
    {11, &Sine},          {12, &ArrowFigure},  {13, &Surface},      {14, &HalfAxes},      {15, &XHalfAxes},
    {16, &Axes},          {17, &TickScale},    {18, &Grid},         {19, &Rod},           {20, &Block},
    {21, &Incline},       {22, &Dimension},    {24, &Bucket},       {26, &TriangleUp},    {27, &TriangleSide},
    {28, &Pentagon},      {29, &Hexagon},      {30, &HalfArc},      {31, &QuarterArc},    {32, &Concentric},
    {33, &Ring},          {34, &Pendulum},     {35, &Cart},         {36, &Table},         {37, &Boat},
    {38, &Spring},        {39, &Groove},       {40, &QuarterTrack}, {41, &Conveyor},      {42, &ConveyorTilted},
    {43, &PlaneFlat},     {44, &PlaneUpright}, {45, &Rhombus},      {46, &HookWeight},    {47, &Pulley},
    {48, &Bullet},        {49, &Chain},

    {51, &Select},        {52, &Lamp},         {53, &Source},       {54, &CapacitorSymbol}, {55, &Positive},
    {56, &Negative},      {57, &AmmeterSymbol}, {58, &VoltmeterSymbol}, {59, &Ground},    {60, &SwitchSymbol},
    {61, &Diode},         {62, &SpdtSymbol},   {63, &DpdtSymbol},   {64, &ParallelResistors}, {65, &SeriesResistors},
    {66, &RheostatSymbol}, {67, &FieldOut},    {68, &FieldIn},      {69, &ParallelField}, {70, &Solenoid},
    {71, &Wiring},        {72, &Transformer},  {73, &PositiveField}, {74, &NegativeField}, {76, &DryCell},
    {77, &Accumulator},   {78, &ResistanceWire}, {79, &KnifeSwitch1}, {80, &KnifeSwitch2}, {81, &Ammeter},
    {82, &Voltmeter},     {83, &Galvanometer}, {84, &Rheostat},     {85, &Inductor},      {86, &Electroscope},
    {87, &CoilInner},     {88, &CoilOuter},    {96, &ElectrolyticCapacitor}, {97, &CapacitorPart}, {98, &Fet},
    {99, &Transistor},    {100, &OpAmp},

    {101, &Select},       {102, &HalfParabolaH}, {103, &HalfParabolaV}, {104, &ParabolaV}, {105, &ParabolaH},
    {106, &Hyperbola},    {107, &Spiral},      {108, &SineVertical}, {109, &Sphere},      {110, &Cuboid},
    {111, &CylinderTall}, {112, &CylinderFlat}, {113, &Cone},       {114, &WedgeRight},   {115, &WedgeLeft},
    {116, &Axes3D},       {117, &EasedCurve},  {118, &PowerGraph},  {119, &ExponentialGraph}, {126, &ConcaveLens},
    {127, &ConcaveLensSymbol}, {128, &ConvexLens}, {129, &ConvexLensSymbol},

    {151, &Select},       {152, &Escalator},   {153, &TickerTape},  {154, &Caliper},      {155, &Sedan},
    {156, &Truck},        {157, &PersonStanding}, {158, &PersonSitting}, {159, &PersonWalking}, {160, &PersonRunning},
    {161, &PersonPulling}, {162, &PersonPushing}, {163, &PersonCycling}, {164, &SpringBalance},
};

constexpr std::array<DrawFn, 201> MakeTable() {
  std::array<DrawFn, 201> table{};
  for (const Entry& e : kEntries) table[e.index] = e.draw;
  return table;
}
constexpr std::array<DrawFn, 201> kPalette = MakeTable();

}  // namespace

DrawFn PaletteDrawing(int index) { return index >= 1 && index <= 200 ? kPalette[index] : nullptr; }

void DrawEmptyButton(Pad& d) {
  QPen pen(Light, 1, Qt::SolidLine, Qt::FlatCap);
  pen.setDashPattern({1, 2});
  d.p.setPen(pen);
  d.NoFill().RoundRect(4, 4, 15, 15, 2);
}

}  // namespace Pictures
