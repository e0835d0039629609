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
    Bind();
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
  // Reads the picture's half afresh (after it was drawn again).
  void Bind() {
    bits_ = small_.constBits();
    stride_ = small_.bytesPerLine();
  }
  int Width() const { return w_; }
  int Height() const { return h_; }
  int K() const { return k_; }
  bool Inked(int x, int y) const { return bits_[y * stride_ + x] >= 128; }
  uint32_t Pixel(int x, int y) const { return Inked(x, y) ? kInk : companion_rule::kWhite; }
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
  const uchar* bits_ = nullptr;
  qsizetype stride_ = 0;
  const int k_, w_, h_;
  std::vector<uint16_t> counts_;
};

struct Disagreement {
  int x, y;
  Verdict verdict;
};

// Where the rule fails: only an inked pixel or a block with ink in it can break it.
std::vector<Disagreement> Disagreements(LabelView& view) {
  std::vector<Disagreement> out;
  view.Bind();
  const int k = view.K();
  for (int y = 0; y < view.Height(); ++y)
    for (int x = 0; x < view.Width(); ++x) {
      const bool inked = view.Inked(x, y);
      const int n = view.Count(x, y);
      if (!inked && n == 0) continue;
      // What the rule says at once: an inked pixel whose own block is mostly ink is supported by
      // it and agrees with it; a white pixel whose block is not mostly ink asks nothing.
      if (inked == companion_rule::Covers(n, k)) continue;
      const Verdict v = companion_rule::Judge(view, x, y);
      if (v != Verdict::Sound) out.push_back({x, y, v});
    }
  return out;
}

// One glyph (arrow, bar) of the label drawn alone over its box (mask pixels at scale 1), at
// scale 1 and at k, when first asked for.
class AloneInk {
 public:
  AloneInk(const TextLayout& layout, const LayoutGlyphs& glyphs, QPointF origin, int k, size_t unit, const QRect& box)
      : layout_(layout), glyphs_(glyphs), origin_(origin), k_(k), unit_(unit), box_(box) {}

  // Whether the glyph's own ink is what disagrees at d: the pixel at scale 1 that nothing
  // supports, or ink at k in the block that no pixel stands for.
  bool Involved(const Disagreement& d) {
    if (!box_.contains(d.x, d.y) || !Draw()) return false;
    const int x = d.x - box_.left(), y = d.y - box_.top();
    if (d.verdict == Verdict::PixelUnsupported) return small_.constScanLine(y)[x] >= 128;
    for (int j = 0; j < k_; ++j) {
      const uchar* m = big_.constScanLine(y * k_ + j) + x * k_;
      for (int i = 0; i < k_; ++i)
        if (m[i] >= 128) return true;
    }
    return false;
  }
  // Inks the pixels of `mask` whose blocks hold at least a quarter of the glyph's ink at k: the
  // glyph at scale 1 made from its glyph at k.
  void DrawReduced(QImage& mask) {
    if (!Draw()) return;
    for (int y = 0; y < box_.height(); ++y)
      for (int x = 0; x < box_.width(); ++x) {
        int n = 0;
        for (int j = 0; j < k_; ++j) {
          const uchar* m = big_.constScanLine(y * k_ + j) + x * k_;
          for (int i = 0; i < k_; ++i) n += m[i] >= 128;
        }
        if (companion_rule::Supports(n, k_)) mask.scanLine(box_.top() + y)[box_.left() + x] = 0xFF;
      }
  }

 private:
  bool Draw() {
    if (drawn_) return !big_.isNull();
    drawn_ = true;
    if (box_.isEmpty()) return false;
    small_ = Mask(box_.width(), box_.height());
    big_ = Mask(box_.width() * k_, box_.height() * k_);
    if (small_.isNull() || big_.isNull()) return false;
    std::vector<uint8_t> only(unit_ + 1, 0);
    only[unit_] = 1;
    const QPointF at = origin_ - QPointF(box_.topLeft());
    DrawUnits(small_, layout_, &glyphs_, at, 1, &only);
    DrawUnits(big_, layout_, &glyphs_, at * k_, k_, &only);
    return true;
  }

  const TextLayout& layout_;
  const LayoutGlyphs& glyphs_;
  const QPointF origin_;
  const int k_;
  const size_t unit_;
  const QRect box_;
  bool drawn_ = false;
  QImage small_, big_;
};

QImage Agreeing(const TextLayout& layout, QPointF origin, QSize size, int k, GivingWay* givingWay) {
  QImage small = Mask(size.width(), size.height());
  if (small.isNull()) return small;
  DrawUnits(small, layout, nullptr, origin, 1);
  // The companion's half: what the replay draws over the mask's area at k.
  QImage big = Mask(size.width() * k, size.height() * k);
  if (big.isNull()) return small;
  const LayoutGlyphs glyphs = GlyphsOf(layout);
  DrawUnits(big, layout, &glyphs, origin * k, k);
  LabelView view(small, big, k);
  std::vector<Disagreement> wrong = Disagreements(view);
  if (wrong.empty()) return small;

  // The glyphs (arrows, bars) whose ink disagrees give way, until nothing disagrees or every one
  // whose ink does has given way.
  const std::vector<Unit> units = Units(layout, glyphs);
  std::vector<AloneInk> alone;
  alone.reserve(units.size());
  for (size_t u = 0; u < units.size(); ++u)
    alone.emplace_back(layout, glyphs, origin, k, u,
                       UnitBox(layout, glyphs, units[u]).translated(origin).toAlignedRect() & small.rect());
  std::vector<uint8_t> giving(units.size(), 0);
  while (!wrong.empty()) {
    bool more = false;
    for (const Disagreement& d : wrong)
      for (size_t u = 0; u < units.size(); ++u)
        if (!giving[u] && alone[u].Involved(d)) giving[u] = 1, more = true;
    if (!more) break;
    std::vector<uint8_t> standing(units.size());
    for (size_t u = 0; u < units.size(); ++u) standing[u] = !giving[u];
    small.fill(0);
    DrawUnits(small, layout, &glyphs, origin, 1, &standing);
    for (size_t u = 0; u < units.size(); ++u)
      if (giving[u]) alone[u].DrawReduced(small);
    wrong = Disagreements(view);
  }
  // What is left lies where glyphs overlap: a block that only their ink together covers mostly
  // takes its pixel; a pixel that is no glyph's own (none should be) and no block supports goes.
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

// What a mask depends on: the layout, where it lies in the mask, the mask's size and k. A label
// that lies wholly on the picture has the same key wherever it is stamped.
QString KeyOf(const TextLayout& layout, QPointF origin, QSize size, int k) {
  QString key = layout.font.key();
  auto add = [&key](double v) { key.append(QLatin1Char(' ')).append(QString::number(v, 'g', 17)); };
  for (const TextRun& run : layout.runs) {
    key.append(QChar(0x1F)).append(run.text);
    for (double v : {run.pixelSize, run.origin.x(), run.origin.y()}) add(v);
    if (run.arrow)
      for (double v : {run.arrow->left, run.arrow->right, run.arrow->top, run.arrow->stroke}) add(v);
  }
  for (const QRectF& bar : layout.bars)
    for (double v : {bar.x(), bar.y(), bar.width(), bar.height()}) add(v);
  key.append(QChar(0x1F));
  for (double v : {origin.x(), origin.y(), double(size.width()), double(size.height()), double(k)}) add(v);
  return key;
}

}  // namespace

QImage AgreeingMask(const TextLayout& layout, QPointF origin, QSize size, int k, GivingWay* givingWay, QRect* ink) {
  if (givingWay) {
    QImage mask = Agreeing(layout, origin, size, k, givingWay);
    if (ink) *ink = InkBox(mask);
    return mask;
  }
  // The last few labels, with where they ink: a figure's letters drawn at every move of a drag, a
  // label stamped as it was last previewed.
  struct Kept {
    QString key;
    QImage mask;
    QRect ink;
  };
  constexpr size_t kKept = 8;
  thread_local std::vector<Kept> kept;
  const QString key = KeyOf(layout, origin, size, k);
  for (size_t i = 0; i < kept.size(); ++i)
    if (kept[i].key == key) {
      std::rotate(kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(i), kept.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      if (ink) *ink = kept.front().ink;
      return kept.front().mask;
    }
  QImage mask = Agreeing(layout, origin, size, k, nullptr);
  if (mask.isNull()) return mask;
  if (kept.size() == kKept) kept.pop_back();
  kept.insert(kept.begin(), Kept{key, mask, InkBox(mask)});
  if (ink) *ink = kept.front().ink;
  return mask;
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
