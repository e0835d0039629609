// Keeping the companion and the picture in agreement: block colours and the reconciling pass.
#include <algorithm>
#include <cstring>
#include <vector>

#include "figures/BlockMarks.h"
#include "figures/CompanionRule.h"
#include "figures/PixelLanes.h"
#include "figures/Raster.h"

using namespace raster;
using companion_rule::kMixed;

namespace {

// The number of bits set in each 4-bit mask.
constexpr int kBitsOf[16] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};

// How many of the sixteen pixels of the 4 x 4 block whose first pixel is at `block` are c (opaque),
// one row of four at a time; rows j0 ... j1 - 1 only.
inline int Count4x4(const uchar* block, qsizetype stride, uint32_t c, int j0 = 0, int j1 = 4) {
  const lanes::Quad target = lanes::Splat(c), opaque = lanes::Splat(kOpaque);
  int n = 0;
  for (int j = j0; j < j1; ++j)
    n += kBitsOf[lanes::Mask(lanes::Equal(lanes::Or(lanes::Load(block + j * stride), opaque), target))];
  return n;
}

// Whether a 4 x 4 block (its first pixel at `block`) plainly agrees with its picture pixel p, a
// shortcut of the rule: for a white pixel, at least half the block is white (no other colour can
// then cover more than half, so the block needs no pixel, and a white pixel needs no block); for
// a coloured one, more than half the block is p (the block holds more than a quarter of p, and
// its colour has its own pixel).
inline bool PlainlySound4(const uchar* block, qsizetype stride, uint32_t p) {
  const int top = Count4x4(block, stride, p, 0, 2);
  if (p == kWhite && top == 8) return true;  // the rows below are not needed
  const int n = top + Count4x4(block, stride, p, 2, 4);
  return p == kWhite ? n >= 8 : n > 8;
}

}  // namespace

namespace raster {

uint32_t BlockColour(const QImage& big, int k, int x, int y) {
  const uchar* bits = big.constBits();
  const qsizetype stride = big.bytesPerLine();
  auto row = [&](int j) { return reinterpret_cast<const uint32_t*>(bits + (y * k + j) * stride) + x * k; };
  const uint32_t first = row(0)[0] | kOpaque;
  if (k == 4) {
    // Sixteen pixels in four loads: how many are the first one's colour.
    const uchar* block = reinterpret_cast<const uchar*>(row(0));
    const int same = Count4x4(block, stride, first);
    if (companion_rule::Covers(same, 4)) return first;
    // Mostly two colours: the other one is counted the same way.
    uint32_t second = first;
    for (int j = 0; j < 4 && second == first; ++j)
      for (int i = 0; i < 4; ++i)
        if ((row(j)[i] | kOpaque) != first) {
          second = row(j)[i] | kOpaque;
          break;
        }
    const int other = Count4x4(block, stride, second);
    if (companion_rule::Covers(other, 4)) return second;
    // Neither covers more than half: when they fill the block, or one has half of it, no third can.
    if (same + other == 16 || same >= 8 || other >= 8) return kMixed;
  }
  int same = 0;
  for (int j = 0; j < k; ++j) {
    const uint32_t* r = row(j);
    for (int i = 0; i < k; ++i) same += (r[i] | kOpaque) == first;
  }
  if (companion_rule::Covers(same, k)) return first;
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
  return companion_rule::Covers(BlockCount(big, k, x, y, candidate), k) ? candidate : kMixed;
}

int BlockCount(const QImage& big, int k, int x, int y, uint32_t c) {
  const uchar* block = big.constBits() + static_cast<qsizetype>(y) * k * big.bytesPerLine() + static_cast<qsizetype>(x) * k * 4;
  const qsizetype stride = big.bytesPerLine();
  if (k == 4) return Count4x4(block, stride, c);
  int n = 0;
  for (int j = 0; j < k; ++j) {
    const auto* r = reinterpret_cast<const uint32_t*>(block + j * stride);
    for (int i = 0; i < k; ++i) n += (r[i] | kOpaque) == c;
  }
  return n;
}

}  // namespace raster

namespace {

// Bits for the row y of `area` (word w is pixels 64 (w0 + w) ...): the picture's coloured pixels,
// those that differ from `before` (when given), and those that differ and were coloured.
// `oldGroups`, when given, says which runs of sixteen pixels of `before` hold a colour: the others
// need not be read.
void RowBits(const QImage& picture, const QImage* before, const BlockMarks* oldGroups, const QRect& area, int y,
             uint64_t* ink, uint64_t* changed, uint64_t* wasInk) {
  const int x0 = area.left(), x1 = area.right(), w0 = x0 >> 6;
  const auto* row = reinterpret_cast<const uint32_t*>(picture.constScanLine(y));
  const auto* old = before ? reinterpret_cast<const uint32_t*>(before->constScanLine(y)) : nullptr;
  const lanes::Quad white = lanes::Splat(kWhite), opaque = lanes::Splat(kOpaque);
  auto load = [&](const uint32_t* p) {
    return lanes::Or(lanes::Load(p), opaque);
  };
  auto mask = [](lanes::Quad a, lanes::Quad b) { return lanes::Mask(lanes::Equal(a, b)); };
  auto put = [&](uint64_t* words, int x, uint64_t bits) {
    if (bits) words[(x >> 6) - w0] |= bits << (x & 63);
  };
  auto one = [&](int x) {
    const uint32_t p = row[x] | kOpaque;
    if (p != kWhite) put(ink, x, 1);
    if (old && (old[x] | kOpaque) != p) put(changed, x, 1), put(wasInk, x, (old[x] | kOpaque) != kWhite);
  };
  int x = x0;
  // Four pixels at a time, in steps that never cross a word, and sixteen at once where they are
  // all white as they were.
  for (; x + 4 <= x1 + 1 && (x & 3); ++x) one(x);
  for (; x + 4 <= x1 + 1; x += 4) {
    if ((x & 15) == 0 && x + 16 <= x1 + 1) {
      if (old && oldGroups && !oldGroups->Test(x >> 4, y)) {
        // Sixteen pixels that were all white: the coloured ones are the changed ones.
        for (int i = 0; i < 16; i += 4) {
          const uint64_t coloured = static_cast<uint64_t>(~mask(load(row + x + i), white) & 0xF);
          put(ink, x + i, coloured), put(changed, x + i, coloured);
        }
        x += 12;
        continue;
      }
      // Sixteen white pixels that were white: nothing to note.
      lanes::Quad all = lanes::Splat(0xFFFFFFFFu);
      for (int i = 0; i < 16; i += 4) {
        const lanes::Quad p = load(row + x + i);
        all = lanes::And(all, lanes::Equal(p, white));
        if (old) all = lanes::And(all, lanes::Equal(p, load(old + x + i)));
      }
      if (lanes::Mask(all) == 0xF) {
        x += 12;
        continue;
      }
    }
    const lanes::Quad p = load(row + x);
    const int isWhite = mask(p, white);
    if (isWhite != 0xF) put(ink, x, static_cast<uint64_t>(~isWhite & 0xF));
    if (!old) continue;
    const lanes::Quad o = load(old + x);
    const int same = mask(p, o);
    if (same == 0xF) continue;
    put(changed, x, static_cast<uint64_t>(~same & 0xF));
    put(wasInk, x, static_cast<uint64_t>(~same & ~mask(o, white) & 0xF));
  }
  for (; x <= x1; ++x) one(x);
}

// Each word grown by a pixel to either side (in[-1] and in[words] are read, out may be in).
void Grow(const uint64_t* in, uint64_t* out, int words) {
  uint64_t previous = in[-1];
  for (int w = 0; w < words; ++w) {
    const uint64_t m = in[w], after = in[w + 1];
    out[w] = m | (m << 1) | (m >> 1) | (previous >> 63) | (after << 63);
    previous = m;
  }
}

// The picture's pixels whose agreement with the companion may have changed, as words of 64 pixels
// for each row of `area` (word w of a row is pixels 64 (area.left() / 64 + w) ...).
//
// A pixel's agreement depends on its own colour, its block and the blocks about it, and the
// picture's pixels about it. Blocks changed only where marked, and the picture only where it
// differs from `before`; a pixel taking a colour never takes a block's support away from a
// neighbour, only one losing its colour does. So a pixel is looked at when its block is marked,
// when it changed, when it is coloured with a marked block about it, and when a pixel about it
// lost a colour. Without `before` every coloured pixel in the area counts as changed and so does
// every pixel about a marked block; without marks, every pixel is looked at.
std::vector<uint64_t> PixelsToCheck(const QImage& picture, const QRect& area, const BlockMarks* marks,
                                    const QImage* before, const BlockMarks* beforeGroups) {
  const int w0 = area.left() >> 6, words = (area.right() >> 6) - w0 + 1, rows = area.height();
  const int H = picture.height();
  std::vector<uint64_t> out(static_cast<size_t>(words) * rows, 0);
  auto clip = [&](uint64_t* row) {
    row[0] &= ~uint64_t{0} << (area.left() & 63);
    row[words - 1] &= ~uint64_t{0} >> (63 - (area.right() & 63));
  };
  if (!marks) {
    for (int r = 0; r < rows; ++r) {
      uint64_t* row = out.data() + static_cast<size_t>(r) * words;
      std::fill(row, row + words, ~uint64_t{0});
      clip(row);
    }
    return out;
  }
  // Rows of words with a zero word on either side; the lost-colour rows with one row more above
  // and below the area.
  const size_t stride = static_cast<size_t>(words) + 2;
  std::vector<uint64_t> ink(stride * rows, 0), changed(stride * rows, 0), lost(stride * (rows + 2), 0);
  auto at = [&](std::vector<uint64_t>& v, int r) { return v.data() + static_cast<size_t>(r) * stride + 1; };
  for (int r = 0; r < rows; ++r)
    RowBits(picture, before, beforeGroups, area, area.top() + r, at(ink, r), at(changed, r), at(lost, r + 1));
  std::vector<uint64_t> near(stride, 0), grown(stride, 0), lostNear(stride, 0);
  const int markWords = marks->Words();
  for (int r = 0; r < rows; ++r) {
    const int y = area.top() + r;
    // The marks of the rows about y, grown by a pixel to either side.
    for (int w = -1; w <= words; ++w) {
      const int word = w0 + w;
      uint64_t m = 0;
      if (word >= 0 && word < markWords)
        for (int yy = std::max(0, y - 1); yy <= std::min(H - 1, y + 1); ++yy) m |= marks->Row(yy)[word];
      near[static_cast<size_t>(w + 1)] = m;
    }
    Grow(near.data() + 1, grown.data() + 1, words);
    uint64_t* row = out.data() + static_cast<size_t>(r) * words;
    const uint64_t* inkRow = at(ink, r);
    const uint64_t* changedRow = at(changed, r);
    if (!before) {
      for (int w = 0; w < words; ++w) row[w] = grown[static_cast<size_t>(w + 1)] | inkRow[w];
    } else {
      for (int w = -1; w <= words; ++w)
        lostNear[static_cast<size_t>(w + 1)] = at(lost, r)[w] | at(lost, r + 1)[w] | at(lost, r + 2)[w];
      Grow(lostNear.data() + 1, lostNear.data() + 1, words);
      const int markRow = y;
      for (int w = 0; w < words; ++w) {
        const int word = w0 + w;
        const uint64_t own = word < markWords ? marks->Row(markRow)[word] : 0;
        row[w] = own | changedRow[w] | (inkRow[w] & grown[static_cast<size_t>(w + 1)]) |
                 lostNear[static_cast<size_t>(w + 1)];
      }
    }
    clip(row);
  }
  return out;
}

// One worker's view while it checks pixels: the picture, the companion (only read) and the block
// colours of the three rows it last looked at. It is a view of the rule (CompanionRule.h).
class Checker {
 public:
  Checker(const QImage& picture, const QImage& big, int k)
      : big_(big), k_(k), W_(picture.width()), H_(picture.height()), pictureBits_(picture.constBits()),
        pictureStride_(picture.bytesPerLine()), bigBits_(big.constBits()), bigStride_(big.bytesPerLine()) {
    for (Row& r : rows_) r.colour.resize(static_cast<size_t>(W_)), r.known.resize(static_cast<size_t>(W_));
  }

  // ---- The view the rule reads ----
  int Width() const { return W_; }
  int Height() const { return H_; }
  uint32_t Pixel(int x, int y) const {
    return reinterpret_cast<const uint32_t*>(pictureBits_ + y * pictureStride_)[x] | kOpaque;
  }
  uint32_t Block(int x, int y) {
    Row& r = Cached(y);
    if (!r.known[static_cast<size_t>(x)]) {
      r.colour[static_cast<size_t>(x)] = BlockColour(big_, k_, x, y);
      r.known[static_cast<size_t>(x)] = 1;
    }
    return r.colour[static_cast<size_t>(x)];
  }
  bool Holds(int x, int y, uint32_t c) const { return companion_rule::Supports(BlockCount(big_, k_, x, y, c), k_); }

  // Whether the pixel (x, y) and the companion agree by the rule. Two cases are settled before
  // the rule is asked, both exactly as it would settle them: a white pixel whose block no other
  // colour can cover more than half of, and a pixel whose block is its own colour.
  bool Sound(int x, int y) {
    const uint32_t p = Pixel(x, y);
    if (p == kWhite && OnlyWhite(x, y)) return true;
    if (Block(x, y) == p) return true;
    return companion_rule::Judge(*this, x, y) == companion_rule::Verdict::Sound;
  }
  // Sound(x, y), the plain cases at k = 4 first.
  bool Check(int x, int y) {
    if (k_ == 4 && PlainlySound4(bigBits_ + static_cast<qsizetype>(y) * 4 * bigStride_ + x * 16, bigStride_, Pixel(x, y)))
      return true;
    return Sound(x, y);
  }
  // The block (x, y) was given the colour c.
  void Settled(int x, int y, uint32_t c) {
    Row& r = Cached(y);
    r.colour[static_cast<size_t>(x)] = c;
    r.known[static_cast<size_t>(x)] = 1;
  }

  // Checks the pixels of `wanted` (from PixelsToCheck over `area`), noting those that disagree.
  // The companion's blocks of the rows ahead are asked for while a row is checked: a block's rows
  // lie a whole companion row apart.
  void CheckRows(const std::vector<uint64_t>& wanted, const QRect& area, std::vector<QPoint>& unsound) {
    const int w0 = area.left() >> 6, words = (area.right() >> 6) - w0 + 1, r0 = 0, r1 = area.height();
    constexpr int kAhead = 2;
    auto ask = [&](int r) {
      if (r >= r1) return;
      const uint64_t* w = wanted.data() + static_cast<size_t>(r) * words;
      const int by = area.top() + r;
      const uchar* last = nullptr;
      for (int i = 0; i < words; ++i)
        for (uint64_t bits = w[i]; bits; bits &= bits - 1) {
          const int px = ((w0 + i) << 6) + __builtin_ctzll(bits);
          const uchar* p = bigBits_ + static_cast<qsizetype>(by) * k_ * bigStride_ + static_cast<qsizetype>(px) * k_ * 4;
          if (last && (reinterpret_cast<uintptr_t>(p) >> 6) == (reinterpret_cast<uintptr_t>(last) >> 6)) continue;
          last = p;
          for (int j = 0; j < k_; ++j) __builtin_prefetch(p + j * bigStride_, 0, 2);
        }
    };
    for (int r = r0; r < std::min(r1, r0 + kAhead); ++r) ask(r);
    for (int r = r0; r < r1; ++r) {
      ask(r + kAhead);
      const int y = area.top() + r;
      const uint64_t* w = wanted.data() + static_cast<size_t>(r) * words;
      for (int i = 0; i < words; ++i)
        for (uint64_t bits = w[i]; bits; bits &= bits - 1) {
          const int px = ((w0 + i) << 6) + __builtin_ctzll(bits);
          if (!Check(px, y)) unsound.emplace_back(px, y);
        }
    }
  }

 private:
  struct Row {
    int y = -1;
    std::vector<uint32_t> colour;
    std::vector<uint8_t> known;
  };
  Row& Cached(int y) {
    Row& r = rows_[y % 3];
    if (r.y != y) {
      r.y = y;
      std::fill(r.known.begin(), r.known.end(), 0);
    }
    return r;
  }
  // Whether no colour but white can cover more than half of the block: the pixels read are just
  // enough for such a colour to show among them.
  bool OnlyWhite(int x, int y) const {
    if (k_ == 4) {
      // Eight pixels, two rows.
      const lanes::Quad w = lanes::Splat(kWhite), opaque = lanes::Splat(kOpaque);
      const uchar* r0 = bigBits_ + y * 4 * bigStride_ + x * 16;
      const uchar* r1 = bigBits_ + (y * 4 + 1) * bigStride_ + x * 16;
      const lanes::Quad a = lanes::Equal(lanes::Or(lanes::Load(r0), opaque), w);
      const lanes::Quad b = lanes::Equal(lanes::Or(lanes::Load(r1), opaque), w);
      return lanes::Mask(lanes::And(a, b)) == 0xF;
    }
    const int sample = k_ * k_ - (k_ * k_ / 2 + 1) + 1;
    int n = 0;
    for (int j = 0; j < k_; ++j) {
      const auto* row = reinterpret_cast<const uint32_t*>(bigBits_ + (y * k_ + j) * bigStride_) + x * k_;
      for (int i = 0; i < k_; ++i, ++n) {
        if (n == sample) return true;
        if ((row[i] | kOpaque) != kWhite) return false;
      }
    }
    return true;
  }

  const QImage& big_;
  const int k_, W_, H_;
  const uchar* pictureBits_;
  const qsizetype pictureStride_;
  const uchar* bigBits_;
  const qsizetype bigStride_;
  Row rows_[3];
};

}  // namespace

// Where the replay and the picture disagree by more than the rule allows (CompanionRule.h), the
// companion takes the picture's blocks. Replayed curves pass between blocks where the picture's
// rounding chose a pixel; this keeps what prints true to what the screen shows. Blocks made exact
// never need it again, so the work list ends.
namespace raster {
void Reconcile(const QImage& picture, QImage& big, int k, const QRect& area, const BlockMarks* marks,
               const QImage* before, const BlockMarks* beforeGroups) {
  if (before && (before->size() != picture.size() || before->format() != picture.format())) before = nullptr;
  if (!before || (beforeGroups && (beforeGroups->Width() != (picture.width() + 15) / 16 ||
                                   beforeGroups->Height() != picture.height())))
    beforeGroups = nullptr;
  if (area.isEmpty()) return;
  // The companion's own pixels before any pointer into them is kept (a shared one is copied now,
  // not in the middle of putting it right); only read until the pixels that disagree are known.
  if (big.bits() == nullptr) return;
  const QImage& companion = big;
  // The pixels to look at, as words of 64 pixels a row; elsewhere nothing changed on either side.
  const std::vector<uint64_t> wanted = PixelsToCheck(picture, area, marks, before, beforeGroups);
  std::vector<QPoint> unsound;
  Checker checker(picture, companion, k);
  checker.CheckRows(wanted, area, unsound);
  // A block given its pixel's colour is sound; its neighbours are looked at again.
  while (!unsound.empty()) {
    const QPoint q = unsound.back();
    unsound.pop_back();
    if (checker.Sound(q.x(), q.y())) continue;
    const uint32_t p = checker.Pixel(q.x(), q.y());
    for (int j = 0; j < k; ++j) {
      auto* row = reinterpret_cast<uint32_t*>(big.scanLine(q.y() * k + j)) + q.x() * k;
      std::fill(row, row + k, p);
    }
    checker.Settled(q.x(), q.y(), p);
    for (int j = -1; j <= 1; ++j)
      for (int i = -1; i <= 1; ++i)
        if (area.contains(q.x() + i, q.y() + j)) unsound.emplace_back(q.x() + i, q.y() + j);
  }
}

void NoteColouredGroups(const QImage& image, BlockMarks& groups) {
  const int W = image.width(), H = image.height();
  groups.Reset((W + 15) / 16, H);
  groups.ClearRows(0, H - 1);
  if (image.format() != QImage::Format_RGB32) {
    for (int y = 0; y < H; ++y) groups.Mark(y, 0, groups.Width() - 1);
    return;
  }
  const lanes::Quad white = lanes::Splat(kWhite), opaque = lanes::Splat(kOpaque);
  for (int y = 0; y < H; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    for (int g = 0; g * 16 < W; ++g) {
      const int x = g * 16;
      bool coloured = false;
      if (x + 16 <= W) {
        lanes::Quad all = white;
        for (int i = 0; i < 16; i += 4)
          all = lanes::And(all, lanes::Equal(lanes::Or(lanes::Load(row + x + i), opaque), white));
        coloured = lanes::Mask(all) != 0xF;
      } else {
        for (int i = x; i < W && !coloured; ++i) coloured = (row[i] | kOpaque) != kWhite;
      }
      if (coloured) groups.Set(g, y);
    }
  }
}
}  // namespace raster
