// The canvas's high-resolution companion: recording the drawing calls, and replaying them at k
// times the detail.
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "figures/Canvas.h"
#include "figures/FloodFill.h"
#include "figures/Raster.h"
#include "figures/TextLayout.h"

using namespace raster;


namespace {

bool FitsAt(int k, int width, int height) {
  const int64_t area = int64_t{width} * height;
  return k >= 2 && int64_t{k} * k * area <= (int64_t{1} << 24) && int64_t{k} * std::max(width, height) <= 16384;
}

// The colour a scratch picture is cleared to when a call is drawn on it to learn its pixels, and
// the colour that stands for it when a call draws in exactly that colour.
constexpr QRgb kUnpainted = 0xFF010203u;
constexpr QRgb kStandIn = 0xFF040506u;

// Copies the rectangle `r` of `from` into `to` (both of one size).
void CopyRect(const QImage& from, QImage& to, const QRect& r) {
  const QRect c = r & to.rect();
  if (c.isEmpty()) return;
  for (int y = c.top(); y <= c.bottom(); ++y)
    std::memcpy(reinterpret_cast<uint32_t*>(to.scanLine(y)) + c.left(),
                reinterpret_cast<const uint32_t*>(from.constScanLine(y)) + c.left(),
                static_cast<size_t>(c.width()) * 4);
}

// The colour covering more than half of the block (x, y) of the companion, or 0 (mixed).
uint32_t BlockColour(const QImage& big, int k, int x, int y) {
  const uint32_t first = reinterpret_cast<const uint32_t*>(big.constScanLine(y * k))[x * k] | kOpaque;
  int same = 0;
  uint32_t other = 0;
  int otherCount = 0;
  for (int j = 0; j < k; ++j) {
    const auto* row = reinterpret_cast<const uint32_t*>(big.constScanLine(y * k + j)) + x * k;
    for (int i = 0; i < k; ++i) {
      const uint32_t p = row[i] | kOpaque;
      if (p == first) {
        ++same;
      } else if (otherCount == 0 || p == other) {
        other = p;
        ++otherCount;
      }
    }
  }
  if (2 * same > k * k) return first;
  if (2 * otherCount > k * k) return other;
  // Three or more colours: count properly.
  for (int j = 0; j < k; ++j)
    for (int i = 0; i < k; ++i) {
      const uint32_t c = reinterpret_cast<const uint32_t*>(big.constScanLine(y * k + j))[x * k + i] | kOpaque;
      int n = 0;
      for (int jj = 0; jj < k; ++jj)
        for (int ii = 0; ii < k; ++ii)
          n += (reinterpret_cast<const uint32_t*>(big.constScanLine(y * k + jj))[x * k + ii] | kOpaque) == c;
      if (2 * n > k * k) return c;
    }
  return 0;
}

}  // namespace

// Where the replay and the picture disagree by more than a pixel, the companion takes the
// picture's blocks: every coloured picture pixel has a block of its colour within one pixel, and
// every block of one colour has a picture pixel of that colour within one pixel. Replayed curves
// pass between blocks where the picture's rounding chose a pixel; this keeps what prints true to
// what the screen shows. Blocks made exact never need it again, so the work list ends.
namespace raster {
void Reconcile(const QImage& picture, QImage& big, int k, const QRect& area) {
  if (area.isEmpty()) return;
  const int W = picture.width(), H = picture.height();
  const QRect zone = area.adjusted(-1, -1, 1, 1) & picture.rect();
  const int zw = zone.width(), zh = zone.height();
  std::vector<uint32_t> blocks(static_cast<size_t>(zw) * zh);
  auto at = [&](int x, int y) -> uint32_t& { return blocks[static_cast<size_t>(y - zone.top()) * zw + (x - zone.left())]; };
  auto pixel = [&](int x, int y) { return reinterpret_cast<const uint32_t*>(picture.constScanLine(y))[x] | kOpaque; };
  for (int y = zone.top(); y <= zone.bottom(); ++y)
    for (int x = zone.left(); x <= zone.right(); ++x) at(x, y) = BlockColour(big, k, x, y);
  auto inZone = [&](int x, int y) { return zone.contains(x, y); };
  // Beyond the zone the companion was not touched: its blocks count as agreeing.
  auto hasBlock = [&](int x, int y, uint32_t c) {
    for (int j = -1; j <= 1; ++j)
      for (int i = -1; i <= 1; ++i) {
        const int xx = x + i, yy = y + j;
        if (xx < 0 || yy < 0 || xx >= W || yy >= H) continue;
        if (!inZone(xx, yy) || at(xx, yy) == c) return true;
      }
    return false;
  };
  auto hasPixel = [&](int x, int y, uint32_t c) {
    for (int j = -1; j <= 1; ++j)
      for (int i = -1; i <= 1; ++i) {
        const int xx = x + i, yy = y + j;
        if (xx >= 0 && yy >= 0 && xx < W && yy < H && pixel(xx, yy) == c) return true;
      }
    return false;
  };
  auto sound = [&](int x, int y) {
    const uint32_t p = pixel(x, y), b = at(x, y);
    if (p != kWhite && !hasBlock(x, y, p)) return false;
    return b == kWhite || b == 0 || hasPixel(x, y, b);
  };
  std::vector<QPoint> work;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (!sound(x, y)) work.emplace_back(x, y);
  while (!work.empty()) {
    const QPoint q = work.back();
    work.pop_back();
    if (sound(q.x(), q.y())) continue;
    const uint32_t p = pixel(q.x(), q.y());
    for (int j = 0; j < k; ++j) {
      auto* row = reinterpret_cast<uint32_t*>(big.scanLine(q.y() * k + j)) + q.x() * k;
      std::fill(row, row + k, p);
    }
    at(q.x(), q.y()) = p;
    for (int j = -1; j <= 1; ++j)
      for (int i = -1; i <= 1; ++i)
        if (inZone(q.x() + i, q.y() + j) && area.contains(q.x() + i, q.y() + j)) work.emplace_back(q.x() + i, q.y() + j);
  }
}
}  // namespace raster

// Replays the recorded calls on the companion. Calls whose pixels must match the picture's exactly
// (axis-aligned strokes, boxes, single pixels, patterned strokes) are drawn at 1x on a scratch
// picture and their pixels enlarged into blocks; slants, curves and filled shapes are drawn along
// their geometry at k x the size; pictures are copied at k x; fills follow the 1x fill's region.
class CompanionReplay {
 public:
  explicit CompanionReplay(const Canvas& c) : c_(c), k_(c.k_), out_(c.companion_) {}
  ~CompanionReplay() { EndPainter(); }

  void Run() {
    for (const CanvasCall& call : c_.calls_) Replay(call);
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
    touched_ |= g.toAlignedRect() & out_.rect();
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
  QPen PenOf(const CanvasCall& call, QRgb color, Qt::PenJoinStyle join = Qt::MiterJoin) const {
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
    QPainter& p = Painter();
    p.setPen(PenOf(call, color));
    const QLineF line(M(px1), M(py1), M(px2), M(py2));
    p.drawLine(line);
    Mark(QRectF(line.p1(), line.p2()).normalized(), p.pen().widthF());
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
    QPolygonF poly;
    poly.reserve(call.count);
    for (int i = 0; i < call.count; ++i) poly << QPointF(M(pts[i].x()), M(pts[i].y()));
    QPainter& p = Painter();
    p.setPen(PenOf(call, call.fore, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (call.flag)
      p.drawPolygon(poly);
    else
      p.drawPolyline(poly);
    Mark(poly.boundingRect(), p.pen().widthF());
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
    touched_ |= QRect(QPoint(x0, y0), QPoint(x1, y1));
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
    if (a > kBigShape || b > kBigShape) {
      EndPainter();
      touched_ |= BigEllipse(out_, M(cx), M(cy), k_ * a, k_ * b, k_ * pw, call.fore, call.fillStyle, call.fill);
      return;
    }
    QPainter& p = Painter();
    p.setPen(PenOf(call, call.fore));
    p.setBrush(BrushOf(call));
    const QRectF box(M(cx) - k_ * a, M(cy) - k_ * b, 2 * k_ * a, 2 * k_ * b);
    p.drawEllipse(box);
    Mark(box, p.pen().widthF());
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
    QPainter& p = Painter();
    if (pw == 1) {
      // As at 1x: the interior is the pixels whose centres lie inside, the outline over it.
      const QBrush brush = BrushOf(call);
      if (brush.style() != Qt::NoBrush && poly.size() >= 3) {
        p.setPen(Qt::NoPen);
        p.setBrush(brush);
        p.drawPolygon(mapped.translated(0.5, 0.5));
      }
      p.setPen(PenOf(call, call.fore));
      p.setBrush(Qt::NoBrush);
      p.drawPolygon(mapped);
    } else {
      p.setPen(PenOf(call, call.fore));
      p.setBrush(BrushOf(call));
      p.drawPolygon(mapped);
    }
    Mark(mapped.boundingRect(), 3.0 * k_ * pw + 2);
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
      touched_ |= Blit(out_, d.companion, k * dx, k * dy, k * dw, k * dh, k * sx, k * sy, k * sw, k * sh, mx, my, op);
      return;
    }
    if (dw == sw && dh == sh) {
      // The source's rectangle enlarged: its pixels fall on exactly their blocks.
      const QImage big = Enlarged(d.image, k_);
      touched_ |= Blit(out_, big, k * dx, k * dy, k * dw, k * dh, k * sx, k * sy, k * sw, k * sh, mx, my, op);
      return;
    }
    // Scaled: the picture as the 1x call drew it, then enlarged.
    if (dw <= 0 || dh <= 0 || dw * dh > (int64_t{1} << 26)) return;
    QImage tile(static_cast<int>(dw), static_cast<int>(dh), QImage::Format_RGB32);
    if (tile.isNull()) return;
    tile.fill(kWhite);
    Blit(tile, d.image, 0, 0, dw, dh, sx, sy, sw, sh, mx, my, Canvas::RasterOp::Copy);
    const QImage big = Enlarged(tile, k_);
    touched_ |= Blit(out_, big, k * dx, k * dy, k * dw, k * dh, 0, 0, k * dw, k * dh, false, false, op);
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
    for (const auto& [X, Y] : grow)
      if (!hatch || HatchPaints(hatch, X / k_, Y / k_)) {
        bits[Y * stride + X] = paint;
        touched_ |= QRect(X, Y, 1, 1);
      }
  }

  void TextCall(const CanvasCall& call) {
    const CanvasCallData& d = c_.callData_[static_cast<size_t>(call.data)];
    EndPainter();
    touched_ |= DrawTextLayout(out_, LayOutText(d.text, d.font), QPointF(k_ * call.v[0], k_ * call.v[1]), k_, call.fore);
  }

  const Canvas& c_;
  const int k_;
  QImage& out_;
  std::optional<QPainter> painter_;
  Canvas scratch_{1, 1};
  bool swapped_ = false;
  QRect touched_;  // companion pixels
};

// ---- Recording ----

CanvasCall* Canvas::Record(CanvasCall::Kind kind) {
  if (k_ <= 1 || depth_ > 0) return nullptr;
  CanvasCall& c = calls_.emplace_back();
  c.kind = kind;
  c.fore = ForeColor;
  c.fill = FillColor;
  c.color = ForeColor;
  c.fillStyle = FillStyle;
  c.drawStyle = DrawStyle;
  c.drawWidth = DrawWidth;
  return &c;
}

void Canvas::RecordPoints(CanvasCall& call, const QPointF* points, int count) {
  call.first = static_cast<int>(callPoints_.size());
  call.count = points && count > 0 ? count : 0;
  callPoints_.insert(callPoints_.end(), points, points + call.count);
}

void Canvas::RecordPicture(const QImage& image, const QImage& companion, int64_t dx, int64_t dy, int64_t dw,
                           int64_t dh, int64_t sx, int64_t sy, int64_t sw, int64_t sh, bool mirrorX, bool mirrorY,
                           RasterOp op) {
  CanvasCall* c = Record(CanvasCall::Kind::Picture);
  if (!c) return;
  const double v[10] = {double(dx), double(dy), double(dw), double(dh), double(sx), double(sy),
                        double(sw), double(sh), mirrorX ? 1.0 : 0.0, mirrorY ? 1.0 : 0.0};
  std::copy(v, v + 10, c->v);
  c->flag = op == RasterOp::And;
  c->data = static_cast<int>(callData_.size());
  callData_.push_back(CanvasCallData{image, companion, QString(), QFont()});
}

// ---- The companion ----

bool Canvas::SetCompanion(int k) {
  calls_.clear(), callPoints_.clear(), callData_.clear();
  companionDamage_ = QRect();
  if (k <= 1 || !FitsAt(k, Width(), Height())) {
    k_ = 1;
    companion_ = QImage();
    scratch_ = QImage();
    return k <= 1;
  }
  QImage big = Enlarged(raster_, k);
  if (big.isNull()) {
    k_ = 1;
    companion_ = QImage();
    return false;
  }
  k_ = k;
  companion_ = std::move(big);
  companionDamage_ = companion_.rect();
  return true;
}

void Canvas::ChooseCompanion() { SetCompanion(CompanionScaleFor(Width(), Height())); }

void Canvas::CommitCompanion() {
  if (calls_.empty()) return;
  if (k_ > 1 && !companion_.isNull() && raster::OwnPixels(companion_)) {
    QRect touched;
    {
      CompanionReplay replay(*this);
      replay.Run();
      replay.ReturnScratch();
      touched = replay.Touched();
    }
    const QRect around = (damage_ | touched).adjusted(-2, -2, 2, 2) & raster_.rect();
    Reconcile(raster_, companion_, k_, around);
    companionDamage_ |= QRect(around.x() * k_, around.y() * k_, around.width() * k_, around.height() * k_);
  }
  calls_.clear(), callPoints_.clear(), callData_.clear();
}

const QImage& Canvas::Companion() const {
  const_cast<Canvas*>(this)->CommitCompanion();
  return companion_;
}

PicturePair Canvas::Pair() const { return PicturePair{raster_, Companion()}; }

PicturePair Canvas::CapturePair(const QRect& r) const {
  PicturePair out{Capture(r), QImage()};
  const QImage& big = Companion();
  if (k_ > 1 && !big.isNull() && !out.image.isNull()) {
    const QRect kr(r.x() * k_, r.y() * k_, r.width() * k_, r.height() * k_);
    QImage part(kr.size(), QImage::Format_RGB32);
    if (!part.isNull()) {
      part.fill(kWhite);
      const QRect shared = kr & big.rect();
      for (int y = shared.top(); y <= shared.bottom(); ++y)
        std::memcpy(reinterpret_cast<uint32_t*>(part.scanLine(y - kr.top())) + (shared.left() - kr.left()),
                    reinterpret_cast<const uint32_t*>(big.constScanLine(y)) + shared.left(),
                    static_cast<size_t>(shared.width()) * 4);
      out.companion = std::move(part);
    }
  }
  return out;
}

void Canvas::CopyInto(PicturePair& target) const {
  CopyInto(target.image);
  const QImage& big = Companion();
  if (big.isNull()) {
    target.companion = QImage();
    return;
  }
  if (target.companion.size() == big.size() && target.companion.format() == big.format() &&
      target.companion.isDetached() && target.companion.constBits() != big.constBits()) {
    std::memcpy(target.companion.bits(), big.constBits(), static_cast<size_t>(big.sizeInBytes()));
    return;
  }
  QImage copy = big.copy();
  target.companion = copy.isNull() ? QImage() : std::move(copy);
}

void Canvas::SetPicture(const PicturePair& picture) {
  if (k_ <= 1 || picture.companion.isNull() || picture.companion.size() != picture.image.size() * k_ ||
      picture.companion.format() != QImage::Format_RGB32) {
    SetPicture(picture.image);  // the companion follows, enlarged from the picture
    return;
  }
  if (!SetPictureOnly(picture.image)) return;
  calls_.clear(), callPoints_.clear(), callData_.clear();
  companionDamage_ = companion_.rect();
  if (picture.companion.constBits() == companion_.constBits()) return;
  if (picture.image.size() == raster_.size()) {
    companion_ = picture.companion;
    return;
  }
  // A picture of another size lands at the top left, white beyond it.
  if (!raster::OwnPixels(companion_)) return;
  companion_.fill(kWhite);
  CopyRect(picture.companion, companion_, picture.companion.rect());
}

void Canvas::Restore(const PicturePair& backing) {
  const bool sameCompanion = k_ > 1 && !backing.companion.isNull() &&
                             backing.companion.size() == companion_.size() &&
                             backing.image.size() == raster_.size() && backing.companion.format() == QImage::Format_RGB32;
  if (!sameCompanion) {
    Restore(backing.image);
    return;
  }
  const QRect changed = companionDamage_;
  calls_.clear(), callPoints_.clear(), callData_.clear();
  companionDamage_ = QRect();
  Nest nest(*this);
  Restore(backing.image);  // the 1x half, without touching the companion
  if (!changed.isEmpty() && backing.companion.constBits() != companion_.constBits() && raster::OwnPixels(companion_))
    CopyRect(backing.companion, companion_, changed);
}

void Canvas::PaintPicture(const PicturePair& picture, double x, double y, double width, double height, double srcX,
                          double srcY, double srcWidth, double srcHeight, RasterOp op) {
  if (k_ <= 1 || depth_ > 0 || picture.companion.isNull()) {
    PaintPicture(picture.image, x, y, width, height, srcX, srcY, srcWidth, srcHeight, op);
    return;
  }
  const size_t before = calls_.size();
  PaintPicture(picture.image, x, y, width, height, srcX, srcY, srcWidth, srcHeight, op);
  // The call just recorded takes the pair's own companion.
  if (calls_.size() == before + 1 && calls_.back().kind == CanvasCall::Kind::Picture)
    callData_[static_cast<size_t>(calls_.back().data)].companion = picture.companion;
}

void Canvas::RebuildCompanion() {
  calls_.clear(), callPoints_.clear(), callData_.clear();
  companionDamage_ = QRect();
  if (k_ <= 1) return;
  if (companion_.size() == raster_.size() * k_ && raster::OwnPixels(companion_))
    EnlargeInto(raster_, raster_.rect(), k_, companion_);
  else if (!SetCompanion(k_))
    SetCompanion(1);
  companionDamage_ = companion_.rect();
}
