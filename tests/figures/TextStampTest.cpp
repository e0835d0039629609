// Labels as they land on the picture: every character as typed, scripts below and above the line,
// vector arrows over their letters, two colours only, and the same label enlarged glyph by glyph.
#include <gtest/gtest.h>

#include <QSet>
#include <algorithm>
#include <string>
#include <vector>

#include "figures/Canvas.h"
#include "figures/CompanionFaithfulness.h"
#include "figures/InkComponents.h"
#include "figures/TextLayout.h"
#include "support/Colors.h"

namespace {

QRect InkBox(const QImage& img, QRgb background = kWhite) {
  QRect box;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if ((img.pixel(x, y) | 0xFF000000u) != background) box |= QRect(x, y, 1, 1);
  return box;
}

// The label stamped at (10, 10) on a white picture, in the tests' font at `points`.
QImage Stamp(const QString& text, double points, QSize size = {400, 160}) {
  Canvas c(size.width(), size.height());
  c.Font = QFont(QStringLiteral("WenQuanYi Micro Hei"));
  c.Font.setPointSizeF(points);
  c.TextOutA(10, 10, text);
  return c.Image();
}

// The box of the pixels inked in `with` and not in `without`.
QRect AddedInk(const QImage& with, const QImage& without) {
  QRect box;
  for (int y = 0; y < with.height(); ++y)
    for (int x = 0; x < with.width(); ++x)
      if (with.pixel(x, y) != without.pixel(x, y)) box |= QRect(x, y, 1, 1);
  return box;
}

// Whether the ink pattern of `glyph` (its ink box, white and ink alike) appears anywhere in `img`.
bool ContainsPattern(const QImage& img, const QImage& glyph) {
  const QRect g = InkBox(glyph);
  for (int oy = 0; oy + g.height() <= img.height(); ++oy)
    for (int ox = 0; ox + g.width() <= img.width(); ++ox) {
      bool same = true;
      for (int y = 0; y < g.height() && same; ++y)
        for (int x = 0; x < g.width() && same; ++x)
          same = (img.pixel(ox + x, oy + y) == kWhite) == (glyph.pixel(g.left() + x, g.top() + y) == kWhite);
      if (same) return true;
    }
  return false;
}

TEST(TextStamp, CharactersOutsideTheCodePageAreNoQuestionMarks) {
  for (double points : {10.0, 16.0}) {
    const QImage question = Stamp(QStringLiteral("?"), points);
    ASSERT_TRUE(ContainsPattern(Stamp(QStringLiteral("m/s?"), points), question)) << "the search finds a ?";
    for (const char* text : {"m/s²", "F₁", "⊗", "v₀²", "⊙→±√∑∫"}) {
      const QImage stamped = Stamp(QString::fromUtf8(text), points);
      EXPECT_FALSE(InkBox(stamped).isEmpty()) << text;
      EXPECT_FALSE(ContainsPattern(stamped, question)) << text << " at " << points;
    }
  }
}

// At every size of the size list: a subscript's ink lies below the base line and a superscript's
// above the letter, both smaller than the letter's own digits, stacked one over the other, and a
// typed ² is drawn as ^2.
TEST(TextStamp, ScriptsBelowAndAboveTheLine) {
  for (double points : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 48}) {
    const std::string at = std::to_string(points) + " pt";
    const QImage x = Stamp(QStringLiteral("x"), points);
    const QRect letter = InkBox(x);
    const QRect sub = AddedInk(Stamp(QStringLiteral("x_1"), points), x);
    const QRect super = AddedInk(Stamp(QStringLiteral("x^2"), points), x);
    const QRect digit = AddedInk(Stamp(QStringLiteral("x1"), points), x);
    ASSERT_FALSE(sub.isEmpty() || super.isEmpty() || digit.isEmpty()) << at;
    EXPECT_GT(sub.bottom(), letter.bottom()) << "below the base line, " << at;
    EXPECT_LT(super.top(), letter.top()) << "above the letter, " << at;
    EXPECT_GT(sub.left(), letter.left()) << at;
    EXPECT_GT(super.left(), letter.left()) << at;
    EXPECT_LT(sub.height(), 0.8 * digit.height()) << "a script is smaller, " << at;
    EXPECT_GT(sub.height(), 0.4 * digit.height()) << at;

    const QImage both = Stamp(QStringLiteral("x_1^2"), points);
    EXPECT_EQ(AddedInk(both, x), sub | super) << "the two scripts share their place, " << at;
    EXPECT_GT(sub.top(), super.bottom()) << "one over the other, " << at;

    EXPECT_EQ(Stamp(QStringLiteral("x²"), points), Stamp(QStringLiteral("x^2"), points)) << at;
    EXPECT_EQ(Stamp(QStringLiteral("x₁²"), points), both) << at;
  }
}

// The label stamped at (10, 30) on a white picture at scale k: the picture itself at k = 1, else
// its companion, in the tests' font at `points`.
QImage PrintedAt(const QString& text, double points, int k) {
  Canvas c(420, 110);
  if (k > 1 && !c.SetCompanion(k)) return QImage();
  c.Font = QFont(QStringLiteral("WenQuanYi Micro Hei"));
  c.Font.setPointSizeF(points);
  c.TextOutA(10, 30, text);
  return k > 1 ? c.Companion() : c.Image();
}

// On the picture and as it prints: the arrow lies over its letters with a clear row of the picture
// (k rows of the companion) between, spans their ink, and has an open head whose barbs reach
// twice the shaft's stroke beyond it on either side; the letters stay as they are.
TEST(TextStamp, VectorArrowsReadAsInATextbook) {
  for (const char* letters : {"F", "AB", "v", "l", "E"})
    for (double points : {8.0, 10.0, 12.0, 24.0, 48.0})
      for (int k = 1; k <= 4; ++k) {
        const std::string at = std::string(letters) + " at " + std::to_string(points) + " pt, k=" + std::to_string(k);
        const QImage plain = PrintedAt(QString::fromUtf8(letters), points, k);
        const QImage vec = PrintedAt(QStringLiteral("\\vec{%1}").arg(QString::fromUtf8(letters)), points, k);
        const QRect letter = InkBox(plain), arrow = AddedInk(vec, plain);
        ASSERT_FALSE(arrow.isEmpty()) << at;
        for (int y = letter.top(); y <= letter.bottom(); ++y)
          for (int x = letter.left(); x <= letter.right(); ++x)
            ASSERT_TRUE(plain.pixel(x, y) == kWhite || vec.pixel(x, y) == plain.pixel(x, y)) << at;
        EXPECT_GE(letter.top() - arrow.bottom() - 1, k) << "clear of the letters, " << at;
        EXPECT_LE(arrow.left(), letter.left()) << at;
        EXPECT_GE(arrow.right(), letter.right()) << "the arrow spans the letters, " << at;
        // The shaft: the rows of the arrow's first column, inked across the letters.
        int shaftTop = -1, shaftBottom = -1;
        for (int y = arrow.top(); y <= arrow.bottom(); ++y)
          if (vec.pixel(arrow.left(), y) != kWhite) shaftBottom = y, shaftTop = shaftTop < 0 ? y : shaftTop;
        ASSERT_GE(shaftTop, 0) << at;
        for (int y = shaftTop; y <= shaftBottom; ++y)
          for (int x = letter.left(); x <= letter.right(); ++x) ASSERT_NE(vec.pixel(x, y), kWhite) << "the shaft, " << at;
        const int stroke = shaftBottom - shaftTop + 1;
        EXPECT_GE(stroke, k) << at;
        EXPECT_LE(arrow.top(), shaftTop - 2 * stroke) << "the upper barb, " << at;
        EXPECT_GE(arrow.bottom(), shaftBottom + 2 * stroke) << "the lower barb, " << at;
        // Open: where the barbs end, white lies between each barb and the shaft.
        int back = arrow.right();
        for (int x = arrow.left(); x <= arrow.right(); ++x)
          if (vec.pixel(x, arrow.top()) != kWhite) back = std::min(back, x);
        auto gap = [&](int from, int to, int step) {
          bool seenWhite = false;
          for (int y = from; y != to; y += step) {
            if (vec.pixel(back, y) == kWhite) seenWhite = true;
            else if (seenWhite) return true;
          }
          return false;
        };
        EXPECT_TRUE(gap(shaftTop - 1, arrow.top() - 1, -1)) << "an open head above, " << at;
        EXPECT_TRUE(gap(shaftBottom + 1, arrow.bottom() + 1, 1)) << "an open head below, " << at;
      }
}

// The minus of a script, typed, marked up or from the ⁻¹ button, is a bar as wide as the script's
// digits at their middle, on the picture and as it prints: never a dot.
TEST(TextStamp, AScriptsMinusIsAsWideAsItsDigits) {
  for (double points : {6.5, 8.0, 10.0, 12.0, 16.0, 24.0, 30.0, 48.0})
    for (int k : {1, 4}) {
      const std::string at = std::to_string(points) + " pt, k=" + std::to_string(k);
      const QImage x = PrintedAt(QStringLiteral("x"), points, k);
      const QImage minus = PrintedAt(QStringLiteral("x^-"), points, k);
      const QRect bar = AddedInk(minus, x), digit = AddedInk(PrintedAt(QStringLiteral("x^0"), points, k), x);
      ASSERT_FALSE(bar.isEmpty()) << at;
      int inked = 0;
      for (int y = bar.top(); y <= bar.bottom(); ++y)
        for (int xx = bar.left(); xx <= bar.right(); ++xx) inked += minus.pixel(xx, y) != kWhite;
      EXPECT_EQ(inked, bar.width() * bar.height()) << "a solid bar, " << at;
      EXPECT_GE(bar.width(), 2 * bar.height()) << at;
      EXPECT_GE(bar.width(), 2 * k) << at;
      EXPECT_LE(std::abs(bar.width() - digit.width()), k) << "as wide as a digit, " << at;
      EXPECT_LE(std::abs(bar.center().y() - digit.center().y()), k) << "at the digit's middle, " << at;
      for (const char* same : {"x⁻", "x^{-}", "x^−"}) EXPECT_EQ(PrintedAt(QString::fromUtf8(same), points, k), minus) << same << ", " << at;
    }
  EXPECT_EQ(Stamp(QStringLiteral("10⁻¹ m·s⁻¹"), 10), Stamp(QStringLiteral("10^-1 m·s^-1"), 10));
}

// Glyphs become a mask painted in the foreground colour: nothing but that colour is added,
// nothing beneath is changed but the inked pixels (the background stays), whatever the characters.
TEST(TextStamp, TwoColoursAndTransparentBackground) {
  Canvas c(400, 120);
  c.FilledBoxRel(0, 60, 399, 59, kBlue);
  const QImage before = c.Image();
  c.Restore(before);  // the damage starts afresh
  c.Font = QFont(QStringLiteral("WenQuanYi Micro Hei"), 20);
  c.ForeColor = kRed;
  c.TextOutA(5, 40, QString::fromUtf8("F_1 甲 \\vec{AB} m/s² ⊗ v₀ \xF0\x9F\x98\x80"));
  const QImage after = c.Image();
  QSet<QRgb> added;
  int changed = 0;
  for (int y = 0; y < after.height(); ++y)
    for (int x = 0; x < after.width(); ++x)
      if (after.pixel(x, y) != before.pixel(x, y)) {
        added.insert(after.pixel(x, y));
        ++changed;
      }
  EXPECT_EQ(added, (QSet<QRgb>{kRed}));
  EXPECT_GT(changed, 200);
  EXPECT_EQ(c.Damage(), AddedInk(after, before)) << "the damage is the ink";
}

// The same layout drawn k times as large puts each glyph at k times its place: reduced by k, the
// enlarged label and the picture's agree within a pixel both ways; the arrow is k pixels thick.
TEST(TextStamp, EnlargedLabelKeepsItsGlyphsInPlace) {
  const QString text = QStringLiteral("F_1 = m_1a, v_t = v_0 + at, \\vec{E}_k 甲乙 m/s² ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  QFont font(QStringLiteral("WenQuanYi Micro Hei"), 12);
  const TextLayout layout = LayOutText(text, font);
  QImage small(600, 60, QImage::Format_RGB32);
  small.fill(kWhite);
  ASSERT_FALSE(DrawTextLayout(small, layout, QPointF(10, 20), 1, kBlack).isEmpty());
  for (int k : {2, 3, 4}) {
    QImage large(600 * k, 60 * k, QImage::Format_RGB32);
    large.fill(kWhite);
    const QRect ink = DrawTextLayout(large, layout, QPointF(10 * k, 20 * k), k, kBlack);
    EXPECT_EQ(ink, InkBox(large)) << k;
    // Within two pixels both ways: every inked pixel of the picture has ink of the enlarged label
    // in the blocks around its own, and every inked block has ink of the picture around it.
    // (Glyph outlines are hinted differently at each size; their places are what must agree.)
    auto inkNear = [](const QImage& img, int cx, int cy, int block) {
      for (int y = (cy - 2) * block; y < (cy + 3) * block; ++y)
        for (int x = (cx - 2) * block; x < (cx + 3) * block; ++x)
          if (img.rect().contains(x, y) && img.pixel(x, y) != kWhite) return true;
      return false;
    };
    int misses = 0;
    for (int y = 0; y < small.height(); ++y)
      for (int x = 0; x < small.width(); ++x) {
        bool inked = false;
        for (int j = 0; j < k && !inked; ++j)
          for (int i = 0; i < k && !inked; ++i) inked = large.pixel(x * k + i, y * k + j) != kWhite;
        if (small.pixel(x, y) != kWhite && !inkNear(large, x, y, k)) ++misses;
        if (inked && !inkNear(small, x, y, 1)) ++misses;
      }
    EXPECT_EQ(misses, 0) << k;
    QSet<QRgb> colours;
    for (int y = 0; y < large.height(); ++y)
      for (int x = 0; x < large.width(); ++x) colours.insert(large.pixel(x, y));
    EXPECT_EQ(colours, (QSet<QRgb>{kWhite, kBlack})) << k;
  }
  // The arrow over E: k rows thick.
  const auto e = std::find_if(layout.runs.begin(), layout.runs.end(), [](const TextRun& r) { return r.arrow.has_value(); });
  ASSERT_NE(e, layout.runs.end());
  EXPECT_EQ(e->text, QStringLiteral("E"));
  QImage large(1600, 240, QImage::Format_RGB32);
  large.fill(kWhite);
  DrawTextLayout(large, layout, QPointF(40, 80), 4, kBlack);
  const int x = static_cast<int>(40 + 4 * e->arrow->left) + 1, top = static_cast<int>(80 + 4 * e->arrow->top);
  for (int y = top - 1; y <= top + 4; ++y)
    EXPECT_EQ(large.pixel(x, y) == kBlack, y >= top && y < top + 4) << y - top;
}

// A label's companion is its own glyphs: stamped on white, it is the label's layout drawn alone at
// k (no square of the picture's glyphs stamped into it, no speck of ink a few pixels large that
// the layout does not have, nothing of the glyphs taken away), and the picture's label agrees with
// it by the rule; where a glyph would not, the glyph gave way.
TEST(TextStamp, ALabelsCompanionIsItsOwnGlyphs) {
  const char* labels[] = {
      "x :x F=ma E, r ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz 0123456789",
      "αβγθΩεμλρπφΨ δηωΔυ", "电场强度 甲乙丙丁 磁感应强度 ①⑴℃≥",
      "F₁ v_0^2 m·s^-1 10^-3 x_{max}", "\\vec F \\vec{AB} \\vec{E}_k \\vec v"};
  int givingWay = 0;
  for (const char* label : labels)
    for (double points : {10.0, 24.0})
      for (int k = 2; k <= 4; ++k) {
        const std::string at = std::string(label) + " at " + std::to_string(points) + " pt, k=" + std::to_string(k);
        Canvas c(760, 90);
        ASSERT_TRUE(c.SetCompanion(k));
        c.Font = QFont(QStringLiteral("WenQuanYi Micro Hei"));
        c.Font.setPointSizeF(points);
        const QString text = QString::fromUtf8(label);
        c.TextOutA(8, 24, text);
        const TextLayout layout = LayOutText(text, c.Font);
        QImage alone(c.Width() * k, c.Height() * k, QImage::Format_RGB32);
        alone.fill(kWhite);
        DrawTextLayout(alone, layout, QPointF(8 * k, 24 * k), k, kBlack);
        const QImage& companion = c.Companion();
        QImage added = alone;
        added.fill(kWhite);
        for (int y = 0; y < alone.height(); ++y)
          for (int x = 0; x < alone.width(); ++x)
            if (companion.pixel(x, y) != alone.pixel(x, y) && companion.pixel(x, y) != kWhite) added.setPixel(x, y, kBlack);
        const std::vector<int> pieces = figtest::InkPieces(added, added.rect());
        EXPECT_EQ(std::count_if(pieces.begin(), pieces.end(), [k](int n) { return n <= 2 * k * k; }), 0)
            << "specks, " << at;
        EXPECT_TRUE(companion == alone) << at;
        EXPECT_TRUE(CompanionFaithful(c.Raster(), companion, k)) << at;
        givingWay += LabelGivingWay(layout, k).units;
      }
  EXPECT_GT(givingWay, 0) << "among these glyphs are some that hinting moves, so giving way is tried";
}

}  // namespace
