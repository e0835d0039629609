// Replaying the canvas's recorded drawing calls on its companion at k times the detail.
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "figures/Canvas.h"
#include "figures/FloodFill.h"
#include "figures/PixelLanes.h"
#include "figures/Raster.h"
#include "figures/TextLayout.h"

using namespace raster;

namespace {

// The colour a scratch picture is cleared to when a call is drawn on it to learn its pixels, and
// the colour that stands for it when a call draws in exactly that colour.
constexpr QRgb kUnpainted = 0xFF010203u;
constexpr QRgb kStandIn = 0xFF040506u;

// Pixels l ... r of a row take the colour, four at a time: a stroke's rows are far apart in
// memory, and fewer, wider writes keep more of them on their way at once.
void FillSpan(uint32_t* row, int l, int r, uint32_t px) {
  const lanes::Quad v = lanes::Splat(px);
  int x = l;
  for (; x + 4 <= r + 1; x += 4) lanes::Store(row + x, v);
  if (x <= r && r - l >= 3) {
    lanes::Store(row + r - 3, v);
    return;
  }
  for (; x <= r; ++x) row[x] = px;
}

}  // namespace

// Replays the recorded calls on the companion. Calls whose pixels must match the picture's exactly
// (axis-aligned strokes, boxes, single pixels, patterned strokes) are drawn at 1x on a scratch
// picture and their pixels enlarged into blocks; slants, curves and filled shapes are drawn along
// their geometry at k x the size; pictures are copied at k x; fills follow the 1x fill's region.
class CompanionReplay {
 public:
  CompanionReplay(const Canvas& c, BlockMarks& marks) : c_(c), k_(c.k_), out_(c.companion_), marks_(marks) {}
  ~CompanionReplay() { EndPainter(); }

  void Run() {
    for (const CanvasCall& call : c_.calls_) {
      Replay(call);
    }
    EndPainter();
  }

 private:
  // 1x position (a pixel's centre at whole numbers) to the companion's.
  double M(double v) const { return k_ * v + (k_ - 1) / 2.0; }

  QPainter& Painter() {
    if (!painter_) {
      painter_.emplace(&out_);
      Prepare(*painter_);
    }
    return *painter_;
  }
  void EndPainter() { painter_.reset(); }

  // Notes the companion's rectangle `r`, grown by the pen's width, as drawn.
  void Mark(const QRectF& r, double pen) {
    const QRectF g = r.adjusted(-pen - 2, -pen - 2, pen + 2, pen + 2);
    if (!std::isfinite(g.left()) || !std::isfinite(g.right()) || !std::isfinite(g.top()) || !std::isfinite(g.bottom())) return;
    Touch(g.toAlignedRect());
  }
  // Notes the companion pixels `r` as drawn: their blocks are checked against the picture.
  void Touch(const QRect& companionRect) {
    const QRect r = companionRect & out_.rect();
    if (r.isEmpty()) return;
    touched_ |= r;
    for (int y = r.top() / k_; y <= r.bottom() / k_; ++y) marks_.Mark(y, r.left() / k_, r.right() / k_);
  }

  // A straight stroke from a to b (companion positions) of half-width h with square ends: every
  // companion pixel whose centre lies in the rectangle round the segment, grown by h at its ends.
  void Stroke(QPointF a, QPointF b, double h, QRgb color) {
    const double dx = b.x() - a.x(), dy = b.y() - a.y(), len = std::hypot(dx, dy);
    double ux = 1, uy = 0;
    if (len > 1e-9) ux = dx / len, uy = dy / len;
    // The rectangle's rows: its middle plus or minus the reach of both half-sides.
    const double cx = (a.x() + b.x()) / 2, cy = (a.y() + b.y()) / 2, along = len / 2 + h;
    const double reach = std::abs(uy) * along + std::abs(ux) * h;
    const int top = std::max(0, static_cast<int>(std::ceil(cy - reach)));
    const int bottom = std::min(out_.height() - 1, static_cast<int>(std::floor(cy + reach)));
    if (top > bottom) return;
    EndPainter();
    const uint32_t px = color | kOpaque;
    uchar* bits = out_.bits();
    const qsizetype stride = out_.bytesPerLine();
    const int right = out_.width() - 1;
    // Row Y meets the rectangle where both its bands hold: along the segment |(P - c).u| <= len/2
    // + h, across it |(P - c).n| <= h, with c the segment's middle and n = (-uy, ux). A band
    // parallel to the rows bounds only which rows there are.
    constexpr double kFlat = 1e-12;
    const bool alongBounds = std::abs(ux) > kFlat, acrossBounds = std::abs(uy) > kFlat;
    const double invAlong = alongBounds ? 1 / ux : 0, invAcross = acrossBounds ? -1 / uy : 0;
    int minX = INT32_MAX, maxX = -1;
    for (int Y = top; Y <= bottom; ++Y) {
      double xl = -1e300, xr = 1e300;
      if (alongBounds) {
        const double t = (Y - cy) * uy, p = (-along - t) * invAlong, r = (along - t) * invAlong;
        xl = std::max(xl, std::min(p, r)), xr = std::min(xr, std::max(p, r));
      }
      if (acrossBounds) {
        const double t = (Y - cy) * ux, p = (-h - t) * invAcross, r = (h - t) * invAcross;
        xl = std::max(xl, std::min(p, r)), xr = std::min(xr, std::max(p, r));
      }
      xl += cx, xr += cx;
      if (!(xl <= xr)) continue;
      const int L = static_cast<int>(std::max(0.0, std::ceil(xl)));
      const int R = static_cast<int>(std::min(static_cast<double>(right), std::floor(xr)));
      if (L > R) continue;
      FillSpan(reinterpret_cast<uint32_t*>(bits + Y * stride), L, R, px);
      marks_.Mark(Y / k_, L / k_, R / k_);
      minX = std::min(minX, L), maxX = std::max(maxX, R);
    }
    if (maxX >= 0) touched_ |= QRect(QPoint(minX, top), QPoint(maxX, bottom));
  }
  // The half-width of the call's pen at k: a one-pixel pen half a companion pixel more, so that
  // the block its centre line passes through is always mostly its colour (a stroke exactly one
  // block wide that runs along a boundary between blocks would give two half-covered blocks).
  double HalfWidth(const CanvasCall& call) const {
    const int w = PenWidthOf(call.drawWidth);
    return (k_ * w + (w == 1 ? 1 : 0)) / 2.0;
  }

 public:
  // The picture's pixels whose blocks the replay may have changed.
  QRect Touched() const {
    const QRect t = touched_ & out_.rect();
    if (t.isEmpty()) return QRect();
    return QRect(QPoint(t.left() / k_, t.top() / k_), QPoint(t.right() / k_, t.bottom() / k_));
  }

 private:

  // k x the width; a one-pixel pen one companion pixel wider, so that the block its centre line
  // passes through is always mostly its colour (a line of exactly one block's width that runs
  // along a boundary between blocks would give two half-covered blocks).
  QPen PenOf(const CanvasCall& call, QRgb color, Qt::PenJoinStyle join = Qt::RoundJoin) const {
    const int w = PenWidthOf(call.drawWidth);
    return QPen(QColor::fromRgb(color), k_ * w + (w == 1 ? 1 : 0), Qt::SolidLine, Qt::SquareCap, join);
  }
  // The hatch of the picture with every pattern pixel k x k: an 8k tile of k-wide lines.
  QBrush BrushOf(const CanvasCall& call) const {
    const uint8_t* rows = HatchRows(call.fillStyle);
    if (!rows) return MakeBrush(call.fillStyle, call.fill);
    // A painter does not scale its hatch brushes: the tile is made here, transparent in its gaps.
    QImage tile(8 * k_, 8 * k_, QImage::Format_ARGB32);
    for (int y = 0; y < tile.height(); ++y) {
      auto* row = reinterpret_cast<uint32_t*>(tile.scanLine(y));
      for (int x = 0; x < tile.width(); ++x) row[x] = HatchPaints(rows, x / k_, y / k_) ? (call.fill | kOpaque) : 0u;
    }
    return QBrush(tile);
  }
  static bool Patterned(const CanvasCall& call) { return PenWidthOf(call.drawWidth) == 1 && call.drawStyle != Canvas::kSolid; }

  void Replay(const CanvasCall& call) {
    switch (call.kind) {
      case CanvasCall::Kind::Line: return LineCall(call, call.v[0], call.v[1], call.v[2], call.v[3], call.color);
      case CanvasCall::Kind::Polyline:
        if (Patterned(call)) return Enlarge(call);
        for (int i = 1; i < call.count; ++i) {
          const QPointF& a = c_.callPoints_[call.first + i - 1];
          const QPointF& b = c_.callPoints_[call.first + i];
          LineCall(call, a.x(), a.y(), b.x(), b.y(), call.fore);
        }
        return;
      case CanvasCall::Kind::Path: return PathCall(call);
      case CanvasCall::Kind::Box:
      case CanvasCall::Kind::FilledBox:
      case CanvasCall::Kind::SetPixel: return Enlarge(call);
      case CanvasCall::Kind::PSet:
        if (PenWidthOf(call.drawWidth) == 1) return Enlarge(call);
        return Dot(call);
      case CanvasCall::Kind::Circle:
      case CanvasCall::Kind::Ellipse:
        if (Patterned(call)) return Enlarge(call);
        return EllipseCall(call);
      case CanvasCall::Kind::RoundRect:
        if (Patterned(call)) return Enlarge(call);
        return RoundRectCall(call);
      case CanvasCall::Kind::Polygon:
        if (Patterned(call)) return Enlarge(call);
        return PolygonCall(call);
      case CanvasCall::Kind::Picture: return PictureCall(call);
      case CanvasCall::Kind::FloodFill: return FillCall(call);
      case CanvasCall::Kind::Text: return TextCall(call);
    }
  }

  // ---- Calls whose pixels are enlarged ----

  // Draws the call at 1x on the scratch picture and gives each pixel it painted a k x k block.
  void Enlarge(const CanvasCall& call) {
    if (!PrepareScratch()) return;
    Canvas& s = scratch_;
    bool standing = false;
    auto stand = [&standing](QRgb c) {
      if ((c | kOpaque) != kUnpainted) return c;
      standing = true;
      return kStandIn;
    };
    s.ForeColor = stand(call.fore);
    s.FillColor = stand(call.fill);
    s.FillStyle = call.fillStyle;
    s.DrawStyle = call.drawStyle;
    s.DrawWidth = call.drawWidth;
    const double* v = call.v;
    const QPointF* pts = call.count > 0 ? &c_.callPoints_[call.first] : nullptr;
    switch (call.kind) {
      case CanvasCall::Kind::Line: s.Line(v[0], v[1], v[2], v[3], stand(call.color)); break;
      case CanvasCall::Kind::Polyline: s.Polyline(pts, call.count); break;
      case CanvasCall::Kind::Path: s.Path(pts, call.count, call.flag); break;
      case CanvasCall::Kind::Box: s.Box(v[0], v[1], v[2], v[3]); break;
      case CanvasCall::Kind::FilledBox: s.FilledBoxRel(v[0], v[1], v[2], v[3], stand(call.color)); break;
      case CanvasCall::Kind::SetPixel: s.SetPixel(static_cast<int>(v[0]), static_cast<int>(v[1]), stand(call.color)); break;
      case CanvasCall::Kind::PSet: s.PSet(v[0], v[1]); break;
      case CanvasCall::Kind::Circle: s.Circle(v[0], v[1], v[2]); break;
      case CanvasCall::Kind::Ellipse:
        s.Ellipse(static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]), static_cast<int>(v[3]));
        break;
      case CanvasCall::Kind::RoundRect:
        s.RoundRect(static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]), static_cast<int>(v[3]),
                    static_cast<int>(v[4]), static_cast<int>(v[5]));
        break;
      case CanvasCall::Kind::Polygon: {
        std::vector<QPoint> ints;
        ints.reserve(static_cast<size_t>(call.count));
        for (int i = 0; i < call.count; ++i) ints.emplace_back(static_cast<int>(pts[i].x()), static_cast<int>(pts[i].y()));
        s.Polygon(ints.data(), call.count);
        break;
      }
      default: break;
    }
    const QRect d = s.damage_ & s.raster_.rect();
    s.damage_ = QRect();
    if (d.isEmpty()) return;
    touched_ |= QRect(d.x() * k_, d.y() * k_, d.width() * k_, d.height() * k_);
    EndPainter();
    auto* base = reinterpret_cast<uint32_t*>(s.raster_.bits());
    const qsizetype stride = s.raster_.bytesPerLine() / 4;
    for (int y = d.top(); y <= d.bottom(); ++y) {
      uint32_t* row = base + y * stride;
      for (int x = d.left(); x <= d.right(); ++x) {
        const uint32_t p = row[x];
        if (p == kUnpainted) continue;
        Block(x, y, p == kStandIn && standing ? kUnpainted : p);
        row[x] = kUnpainted;
        // An exact block is sound itself, but what it covered may have been the only block of
        // a colour its neighbours need.
        marks_.Set(x, y);
      }
    }
  }

  void Block(int x, int y, QRgb color) {
    const uint32_t px = color | kOpaque;
    for (int j = 0; j < k_; ++j) {
      auto* row = reinterpret_cast<uint32_t*>(out_.scanLine(y * k_ + j)) + x * k_;
      std::fill(row, row + k_, px);
    }
  }

  // The scratch picture: the picture's size, every pixel kUnpainted, no companion of its own.
  bool PrepareScratch() {
    if (swapped_) return true;
    QImage& img = c_.scratch_;
    if (img.size() != c_.raster_.size()) {
      img = QImage(c_.raster_.size(), QImage::Format_RGB32);
      if (img.isNull()) return false;
      img.fill(kUnpainted);
    }
    std::swap(scratch_.raster_, img);
    swapped_ = true;
    return true;
  }

 public:
  // Hands the scratch picture back to the canvas for the next replay.
  void ReturnScratch() {
    if (swapped_) std::swap(scratch_.raster_, c_.scratch_);
    swapped_ = false;
  }

 private:
  // ---- Calls drawn along their geometry ----

  void LineCall(const CanvasCall& call, double x1, double y1, double x2, double y2, QRgb color) {
    if (!Finite({x1, y1, x2, y2})) return;
    const double ax = Px(x1), ay = Px(y1), bx = Px(x2), by = Px(y2);
    // An axis-aligned or patterned line covers exactly its pixels' blocks.
    if (ax == bx || ay == by || Patterned(call)) {
      CanvasCall one = call;
      one.kind = CanvasCall::Kind::Line;
      one.color = color;
      one.v[0] = x1, one.v[1] = y1, one.v[2] = x2, one.v[3] = y2;
      return Enlarge(one);
    }
    const int pw = PenWidthOf(call.drawWidth);
    const double m = pw + 2, W = c_.Width(), H = c_.Height();
    if (std::max(ax, bx) < -m || std::min(ax, bx) > W - 1 + m || std::max(ay, by) < -m || std::min(ay, by) > H - 1 + m)
      return;
    double px1 = x1, py1 = y1, px2 = x2, py2 = y2, t0 = 0;
    const double e = m + 16;
    auto far = [&](double x, double y) { return x < -kNear || y < -kNear || x > W + kNear || y > H + kNear; };
    if ((far(px1, py1) || far(px2, py2)) && !ClipSegment(px1, py1, px2, py2, -e, -e, W - 1 + e, H - 1 + e, t0)) return;
    Stroke(QPointF(M(px1), M(py1)), QPointF(M(px2), M(py2)), HalfWidth(call), color);
  }

  void PathCall(const CanvasCall& call) {
    if (call.count < 1) return;
    const QPointF* pts = &c_.callPoints_[call.first];
    for (int i = 0; i < call.count; ++i)
      if (!Finite({pts[i].x(), pts[i].y()})) return;
    if (call.count == 1 || Patterned(call)) return Enlarge(call);
    const double W = c_.Width(), H = c_.Height();
    bool near = true;
    for (int i = 0; i < call.count && near; ++i)
      near = pts[i].x() > -kNear && pts[i].y() > -kNear && pts[i].x() < W + kNear && pts[i].y() < H + kNear;
    if (!near) {
      for (int i = 1; i < call.count; ++i) LineCall(call, pts[i - 1].x(), pts[i - 1].y(), pts[i].x(), pts[i].y(), call.fore);
      if (call.flag)
        LineCall(call, pts[call.count - 1].x(), pts[call.count - 1].y(), pts[0].x(), pts[0].y(), call.fore);
      return;
    }
    const double h = HalfWidth(call);
    const int segments = call.flag ? call.count : call.count - 1;
    for (int i = 0; i < segments; ++i) {
      const QPointF& a = pts[i];
      const QPointF& b = pts[(i + 1) % call.count];
      Stroke(QPointF(M(a.x()), M(a.y())), QPointF(M(b.x()), M(b.y())), h, call.fore);
    }
  }

  // A round dot of DrawWidth: the companion pixels whose centres lie within k x half the width.
  void Dot(const CanvasCall& call) {
    if (!Finite({call.v[0], call.v[1]})) return;
    const int w = PenWidthOf(call.drawWidth);
    const double fx = Px(call.v[0]), fy = Px(call.v[1]);
    if (fx < -w || fy < -w || fx > c_.Width() + w || fy > c_.Height() + w) return;
    const double shift = (w % 2 == 0) ? 0.5 : 0.0;
    const double cx = M(fx - shift), cy = M(fy - shift), r = k_ * w / 2.0, r2 = r * r;
    const int x0 = std::max(0, static_cast<int>(std::floor(cx - r))), x1 = std::min(out_.width() - 1, static_cast<int>(std::ceil(cx + r)));
    const int y0 = std::max(0, static_cast<int>(std::floor(cy - r))), y1 = std::min(out_.height() - 1, static_cast<int>(std::ceil(cy + r)));
    EndPainter();
    const uint32_t px = call.fore | kOpaque;
    Touch(QRect(QPoint(x0, y0), QPoint(x1, y1)));
    for (int y = y0; y <= y1; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(out_.scanLine(y));
      for (int x = x0; x <= x1; ++x)
        if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r2) row[x] = px;
    }
  }

  void EllipseCall(const CanvasCall& call) {
    double cx, cy, a, b;
    if (call.kind == CanvasCall::Kind::Circle) {
      if (!Finite({call.v[0], call.v[1], call.v[2]})) return;
      const double rr = Px(call.v[2]);
      if (rr < 0) return;
      cx = call.v[0], cy = call.v[1], a = b = call.v[2];
    } else {
      const double l = std::min(call.v[0], call.v[2]), r = std::max(call.v[0], call.v[2]);
      const double t = std::min(call.v[1], call.v[3]), btm = std::max(call.v[1], call.v[3]);
      cx = (l + r) / 2, cy = (t + btm) / 2, a = (r - l) / 2, b = (btm - t) / 2;
    }
    const int pw = PenWidthOf(call.drawWidth);
    const double m = pw + 2, W = c_.Width(), H = c_.Height();
    if (cx + a < -m || cx - a > W - 1 + m || cy + b < -m || cy - b > H - 1 + m) return;
    // Row by row about its centre, so that the ellipse and its mirror image have mirrored
    // companions; the pen as PenOf makes it.
    EndPainter();
    const int pen = k_ * pw + (pw == 1 ? 1 : 0);
    Touch(BigEllipse(out_, M(cx), M(cy), k_ * a, k_ * b, pen, call.fore, call.fillStyle, call.fill, k_));
  }

  void RoundRectCall(const CanvasCall& call) {
    double l = std::min(call.v[0], call.v[2]), r = std::max(call.v[0], call.v[2]);
    double t = std::min(call.v[1], call.v[3]), b = std::max(call.v[1], call.v[3]);
    const int pw = PenWidthOf(call.drawWidth);
    const double W = c_.Width(), H = c_.Height(), m0 = pw + 2;
    if (r < -m0 || l > W - 1 + m0 || b < -m0 || t > H - 1 + m0) return;
    const double rx = std::min({std::abs(call.v[4]) / 2, (r - l) / 2, kBigShape});
    const double ry = std::min({std::abs(call.v[5]) / 2, (b - t) / 2, kBigShape});
    const double mx = m0 + 2 * rx + 2 + kNear, my = m0 + 2 * ry + 2 + kNear;
    l = std::max(l, -mx), r = std::min(r, W - 1 + mx), t = std::max(t, -my), b = std::min(b, H - 1 + my);
    QPainter& p = Painter();
    p.setPen(PenOf(call, call.fore));
    p.setBrush(BrushOf(call));
    const QRectF box(M(l), M(t), k_ * (r - l), k_ * (b - t));
    if (rx <= 0 || ry <= 0)
      p.drawRect(box);
    else
      p.drawRoundedRect(box, k_ * rx, k_ * ry, Qt::AbsoluteSize);
    Mark(box, p.pen().widthF());
  }

  void PolygonCall(const CanvasCall& call) {
    if (call.count < 1) return;
    const QPointF* pts = &c_.callPoints_[call.first];
    const int pw = PenWidthOf(call.drawWidth);
    const double m = pw + 2, W = c_.Width(), H = c_.Height();
    QPolygonF poly;
    bool far = false;
    double x0 = 1e18, y0 = 1e18, x1 = -1e18, y1 = -1e18;
    for (int i = 0; i < call.count; ++i) {
      poly << pts[i];
      far = far || pts[i].x() < -kNear || pts[i].y() < -kNear || pts[i].x() > W + kNear || pts[i].y() > H + kNear;
      x0 = std::min(x0, pts[i].x()), y0 = std::min(y0, pts[i].y()), x1 = std::max(x1, pts[i].x()), y1 = std::max(y1, pts[i].y());
    }
    if (x1 < -m || x0 > W - 1 + m || y1 < -m || y0 > H - 1 + m) return;
    if (poly.size() == 1) return Enlarge(call);
    if (far) {
      const double e = m + 16;
      poly = ClipPolygon(poly, -e, -e, W - 1 + e, H - 1 + e);
      if (poly.isEmpty()) return;
    }
    QPolygonF mapped;
    mapped.reserve(poly.size());
    for (const QPointF& q : poly) mapped << QPointF(M(q.x()), M(q.y()));
    const QBrush brush = BrushOf(call);
    if (brush.style() != Qt::NoBrush && mapped.size() >= 3) {
      QPainter& p = Painter();
      p.setPen(Qt::NoPen);
      p.setBrush(brush);
      // As at 1x: under a one-pixel outline the interior is the pixels whose centres lie inside.
      p.drawPolygon(pw == 1 ? mapped.translated(0.5, 0.5) : mapped);
      Mark(mapped.boundingRect(), 0);
    }
    if (pw == 1) {
      // The one-pixel outline over it, its sides as strokes.
      const double h = HalfWidth(call);
      for (int i = 0; i < mapped.size(); ++i) Stroke(mapped[i], mapped[(i + 1) % mapped.size()], h, call.fore);
      return;
    }
    // A wide outline has mitred corners, as at 1x.
    QPainter& p = Painter();
    p.setPen(PenOf(call, call.fore, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(mapped);
    Mark(mapped.boundingRect(), 3.0 * k_ * pw);
  }

  // ---- Pictures, fills and text ----

  void PictureCall(const CanvasCall& call) {
    const CanvasCallData& d = c_.callData_[static_cast<size_t>(call.data)];
    const int64_t dx = static_cast<int64_t>(call.v[0]), dy = static_cast<int64_t>(call.v[1]);
    const int64_t dw = static_cast<int64_t>(call.v[2]), dh = static_cast<int64_t>(call.v[3]);
    const int64_t sx = static_cast<int64_t>(call.v[4]), sy = static_cast<int64_t>(call.v[5]);
    const int64_t sw = static_cast<int64_t>(call.v[6]), sh = static_cast<int64_t>(call.v[7]);
    const bool mx = call.v[8] != 0, my = call.v[9] != 0;
    const auto op = call.flag ? Canvas::RasterOp::And : Canvas::RasterOp::Copy;
    const int64_t k = k_;
    EndPainter();
    const bool ownCompanion = !d.companion.isNull() && d.companion.size() == d.image.size() * k_;
    if (ownCompanion) {
      Touch(Blit(out_, d.companion, k * dx, k * dy, k * dw, k * dh, k * sx, k * sy, k * sw, k * sh, mx, my, op));
      return;
    }
    if (dw == sw && dh == sh) {
      // The source's rectangle enlarged: its pixels fall on exactly their blocks.
      const QImage big = Enlarged(d.image, k_);
      Touch(Blit(out_, big, k * dx, k * dy, k * dw, k * dh, k * sx, k * sy, k * sw, k * sh, mx, my, op));
      return;
    }
    // Scaled: the picture as the 1x call drew it, then enlarged.
    if (dw <= 0 || dh <= 0 || dw * dh > (int64_t{1} << 26)) return;
    QImage tile(static_cast<int>(dw), static_cast<int>(dh), QImage::Format_RGB32);
    if (tile.isNull()) return;
    tile.fill(kWhite);
    Blit(tile, d.image, 0, 0, dw, dh, sx, sy, sw, sh, mx, my, Canvas::RasterOp::Copy);
    const QImage big = Enlarged(tile, k_);
    Touch(Blit(out_, big, k * dx, k * dy, k * dw, k * dh, 0, 0, k * dw, k * dh, false, false, op));
  }

  // The fill at k: the 1x fill's region is found again on the picture as it was before the fill;
  // every companion pixel of the region's colour inside the region's blocks is filled, and so are
  // such pixels connected to them within one block of the region (the companion's smoother lines
  // leave slivers of the region's colour beside its blocks), never farther.
  void FillCall(const CanvasCall& call) {
    const CanvasCallData& d = c_.callData_[static_cast<size_t>(call.data)];
    const QImage& before = d.image;
    const int W = before.width(), H = before.height();
    const int sx = static_cast<int>(call.v[0]), sy = static_cast<int>(call.v[1]);
    const int fillType = static_cast<int>(call.v[2]);
    if (sx < 0 || sy < 0 || sx >= W || sy >= H || call.fillStyle == Canvas::kFillTransparent) return;
    const uint8_t* hatch = HatchRows(call.fillStyle);
    if (call.fillStyle != Canvas::kFillSolid && !hatch) return;
    const uint32_t target = call.color | kOpaque;
    auto pixelAt = [&](const QImage& img, int x, int y) {
      return reinterpret_cast<const uint32_t*>(img.constScanLine(y))[x] | kOpaque;
    };
    auto matches = [&](uint32_t p) { return fillType == 1 ? p == target : p != target; };
    if (!matches(pixelAt(before, sx, sy))) return;
    // The 1x region, 4-connected.
    std::vector<uint8_t> region(static_cast<size_t>(W) * H, 0);
    std::vector<std::pair<int, int>> stack{{sx, sy}};
    region[static_cast<size_t>(sy) * W + sx] = 1;
    while (!stack.empty()) {
      auto [x, y] = stack.back();
      stack.pop_back();
      const int nx[4] = {x - 1, x + 1, x, x}, ny[4] = {y, y, y - 1, y + 1};
      for (int i = 0; i < 4; ++i) {
        if (nx[i] < 0 || ny[i] < 0 || nx[i] >= W || ny[i] >= H) continue;
        uint8_t& r = region[static_cast<size_t>(ny[i]) * W + nx[i]];
        if (r || !matches(pixelAt(before, nx[i], ny[i]))) continue;
        r = 1;
        stack.emplace_back(nx[i], ny[i]);
      }
    }
    auto inRegion = [&](int bx, int by) {
      return bx >= 0 && by >= 0 && bx < W && by < H && region[static_cast<size_t>(by) * W + bx];
    };
    auto nearRegion = [&](int bx, int by) {
      for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i)
          if (inRegion(bx + i, by + j)) return true;
      return false;
    };
    EndPainter();
    const int KW = out_.width(), KH = out_.height();
    std::vector<uint8_t> done(static_cast<size_t>(KW) * KH, 0);
    auto* bits = reinterpret_cast<uint32_t*>(out_.bits());
    const qsizetype stride = out_.bytesPerLine() / 4;
    const uint32_t paint = call.fill | kOpaque;
    std::vector<std::pair<int, int>> grow;
    auto take = [&](int X, int Y) {
      done[static_cast<size_t>(Y) * KW + X] = 1;
      grow.emplace_back(X, Y);
    };
    for (int Y = 0; Y < KH; ++Y)
      for (int X = 0; X < KW; ++X)
        if (inRegion(X / k_, Y / k_) && matches(bits[Y * stride + X])) take(X, Y);
    // Pixels are painted only once every connected one is found, so a painted pixel never stops
    // the search (a fill whose colour is the region's own).
    for (size_t i = 0; i < grow.size(); ++i) {
      const auto [X, Y] = grow[i];
      const int nx[4] = {X - 1, X + 1, X, X}, ny[4] = {Y, Y, Y - 1, Y + 1};
      for (int n = 0; n < 4; ++n) {
        if (nx[n] < 0 || ny[n] < 0 || nx[n] >= KW || ny[n] >= KH) continue;
        if (done[static_cast<size_t>(ny[n]) * KW + nx[n]]) continue;
        if (!matches(bits[ny[n] * stride + nx[n]]) || !nearRegion(nx[n] / k_, ny[n] / k_)) continue;
        take(nx[n], ny[n]);
      }
    }
    int fx0 = INT32_MAX, fx1 = -1, fy0 = INT32_MAX, fy1 = -1;
    for (const auto& [X, Y] : grow)
      if (!hatch || HatchPaints(hatch, X / k_, Y / k_)) {
        bits[Y * stride + X] = paint;
        fx0 = std::min(fx0, X), fx1 = std::max(fx1, X), fy0 = std::min(fy0, Y), fy1 = std::max(fy1, Y);
      }
    if (fx1 >= 0) Touch(QRect(QPoint(fx0, fy0), QPoint(fx1, fy1)));
  }

  void TextCall(const CanvasCall& call) {
    const CanvasCallData& d = c_.callData_[static_cast<size_t>(call.data)];
    EndPainter();
    Touch(DrawTextLayout(out_, LayOutText(d.text, d.font), QPointF(k_ * call.v[0], k_ * call.v[1]), k_, call.fore));
  }

  const Canvas& c_;
  const int k_;
  QImage& out_;
  std::optional<QPainter> painter_;
  Canvas scratch_{1, 1};
  bool swapped_ = false;
  QRect touched_;  // companion pixels
  BlockMarks& marks_;  // per picture pixel: its block was drawn by a replayed call
};

void Canvas::CommitCompanion() {
  if (calls_.empty()) return;
  // The first change that reaches an implicit companion gives it its (white) pixels.
  if (k_ > 1 && AllocateCompanion() && raster::OwnPixels(companion_)) {
    QRect touched;
    marks_.Reset(Width(), Height());
    {
      CompanionReplay replay(*this, marks_);
      replay.Run();
      replay.ReturnScratch();
      touched = replay.Touched();
    }
    const QRect around = (damage_ | touched).adjusted(-2, -2, 2, 2) & raster_.rect();
    Reconcile(raster_, companion_, k_, around, &marks_, before_.isNull() ? nullptr : &before_, &beforeGroups_);
    if (!touched.isEmpty()) marks_.ClearRows(touched.top(), touched.bottom());
    companionDamage_ |= QRect(around.x() * k_, around.y() * k_, around.width() * k_, around.height() * k_);
  }
  DropCalls();
}
