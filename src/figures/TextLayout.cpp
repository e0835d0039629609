#include "figures/TextLayout.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "figures/Rounding.h"
#include "figures/TextMarkup.h"

namespace {

// Pictures are 96 dpi: a point is 4/3 pixel, whatever the screen says.
constexpr double kPixelsPerPoint = 96.0 / 72.0;
constexpr int kDotsPerMeter96 = 3780;  // 96 dpi, as a QImage keeps it
// Beyond this a label cannot be drawn on any picture (16384 pixels a side, four times enlarged).
constexpr double kLargestPixelSize = 65536;
// The largest mask a vector's letters are measured in, in pixels.
constexpr double kLargestInkMeasure = 4.0e6;
// The largest scale a label is drawn at.
constexpr double kLargestScale = 64;

QImage Mask(int width, int height) {
  QImage mask(width, height, QImage::Format_Alpha8);
  if (mask.isNull()) return mask;
  mask.fill(0);
  mask.setDotsPerMeterX(kDotsPerMeter96);
  mask.setDotsPerMeterY(kDotsPerMeter96);
  return mask;
}

// Fonts are measured and drawn at 96 dpi.
const QPaintDevice* Device96() {
  static const QImage device = Mask(1, 1);
  return &device;
}

double BasePixelSize(const QFont& font) {
  return font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * kPixelsPerPoint;
}

// `font` at `pixels` pixels, aliased. The base size keeps the font as it was given, so that a
// plain label is drawn exactly as one line of text in that font.
QFont SizedFont(const QFont& font, double pixels) {
  QFont sized = font;
  sized.setStyleStrategy(QFont::NoAntialias);
  if (pixels == BasePixelSize(font)) return sized;
  if (pixels == std::floor(pixels) && pixels <= INT32_MAX)
    sized.setPixelSize(static_cast<int>(pixels));
  else
    sized.setPointSizeF(pixels / kPixelsPerPoint);
  return sized;
}

// Sets the mask pixels whose centres lie inside `r` (mask pixels): whole pixels for a rectangle
// on whole-pixel corners.
void FillMask(QImage& mask, const QRectF& r) {
  const int width = mask.width(), height = mask.height();
  auto column = [width](double v) { return static_cast<int>(std::clamp(std::ceil(v - 0.5), 0.0, double(width))); };
  auto row = [height](double v) { return static_cast<int>(std::clamp(std::ceil(v - 0.5), 0.0, double(height))); };
  const int x0 = column(r.left()), x1 = column(r.right()), y0 = row(r.top()), y1 = row(r.bottom());
  if (x1 <= x0) return;
  for (int y = y0; y < y1; ++y) std::memset(mask.scanLine(y) + x0, 0xFF, static_cast<size_t>(x1 - x0));
}

// The pixels of an arrow at scale 1, relative to the label: the shaft, then the head's four.
std::vector<QRectF> ArrowPixels(const VectorArrow& a) {
  const double tip = a.right - 1;
  return {QRectF(a.left, a.top, a.right - a.left, 1), QRectF(tip - 1, a.top - 1, 1, 1),
          QRectF(tip - 2, a.top - 2, 1, 1), QRectF(tip - 1, a.top + 1, 1, 1), QRectF(tip - 2, a.top + 2, 1, 1)};
}

// Draws one run into the mask in `runFont` (the layout's font at the run's size), its baseline
// origin at `origin` (mask pixels), `scale` times its size. At scale 1 it is one line of text in
// the painter's font, which the caller has set to `runFont`; otherwise each glyph of the line at
// scale 1 is put at scale x its place, so that an enlarged label keeps its letters where the
// picture has them.
void DrawRun(QPainter& p, const QFont& runFont, const TextRun& run, QPointF origin, double scale) {
  if (scale == 1.0) {
    p.drawText(origin, run.text);
    return;
  }
  QTextLayout line(run.text, runFont, const_cast<QPaintDevice*>(Device96()));
  line.beginLayout();
  const QTextLine l = line.createLine();
  line.endLayout();
  if (!l.isValid()) return;
  for (QGlyphRun glyphs : l.glyphRuns()) {
    QRawFont raw = glyphs.rawFont();
    raw.setPixelSize(raw.pixelSize() * scale);
    QList<QPointF> positions = glyphs.positions();
    for (QPointF& at : positions) at *= scale;
    glyphs.setRawFont(raw);
    glyphs.setPositions(positions);
    p.drawGlyphRun(origin - QPointF(0, l.ascent() * scale), glyphs);
  }
}

// Draws the runs, those of one size after another, so that each size's font is made and set once.
void DrawRuns(QPainter& p, const TextLayout& layout, QPointF origin, double scale) {
  std::vector<bool> drawn(layout.runs.size(), false);
  for (size_t i = 0; i < layout.runs.size(); ++i) {
    if (drawn[i]) continue;
    const double size = layout.runs[i].pixelSize;
    const QFont runFont = SizedFont(layout.font, size);
    p.setFont(runFont);
    for (size_t j = i; j < layout.runs.size(); ++j) {
      const TextRun& run = layout.runs[j];
      if (drawn[j] || run.pixelSize != size) continue;
      DrawRun(p, runFont, run, origin + run.origin * scale, scale);
      drawn[j] = true;
    }
  }
}

// The ink of a run drawn at scale 1, relative to the label (empty when it inks nothing).
QRect InkOf(const QFont& font, const TextRun& run, const QRectF& box) {
  const QFont runFont = SizedFont(font, run.pixelSize);
  // A vector's letters are a few characters; should they be a page long, their outline will do.
  if (box.width() * box.height() > kLargestInkMeasure)
    return QFontMetricsF(runFont, Device96()).tightBoundingRect(run.text).translated(run.origin).toAlignedRect();
  const int left = static_cast<int>(std::floor(box.left())), top = static_cast<int>(std::floor(box.top()));
  QImage mask = Mask(static_cast<int>(std::ceil(box.right())) - left + 1,
                     static_cast<int>(std::ceil(box.bottom())) - top + 1);
  if (mask.isNull()) return {};
  {
    QPainter p(&mask);
    p.setPen(Qt::black);
    p.setFont(runFont);
    DrawRun(p, runFont, run, run.origin - QPointF(left, top), 1.0);
  }
  const int width = mask.width(), height = mask.height();
  int x0 = width, x1 = -1, y0 = -1, y1 = -1;
  for (int y = 0; y < height; ++y) {
    const uchar* m = mask.constScanLine(y);
    for (int x = 0; x < width; ++x) {
      if (m[x] < 128) continue;
      x0 = std::min(x0, x);
      x1 = std::max(x1, x);
      if (y0 < 0) y0 = y;
      y1 = y;
    }
  }
  if (y0 < 0) return {};
  return QRect(QPoint(x0 + left, y0 + top), QPoint(x1 + left, y1 + top));
}

}  // namespace

TextLayout LayOutText(const QString& text, const QFont& font) {
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

  double x = 0;
  // Scripts stack: a subscript and a superscript in a row start at the same place.
  bool stacking = false, hasSuper = false, hasSub = false;
  double stackStart = 0, stackEnd = 0;
  for (const MarkupPiece& piece : ParseTextMarkup(text)) {
    TextRun run;
    run.text = piece.text;
    const QFontMetricsF& fm = piece.role == TextRole::Base ? baseMetrics : scriptMetrics;
    const double advance = fm.horizontalAdvance(piece.text);
    if (piece.role == TextRole::Base) {
      if (stacking) x = stackEnd;
      stacking = false;
      run.pixelSize = base;
      run.origin = QPointF(x, baseline);
      x += advance;
    } else {
      const bool super = piece.role == TextRole::Superscript;
      if (!stacking || (super ? hasSuper : hasSub)) {
        if (stacking) x = stackEnd;
        stacking = true;
        hasSuper = hasSub = false;
        stackStart = stackEnd = x;
      }
      (super ? hasSuper : hasSub) = true;
      run.pixelSize = script;
      run.origin = QPointF(stackStart, baseline + (super ? -shift : shift));
      stackEnd = std::max(stackEnd, stackStart + advance);
      x = stackEnd;
    }
    // Room for glyphs that reach beyond their font's line (italics, fallback fonts).
    const double pad = std::ceil(run.pixelSize / 2) + 1;
    const QRectF box(run.origin.x() - pad, run.origin.y() - fm.ascent() - pad,
                     advance + 2 * pad, fm.ascent() + fm.descent() + 2 * pad);
    layout.extent |= box;
    if (piece.vector) {
      const QRect ink = InkOf(layout.font, run, box);
      if (!ink.isEmpty()) {
        // Spanning the letters' ink, never shorter than its head.
        const double left = ink.left(), right = std::max(ink.right() + 1.0, left + 3);
        run.arrow = VectorArrow{left, right, ink.top() - 3.0};
        layout.extent |= QRectF(left - 1, ink.top() - 6.0, right - left + 2, 7);
      }
    }
    layout.runs.push_back(std::move(run));
  }
  return layout;
}

QRect DrawTextLayout(QImage& image, const TextLayout& layout, QPointF topLeft, double scale, QRgb color) {
  if (layout.runs.empty() || image.isNull() || !std::isfinite(scale) || scale <= 0 || scale > kLargestScale ||
      !std::isfinite(topLeft.x()) || !std::isfinite(topLeft.y()))
    return {};
  const QImage::Format format = image.format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
      format != QImage::Format_ARGB32_Premultiplied)
    return {};
  // Only the part of the label that falls on the image is drawn.
  const QRectF extent(topLeft + layout.extent.topLeft() * scale, layout.extent.size() * scale);
  const QRect area = extent.intersected(QRectF(image.rect())).toAlignedRect() & image.rect();
  if (area.isEmpty()) return {};
  QImage mask = Mask(area.width(), area.height());
  if (mask.isNull()) return {};
  const QPointF origin = topLeft - QPointF(area.topLeft());
  {
    QPainter p(&mask);
    p.setPen(Qt::black);
    DrawRuns(p, layout, origin, scale);
  }
  for (const TextRun& run : layout.runs) {
    if (!run.arrow) continue;
    for (const QRectF& px : ArrowPixels(*run.arrow))
      FillMask(mask, QRectF(origin + px.topLeft() * scale, px.size() * scale));
  }
  // Every pixel the mask covers (more than half, for a font drawn in shades) takes the colour.
  const uint32_t ink = color | 0xFF000000u;
  const int width = mask.width(), height = mask.height();
  int top = -1, bottom = -1, left = width, right = -1;
  for (int y = 0; y < height; ++y) {
    const uchar* m = mask.constScanLine(y);
    uint32_t* row = nullptr;
    for (int x = 0; x < width;) {
      // Most of the mask is empty: step over it eight pixels at a time.
      if (uint64_t eight; x + 8 <= width && (std::memcpy(&eight, m + x, 8), eight == 0)) {
        x += 8;
        continue;
      }
      if (m[x] >= 128) {
        if (!row) row = reinterpret_cast<uint32_t*>(image.scanLine(area.top() + y)) + area.left();
        row[x] = ink;
        left = std::min(left, x);
        right = std::max(right, x);
      }
      ++x;
    }
    if (row) {
      if (top < 0) top = y;
      bottom = y;
    }
  }
  if (top < 0) return {};
  return QRect(QPoint(area.left() + left, area.top() + top), QPoint(area.left() + right, area.top() + bottom));
}
