// The canvas's lines, paths and boxes.
#include "figures/Canvas.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "figures/Raster.h"

using namespace raster;

void Canvas::Line(double x1, double y1, double x2, double y2) { Line(x1, y1, x2, y2, ForeColor); }

void Canvas::Line(double x1, double y1, double x2, double y2, QRgb color) {
  if (Recording()) companion_->Record(State(), call::Line{x1, y1, x2, y2, color});
  Nest nest(*this);
  if (!OwnPixels(raster_)) return;
  if (!Finite({x1, y1, x2, y2})) return;
  double ax = Px(x1), ay = Px(y1), bx = Px(x2), by = Px(y2);
  const int pw = PenWidthOf(DrawWidth);
  const double m = pw + 2, W = Width(), H = Height();
  if (std::max(ax, bx) < -m || std::min(ax, bx) > W - 1 + m || std::max(ay, by) < -m ||
      std::min(ay, by) > H - 1 + m)
    return;
  if (pw == 1) {
    // One-pixel lines, solid or patterned, are walked here: a painter per call would cost more
    // than the line itself (the wave draws one segment per pixel column).
    Touch(ThinLine(raster_, static_cast<int64_t>(ax), static_cast<int64_t>(ay), static_cast<int64_t>(bx),
                   static_cast<int64_t>(by), color, DrawStyle));
    return;
  }
  double offset = 0;
  auto far = [&](double x, double y) { return x < -kNear || y < -kNear || x > W + kNear || y > H + kNear; };
  if (far(ax, ay) || far(bx, by)) {
    const double len = std::hypot(bx - ax, by - ay);
    double t0 = 0;
    const double e = m + 16;
    if (!ClipSegment(ax, ay, bx, by, -e, -e, W - 1 + e, H - 1 + e, t0)) return;
    offset = t0 * len;
  }
  {
    QPainter p(&raster_);
    Prepare(p);
    p.setPen(MakePen(color, DrawWidth, DrawStyle, offset));
    if (ax == bx && ay == by)
      p.drawPoint(QPointF(ax, ay));
    else
      p.drawLine(QLineF(ax, ay, bx, by));
  }
  Touch(Around(ax, ay, bx, by, pw + 2));
}

void Canvas::LineRel(double x1, double y1, double a, double b) { Line(x1, y1, x1 + a, y1 + b); }

void Canvas::Polyline(const QPointF* points, int count) {
  if (Recording()) companion_->Record(State(), call::Polyline{companion_->RecordPoints(points, count)});
  Nest nest(*this);
  if (!OwnPixels(raster_)) return;
  if (!points || count < 2) return;
  if (PenWidthOf(DrawWidth) != 1) {
    for (int i = 1; i < count; ++i)
      Line(points[i - 1].x(), points[i - 1].y(), points[i].x(), points[i].y(), ForeColor);
    return;
  }
  // The same pixels as one Line call per segment, the damage taken once.
  QRect touched;
  for (int i = 1; i < count; ++i) {
    const QPointF& a = points[i - 1];
    const QPointF& b = points[i];
    if (!Finite({a.x(), a.y(), b.x(), b.y()})) continue;
    touched |= ThinLine(raster_, RoundHalfEven(a.x()), RoundHalfEven(a.y()), RoundHalfEven(b.x()),
                        RoundHalfEven(b.y()), ForeColor, DrawStyle);
  }
  Touch(touched);
}

void Canvas::Path(const QPointF* points, int count, bool closed) {
  if (Recording()) companion_->Record(State(), call::Path{companion_->RecordPoints(points, count), closed});
  Nest nest(*this);
  if (!OwnPixels(raster_)) return;
  if (!points || count < 1) return;
  for (int i = 0; i < count; ++i)
    if (!Finite({points[i].x(), points[i].y()})) return;
  if (count == 1) {
    Line(points[0].x(), points[0].y(), points[0].x(), points[0].y(), ForeColor);
    return;
  }
  const int pw = PenWidthOf(DrawWidth);
  const double W = Width(), H = Height();
  if (pw != 1) {
    bool near = true;
    for (int i = 0; i < count && near; ++i)
      near = points[i].x() > -kNear && points[i].y() > -kNear && points[i].x() < W + kNear &&
             points[i].y() < H + kNear;
    if (!near) {
      // Far points: each segment is clipped on its own (wide lines are solid, so no pattern is lost).
      for (int i = 1; i < count; ++i)
        Line(points[i - 1].x(), points[i - 1].y(), points[i].x(), points[i].y(), ForeColor);
      if (closed) Line(points[count - 1].x(), points[count - 1].y(), points[0].x(), points[0].y(), ForeColor);
      return;
    }
    QPolygonF poly;
    poly.reserve(count);
    double x0 = 1e18, y0 = 1e18, x1 = -1e18, y1 = -1e18;
    for (int i = 0; i < count; ++i) {
      const QPointF p(Px(points[i].x()), Px(points[i].y()));
      poly << p;
      x0 = std::min(x0, p.x()), y0 = std::min(y0, p.y()), x1 = std::max(x1, p.x()), y1 = std::max(y1, p.y());
    }
    {
      QPainter p(&raster_);
      Prepare(p);
      QPen pen = MakePen(ForeColor, DrawWidth, DrawStyle);
      pen.setJoinStyle(Qt::RoundJoin);
      p.setPen(pen);
      p.setBrush(Qt::NoBrush);
      if (closed)
        p.drawPolygon(poly);
      else
        p.drawPolyline(poly);
    }
    Touch(Around(x0, y0, x1, y1, pw + 2));
    return;
  }
  // One pixel wide: a chain of walked lines, each leaving its end pixel to the next so that the
  // dash phase runs on; the last end pixel is drawn unless the path closes on its start (drawn first).
  QRect touched;
  int phase = 0;
  const int segments = closed ? count : count - 1;
  // A step to a neighbouring pixel draws just its start pixel: done here, without the walk (curves
  // are mostly such steps).
  const DashPattern pattern = PatternOf(DrawStyle);
  const uint32_t px = ForeColor | kOpaque;
  int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
  auto inside = [this](int64_t x, int64_t y) { return x >= 0 && y >= 0 && x < Width() && y < Height(); };
  uchar* const bits = raster_.bits();
  const qsizetype stride = raster_.bytesPerLine() / 4;
  // A solid segment with both ends on the picture, walked here without clipping: the pixels of
  // the line walker (the minor coordinate rounded, a tie towards the larger), the end pixel left
  // to the next segment.
  auto WalkWithin = [&](int64_t ax, int64_t ay, int64_t bx, int64_t by) {
    const int64_t dx = bx - ax, dy = by - ay;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    int64_t u0 = xMajor ? ax : ay, v0 = xMajor ? ay : ax, du = xMajor ? dx : dy, dv = xMajor ? dy : dx;
    const bool reversed = du < 0;
    if (reversed) u0 += du, v0 += dv, du = -du, dv = -dv;
    const int64_t skip = reversed ? 0 : du;  // the end pixel, at step du forwards, 0 backwards
    // One step along u moves by `uStep` pixels in memory, one along v by `vStep`.
    const qsizetype uStep = xMajor ? 1 : stride, vStep = xMajor ? stride : 1;
    uint32_t* at = reinterpret_cast<uint32_t*>(bits) + (xMajor ? v0 * stride + u0 : u0 * stride + v0);
    int64_t r = du;
    for (int64_t i = 0; i <= du; ++i, at += uStep) {
      if (i != skip) *at = px;
      r += 2 * dv;
      if (dv > 0) {
        if (r >= 2 * du) r -= 2 * du, at += vStep;
      } else if (r < 0) {
        r += 2 * du, at -= vStep;
      }
    }
    minX = std::min<int>(minX, static_cast<int>(std::min(ax, bx)));
    maxX = std::max<int>(maxX, static_cast<int>(std::max(ax, bx)));
    minY = std::min<int>(minY, static_cast<int>(std::min(ay, by)));
    maxY = std::max<int>(maxY, static_cast<int>(std::max(ay, by)));
  };
  for (int i = 0; i < segments; ++i) {
    const QPointF& a = points[i];
    const QPointF& b = points[(i + 1) % count];
    const int64_t ax = RoundHalfEven(a.x()), ay = RoundHalfEven(a.y());
    const int64_t bx = RoundHalfEven(b.x()), by = RoundHalfEven(b.y());
    if (ax == bx && ay == by) continue;
    if (std::abs(bx - ax) <= 1 && std::abs(by - ay) <= 1) {
      if ((!pattern.on || pattern.on[phase]) && ax >= 0 && ay >= 0 && ax < Width() && ay < Height()) {
        const int x = static_cast<int>(ax), y = static_cast<int>(ay);
        reinterpret_cast<uint32_t*>(bits)[y * stride + x] = px;
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
      if (pattern.on && ++phase == pattern.period) phase = 0;
      continue;
    }
    if (!pattern.on && inside(ax, ay) && inside(bx, by)) {
      WalkWithin(ax, ay, bx, by);
      continue;
    }
    touched |= ThinLine(raster_, ax, ay, bx, by, ForeColor, DrawStyle, phase, false, &phase);
  }
  if (minX <= maxX) touched |= QRect(QPoint(minX, minY), QPoint(maxX, maxY));
  if (!closed) {
    const QPointF& last = points[count - 1];
    touched |= ThinLine(raster_, RoundHalfEven(last.x()), RoundHalfEven(last.y()), RoundHalfEven(last.x()),
                        RoundHalfEven(last.y()), ForeColor, DrawStyle, phase);
  }
  Touch(touched);
}

void Canvas::Box(double x1, double y1, double x2, double y2) {
  if (Recording()) companion_->Record(State(), call::Box{x1, y1, x2, y2});
  Nest nest(*this);
  if (!OwnPixels(raster_)) return;
  if (!Finite({x1, y1, x2, y2})) return;
  double l = Px(std::min(x1, x2)), r = Px(std::max(x1, x2));
  double t = Px(std::min(y1, y2)), b = Px(std::max(y1, y2));
  const int pw = PenWidthOf(DrawWidth);
  const double m = pw + 2, W = Width(), H = Height();
  if (r < -m || l > W - 1 + m || b < -m || t > H - 1 + m) return;
  // Edges beyond the raster move to just outside it: the pixels on the raster stay the same.
  const int L = static_cast<int>(std::max(l, -m)), R = static_cast<int>(std::min(r, W - 1 + m));
  const int T = static_cast<int>(std::max(t, -m)), B = static_cast<int>(std::min(b, H - 1 + m));
  if ((L == R || T == B) && pw == 1) {
    ThinLine(raster_, L, T, R, B, ForeColor, DrawStyle);
  } else if (L == R || T == B) {
    QPainter p(&raster_);
    Prepare(p);
    p.setPen(MakePen(ForeColor, DrawWidth, DrawStyle));
    if (L == R && T == B)
      p.drawPoint(QPoint(L, T));
    else
      p.drawLine(QLine(L, T, R, B));
  } else {
    QPainter p(&raster_);
    Prepare(p);
    // Interior first, exactly the pixels inside the outline, hatches aligned to the origin.
    const QBrush brush = MakeBrush(FillStyle, FillColor);
    if (brush.style() != Qt::NoBrush && R - L >= 2 && B - T >= 2) {
      p.setPen(Qt::NoPen);
      p.setBrush(brush);
      p.drawRect(QRect(L + 1, T + 1, R - L - 1, B - T - 1));
    }
    if (pw == 1) {
      // Qt's one-pixel stroke loses a corner pixel when the box runs off the raster, so the
      // one-pixel outline is walked here, the dash pattern running round from the top-left.
      p.end();
      OutlineBox(raster_, L, T, R, B, ForeColor, DrawStyle);
    } else {
      p.setPen(MakePen(ForeColor, DrawWidth, DrawStyle));
      p.setBrush(Qt::NoBrush);
      const QPoint corners[4] = {QPoint(L, T), QPoint(R, T), QPoint(R, B), QPoint(L, B)};
      p.drawPolygon(corners, 4);
    }
  }
  Touch(QRect(QPoint(L - pw - 2, T - pw - 2), QPoint(R + pw + 2, B + pw + 2)));
}

void Canvas::BoxRel(double x, double y, double a, double b) { Box(x, y, x + a, y + b); }

void Canvas::FilledBoxRel(double x, double y, double a, double b, QRgb color) {
  if (Recording()) companion_->Record(State(), call::FilledBox{x, y, a, b, color});
  Nest nest(*this);
  if (!OwnPixels(raster_)) return;
  if (!Finite({x, y, a, b})) return;
  const double x2 = x + a, y2 = y + b;
  if (!Finite({x2, y2})) return;
  const double l = std::max(0.0, Px(std::min(x, x2))), r = std::min(Width() - 1.0, Px(std::max(x, x2)));
  const double t = std::max(0.0, Px(std::min(y, y2))), btm = std::min(Height() - 1.0, Px(std::max(y, y2)));
  if (l > r || t > btm) return;
  const int L = static_cast<int>(l), R = static_cast<int>(r), T = static_cast<int>(t), B = static_cast<int>(btm);
  const uint32_t px = color | kOpaque;
  for (int yy = T; yy <= B; ++yy) {
    auto* row = reinterpret_cast<uint32_t*>(raster_.scanLine(yy));
    std::fill(row + L, row + R + 1, px);
  }
  Touch(QRect(QPoint(L, T), QPoint(R, B)));
}
