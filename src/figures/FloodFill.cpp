#include "figures/FloodFill.h"

#include <QBrush>
#include <QPainter>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <vector>

#include "figures/PixelLanes.h"

namespace {

using Tile = std::array<uint8_t, 8>;

Qt::BrushStyle HatchBrush(int fillStyle) {
  switch (fillStyle) {
    case 2: return Qt::HorPattern;
    case 3: return Qt::VerPattern;
    case 4: return Qt::BDiagPattern;
    case 5: return Qt::FDiagPattern;
    case 6: return Qt::CrossPattern;
    case 7: return Qt::DiagCrossPattern;
    default: return Qt::NoBrush;
  }
}

// Reads the hatch tiles off Qt's own brushes once, so that our fill and Qt's box fill agree.
const std::array<Tile, 8>& Tiles() {
  static const std::array<Tile, 8> tiles = [] {
    std::array<Tile, 8> t{};
    for (int style = 2; style <= 7; ++style) {
      QImage img(16, 16, QImage::Format_RGB32);
      img.fill(0xFFFFFFFFu);
      {
        QPainter p(&img);
        p.setPen(Qt::NoPen);
        p.setBackgroundMode(Qt::TransparentMode);
        p.setBrush(QBrush(Qt::black, HatchBrush(style)));
        p.drawRect(QRect(0, 0, 16, 16));
      }
      for (int y = 0; y < 8; ++y) {
        uint8_t bits = 0;
        for (int x = 0; x < 8; ++x)
          if ((img.pixel(x, y) & 0xFFFFFFu) == 0) bits |= static_cast<uint8_t>(1u << x);
        t[style][y] = bits;
      }
    }
    return t;
  }();
  return tiles;
}

// A span of the row `y` still to be explored: the parent row y - dy was filled over [xl, xr].
struct Segment {
  int y, xl, xr, dy;
};

// Reused between fills: the fill never allocates per pixel, and after the first big fill it does
// not allocate at all. The canvas is drawn on the user-interface thread only.
struct Buffers {
  std::vector<Segment> stack;
  std::vector<int> rowMin, rowMax;
};
Buffers& Work() {
  static Buffers b;
  return b;
}

constexpr uint32_t kOpaque = 0xFF000000u;
constexpr int kPrefetchRows = 4;

// First index in [x, last] whose pixel differs from t, or last + 1.
inline int RunRight(const uint32_t* row, int x, int last, uint32_t t) {
  const lanes::Quad tv = lanes::Splat(t);
  while (x + 7 <= last) {
    lanes::Quad a = lanes::Equal(lanes::Load(row + x), tv);
    lanes::Quad b = lanes::Equal(lanes::Load(row + x + 4), tv);
    const unsigned m = static_cast<unsigned>(lanes::Mask(a)) |
                       (static_cast<unsigned>(lanes::Mask(b)) << 4);
    if (m != 0xFFu) return x + __builtin_ctz(~m);
    x += 8;
  }
  while (x <= last && row[x] == t) ++x;
  return x;
}

// Last index in [0, x] going left from x whose pixels all equal t: returns the smallest l with
// row[l..x] == t (x must match).
inline int RunLeft(const uint32_t* row, int x, uint32_t t) {
  const lanes::Quad tv = lanes::Splat(t);
  while (x - 4 >= 0) {
    lanes::Quad a = lanes::Equal(lanes::Load(row + x - 4), tv);
    int m = lanes::Mask(a);
    if (m != 0xF) return x - 4 + (32 - __builtin_clz(~static_cast<unsigned>(m) & 0xFu));
    x -= 4;
  }
  while (x > 0 && row[x - 1] == t) --x;
  return x;
}

// Surface mode: the region is the pixels equal to `target`; painting writes `paint` (which must
// differ from target, so that filled pixels no longer belong to the region).
struct SurfacePolicy {
  uint32_t target, paint;
  bool Match(uint32_t p) const { return p == target; }
  int Right(const uint32_t* row, int x, int last) const { return RunRight(row, x, last, target); }
  int Left(const uint32_t* row, int x) const { return RunLeft(row, x, target); }
  void Paint(uint32_t* row, int l, int r) const { std::fill(row + l, row + r + 1, paint); }
};

// Border mode: the region is the opaque pixels that are not `border`; painting clears the alpha
// byte (the mark), keeping the colour for the hatch gaps.
struct BorderPolicy {
  uint32_t border;
  bool Match(uint32_t p) const { return p != border && (p & kOpaque) == kOpaque; }
  int Right(const uint32_t* row, int x, int last) const {
    while (x <= last && Match(row[x])) ++x;
    return x;
  }
  int Left(const uint32_t* row, int x) const {
    while (x > 0 && Match(row[x - 1])) --x;
    return x;
  }
  void Paint(uint32_t* row, int l, int r) const {
    for (int x = l; x <= r; ++x) row[x] &= ~kOpaque;
  }
};

// Span fill with an explicit stack. Each filled span pushes the row beyond it in its own
// direction, and back towards its parent only the parts that stick out past the parent's span.
template <class Policy>
QRect Spans(uchar* bits, qsizetype stride, int w, int h, int sx, int sy, const Policy& pol,
            bool trackRows) {
  Buffers& buf = Work();
  std::vector<Segment>& stack = buf.stack;
  stack.clear();
  if (trackRows) {
    buf.rowMin.assign(static_cast<size_t>(h), INT_MAX);
    buf.rowMax.assign(static_cast<size_t>(h), -1);
  }
  int minX = INT_MAX, maxX = -1, minY = sy, maxY = sy;
  auto rowPtr = [&](int y) { return reinterpret_cast<uint32_t*>(bits + stride * y); };
  auto fill = [&](uint32_t* row, int y, int l, int r) {
    pol.Paint(row, l, r);
    if (l < minX) minX = l;
    if (r > maxX) maxX = r;
    if (y < minY) minY = y;
    if (y > maxY) maxY = y;
    if (trackRows) {
      int& a = buf.rowMin[static_cast<size_t>(y)];
      int& b = buf.rowMax[static_cast<size_t>(y)];
      if (l < a) a = l;
      if (r > b) b = r;
    }
  };
  auto push = [&](int y, int l, int r, int dy) {
    if (y >= 0 && y < h) stack.push_back(Segment{y, l, r, dy});
  };

  {
    uint32_t* row = rowPtr(sy);
    int l = pol.Left(row, sx);
    int r = pol.Right(row, sx + 1, w - 1) - 1;
    fill(row, sy, l, r);
    push(sy + 1, l, r, 1);
    push(sy - 1, l, r, -1);
  }
  while (!stack.empty()) {
    Segment s = stack.back();
    stack.pop_back();
    // The first span found in a row is explored next without going through the stack: a
    // narrow corridor then costs a few comparisons per row.
    for (;;) {
      if (s.xl == s.xr) {
        // A one-pixel corridor walked straight on while its sides stay closed: the same spans
        // the general step below would find, at a few comparisons per row.
        const int x = s.xl;
        bool ended = false;
        for (;;) {
          uint32_t* r = rowPtr(s.y);
          if (!pol.Match(r[x]) || (x > 0 && pol.Match(r[x - 1])) || (x < w - 1 && pol.Match(r[x + 1])))
            break;
          fill(r, s.y, x, x);
          const int ny = s.y + s.dy;
          if (ny < 0 || ny >= h) {
            ended = true;
            break;
          }
          const int ahead = s.y + kPrefetchRows * s.dy;
          if (ahead >= 0 && ahead < h)
            __builtin_prefetch(reinterpret_cast<const char*>(rowPtr(ahead)) + static_cast<qsizetype>(x) * 4);
          s.y = ny;
        }
        if (ended) break;
      }
      uint32_t* row = rowPtr(s.y);
      const int ny = s.y + s.dy;
      // Rows lie a stride apart: fetch a few rows ahead along the direction of travel.
      const int ahead = s.y + kPrefetchRows * s.dy;
      if (ahead >= 0 && ahead < h)
        __builtin_prefetch(reinterpret_cast<const char*>(rowPtr(ahead)) + static_cast<qsizetype>(s.xl) * 4);
      bool haveNext = false;
      Segment next{};
      auto child = [&](int l, int r) {
        if (ny < 0 || ny >= h) return;
        if (!haveNext) {
          next = Segment{ny, l, r, s.dy};
          haveNext = true;
        } else {
          stack.push_back(Segment{ny, l, r, s.dy});
        }
      };
      int x = s.xl;
      if (pol.Match(row[x])) {
        const int l = pol.Left(row, x);
        const int r = pol.Right(row, x + 1, w - 1) - 1;
        fill(row, s.y, l, r);
        child(l, r);
        if (l < s.xl) push(s.y - s.dy, l, s.xl - 1, -s.dy);
        if (r > s.xr) push(s.y - s.dy, s.xr + 1, r, -s.dy);
        x = r + 2;
      } else {
        ++x;
      }
      while (x <= s.xr) {
        while (x <= s.xr && !pol.Match(row[x])) ++x;
        if (x > s.xr) break;
        const int r = pol.Right(row, x + 1, w - 1) - 1;
        fill(row, s.y, x, r);
        child(x, r);
        if (r > s.xr) push(s.y - s.dy, s.xr + 1, r, -s.dy);
        x = r + 2;
      }
      if (!haveNext) break;
      s = next;
    }
  }
  if (maxX < 0) return QRect();
  return QRect(QPoint(minX, minY), QPoint(maxX, maxY));
}

// Turns the marked pixels (alpha cleared) of the filled rows into the brush's pixels.
void ResolveMarks(uchar* bits, qsizetype stride, const QRect& box, const uint8_t* hatch,
                  uint32_t fill) {
  const Buffers& buf = Work();
  for (int y = box.top(); y <= box.bottom(); ++y) {
    const int l = buf.rowMin[static_cast<size_t>(y)], r = buf.rowMax[static_cast<size_t>(y)];
    if (l > r) continue;
    uint32_t* row = reinterpret_cast<uint32_t*>(bits + stride * y);
    const unsigned pattern = hatch ? hatch[y & 7] : 0xFFu;
    for (int x = l; x <= r; ++x) {
      const uint32_t p = row[x];
      if (p & kOpaque) continue;
      row[x] = ((pattern >> (x & 7)) & 1u) ? fill : (p | kOpaque);
    }
  }
}

}  // namespace

const uint8_t* HatchRows(int fillStyle) {
  if (fillStyle < 2 || fillStyle > 7) return nullptr;
  return Tiles()[static_cast<size_t>(fillStyle)].data();
}

QRect FloodFillRegion(QImage& image, int x, int y, QRgb color, int fillType, int fillStyle,
                      QRgb fillColor) {
  if (image.isNull() || image.format() != QImage::Format_RGB32) return QRect();
  const int w = image.width(), h = image.height();
  if (x < 0 || y < 0 || x >= w || y >= h) return QRect();
  const uint8_t* hatch = HatchRows(fillStyle);
  if (fillStyle != 0 && !hatch) return QRect();  // transparent brush: nothing to paint

  const uint32_t key = color | kOpaque;
  const uint32_t fill = fillColor | kOpaque;
  const qsizetype stride = image.bytesPerLine();
  const uint32_t seed = reinterpret_cast<const uint32_t*>(image.constScanLine(y))[x];

  if (fillType == 0) {
    if (seed == key) return QRect();
    uchar* bits = image.bits();
    QRect box = Spans(bits, stride, w, h, x, y, BorderPolicy{key}, true);
    ResolveMarks(bits, stride, box, hatch, fill);
    return box;
  }
  if (seed != key) return QRect();
  if (!hatch) {
    if (fill == key) return QRect();  // the region already has the fill colour
    return Spans(image.bits(), stride, w, h, x, y, SurfacePolicy{key, fill}, false);
  }
  uchar* bits = image.bits();
  QRect box = Spans(bits, stride, w, h, x, y, SurfacePolicy{key, key & ~kOpaque}, true);
  ResolveMarks(bits, stride, box, hatch, fill);
  return box;
}
