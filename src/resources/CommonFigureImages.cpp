// Pictures of the buttons of palette 0 — 常用图形: the basic figures and the common figures.
#include <cmath>

#include "resources/PaletteMotifs.h"

namespace Pictures {
namespace {

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

constexpr PaletteEntry kEntries[] = {
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
};

}  // namespace

std::span<const PaletteEntry> CommonFigurePictures() { return kEntries; }

}  // namespace Pictures
