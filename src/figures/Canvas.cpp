#include "figures/Canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "figures/FloodFill.h"
#include "figures/Rounding.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr uint32_t kOpaque = 0xFF000000u;

// Shapes whose vertices lie farther than this off the raster are clipped by our own code before
// they reach QPainter, which is slow or wrong with huge coordinates.
constexpr double kNear = 4096;
// Ellipses with a semi-axis above this are rasterised here row by row instead of by QPainter.
constexpr double kBigShape = 16384;

bool Finite(std::initializer_list<double> values) {
  for (double v : values)
    if (!IsUsable(v)) return false;
  return true;
}

double Px(double v) { return RoundHalfEvenReal(v); }

int PenWidthOf(int drawWidth) { return std::clamp(drawWidth, 1, 1024); }

// Dash, dot and dash-dot apply at width 1 only; wider lines are solid.
Qt::PenStyle PenStyleOf(int drawStyle, int width) {
  if (width != 1) return Qt::SolidLine;
  switch (drawStyle) {
    case Canvas::kDash: return Qt::DashLine;
    case Canvas::kDot: return Qt::DotLine;
    case Canvas::kDashDot: return Qt::DashDotLine;
    default: return Qt::SolidLine;
  }
}

// Length of one repetition of the pattern, in pen widths.
double DashPeriod(Qt::PenStyle s) {
  switch (s) {
    case Qt::DashLine: return 6;
    case Qt::DotLine: return 3;
    case Qt::DashDotLine: return 9;
    default: return 0;
  }
}

QPen MakePen(QRgb color, int drawWidth, int drawStyle, double dashOffset = 0) {
  const int w = PenWidthOf(drawWidth);
  const Qt::PenStyle style = PenStyleOf(drawStyle, w);
  QPen pen(QColor::fromRgb(color), w, style, Qt::SquareCap, Qt::MiterJoin);
  const double period = DashPeriod(style);
  if (period > 0 && dashOffset > 0) pen.setDashOffset(std::fmod(dashOffset, period));
  return pen;
}

QBrush MakeBrush(int fillStyle, QRgb color) {
  const QColor c = QColor::fromRgb(color);
  switch (fillStyle) {
    case 0: return QBrush(c, Qt::SolidPattern);
    case 2: return QBrush(c, Qt::HorPattern);
    case 3: return QBrush(c, Qt::VerPattern);
    case 4: return QBrush(c, Qt::BDiagPattern);
    case 5: return QBrush(c, Qt::FDiagPattern);
    case 6: return QBrush(c, Qt::CrossPattern);
    case 7: return QBrush(c, Qt::DiagCrossPattern);
    default: return QBrush(Qt::NoBrush);
  }
}

void Prepare(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.setBackgroundMode(Qt::TransparentMode);
  p.setBrushOrigin(0, 0);
}

// A rectangle from real bounds, grown by `margin`, safe to convert to int.
QRect Around(double x0, double y0, double x1, double y1, int margin) {
  auto c = [](double v) { return static_cast<int>(std::clamp(v, -1.0e8, 1.0e8)); };
  return QRect(QPoint(c(std::floor(std::min(x0, x1))) - margin, c(std::floor(std::min(y0, y1))) - margin),
               QPoint(c(std::ceil(std::max(x0, x1))) + margin, c(std::ceil(std::max(y0, y1))) + margin));
}

// Liang-Barsky: clips the segment to the rectangle; t0 receives the parameter where it now starts.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2, double xmin, double ymin,
                 double xmax, double ymax, double& t0) {
  const double dx = x2 - x1, dy = y2 - y1;
  double a = 0, b = 1;
  auto edge = [&](double p, double q) {
    if (p == 0) return q >= 0;
    const double r = q / p;
    if (p < 0) {
      if (r > b) return false;
      if (r > a) a = r;
    } else {
      if (r < a) return false;
      if (r < b) b = r;
    }
    return true;
  };
  if (!edge(-dx, x1 - xmin) || !edge(dx, xmax - x1) || !edge(-dy, y1 - ymin) || !edge(dy, ymax - y1))
    return false;
  const double ox = x1, oy = y1;
  x1 = ox + a * dx;
  y1 = oy + a * dy;
  x2 = ox + b * dx;
  y2 = oy + b * dy;
  t0 = a;
  return true;
}

// Sutherland-Hodgman against an axis-aligned rectangle.
QPolygonF ClipPolygon(const QPolygonF& in, double xmin, double ymin, double xmax, double ymax) {
  QPolygonF poly = in;
  for (int side = 0; side < 4 && !poly.isEmpty(); ++side) {
    auto inside = [&](const QPointF& p) {
      switch (side) {
        case 0: return p.x() >= xmin;
        case 1: return p.x() <= xmax;
        case 2: return p.y() >= ymin;
        default: return p.y() <= ymax;
      }
    };
    auto cross = [&](const QPointF& a, const QPointF& b) {
      double t;
      switch (side) {
        case 0: t = (xmin - a.x()) / (b.x() - a.x()); return QPointF(xmin, a.y() + t * (b.y() - a.y()));
        case 1: t = (xmax - a.x()) / (b.x() - a.x()); return QPointF(xmax, a.y() + t * (b.y() - a.y()));
        case 2: t = (ymin - a.y()) / (b.y() - a.y()); return QPointF(a.x() + t * (b.x() - a.x()), ymin);
        default: t = (ymax - a.y()) / (b.y() - a.y()); return QPointF(a.x() + t * (b.x() - a.x()), ymax);
      }
    };
    QPolygonF out;
    out.reserve(poly.size() + 4);
    for (qsizetype i = 0; i < poly.size(); ++i) {
      const QPointF& cur = poly[i];
      const QPointF& prev = poly[(i + poly.size() - 1) % poly.size()];
      const bool ci = inside(cur), pi = inside(prev);
      if (ci) {
        if (!pi) out << cross(prev, cur);
        out << cur;
      } else if (pi) {
        out << cross(prev, cur);
      }
    }
    poly = out;
  }
  return poly;
}

// An axis-aligned ellipse too big for QPainter, drawn row by row: the outline is the ring between
// the ellipses grown and shrunk by half the pen width, the interior takes the brush. Dash styles
// are not applied at this size (such a figure never fits on the raster anyway).
QRect BigEllipse(QImage& img, double cx, double cy, double a, double b, int penWidth, QRgb pen,
                 int fillStyle, QRgb fill) {
  const int w = img.width(), h = img.height();
  const double hw = penWidth / 2.0;
  const double A = a + hw, B = b + hw, Ai = a - hw, Bi = b - hw;
  const int y0 = static_cast<int>(std::max(0.0, std::ceil(cy - B)));
  const int y1 = static_cast<int>(std::min(h - 1.0, std::floor(cy + B)));
  const uint8_t* hatch = HatchRows(fillStyle);
  const bool solid = fillStyle == 0;
  const uint32_t penPx = pen | kOpaque, fillPx = fill | kOpaque;
  QRect touched;
  auto clampX = [&](double v) { return static_cast<int>(std::clamp(v, -1.0, static_cast<double>(w))); };
  for (int y = y0; y <= y1; ++y) {
    const double dy = std::abs(y - cy);
    if (dy > B) continue;
    const double xo = A * std::sqrt((B - dy) * (B + dy)) / B;
    const int ol = std::max(0, clampX(std::ceil(cx - xo)));
    const int orr = std::min(w - 1, clampX(std::floor(cx + xo)));
    if (ol > orr) continue;
    auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
    int il = orr + 1, ir = orr;  // interior [il, ir], empty by default
    if (Ai > 0 && Bi > 0 && dy < Bi) {
      const double xi = Ai * std::sqrt((Bi - dy) * (Bi + dy)) / Bi;
      il = std::max(ol, clampX(std::floor(cx - xi) + 1));
      ir = std::min(orr, clampX(std::ceil(cx + xi) - 1));
    }
    for (int x = ol; x <= orr; ++x) {
      if (x >= il && x <= ir) {
        if (solid || (hatch && HatchPaints(hatch, x, y))) row[x] = fillPx;
      } else {
        row[x] = penPx;
      }
    }
    touched |= QRect(QPoint(ol, y), QPoint(orr, y));
  }
  return touched;
}

// Nearest-neighbour copy or AND of a source rectangle into a destination rectangle, clipped to
// both pictures. Source columns outside the picture leave the destination as it is.
QRect Blit(QImage& dst, const QImage& source, int64_t dx, int64_t dy, int64_t dw, int64_t dh,
           int64_t sx, int64_t sy, int64_t sw, int64_t sh, bool mirrorX, bool mirrorY,
           Canvas::RasterOp op) {
  if (source.isNull() || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return QRect();
  const int64_t W = dst.width(), H = dst.height();
  const int64_t x0 = std::max<int64_t>(0, dx), x1 = std::min<int64_t>(W - 1, dx + dw - 1);
  const int64_t y0 = std::max<int64_t>(0, dy), y1 = std::min<int64_t>(H - 1, dy + dh - 1);
  if (x0 > x1 || y0 > y1) return QRect();

  // Reading from the raster while writing it would smear; the format must be 32-bit opaque.
  QImage src;
  if (source.constBits() == dst.constBits())
    src = source.copy();
  else if (source.format() != QImage::Format_RGB32)
    src = source.convertToFormat(QImage::Format_RGB32);
  else
    src = source;
  const int64_t SW = src.width(), SH = src.height();

  auto map = [](int64_t k, int64_t d, int64_t s, bool mirror) -> int64_t {
    if (mirror) k = d - 1 - k;
    if (d == s) return k;
    return static_cast<int64_t>(std::floor((static_cast<double>(k) + 0.5) * static_cast<double>(s) /
                                           static_cast<double>(d)));
  };
  std::vector<int> cols(static_cast<size_t>(x1 - x0 + 1));
  bool identity = !mirrorX && dw == sw;
  for (int64_t x = x0; x <= x1; ++x) {
    const int64_t s = sx + map(x - dx, dw, sw, mirrorX);
    cols[static_cast<size_t>(x - x0)] = (s >= 0 && s < SW) ? static_cast<int>(s) : -1;
    if (s < 0 || s >= SW) identity = false;
  }
  const bool isAnd = op == Canvas::RasterOp::And;
  for (int64_t y = y0; y <= y1; ++y) {
    const int64_t s = sy + map(y - dy, dh, sh, mirrorY);
    if (s < 0 || s >= SH) continue;
    const auto* in = reinterpret_cast<const uint32_t*>(src.constScanLine(static_cast<int>(s)));
    auto* out = reinterpret_cast<uint32_t*>(dst.scanLine(static_cast<int>(y)));
    if (identity) {
      const uint32_t* from = in + cols[0];
      uint32_t* to = out + x0;
      const size_t n = cols.size();
      if (isAnd) {
        for (size_t i = 0; i < n; ++i) to[i] &= from[i] | kOpaque;
      } else {
        for (size_t i = 0; i < n; ++i) to[i] = from[i] | kOpaque;
      }
      continue;
    }
    for (size_t i = 0; i < cols.size(); ++i) {
      const int c = cols[i];
      if (c < 0) continue;
      if (isAnd)
        out[x0 + static_cast<int64_t>(i)] &= in[c] | kOpaque;
      else
        out[x0 + static_cast<int64_t>(i)] = in[c] | kOpaque;
    }
  }
  return QRect(QPoint(static_cast<int>(x0), static_cast<int>(y0)),
               QPoint(static_cast<int>(x1), static_cast<int>(y1)));
}


// The dash patterns of the one-pixel pen, one entry per pixel step: dash 4 on 2 off, dot 1 on 2
// off, dash-dot 4-2-1-2. A solid pen has no pattern.
struct DashPattern {
  const bool* on = nullptr;
  int period = 1;
  // Where set, the pixels in the pattern's gaps are put back from this picture, whose top-left
  // lies at (gapX, gapY) of the raster (a filled outline shows what lay beneath in its gaps).
  const QImage* gaps = nullptr;
  int gapX = 0, gapY = 0;
};

DashPattern PatternOf(int drawStyle) {
  static constexpr bool kDashOn[6] = {1, 1, 1, 1, 0, 0};
  static constexpr bool kDotOn[3] = {1, 0, 0};
  static constexpr bool kDashDotOn[9] = {1, 1, 1, 1, 0, 0, 1, 0, 0};
  switch (drawStyle) {
    case Canvas::kDash: return {kDashOn, 6};
    case Canvas::kDot: return {kDotOn, 3};
    case Canvas::kDashDot: return {kDashDotOn, 9};
    default: return {};
  }
}

// The one-pixel outline of the box (L, T)-(R, B) (L < R, T < B), clipped to the raster, the dash
// pattern running round from the top-left.
void OutlineBox(QImage& img, int L, int T, int R, int B, QRgb color, int drawStyle) {
  const DashPattern pattern = PatternOf(drawStyle);
  const bool* on = pattern.on;
  const int period = pattern.period;
  const int w = img.width(), h = img.height();
  const uint32_t px = color | kOpaque;
  int phase = 0;
  auto plot = [&](int x, int y) {
    if ((!on || on[phase]) && x >= 0 && y >= 0 && x < w && y < h)
      reinterpret_cast<uint32_t*>(img.scanLine(y))[x] = px;
    if (++phase == period) phase = 0;
  };
  if (!on) {
    // Solid: whole rows and columns at once.
    const int l = std::max(L, 0), r = std::min(R, w - 1), t = std::max(T, 0), b = std::min(B, h - 1);
    for (int y : {T, B})
      if (y >= 0 && y < h && l <= r) {
        auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
        std::fill(row + l, row + r + 1, px);
      }
    for (int x : {L, R})
      if (x >= 0 && x < w)
        for (int y = t; y <= b; ++y) reinterpret_cast<uint32_t*>(img.scanLine(y))[x] = px;
    return;
  }
  for (int x = L; x < R; ++x) plot(x, T);
  for (int y = T; y < B; ++y) plot(R, y);
  for (int x = R; x > L; --x) plot(x, B);
  for (int y = B; y > T; --y) plot(L, y);
}

// Makes sure the pixels of `img` are its own before they are written (a snapshot taken with
// Image() shares them until then). When the copy cannot be allocated the image stays as it is
// and the caller draws nothing, instead of losing the picture.
bool OwnPixels(QImage& img) {
  if (img.isNull()) return false;
  if (img.isDetached()) return true;
  QImage copy = img.copy();
  if (copy.isNull()) return false;
  img = std::move(copy);
  return true;
}

// Floor of a / b for b > 0.
inline __int128 FloorDiv(__int128 a, __int128 b) {
  const __int128 q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

// The walk of one thin line in its own frame: u is the major axis (one pixel per step), v the
// minor one. Pixel i (0 <= i <= du) lies at u0 + i, v0 + floor((2 i dv + du) / (2 du)): the
// line's minor coordinate rounded to the nearest pixel, a tie going towards larger v.
template <bool XMajor, bool Patterned>
QRect WalkThinLine(QImage& img, int64_t u0, int64_t v0, int64_t du, int64_t dv, int64_t iLo,
                   int64_t iHi, uint32_t px, DashPattern pattern, int64_t phase0, int phaseStep) {
  const int64_t V = XMajor ? img.height() : img.width();
  uchar* bits = img.bits();
  const qsizetype stride = img.bytesPerLine();
  const int64_t twoDu = 2 * du, twoDv = 2 * dv;
  // Ends may be 2^32 apart (polygon vertices are 32-bit), so the first product takes 128 bits;
  // the walk itself stays within 64.
  const __int128 num = __int128{2} * iLo * dv + du;
  const __int128 q0 = FloorDiv(num, twoDu);
  int64_t q = static_cast<int64_t>(q0);
  int64_t r = static_cast<int64_t>(num - q0 * twoDu);
  int phase = static_cast<int>(phase0);
  const int period = pattern.period;
  int64_t firstU = -1, firstV = 0, lastU = -1, lastV = 0;
  for (int64_t i = iLo; i <= iHi; ++i) {
    const int64_t u = u0 + i, v = v0 + q;
    if (v >= 0 && v < V) {
      const int64_t x = XMajor ? u : v, y = XMajor ? v : u;
      uint32_t* at = reinterpret_cast<uint32_t*>(bits + static_cast<qsizetype>(y) * stride) + x;
      if (!Patterned || pattern.on[phase]) {
        *at = px;
      } else if (pattern.gaps) {
        const int64_t gx = x - pattern.gapX, gy = y - pattern.gapY;
        if (gx >= 0 && gy >= 0 && gx < pattern.gaps->width() && gy < pattern.gaps->height())
          *at = reinterpret_cast<const uint32_t*>(pattern.gaps->constScanLine(static_cast<int>(gy)))[gx];
      }
      if (firstU < 0) firstU = u, firstV = v;
      lastU = u, lastV = v;
    }
    if (Patterned) {
      phase += phaseStep;
      if (phase == period) phase = 0;
      if (phase < 0) phase = period - 1;
    }
    r += twoDv;
    if (dv > 0) {
      if (r >= twoDu) r -= twoDu, ++q;
    } else if (r < 0) {
      r += twoDu, --q;
    }
  }
  if (firstU < 0) return QRect();
  const int u1 = static_cast<int>(std::min(firstU, lastU)), u2 = static_cast<int>(std::max(firstU, lastU));
  const int v1 = static_cast<int>(std::min(firstV, lastV)), v2 = static_cast<int>(std::max(firstV, lastV));
  return XMajor ? QRect(QPoint(u1, v1), QPoint(u2, v2)) : QRect(QPoint(v1, u1), QPoint(v2, u2));
}

// The one-pixel line from pixel (x0, y0) to pixel (x1, y1), both end pixels drawn, in the pen's
// dash pattern starting at (x0, y0). One pixel per step along the longer axis; the other
// coordinate is the line's, rounded to the nearest pixel. The pixels do not depend on which end
// comes first: the walk always runs from the end with the smaller major coordinate (only the dash
// phase follows the given direction). Only the steps that can reach the raster are visited, so
// the cost is bounded by the raster's size however far the ends lie. Returns the rectangle of the
// pixels visited on the raster.
//
// `phase` is the dash phase at the start pixel. Without `drawEnd` the end pixel is left to the next
// segment of a closed outline, whose dash phase then continues from this one's; the function
// returns the phase at the end pixel in `phaseOut`.
QRect ThinLine(QImage& img, int64_t x0, int64_t y0, int64_t x1, int64_t y1, QRgb color, int drawStyle,
               int phase = 0, bool drawEnd = true, int* phaseOut = nullptr, const QImage* gaps = nullptr,
               QPoint gapsAt = QPoint()) {
  const int64_t W = img.width(), H = img.height();
  const uint32_t px = color | kOpaque;
  DashPattern pattern = PatternOf(drawStyle);
  if (pattern.on) pattern.gaps = gaps, pattern.gapX = gapsAt.x(), pattern.gapY = gapsAt.y();
  if (phaseOut) *phaseOut = phase;
  if (x0 == x1 && y0 == y1) {
    if (!drawEnd) return QRect();
    if (pattern.on && !pattern.on[phase % pattern.period]) return QRect();
    if (x0 < 0 || y0 < 0 || x0 >= W || y0 >= H) return QRect();
    reinterpret_cast<uint32_t*>(img.scanLine(static_cast<int>(y0)))[x0] = px;
    return QRect(static_cast<int>(x0), static_cast<int>(y0), 1, 1);
  }
  const int64_t dx = x1 - x0, dy = y1 - y0;
  const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
  int64_t u0 = xMajor ? x0 : y0, v0 = xMajor ? y0 : x0;
  int64_t du = xMajor ? dx : dy, dv = xMajor ? dy : dx;
  const int64_t U = xMajor ? W : H, V = xMajor ? H : W;
  const bool reversed = du < 0;
  if (reversed) u0 += du, v0 += dv, du = -du, dv = -dv;
  // Steps on the raster along u, then along v (a double estimate with two steps to spare; the
  // walk checks each pixel exactly).
  if (phaseOut && pattern.on) *phaseOut = static_cast<int>((phase + du) % pattern.period);
  int64_t iLo = std::max<int64_t>(0, -u0), iHi = std::min<int64_t>(du, U - 1 - u0);
  if (!drawEnd) {
    // The end pixel is step du of a forward walk, step 0 of a reversed one.
    if (reversed)
      iLo = std::max<int64_t>(iLo, 1);
    else
      iHi = std::min<int64_t>(iHi, du - 1);
  }
  if (dv == 0) {
    if (v0 < 0 || v0 >= V) return QRect();
  } else {
    const double k = static_cast<double>(du) / static_cast<double>(dv);
    double a = (-0.5 - static_cast<double>(v0)) * k, b = (static_cast<double>(V) - 0.5 - static_cast<double>(v0)) * k;
    if (a > b) std::swap(a, b);
    const double lim = static_cast<double>(du) + 4;
    iLo = std::max(iLo, static_cast<int64_t>(std::floor(std::clamp(a, -4.0, lim))) - 2);
    iHi = std::min(iHi, static_cast<int64_t>(std::ceil(std::clamp(b, -4.0, lim))) + 2);
  }
  if (iLo > iHi) return QRect();
  // The dash phase counts pixels from the line's given start.
  const int64_t phase0 = pattern.on ? (phase + (reversed ? du - iLo : iLo)) % pattern.period : 0;
  const int phaseStep = reversed ? -1 : 1;
  if (pattern.on) {
    return xMajor ? WalkThinLine<true, true>(img, u0, v0, du, dv, iLo, iHi, px, pattern, phase0, phaseStep)
                  : WalkThinLine<false, true>(img, u0, v0, du, dv, iLo, iHi, px, pattern, phase0, phaseStep);
  }
  return xMajor ? WalkThinLine<true, false>(img, u0, v0, du, dv, iLo, iHi, px, pattern, 0, 0)
                : WalkThinLine<false, false>(img, u0, v0, du, dv, iLo, iHi, px, pattern, 0, 0);
}

}  // namespace

Canvas::Canvas(int width, int height)
    : raster_(std::clamp(width, 1, kMaxSide), std::clamp(height, 1, kMaxSide), QImage::Format_RGB32) {
  raster_.fill(kWhite);
}

bool Canvas::Resize(int width, int height) {
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return false;
  if (width == Width() && height == Height()) return true;
  QImage next(width, height, QImage::Format_RGB32);
  // A big picture may not fit in memory: refuse and keep the picture as it is.
  if (next.isNull()) return false;
  next.fill(kWhite);
  const int cw = std::min(width, Width()), ch = std::min(height, Height());
  for (int y = 0; y < ch; ++y)
    std::memcpy(next.scanLine(y), raster_.constScanLine(y), static_cast<size_t>(cw) * 4);
  raster_ = next;
  MarkAllDamaged();
  return true;
}

// ---- Lines and boxes ----

void Canvas::Line(double x1, double y1, double x2, double y2) { Line(x1, y1, x2, y2, ForeColor); }

void Canvas::Line(double x1, double y1, double x2, double y2, QRgb color) {
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
  for (int i = 0; i < segments; ++i) {
    const QPointF& a = points[i];
    const QPointF& b = points[(i + 1) % count];
    const int64_t ax = RoundHalfEven(a.x()), ay = RoundHalfEven(a.y());
    const int64_t bx = RoundHalfEven(b.x()), by = RoundHalfEven(b.y());
    if (ax == bx && ay == by) continue;
    touched |= ThinLine(raster_, ax, ay, bx, by, ForeColor, DrawStyle, phase, false, &phase);
  }
  if (!closed) {
    const QPointF& last = points[count - 1];
    touched |= ThinLine(raster_, RoundHalfEven(last.x()), RoundHalfEven(last.y()), RoundHalfEven(last.x()),
                        RoundHalfEven(last.y()), ForeColor, DrawStyle, phase);
  }
  Touch(touched);
}

void Canvas::Box(double x1, double y1, double x2, double y2) {
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

// ---- Circles, ellipses, rounded rectangles, polygons ----

namespace {
// A painter clips a path to the image before it lays the dash pattern along it, so a dashed
// outline that leaves the raster would start its pattern elsewhere, and the dashes would shift as
// the figure crosses the edge. Such a figure is drawn on a scratch picture that holds it whole and
// copied back. Beyond this many scratch pixels it is drawn directly.
constexpr int64_t kScratchPixels = int64_t{1} << 22;

// Calls paint(painter, dx, dy), which draws the figure moved by (dx, dy), for a figure within
// (l, t)-(r, b) plus `margin`: straight on the raster, or through a scratch picture for a dashed
// outline that leaves the raster. The scratch picture's origin is a multiple of 8 pixels from the
// raster's, so the hatch brushes keep their alignment.
template <class Paint>
void PaintWhole(QImage& raster, double l, double t, double r, double b, int margin, bool dashed, Paint&& paint) {
  const double W = raster.width(), H = raster.height();
  const bool inside = l - margin >= 0 && t - margin >= 0 && r + margin <= W - 1 && b + margin <= H - 1;
  const double area = (r - l + 2 * margin + 16) * (b - t + 2 * margin + 16);
  if (dashed && !inside && area <= static_cast<double>(kScratchPixels)) {
    auto down8 = [](double v) { return static_cast<int>(std::floor(v / 8) * 8); };
    const int ox = down8(std::floor(l) - margin), oy = down8(std::floor(t) - margin);
    const int sw = static_cast<int>(std::ceil(r)) + margin + 1 - ox;
    const int sh = static_cast<int>(std::ceil(b)) + margin + 1 - oy;
    QImage scratch(sw, sh, QImage::Format_RGB32);
    if (!scratch.isNull()) {
      const QRect shared = QRect(ox, oy, sw, sh) & raster.rect();
      auto copyRows = [&](const QImage& from, QImage& to, int fx, int fy, int tx, int ty) {
        for (int y = 0; y < shared.height(); ++y)
          std::memcpy(reinterpret_cast<uint32_t*>(to.scanLine(ty + y)) + tx,
                      reinterpret_cast<const uint32_t*>(from.constScanLine(fy + y)) + fx,
                      static_cast<size_t>(shared.width()) * 4);
      };
      scratch.fill(kWhite);
      copyRows(raster, scratch, shared.x(), shared.y(), shared.x() - ox, shared.y() - oy);
      {
        QPainter p(&scratch);
        Prepare(p);
        paint(p, -static_cast<double>(ox), -static_cast<double>(oy));
      }
      copyRows(scratch, raster, shared.x() - ox, shared.y() - oy, shared.x(), shared.y());
      return;
    }
  }
  QPainter p(&raster);
  Prepare(p);
  paint(p, 0.0, 0.0);
}

// Draws the ellipse centred at (cx, cy) with semi-axes a, b (whole or half pixels) with the
// canvas's pen and brush; returns the rectangle that may have changed.
QRect EllipseShape(QImage& raster, const Canvas& c, double cx, double cy, double a, double b) {
  const int pw = PenWidthOf(c.DrawWidth);
  const double m = pw + 2, W = raster.width(), H = raster.height();
  if (cx + a < -m || cx - a > W - 1 + m || cy + b < -m || cy - b > H - 1 + m) return QRect();
  if (a > kBigShape || b > kBigShape)
    return BigEllipse(raster, cx, cy, a, b, pw, c.ForeColor, c.FillStyle, c.FillColor);
  const QPen pen = MakePen(c.ForeColor, c.DrawWidth, c.DrawStyle);
  PaintWhole(raster, cx - a, cy - b, cx + a, cy + b, pw + 2, pen.style() != Qt::SolidLine,
             [&](QPainter& p, double dx, double dy) {
               p.setPen(pen);
               p.setBrush(MakeBrush(c.FillStyle, c.FillColor));
               p.drawEllipse(QRectF(cx - a + dx, cy - b + dy, 2 * a, 2 * b));
             });
  return Around(cx - a, cy - b, cx + a, cy + b, pw + 2);
}
}  // namespace

void Canvas::Circle(double cx, double cy, double r) {
  if (!OwnPixels(raster_)) return;
  if (!Finite({cx, cy, r})) return;
  const double rr = Px(r);
  if (rr < 0) return;
  Touch(EllipseShape(raster_, *this, Px(cx), Px(cy), rr, rr));
}

void Canvas::Ellipse(int left, int top, int right, int bottom) {
  if (!OwnPixels(raster_)) return;
  const double l = std::min(left, right), r = std::max(left, right);
  const double t = std::min(top, bottom), b = std::max(top, bottom);
  Touch(EllipseShape(raster_, *this, (l + r) / 2, (t + b) / 2, (r - l) / 2, (b - t) / 2));
}

void Canvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
  if (!OwnPixels(raster_)) return;
  double l = std::min(left, right), r = std::max(left, right);
  double t = std::min(top, bottom), b = std::max(top, bottom);
  const int pw = PenWidthOf(DrawWidth);
  const double W = Width(), H = Height();
  const double m0 = pw + 2;
  if (r < -m0 || l > W - 1 + m0 || b < -m0 || t > H - 1 + m0) return;
  // Corner radii: at most half the box, and never absurd.
  double rx = std::min({std::abs(static_cast<double>(cornerWidth)) / 2, (r - l) / 2, kBigShape});
  double ry = std::min({std::abs(static_cast<double>(cornerHeight)) / 2, (b - t) / 2, kBigShape});
  // Edges far beyond the raster move in, keeping the corners off the raster (and the dash
  // pattern of a rectangle near the raster where it is).
  const double mx = m0 + 2 * rx + 2 + kNear, my = m0 + 2 * ry + 2 + kNear;
  l = std::max(l, -mx);
  r = std::min(r, W - 1 + mx);
  t = std::max(t, -my);
  b = std::min(b, H - 1 + my);
  const QPen pen = MakePen(ForeColor, DrawWidth, DrawStyle);
  PaintWhole(raster_, l, t, r, b, pw + 2, pen.style() != Qt::SolidLine, [&](QPainter& p, double dx, double dy) {
    p.setPen(pen);
    p.setBrush(MakeBrush(FillStyle, FillColor));
    if (rx <= 0 || ry <= 0)
      p.drawRect(QRectF(l + dx, t + dy, r - l, b - t));
    else
      p.drawRoundedRect(QRectF(l + dx, t + dy, r - l, b - t), rx, ry, Qt::AbsoluteSize);
  });
  Touch(Around(l, t, r, b, pw + 2));
}

void Canvas::Polygon(const QPoint* points, int count) {
  if (!OwnPixels(raster_)) return;
  if (!points || count < 1) return;
  const int pw = PenWidthOf(DrawWidth);
  const double m = pw + 2, W = Width(), H = Height();
  QPolygonF poly;
  poly.reserve(count);
  bool far = false;
  double x0 = 1e18, y0 = 1e18, x1 = -1e18, y1 = -1e18;
  for (int i = 0; i < count; ++i) {
    const double x = points[i].x(), y = points[i].y();
    poly << QPointF(x, y);
    far = far || x < -kNear || y < -kNear || x > W + kNear || y > H + kNear;
    x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
  }
  if (x1 < -m || x0 > W - 1 + m || y1 < -m || y0 > H - 1 + m) return;
  if (far) {
    const double e = m + 16;
    poly = ClipPolygon(poly, -e, -e, W - 1 + e, H - 1 + e);
    if (poly.isEmpty()) return;
    const QRectF br = poly.boundingRect();
    x0 = br.left(), y0 = br.top(), x1 = br.right(), y1 = br.bottom();
  }
  if (pw == 1) {
    // The one-pixel outline is walked here (a painter's stroke can miss a vertex pixel, or a
    // pixel where the outline leaves the raster). The outline's pixels are centred on the
    // vertices, so the interior is the set of pixels whose centres lie inside the same polygon:
    // the polygon moved by half a pixel, filled without a pen, brush aligned to the origin.
    const QBrush brush = MakeBrush(FillStyle, FillColor);
    // Under a patterned pen the outline's gaps show what lay beneath, as a box's do, not the fill.
    QImage beneath;
    QPoint beneathAt;
    if (brush.style() != Qt::NoBrush && poly.size() >= 3) {
      if (PatternOf(DrawStyle).on) {
        const QRect area = Around(x0, y0, x1, y1, 1) & raster_.rect();
        beneath = raster_.copy(area);
        beneathAt = area.topLeft();
      }
      QPainter p(&raster_);
      Prepare(p);
      p.setPen(Qt::NoPen);
      p.setBrush(brush);
      p.drawPolygon(poly.translated(0.5, 0.5));
    }
    // A closed chain: each side leaves its end pixel to the next, so the dash pattern runs on
    // round the outline from the first vertex.
    bool single = true;
    for (int i = 1; i < count && single; ++i) single = points[i] == points[0];
    QRect touched;
    if (single) {
      touched = ThinLine(raster_, points[0].x(), points[0].y(), points[0].x(), points[0].y(), ForeColor, DrawStyle);
    } else {
      int phase = 0;
      for (int i = 0; i < count; ++i) {
        const QPoint& a = points[i];
        const QPoint& b = points[(i + 1) % count];
        touched |= ThinLine(raster_, a.x(), a.y(), b.x(), b.y(), ForeColor, DrawStyle, phase, false, &phase,
                            beneath.isNull() ? nullptr : &beneath, beneathAt);
      }
    }
    Touch(touched);
  } else {
    QPainter p(&raster_);
    Prepare(p);
    p.setPen(MakePen(ForeColor, DrawWidth, DrawStyle));
    p.setBrush(MakeBrush(FillStyle, FillColor));
    if (poly.size() == 1)
      p.drawPoint(poly[0]);
    else
      p.drawPolygon(poly);
  }
  // Mitred joins of sharp angles stick out up to the miter limit (2 pen widths) past a vertex.
  Touch(Around(x0, y0, x1, y1, 3 * pw + 2));
}

// ---- Points ----

void Canvas::PSet(double x, double y) {
  if (!OwnPixels(raster_)) return;
  if (!Finite({x, y})) return;
  const double fx = Px(x), fy = Px(y);
  const int w = PenWidthOf(DrawWidth);
  if (fx < -w || fy < -w || fx > Width() + w || fy > Height() + w) return;
  const int px = static_cast<int>(fx), py = static_cast<int>(fy);
  if (w == 1) {
    SetPixel(px, py, ForeColor);
    return;
  }
  // A round dot of diameter w: centred on the pixel corner (x, y) for even w, on the centre of
  // pixel (x, y) for odd w, covering the pixels whose centres lie within w / 2.
  const bool even = (w % 2) == 0;
  const int lo = even ? -w / 2 : -(w - 1) / 2, hi = even ? w / 2 - 1 : (w - 1) / 2;
  const double off = even ? 0.5 : 0.0, r2 = (w / 2.0) * (w / 2.0);
  const uint32_t c = ForeColor | kOpaque;
  for (int j = lo; j <= hi; ++j) {
    const int yy = py + j;
    if (yy < 0 || yy >= Height()) continue;
    auto* row = reinterpret_cast<uint32_t*>(raster_.scanLine(yy));
    for (int i = lo; i <= hi; ++i) {
      const int xx = px + i;
      if (xx < 0 || xx >= Width()) continue;
      const double dx = i + off, dy = j + off;
      if (dx * dx + dy * dy <= r2) row[xx] = c;
    }
  }
  Touch(QRect(QPoint(px + lo, py + lo), QPoint(px + hi, py + hi)));
}

QRgb Canvas::Point(double x, double y) const {
  if (!Finite({x, y})) return kNoPixel;
  const double fx = Px(x), fy = Px(y);
  if (fx < 0 || fy < 0 || fx >= Width() || fy >= Height()) return kNoPixel;
  return GetPixel(static_cast<int>(fx), static_cast<int>(fy));
}

void Canvas::SetPixel(int x, int y, QRgb color) {
  if (!OwnPixels(raster_)) return;
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  reinterpret_cast<uint32_t*>(raster_.scanLine(y))[x] = color | kOpaque;
  Touch(QRect(x, y, 1, 1));
}

QRgb Canvas::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return kNoPixel;
  return reinterpret_cast<const uint32_t*>(raster_.constScanLine(y))[x] | kOpaque;
}

// ---- Pictures ----

void Canvas::PaintPicture(const QImage& picture, double x, double y) {
  PaintPicture(picture, x, y, picture.width(), picture.height(), 0, 0, picture.width(),
               picture.height(), RasterOp::Copy);
}

void Canvas::PaintPicture(const QImage& picture, double x, double y, double width, double height,
                          double srcX, double srcY, double srcWidth, double srcHeight, RasterOp op) {
  if (!OwnPixels(raster_)) return;
  if (picture.isNull() || !Finite({x, y, width, height, srcX, srcY, srcWidth, srcHeight})) return;
  int64_t dx = RoundHalfEven(x), dy = RoundHalfEven(y);
  int64_t dw = RoundHalfEven(width), dh = RoundHalfEven(height);
  const bool mirrorX = dw < 0, mirrorY = dh < 0;
  // A negative size mirrors; the destination then extends to the left of (upwards from) x (y).
  if (mirrorX) {
    dw = -dw;
    dx -= dw;
  }
  if (mirrorY) {
    dh = -dh;
    dy -= dh;
  }
  Touch(Blit(raster_, picture, dx, dy, dw, dh, RoundHalfEven(srcX), RoundHalfEven(srcY),
             RoundHalfEven(srcWidth), RoundHalfEven(srcHeight), mirrorX, mirrorY, op));
}

void Canvas::BitBlt(int x, int y, int width, int height, const QImage& source, int srcX, int srcY,
                    RasterOp op) {
  if (!OwnPixels(raster_)) return;
  Touch(Blit(raster_, source, x, y, width, height, srcX, srcY, width, height, false, false, op));
}

void Canvas::ExtFloodFill(int x, int y, QRgb color, int fillType) {
  if (!OwnPixels(raster_)) return;
  Touch(FloodFillRegion(raster_, x, y, color, fillType, FillStyle, FillColor));
}

void Canvas::TextOutA(int x, int y, const QByteArray& text, int length) {
  if (!OwnPixels(raster_)) return;
  if (length <= 0 || text.isEmpty()) return;
  const QByteArray bytes = text.left(std::min<qsizetype>(length, text.size()));
  QStringDecoder decoder("GBK");
  QString s = decoder.decode(bytes);
  // Bytes that are no character of the code page show as the code page's '?'.
  s.replace(QChar(QChar::ReplacementCharacter), QLatin1Char('?'));
  if (s.isEmpty()) return;
  QFont font = Font;
  font.setStyleStrategy(QFont::NoAntialias);
  const QFontMetrics fm(font, &raster_);
  const int64_t em = std::max(fm.height(), fm.maxWidth()) + 2;
  const int64_t advance = fm.horizontalAdvance(s);
  const int64_t left = static_cast<int64_t>(x) - em, right = static_cast<int64_t>(x) + advance + em;
  const int64_t top = static_cast<int64_t>(y) - em, bottom = static_cast<int64_t>(y) + fm.height() + em;
  if (right < 0 || bottom < 0 || left >= Width() || top >= Height()) return;
  {
    QPainter p(&raster_);
    Prepare(p);
    p.setFont(font);
    p.setPen(QColor::fromRgb(ForeColor));
    p.drawText(QPointF(x, static_cast<double>(y) + fm.ascent()), s);
  }
  auto c = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -1, kMaxSide + 1)); };
  Touch(QRect(QPoint(c(left), c(top)), QPoint(c(right), c(bottom))));
}

// ---- Capture and restore ----

QImage Canvas::Image() const { return raster_; }

void Canvas::CopyInto(QImage& target) const {
  if (target.size() == raster_.size() && target.format() == raster_.format() && target.isDetached() &&
      target.constBits() != raster_.constBits()) {
    const size_t n = static_cast<size_t>(Width()) * 4;
    for (int y = 0; y < Height(); ++y) std::memcpy(target.scanLine(y), raster_.constScanLine(y), n);
    return;
  }
  // When the copy cannot be allocated the target keeps what it held.
  QImage copy = raster_.copy();
  if (!copy.isNull()) target = std::move(copy);
}

void Canvas::SetPicture(const QImage& picture) {
  if (!picture.isNull() && picture.constBits() == raster_.constBits() && picture.size() == raster_.size()) {
    MarkAllDamaged();
    return;
  }
  const QImage src = (picture.isNull() || picture.format() == QImage::Format_RGB32)
                         ? picture
                         : picture.convertToFormat(QImage::Format_RGB32);
  // A picture that could not be converted, or a raster that cannot be made our own, leaves the
  // picture as it was.
  if (src.isNull() != picture.isNull() || !OwnPixels(raster_)) return;
  const int cw = std::min(src.width(), Width()), ch = std::min(src.height(), Height());
  const size_t rowBytes = static_cast<size_t>(Width()) * 4;
  for (int y = 0; y < Height(); ++y) {
    auto* row = reinterpret_cast<uint32_t*>(raster_.scanLine(y));
    int from = 0;
    if (y < ch) {
      std::memcpy(row, src.constScanLine(y), static_cast<size_t>(cw) * 4);
      from = cw;
    }
    if (from == 0)
      std::memset(row, 0xFF, rowBytes);
    else
      std::fill(row + from, row + Width(), kWhite);
  }
  MarkAllDamaged();
}

void Canvas::Clear() {
  if (!OwnPixels(raster_)) return;
  raster_.fill(kWhite);
  MarkAllDamaged();
}

void Canvas::Restore(const QImage& backing) {
  if (backing.size() != raster_.size() || backing.format() != QImage::Format_RGB32) {
    SetPicture(backing);
    damage_ = QRect();
    return;
  }
  if (!damage_.isEmpty() && backing.constBits() != raster_.constBits() && OwnPixels(raster_)) {
    const int x = damage_.left(), n = damage_.width();
    for (int y = damage_.top(); y <= damage_.bottom(); ++y)
      std::memcpy(reinterpret_cast<uint32_t*>(raster_.scanLine(y)) + x,
                  reinterpret_cast<const uint32_t*>(backing.constScanLine(y)) + x,
                  static_cast<size_t>(n) * 4);
    screenDamage_ |= damage_;
  }
  damage_ = QRect();
}

void Canvas::MarkAllDamaged() {
  damage_ = raster_.rect();
  screenDamage_ = raster_.rect();
}

QRect Canvas::TakeScreenDamage() {
  const QRect r = screenDamage_;
  screenDamage_ = QRect();
  return r;
}

void Canvas::Touch(const QRect& r) {
  const QRect c = r & raster_.rect();
  if (c.isEmpty()) return;
  damage_ |= c;
  screenDamage_ |= c;
}
