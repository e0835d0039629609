#pragma once
// The raster underneath the Canvas: pens and brushes, clipping, the one-pixel line walker, blits
// and very large ellipses. Only the Canvas's own files include this.
#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QRect>

#include <cstdint>
#include <initializer_list>

#include "figures/Canvas.h"
#include "figures/Rounding.h"

namespace raster {

inline constexpr QRgb kWhite = 0xFFFFFFFFu;
inline constexpr uint32_t kOpaque = 0xFF000000u;

// Shapes whose vertices lie farther than this off the raster are clipped by our own code before
// they reach QPainter, which is slow or wrong with huge coordinates.
inline constexpr double kNear = 4096;
// Ellipses with a semi-axis above this are rasterised here row by row instead of by QPainter.
inline constexpr double kBigShape = 16384;

inline bool Finite(std::initializer_list<double> values) {
  for (double v : values)
    if (!IsUsable(v)) return false;
  return true;
}

inline double Px(double v) { return RoundHalfEvenReal(v); }

inline int PenWidthOf(int drawWidth) { return drawWidth < 1 ? 1 : drawWidth > 1024 ? 1024 : drawWidth; }

// ---- Pens and brushes (RasterPen.cpp) ----
QPen MakePen(QRgb color, int drawWidth, int drawStyle, double dashOffset = 0);
QBrush MakeBrush(int fillStyle, QRgb color);
// Aliased drawing, transparent background, brushes aligned to the picture's origin.
void Prepare(QPainter& p);
// Makes sure the pixels of `img` are its own before they are written (a snapshot taken with
// Image() shares them until then). When the copy cannot be allocated the image stays as it is
// and the caller draws nothing, instead of losing the picture.
bool OwnPixels(QImage& img);

// ---- Clipping (RasterClip.cpp) ----
// A rectangle from real bounds, grown by `margin`, safe to convert to int.
QRect Around(double x0, double y0, double x1, double y1, int margin);
// Liang-Barsky: clips the segment to the rectangle; t0 receives the parameter where it now starts.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2, double xmin, double ymin,
                 double xmax, double ymax, double& t0);
// Sutherland-Hodgman against an axis-aligned rectangle.
QPolygonF ClipPolygon(const QPolygonF& in, double xmin, double ymin, double xmax, double ymax);

// ---- One-pixel lines (ThinLine.cpp) ----
// The dash patterns of the one-pixel pen, one entry per pixel step: dash 4 on 2 off, dot 1 on 2
// off, dash-dot 4-2-1-2. A solid pen has no pattern.
struct DashPattern {
  const bool* on = nullptr;
  int period = 1;
  // Where set, the pixels in the pattern's gaps are put back from this picture, whose top-left
  // lies at (gapX, gapY) of the raster (a filled outline shows what lay beneath in its gaps).
  const QImage* gaps = nullptr;
  int gapX = 0, gapY = 0;
};
DashPattern PatternOf(int drawStyle);
// The one-pixel outline of the box (L, T)-(R, B) (L < R, T < B), clipped to the raster, the dash
// pattern running round from the top-left.
void OutlineBox(QImage& img, int L, int T, int R, int B, QRgb color, int drawStyle);
// The one-pixel line from pixel (x0, y0) to pixel (x1, y1), both end pixels drawn, in the pen's
// dash pattern starting at (x0, y0). One pixel per step along the longer axis; the other
// coordinate is the line's, rounded to the nearest pixel. The pixels do not depend on which end
// comes first: the walk always runs from the end with the smaller major coordinate (only the dash
// phase follows the given direction). Only the steps that can reach the raster are visited, so
// the cost is bounded by the raster's size however far the ends lie. Returns the rectangle of the
// pixels visited on the raster.
//
// `phase` is the dash phase at the start pixel. Without `drawEnd` the end pixel is left to the next
// segment of a closed outline, whose dash phase then continues from this one's; the function
// returns the phase at the end pixel in `phaseOut`.
QRect ThinLine(QImage& img, int64_t x0, int64_t y0, int64_t x1, int64_t y1, QRgb color, int drawStyle,
               int phase = 0, bool drawEnd = true, int* phaseOut = nullptr, const QImage* gaps = nullptr,
               QPoint gapsAt = QPoint());

// ---- Pictures (Blit.cpp) ----
// Nearest-neighbour copy or AND of a source rectangle into a destination rectangle, clipped to
// both pictures. Source columns outside the picture leave the destination as it is.
QRect Blit(QImage& dst, const QImage& source, int64_t dx, int64_t dy, int64_t dw, int64_t dh,
           int64_t sx, int64_t sy, int64_t sw, int64_t sh, bool mirrorX, bool mirrorY,
           Canvas::RasterOp op);

// ---- Ellipses drawn row by row (BigEllipse.cpp) ----
// An axis-aligned ellipse drawn row by row, for ellipses too big for QPainter and for the
// companion's (symmetric about its centre, pixel centres at whole numbers): the outline is the
// ring between the ellipses grown and shrunk by half the pen width, the interior takes the brush,
// its hatch `hatchScale` pixels to a pattern pixel. Dash styles are not applied.
QRect BigEllipse(QImage& img, double cx, double cy, double a, double b, int penWidth, QRgb pen,
                 int fillStyle, QRgb fill, int hatchScale = 1);

// ---- The companion (CompanionReconcile.cpp) ----
// The colour covering more than half of the block (x, y) of the companion `big` (32-bit, k x its
// picture), made opaque, or 0 (a mixed block); and how many of the block's pixels are c (opaque).
uint32_t BlockColour(const QImage& big, int k, int x, int y);
int BlockCount(const QImage& big, int k, int x, int y, uint32_t c);
// Makes the companion `big` (k x the picture) agree with `picture` within one pixel both ways over
// the picture's rectangle `area`, giving a block its pixel's colour where they disagree more.
// `marks` (or null for all) says which blocks were drawn on; `before`, when given, is the picture
// as it was when the companion last agreed with it, so that only what changed is looked at.
// `beforeGroups` (from NoteColouredGroups of `before`) spares reading what was white.
void Reconcile(const QImage& picture, QImage& big, int k, const QRect& area, const BlockMarks* marks = nullptr,
               const QImage* before = nullptr, const BlockMarks* beforeGroups = nullptr);
// Marks, for each row of the image, which runs of sixteen pixels (run g is pixels 16 g ...) hold
// a colour other than white.
void NoteColouredGroups(const QImage& image, BlockMarks& groups);
// Whether the rectangle `r` of `image` (RGB32) is white throughout (an empty one is).
bool AllWhite(const QImage& image, const QRect& r);

}  // namespace raster
