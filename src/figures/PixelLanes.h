#pragma once
// Four 32-bit pixels at a time: the few operations the flood fill's and the companion's pixel
// loops use, on SSE2 (x86-64), on NEON (ARM), or in plain C++ that gives the same results. The
// compiler's own macros choose; a build with QUILLMERE_PORTABLE defined (the CMake option of that
// name) takes the plain path on every machine. This is the one file that includes a processor's
// vector header: the loops include it and use its operations only.
//
// A `Quad` holds four pixels, pixel 0 at the lowest address. `Equal` gives lanes of all ones where
// the pixels are equal and all zeros elsewhere; `Mask` reads the top bit of each lane into bits
// 0 to 3 (pixel 0 is bit 0), so that on compare results 0xF means "all four".
//
// Each path's operations live in a namespace of their own (inline in `lanes`), so that a file
// compiled for another path can never be linked with them by mistake.
#include <cstdint>
#include <cstring>

#if !defined(QUILLMERE_PORTABLE) && defined(__SSE2__)
#define QUILLMERE_LANES_SSE2 1
#include <emmintrin.h>
#elif !defined(QUILLMERE_PORTABLE) && defined(__ARM_NEON)
#define QUILLMERE_LANES_NEON 1
#include <arm_neon.h>
#endif

namespace lanes {

#if defined(QUILLMERE_LANES_SSE2)
inline namespace sse2 {

inline constexpr char kPath[] = "SSE2";
using Quad = __m128i;
inline Quad Splat(uint32_t v) { return _mm_set1_epi32(static_cast<int>(v)); }
inline Quad Load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
inline void Store(void* p, Quad v) { _mm_storeu_si128(static_cast<__m128i*>(p), v); }
inline Quad Or(Quad a, Quad b) { return _mm_or_si128(a, b); }
inline Quad And(Quad a, Quad b) { return _mm_and_si128(a, b); }
inline Quad Equal(Quad a, Quad b) { return _mm_cmpeq_epi32(a, b); }
inline int Mask(Quad v) { return _mm_movemask_ps(_mm_castsi128_ps(v)); }

}  // namespace sse2
#elif defined(QUILLMERE_LANES_NEON)
inline namespace neon {

inline constexpr char kPath[] = "NEON";
using Quad = uint32x4_t;
inline Quad Splat(uint32_t v) { return vdupq_n_u32(v); }
// Byte loads and stores: a pixel pointer into a picture row need not be 16-byte aligned.
inline Quad Load(const void* p) { return vreinterpretq_u32_u8(vld1q_u8(static_cast<const uint8_t*>(p))); }
inline void Store(void* p, Quad v) { vst1q_u8(static_cast<uint8_t*>(p), vreinterpretq_u8_u32(v)); }
inline Quad Or(Quad a, Quad b) { return vorrq_u32(a, b); }
inline Quad And(Quad a, Quad b) { return vandq_u32(a, b); }
inline Quad Equal(Quad a, Quad b) { return vceqq_u32(a, b); }
inline int Mask(Quad v) {
  const int32x4_t place = {0, 1, 2, 3};
  const uint32x4_t bits = vshlq_u32(vshrq_n_u32(v, 31), place);
#if defined(__aarch64__)
  return static_cast<int>(vaddvq_u32(bits));
#else
  const uint32x2_t pair = vpadd_u32(vget_low_u32(bits), vget_high_u32(bits));
  return static_cast<int>(vget_lane_u32(vpadd_u32(pair, pair), 0));
#endif
}

}  // namespace neon
#else
inline namespace scalar {

inline constexpr char kPath[] = "scalar";
struct Quad {
  uint32_t v[4];
};
inline Quad Splat(uint32_t v) { return {{v, v, v, v}}; }
inline Quad Load(const void* p) {
  Quad q;
  std::memcpy(q.v, p, sizeof q.v);
  return q;
}
inline void Store(void* p, Quad q) { std::memcpy(p, q.v, sizeof q.v); }
inline Quad Or(Quad a, Quad b) {
  for (int i = 0; i < 4; ++i) a.v[i] |= b.v[i];
  return a;
}
inline Quad And(Quad a, Quad b) {
  for (int i = 0; i < 4; ++i) a.v[i] &= b.v[i];
  return a;
}
inline Quad Equal(Quad a, Quad b) {
  for (int i = 0; i < 4; ++i) a.v[i] = a.v[i] == b.v[i] ? 0xFFFFFFFFu : 0u;
  return a;
}
inline int Mask(Quad q) {
  int m = 0;
  for (int i = 0; i < 4; ++i) m |= static_cast<int>(q.v[i] >> 31) << i;
  return m;
}

}  // namespace scalar
#endif

// ---- Loops over the operations, the same on every path ----

// Pixels l ... r of a row take the colour, four at a time: a stroke's rows are far apart in
// memory, and fewer, wider writes keep more of them on their way at once.
inline void FillRun(uint32_t* row, int l, int r, uint32_t px) {
  const Quad v = Splat(px);
  int x = l;
  for (; x + 4 <= r + 1; x += 4) Store(row + x, v);
  if (x <= r && r - l >= 3) {
    Store(row + r - 3, v);
    return;
  }
  for (; x <= r; ++x) row[x] = px;
}

}  // namespace lanes

// The path this build of the figures took ("SSE2", "NEON" or "scalar"), as compiled into the
// figures library (a file including this header may be compiled with other settings).
const char* PixelLanesPath();
