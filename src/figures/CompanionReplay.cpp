// Replaying the canvas's recorded drawing calls on its companion at k times the detail.
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "figures/CanvasCompanion.h"

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

// A visitor made of lambdas: each kind of call goes to the one written for it.
template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

// Replays the recorded calls on the companion. Calls whose pixels must match the picture's exactly
// (axis-aligned strokes, boxes, single pixels, patterned strokes) are drawn at 1x on a scratch
// picture and their pixels enlarged into blocks; slants, curves and filled shapes are drawn along
// their geometry at k x the size; pictures are copied at k x; fills follow the 1x fill's region.
//
// The replay reads only the record: the calls, their points, pictures and labels. `scratch` is the
// companion's scratch picture, made here when first needed.
class CompanionReplay {
 public:
  CompanionReplay(const CallRecord& record, QImage& out, int k, QSize picture, BlockMarks& marks,
                  std::unique_ptr<Canvas>& scratch)
      : record_(record), k_(k), W_(picture.width()), H_(picture.height()), out_(out), marks_(marks),
        scratch_(scratch) {}
  ~CompanionReplay() { EndPainter(); }

  void Run() {
    for (const CanvasCall& call : record_.calls)
      std::visit([&](const auto& shape) { Replay(call, shape); }, call.shape);
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
      lanes::FillRun(reinterpret_cast<uint32_t*>(bits + Y * stride), L, R, px);
      marks_.Mark(Y / k_, L / k_, R / k_);
      minX = std::min(minX, L), maxX = std::max(maxX, R);
    }
    if (maxX >= 0) touched_ |= QRect(QPoint(minX, top), QPoint(maxX, bottom));
  }
  // The half-width of the call's pen at k: a one-pixel pen half a companion pixel more, so that
  // the block its centre line passes through is always mostly its colour (a stroke exactly one
  // block wide that runs along a boundary between blocks would give two half-covered blocks).
  double HalfWidth(const CanvasCall& call) const {
    const int w = PenWidthOf(call.state.DrawWidth);
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
    const int w = PenWidthOf(call.state.DrawWidth);
    return QPen(QColor::fromRgb(color), k_ * w + (w == 1 ? 1 : 0), Qt::SolidLine, Qt::SquareCap, join);
  }
  // The hatch of the picture with every pattern pixel k x k: an 8k tile of k-wide lines.
  QBrush BrushOf(const CanvasCall& call) const {
    const uint8_t* rows = HatchRows(call.state.FillStyle);
    if (!rows) return MakeBrush(call.state.FillStyle, call.state.FillColor);
    // A painter does not scale its hatch brushes: the tile is made here, transparent in its gaps.
    QImage tile(8 * k_, 8 * k_, QImage::Format_ARGB32);
    for (int y = 0; y < tile.height(); ++y) {
      auto* row = reinterpret_cast<uint32_t*>(tile.scanLine(y));
      for (int x = 0; x < tile.width(); ++x) row[x] = HatchPaints(rows, x / k_, y / k_) ? (call.state.FillColor | kOpaque) : 0u;
    }
    return QBrush(tile);
  }
  static bool Patterned(const CanvasCall& call) {
    return PenWidthOf(call.state.DrawWidth) == 1 && call.state.DrawStyle != Canvas::kSolid;
  }

  // ---- Each kind of call ----

  void Replay(const CanvasCall& call, const call::Line& l) { LineCall(call, l.x1, l.y1, l.x2, l.y2, l.color); }
  void Replay(const CanvasCall& call, const call::Polyline& p) {
    if (Patterned(call)) return Enlarge(call);
    const QPointF* pts = record_.PointsOf(p.points);
    for (int i = 1; i < p.points.count; ++i)
      LineCall(call, pts[i - 1].x(), pts[i - 1].y(), pts[i].x(), pts[i].y(), call.state.ForeColor);
  }
  void Replay(const CanvasCall& call, const call::Path& p) { PathCall(call, p); }
  void Replay(const CanvasCall& call, const call::Box&) { Enlarge(call); }
  void Replay(const CanvasCall& call, const call::FilledBox&) { Enlarge(call); }
  void Replay(const CanvasCall& call, const call::SetPixel&) { Enlarge(call); }
  void Replay(const CanvasCall& call, const call::PSet& p) {
    if (PenWidthOf(call.state.DrawWidth) == 1) return Enlarge(call);
    Dot(call, p);
  }
  void Replay(const CanvasCall& call, const call::Circle& c) {
    if (Patterned(call)) return Enlarge(call);
    if (!Finite({c.cx, c.cy, c.r})) return;
    if (Px(c.r) < 0) return;
    EllipseCall(call, c.cx, c.cy, c.r, c.r);
  }
  void Replay(const CanvasCall& call, const call::Ellipse& e) {
    if (Patterned(call)) return Enlarge(call);
    const double l = std::min(e.left, e.right), r = std::max(e.left, e.right);
    const double t = std::min(e.top, e.bottom), b = std::max(e.top, e.bottom);
    EllipseCall(call, (l + r) / 2, (t + b) / 2, (r - l) / 2, (b - t) / 2);
  }
  void Replay(const CanvasCall& call, const call::RoundRect& r) {
    if (Patterned(call)) return Enlarge(call);
    RoundRectCall(call, r);
  }
  void Replay(const CanvasCall& call, const call::Polygon& p) {
    if (Patterned(call)) return Enlarge(call);
    PolygonCall(call, p);
  }
  void Replay(const CanvasCall&, const call::Picture& p) { PictureCall(p); }
  void Replay(const CanvasCall& call, const call::FloodFill& f) { FillCall(call, f); }
  void Replay(const CanvasCall& call, const call::Text& t) { TextCall(call, t); }

  // ---- Calls whose pixels are enlarged ----

  // Draws the call at 1x on the scratch picture and gives each pixel it painted a k x k block.
  void Enlarge(const CanvasCall& call) {
    if (!PrepareScratch()) return;
    Canvas& s = *scratch_;
    bool standing = false;
    auto stand = [&standing](QRgb c) {
      if ((c | kOpaque) != kUnpainted) return c;
      standing = true;
      return kStandIn;
    };
    PenAndBrush state = call.state;
    state.ForeColor = stand(state.ForeColor);
    state.FillColor = stand(state.FillColor);
    s.SetState(state);
    std::visit(Overloaded{
                   [&](const call::Line& l) { s.Line(l.x1, l.y1, l.x2, l.y2, stand(l.color)); },
                   [&](const call::Polyline& p) { s.Polyline(record_.PointsOf(p.points), p.points.count); },
                   [&](const call::Path& p) { s.Path(record_.PointsOf(p.points), p.points.count, p.closed); },
                   [&](const call::Box& b) { s.Box(b.x1, b.y1, b.x2, b.y2); },
                   [&](const call::FilledBox& b) { s.FilledBoxRel(b.x, b.y, b.a, b.b, stand(b.color)); },
                   [&](const call::SetPixel& p) { s.SetPixel(p.x, p.y, stand(p.color)); },
                   [&](const call::PSet& p) { s.PSet(p.x, p.y); },
                   [&](const call::Circle& c) { s.Circle(c.cx, c.cy, c.r); },
                   [&](const call::Ellipse& e) { s.Ellipse(e.left, e.top, e.right, e.bottom); },
                   [&](const call::RoundRect& r) {
                     s.RoundRect(r.left, r.top, r.right, r.bottom, r.cornerWidth, r.cornerHeight);
                   },
                   [&](const call::Polygon& p) {
                     const QPointF* pts = record_.PointsOf(p.points);
                     std::vector<QPoint> ints;
                     ints.reserve(static_cast<size_t>(p.points.count));
                     for (int i = 0; i < p.points.count; ++i)
                       ints.emplace_back(static_cast<int>(pts[i].x()), static_cast<int>(pts[i].y()));
                     s.Polygon(ints.data(), p.points.count);
                   },
                   [&](const auto&) {},
               },
               call.shape);
    // What the call drew, clipped to the scratch picture; the screen damage is the scratch's
    // own note of it.
    const QRect d = s.TakeScreenDamage();
    if (d.isEmpty()) return;
    touched_ |= QRect(d.x() * k_, d.y() * k_, d.width() * k_, d.height() * k_);
    EndPainter();
    const QImage& drawn = s.Raster();
    for (int y = d.top(); y <= d.bottom(); ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(drawn.constScanLine(y));
      for (int x = d.left(); x <= d.right(); ++x) {
        const uint32_t p = row[x];
        if (p == kUnpainted) continue;
        Block(x, y, p == kStandIn && standing ? kUnpainted : p);
        // An exact block is sound itself, but what it covered may have been the only block of
        // a colour its neighbours need.
        marks_.Set(x, y);
      }
    }
    // The scratch picture unpainted again for the next call.
    s.FilledBoxRel(d.x(), d.y(), d.width() - 1, d.height() - 1, kUnpainted);
    s.TakeScreenDamage();
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
    if (scratch_ && scratch_->Size() == QSize(W_, H_)) return true;
    scratch_ = std::make_unique<Canvas>(W_, H_);
    if (scratch_->Size() != QSize(W_, H_) || scratch_->Raster().isNull()) {
      scratch_.reset();
      return false;
    }
    scratch_->FilledBoxRel(0, 0, W_ - 1, H_ - 1, kUnpainted);
    scratch_->TakeScreenDamage();
    return true;
  }

 private:
  // ---- Calls drawn along their geometry ----

  void LineCall(const CanvasCall& call, double x1, double y1, double x2, double y2, QRgb color) {
    if (!Finite({x1, y1, x2, y2})) return;
    const double ax = Px(x1), ay = Px(y1), bx = Px(x2), by = Px(y2);
    // An axis-aligned or patterned line covers exactly its pixels' blocks.
    if (ax == bx || ay == by || Patterned(call)) {
      return Enlarge(CanvasCall{call.state, call::Line{x1, y1, x2, y2, color}});
    }
    const int pw = PenWidthOf(call.state.DrawWidth);
    const double m = pw + 2, W = W_, H = H_;
    if (std::max(ax, bx) < -m || std::min(ax, bx) > W - 1 + m || std::max(ay, by) < -m || std::min(ay, by) > H - 1 + m)
      return;
    double px1 = x1, py1 = y1, px2 = x2, py2 = y2, t0 = 0;
    const double e = m + 16;
    auto far = [&](double x, double y) { return x < -kNear || y < -kNear || x > W + kNear || y > H + kNear; };
    if ((far(px1, py1) || far(px2, py2)) && !ClipSegment(px1, py1, px2, py2, -e, -e, W - 1 + e, H - 1 + e, t0)) return;
    Stroke(QPointF(M(px1), M(py1)), QPointF(M(px2), M(py2)), HalfWidth(call), color);
  }

  void PathCall(const CanvasCall& call, const call::Path& path) {
    const int count = path.points.count;
    if (count < 1) return;
    const QPointF* pts = record_.PointsOf(path.points);
    for (int i = 0; i < count; ++i)
      if (!Finite({pts[i].x(), pts[i].y()})) return;
    if (count == 1 || Patterned(call)) return Enlarge(call);
    const double W = W_, H = H_;
    bool near = true;
    for (int i = 0; i < count && near; ++i)
      near = pts[i].x() > -kNear && pts[i].y() > -kNear && pts[i].x() < W + kNear && pts[i].y() < H + kNear;
    if (!near) {
      for (int i = 1; i < count; ++i) LineCall(call, pts[i - 1].x(), pts[i - 1].y(), pts[i].x(), pts[i].y(), call.state.ForeColor);
      if (path.closed)
        LineCall(call, pts[count - 1].x(), pts[count - 1].y(), pts[0].x(), pts[0].y(), call.state.ForeColor);
      return;
    }
    const double h = HalfWidth(call);
    const int segments = path.closed ? count : count - 1;
    for (int i = 0; i < segments; ++i) {
      const QPointF& a = pts[i];
      const QPointF& b = pts[(i + 1) % count];
      Stroke(QPointF(M(a.x()), M(a.y())), QPointF(M(b.x()), M(b.y())), h, call.state.ForeColor);
    }
  }

  // A round dot of DrawWidth: the companion pixels whose centres lie within k x half the width.
  void Dot(const CanvasCall& call, const call::PSet& dot) {
    if (!Finite({dot.x, dot.y})) return;
    const int w = PenWidthOf(call.state.DrawWidth);
    const double fx = Px(dot.x), fy = Px(dot.y);
    if (fx < -w || fy < -w || fx > W_ + w || fy > H_ + w) return;
    const double shift = (w % 2 == 0) ? 0.5 : 0.0;
    const double cx = M(fx - shift), cy = M(fy - shift), r = k_ * w / 2.0, r2 = r * r;
    const int x0 = std::max(0, static_cast<int>(std::floor(cx - r))), x1 = std::min(out_.width() - 1, static_cast<int>(std::ceil(cx + r)));
    const int y0 = std::max(0, static_cast<int>(std::floor(cy - r))), y1 = std::min(out_.height() - 1, static_cast<int>(std::ceil(cy + r)));
    EndPainter();
    const uint32_t px = call.state.ForeColor | kOpaque;
    Touch(QRect(QPoint(x0, y0), QPoint(x1, y1)));
    for (int y = y0; y <= y1; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(out_.scanLine(y));
      for (int x = x0; x <= x1; ++x)
        if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r2) row[x] = px;
    }
  }

  // The ellipse centred at (cx, cy) with semi-axes a and b (picture pixels).
  void EllipseCall(const CanvasCall& call, double cx, double cy, double a, double b) {
    const int pw = PenWidthOf(call.state.DrawWidth);
    const double m = pw + 2, W = W_, H = H_;
    if (cx + a < -m || cx - a > W - 1 + m || cy + b < -m || cy - b > H - 1 + m) return;
    // Row by row about its centre, so that the ellipse and its mirror image have mirrored
    // companions; the pen as PenOf makes it.
    EndPainter();
    const int pen = k_ * pw + (pw == 1 ? 1 : 0);
    Touch(BigEllipse(out_, M(cx), M(cy), k_ * a, k_ * b, pen, call.state.ForeColor, call.state.FillStyle, call.state.FillColor, k_));
  }

  void RoundRectCall(const CanvasCall& call, const call::RoundRect& rect) {
    double l = std::min(rect.left, rect.right), r = std::max(rect.left, rect.right);
    double t = std::min(rect.top, rect.bottom), b = std::max(rect.top, rect.bottom);
    const int pw = PenWidthOf(call.state.DrawWidth);
    const double W = W_, H = H_, m0 = pw + 2;
    if (r < -m0 || l > W - 1 + m0 || b < -m0 || t > H - 1 + m0) return;
    const double rx = std::min({std::abs(static_cast<double>(rect.cornerWidth)) / 2, (r - l) / 2, kBigShape});
    const double ry = std::min({std::abs(static_cast<double>(rect.cornerHeight)) / 2, (b - t) / 2, kBigShape});
    const double mx = m0 + 2 * rx + 2 + kNear, my = m0 + 2 * ry + 2 + kNear;
    l = std::max(l, -mx), r = std::min(r, W - 1 + mx), t = std::max(t, -my), b = std::min(b, H - 1 + my);
    QPainter& p = Painter();
    p.setPen(PenOf(call, call.state.ForeColor));
    p.setBrush(BrushOf(call));
    const QRectF box(M(l), M(t), k_ * (r - l), k_ * (b - t));
    if (rx <= 0 || ry <= 0)
      p.drawRect(box);
    else
      p.drawRoundedRect(box, k_ * rx, k_ * ry, Qt::AbsoluteSize);
    Mark(box, p.pen().widthF());
  }

  void PolygonCall(const CanvasCall& call, const call::Polygon& polygon) {
    const int count = polygon.points.count;
    if (count < 1) return;
    const QPointF* pts = record_.PointsOf(polygon.points);
    const int pw = PenWidthOf(call.state.DrawWidth);
    const double m = pw + 2, W = W_, H = H_;
    QPolygonF poly;
    bool far = false;
    double x0 = 1e18, y0 = 1e18, x1 = -1e18, y1 = -1e18;
    for (int i = 0; i < count; ++i) {
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
      for (int i = 0; i < mapped.size(); ++i) Stroke(mapped[i], mapped[(i + 1) % mapped.size()], h, call.state.ForeColor);
      return;
    }
    // A wide outline has mitred corners, as at 1x.
    QPainter& p = Painter();
    p.setPen(PenOf(call, call.state.ForeColor, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(mapped);
    Mark(mapped.boundingRect(), 3.0 * k_ * pw);
  }

  // ---- Pictures, fills and text ----

  void PictureCall(const call::Picture& p) {
    const QImage& image = record_.images[static_cast<size_t>(p.image)];
    const QImage& companion = record_.images[static_cast<size_t>(p.image) + 1];
    const int64_t dx = p.dx, dy = p.dy, dw = p.dw, dh = p.dh, sx = p.sx, sy = p.sy, sw = p.sw, sh = p.sh;
    const bool mx = p.mirrorX, my = p.mirrorY;
    const RasterOp op = p.op;
    const int64_t k = k_;
    EndPainter();
    const bool ownCompanion = !companion.isNull() && companion.size() == image.size() * k_;
    if (ownCompanion) {
      Touch(Blit(out_, companion, k * dx, k * dy, k * dw, k * dh, k * sx, k * sy, k * sw, k * sh, mx, my, op));
      return;
    }
    if (dw == sw && dh == sh) {
      // The source's rectangle enlarged: its pixels fall on exactly their blocks.
      const QImage big = Enlarged(image, k_);
      Touch(Blit(out_, big, k * dx, k * dy, k * dw, k * dh, k * sx, k * sy, k * sw, k * sh, mx, my, op));
      return;
    }
    // Scaled: the picture as the 1x call drew it, then enlarged.
    if (dw <= 0 || dh <= 0 || dw * dh > (int64_t{1} << 26)) return;
    QImage tile(static_cast<int>(dw), static_cast<int>(dh), QImage::Format_RGB32);
    if (tile.isNull()) return;
    tile.fill(kWhite);
    Blit(tile, image, 0, 0, dw, dh, sx, sy, sw, sh, mx, my, RasterOp::Copy);
    const QImage big = Enlarged(tile, k_);
    Touch(Blit(out_, big, k * dx, k * dy, k * dw, k * dh, 0, 0, k * dw, k * dh, false, false, op));
  }

  // The fill at k: the 1x fill's region is found again on the picture as it was before the fill;
  // every companion pixel of the region's colour inside the region's blocks is filled, and so are
  // such pixels connected to them within one block of the region (the companion's smoother lines
  // leave slivers of the region's colour beside its blocks), never farther.
  void FillCall(const CanvasCall& call, const call::FloodFill& fill) {
    const QImage& before = record_.images[static_cast<size_t>(fill.before)];
    const int W = before.width(), H = before.height();
    const int sx = fill.x, sy = fill.y;
    const int fillType = fill.fillType;
    const int fillStyle = call.state.FillStyle;
    if (sx < 0 || sy < 0 || sx >= W || sy >= H || fillStyle == Canvas::kFillTransparent) return;
    const uint8_t* hatch = HatchRows(fillStyle);
    if (fillStyle != Canvas::kFillSolid && !hatch) return;
    const uint32_t target = fill.color | kOpaque;
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
    const uint32_t paint = call.state.FillColor | kOpaque;
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

  void TextCall(const CanvasCall& call, const call::Text& text) {
    const CallRecord::Label& label = record_.labels[static_cast<size_t>(text.label)];
    EndPainter();
    const QPointF at(k_ * static_cast<double>(text.x), k_ * static_cast<double>(text.y));
    Touch(DrawTextLayout(out_, LayOutText(label.text, label.font), at, k_, call.state.ForeColor));
  }

  const CallRecord& record_;
  const int k_, W_, H_;
  QImage& out_;
  std::optional<QPainter> painter_;
  QRect touched_;  // companion pixels
  BlockMarks& marks_;  // per picture pixel: its block was drawn by a replayed call
  std::unique_ptr<Canvas>& scratch_;
};

}  // namespace

void CanvasCompanion::Commit(const QImage& picture, const QRect& damage) {
  if (record_.empty()) return;
  // The first change that reaches an implicit companion gives it its (white) pixels.
  if (k_ > 1 && Allocate(picture.size()) && raster::OwnPixels(raster_)) {
    QRect touched;
    marks_.Reset(picture.width(), picture.height());
    {
      CompanionReplay replay(record_, raster_, k_, picture.size(), marks_, scratch_);
      replay.Run();
      touched = replay.Touched();
    }
    const QRect around = (damage | touched).adjusted(-2, -2, 2, 2) & picture.rect();
    Reconcile(picture, raster_, k_, around, &marks_, before_.isNull() ? nullptr : &before_, &beforeGroups_);
    if (!touched.isEmpty()) marks_.ClearRows(touched.top(), touched.bottom());
    damage_ |= QRect(around.x() * k_, around.y() * k_, around.width() * k_, around.height() * k_);
  }
  Drop();
}
