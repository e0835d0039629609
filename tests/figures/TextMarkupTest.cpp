// How a typed label is laid out: which characters are drawn as subscripts, superscripts and
// vectors, in which size, on which baseline and where along the line.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <string>
#include <vector>

#include "figures/TextLayout.h"
#include "figures/TextMarkup.h"

namespace {

// One expected run: its text and how it is drawn ('b' base, 'p' superscript, 's' subscript, 'v'
// vector), and whether it starts where the run before it starts (a stacked script).
struct WantedRun {
  const char* text;
  char role;
  bool stacked = false;
};

struct Case {
  const char* typed;
  std::vector<WantedRun> runs;
};

std::string Describe(const TextLayout& layout) {
  std::string s;
  for (const TextRun& r : layout.runs) {
    s.append("[").append(r.text.toStdString()).append(" ").append(std::to_string(r.pixelSize));
    s.append(" @").append(std::to_string(r.origin.x())).append(",").append(std::to_string(r.origin.y()));
    s.append(r.arrow ? " arrow]" : "]");
  }
  for (const QRectF& bar : layout.bars) {
    s.append("[bar @").append(std::to_string(bar.x())).append(",").append(std::to_string(bar.y()));
    s.append(" ").append(std::to_string(bar.width())).append("]");
  }
  return s;
}

TEST(TextMarkup, RunsOfTypedLabels) {
  const Case cases[] = {
      {"F_1", {{"F", 'b'}, {"1", 's'}}},
      {"m/s^2", {{"m/s", 'b'}, {"2", 'p'}}},
      {"x_{max}", {{"x", 'b'}, {"max", 's'}}},
      // A script's minus is a bar before its digits.
      {"10^{-3} J", {{"10", 'b'}, {"3", 'p'}, {" J", 'b'}}},
      {"E_k=F_1", {{"E", 'b'}, {"k", 's'}, {"=F", 'b'}, {"1", 's'}}},
      // Both scripts stack on the letter, in either order.
      {"x_1^2+y", {{"x", 'b'}, {"1", 's'}, {"2", 'p', true}, {"+y", 'b'}}},
      {"x^2_1", {{"x", 'b'}, {"2", 'p'}, {"1", 's', true}}},
      // A third script starts after the stack; two of a kind join.
      {"x_1^2_3", {{"x", 'b'}, {"1", 's'}, {"2", 'p', true}, {"3", 's'}}},
      {"x_1_2", {{"x", 'b'}, {"12", 's'}}},
      // Scripts do not nest.
      {"x_{a_b^c}", {{"x", 'b'}, {"a_b^c", 's'}}},
      // Vectors.
      {"\\vec F", {{"F", 'v'}}},
      {"\\vec{AB}", {{"AB", 'v'}}},
      {"\\vec   F=ma", {{"F", 'v'}, {"=ma", 'b'}}},
      {"\\vec{v}_0", {{"v", 'v'}, {"0", 's'}}},
      {"\\vec", {{"\\vec", 'b'}}},
      {"\\vec _1", {{"\\vec ", 'b'}, {"1", 's'}}},
      {"\\vector \\alpha", {{"\\vector \\alpha", 'b'}}},
      // Literal specials.
      {"a__b^^c{{d}}e\\\\f", {{"a_b^c{d}e\\f", 'b'}}},
      {"F_", {{"F_", 'b'}}},
      {"F_ 1", {{"F_ 1", 'b'}}},
      {"a^_b", {{"a^", 'b'}, {"b", 's'}}},
      {"a}b", {{"a}b", 'b'}}},
      {"{x_1}", {{"x_1", 'b'}}},
      {"x_{a}}b", {{"x", 'b'}, {"a}b", 's'}}},  // }} inside a group is a brace
      // An unclosed brace runs to the end.
      {"x_{ma", {{"x", 'b'}, {"ma", 's'}}},
      // Full-width specials.
      {"F＿1", {{"F", 'b'}, {"1", 's'}}},
      {"x＾｛10｝", {{"x", 'b'}, {"10", 'p'}}},
      {"＼vec F", {{"F", 'v'}}},
      {"a＿＿b", {{"a＿b", 'b'}}},
      // Script characters are scripts.
      {"m/s²", {{"m/s", 'b'}, {"2", 'p'}}},
      {"s⁻¹", {{"s", 'b'}, {"1", 'p'}}},
      {"v₀²", {{"v", 'b'}, {"0", 's'}, {"2", 'p', true}}},
      {"x^{⁻¹}", {{"x", 'b'}, {"1", 'p'}}},
      // One grapheme cluster follows a script mark.
      {"x_e\u0301f", {{"x", 'b'}, {"e\u0301", 's'}, {"f", 'b'}}},
      {"", {}},
  };
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  for (double points : {10.0, 12.0, 6.5}) {
    font.setPointSizeF(points);
    const double base = points * 4 / 3;
    const double script = std::max(6.0, std::nearbyint(0.6 * base)), shift = std::nearbyint(base / 3);
    QImage picture(1, 1, QImage::Format_RGB32);
    picture.setDotsPerMeterX(3780);  // 96 dpi
    picture.setDotsPerMeterY(3780);
    const double baseline = QFontMetrics(font, &picture).ascent();
    for (const Case& c : cases) {
      const TextLayout layout = LayOutText(QString::fromUtf8(c.typed), font);
      const std::string where = std::string(c.typed) + " at " + std::to_string(points) + ": " + Describe(layout);
      ASSERT_EQ(layout.runs.size(), c.runs.size()) << where;
      double x = 0;
      for (size_t i = 0; i < c.runs.size(); ++i) {
        const WantedRun& want = c.runs[i];
        const TextRun& got = layout.runs[i];
        EXPECT_EQ(got.text, QString::fromUtf8(want.text)) << where;
        const bool isScript = want.role == 'p' || want.role == 's';
        EXPECT_DOUBLE_EQ(got.pixelSize, isScript ? script : base) << where;
        const double dy = want.role == 'p' ? -shift : want.role == 's' ? shift : 0;
        EXPECT_DOUBLE_EQ(got.origin.y(), baseline + dy) << where;
        EXPECT_EQ(got.arrow.has_value(), want.role == 'v') << where;
        if (want.stacked)
          EXPECT_DOUBLE_EQ(got.origin.x(), layout.runs[i - 1].origin.x()) << where;
        else
          EXPECT_GE(got.origin.x(), x) << where;
        x = std::max(x, got.origin.x() + 1);
        EXPECT_TRUE(layout.extent.contains(got.origin)) << where;
      }
    }
  }
}

// A sign with its digits is one script, as exponents are written; a sign alone, or one before
// anything but a digit, is raised alone.
TEST(TextMarkup, SignedDigitsAreOneScript) {
  using P = MarkupPiece;
  constexpr TextRole B = TextRole::Base, U = TextRole::Superscript, D = TextRole::Subscript;
  const std::pair<const char*, std::vector<P>> cases[] = {
      {"s^-1", {{"s", B}, {"-1", U}}},
      {"m·s^-2", {{"m·s", B}, {"-2", U}}},
      {"10^-34 J·s", {{"10", B}, {"-34", U}, {" J·s", B}}},
      {"x_+12y", {{"x", B}, {"+12", D}, {"y", B}}},
      {"10^−3", {{"10", B}, {"−3", U}}},
      {"10＾－３", {{"10", B}, {"－３", U}}},
      {"x^-", {{"x", B}, {"-", U}}},
      {"x^-a", {{"x", B}, {"-", U}, {"a", B}}},
      {"x^- 1", {{"x", B}, {"-", U}, {" 1", B}}},
      {"x^12", {{"x", B}, {"1", U}, {"2", B}}},
      {"x^{-1}2", {{"x", B}, {"-1", U}, {"2", B}}},
      {"a^-1_0", {{"a", B}, {"-1", U}, {"0", D}}},
  };
  for (const auto& [typed, pieces] : cases) EXPECT_EQ(ParseTextMarkup(QString::fromUtf8(typed)), pieces) << typed;
}

// A typed script character and its markup give the same layout.
TEST(TextMarkup, ScriptCharactersLayOutAsTheirMarkup) {
  const std::pair<const char*, const char*> same[] = {
      {"m/s²", "m/s^2"}, {"F₁", "F_1"}, {"v₀²", "v_0^2"}, {"s⁻¹", "s^{-1}"}, {"x³⁺", "x^{3+}"}, {"a₁₂", "a_{12}"},
      {"s⁻¹", "s^-1"}, {"10⁻³", "10^−3"}};
  QFont font(QStringLiteral("WenQuanYi Micro Hei"), 12);
  for (const auto& [typed, markup] : same) {
    const TextLayout a = LayOutText(QString::fromUtf8(typed), font), b = LayOutText(QString::fromUtf8(markup), font);
    EXPECT_EQ(Describe(a), Describe(b)) << typed;
  }
}

// The arrow of a vector lies over its letters' ink and is as wide; scripts follow the arrowed
// letters at their end.
TEST(TextMarkup, VectorArrowSpansItsLetters) {
  QFont font(QStringLiteral("WenQuanYi Micro Hei"), 12);
  const TextLayout f = LayOutText(QStringLiteral("\\vec F"), font);
  const TextLayout ab = LayOutText(QStringLiteral("\\vec{AB}"), font);
  ASSERT_TRUE(f.runs.at(0).arrow && ab.runs.at(0).arrow);
  const VectorArrow a = *f.runs[0].arrow, b = *ab.runs[0].arrow;
  EXPECT_LT(a.top, f.runs[0].origin.y() - 8) << "above a capital letter";
  EXPECT_GE(a.left, 0);
  EXPECT_LT(a.left, 4) << "from the letter's left ink";
  EXPECT_GT(b.right - b.left, 1.6 * (a.right - a.left)) << "AB is about twice as wide as F";
  EXPECT_TRUE(f.extent.contains(QPointF(a.left, a.top - 2))) << "the extent holds the head";
  EXPECT_TRUE(LayOutText(QStringLiteral("\\vec{ }"), font).runs.at(0).arrow == std::nullopt) << "no ink, no arrow";
}

}  // namespace
