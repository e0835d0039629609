#include "editing/Rotation.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "figures/Rounding.h"

int RotationSide(int w, int h) {
  const double wd = std::max(0, w), hd = std::max(0, h);
  return static_cast<int>(RoundHalfEven(std::sqrt(wd * wd + hd * hd)));
}

namespace {

// The columns i of [0, last] where f0 + i * df lies within [lo, hi] (an empty range when first > last).
void Interval(double f0, double df, double lo, double hi, int last, int& first, int& end) {
  if (df == 0) {
    if (f0 >= lo && f0 <= hi) {
      first = 0, end = last;
    } else {
      first = 1, end = 0;
    }
    return;
  }
  double a = (lo - f0) / df, b = (hi - f0) / df;
  if (a > b) std::swap(a, b);
  a = std::max(a, -1.0);
  b = std::min(b, last + 1.0);
  first = std::max(0, static_cast<int>(std::floor(a)));
  end = std::min(last, static_cast<int>(std::ceil(b)));
}

// The columns k = 0, 1, ... of a row at which a value stepped in 32.32 fixed point, starting with
// fraction `a` and stepping by fraction `d`, is exactly halfway between two pixels (its fraction
// plus the half added is zero): k = first, first + period, ...; `any` false when it never is.
struct TieColumns {
  bool any = false;
  uint64_t first = 0, period = 1;
};
TieColumns TiesOf(uint32_t a, uint32_t d) {
  TieColumns t;
  if (d == 0) {
    t.any = a == 0;
    return t;
  }
  // a + k d = 0 (mod 2^32): with d = 2^z d' (d' odd), solvable when 2^z divides a; then
  // k = -(a / 2^z) / d' modulo 2^(32 - z). Powers of two throughout: shifts and masks only.
  const int z = std::countr_zero(d);
  if ((a & ((uint32_t{1} << z) - 1)) != 0) return t;
  const uint64_t mask = (uint64_t{1} << (32 - z)) - 1;
  const uint32_t odd = d >> z;
  uint32_t inverse = odd;  // Newton's iteration: the inverse of an odd number modulo 2^32
  for (int i = 0; i < 5; ++i) inverse *= 2u - odd * inverse;
  t.any = true;
  t.first = ((0 - uint64_t{a >> z}) * inverse) & mask;
  t.period = mask + 1;
  return t;
}

}  // namespace

void RenderRotation(const QImage& base, double angleDegrees, QImage& buffer) {
  const int W = base.isNull() ? 0 : base.width(), H = base.isNull() ? 0 : base.height();
  const int S = RotationSide(W, H);
  if (S <= 0) {
    buffer = QImage();
    return;
  }
  if (buffer.width() != S || buffer.height() != S || buffer.format() != QImage::Format_RGB32 ||
      !buffer.isDetached())
    buffer = QImage(S, S, QImage::Format_RGB32);
  // A square too big for memory leaves the buffer null; callers treat that as no rotation.
  if (buffer.isNull()) return;
  buffer.fill(0xFFFFFFFFu);
  if (!std::isfinite(angleDegrees)) return;

  const QImage src = base.format() == QImage::Format_RGB32 ? base : base.convertToFormat(QImage::Format_RGB32);
  if (src.isNull()) return;  // the base could not be converted: the square stays white
  const uchar* srcBits = src.constBits();
  const qsizetype srcStride = src.bytesPerLine();

  const double phi = angleDegrees * 3.1416 / 180;
  const double c = std::cos(phi), s = std::sin(phi);
  const int half = S / 2;
  const double cx = W / 2, cy = H / 2;

  // Along a row of the square the source position moves by (c, -s) per pixel. It is stepped in
  // 32.32 fixed point with half a pixel added and rounded to the nearest pixel, halves to even.
  constexpr double kOne = 4294967296.0;
  constexpr int64_t kHalf = int64_t{1} << 31;
  const int64_t dfx = static_cast<int64_t>(std::nearbyint(c * kOne));
  const int64_t dfy = static_cast<int64_t>(std::nearbyint(-s * kOne));

  for (int j = 0; j < S; ++j) {
    const double yc = j - half;
    const double xc0 = -half;
    const double sx0 = cx + xc0 * c + yc * s;  // source position at i = 0
    const double sy0 = cy + yc * c - xc0 * s;
    // The columns whose source lies near the base (one pixel of slack either way); each pixel is
    // still checked exactly below.
    int a0, a1, b0, b1;
    Interval(sx0, c, -1.0, W, S - 1, a0, a1);
    Interval(sy0, -s, -1.0, H, S - 1, b0, b1);
    const int i0 = std::max(a0, b0), i1 = std::min(a1, b1);
    if (i0 > i1) continue;
    const int64_t fx0 = static_cast<int64_t>(std::nearbyint((sx0 + i0 * c) * kOne)) + kHalf;
    const int64_t fy0 = static_cast<int64_t>(std::nearbyint((sy0 - i0 * s) * kOne)) + kHalf;
    auto* out = reinterpret_cast<uint32_t*>(buffer.scanLine(j));
    // A position exactly halfway between two pixels is rare: the row is stepped rounding halves
    // up, and the columns where a position is exactly halfway are sampled again.
    int64_t fx = fx0, fy = fy0;
    for (int i = i0; i <= i1; ++i) {
      const uint64_t rx = static_cast<uint64_t>(fx >> 32), ry = static_cast<uint64_t>(fy >> 32);
      if (rx < static_cast<uint64_t>(W) && ry < static_cast<uint64_t>(H))
        out[i] = reinterpret_cast<const uint32_t*>(srcBits + static_cast<qsizetype>(ry) * srcStride)[rx];
      fx += dfx;
      fy += dfy;
    }
    const uint64_t columns = static_cast<uint64_t>(i1 - i0) + 1;
    for (const TieColumns& t : {TiesOf(static_cast<uint32_t>(fx0), static_cast<uint32_t>(dfx)),
                                TiesOf(static_cast<uint32_t>(fy0), static_cast<uint32_t>(dfy))}) {
      if (!t.any) continue;
      for (uint64_t k = t.first; k < columns; k += t.period) {
        const int64_t x = fx0 + static_cast<int64_t>(k) * dfx, y = fy0 + static_cast<int64_t>(k) * dfy;
        const auto rx = static_cast<uint64_t>(NearestOfHalfUp(x)), ry = static_cast<uint64_t>(NearestOfHalfUp(y));
        if (rx < static_cast<uint64_t>(W) && ry < static_cast<uint64_t>(H))
          out[i0 + static_cast<int>(k)] =
              reinterpret_cast<const uint32_t*>(srcBits + static_cast<qsizetype>(ry) * srcStride)[rx];
      }
    }
  }
}

void RenderRotationAt(const QImage& baseK, QSize base, double angleDegrees, int k, int side, QImage& buffer) {
  const int S = side * k;
  if (S <= 0 || k < 1 || baseK.isNull()) {
    buffer = QImage();
    return;
  }
  if (buffer.width() != S || buffer.height() != S || buffer.format() != QImage::Format_RGB32 || !buffer.isDetached())
    buffer = QImage(S, S, QImage::Format_RGB32);
  if (buffer.isNull()) return;
  buffer.fill(0xFFFFFFFFu);
  if (!std::isfinite(angleDegrees)) return;
  const QImage src = baseK.format() == QImage::Format_RGB32 ? baseK : baseK.convertToFormat(QImage::Format_RGB32);
  if (src.isNull()) return;
  const int KW = src.width(), KH = src.height();
  const double phi = angleDegrees * 3.1416 / 180;
  const double c = std::cos(phi), s = std::sin(phi);
  const int half = side / 2;
  const double cx = base.width() / 2, cy = base.height() / 2;
  const double shift = (k - 1) / 2.0;
  for (int J = 0; J < S; ++J) {
    const double yc = (J - shift) / k - half;
    auto* out = reinterpret_cast<uint32_t*>(buffer.scanLine(J));
    for (int I = 0; I < S; ++I) {
      const double xc = (I - shift) / k - half;
      const double sx = cx + xc * c + yc * s, sy = cy + yc * c - xc * s;
      const double X = std::floor(k * sx + shift + 0.5), Y = std::floor(k * sy + shift + 0.5);
      if (X >= 0 && Y >= 0 && X < KW && Y < KH)
        out[I] = reinterpret_cast<const uint32_t*>(src.constScanLine(static_cast<int>(Y)))[static_cast<int>(X)];
    }
  }
}
