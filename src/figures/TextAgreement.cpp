// A label's two halves agree by construction: the label drawn at scale 1 is judged by the
// companion's rule (CompanionRule.h) against the same layout drawn at the companion's scale, and
// the glyphs that would break it give way to their own glyphs at that scale, reduced. So the
// reconciling never has a label's pixel to stamp into the companion, nor a glyph's ink at k to
// take away, and what prints is the label's own glyphs.
#include <algorithm>
#include <cstring>
#include <vector>

#include "figures/CompanionRule.h"
#include "figures/TextDrawing.h"

namespace text_drawing {

namespace {

using companion_rule::Verdict;

constexpr uint32_t kInk = 0xFF000000u;

// The label at scale 1 as the picture (ink on white) and at k as the companion, as the rule reads
// them: a block's colour and share of ink come from how many of its k x k pixels are inked.
class LabelView {
 public:
  LabelView(const QImage& small, const QImage& big, int k)
      : small_(small), k_(k), w_(small.width()), h_(small.height()), counts_(static_cast<size_t>(w_) * h_, 0) {
    for (int Y = 0; Y < h_ * k; ++Y) {
      const uchar* m = big.constScanLine(Y);
      uint16_t* counts = counts_.data() + static_cast<size_t>(Y / k) * w_;
      for (int X = 0; X < w_ * k;) {
        // Most of the mask is empty: eight pixels at a time.
        if (uint64_t eight; X + 8 <= w_ * k && (std::memcpy(&eight, m + X, 8), eight == 0)) {
          X += 8;
          continue;
        }
        counts[X / k] += m[X] >= 128;
        ++X;
      }
    }
  }
  int Width() const { return w_; }
  int Height() const { return h_; }
  uint32_t Pixel(int x, int y) const { return small_.constScanLine(y)[x] >= 128 ? kInk : companion_rule::kWhite; }
  uint32_t Block(int x, int y) const {
    const int n = Count(x, y);
    if (companion_rule::Covers(n, k_)) return kInk;
    return companion_rule::Covers(k_ * k_ - n, k_) ? companion_rule::kWhite : companion_rule::kMixed;
  }
  bool Holds(int x, int y, uint32_t c) const {
    const int n = Count(x, y);
    return companion_rule::Supports(c == kInk ? n : k_ * k_ - n, k_);
  }
  int Count(int x, int y) const { return counts_[static_cast<size_t>(y) * w_ + x]; }

 private:
  const QImage& small_;
  const int k_, w_, h_;
  std::vector<uint16_t> counts_;
};

struct Disagreement {
  int x, y;
  Verdict verdict;
};

// Where the rule fails: only an inked pixel or a block with ink in it can break it.
std::vector<Disagreement> Disagreements(const LabelView& view) {
  std::vector<Disagreement> out;
  for (int y = 0; y < view.Height(); ++y)
    for (int x = 0; x < view.Width(); ++x) {
      if (view.Pixel(x, y) != kInk && view.Count(x, y) == 0) continue;
      const Verdict v = companion_rule::Judge(view, x, y);
      if (v != Verdict::Sound) out.push_back({x, y, v});
    }
  return out;
}

// Inks the pixels of `small` whose blocks hold at least a quarter of ink of the unit drawn alone
// at k: the unit at scale 1 made from its glyph at k.
void DrawReduced(QImage& small, const TextLayout& layout, QPointF origin, int k, size_t unit, const QRect& box) {
  const QRect r = box & small.rect();
  if (r.isEmpty()) return;
  QImage big = Mask(r.width() * k, r.height() * k);
  if (big.isNull()) return;
  std::vector<uint8_t> only(unit + 1, 0);
  only[unit] = 1;
  DrawUnits(big, layout, (origin - QPointF(r.topLeft())) * k, k, &only);
  for (int y = 0; y < r.height(); ++y)
    for (int x = 0; x < r.width(); ++x) {
      int n = 0;
      for (int j = 0; j < k; ++j) {
        const uchar* m = big.constScanLine(y * k + j) + x * k;
        for (int i = 0; i < k; ++i) n += m[i] >= 128;
      }
      if (companion_rule::Supports(n, k)) small.scanLine(r.top() + y)[r.left() + x] = 0xFF;
    }
}

}  // namespace

QImage AgreeingMask(const TextLayout& layout, QPointF origin, QSize size, int k, GivingWay* givingWay) {
  QImage small = Mask(size.width(), size.height());
  if (small.isNull()) return small;
  DrawUnits(small, layout, origin, 1);
  // The companion's half: what the replay draws over the mask's area at k.
  QImage big = Mask(size.width() * k, size.height() * k);
  if (big.isNull()) return small;
  DrawUnits(big, layout, origin * k, k);
  const LabelView view(small, big, k);
  std::vector<Disagreement> wrong = Disagreements(view);
  if (wrong.empty()) return small;

  // The glyphs (arrows, bars) about what disagrees give way, until nothing disagrees or every
  // one about it has given way.
  const std::vector<Unit> units = Units(layout);
  std::vector<QRect> boxes(units.size());
  for (size_t u = 0; u < units.size(); ++u) boxes[u] = UnitBox(layout, units[u]).translated(origin).toAlignedRect();
  std::vector<uint8_t> giving(units.size(), 0);
  while (!wrong.empty()) {
    bool more = false;
    for (const Disagreement& d : wrong)
      for (size_t u = 0; u < units.size(); ++u)
        if (!giving[u] && boxes[u].contains(d.x, d.y)) giving[u] = 1, more = true;
    if (!more) break;
    std::vector<uint8_t> standing(units.size());
    for (size_t u = 0; u < units.size(); ++u) standing[u] = !giving[u];
    small.fill(0);
    DrawUnits(small, layout, origin, 1, &standing);
    for (size_t u = 0; u < units.size(); ++u)
      if (giving[u]) DrawReduced(small, layout, origin, k, u, boxes[u]);
    wrong = Disagreements(view);
  }
  // What is left lies where glyphs overlap: a block that only their ink together covers mostly
  // takes its pixel; a pixel that no glyph's box holds (none should) and no block supports goes.
  // Neither change can take support from another pixel or block.
  int pixels = 0;
  for (const Disagreement& d : wrong) {
    small.scanLine(d.y)[d.x] = d.verdict == Verdict::BlockUnsupported ? 0xFF : 0x00;
    ++pixels;
  }
  if (givingWay) {
    givingWay->units = static_cast<int>(std::count(giving.begin(), giving.end(), 1));
    givingWay->pixels = pixels;
  }
  return small;
}

}  // namespace text_drawing

GivingWay LabelGivingWay(const TextLayout& layout, int k) {
  GivingWay out;
  if (k < 2 || layout.extent.isEmpty()) return out;
  // The whole label on a picture of its own, room about it.
  const QRect box = layout.extent.toAlignedRect().adjusted(-2, -2, 2, 2);
  text_drawing::AgreeingMask(layout, -QPointF(box.topLeft()), box.size(), k, &out);
  return out;
}
