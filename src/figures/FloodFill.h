#pragma once
#include <QImage>
#include <QRect>
#include <QRgb>

#include <cstdint>

// The region fill behind Canvas::ExtFloodFill, and the hatch patterns of the fill styles.

// The 8 x 8 tile of a hatch fill style (2..7), aligned to the picture's origin: bit (x & 7) of
// row (y & 7) is set where the hatch paints FillColor. These are the very pixels the Qt hatch
// brush paints, so a fill and a box with the same FillStyle agree pixel for pixel. Returns
// nullptr for solid (0), transparent (1) and unknown styles.
const uint8_t* HatchRows(int fillStyle);

inline bool HatchPaints(const uint8_t* rows, int x, int y) {
  return (rows[y & 7] >> (x & 7)) & 1u;
}

// Fills the 4-connected region that contains (x, y) with the brush (fillStyle, fillColor).
// fillType 1 (surface): the region is the pixels of exactly colour `color` connected to the seed.
// fillType 0 (border): the region is the pixels of any colour but `color` connected to the seed.
// Solid style writes fillColor over the region; a hatch style writes fillColor only at the
// pattern's pixels and leaves the others as they were; transparent changes nothing. A seed outside
// the image changes nothing.
//
// `image` must be Format_RGB32 (every pixel opaque): while it works the fill marks the region's
// pixels by clearing their alpha byte, which no pixel of such an image has.
// Returns the bounding rectangle of the pixels written (empty when nothing changed).
QRect FloodFillRegion(QImage& image, int x, int y, QRgb color, int fillType, int fillStyle,
                      QRgb fillColor);
