// Keeping the companion and the picture in agreement: block colours and the reconciling pass.
#include <algorithm>
#include <cstring>
#include <vector>

#include <emmintrin.h>

#include "figures/Raster.h"

using namespace raster;

namespace {

// The number of bits set in each 4-bit mask.
constexpr int kBitsOf[16] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};

// The colour covering more than half of the block (x, y) of the companion, or 0 (mixed).
uint32_t BlockColour(const QImage& big, int k, int x, int y) {
  const uchar* bits = big.constBits();
  const qsizetype stride = big.bytesPerLine();
  auto row = [&](int j) { return reinterpret_cast<const uint32_t*>(bits + (y * k + j) * stride) + x * k; };
  const uint32_t first = row(0)[0] | kOpaque;
  if (k == 4) {
    // Sixteen pixels in four loads: how many are the first one's colour.
    const __m128i f = _mm_set1_epi32(static_cast<int>(first)), opaque = _mm_set1_epi32(static_cast<int>(kOpaque));
    int same = 0;
    for (int j = 0; j < 4; ++j) {
      const __m128i v = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row(j))), opaque);
      same += kBitsOf[_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(v, f)))];
    }
    if (2 * same > 16) return first;
    // Mostly two colours: the other one is counted the same way.
    uint32_t second = first;
    for (int j = 0; j < 4 && second == first; ++j)
      for (int i = 0; i < 4; ++i)
        if ((row(j)[i] | kOpaque) != first) {
          second = row(j)[i] | kOpaque;
          break;
        }
    const __m128i s2 = _mm_set1_epi32(static_cast<int>(second));
    int other = 0;
    for (int j = 0; j < 4; ++j) {
      const __m128i v = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row(j))), opaque);
      other += kBitsOf[_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(v, s2)))];
    }
    if (2 * other > 16) return second;
    if (same + other == 16 || same >= 8 || other >= 8) return 0;
  }
  int same = 0;
  for (int j = 0; j < k; ++j) {
    const uint32_t* r = row(j);
    for (int i = 0; i < k; ++i) same += (r[i] | kOpaque) == first;
  }
  if (same == k * k || 2 * same > k * k) return first;
  // A majority colour, if any, survives the pairing of different colours.
  uint32_t candidate = 0;
  int votes = 0;
  for (int j = 0; j < k; ++j) {
    const uint32_t* r = row(j);
    for (int i = 0; i < k; ++i) {
      const uint32_t p = r[i] | kOpaque;
      if (votes == 0) candidate = p, votes = 1;
      else votes += p == candidate ? 1 : -1;
    }
  }
  int n = 0;
  for (int j = 0; j < k; ++j) {
    const uint32_t* r = row(j);
    for (int i = 0; i < k; ++i) n += (r[i] | kOpaque) == candidate;
  }
  return 2 * n > k * k ? candidate : 0;
}

}  // namespace

// Where the replay and the picture disagree by more than a pixel, the companion takes the
// picture's blocks: every coloured picture pixel has a block of its colour within one pixel, and
// every block of one colour has a picture pixel of that colour within one pixel. Replayed curves
// pass between blocks where the picture's rounding chose a pixel; this keeps what prints true to
// what the screen shows. Blocks made exact never need it again, so the work list ends.
namespace raster {
void Reconcile(const QImage& picture, QImage& big, int k, const QRect& area, const uint8_t* marks) {
  if (area.isEmpty()) return;
  const int W = picture.width(), H = picture.height();
  const QRect zone = area.adjusted(-1, -1, 1, 1) & picture.rect();
  const uchar* pictureBits = picture.constBits();
  const qsizetype pictureStride = picture.bytesPerLine();
  auto pixel = [&](int x, int y) {
    return reinterpret_cast<const uint32_t*>(pictureBits + y * pictureStride)[x] | kOpaque;
  };
  // Block colours of the three rows about the one being looked at, worked out once each.
  struct Row {
    int y = -1;
    std::vector<uint32_t> colour;
    std::vector<uint8_t> known;
  };
  Row rows[3];
  for (Row& r : rows) r.colour.resize(static_cast<size_t>(W)), r.known.resize(static_cast<size_t>(W));
  auto cached = [&](int y) -> Row& {
    Row& r = rows[y % 3];
    if (r.y != y) {
      r.y = y;
      std::fill(r.known.begin(), r.known.end(), 0);
    }
    return r;
  };
  auto block = [&](int x, int y) {
    Row& r = cached(y);
    if (!r.known[static_cast<size_t>(x)]) {
      r.colour[static_cast<size_t>(x)] = BlockColour(big, k, x, y);
      r.known[static_cast<size_t>(x)] = 1;
    }
    return r.colour[static_cast<size_t>(x)];
  };
  // Beyond the zone the companion was not touched: its blocks count as agreeing.
  auto hasBlock = [&](int x, int y, uint32_t c) {
    if (block(x, y) == c) return true;
    for (int j = -1; j <= 1; ++j)
      for (int i = -1; i <= 1; ++i) {
        const int xx = x + i, yy = y + j;
        if ((i == 0 && j == 0) || xx < 0 || yy < 0 || xx >= W || yy >= H) continue;
        if (!zone.contains(xx, yy) || block(xx, yy) == c) return true;
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
  const uchar* bigBits = big.constBits();
  const qsizetype bigStride = big.bytesPerLine();
  // Pixels enough that a colour covering more than half of a block shows among them.
  const int sample = k * k - (k * k / 2 + 1) + 1;
  auto onlyWhite = [&](int x, int y) {
    if (k == 4) {
      // Eight pixels, two rows: a colour covering more than half of the block shows among them.
      const __m128i w = _mm_set1_epi32(-1), opaque = _mm_set1_epi32(static_cast<int>(kOpaque));
      const auto* r0 = reinterpret_cast<const __m128i*>(bigBits + y * 4 * bigStride + x * 16);
      const auto* r1 = reinterpret_cast<const __m128i*>(bigBits + (y * 4 + 1) * bigStride + x * 16);
      const __m128i a = _mm_cmpeq_epi32(_mm_or_si128(_mm_loadu_si128(r0), opaque), w);
      const __m128i b = _mm_cmpeq_epi32(_mm_or_si128(_mm_loadu_si128(r1), opaque), w);
      return _mm_movemask_epi8(_mm_and_si128(a, b)) == 0xFFFF;
    }
    int n = 0;
    for (int j = 0; j < k; ++j) {
      const auto* row = reinterpret_cast<const uint32_t*>(bigBits + (y * k + j) * bigStride) + x * k;
      for (int i = 0; i < k; ++i, ++n) {
        if (n == sample) return true;
        if ((row[i] | kOpaque) != kWhite) return false;
      }
    }
    return true;
  };
  auto sound = [&](int x, int y) {
    const uint32_t p = pixel(x, y);
    // A white pixel whose block has no other colour in more than half of it.
    if (p == kWhite && onlyWhite(x, y)) return true;
    const uint32_t b = block(x, y);
    if (b == p) return true;
    if (p != kWhite && !hasBlock(x, y, p)) return false;
    return b == kWhite || b == 0 || hasPixel(x, y, b);
  };
  // Checked: the picture's coloured pixels, and the pixels within one of a block drawn by the
  // replay (without marks, every pixel). Elsewhere nothing changed on either side.
  std::vector<QPoint> unsound;
  const int x0 = area.left(), x1 = area.right();
  if (!marks) {
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = x0; x <= x1; ++x)
        if (!sound(x, y)) unsound.emplace_back(x, y);
  } else {
    // Every change of the picture in this replay drew on the companion's blocks there, so only
    // the pixels within one of a marked block can disagree (a block may have covered the only
    // block of a colour its neighbours need). Rows are read eight marks at a time.
    std::vector<uint8_t> near(static_cast<size_t>(W) + 16, 0);
    uint8_t* c = near.data() + 1;  // c[-1] and c[W] stay 0
    for (int y = area.top(); y <= area.bottom(); ++y) {
      std::fill(near.begin(), near.end(), 0);
      for (int yy = std::max(0, y - 1); yy <= std::min(H - 1, y + 1); ++yy) {
        const uint8_t* m = marks + static_cast<size_t>(yy) * W;
        for (int x = x0; x <= x1;) {
          if (x + 8 <= x1 + 1) {
            uint64_t word;
            std::memcpy(&word, m + x, 8);
            if (word == 0) {
              x += 8;
              continue;
            }
          }
          if (m[x]) c[x - 1] = c[x] = c[x + 1] = 1;
          ++x;
        }
        // Marks just beyond the area's sides reach into it.
        if (x0 > 0 && m[x0 - 1]) c[x0] = 1;
        if (x1 < W - 1 && m[x1 + 1]) c[x1] = 1;
      }
      // The picture's coloured pixels are looked at too: a mitred corner of a wide outline may
      // reach farther than the companion's stroke.
      const auto* row = reinterpret_cast<const uint32_t*>(pictureBits + y * pictureStride);
      const __m128i white = _mm_set1_epi32(-1), opaque = _mm_set1_epi32(static_cast<int>(kOpaque));
      int x = x0;
      for (; x + 4 <= x1 + 1; x += 4) {
        const __m128i v = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x)), opaque);
        const int same = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(v, white)));
        if (same == 0xF) continue;
        for (int i = 0; i < 4; ++i) c[x + i] |= !((same >> i) & 1);
      }
      for (; x <= x1; ++x) c[x] |= (row[x] | kOpaque) != kWhite;
      for (int x = x0; x <= x1;) {
        if (x + 8 <= x1 + 1) {
          uint64_t word;
          std::memcpy(&word, c + x, 8);
          if (word == 0) {
            x += 8;
            continue;
          }
        }
        if (c[x] && !sound(x, y)) unsound.emplace_back(x, y);
        ++x;
      }
    }
  }
  // A block given its pixel's colour is sound; its neighbours are looked at again.
  while (!unsound.empty()) {
    const QPoint q = unsound.back();
    unsound.pop_back();
    if (sound(q.x(), q.y())) continue;
    const uint32_t p = pixel(q.x(), q.y());
    for (int j = 0; j < k; ++j) {
      auto* row = reinterpret_cast<uint32_t*>(big.scanLine(q.y() * k + j)) + q.x() * k;
      std::fill(row, row + k, p);
    }
    Row& r = cached(q.y());
    r.colour[static_cast<size_t>(q.x())] = p;
    r.known[static_cast<size_t>(q.x())] = 1;
    for (int j = -1; j <= 1; ++j)
      for (int i = -1; i <= 1; ++i)
        if (area.contains(q.x() + i, q.y() + j)) unsound.emplace_back(q.x() + i, q.y() + j);
  }
}
}  // namespace raster
