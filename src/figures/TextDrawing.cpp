// Drawing laid-out labels: glyphs, vector arrows and the bars of script minus signs, at any scale.
#include "figures/TextDrawing.h"

#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace text_drawing {

namespace {

constexpr int kDotsPerMeter96 = 3780;  // 96 dpi, as a QImage keeps it

// Sets the mask pixels whose centres lie inside `r` (mask pixels): whole pixels for a rectangle
// on whole-pixel corners, so that a shaft drawn at any scale covers exactly the blocks of its
// pixels at scale 1. Drawn so at scale 1 and at k, any rectangle agrees with itself by the
// companion's rule: a pixel whose centre it holds has at least half of its block's columns and
// half of its rows inside it, and a block more than half inside has its pixel's centre inside.
void FillMask(QImage& mask, const QRectF& r) {
  const int width = mask.width(), height = mask.height();
  auto column = [width](double v) { return static_cast<int>(std::clamp(std::ceil(v - 0.5), 0.0, double(width))); };
  auto row = [height](double v) { return static_cast<int>(std::clamp(std::ceil(v - 0.5), 0.0, double(height))); };
  const int x0 = column(r.left()), x1 = column(r.right()), y0 = row(r.top()), y1 = row(r.bottom());
  if (x1 <= x0) return;
  for (int y = y0; y < y1; ++y) std::memset(mask.scanLine(y) + x0, 0xFF, static_cast<size_t>(x1 - x0));
}

// One barb of an arrow's head at `scale`: the line from the middle of the shaft's end back
// kArrowHeadLength strokes and `side` x kArrowHeadReach strokes, a stroke thick measured down a
// column. A mask pixel is inked where its centre lies on a column of the line within half that
// thickness of it: a stroke's pixels a column at scale 1, `scale` times as many at `scale`.
void DrawBarb(QImage& mask, const VectorArrow& a, QPointF origin, double scale, int side) {
  const double t = a.stroke, tipX = a.right - t / 2, midY = a.top + t / 2;
  const double slope = double(kArrowHeadReach) / kArrowHeadLength, length = kArrowHeadLength * t;
  const double from = origin.x() + scale * (tipX - length), to = origin.x() + scale * tipX;
  const int x0 = static_cast<int>(std::max(0.0, std::ceil(from - 0.5)));
  const int x1 = static_cast<int>(std::min(mask.width() - 1.0, std::floor(to - 0.5)));
  for (int x = x0; x <= x1; ++x) {
    const double labelX = (x + 0.5 - origin.x()) / scale;
    const double line = midY + side * slope * (tipX - labelX);
    const double top = origin.y() + scale * (line - t / 2), bottom = origin.y() + scale * (line + t / 2);
    const int y0 = static_cast<int>(std::max(0.0, std::ceil(top - 0.5)));
    const int y1 = static_cast<int>(std::min(mask.height() - 1.0, std::ceil(bottom - 0.5) - 1));
    for (int y = y0; y <= y1; ++y) mask.scanLine(y)[x] = 0xFF;
  }
}

void DrawArrow(QImage& mask, const VectorArrow& a, QPointF origin, double scale) {
  FillMask(mask, QRectF(origin + QPointF(a.left, a.top) * scale, QSizeF(a.right - a.left, a.stroke) * scale));
  DrawBarb(mask, a, origin, scale, -1);
  DrawBarb(mask, a, origin, scale, 1);
}

}  // namespace

QImage Mask(int width, int height) {
  QImage mask(width, height, QImage::Format_Alpha8);
  if (mask.isNull()) return mask;
  mask.fill(0);
  mask.setDotsPerMeterX(kDotsPerMeter96);
  mask.setDotsPerMeterY(kDotsPerMeter96);
  return mask;
}

const QPaintDevice* Device96() {
  static const QImage device = Mask(1, 1);
  return &device;
}

double BasePixelSize(const QFont& font) {
  return font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * kPixelsPerPoint;
}

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

QList<QGlyphRun> GlyphsOf(const QString& text, const QFont& font, double* advance) {
  QTextLayout line(text, font, Device96());
  line.beginLayout();
  const QTextLine l = line.createLine();
  line.endLayout();
  if (advance) *advance = l.isValid() ? l.horizontalAdvance() : 0;
  if (!l.isValid()) return {};
  QList<QGlyphRun> runs = l.glyphRuns();
  for (QGlyphRun& glyphs : runs) {
    QList<QPointF> positions = glyphs.positions();
    for (QPointF& at : positions) at.ry() -= l.ascent();
    glyphs.setPositions(positions);
  }
  return runs;
}

LayoutGlyphs GlyphsOf(const TextLayout& layout) {
  LayoutGlyphs glyphs;
  glyphs.reserve(layout.runs.size());
  for (const TextRun& run : layout.runs) glyphs.push_back(GlyphsOf(run.text, SizedFont(layout.font, run.pixelSize)));
  return glyphs;
}

std::vector<Unit> Units(const TextLayout& layout, const LayoutGlyphs& glyphs) {
  std::vector<Unit> units;
  for (int r = 0; r < static_cast<int>(layout.runs.size()); ++r) {
    const QList<QGlyphRun>& runGlyphs = glyphs[static_cast<size_t>(r)];
    for (int g = 0; g < static_cast<int>(runGlyphs.size()); ++g)
      for (int i = 0; i < static_cast<int>(runGlyphs[g].glyphIndexes().size()); ++i)
        units.push_back({Unit::Kind::Glyph, r, g, i});
    if (layout.runs[static_cast<size_t>(r)].arrow) units.push_back({Unit::Kind::Arrow, r, 0, 0});
  }
  for (int b = 0; b < static_cast<int>(layout.bars.size()); ++b) units.push_back({Unit::Kind::Bar, 0, 0, b});
  return units;
}

QRectF UnitBox(const TextLayout& layout, const LayoutGlyphs& glyphs, const Unit& unit) {
  switch (unit.kind) {
    case Unit::Kind::Bar: return layout.bars[static_cast<size_t>(unit.glyph)].adjusted(-1, -1, 1, 1);
    case Unit::Kind::Arrow: {
      const VectorArrow& a = *layout.runs[static_cast<size_t>(unit.run)].arrow;
      const double reach = kArrowHeadReach * a.stroke + 1;
      return QRectF(a.left - 1, a.top - reach, a.right - a.left + 2, a.stroke + 2 * reach);
    }
    case Unit::Kind::Glyph: break;
  }
  const QGlyphRun& run = glyphs[static_cast<size_t>(unit.run)][unit.glyphRun];
  const QRectF outline = run.rawFont().boundingRect(run.glyphIndexes()[unit.glyph]);
  // Hinting at another size may move an edge by a pixel; an aliased edge takes one more.
  return outline.translated(layout.runs[static_cast<size_t>(unit.run)].origin + run.positions()[unit.glyph])
      .adjusted(-2, -2, 2, 2);
}

void DrawUnits(QImage& mask, const TextLayout& layout, const LayoutGlyphs* glyphs, QPointF origin, double scale,
               const std::vector<uint8_t>* only) {
  if (mask.isNull() || !std::isfinite(scale) || scale <= 0 || scale > kLargestScale) return;
  auto wanted = [only](size_t i) { return !only || (i < only->size() && (*only)[i]); };
  LayoutGlyphs found;
  // Every glyph at scale 1: each run is one line of text in its font, which draws the same pixels.
  const bool lines = scale == 1.0 && !only;
  if (!glyphs && !lines) glyphs = &(found = GlyphsOf(layout));
  size_t unit = 0;
  {
    QPainter p(&mask);
    p.setPen(Qt::black);
    if (lines) {
      // The runs of one size after another, so that each size's font is made and set once.
      std::vector<bool> drawn(layout.runs.size(), false);
      for (size_t i = 0; i < layout.runs.size(); ++i) {
        if (drawn[i]) continue;
        const double size = layout.runs[i].pixelSize;
        p.setFont(SizedFont(layout.font, size));
        for (size_t j = i; j < layout.runs.size(); ++j)
          if (!drawn[j] && layout.runs[j].pixelSize == size) {
            p.drawText(origin + layout.runs[j].origin * scale, layout.runs[j].text);
            drawn[j] = true;
          }
      }
    }
    for (size_t r = 0; r < layout.runs.size() && !lines; ++r) {
      const TextRun& run = layout.runs[r];
      const QPointF at = origin + run.origin * scale;
      for (QGlyphRun g : (*glyphs)[r]) {
        const QList<quint32> indexes = g.glyphIndexes();
        const QList<QPointF> positions = g.positions();
        QList<quint32> drawnIndexes;
        QList<QPointF> drawnPositions;
        for (qsizetype i = 0; i < indexes.size(); ++i, ++unit)
          if (wanted(unit)) drawnIndexes.push_back(indexes[i]), drawnPositions.push_back(positions[i] * scale);
        if (drawnIndexes.isEmpty()) continue;
        if (scale != 1.0) {
          QRawFont raw = g.rawFont();
          raw.setPixelSize(raw.pixelSize() * scale);
          g.setRawFont(raw);
        }
        g.setGlyphIndexes(drawnIndexes);
        g.setPositions(drawnPositions);
        p.drawGlyphRun(at, g);
      }
      if (run.arrow) ++unit;
    }
  }
  // The arrows and bars, drawn by the program itself.
  unit = 0;
  for (size_t r = 0; r < layout.runs.size(); ++r) {
    if (!lines)
      for (const QGlyphRun& g : (*glyphs)[r]) unit += static_cast<size_t>(g.glyphIndexes().size());
    if (layout.runs[r].arrow && wanted(unit++)) DrawArrow(mask, *layout.runs[r].arrow, origin, scale);
  }
  for (const QRectF& bar : layout.bars)
    if (wanted(unit++)) FillMask(mask, QRectF(origin + bar.topLeft() * scale, bar.size() * scale));
}

QRect InkBox(const QImage& mask) {
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
  return QRect(QPoint(x0, y0), QPoint(x1, y1));
}

}  // namespace text_drawing

QRect DrawTextLayout(QImage& image, const TextLayout& layout, QPointF topLeft, double scale, QRgb color,
                     int companionScale) {
  using namespace text_drawing;
  if ((layout.runs.empty() && layout.bars.empty()) || image.isNull() || !std::isfinite(scale) || scale <= 0 ||
      scale > kLargestScale || !std::isfinite(topLeft.x()) || !std::isfinite(topLeft.y()))
    return {};
  const QImage::Format format = image.format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
      format != QImage::Format_ARGB32_Premultiplied)
    return {};
  // Only the part of the label that falls on the image is drawn.
  const QRectF extent(topLeft + layout.extent.topLeft() * scale, layout.extent.size() * scale);
  const QRect area = extent.intersected(QRectF(image.rect())).toAlignedRect() & image.rect();
  if (area.isEmpty()) return {};
  const QPointF origin = topLeft - QPointF(area.topLeft());
  const bool agreeing = scale == 1.0 && companionScale >= 2 && topLeft == topLeft.toPoint();
  // Only the mask's inked part is read: a kept agreeing mask knows it.
  QRect inked;
  QImage mask = agreeing ? AgreeingMask(layout, origin, area.size(), companionScale, nullptr, &inked)
                         : Mask(area.width(), area.height());
  if (mask.isNull()) return {};
  if (!agreeing) {
    DrawUnits(mask, layout, nullptr, origin, scale);
    inked = mask.rect();
  }
  // Every pixel the mask covers (more than half, for a font drawn in shades) takes the colour.
  const uint32_t ink = color | 0xFF000000u;
  const int width = inked.right() + 1;
  int top = -1, bottom = -1, left = width, right = -1;
  for (int y = inked.top(); y <= inked.bottom(); ++y) {
    const uchar* m = mask.constScanLine(y);
    uint32_t* row = nullptr;
    for (int x = inked.left(); x < width;) {
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
