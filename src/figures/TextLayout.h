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

// The arrow over a vector's letters, in picture pixels relative to the label: a shaft `stroke`
// pixels thick (one up to a base size of 24 pixels, then growing with the size) covering the
// columns [left, right) of the rows [top, top + stroke), and an open head of two barbs from the
// shaft's end back kArrowHeadLength strokes, reaching kArrowHeadReach strokes beyond the shaft on
// either side. The shaft spans the letters' ink, and a stroke's width of clear rows lies between
// the lower barb and the ink, at scale 1 and at every companion scale (the letters' ink is
// measured at each). Drawn at a scale the shaft covers exactly its pixels' blocks, and the barbs
// follow their lines, a stroke thick down each column.
inline constexpr int kArrowHeadLength = 3, kArrowHeadReach = 2;
struct VectorArrow {
  double left = 0, right = 0, top = 0, stroke = 1;
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
  // The minus signs of scripts, relative to the label's top-left: bars of whole rows, as wide as
  // a script digit's ink on the screen and on paper (within a pixel), at the height of its middle
  // (the hyphen of a small font is a dot). A bar inks the pixels whose centres it holds.
  std::vector<QRectF> bars;
  QRectF extent;              // holds every pixel the label can ink, relative to its top-left
};

// The layout of `text` in `font` (its size in points or pixels). An empty text, or a font with no
// usable size, gives no runs.
TextLayout LayOutText(const QString& text, const QFont& font);

// Draws `layout` into `image` with its top-left corner at `topLeft` (image pixels), `scale` times
// as large: each run at scale x its position with scale x its pixel size, each glyph at scale x its
// position in the run at scale 1, each arrow and bar scale x as large. Glyphs are drawn as a mask:
// aliased, every inked pixel exactly `color`, the rest untouched (a colour font is drawn through
// its shape only). Returns the rectangle of the pixels it set (empty when none). `image` must be a
// 32-bit format (RGB32 or ARGB32) and `scale` at most 64; otherwise nothing is drawn.
//
// With `companionScale` k of 2 or more (and `scale` 1, `topLeft` on whole pixels) the label is
// the picture's half of a label whose companion is the same layout drawn at k: it agrees with it
// by the companion's rule (CompanionFaithfulness.h) by construction. Where a glyph drawn at scale
// 1 would not (hinting moves a small glyph by more than a pixel), that glyph gives way: it is
// drawn from its glyph at k reduced, a pixel inked where its block is at least a quarter ink
// (TextAgreement.cpp). The preview and the stamp of a label are both this call.
QRect DrawTextLayout(QImage& image, const TextLayout& layout, QPointF topLeft, double scale, QRgb color,
                     int companionScale = 1);

// How many glyphs, arrows and bars of `layout` give way at companion scale k (for the tests),
// and how many pixels had to be inked beyond them (blocks mostly ink only where glyphs overlap).
struct GivingWay {
  int units = 0, pixels = 0;
};
GivingWay LabelGivingWay(const TextLayout& layout, int k);
