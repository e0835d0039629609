// Drawing a laid-out label (TextLayout.h) into a mask at any scale, whole or a few of its glyphs,
// arrows and bars at a time: what the layout, DrawTextLayout and a label's agreement with its
// companion (TextAgreement.cpp) share. Only the text files include this.
#pragma once
#include <QFont>
#include <QImage>
#include <QPaintDevice>
#include <QPointF>
#include <QRect>
#include <QRectF>

#include <QGlyphRun>
#include <QList>

#include <cstdint>
#include <vector>

#include "figures/TextLayout.h"

namespace text_drawing {

// Pictures are 96 dpi: a point is 4/3 pixel, whatever the screen says.
inline constexpr double kPixelsPerPoint = 96.0 / 72.0;
// The largest scale a label is drawn at.
inline constexpr double kLargestScale = 64;

// An 8-bit mask of width x height, cleared, at 96 dpi; null when it cannot be had.
QImage Mask(int width, int height);
// Fonts are measured and drawn at 96 dpi.
const QPaintDevice* Device96();
// The font's size in pixels at 96 dpi.
double BasePixelSize(const QFont& font);
// `font` at `pixels` pixels, aliased. The base size keeps the font as it was given, so that a
// plain label is drawn exactly as one line of text in that font.
QFont SizedFont(const QFont& font, double pixels);
// The glyphs of `text` in `font` as one line, their positions relative to the start of the
// baseline; `advance`, when given, receives how far the line advances.
QList<QGlyphRun> GlyphsOf(const QString& text, const QFont& font, double* advance = nullptr);

// The glyphs of each run of a layout (fallback fonts included), their positions relative to the
// start of the run's baseline at scale 1.
using LayoutGlyphs = std::vector<QList<QGlyphRun>>;
LayoutGlyphs GlyphsOf(const TextLayout& layout);

// What a label inks, one thing at a time: a glyph of a run, a run's arrow, a bar.
struct Unit {
  enum class Kind { Glyph, Arrow, Bar } kind = Kind::Glyph;
  int run = 0;       // Glyph, Arrow: the run
  int glyphRun = 0;  // Glyph: which of the run's glyph runs
  int glyph = 0;     // Glyph: which glyph of it; Bar: which bar
};
std::vector<Unit> Units(const TextLayout& layout, const LayoutGlyphs& glyphs);
// A rectangle (label pixels) that holds every pixel the unit inks at any scale, scaled back.
QRectF UnitBox(const TextLayout& layout, const LayoutGlyphs& glyphs, const Unit& unit);

// Draws into `mask` (8-bit, a pixel inked is 255) the units of `layout` (all, or those whose
// entry of `only`, indexed as Units() lists them, is set) with the label's top-left corner at
// `origin` (mask pixels), `scale` times as large. `glyphs` (GlyphsOf the layout) may be null:
// they are found when needed (at scale 1 every run is drawn as one line of text in its font,
// which inks the same pixels as its glyphs one by one).
void DrawUnits(QImage& mask, const TextLayout& layout, const LayoutGlyphs* glyphs, QPointF origin, double scale,
               const std::vector<uint8_t>* only = nullptr);

// The rectangle of the mask's inked pixels (those of 128 and more), empty when none.
QRect InkBox(const QImage& mask);

// The mask (`size`, the label's top-left at the whole-pixel `origin`) of the label at scale 1
// that agrees with the same label drawn at k x the size over k x the mask's area, by the
// companion's rule: the label drawn at scale 1 where it agrees, its glyphs that do not given way
// to their glyphs at k reduced (TextAgreement.cpp). `givingWay`, when given, receives how many
// glyphs gave way and how many pixels were inked beyond them; `ink` the rectangle of the mask's
// inked pixels (InkBox). The last few masks are kept with their ink, so that a label drawn again
// as it was (a figure's letter at every move of a drag) costs only its stamping.
QImage AgreeingMask(const TextLayout& layout, QPointF origin, QSize size, int k, GivingWay* givingWay = nullptr,
                    QRect* ink = nullptr);

}  // namespace text_drawing
