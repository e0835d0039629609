#pragma once
// The small drawing vocabulary shared by every toolbar, style and palette picture.
//
// A picture is drawn on a `Pad` in design units: the square pictures on a 24 x 24 grid, the style
// pictures on a grid 16 units high and as wide as the button asks for. The painter is translated
// by half a unit, so integer coordinates fall on pixel centres: a 1-unit line along y = 12 is one
// crisp pixel row at 100 % and two crisp rows at 200 %.
#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <initializer_list>

namespace Pictures {

inline const QColor Ink(0x1c, 0x1c, 0x1c);
inline const QColor Grey(0x8c, 0x8c, 0x8c);
inline const QColor Light(0xc8, 0xc8, 0xc8);
inline const QColor Paper(0xff, 0xff, 0xff);
inline const QColor Red(0xd2, 0x2e, 0x28);
inline const QColor Blue(0x24, 0x5c, 0xcc);
inline const QColor Green(0x2e, 0x9a, 0x3c);
inline const QColor Yellow(0xf2, 0xc2, 0x2e);
inline const QColor Magenta(0xe0, 0x20, 0xe0);
inline const QColor Tint(0xc6, 0xdc, 0xf4);      // light blue body fill
inline const QColor Wood(0xe8, 0xc8, 0x8c);      // rods, blocks, tables
inline const QColor Metal(0xd8, 0xd8, 0xd8);     // instruments
inline const QColor PinkTint(0xf6, 0xc4, 0xc4);  // positive charges, erasers

class Pad {
 public:
  Pad(QPainter& painter, qreal width, qreal height) : p(painter), w(width), h(height) { Pen(); }

  QPainter& p;
  const qreal w;  // design width in units
  const qreal h;  // design height in units

  // Pen and brush of the next strokes.
  Pad& Pen(qreal width = 1, const QColor& colour = Ink, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(colour, width, style, Qt::SquareCap, Qt::MiterJoin);
    p.setPen(pen);
    return *this;
  }
  Pad& RoundPen(qreal width = 1, const QColor& colour = Ink) {
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    return *this;
  }
  Pad& NoPen() { p.setPen(Qt::NoPen); return *this; }
  Pad& Fill(const QColor& colour) { p.setBrush(colour); return *this; }
  Pad& NoFill() { p.setBrush(Qt::NoBrush); return *this; }

  // Strokes and outlines.
  void Line(qreal x1, qreal y1, qreal x2, qreal y2) { p.drawLine(QPointF(x1, y1), QPointF(x2, y2)); }
  void Polyline(std::initializer_list<QPointF> pts) { p.drawPolyline(pts.begin(), int(pts.size())); }
  void Polygon(std::initializer_list<QPointF> pts) { p.drawPolygon(pts.begin(), int(pts.size())); }
  void Rect(qreal x, qreal y, qreal width, qreal height) { p.drawRect(QRectF(x, y, width, height)); }
  void RoundRect(qreal x, qreal y, qreal width, qreal height, qreal r) {
    p.drawRoundedRect(QRectF(x, y, width, height), r, r);
  }
  void Circle(qreal cx, qreal cy, qreal r) { p.drawEllipse(QPointF(cx, cy), r, r); }
  void Ellipse(qreal cx, qreal cy, qreal rx, qreal ry) { p.drawEllipse(QPointF(cx, cy), rx, ry); }
  // Elliptic arc about (cx, cy), angles in degrees counter-clockwise from 3 o'clock.
  void Arc(qreal cx, qreal cy, qreal rx, qreal ry, qreal startDeg, qreal spanDeg) {
    p.drawArc(QRectF(cx - rx, cy - ry, 2 * rx, 2 * ry), int(startDeg * 16), int(spanDeg * 16));
  }
  void Path(const QPainterPath& path) { p.drawPath(path); }
  // A filled round dot in the pen colour, no outline.
  void Dot(qreal x, qreal y, qreal r = 1.2);

  // Open arrowhead (two barbs) at `tip`, pointing away from `from`.
  void Barbs(qreal tipX, qreal tipY, qreal fromX, qreal fromY, qreal len = 4, qreal half = 2.5);
  // Solid triangular arrowhead at `tip`, pointing away from `from`.
  void Head(qreal tipX, qreal tipY, qreal fromX, qreal fromY, qreal len = 4, qreal half = 2.2);
  // A shaft with an open head at its end.
  void Arrow(qreal x1, qreal y1, qreal x2, qreal y2, qreal len = 4, qreal half = 2.5) {
    Line(x1, y1, x2, y2);
    Barbs(x2, y2, x1, y1, len, half);
  }
  // A floor (or ceiling) line from x1 to x2 at y with short 45-degree strokes on one side.
  void Floor(qreal x1, qreal x2, qreal y, bool strokesBelow = true, qreal step = 3, qreal len = 3);
  // A wall line from y1 to y2 at x with strokes on the left or the right.
  void Wall(qreal x, qreal y1, qreal y2, bool strokesLeft = true, qreal step = 3, qreal len = 3);
  // Parallel hatch lines of direction (dx, dy) clipped to a rectangle.
  void Hatch(const QRectF& box, qreal dx, qreal dy, qreal spacing);
  // A zig-zag spring between two points with `n` teeth of half-height `amp`.
  void Zigzag(qreal x1, qreal y1, qreal x2, qreal y2, int n, qreal amp);
  // Capital letters and signs drawn as strokes, fitted in a box centred at (cx, cy) of the given
  // height: 'A', 'V', 'G', 'M', '+', '-', 'N'.
  void Glyph(char c, qreal cx, qreal cy, qreal height);
  // A polyline through y = f(x) sampled over [x1, x2].
  template <class F>
  void Curve(qreal x1, qreal x2, F f, int steps = 48) {
    QPainterPath path(QPointF(x1, f(x1)));
    for (int i = 1; i <= steps; ++i) {
      const qreal x = x1 + (x2 - x1) * i / steps;
      path.lineTo(x, f(x));
    }
    NoFill();
    p.drawPath(path);
  }
  // A polyline through the points (fx(t), fy(t)) for t in [t1, t2].
  template <class FX, class FY>
  void Param(qreal t1, qreal t2, FX fx, FY fy, int steps = 64) {
    QPainterPath path(QPointF(fx(t1), fy(t1)));
    for (int i = 1; i <= steps; ++i) {
      const qreal t = t1 + (t2 - t1) * i / steps;
      path.lineTo(fx(t), fy(t));
    }
    NoFill();
    p.drawPath(path);
  }
};

}  // namespace Pictures
