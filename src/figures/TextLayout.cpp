#include "figures/TextLayout.h"

#include <QFontMetrics>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

#include "figures/Rounding.h"
#include "figures/TextDrawing.h"
#include "figures/TextMarkup.h"

namespace {

using namespace text_drawing;

// Beyond this a label cannot be drawn on any picture (16384 pixels a side, four times enlarged).
constexpr double kLargestPixelSize = 65536;
// The largest mask a run's ink is measured in, in pixels.
constexpr double kLargestInkMeasure = 4.0e6;
// The largest companion scale: the scales a vector's letters are measured at run up to it.
constexpr int kLargestCompanionScale = 4;

bool IsMinus(QChar c) { return c == u'-' || c == u'\u2212' || c == u'\uFF0D'; }

// The ink of `run`'s glyphs drawn at `scale`, in label pixels (scale 1) to a scaled pixel; `box`
// (label pixels) holds every pixel the run can ink. Empty when it inks nothing or when the mask
// would be too large (then `measured` is false).
QRectF RunInk(const QFont& font, const TextRun& run, const QRectF& box, int scale, bool* measured) {
  const QRect whole = box.toAlignedRect();
  *measured = double(whole.width()) * whole.height() * scale * scale <= kLargestInkMeasure;
  if (!*measured) return {};
  QImage mask = Mask(whole.width() * scale, whole.height() * scale);
  if (mask.isNull()) return {};
  TextLayout alone;
  alone.font = font;
  alone.runs.push_back(run);
  alone.runs.back().arrow.reset();
  DrawUnits(mask, alone, nullptr, -QPointF(whole.topLeft()) * scale, scale);
  const QRect ink = InkBox(mask);
  if (ink.isEmpty()) return {};
  return QRectF(QPointF(whole.topLeft()) + QPointF(ink.topLeft()) / scale, QSizeF(ink.size()) / scale);
}

// The label pixels that hold `ink`.
QRect PixelsOf(const QRectF& ink) {
  return QRect(QPoint(static_cast<int>(std::floor(ink.left())), static_cast<int>(std::floor(ink.top()))),
               QPoint(static_cast<int>(std::ceil(ink.right())) - 1, static_cast<int>(std::ceil(ink.bottom())) - 1));
}

// The ink of a vector's letters at scale 1 and at every companion scale together, in label
// pixels; should they be a page long, their outline will do.
QRect VectorInk(const QFont& font, const TextRun& run, const QRectF& box) {
  QRect ink;
  for (int scale = 1; scale <= kLargestCompanionScale; ++scale) {
    bool measured = false;
    const QRectF at = RunInk(font, run, box, scale, &measured);
    if (!measured) {
      if (scale == 1)
        return QFontMetricsF(SizedFont(font, run.pixelSize), Device96()).tightBoundingRect(run.text)
            .translated(run.origin).toAlignedRect();
      break;
    }
    if (!at.isEmpty()) ink |= PixelsOf(at);
  }
  return ink;
}

// Where a script digit's ink lies, relative to the start of its baseline, and how far a digit
// advances, for the bar of a minus sign: the bar sits at the middle of the digit's ink at scale 1,
// and its width lies between the digit's there and on paper (at the largest companion scale,
// scaled back), so that it is as wide as the digits within a pixel on the screen and on paper.
struct DigitInk {
  QRect ink;  // at scale 1
  double width = 0;
  double advance = 0;
  bool known = false;
};

DigitInk MeasureDigit(const QFont& font, double pixelSize) {
  DigitInk d;
  const QFont sized = SizedFont(font, pixelSize);
  const QFontMetricsF fm(sized, Device96());
  d.advance = fm.horizontalAdvance(QLatin1Char('0'));
  TextRun zero;
  zero.text = QStringLiteral("0");
  zero.pixelSize = pixelSize;
  const double pad = std::ceil(pixelSize / 2) + 1;
  const QRectF box(-pad, -fm.ascent() - pad, d.advance + 2 * pad, fm.ascent() + fm.descent() + 2 * pad);
  bool measured = false;
  const QRectF coarse = RunInk(font, zero, box, 1, &measured);
  if (coarse.isEmpty()) return d;
  const QRectF fine = RunInk(font, zero, box, kLargestCompanionScale, &measured);
  d.ink = PixelsOf(coarse);
  d.width = fine.isEmpty() ? d.ink.width() : (d.ink.width() + fine.width()) / 2;
  d.known = true;
  return d;
}

// LayOutText without the kept layouts.
TextLayout LayOutAfresh(const QString& text, const QFont& font) {
  TextLayout layout;
  layout.font = font;
  layout.font.setStyleStrategy(QFont::NoAntialias);
  const double base = BasePixelSize(font);
  if (text.isEmpty() || !std::isfinite(base) || base <= 0 || base > kLargestPixelSize) return layout;
  const double script = std::max(6.0, RoundHalfEvenReal(0.6 * base));
  const double shift = RoundHalfEvenReal(base / 3);
  const QFont baseFont = SizedFont(font, base), scriptFont = SizedFont(font, script);
  const QFontMetricsF baseMetrics(baseFont, Device96()), scriptMetrics(scriptFont, Device96());
  // As one line of text in the font: its baseline the (whole-pixel) ascent below the top.
  const double baseline = QFontMetrics(baseFont, Device96()).ascent();
  DigitInk digit;

  // Adds a run of the text s from x on the baseline y; returns its advance.
  auto addRun = [&](const QString& s, double pixelSize, const QFontMetricsF& fm, double x, double y, bool vector) {
    TextRun run;
    run.text = s;
    run.pixelSize = pixelSize;
    run.origin = QPointF(x, y);
    const double advance = fm.horizontalAdvance(s);
    // Room for glyphs that reach beyond their font's line (italics, fallback fonts).
    const double pad = std::ceil(pixelSize / 2) + 1;
    const QRectF box(x - pad, y - fm.ascent() - pad, advance + 2 * pad, fm.ascent() + fm.descent() + 2 * pad);
    layout.extent |= box;
    if (vector) {
      const QRect ink = VectorInk(layout.font, run, box);
      if (!ink.isEmpty()) {
        // Spanning the letters' ink, never shorter than its head and a little of the shaft; a
        // stroke's width of clear rows between the lower barb and the ink.
        const double stroke = std::max(1.0, RoundHalfEvenReal(pixelSize / 16));
        double left = ink.left(), right = ink.right() + 1.0;
        const double shortest = (kArrowHeadLength + 2) * stroke;
        if (right - left < shortest) {
          left -= std::floor((shortest - (right - left)) / 2);
          right = left + shortest;
        }
        const double reach = kArrowHeadReach * stroke;
        const double top = ink.top() - stroke - reach - stroke;
        run.arrow = VectorArrow{left, right, top, stroke};
        layout.extent |= QRectF(left - 1, top - reach - 1, right - left + 2, stroke + 2 * reach + 2);
      }
    }
    layout.runs.push_back(std::move(run));
    return advance;
  };
  // A script's text from x on the baseline y, its minus signs as bars; returns its advance.
  auto addScript = [&](const QString& s, double x, double y) {
    double at = x;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= s.size(); ++i) {
      if (i < s.size() && !IsMinus(s[i])) continue;
      if (i > from) at += addRun(s.mid(from, i - from), script, scriptMetrics, at, y, false);
      from = i + 1;
      if (i == s.size()) break;
      if (!digit.known) digit = MeasureDigit(font, script);
      if (!digit.known) {
        at += addRun(s.mid(i, 1), script, scriptMetrics, at, y, false);
        continue;
      }
      const double start = RoundHalfEvenReal(at);
      const double thickness = std::max(1.0, RoundHalfEvenReal(script / 15));
      const double middle = y + (digit.ink.top() + digit.ink.bottom()) / 2.0;
      const double top = std::floor(middle - (thickness - 1) / 2 + 0.5);
      const double centre = start + digit.ink.left() + digit.ink.width() / 2.0;
      const QRectF bar(centre - digit.width / 2, top, digit.width, thickness);
      layout.bars.push_back(bar);
      layout.extent |= bar.adjusted(-1, -1, 1, 1);
      at += digit.advance;
    }
    return at - x;
  };

  double x = 0;
  // Scripts stack: a subscript and a superscript in a row start at the same place.
  bool stacking = false, hasSuper = false, hasSub = false;
  double stackStart = 0, stackEnd = 0;
  for (const MarkupPiece& piece : ParseTextMarkup(text)) {
    if (piece.role == TextRole::Base) {
      if (stacking) x = stackEnd;
      stacking = false;
      x += addRun(piece.text, base, baseMetrics, x, baseline, piece.vector);
      continue;
    }
    const bool super = piece.role == TextRole::Superscript;
    if (!stacking || (super ? hasSuper : hasSub)) {
      if (stacking) x = stackEnd;
      stacking = true;
      hasSuper = hasSub = false;
      stackStart = stackEnd = x;
    }
    (super ? hasSuper : hasSub) = true;
    const double advance = addScript(piece.text, stackStart, baseline + (super ? -shift : shift));
    stackEnd = std::max(stackEnd, stackStart + advance);
    x = stackEnd;
  }
  return layout;
}

}  // namespace

TextLayout LayOutText(const QString& text, const QFont& font) {
  // The last few labels laid out: a figure's letter drawn at every move of a drag, a typed label
  // previewed again and replayed on the companion, are laid out once.
  struct Kept {
    QString text;
    QFont font;
    TextLayout layout;
  };
  constexpr size_t kKept = 8;
  thread_local std::vector<Kept> kept;
  for (size_t i = 0; i < kept.size(); ++i)
    if (kept[i].text == text && kept[i].font == font) {
      std::rotate(kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(i), kept.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      return kept.front().layout;
    }
  if (kept.size() == kKept) kept.pop_back();
  kept.insert(kept.begin(), Kept{text, font, LayOutAfresh(text, font)});
  return kept.front().layout;
}
