#pragma once
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QRgb>

#include <cstdint>
#include <memory>

#include "figures/CanvasCompanion.h"
#include "figures/PenAndBrush.h"
#include "figures/PicturePair.h"
#include "figures/RasterOp.h"

// The picture being edited and its drawing state. Every pixel of the picture is changed through
// this class: figures, the eraser, the fill, selections, paste, text.
//
// The raster is a QImage in Format_RGB32 (alpha always 0xFF). All drawing is aliased: every pixel a
// shape touches gets exactly the drawing colour, so the flood fill and the AND combination of
// pasted pictures see exact colours.
//
// Coordinates are canvas pixels, origin top-left, x right, y down. Real coordinates are rounded to
// the nearest pixel, halves to even (see Rounding.h). Everything outside the raster is clipped.
// Non-finite coordinates (NaN, infinity) make the call draw nothing; absurd ones (±1e9 and beyond)
// are clipped without overflow and without time proportional to their size.
//
// Damage: the canvas remembers the rectangle it has changed since the last Restore(). Restore()
// from a backing copy of the same size copies back only that rectangle, which gives exactly the
// picture a full restore gives. Separately it accumulates the rectangle the screen must repaint,
// which the drawing surface takes with TakeScreenDamage().
//
// The drawing state (ForeColor, FillColor, FillStyle, DrawStyle, DrawWidth, and the line and fill
// style constants) is the canvas's PenAndBrush, read by every later drawing call until changed.
class Canvas : public PenAndBrush {
 public:
  using RasterOp = ::RasterOp;

  // What Point()/GetPixel() return for a position outside the raster: transparent black, which no
  // pixel of the raster can be (the raster's alpha is always 0xFF).
  static constexpr QRgb kNoPixel = 0x00000000u;

  // The largest side a canvas may have.
  static constexpr int kMaxSide = 16384;

  explicit Canvas(int width = 600, int height = 220);
  ~Canvas();
  Canvas(Canvas&&) noexcept;
  Canvas& operator=(Canvas&&) noexcept;

  int Width() const { return raster_.width(); }
  int Height() const { return raster_.height(); }
  QSize Size() const { return raster_.size(); }

  // Changes the size. The pixels keep their place at the top left; new area is white. Sizes below 1
  // or above kMaxSide are refused (returns false, nothing changes).
  bool Resize(int width, int height);

  // The raster itself, for the screen and for saving. Never hold on to a non-const reference across
  // a drawing call that may reallocate (Resize, SetPicture).
  const QImage& Raster() const { return raster_; }

  // ---- Drawing state, read by every later drawing call until changed ----
  // The pen and brush (PenAndBrush's fields, the canvas's own), taken or set whole.
  const PenAndBrush& State() const { return *this; }
  void SetState(const PenAndBrush& state) { static_cast<PenAndBrush&>(*this) = state; }
  QFont Font;  // the font of TextOutA (the text tool's font)

  // ---- Line, with the combinations the program uses ----
  // A segment from (x1, y1) to (x2, y2), both end pixels drawn, in ForeColor, DrawStyle, DrawWidth.
  void Line(double x1, double y1, double x2, double y2);
  // The same with an explicit colour instead of ForeColor.
  void Line(double x1, double y1, double x2, double y2, QRgb color);
  // A segment from (x1, y1) to (x1 + a, y1 + b).
  void LineRel(double x1, double y1, double a, double b);
  // Segments from each point to the next, in ForeColor, DrawStyle and DrawWidth: the same pixels
  // as one Line call per segment (each segment's dash pattern starts at its first point).
  void Polyline(const QPointF* points, int count);
  // One stroke through the points, in ForeColor, DrawStyle and DrawWidth: the dash pattern runs on
  // along the whole path (a dashed arc made of many short segments stays dashed), and `closed`
  // joins the last point to the first. Curves of the figures are drawn this way.
  void Path(const QPointF* points, int count, bool closed = false);
  // The axis-aligned box with opposite corners at the two points, in any order. Includes both
  // corner points: a box from (x, y) with relative end (w - 1, h - 1) covers w columns and h rows.
  // Outline as a line would be drawn; interior by FillStyle and FillColor.
  void Box(double x1, double y1, double x2, double y2);
  void BoxRel(double x, double y, double a, double b);
  // The same box filled completely, outline and interior, with `color`, whatever FillStyle is.
  void FilledBoxRel(double x, double y, double a, double b, QRgb color);

  // Full circle of radius r about (cx, cy): outline in ForeColor/DrawStyle/DrawWidth, interior by
  // FillStyle/FillColor.
  void Circle(double cx, double cy, double r);
  // Sets the point to ForeColor; with DrawWidth above 1 a filled round dot of that diameter.
  void PSet(double x, double y);
  // Colour of the pixel (opaque RGB), or kNoPixel outside the raster.
  QRgb Point(double x, double y) const;

  // Draws `picture` (or its source rectangle) into the destination rectangle, scaled to it. A
  // negative destination width or height mirrors the picture in that direction, the destination
  // then extending to the left of (upwards from) x (y). RasterOp::And: destination AND source, so
  // white source pixels leave the canvas unchanged. The source should be opaque.
  void PaintPicture(const QImage& picture, double x, double y);
  void PaintPicture(const QImage& picture, double x, double y, double width, double height,
                    double srcX, double srcY, double srcWidth, double srcHeight,
                    RasterOp op = RasterOp::Copy);

  // ---- Lower-level operations (whole-pixel coordinates, current pen and brush) ----
  // Ellipse inscribed in the rectangle (corners in any order). Pen outline, brush interior.
  void Ellipse(int left, int top, int right, int bottom);
  // Rectangle with corners rounded as quarter-ellipses of cornerWidth x cornerHeight.
  void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
  // Closed polygon: pen outline, brush interior.
  void Polygon(const QPoint* points, int count);
  // Fills with the brush the 4-connected region of pixels of exactly `color` that contains (x, y).
  // fillType 1: fill while the colour matches. Transparent brush: nothing changes.
  void ExtFloodFill(int x, int y, QRgb color, int fillType = 1);
  void SetPixel(int x, int y, QRgb color);
  QRgb GetPixel(int x, int y) const;
  // Combines width x height pixels of `source` at (srcX, srcY) into the canvas at (x, y).
  void BitBlt(int x, int y, int width, int height, const QImage& source, int srcX, int srcY,
              RasterOp op = RasterOp::And);
  // Draws the label `text` with its top-left corner at (x, y) in Font and ForeColor: every
  // character as typed, with the scripts and vector arrows of its markup (TextLayout.h), aliased,
  // two colours only, transparent background. With a companion, the companion's label is the
  // label's own glyphs at k, and the picture's agrees with it by construction.
  void TextOutA(int x, int y, const QString& text);

  // ---- Capture and restore ----
  // A snapshot of the current picture (the picture's "Image").
  QImage Image() const;
  // A copy of the rectangle `r` of the picture, white where it lies beyond the picture; a null
  // image for an empty rectangle or one too big for memory.
  QImage Capture(const QRect& r) const;
  // Copies the picture into `target`, reusing its buffer when it already has the same size and
  // format and is not shared (a backing copy taken at every press must not allocate each time).
  void CopyInto(QImage& target) const;
  // Replaces the picture's content with `picture` (the picture's "Picture" assignment): the canvas
  // keeps its size, `picture` lands at the top left, anything beyond it is white.
  void SetPicture(const QImage& picture);
  // Clears the whole picture to white.
  void Clear();
  // Puts `backing` back. When it has the canvas's size only the damaged rectangle is copied;
  // otherwise this is SetPicture(backing). Either way the damage becomes empty.
  void Restore(const QImage& backing);
  // The rectangle changed since the last Restore() (empty when nothing was drawn).
  QRect Damage() const { return damage_; }
  // Marks the whole picture as changed (after an outside change of the raster).
  void MarkAllDamaged();
  // The rectangle the screen must repaint since the last call; clears it.
  QRect TakeScreenDamage();

  // ---- The high-resolution companion ----
  // Beside the picture the canvas may keep a companion (CanvasCompanion.h): the same picture at
  // k x the size (picture pixel c is companion pixels k*c ... k*c + k - 1), never shown. Drawing
  // calls touch only the picture and are recorded; CommitCompanion() replays the calls recorded
  // since the last restore at k times the detail (slants and curves along their unrounded
  // geometry, k x as wide; axis-aligned strokes, boxes, single pixels and patterned strokes
  // exactly over their pixels' blocks). A restore drops the recorded calls with the pixels they
  // drew.
  //
  // The companion of a picture that is all white is implicit: white at k, never allocated, until
  // the first change that reaches it (a replay of recorded calls, a restore from a backing with
  // colour, a picture set with colour or with a companion of its own). Whatever reads it gets
  // exactly what a white raster would give: Companion() makes one for the caller, and a pair
  // (Pair, CapturePair, CopyInto) says so by its implicitScale, without allocating anything.
  //
  // Every read of the companion (Companion, Pair, CapturePair, CopyInto of a pair), through a
  // const canvas too, first replays what was recorded. The replay is work the canvas owes its
  // companion, done when first needed: it leaves the picture as it is, and what a reader gets is
  // what it would have got had the calls been replayed as they were drawn. The companion made
  // by it stays made (CompanionAllocated() says so after the read).
  //
  // k companion pixels per picture pixel along a side; 1 when there is no companion.
  int k() const { return companion_->k(); }
  // Starts the companion at scale k (2..4), the picture enlarged by k, or ends it (k <= 1).
  // Returns false, keeping no companion, when k x the picture would be too large.
  bool SetCompanion(int k);
  // SetCompanion(CompanionScaleFor(Width(), Height())).
  void ChooseCompanion();
  // Replays the recorded calls on the companion. Cheap when nothing is recorded.
  void CommitCompanion();
  // The companion's pixels, with the recorded calls replayed: an implicit companion is made white
  // for the caller (the canvas keeps it implicit). Null when there is none (k() is 1), or when a
  // white one cannot be had.
  QImage Companion() const;
  // The companion's pixels are held (false while it is implicit, and when there is none).
  bool CompanionAllocated() const { return !companion_->Raster().isNull(); }
  // Calls recorded and not yet replayed (for tests).
  int PendingCalls() const { return companion_->PendingCalls(); }
  // The picture with its companion (a snapshot, sharing pixels until either is changed); an
  // implicit companion stays implicit in the pair.
  PicturePair Pair() const;
  // Capture(r) with the companion's k x r beside it (implicit while the companion is).
  PicturePair CapturePair(const QRect& r) const;
  // CopyInto for both halves (the companion's half stays null when there is no companion, or
  // while it is implicit).
  void CopyInto(PicturePair& target) const;
  // SetPicture for both halves: a pair without a companion at this canvas's k brings the picture
  // enlarged by k (nearest).
  void SetPicture(const PicturePair& picture);
  // Restore for both halves.
  void Restore(const PicturePair& backing);
  // PaintPicture of a pair: the companion half (or the picture enlarged) goes to the companion.
  void PaintPicture(const PicturePair& picture, double x, double y, double width, double height,
                    double srcX, double srcY, double srcWidth, double srcHeight,
                    RasterOp op = RasterOp::Copy);
 private:
  void Touch(const QRect& r);
  // Calls are recorded for the companion only at the outermost drawing call, and only while a
  // companion is kept.
  bool Recording() const { return depth_ == 0 && companion_->k() > 1; }
  // Records a picture drawn into the rectangle (dx, dy, dw, dh) from its source rectangle, with
  // its own companion (or null).
  void RecordPicture(const QImage& image, const QImage& companion, int64_t dx, int64_t dy, int64_t dw,
                     int64_t dh, int64_t sx, int64_t sy, int64_t sw, int64_t sh, bool mirrorX, bool mirrorY,
                     RasterOp op);
  // PaintPicture of a picture with its companion (null when it brings none).
  void PaintPictureOf(const QImage& picture, const QImage& companion, double x, double y, double width,
                      double height, double srcX, double srcY, double srcWidth, double srcHeight, RasterOp op);
  // Held by every drawing call while it runs, so that the calls it makes are not recorded again.
  struct Nest {
    explicit Nest(Canvas& c) : canvas(c) { ++canvas.depth_; }
    ~Nest() { --canvas.depth_; }
    Canvas& canvas;
  };
  // SetPicture for the picture alone; false when nothing changed.
  bool SetPictureOnly(const QImage& picture);
  QImage raster_;
  QRect damage_;
  QRect screenDamage_;
  int depth_ = 0;
  // Never null. Held through a pointer because a read of the companion through a const canvas
  // replays the record (see above).
  std::unique_ptr<CanvasCompanion> companion_;
};
