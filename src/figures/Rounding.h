#pragma once
#include <cmath>
#include <cstdint>

// Real coordinates become whole pixels by rounding to the nearest integer, halves to even.
// Values beyond the range a picture can ever use are clamped, and NaN becomes 0, so that no
// conversion overflows; callers that must ignore non-finite input test IsUsable() first.

// Largest magnitude a rounded coordinate may take. Far beyond any picture (16384 pixels a side)
// yet small enough that sums and products of two such values fit in 64 bits.
inline constexpr double kCoordinateLimit = 1.0e9;

inline bool IsUsable(double v) { return std::isfinite(v); }

// Round half to even without a library call: adding and subtracting 1.5 * 2^52 leaves the value
// rounded by the FPU's default mode, which is round-half-to-even.
inline double RoundHalfEvenReal(double v) {
  if (!(v == v)) return 0.0;
  if (v > kCoordinateLimit) return kCoordinateLimit;
  if (v < -kCoordinateLimit) return -kCoordinateLimit;
  // Without -ffast-math the compiler may not fold the two operations away.
  return (v + 6755399441055744.0) - 6755399441055744.0;
}

inline int64_t RoundHalfEven(double v) { return static_cast<int64_t>(RoundHalfEvenReal(v)); }

// The same rounding to a 32-bit integer, clamped to its range (for vertex lists and the like).
inline int32_t RoundHalfEven32(double v) {
  int64_t r = RoundHalfEven(v);
  if (r > INT32_MAX) return INT32_MAX;
  if (r < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(r);
}
