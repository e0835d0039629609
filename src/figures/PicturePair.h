#pragma once
#include <QImage>
#include <QRect>
#include <QSize>

// A picture and its high-resolution companion: the same content at k times the detail (k x k
// companion pixels per picture pixel). The companion may be null; the picture enlarged then
// stands for it (no companion was made for this raster, or it is implicit: see implicitScale).
// A null `companion` is therefore not "no companion": Scale() says whether there is one, and
// CompanionAt(Scale()) gives its pixels.
struct PicturePair {
  QImage image;      // the picture itself (1x)
  QImage companion;  // k x the picture's size, or null
  // With a null companion, the scale of the companion the pair stands for without holding it:
  // the picture enlarged by it, which for a white picture is the white companion the canvas
  // keeps implicit (never allocated) until something reaches it. 1: the pair has no companion.
  int implicitScale = 1;

  bool isNull() const { return image.isNull(); }
  int width() const { return image.width(); }
  int height() const { return image.height(); }
  QSize size() const { return image.size(); }
  // The companion's scale: its width over the picture's, or implicitScale when it is not held
  // (1 when there is none).
  int Scale() const;
  // The pair's companion when it is exactly k x the picture, else the picture enlarged by k
  // (nearest: every pixel becomes a k x k block).
  QImage CompanionAt(int k) const;
  // Both halves mirrored (left-right or top-bottom).
  PicturePair Mirrored(bool horizontal, bool vertical) const;
};

// The largest of 4, 3 and 2 for which k^2 x width x height <= 2^24 and k x the longer side <= 16384;
// 1 (no companion) when none fits.
int CompanionScaleFor(int width, int height);

// `image` enlarged by k, nearest: picture pixel c becomes companion pixels k*c ... k*c + k - 1 in
// both directions. Null when it would not fit in memory.
QImage Enlarged(const QImage& image, int k);
// The same for the rectangle `r` of `image` only, written into `target` at k * r (target must be
// k x the image's size).
void EnlargeInto(const QImage& image, const QRect& r, int k, QImage& target);
