#include "figures/CompanionFaithfulness.h"

#include <vector>

#include "figures/CompanionRule.h"
#include "figures/Raster.h"


uint32_t CompanionBlockColour(const QImage& companion, int k, int bx, int by) {
  return raster::BlockColour(companion, k, bx, by);
}

namespace {

// The picture and its companion as the rule reads them, every block's colour worked out once.
class WholeView {
 public:
  WholeView(const QImage& picture, const QImage& big, int k)
      : picture_(picture), big_(big), k_(k), w_(picture.width()), h_(picture.height()),
        blocks_(static_cast<size_t>(w_) * h_) {
    for (int by = 0; by < h_; ++by)
      for (int bx = 0; bx < w_; ++bx) blocks_[static_cast<size_t>(by) * w_ + bx] = raster::BlockColour(big_, k_, bx, by);
  }
  int Width() const { return w_; }
  int Height() const { return h_; }
  uint32_t Pixel(int x, int y) const {
    return reinterpret_cast<const uint32_t*>(picture_.constScanLine(y))[x] | raster::kOpaque;
  }
  uint32_t Block(int x, int y) const { return blocks_[static_cast<size_t>(y) * w_ + x]; }
  bool Holds(int x, int y, uint32_t c) const {
    return companion_rule::Supports(raster::BlockCount(big_, k_, x, y, c), k_);
  }

 private:
  const QImage& picture_;
  const QImage& big_;
  const int k_, w_, h_;
  std::vector<uint32_t> blocks_;
};

}  // namespace

QString CompanionDisagreement(const QImage& picture, const QImage& companion, int k, bool exact) {
  if (k < 2) return companion.isNull() ? QString() : QStringLiteral("a companion at scale 1");
  const int w = picture.width(), h = picture.height();
  if (companion.width() != w * k || companion.height() != h * k)
    return QStringLiteral("companion %1x%2 for a %3x%4 picture at k=%5")
        .arg(companion.width()).arg(companion.height()).arg(w).arg(h).arg(k);
  const QImage pic = picture.convertToFormat(QImage::Format_RGB32);
  const QImage big = companion.convertToFormat(QImage::Format_RGB32);
  WholeView view(pic, big, k);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t p = view.Pixel(x, y), b = view.Block(x, y);
      if (exact) {
        if (b != p) return QStringLiteral("block (%1,%2) is %3, pixel %4").arg(x).arg(y).arg(b, 8, 16).arg(p, 8, 16);
        continue;
      }
      switch (companion_rule::Judge(view, x, y)) {
        case companion_rule::Verdict::Sound: break;
        case companion_rule::Verdict::PixelUnsupported:
          return QStringLiteral("pixel (%1,%2) %3 has no block holding a quarter of its colour beside it")
              .arg(x).arg(y).arg(p, 8, 16);
        case companion_rule::Verdict::BlockUnsupported:
          return QStringLiteral("block (%1,%2) %3 has no pixel of its colour beside it").arg(x).arg(y).arg(b, 8, 16);
      }
    }
  return QString();
}
