#include "editing/Rotation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "figures/Rounding.h"

int RotationSide(int w, int h) {
  const double wd = std::max(0, w), hd = std::max(0, h);
  return static_cast<int>(RoundHalfEven(std::sqrt(wd * wd + hd * hd)));
}

int64_t RoundFixedHalfEven(int64_t fixed) {
  // Add just under a half, and the missing bit when the whole part is odd.
  constexpr int64_t kHalf = int64_t{1} << 31;
  return (fixed + kHalf - 1 + ((fixed >> 32) & 1)) >> 32;
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
  // 32.32 fixed point and rounded to the nearest pixel, halves to even.
  constexpr double kOne = 4294967296.0;
  auto nearest = [](int64_t f) { return static_cast<uint64_t>(RoundFixedHalfEven(f)); };
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
    int64_t fx = static_cast<int64_t>(std::nearbyint((sx0 + i0 * c) * kOne));
    int64_t fy = static_cast<int64_t>(std::nearbyint((sy0 - i0 * s) * kOne));
    auto* out = reinterpret_cast<uint32_t*>(buffer.scanLine(j));
    for (int i = i0; i <= i1; ++i) {
      const uint64_t rx = nearest(fx), ry = nearest(fy);
      if (rx < static_cast<uint64_t>(W) && ry < static_cast<uint64_t>(H))
        out[i] = reinterpret_cast<const uint32_t*>(srcBits + static_cast<qsizetype>(ry) * srcStride)[rx];
      fx += dfx;
      fy += dfy;
    }
  }
}
