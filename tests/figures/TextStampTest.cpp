// Labels as they land on the picture: every character as typed, scripts below and above the line,
// vector arrows over their letters, two colours only, and the same label enlarged glyph by glyph.
#include <gtest/gtest.h>

#include <QSet>
#include <algorithm>
#include <string>
#include <vector>

#include "figures/Canvas.h"
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

TEST(TextStamp, VectorArrowOverItsLetters) {
  for (double points : {8.0, 10.0, 12.0, 24.0, 48.0}) {
    const std::string at = std::to_string(points) + " pt";
    const QImage f = Stamp(QStringLiteral("F"), points);
    const QImage vec = Stamp(QStringLiteral("\\vec F"), points);
    const QRect letter = InkBox(f);
    const QRect arrow = AddedInk(vec, f);
    ASSERT_FALSE(arrow.isEmpty()) << at;
    // The letter stays as it is: the arrow only adds ink above it.
    EXPECT_LT(arrow.bottom(), letter.top()) << at;
    for (int y = letter.top(); y <= letter.bottom(); ++y)
      for (int x = letter.left(); x <= letter.right(); ++x) ASSERT_EQ(vec.pixel(x, y), f.pixel(x, y)) << at;
    // The shaft: one full row over the letter's ink, two rows clear of it (but for the head).
    const int shaft = letter.top() - 3;
    for (int x = letter.left(); x <= letter.right(); ++x) EXPECT_EQ(vec.pixel(x, shaft), kBlack) << x << " " << at;
    EXPECT_EQ(arrow.left(), letter.left()) << at;
    EXPECT_EQ(arrow.right(), letter.right()) << "the tip ends the shaft, " << at;
    for (int y : {shaft - 1, shaft + 1, shaft - 2, shaft + 2}) {
      const QRect row = AddedInk(vec.copy(0, y, vec.width(), 1), f.copy(0, y, f.width(), 1));
      EXPECT_EQ(row.width(), 1) << "a head pixel, " << at;
      EXPECT_GE(row.left(), letter.right() - 2) << "the head is three pixels long, " << at;
    }
    EXPECT_EQ(arrow.height(), 5) << "one pixel thick, a head two up and two down, " << at;
  }
  // The arrow spans a group's letters.
  const QImage ab = Stamp(QStringLiteral("AB"), 12);
  EXPECT_EQ(AddedInk(Stamp(QStringLiteral("\\vec{AB}"), 12), ab).width(), InkBox(ab).width());
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

}  // namespace
