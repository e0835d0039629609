// The companion's faithfulness rule for one picture pixel, read through a view of a picture and
// its companion. The program's check of a whole companion (CompanionFaithfulness.cpp), the
// reconciling (CompanionReconcile.cpp) and a label's check of its own glyphs (TextAgreement.cpp)
// all judge a pixel here, each through its own view, so that they cannot drift apart.
#pragma once

#include <cstdint>

namespace companion_rule {

inline constexpr uint32_t kWhite = 0xFFFFFFFFu;
inline constexpr uint32_t kMixed = 0x00000000u;  // a block no colour covers more than half of

// Whether n of a block's k x k pixels are its colour: more than half of it.
constexpr bool Covers(int n, int k) { return 2 * n > k * k; }
// Whether n of a block's k x k pixels of a colour support a picture pixel of that colour: at
// least a quarter of it. A thin stroke that straddles two blocks leaves at least that much in one.
constexpr bool Supports(int n, int k) { return 4 * n >= k * k; }

enum class Verdict { Sound, PixelUnsupported, BlockUnsupported };

// The rule at the picture pixel (x, y) and its block:
// - a coloured pixel has, within one pixel, a block holding at least a quarter of its colour (a
//   block of its colour does: it holds more than half);
// - a block of one colour but white has, within one pixel, a picture pixel of that colour.
// White pixels need no support and mixed or white blocks no pixel. A view V answers
//   int Width(), Height()                 the picture's size
//   uint32_t Pixel(x, y)                  the picture pixel's colour, opaque
//   uint32_t Block(x, y)                  the colour covering more than half of the block, or kMixed
//   bool Holds(x, y, c)                   whether at least a quarter of the block is c
// and is asked Block before Holds, so that a view may know block colours cheaply and count only
// where no block about the pixel is of its colour.
template <class V>
Verdict Judge(V& v, int x, int y) {
  const int x0 = x > 0 ? x - 1 : 0, y0 = y > 0 ? y - 1 : 0;
  const int x1 = x + 1 < v.Width() ? x + 1 : x, y1 = y + 1 < v.Height() ? y + 1 : y;
  const uint32_t p = v.Pixel(x, y);
  if (p != kWhite) {
    bool supported = false;
    for (int yy = y0; yy <= y1 && !supported; ++yy)
      for (int xx = x0; xx <= x1 && !supported; ++xx) supported = v.Block(xx, yy) == p;
    for (int yy = y0; yy <= y1 && !supported; ++yy)
      for (int xx = x0; xx <= x1 && !supported; ++xx) supported = v.Holds(xx, yy, p);
    if (!supported) return Verdict::PixelUnsupported;
  }
  const uint32_t b = v.Block(x, y);
  if (b == kWhite || b == kMixed || b == p) return Verdict::Sound;
  for (int yy = y0; yy <= y1; ++yy)
    for (int xx = x0; xx <= x1; ++xx)
      if (v.Pixel(xx, yy) == b) return Verdict::Sound;
  return Verdict::BlockUnsupported;
}

}  // namespace companion_rule
