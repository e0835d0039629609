// The one-pixel line walker: solid and patterned lines of exactly known pixels, bounded by the
// raster whatever the ends.
#include <algorithm>
#include <cmath>

#include "figures/Raster.h"

namespace raster {

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

namespace {

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

}  // namespace

QRect ThinLine(QImage& img, int64_t x0, int64_t y0, int64_t x1, int64_t y1, QRgb color, int drawStyle,
               int phase, bool drawEnd, int* phaseOut, const QImage* gaps, QPoint gapsAt) {
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

}  // namespace raster
