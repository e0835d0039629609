#pragma once
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QRgb>
#include <QString>
#include <optional>
#include <vector>

// The layout of a label: its markup (TextMarkup.h) turned into runs of text, each in one size on
// one baseline, placed relative to the label's top-left corner in picture pixels. The preview and
// the stamp of the text tool, and every other text the canvas draws, are laid out here and drawn
// by DrawTextLayout, at the picture's scale or at any other.
//
// Sizes: the base size is the font's pixel size at 96 dpi (a point is 4/3 pixel). A script is
// round(0.6 x base) pixels, at least 6; its baseline lies round(base / 3) below (subscript) or
// above (superscript) the base line (halves rounded to even, as everywhere in the picture). The
// base line lies the font's ascent below the top-left corner, so a plain label sits where one
// line of text in that font would.

// The arrow over a vector's letters: a shaft one pixel thick covering the columns
// [left, right) of the row [top, top + 1), the columns of the letters' ink, with two clear rows
// between it and the ink; its tip is the last column. The head is three pixels long: from the tip
// two pixels back and two up and down (the lower barb reaches the row above the ink).
struct VectorArrow {
  double left = 0, right = 0, top = 0;
  bool operator==(const VectorArrow&) const = default;
};

struct TextRun {
  QString text;
  double pixelSize = 0;  // the size of its font, in pixels
  QPointF origin;        // the start of its baseline, relative to the label's top-left
  std::optional<VectorArrow> arrow;  // for a vector, relative to the label's top-left
};

struct TextLayout {
  QFont font;                 // family and style of every run; each run has its own size
  std::vector<TextRun> runs;
  QRectF extent;              // holds every pixel the label can ink, relative to its top-left
};

// The layout of `text` in `font` (its size in points or pixels). An empty text, or a font with no
// usable size, gives no runs.
TextLayout LayOutText(const QString& text, const QFont& font);

// Draws `layout` into `image` with its top-left corner at `topLeft` (image pixels), `scale` times
// as large: each run at scale x its position with scale x its pixel size, each glyph at scale x its
// position in the run at scale 1, each arrow scale x as long and scale pixels thick. Glyphs are
// drawn as a mask: aliased, every inked pixel exactly `color`, the rest untouched (a colour font
// is drawn through its shape only). Returns the rectangle of the pixels it set (empty when none).
// `image` must be a 32-bit format (RGB32 or ARGB32) and `scale` at most 64; otherwise nothing is
// drawn.
QRect DrawTextLayout(QImage& image, const TextLayout& layout, QPointF topLeft, double scale, QRgb color);
