#include "resources/ImageVocabulary.h"

#include <QLineF>
#include <cmath>

namespace Pictures {

void Pad::Dot(qreal x, qreal y, qreal r) {
  const QPen old = p.pen();
  const QBrush oldBrush = p.brush();
  p.setPen(Qt::NoPen);
  p.setBrush(old.color());
  p.drawEllipse(QPointF(x, y), r, r);
  p.setPen(old);
  p.setBrush(oldBrush);
}

namespace {
// Unit vector from `from` to `tip` and its normal.
void Direction(qreal tipX, qreal tipY, qreal fromX, qreal fromY, qreal& ux, qreal& uy) {
  const qreal dx = tipX - fromX, dy = tipY - fromY;
  const qreal len = std::hypot(dx, dy);
  if (len < 1e-9) {
    ux = 0;
    uy = -1;
    return;
  }
  ux = dx / len;
  uy = dy / len;
}
}  // namespace

void Pad::Barbs(qreal tipX, qreal tipY, qreal fromX, qreal fromY, qreal len, qreal half) {
  qreal ux, uy;
  Direction(tipX, tipY, fromX, fromY, ux, uy);
  const qreal bx = tipX - ux * len, by = tipY - uy * len;
  const QPen old = p.pen();
  QPen pen = old;
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  p.setPen(pen);
  const QPointF pts[3] = {{bx - uy * half, by + ux * half}, {tipX, tipY}, {bx + uy * half, by - ux * half}};
  p.drawPolyline(pts, 3);
  p.setPen(old);
}

void Pad::Head(qreal tipX, qreal tipY, qreal fromX, qreal fromY, qreal len, qreal half) {
  qreal ux, uy;
  Direction(tipX, tipY, fromX, fromY, ux, uy);
  const qreal bx = tipX - ux * len, by = tipY - uy * len;
  const QPen old = p.pen();
  const QBrush oldBrush = p.brush();
  p.setPen(QPen(old.color(), 0.6, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
  p.setBrush(old.color());
  const QPointF pts[3] = {{bx - uy * half, by + ux * half}, {tipX, tipY}, {bx + uy * half, by - ux * half}};
  p.drawPolygon(pts, 3);
  p.setPen(old);
  p.setBrush(oldBrush);
}

void Pad::Floor(qreal x1, qreal x2, qreal y, bool strokesBelow, qreal step, qreal len) {
  Line(x1, y, x2, y);
  const QPen old = p.pen();
  QPen thin = old;
  thin.setCapStyle(Qt::FlatCap);
  p.setPen(thin);
  for (qreal x = x1 + len; x <= x2 + 0.01; x += step) {
    if (strokesBelow)
      Line(x, y, x - len, y + len);
    else
      Line(x - len, y, x, y - len);
  }
  p.setPen(old);
}

void Pad::Wall(qreal x, qreal y1, qreal y2, bool strokesLeft, qreal step, qreal len) {
  Line(x, y1, x, y2);
  const QPen old = p.pen();
  QPen thin = old;
  thin.setCapStyle(Qt::FlatCap);
  p.setPen(thin);
  for (qreal y = y1 + len; y <= y2 + 0.01; y += step) {
    if (strokesLeft)
      Line(x, y - len, x - len, y);
    else
      Line(x, y, x + len, y - len);
  }
  p.setPen(old);
}

void Pad::Hatch(const QRectF& box, qreal dx, qreal dy, qreal spacing) {
  p.save();
  p.setClipRect(box.adjusted(-0.5, -0.5, 0.5, 0.5));
  const qreal len = std::hypot(dx, dy);
  const qreal ux = dx / len, uy = dy / len;  // line direction
  const qreal nx = -uy, ny = ux;             // normal
  const QPointF c = box.center();
  const qreal reach = std::hypot(box.width(), box.height());
  for (qreal s = -reach; s <= reach; s += spacing) {
    const QPointF m(c.x() + nx * s, c.y() + ny * s);
    p.drawLine(QPointF(m.x() - ux * reach, m.y() - uy * reach), QPointF(m.x() + ux * reach, m.y() + uy * reach));
  }
  p.restore();
}

void Pad::Zigzag(qreal x1, qreal y1, qreal x2, qreal y2, int n, qreal amp) {
  const qreal dx = x2 - x1, dy = y2 - y1;
  const qreal len = std::hypot(dx, dy);
  if (len < 1e-9 || n < 1) return;
  const qreal nx = -dy / len, ny = dx / len;
  QPainterPath path(QPointF(x1, y1));
  const int points = 2 * n;
  for (int i = 0; i < points; ++i) {
    const qreal t = (i + 0.5) / points;
    const qreal side = (i % 2 == 0) ? amp : -amp;
    path.lineTo(x1 + dx * t + nx * side, y1 + dy * t + ny * side);
  }
  path.lineTo(x2, y2);
  const QBrush oldBrush = p.brush();
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  p.setBrush(oldBrush);
}

void Pad::Glyph(char c, qreal cx, qreal cy, qreal height) {
  const qreal t = cy - height / 2, b = cy + height / 2;
  const qreal half = height * 0.38;
  const QBrush oldBrush = p.brush();
  p.setBrush(Qt::NoBrush);
  switch (c) {
    case 'A':
      Polyline({{cx - half, b}, {cx, t}, {cx + half, b}});
      Line(cx - half * 0.55, cy + height * 0.15, cx + half * 0.55, cy + height * 0.15);
      break;
    case 'V':
      Polyline({{cx - half, t}, {cx, b}, {cx + half, t}});
      break;
    case 'N':
      Polyline({{cx - half * 0.8, b}, {cx - half * 0.8, t}, {cx + half * 0.8, b}, {cx + half * 0.8, t}});
      break;
    case 'M':
      Polyline({{cx - half, b}, {cx - half, t}, {cx, cy + height * 0.2}, {cx + half, t}, {cx + half, b}});
      break;
    case 'G': {
      QPainterPath path;
      const QRectF r(cx - half, t, 2 * half, height);
      path.arcMoveTo(r, 40);
      path.arcTo(r, 40, 280);
      path.lineTo(cx + half, cy);
      path.lineTo(cx + half * 0.1, cy);
      p.drawPath(path);
      break;
    }
    case '+':
      Line(cx - half, cy, cx + half, cy);
      Line(cx, cy - half, cx, cy + half);
      break;
    case '-':
      Line(cx - half, cy, cx + half, cy);
      break;
    default:
      break;
  }
  p.setBrush(oldBrush);
}

}  // namespace Pictures
