// Which of the picture's pixels had their companion blocks drawn on while the recorded calls were
// replayed: one bit per picture pixel, each picture row a run of 64-bit words (bit i of word w is
// pixel 64 w + i), so that a row is looked at 64 pixels at a time.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

class BlockMarks {
 public:
  // Sized to a picture of width x height, every pixel unmarked; keeps its storage when it can.
  void Reset(int width, int height) {
    if (width == width_ && height == height_) return;
    width_ = std::max(0, width), height_ = std::max(0, height);
    words_ = (width_ + 63) / 64;
    bits_.assign(static_cast<size_t>(words_) * static_cast<size_t>(height_), 0);
  }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Words() const { return words_; }
  const uint64_t* Row(int y) const { return bits_.data() + static_cast<size_t>(y) * words_; }

  // Marks pixels x0 ... x1 of row y, clipped to the picture.
  void Mark(int y, int x0, int x1) {
    if (y < 0 || y >= height_) return;
    x0 = std::max(x0, 0), x1 = std::min(x1, width_ - 1);
    if (x0 > x1) return;
    uint64_t* row = bits_.data() + static_cast<size_t>(y) * words_;
    const int w0 = x0 >> 6, w1 = x1 >> 6;
    const uint64_t first = ~uint64_t{0} << (x0 & 63), last = ~uint64_t{0} >> (63 - (x1 & 63));
    if (w0 == w1) {
      row[w0] |= first & last;
      return;
    }
    row[w0] |= first;
    for (int w = w0 + 1; w < w1; ++w) row[w] = ~uint64_t{0};
    row[w1] |= last;
  }
  void Set(int x, int y) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_)
      bits_[static_cast<size_t>(y) * words_ + static_cast<size_t>(x >> 6)] |= uint64_t{1} << (x & 63);
  }
  bool Test(int x, int y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_ &&
           ((bits_[static_cast<size_t>(y) * words_ + static_cast<size_t>(x >> 6)] >> (x & 63)) & 1);
  }
  // Whether any pixel is marked.
  bool Any() const {
    return std::any_of(bits_.begin(), bits_.end(), [](uint64_t w) { return w != 0; });
  }
  // Unmarks rows y0 ... y1.
  void ClearRows(int y0, int y1) {
    y0 = std::max(y0, 0), y1 = std::min(y1, height_ - 1);
    if (y0 > y1) return;
    std::fill(bits_.begin() + static_cast<std::ptrdiff_t>(y0) * words_,
              bits_.begin() + static_cast<std::ptrdiff_t>(y1 + 1) * words_, uint64_t{0});
  }

 private:
  int width_ = 0, height_ = 0, words_ = 0;
  std::vector<uint64_t> bits_;
};
